#include "plot/AciColours.h"

#include <cmath>

namespace tz::cad {

namespace {

PlotColour bytes(int red, int green, int blue) { return {red / 255.0, green / 255.0, blue / 255.0}; }

// Full-strength colour of a hue in degrees (0 red, 120 green, 240 blue).
PlotColour hueColour(double degrees) {
    const double h = std::fmod(degrees, 360.0) / 60.0;
    const double rising = h - std::floor(h);
    switch (static_cast<int>(h)) {
        case 0: return {1, rising, 0};
        case 1: return {1 - rising, 1, 0};
        case 2: return {0, 1, rising};
        case 3: return {0, 1 - rising, 1};
        case 4: return {rising, 0, 1};
        default: return {1, 0, 1 - rising};
    }
}

}  // namespace

PlotColour aciColour(int index) {
    switch (index) {
        case 1: return bytes(255, 0, 0);
        case 2: return bytes(255, 255, 0);
        case 3: return bytes(0, 255, 0);
        case 4: return bytes(0, 255, 255);
        case 5: return bytes(0, 0, 255);
        case 6: return bytes(255, 0, 255);
        case 8: return bytes(128, 128, 128);
        case 9: return bytes(192, 192, 192);
        default: break;
    }
    if (index >= 10 && index <= 249) {
        // 24 hues 15 degrees apart; in each, five shades from bright to dark,
        // each in a full and a pale (half-saturated) variant.
        static constexpr double kShade[] = {1.0, 0.8, 0.6, 0.5, 0.3};
        const int step = index - 10;
        const PlotColour hue = hueColour((step / 10) * 15.0);
        const double shade = kShade[(step % 10) / 2];
        const double saturation = (step % 2) == 0 ? 1.0 : 0.5;
        auto channel = [&](double full) { return shade * (1 - saturation * (1 - full)); };
        return {channel(hue.red), channel(hue.green), channel(hue.blue)};
    }
    if (index >= 250 && index <= 255) {
        static constexpr int kGrey[] = {51, 91, 132, 173, 214, 255};
        const int grey = kGrey[index - 250];
        return bytes(grey, grey, grey);
    }
    return {0, 0, 0};  // 7, and the indexes that name no colour of their own
}

PlotColour trueColour(long value) {
    return bytes(static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                 static_cast<int>(value & 0xFF));
}

}  // namespace tz::cad
