#include "RegistryFile.h"

#include <gtest/gtest.h>

#include <string>

namespace tz::platform {
namespace {

std::string textOf(const RegistryValue& value) {
    return std::string(value.data.begin(), value.data.end());
}

const RegistryValue* valueOf(const RegistryContents& contents, const std::string& key, const std::string& name) {
    const RegistryKeyContents* found = contents.findKey(key);
    if (found == nullptr) return nullptr;
    const auto it = found->values.find(foldName(name));
    return it == found->values.end() ? nullptr : &it->second;
}

// UTF-16LE with byte-order mark, as regedit exports.
std::string utf16LeFile(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\n";

TEST(RegistryFileTest, ReadsStringsAndDefaultValuesWithEscapes) {
    const RegistryContents contents = parseRegistryFile(std::string(kHeader) +
                                                        "\n"
                                                        "[HKEY_CURRENT_USER\\SOFTWARE\\Veltrane\\Parcelix]\n"
                                                        "\"Install_Dir\"=\"C:\\\\Suite\\\\\"\n"
                                                        "@=\"say \\\"hi\\\"\"\n"
                                                        "\"Odd\\\"Name\"=\"x\"\n");
    EXPECT_TRUE(contents.problems.empty());
    const RegistryValue* folder = valueOf(contents, "HKEY_CURRENT_USER\\SOFTWARE\\Veltrane\\Parcelix", "Install_Dir");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->type, REG_SZ);
    EXPECT_EQ(textOf(*folder), std::string("C:\\Suite\\") + '\0');
    const RegistryValue* byDefault = valueOf(contents, "HKEY_CURRENT_USER\\SOFTWARE\\Veltrane\\Parcelix", "");
    ASSERT_NE(byDefault, nullptr);
    EXPECT_EQ(textOf(*byDefault), std::string("say \"hi\"") + '\0');
    EXPECT_NE(valueOf(contents, "HKEY_CURRENT_USER\\SOFTWARE\\Veltrane\\Parcelix", "Odd\"Name"), nullptr);
}

TEST(RegistryFileTest, KeyAndValueNamesIgnoreLetterCase) {
    const RegistryContents contents = parseRegistryFile(std::string(kHeader) +
                                                        "[hkey_current_user\\Software\\VELTRANE]\n"
                                                        "\"Install_Dir\"=\"a\"\n"
                                                        "[HKEY_CURRENT_USER\\software\\veltrane]\n"
                                                        "\"INSTALL_DIR\"=\"b\"\n");
    const RegistryKeyContents* key = contents.findKey("HKEY_CURRENT_USER\\SOFTWARE\\Veltrane");
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->values.size(), 1u);  // the later line replaced the earlier value
    EXPECT_EQ(textOf(key->values.begin()->second), std::string("b") + '\0');
    EXPECT_EQ(key->path, "HKEY_CURRENT_USER\\Software\\VELTRANE");  // first spelling kept
}

TEST(RegistryFileTest, SectionCreatesItsParentKeys) {
    const RegistryContents contents = parseRegistryFile(std::string(kHeader) + "[HKCU\\A\\B\\C]\n");
    EXPECT_NE(contents.findKey("HKEY_CURRENT_USER\\A"), nullptr);
    EXPECT_NE(contents.findKey("HKEY_CURRENT_USER\\A\\B"), nullptr);
    EXPECT_NE(contents.findKey("HKEY_CURRENT_USER\\A\\B\\C"), nullptr);
    EXPECT_EQ(contents.findKey("HKEY_CURRENT_USER\\A\\B\\C\\D"), nullptr);
    EXPECT_EQ(contents.findKey("HKEY_LOCAL_MACHINE\\A"), nullptr);
}

TEST(RegistryFileTest, ClassesRootIsStoredUnderTheMachineClasses) {
    const RegistryContents contents = parseRegistryFile(std::string(kHeader) +
                                                        "[HKEY_CLASSES_ROOT\\.dwg]\n"
                                                        "@=\"Host.Drawing\"\n");
    EXPECT_NE(valueOf(contents, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.dwg", ""), nullptr);
    EXPECT_EQ(contents.findKey("HKEY_CLASSES_ROOT\\.dwg"), nullptr);
}

TEST(RegistryFileTest, DeletionsRemoveKeysWithTheirSubkeysAndSingleValues) {
    const RegistryContents contents = parseRegistryFile(std::string(kHeader) +
                                                        "[HKEY_CURRENT_USER\\A\\B]\n"
                                                        "\"keep\"=\"1\"\n"
                                                        "\"drop\"=\"2\"\n"
                                                        "[HKEY_CURRENT_USER\\AB]\n"
                                                        "[HKEY_CURRENT_USER\\A\\B]\n"
                                                        "\"drop\"=-\n"
                                                        "[HKEY_CURRENT_USER\\X\\Y]\n"
                                                        "[-HKEY_CURRENT_USER\\X]\n"
                                                        "\"lost\"=\"after a deletion\"\n");
    EXPECT_NE(valueOf(contents, "HKEY_CURRENT_USER\\A\\B", "keep"), nullptr);
    EXPECT_EQ(valueOf(contents, "HKEY_CURRENT_USER\\A\\B", "drop"), nullptr);
    EXPECT_EQ(contents.findKey("HKEY_CURRENT_USER\\X"), nullptr);
    EXPECT_EQ(contents.findKey("HKEY_CURRENT_USER\\X\\Y"), nullptr);
    EXPECT_NE(contents.findKey("HKEY_CURRENT_USER\\AB"), nullptr);  // a sibling sharing the prefix stays
    ASSERT_EQ(contents.problems.size(), 1u);
    EXPECT_EQ(contents.problems[0], "line 10: value outside a key section");
}

TEST(RegistryFileTest, ReadsDwordAndHexValuesIncludingContinuedLines) {
    const RegistryContents contents = parseRegistryFile(std::string(kHeader) +
                                                        "[HKEY_LOCAL_MACHINE\\K]\n"
                                                        "\"Count\"=dword:0000012c\n"
                                                        "\"Blob\"=hex:01,02,\\\n"
                                                        "  ff,\\\n"
                                                        "  A0\n"
                                                        "\"Path\"=hex(2):25,00,41,00,25,00,00,00\n"
                                                        "\"Empty\"=hex:\n"
                                                        "\"After\"=\"still read\"\n");
    EXPECT_TRUE(contents.problems.empty());
    const RegistryValue* count = valueOf(contents, "HKLM\\K", "Count");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->type, REG_DWORD);
    EXPECT_EQ(count->data, (std::vector<BYTE>{0x2c, 0x01, 0, 0}));
    const RegistryValue* blob = valueOf(contents, "HKLM\\K", "Blob");
    ASSERT_NE(blob, nullptr);
    EXPECT_EQ(blob->type, REG_BINARY);
    EXPECT_EQ(blob->data, (std::vector<BYTE>{1, 2, 0xff, 0xa0}));
    const RegistryValue* path = valueOf(contents, "HKLM\\K", "Path");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->type, REG_EXPAND_SZ);
    EXPECT_EQ(textOf(*path), std::string("%A%") + '\0');  // UTF-16 text of a version 5 file, as 8-bit text
    ASSERT_NE(valueOf(contents, "HKLM\\K", "Empty"), nullptr);
    EXPECT_TRUE(valueOf(contents, "HKLM\\K", "Empty")->data.empty());
    EXPECT_NE(valueOf(contents, "HKLM\\K", "After"), nullptr);
}

TEST(RegistryFileTest, Regedit4HexTextIsAlready8Bit) {
    const RegistryContents contents = parseRegistryFile("REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"P\"=hex(2):41,42,00\n");
    const RegistryValue* value = valueOf(contents, "HKEY_LOCAL_MACHINE\\K", "P");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(textOf(*value), std::string("AB") + '\0');
}

TEST(RegistryFileTest, ReadsUtf16FilesWithCrLfAsRegeditWritesThem) {
    const std::string file = utf16LeFile(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Veltrane\\Parcelix]\r\n"
        "\"Install_Dir\"=\"C:\\\\Suite\\\\\"\r\n");
    const RegistryContents contents = parseRegistryFile(file);
    EXPECT_TRUE(contents.problems.empty());
    const RegistryValue* value = valueOf(contents, "HKEY_CURRENT_USER\\Software\\Veltrane\\Parcelix", "Install_Dir");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(textOf(*value), std::string("C:\\Suite\\") + '\0');
}

