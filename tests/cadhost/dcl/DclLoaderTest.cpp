#include "dcl/DclLoader.h"

#include <gtest/gtest.h>

#include <map>

#include "DclTestSupport.h"
#include "core/HostState.h"

namespace tz::cad::dcl {
namespace {

using testing::errorOf;
using testing::loadOrFail;
using testing::narrow;
using testing::ScratchFolder;

// Include files served from memory.
DclTextReader readerOf(std::map<std::wstring, std::wstring> files) {
    return [files = std::move(files)](const std::wstring& name) {
        const auto found = files.find(name);
        if (found == files.end()) return FileText{false, L"", L"cannot find the file"};
        return FileText{true, found->second, L""};
    };
}

TEST(DclLoader, ListsTheDialogsInTheOrderWrittenAndLeavesPrototypesOut) {
    const DclDocument document = loadOrFail(L"zeta : dialog { }\nhelper : row { }\nalpha : dialog { }\n");
    EXPECT_EQ(document.name, L"test.dcl");
    EXPECT_EQ(document.dialogNames, (std::vector<std::wstring>{L"zeta", L"alpha"}));
    EXPECT_EQ(document.dialog(L"helper"), nullptr);
    EXPECT_EQ(document.dialog(L"missing"), nullptr);
    ASSERT_NE(document.dialog(L"alpha"), nullptr);
    EXPECT_EQ(document.dialog(L"alpha")->kind, TileKind::Dialog);
}

TEST(DclLoader, ADialogMayBeBuiltOnAnotherDialog) {
    const DclDocument document = loadOrFail(L"plain : dialog { label = \"Plain\"; ok_only; }\nnamed : plain { label = \"Named\"; }\n");
    ASSERT_NE(document.dialog(L"named"), nullptr);
    EXPECT_EQ(document.dialog(L"named")->text(L"label"), L"Named");
    EXPECT_EQ(document.dialog(L"named")->children.size(), 1u);
}

TEST(DclLoader, RefusesDuplicateDefinitionsAndRedefinedTypes) {
    DclError error = errorOf(L"a : dialog { }\n\nb : row { }\na : dialog { }\n");
    EXPECT_EQ(error.line, 4);
    EXPECT_EQ(error.message, L"\"a\" is defined twice (first on line 1)");
    error = errorOf(L"d : dialog { }\nbutton : text { }\n");
    EXPECT_EQ(error.line, 2);
    EXPECT_NE(error.message.find(L"built-in tile type"), std::wstring::npos);
}

TEST(DclLoader, ANameGivesTheFileInEveryError) {
    std::variant<DclDocument, DclError> loaded = loadDclText(L"d : dialog {", L"dtm.dcl", nullptr);
    ASSERT_TRUE(std::holds_alternative<DclError>(loaded));
    EXPECT_EQ(narrow(std::get<DclError>(loaded).describe()),
              "dtm.dcl, line 1: the end of the file came before \"}\" closed the tile opened on line 1");
}

TEST(DclLoader, IncludedFilesAddTheirDefinitionsAndTheIncludingFileHidesThem) {
    const DclTextReader reader = readerOf({
        {L"parts.dcl", L"@include \"deeper.dcl\"\nlabelled : text { label = \"from parts\"; }\nshared : dialog { labelled; }\n"},
        {L"deeper.dcl", L"deep_box : edit_box { key = \"deep\"; }\n"},
    });
    std::variant<DclDocument, DclError> loaded = loadDclText(
        L"@include \"parts.dcl\"\nlabelled : text { label = \"from main\"; }\nmine : dialog { labelled; deep_box; }\n",
        L"main.dcl", reader);
    ASSERT_TRUE(std::holds_alternative<DclDocument>(loaded)) << narrow(std::get<DclError>(loaded).describe());
    const DclDocument& document = std::get<DclDocument>(loaded);
    EXPECT_EQ(document.dialogNames, (std::vector<std::wstring>{L"mine", L"shared"}));
    EXPECT_EQ(document.dialog(L"mine")->children.at(0).text(L"label"), L"from main");
    EXPECT_EQ(document.dialog(L"mine")->children.at(1).text(L"key"), L"deep");
    // The included dialog uses the definitions that are visible: the main file's.
    EXPECT_EQ(document.dialog(L"shared")->children.at(0).text(L"label"), L"from main");
}

TEST(DclLoader, AFileIncludedTwiceIsReadOnce) {
    int reads = 0;
    const DclTextReader reader = [&reads](const std::wstring&) {
        ++reads;
        return FileText{true, L"part : text { }", L""};
    };
    std::variant<DclDocument, DclError> loaded =
        loadDclText(L"@include \"p.dcl\"\n@include \"p.dcl\"\nd : dialog { part; }", L"main.dcl", reader);
    EXPECT_TRUE(std::holds_alternative<DclDocument>(loaded));
    EXPECT_EQ(reads, 1);
}

TEST(DclLoader, ReportsIncludeProblemsWhereTheyAre) {
    std::variant<DclDocument, DclError> loaded =
        loadDclText(L"d : dialog { }\n@include \"nowhere.dcl\"\n", L"main.dcl", readerOf({}));
    ASSERT_TRUE(std::holds_alternative<DclError>(loaded));
    EXPECT_EQ(narrow(std::get<DclError>(loaded).describe()),
              "main.dcl, line 2: cannot include \"nowhere.dcl\": cannot find the file");

    loaded = loadDclText(L"@include \"a.dcl\"", L"main.dcl",
                         readerOf({{L"a.dcl", L"@include \"b.dcl\""}, {L"b.dcl", L"\n@include \"a.dcl\""}}));
    ASSERT_TRUE(std::holds_alternative<DclError>(loaded));
    EXPECT_EQ(std::get<DclError>(loaded).file, L"b.dcl");
    EXPECT_EQ(std::get<DclError>(loaded).line, 2);
    EXPECT_NE(std::get<DclError>(loaded).message.find(L"includes itself"), std::wstring::npos);

    loaded = loadDclText(L"@include \"bad.dcl\"", L"main.dcl", readerOf({{L"bad.dcl", L"x : dialog {\n  : nothing { }\n}"}}));
    ASSERT_TRUE(std::holds_alternative<DclError>(loaded));
    EXPECT_EQ(std::get<DclError>(loaded).file, L"bad.dcl");
    EXPECT_EQ(std::get<DclError>(loaded).line, 2);

    // An endless chain of distinct files stops at the depth limit.
    const DclTextReader endless = [](const std::wstring& name) {
        return FileText{true, L"@include \"" + name + L"x\"", L""};
    };
    loaded = loadDclText(L"@include \"f\"", L"main.dcl", endless);
    ASSERT_TRUE(std::holds_alternative<DclError>(loaded));
    EXPECT_NE(std::get<DclError>(loaded).message.find(L"nested too deeply"), std::wstring::npos);
}

TEST(DclLoader, DecodesUtf8AndUtf16Files) {
    EXPECT_EQ(decodeDclBytes("label = \"Gel\xC3\xA4nde\";"), L"label = \"Gel\u00E4nde\";");
    EXPECT_EQ(decodeDclBytes("\xEF\xBB\xBF" "a"), L"a");
    EXPECT_EQ(decodeDclBytes(std::string("\xFF\xFE" "a\0\xE4\0", 6)), L"a\u00E4");
    EXPECT_EQ(decodeDclBytes(std::string("\xFE\xFF\0a\0\xE4", 6)), L"a\u00E4");
    EXPECT_EQ(decodeDclBytes(std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6)), std::wstring(1, static_cast<wchar_t>(0x1F600)));
    // Bytes that are not UTF-8 stand for themselves; nothing is lost.
    EXPECT_EQ(decodeDclBytes("caf\xE9"), L"caf\u00E9");
    EXPECT_EQ(decodeDclBytes(""), L"");
    EXPECT_EQ(decodeDclBytes(std::string("\xFF\xFE" "a", 3)), L"");
}

TEST(DclLoader, FindsFilesByTheHostsFileSearch) {
    ScratchFolder scratch;
    scratch.write("here.dcl", "here : dialog { ok_only; }\n");
    scratch.write("share/shared.dcl", "@include \"beside.dcl\"\nshared : dialog { beside_text; }\n");
    scratch.write("share/beside.dcl", "beside_text : text { key = \"b\"; }\n");
    const std::string previousShare = hostState().shareFolder;
    hostState().shareFolder = (scratch.path() / "share").string();

    std::variant<DclDocument, DclError> loaded = loadDclFile(L"here.dcl");
    ASSERT_TRUE(std::holds_alternative<DclDocument>(loaded));
    EXPECT_EQ(std::get<DclDocument>(loaded).name, L"here.dcl");

    loaded = loadDclFile(L"here");  // the extension is added
    EXPECT_TRUE(std::holds_alternative<DclDocument>(loaded));

    loaded = loadDclFile(L"shared.dcl");  // from the suite's folder, its include beside it
    ASSERT_TRUE(std::holds_alternative<DclDocument>(loaded)) << narrow(std::get<DclError>(loaded).describe());
    EXPECT_NE(std::get<DclDocument>(loaded).dialog(L"shared"), nullptr);

    loaded = loadDclFile(L".\\here.dcl");  // a Windows-style relative path
    EXPECT_TRUE(std::holds_alternative<DclDocument>(loaded));

    loaded = loadDclFile(L"absent.dcl");
    ASSERT_TRUE(std::holds_alternative<DclError>(loaded));
    EXPECT_EQ(narrow(std::get<DclError>(loaded).describe()), "absent.dcl: cannot find the file");

    hostState().shareFolder = previousShare;
}

TEST(DclLoader, RefusesHugeFilesUnread) {
    ScratchFolder scratch;
    scratch.write("huge.dcl", "");
    std::filesystem::resize_file(scratch.path() / "huge.dcl", kMaxDclFileBytes + 1);
    std::variant<DclDocument, DclError> loaded = loadDclFile(L"huge.dcl");
    ASSERT_TRUE(std::holds_alternative<DclError>(loaded));
    EXPECT_NE(std::get<DclError>(loaded).message.find(L"too large"), std::wstring::npos);
}

TEST(DclLoader, AFolderWithTheNameIsNoFile) {
    ScratchFolder scratch;
    std::filesystem::create_directories(scratch.path() / "folder.dcl");
    EXPECT_TRUE(std::holds_alternative<DclError>(loadDclFile(L"folder.dcl")));
}

}  // namespace
}  // namespace tz::cad::dcl
