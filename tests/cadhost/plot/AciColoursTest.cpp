#include "plot/AciColours.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tz::cad {
namespace {

PlotColour rgb(int red, int green, int blue) { return {red / 255.0, green / 255.0, blue / 255.0}; }

void expectColour(const PlotColour& actual, const PlotColour& expected) {
    EXPECT_NEAR(actual.red, expected.red, 1e-9);
    EXPECT_NEAR(actual.green, expected.green, 1e-9);
    EXPECT_NEAR(actual.blue, expected.blue, 1e-9);
}

TEST(AciColours, TheNamedColoursAndWhiteAsBlackOnPaper) {
    expectColour(aciColour(1), rgb(255, 0, 0));
    expectColour(aciColour(2), rgb(255, 255, 0));
    expectColour(aciColour(3), rgb(0, 255, 0));
    expectColour(aciColour(4), rgb(0, 255, 255));
    expectColour(aciColour(5), rgb(0, 0, 255));
    expectColour(aciColour(6), rgb(255, 0, 255));
    expectColour(aciColour(7), rgb(0, 0, 0));
    expectColour(aciColour(8), rgb(128, 128, 128));
    expectColour(aciColour(9), rgb(192, 192, 192));
}

TEST(AciColours, HuesInTensWithShadesAndPaleVariants) {
    expectColour(aciColour(10), rgb(255, 0, 0));
    expectColour(aciColour(11), {1.0, 0.5, 0.5});
    expectColour(aciColour(12), {0.8, 0, 0});
    expectColour(aciColour(18), {0.3, 0, 0});
    expectColour(aciColour(19), {0.3, 0.15, 0.15});
    expectColour(aciColour(30), {1.0, 0.5, 0});  // 30 degrees: orange
    expectColour(aciColour(50), {1.0, 1.0, 0});  // 60 degrees: yellow
    expectColour(aciColour(90), {0, 1.0, 0});    // 120 degrees: green
    expectColour(aciColour(170), {0, 0, 1.0});   // 240 degrees: blue
    expectColour(aciColour(249), {0.3, 0.15, 0.1875});  // 345 degrees, darkest shade, pale
    // Every full variant is saturated at its shade: its strongest channel is
    // the shade, its weakest 0; the pale variant of the same shade lies between.
    static constexpr double kShade[] = {1.0, 0.8, 0.6, 0.5, 0.3};
    for (int index = 10; index < 250; index += 2) {
        const PlotColour full = aciColour(index);
        const PlotColour pale = aciColour(index + 1);
        const double shade = kShade[((index - 10) % 10) / 2];
        EXPECT_NEAR(std::max({full.red, full.green, full.blue}), shade, 1e-9) << index;
        EXPECT_NEAR(std::min({full.red, full.green, full.blue}), 0, 1e-9) << index;
        EXPECT_NEAR(std::max({pale.red, pale.green, pale.blue}), shade, 1e-9) << index + 1;
        EXPECT_NEAR(std::min({pale.red, pale.green, pale.blue}), shade / 2, 1e-9) << index + 1;
    }
}

TEST(AciColours, GreysAndIndexesWithoutAColourOfTheirOwn) {
    expectColour(aciColour(250), rgb(51, 51, 51));
    expectColour(aciColour(255), rgb(255, 255, 255));
    for (int index = 250; index < 255; ++index) EXPECT_LT(aciColour(index).red, aciColour(index + 1).red);
    for (int index : {0, 256, 257, -1, 1000}) expectColour(aciColour(index), {0, 0, 0});
}

TEST(AciColours, TrueColourBytes) {
    expectColour(trueColour(0xFF8000), rgb(255, 128, 0));
    expectColour(trueColour(0x0000FF), rgb(0, 0, 255));
    expectColour(trueColour(0x1FF0000), rgb(255, 0, 0));  // bits above the colour are not part of it
}

}  // namespace
}  // namespace tz::cad