TEST(RegistryFileTest, DecodesUnicodeTextToUtf8) {
    // "é" (U+00E9) and "𝄞" (U+1D11E, a surrogate pair) in a UTF-16LE file; a lone
    // surrogate becomes U+FFFD.
    std::string file = "\xFF\xFE";
    for (uint16_t unit : {uint16_t{'A'}, uint16_t{0x00E9}, uint16_t{0xD834}, uint16_t{0xDD1E}, uint16_t{0xDC00}}) {
        file += static_cast<char>(unit & 0xFF);
        file += static_cast<char>(unit >> 8);
    }
    EXPECT_EQ(decodeRegistryText(file), "A\xC3\xA9\xF0\x9D\x84\x9E\xEF\xBF\xBD");
    EXPECT_EQ(decodeRegistryText("\xEF\xBB\xBFREGEDIT4"), "REGEDIT4");
    EXPECT_EQ(decodeRegistryText(std::string("\xFE\xFF\0A", 4)), "A");
    EXPECT_EQ(decodeRegistryText("plain \xC3\xA9"), "plain \xC3\xA9");
}

TEST(RegistryFileTest, Utf8ValuesPassThroughUnchanged) {
    const RegistryContents contents =
        parseRegistryFile("\xEF\xBB\xBF" + std::string(kHeader) + "[HKCU\\K]\n\"D\"=\"/home/j\xC3\xB6rg/\"\n");
    ASSERT_NE(valueOf(contents, "HKCU\\K", "D"), nullptr);
    EXPECT_EQ(textOf(*valueOf(contents, "HKCU\\K", "D")), std::string("/home/j\xC3\xB6rg/") + '\0');
}

