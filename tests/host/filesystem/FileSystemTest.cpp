#include "FileSystem.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace tz::platform;

namespace {

std::string folder() {
    static const std::string path = [] {
        auto dir = std::filesystem::temp_directory_path() / ("tzfs-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return path;
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(TextFiles, LineFeedsAreStoredAsCrLf) {
    const std::string path = folder() + "/written.txt";
    std::FILE* f = openFile(path, "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "%lf %lf\n", 1.5, -2.0);
    std::fputs("no end", f);
    std::fclose(f);
    EXPECT_EQ(bytesOf(path), "1.500000 -2.000000\r\nno end");
}

TEST(TextFiles, AppendKeepsWhatIsThere) {
    const std::string path = folder() + "/append.txt";
    writeBytes(path, "first\r\n");
    std::FILE* f = openFile(path, "a");
    ASSERT_NE(f, nullptr);
    std::fputs("second\n", f);
    std::fclose(f);
    EXPECT_EQ(bytesOf(path), "first\r\nsecond\r\n");
}

TEST(TextFiles, CrLfReadsAsLineFeedLoneCrStays) {
    const std::string path = folder() + "/read.txt";
    // A large file crosses many read chunks, some of them between CR and LF.
    std::string content;
    for (int i = 0; i < 5000; ++i) content += "line " + std::to_string(i) + "\r\n";
    content += "a\rb\r";
    writeBytes(path, content);
    std::FILE* f = openFile(path, "r");
    ASSERT_NE(f, nullptr);
    std::string read;
    int c;
    while ((c = std::fgetc(f)) != EOF) read += static_cast<char>(c);
    std::fclose(f);
    std::string expected;
    for (int i = 0; i < 5000; ++i) expected += "line " + std::to_string(i) + "\n";
    expected += "a\rb\r";
    EXPECT_EQ(read, expected);
}

TEST(TextFiles, RandomRunsOfCrAndLfReadAsTextMode) {
    // Every position of a CR relative to the read blocks, CR CR LF, lone CRs
    // and a CR at the very end, read character by character and in pieces.
    const std::string path = folder() + "/random.txt";
    std::mt19937 random(5);
    const char alphabet[] = {'a', '\r', '\n', '\r'};
    std::string content;
    for (int i = 0; i < 100000; ++i) content += alphabet[random() % 4];
    content += '\r';
    writeBytes(path, content);
    std::string expected;
    for (size_t i = 0; i < content.size(); ++i) {
        if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n') continue;
        expected += content[i];
    }
    for (size_t piece : {size_t{1}, size_t{7}, size_t{4096}, size_t{70000}}) {
        std::FILE* f = openFile(path, "r");
        ASSERT_NE(f, nullptr);
        std::string read;
        std::vector<char> buffer(piece);
        size_t got;
        while ((got = std::fread(buffer.data(), 1, piece, f)) > 0) read.append(buffer.data(), got);
        std::fclose(f);
        EXPECT_EQ(read, expected) << "pieces of " << piece;
    }
}

TEST(TextFiles, NumbersScanAndRewind) {
    const std::string path = folder() + "/numbers.txt";
    writeBytes(path, "1 2 3\r\n4 5 6\r\n");
    std::FILE* f = openFile(path, "r");
    ASSERT_NE(f, nullptr);
    double a, b, c;
    int records = 0;
    while (std::fscanf(f, "%lf%lf%lf", &a, &b, &c) == 3) ++records;
    EXPECT_EQ(records, 2);
    std::rewind(f);
    ASSERT_EQ(std::fscanf(f, "%lf%lf%lf", &a, &b, &c), 3);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(c, 3);
    std::fclose(f);
}

TEST(TextFiles, BinaryModeKeepsBytes) {
    const std::string path = folder() + "/binary.bin";
    std::FILE* f = openFile(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("a\nb", f);
    std::fclose(f);
    EXPECT_EQ(bytesOf(path), "a\nb");
}

TEST(Paths, BackslashesSeparateFolders) {
    EXPECT_EQ(nativePath("C:\\jobs\\site.dat"), "C:/jobs/site.dat");
    const std::string path = folder() + "/sub";
    std::filesystem::create_directories(path);
    std::string windowsStyle = path + "\\file.txt";
    std::FILE* f = openFile(windowsStyle, "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(std::filesystem::exists(path + "/file.txt"));
    EXPECT_TRUE(canRead(windowsStyle));
    EXPECT_TRUE(deleteFile(windowsStyle));
    EXPECT_FALSE(canRead(windowsStyle));
}

TEST(Paths, MissingFilesDoNotOpen) {
    EXPECT_EQ(openFile(folder() + "/none/such.txt", "r"), nullptr);
    EXPECT_EQ(openFile(folder() + "/none/such.txt", "w"), nullptr);
}

TEST(Paths, FoldersAndPipesAreNotFiles) {
    // fopen reads a folder as an empty file; a reader must be told it cannot open it.
    const std::string path = folder() + "/site.tin";
    std::filesystem::create_directories(path);
    for (const char* mode : {"r", "rb", "r+", "w", "a"}) EXPECT_EQ(openFile(path, mode), nullptr) << mode;
    EXPECT_FALSE(canRead(path));
    EXPECT_FALSE(canRead(folder()));
    // Opening a named pipe would wait for a writer for ever.
    const std::string pipe = folder() + "/pipe.tin";
    std::filesystem::remove(pipe);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const char* mode : {"r", "rb", "w"}) EXPECT_EQ(openFile(pipe, mode), nullptr) << mode;
    EXPECT_FALSE(canRead(pipe));
}

TEST(Utf8, RoundTripAndStrayBytes) {
    const std::wstring text = L"Caf\u00e9 \u20ac \U0001F600";
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    EXPECT_EQ(fromUtf8("a\xE9z"), L"a\u00e9z");  // not UTF-8: the byte as Latin-1
}

TEST(Utf8, SurrogatesPairUpOrBecomeTheReplacementCharacter) {
    const std::wstring pair{L'a', static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00), L'b'};
    EXPECT_EQ(toUtf8(pair), "a\xF0\x9F\x98\x80" "b");  // U+1F600
    const std::wstring lone{static_cast<wchar_t>(0xD83D), L'x', static_cast<wchar_t>(0xDE00)};
    EXPECT_EQ(toUtf8(lone), "\xEF\xBF\xBD" "x" "\xEF\xBF\xBD");
    const std::wstring beyond{static_cast<wchar_t>(0x110000)};
    EXPECT_EQ(toUtf8(beyond), "\xEF\xBF\xBD");
}

// Files in `dir` other than those named.
std::vector<std::string> othersIn(const std::string& dir, const std::vector<std::string>& named) {
    std::vector<std::string> others;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (std::find(named.begin(), named.end(), name) == named.end()) others.push_back(name);
    }
    return others;
}

TEST(ReplacementFile, TheOldFileStaysUntilTheNewOneIsCommitted) {
    const std::string dir = folder() + "/replace";
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/out.txt";
    writeBytes(path, "old\r\n");
    ::chmod(path.c_str(), 0640);
    {
        ReplacementFile file(path, "w");
        ASSERT_NE(file.file(), nullptr);
        EXPECT_TRUE(file.write("new\n"));
        EXPECT_EQ(bytesOf(path), "old\r\n");  // not yet
        EXPECT_TRUE(file.commit());
    }
    EXPECT_EQ(bytesOf(path), "new\r\n");  // a text file, as openFile writes it
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // Dropped without commit (a command that failed after opening it).
    {
        ReplacementFile file(path, "w");
        EXPECT_TRUE(file.write("half"));
    }
    EXPECT_EQ(bytesOf(path), "new\r\n");
    EXPECT_TRUE(othersIn(dir, {"out.txt"}).empty());
}

TEST(ReplacementFile, ALinkKeepsPointingAtTheReplacedFile) {
    const std::string dir = folder() + "/replace-link";
    std::filesystem::create_directories(dir);
    writeBytes(dir + "/real.txt", "old");
    std::filesystem::create_symlink("real.txt", dir + "/link.txt");
    ReplacementFile file(dir + "/link.txt", "wb");
    EXPECT_TRUE(file.write("new"));
    EXPECT_TRUE(file.commit());
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/link.txt"));
    EXPECT_EQ(bytesOf(dir + "/real.txt"), "new");
}

TEST(ReplacementFile, NamesAsLongAsAFolderEntryMayBe) {
    // Two names of 255 characters that differ only at their end, both open
    // at once: each replaces its own file.
    const std::string dir = folder() + "/replace-long";
    std::filesystem::create_directories(dir);
    const std::string first = dir + "/" + std::string(254, 'a') + "1";
    const std::string second = dir + "/" + std::string(254, 'a') + "2";
    writeBytes(first, "old");
    ReplacementFile one(first, "wb");
    ReplacementFile two(second, "wb");
    ASSERT_NE(one.file(), nullptr);
    ASSERT_NE(two.file(), nullptr);
    EXPECT_TRUE(one.write("one"));
    EXPECT_TRUE(two.write("two"));
    EXPECT_TRUE(one.commit());
    EXPECT_TRUE(two.commit());
    EXPECT_EQ(bytesOf(first), "one");
    EXPECT_EQ(bytesOf(second), "two");
    EXPECT_TRUE(othersIn(dir, {std::string(254, 'a') + "1", std::string(254, 'a') + "2"}).empty());
}

TEST(ReplacementFile, RefusedWhereThePathCouldNotBeWritten) {
    const std::string dir = folder() + "/replace-refused";
    std::filesystem::create_directories(dir + "/taken.txt");
    for (const std::string& path : {folder() + "/no-such-folder/out.txt", dir + "/taken.txt"}) {
        ReplacementFile file(path, "w");
        EXPECT_EQ(file.file(), nullptr) << path;
        EXPECT_FALSE(file.write("x"));
        EXPECT_FALSE(file.commit());
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/taken.txt"));
}

TEST(ReplaceFileWith, MovesAFileIntoTheReplacedOnesPlace) {
    const std::string dir = folder() + "/replace-with";
    std::filesystem::create_directories(dir);
    writeBytes(dir + "/real.tin", "old");
    ::chmod((dir + "/real.tin").c_str(), 0640);
    std::filesystem::create_symlink("real.tin", dir + "/link.tin");
    writeBytes(dir + "/stage.tin", "new");
    EXPECT_TRUE(replaceFileWith(dir + "/stage.tin", dir + "/link.tin"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/link.tin"));
    EXPECT_EQ(bytesOf(dir + "/real.tin"), "new");
    struct stat st {};
    ASSERT_EQ(::stat((dir + "/real.tin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // Nothing to move, or nowhere to move it: what is there stays.
    EXPECT_FALSE(replaceFileWith(dir + "/stage.tin", dir + "/link.tin"));
    writeBytes(dir + "/stage.tin", "newer");
    EXPECT_FALSE(replaceFileWith(dir + "/stage.tin", dir + "/no-such-folder/x.tin"));
    EXPECT_EQ(bytesOf(dir + "/stage.tin"), "newer");
    EXPECT_EQ(bytesOf(dir + "/real.tin"), "new");
}

TEST(TempFolder, FollowsTempThenTmpdir) {
    ::setenv("TEMP", "/some/where/", 1);
    EXPECT_EQ(tempFolder(), "/some/where");
    ::unsetenv("TEMP");
    ::setenv("TMPDIR", "/other", 1);
    EXPECT_EQ(tempFolder(), "/other");
    ::unsetenv("TMPDIR");
    EXPECT_FALSE(tempFolder().empty());
}
