#include "project/ProjectSettings.h"

#include <gtest/gtest.h>

using namespace tz::terrain;

namespace {

// The UTF-16 LE bytes of ASCII text, as the settings file holds it.
std::string utf16(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        out += '\0';
    }
    return out;
}

}  // namespace

TEST(SettingsFileName, ReplacesTheFileNamesOwnExtension) {
    EXPECT_EQ(settingsFileName(L"C:\\jobs\\site.dat"), L"C:\\jobs\\site.set");
    EXPECT_EQ(settingsFileName(L"C:\\a.b\\pts.txt"), L"C:\\a.b\\pts.set");
    EXPECT_EQ(settingsFileName(L"/work/ground.new.dat"), L"/work/ground.new.set");
}

TEST(SettingsFileName, AppendsWhenTheNameHasNoExtension) {
    EXPECT_EQ(settingsFileName(L"/jobs/site"), L"/jobs/site.set");
    // A dot in a folder name is not the file's extension: taking it would put
    // the settings file outside the project's folder.
    EXPECT_EQ(settingsFileName(L"C:\\a.b\\pts"), L"C:\\a.b\\pts.set");
    EXPECT_EQ(settingsFileName(L"/a.b/pts"), L"/a.b/pts.set");
}

TEST(ProjectSettings, DefaultsKeepThePointFile) {
    ProjectSettings settings;
    settings.set(L"dpoints", L"site.dat");
    settings.set(L"dcln", L"Other");
    settings.applyDefaults();
    EXPECT_EQ(settings.get(L"dpoints"), L"site.dat");
    EXPECT_EQ(settings.get(L"dcln"), L"TZ_Regcontours");
    EXPECT_EQ(settings.get(L"diln"), L"TZ_Indxcontours");
    EXPECT_EQ(settings.get(L"dimfaults"), L"3");
    EXPECT_EQ(settings.get(L"dci"), L"1");
    EXPECT_EQ(settings.get(L"dii"), L"5");
    EXPECT_EQ(settings.get(L"dmln"), L"TZ_Mesh");
    EXPECT_EQ(settings.get(L"dfaults"), L"");
}

TEST(ProjectSettings, ValuesAreCutToTheirCapacity) {
    ProjectSettings settings;
    EXPECT_TRUE(settings.set(L"dcln", std::wstring(100, L'L')));
    EXPECT_EQ(settings.get(L"dcln").size(), 31u);
    EXPECT_TRUE(settings.set(L"dcround", L"12"));
    EXPECT_EQ(settings.get(L"dcround"), L"1");
    EXPECT_TRUE(settings.set(L"dpoints", std::wstring(600, L'p')));
    EXPECT_EQ(settings.get(L"dpoints").size(), 511u);
    EXPECT_FALSE(settings.set(L"unknown", L"x"));
    EXPECT_FALSE(settings.set(L"DCLN", L"x"));  // keys are case-sensitive
}