TEST(RegistryFileTest, WithoutTheHeaderNothingIsRead) {
    const RegistryContents contents = parseRegistryFile("[HKEY_CURRENT_USER\\K]\n\"a\"=\"b\"\n");
    EXPECT_TRUE(contents.keys.empty());
    ASSERT_EQ(contents.problems.size(), 1u);
    EXPECT_NE(contents.problems[0].find("not a registry file"), std::string::npos);
    EXPECT_TRUE(parseRegistryFile("").keys.empty());
    EXPECT_TRUE(parseRegistryFile(std::string("\0\xff\x01garbage", 10)).keys.empty());
}

TEST(RegistryFileTest, LinesNotUnderstoodAreSkippedAndNamedWithTheirNumbers) {
    const RegistryContents contents = parseRegistryFile(std::string(kHeader) +
                                                        "; a comment\n"
                                                        "[HKEY_NOWHERE\\K]\n"
                                                        "\"a\"=\"in an unknown hive\"\n"
                                                        "[HKEY_CURRENT_USER\\K]\n"
                                                        "\"Install_Dir\"=\"C:\\Suite\\\"\n"
                                                        "\"n\"=dword:123456789\n"
                                                        "\"h\"=hex:1,zz\n"
                                                        "\"x\" \"y\"\n"
                                                        "\"s\"=\"text\" trailing\n"
                                                        "what is this\n"
                                                        "[HKEY_CURRENT_USER\\Unclosed\n"
                                                        "\"good\"=\"kept\"\n");
    const std::vector<std::string> expected{
        "line 3: unknown root key in [HKEY_NOWHERE\\K]",
        "line 4: value outside a key section",
        "line 6: text value without closing quote",
        "line 7: dword value that is not 1 to 8 hex digits",
        "line 8: hex bytes not understood",
        "line 9: value without '='",
        "line 10: unexpected characters after a text value",
        "line 11: not understood",
        "line 12: key name without closing bracket",
        "line 13: value outside a key section",
    };
    EXPECT_EQ(contents.problems, expected);
    // A single backslash before the closing quote escapes it: the value is lost, not misread.
    EXPECT_EQ(valueOf(contents, "HKCU\\K", "Install_Dir"), nullptr);
}

TEST(RegistryFileTest, OtherBackslashesStandForThemselves) {
    const RegistryContents contents =
        parseRegistryFile(std::string(kHeader) + "[HKCU\\K]\n\"a\"=\"C:\\Suite\\tzkivo\"\n");
    ASSERT_NE(valueOf(contents, "HKCU\\K", "a"), nullptr);
    EXPECT_EQ(textOf(*valueOf(contents, "HKCU\\K", "a")), std::string("C:\\Suite\\tzkivo") + '\0');
}

TEST(RegistryFileTest, VeryLongLinesAreRead) {
    const std::string longText(1 << 20, 'x');
    const RegistryContents contents =
        parseRegistryFile(std::string(kHeader) + "[HKCU\\K]\n\"a\"=\"" + longText + "\"\n");
    ASSERT_NE(valueOf(contents, "HKCU\\K", "a"), nullptr);
    EXPECT_EQ(valueOf(contents, "HKCU\\K", "a")->data.size(), longText.size() + 1);
}

TEST(RegistryFileTest, FoldsKeyPathsToTheirFullHiveNames) {
    EXPECT_EQ(foldKeyPath("HKCU\\Software\\\\Veltrane\\"), "HKEY_CURRENT_USER\\SOFTWARE\\VELTRANE");
    EXPECT_EQ(foldKeyPath("hkey_classes_root\\.dwg"), "HKEY_CLASSES_ROOT\\.DWG");
    EXPECT_EQ(foldKeyPath("HKLM"), "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(foldKeyPath("SOFTWARE\\Veltrane"), "");
    EXPECT_EQ(foldKeyPath(""), "");
}

}  // namespace
}  // namespace tz::platform
