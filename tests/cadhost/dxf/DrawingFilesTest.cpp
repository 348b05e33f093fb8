// Opening and saving the host's drawing: a failed open changes nothing, a
// save never leaves a partial file, and what was saved opens again.
#include "drawing/DrawingFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "SampleDrawing.h"
#include "drawing/CurrentDrawing.h"

namespace tz::cad {
namespace {

namespace fs = std::filesystem;

class DrawingFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("tz_drawing_files_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        replaceCurrentDrawing(test::makeSampleDrawing());
    }
    void TearDown() override { fs::remove_all(folder); }

    static std::string contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<fs::path> files() const {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
        return names;
    }

    fs::path folder;
};

size_t liveEntities(const Drawing& drawing) {
    size_t count = 0;
    for (std::optional<uint64_t> h = drawing.firstEntity(); h; h = drawing.nextEntity(*h)) ++count;
    return count;
}

TEST_F(DrawingFilesTest, SavedDrawingOpensWithTheSameEntities) {
    const size_t before = liveEntities(currentDrawing());
    std::string error;
    const fs::path path = folder / "site.dxf";
    ASSERT_TRUE(saveDrawing(path.string(), error)) << error;
    EXPECT_EQ(files(), std::vector<fs::path>{"site.dxf"});  // no temporary file left
    replaceCurrentDrawing(std::make_unique<Drawing>());
    ASSERT_TRUE(openDrawing(path.string(), error)) << error;
    EXPECT_EQ(liveEntities(currentDrawing()), before);
    EXPECT_NE(currentDrawing().findBlock(L"TZNODE"), nullptr);
}

TEST_F(DrawingFilesTest, BackslashesSeparateFolders) {
    std::string error;
    fs::create_directories(folder / "sub");
    const std::string windowsPath = (folder / "sub").string() + "\\plan.dxf";
    ASSERT_TRUE(saveDrawing(windowsPath, error)) << error;
    EXPECT_TRUE(fs::exists(folder / "sub" / "plan.dxf"));
    EXPECT_TRUE(openDrawing(windowsPath, error)) << error;
}

TEST_F(DrawingFilesTest, AFailedOpenLeavesTheDrawingAsItWas) {
    Drawing& before = currentDrawing();
    const intptr_t serial = before.serial();
    std::string error;
    EXPECT_FALSE(openDrawing((folder / "missing.dxf").string(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(openDrawing(folder.string(), error));  // a folder
    EXPECT_NE(error.find("folder"), std::string::npos);

    const fs::path damaged = folder / "damaged.dxf";
    std::ofstream(damaged) << "0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\nnot a number\n20\n0\n0\nENDSEC\n0\nEOF\n";
    EXPECT_FALSE(openDrawing(damaged.string(), error));
    EXPECT_NE(error.find("line 8"), std::string::npos) << error;

    const fs::path truncated = folder / "truncated.dxf";
    std::ofstream(truncated) << "0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n1\n20\n";
    EXPECT_FALSE(openDrawing(truncated.string(), error));
    EXPECT_NE(error.find("truncated"), std::string::npos) << error;

    EXPECT_EQ(currentDrawing().serial(), serial);
    EXPECT_EQ(&currentDrawing(), &before);
}

TEST_F(DrawingFilesTest, AFailedSaveLeavesNoFileBehind) {
    std::string error;
    EXPECT_FALSE(saveDrawing((folder / "no" / "such" / "folder.dxf").string(), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(saveDrawing(folder.string(), error));  // a folder is no file
    std::ofstream(folder / "plain") << "x";
    EXPECT_FALSE(saveDrawing((folder / "plain" / "inside.dxf").string(), error));
    EXPECT_EQ(files(), std::vector<fs::path>{"plain"});
    EXPECT_EQ(contents(folder / "plain"), "x");
}

TEST_F(DrawingFilesTest, SavingReplacesAGoodFileOnlyWithACompleteOne) {
    std::string error;
    const fs::path path = folder / "site.dxf";
    std::ofstream(path) << "old contents";
    ASSERT_TRUE(saveDrawing(path.string(), error)) << error;
    const std::string saved = contents(path);
    EXPECT_EQ(saved.rfind("  0\r\nEOF\r\n"), saved.size() - 10);  // complete, EOF last
    EXPECT_EQ(files(), std::vector<fs::path>{"site.dxf"});
}

TEST_F(DrawingFilesTest, SavingThroughALinkReplacesTheFileItNames) {
    std::string error;
    fs::create_directories(folder / "drawings");
    const fs::path real = folder / "drawings" / "site.dxf";
    std::ofstream(real) << "old contents";
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, folder / "link.dxf");
    ASSERT_TRUE(saveDrawing((folder / "link.dxf").string(), error)) << error;
    EXPECT_TRUE(fs::is_symlink(folder / "link.dxf"));
    EXPECT_EQ(contents(real).rfind("  0\r\nEOF\r\n"), contents(real).size() - 10);
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(DrawingFilesTest, NamesOfAReplacedDrawingNoLongerResolve) {
    std::string error;
    const fs::path path = folder / "site.dxf";
    ASSERT_TRUE(saveDrawing(path.string(), error));
    intptr_t name[2];
    makeEntityName(currentDrawing(), *currentDrawing().firstEntity(), name);
    EXPECT_NE(resolveEntityName(currentDrawing(), name), nullptr);
    ASSERT_TRUE(openDrawing(path.string(), error));
    EXPECT_EQ(resolveEntityName(currentDrawing(), name), nullptr);
}

}  // namespace
}  // namespace tz::cad
