#include "plot/PlotRenderer.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

namespace tz::cad {
namespace {

namespace fs = std::filesystem;

// A PNG read back through cairo, with its pixels as red, green, blue bytes.
class Picture {
public:
    explicit Picture(const std::string& path) : surface_(cairo_image_surface_create_from_png(path.c_str())) {}
    ~Picture() { cairo_surface_destroy(surface_); }
    bool valid() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(surface_); }
    int height() const { return cairo_image_surface_get_height(surface_); }
    uint32_t rgb(int x, int y) const {
        cairo_surface_flush(surface_);
        const unsigned char* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    }
    bool isWhite(int x, int y) const { return rgb(x, y) == 0xFFFFFF; }
    // Pixels of the row (or column) that are not white.
    int drawnInRow(int y) const {
        int count = 0;
        for (int x = 0; x < width(); ++x) count += !isWhite(x, y);
        return count;
    }
    int drawnInColumn(int x) const {
        int count = 0;
        for (int y = 0; y < height(); ++y) count += !isWhite(x, y);
        return count;
    }

private:
    cairo_surface_t* surface_;
};

class PlotRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("tzplot-" + std::to_string(::getpid()) + "-" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string file(const std::string& name) const { return (folder_ / name).string(); }

    fs::path folder_;
};

PlotItem line(double x1, double y1, double x2, double y2, PlotColour colour) {
    return {colour, PlotPath{{{x1, y1, 0}, {x2, y2, 0}}, false, 0}};
}

TEST(PictureKind, ByTheExtensionWithoutCase) {
    EXPECT_EQ(pictureKindOf("a.png"), PictureKind::png);
    EXPECT_EQ(pictureKindOf("dir/A.PNG"), PictureKind::png);
    EXPECT_EQ(pictureKindOf("map.Svg"), PictureKind::svg);
    EXPECT_EQ(pictureKindOf("site.pdf"), PictureKind::pdf);
    EXPECT_EQ(pictureKindOf("site.bmp"), PictureKind::unknown);
    EXPECT_EQ(pictureKindOf("site"), PictureKind::unknown);
    EXPECT_EQ(pictureKindOf("folder.png/site"), PictureKind::unknown);
}

TEST_F(PlotRendererTest, FitsTheSceneWithNorthUpAndKeepsItsProportions) {
    PlotScene scene;
    // A red frame 100 wide and 50 high, and a blue line along its top edge.
    scene.items.push_back({{1, 0, 0}, PlotPath{{{0, 0, 0}, {100, 0, 0}, {100, 50, 0}, {0, 50, 0}}, true, 0}});
    scene.items.push_back(line(10, 50, 90, 50, {0, 0, 1}));
    std::string error;
    ASSERT_TRUE(renderPlot(scene, file("frame.png"), 200, error)) << error;
    const Picture picture(file("frame.png"));
    ASSERT_TRUE(picture.valid());
    EXPECT_EQ(picture.width(), 200);
    EXPECT_EQ(picture.height(), 106);  // 50 units at 188/100 pixels each, and the 6-pixel margins
    EXPECT_TRUE(picture.isWhite(0, 0));
    EXPECT_TRUE(picture.isWhite(100, 53));  // inside the frame
    // The frame's sides lie on the margins; the blue line is at the top.
    EXPECT_GT(picture.drawnInColumn(6), 90);
    EXPECT_GT(picture.drawnInRow(6), 150);
    const uint32_t top = picture.rgb(100, 6);
    EXPECT_GT(top & 0xFF, top >> 16);  // more blue than red: the blue line drawn over the frame
    const uint32_t bottom = picture.rgb(100, 100);
    EXPECT_EQ(bottom >> 16, 0xFFu);  // the bottom edge is red
    EXPECT_LT(bottom & 0xFF, 0xFFu);
}

TEST_F(PlotRendererTest, ArcsBulgeToTheirSide) {
    PlotScene scene;
    // A counter-clockwise half circle from (0,0) to (10,0) hangs below the chord.
    scene.items.push_back({{0, 0, 0}, PlotPath{{{0, 0, 1}, {10, 0, 0}}, false, 0}});
    std::string error;
    ASSERT_TRUE(renderPlot(scene, file("arc.png"), 200, error)) << error;
    const Picture picture(file("arc.png"));
    EXPECT_EQ(picture.height(), 106);  // 5 high and 10 wide, 18.8 pixels a unit, and the margins
    EXPECT_GT(picture.drawnInRow(6), 0);  // the ends, on the top margin
    EXPECT_GT(picture.drawnInRow(99), 0);  // the bottom of the half circle
    EXPECT_EQ(picture.drawnInRow(3), 0);
    // Straight down the middle only the arc's lowest point is drawn: no chord.
    for (int y = 0; y < 95; ++y) EXPECT_TRUE(picture.isWhite(100, y)) << y;
}

TEST_F(PlotRendererTest, SmallTextMarkersAndArrowsStayLegible) {
    PlotScene scene;
    scene.items.push_back(line(0, 0, 1000, 1000, {0.5, 0.5, 0.5}));
    scene.items.push_back({{0, 0, 0}, PlotText{500, 200, 0.01, 0, "WXYZ", 0, 0}});   // far under a pixel high
    scene.items.push_back({{0, 0, 0}, PlotMarker{200, 800, "123"}});
    scene.items.push_back({{0, 0, 0}, PlotArrow{800, 200, 900, 200, 0.001}});
    std::string error;
    ASSERT_TRUE(renderPlot(scene, file("small.png"), 400, error)) << error;
    const Picture picture(file("small.png"));
    auto drawnNear = [&](int cx, int cy) {  // ink right of and around (cx, cy)
        int count = 0;
        for (int y = cy - 12; y <= cy + 12; ++y) {
            for (int x = cx - 2; x <= cx + 30; ++x) {
                count += !picture.isWhite(x, y);  // the grey line passes far from these places
            }
        }
        return count;
    };
    // World to pixels: 376/1000 per unit from the 12-pixel margin, y turned downwards.
    EXPECT_GT(drawnNear(12 + 188, 400 - 12 - 75), 10);   // the text
    EXPECT_GT(drawnNear(12 + 75, 400 - 12 - 301), 10);   // the marker and its label
    EXPECT_GT(drawnNear(12 + 301, 400 - 12 - 75), 5);    // the arrowhead
}

TEST_F(PlotRendererTest, EmptySceneGivesABlankPicture) {
    std::string error;
    ASSERT_TRUE(renderPlot(PlotScene{}, file("empty.png"), 100, error)) << error;
    const Picture picture(file("empty.png"));
    ASSERT_TRUE(picture.valid());
    for (int y = 0; y < picture.height(); ++y) EXPECT_EQ(picture.drawnInRow(y), 0);
}

TEST_F(PlotRendererTest, SvgAndPdfAreWrittenToo) {
    PlotScene scene;
    scene.items.push_back(line(0, 0, 10, 10, {1, 0, 0}));
    scene.items.push_back({{0, 0, 0}, PlotText{5, 5, 1, 0.5, "élévation 12.5 & <x>", 1, 2}});
    std::string error;
    ASSERT_TRUE(renderPlot(scene, file("map.svg"), 300, error)) << error;
    ASSERT_TRUE(renderPlot(scene, file("map.pdf"), 300, error)) << error;
    std::ifstream svg(file("map.svg"));
    const std::string svgText((std::istreambuf_iterator<char>(svg)), std::istreambuf_iterator<char>());
    EXPECT_NE(svgText.find("<svg"), std::string::npos);
    EXPECT_NE(svgText.find("width=\"300"), std::string::npos);
    std::ifstream pdf(file("map.pdf"), std::ios::binary);
    std::string head(5, '\0');
    pdf.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
}

TEST_F(PlotRendererTest, RefusesWhatItCannotWrite) {
    PlotScene scene;
    scene.items.push_back(line(0, 0, 10, 10, {1, 0, 0}));
    std::string error;
    EXPECT_FALSE(renderPlot(scene, file("map.gif"), 300, error));
    EXPECT_NE(error.find(".png, .svg or .pdf"), std::string::npos);
    error.clear();
    EXPECT_FALSE(renderPlot(scene, file("map.png"), 10, error));
    EXPECT_NE(error.find("between"), std::string::npos);
    EXPECT_FALSE(renderPlot(scene, file("map.png"), kLargestPlotSize + 1, error));
    for (const char* name : {"missing/map.png", "missing/map.svg", "missing/map.pdf"}) {
        error.clear();
        EXPECT_FALSE(renderPlot(scene, file(name), 300, error)) << name;
        EXPECT_FALSE(error.empty()) << name;
    }
    EXPECT_FALSE(fs::exists(file("map.gif")));
    EXPECT_FALSE(fs::exists(file("map.png")));
}

}  // namespace
}  // namespace tz::cad