TEST(SettingsFile, ContentIsUtf16WithBomCrLfAndNineteenLinesInOrder) {
    ProjectSettings settings;
    settings.set(L"dpoints", L"C:\\jobs\\site.dat");
    settings.applyDefaults();
    const std::string content = settingsFileContent(settings);
    ASSERT_GE(content.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(content[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(content[1]), 0xFE);
    const std::string expected = utf16(
        "dpoints=C:\\jobs\\site.dat\r\ndfaults=\r\ndbndry=\r\nufaults=0\r\nubound=0\r\ndimfaults=3\r\n"
        "uelev=0\r\ndcw=0\r\ndiw=0\r\ndci=1\r\ndii=5\r\ndcln=TZ_Regcontours\r\ndiln=TZ_Indxcontours\r\n"
        "dxi=1\r\ndzi=1\r\ndcround=0\r\ndbe=0\r\ndsk=0\r\ndmln=TZ_Mesh\r\n");
    EXPECT_EQ(content.substr(2), expected);
}

TEST(SettingsFile, RoundTrip) {
    ProjectSettings written;
    written.set(L"dpoints", L"/jobs/s\u00e9t\u00e9/site.dat");
    written.applyDefaults();
    written.set(L"dci", L"2.5");
    written.set(L"dfaults", L"/jobs/faults.flt");
    ProjectSettings read;
    applySettingsFile(settingsFileContent(written), read);
    for (const SettingKey& key : settingKeys()) EXPECT_EQ(read.get(key.key), written.get(key.key)) << key.key;
}

TEST(SettingsFile, AValueWithALineBreakSetsNoOtherSetting) {
    ProjectSettings written;
    written.set(L"dpoints", L"site.dat");
    written.applyDefaults();
    written.set(L"dmln", L"Mesh\r\nLayer");
    // The rest of the line after a break, "dbndry=evil.bnd", would have set
    // the boundary file; on one line the value's "=" spoils only its own key.
    written.set(L"dcln", L"Lay\ndbndry=evil.bnd");
    written.set(L"diln", L"X\nubound=1");
    ProjectSettings read;
    read.applyDefaults();
    applySettingsFile(settingsFileContent(written), read);
    EXPECT_EQ(read.get(L"dmln"), L"Mesh  Layer");
    EXPECT_EQ(read.get(L"dbndry"), written.get(L"dbndry"));
    EXPECT_EQ(read.get(L"ubound"), written.get(L"ubound"));
}

TEST(SettingsFile, SplitsAtTheLastEqualsSign) {
    ProjectSettings settings;
    settings.set(L"dcln", L"Before");
    applySettingsFile("\xFF\xFE" + utf16("dcln=Layer=A\r\ndci=3\r\n"), settings);
    EXPECT_EQ(settings.get(L"dcln"), L"Before");  // the key "dcln=Layer" matches nothing
    EXPECT_EQ(settings.get(L"dci"), L"3");
}

TEST(SettingsFile, UnknownLinesIgnoredMissingKeysKept) {
    ProjectSettings settings;
    settings.set(L"dii", L"10");
    applySettingsFile("\xFF\xFE" + utf16("colour=blue\r\nno equals sign\r\ndcw=0.5\r\n"), settings);
    EXPECT_EQ(settings.get(L"dcw"), L"0.5");
    EXPECT_EQ(settings.get(L"dii"), L"10");
}

TEST(SettingsFile, LastLineWithoutLineFeedIsNotApplied) {
    ProjectSettings settings;
    applySettingsFile("\xFF\xFE" + utf16("dci=2\r\ndii=7"), settings);
    EXPECT_EQ(settings.get(L"dci"), L"2");
    EXPECT_EQ(settings.get(L"dii"), L"");
}

TEST(SettingsFile, EmptyFileChangesNothing) {
    ProjectSettings settings;
    settings.set(L"dci", L"4");
    applySettingsFile("", settings);
    applySettingsFile("\xFF\xFE", settings);
    EXPECT_EQ(settings.get(L"dci"), L"4");
}

TEST(SettingsFile, OverlongLinesAreCutNotOverrun) {
    ProjectSettings settings;
    applySettingsFile("dcln=" + std::string(5000, 'X') + "\ndpoints=" + std::string(2000, 'p') + "\n", settings);
    EXPECT_EQ(settings.get(L"dcln"), std::wstring(31, L'X'));
    EXPECT_EQ(settings.get(L"dpoints"), std::wstring(511, L'p'));
}

TEST(SettingsFile, EightBitAndUtf8FilesAreRead) {
    ProjectSettings settings;
    applySettingsFile("dcln=Caf\xC3\xA9\ndiln=Caf\xE9\n", settings);
    EXPECT_EQ(settings.get(L"dcln"), L"Caf\u00e9");
    EXPECT_EQ(settings.get(L"diln"), L"Caf\u00e9");
}

TEST(ListedSettings, ThirtySixStringsWithoutTheRoundingChoice) {
    ProjectSettings settings;
    settings.set(L"dpoints", L"site.dat");
    settings.applyDefaults();
    const auto listed = listedSettings(settings);
    ASSERT_EQ(listed.size(), 36u);
    EXPECT_EQ(listed[0], L"dpoints");
    EXPECT_EQ(listed[1], L"site.dat");
    EXPECT_EQ(listed[6], L"uelev");
    EXPECT_EQ(listed[34], L"dmln");
    for (size_t i = 0; i < listed.size(); i += 2) EXPECT_NE(listed[i], L"dcround");
}
