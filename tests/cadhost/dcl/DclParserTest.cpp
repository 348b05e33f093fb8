#include "dcl/DclParser.h"

#include <gtest/gtest.h>

namespace tz::cad::dcl {
namespace {

DclSyntax parsed(const std::wstring& text) {
    std::variant<DclSyntax, DclError> result = parseDcl(text);
    if (std::holds_alternative<DclError>(result)) {
        ADD_FAILURE() << "parse failed on line " << std::get<DclError>(result).line;
        return {};
    }
    return std::get<DclSyntax>(std::move(result));
}

DclError parseError(const std::wstring& text) {
    std::variant<DclSyntax, DclError> result = parseDcl(text);
    if (!std::holds_alternative<DclError>(result)) {
        ADD_FAILURE() << "the text parsed although it should not";
        return {};
    }
    return std::get<DclError>(result);
}

TEST(DclParser, ReadsDefinitionsWithAttributesAndEveryFormOfChild) {
    const DclSyntax syntax = parsed(LR"(
// comment before
my_box : edit_box { edit_width = 10; }
sample : dialog {
    label = "Sample";
    : row {
        : my_box { key = "a"; is_enabled = false; }
        spacer_1;
        : spacer;
    }
    ok_cancel;
};
)");
    ASSERT_EQ(syntax.definitions.size(), 2u);
    const TileSpec& box = syntax.definitions[0];
    EXPECT_EQ(box.name, L"my_box");
    EXPECT_EQ(box.prototype, L"edit_box");
    EXPECT_EQ(box.line, 3);
    ASSERT_EQ(box.attributes.size(), 1u);
    EXPECT_EQ(box.attributes[0].name, L"edit_width");
    EXPECT_EQ(box.attributes[0].value.kind, AttributeValue::Kind::Number);

    const TileSpec& dialog = syntax.definitions[1];
    EXPECT_EQ(dialog.name, L"sample");
    ASSERT_EQ(dialog.attributes.size(), 1u);
    EXPECT_EQ(dialog.attributes[0].value.kind, AttributeValue::Kind::String);
    EXPECT_EQ(dialog.attributes[0].value.text, L"Sample");
    ASSERT_EQ(dialog.children.size(), 2u);
    const TileSpec& row = dialog.children[0];
    EXPECT_FALSE(row.isReference);
    EXPECT_TRUE(row.name.empty());
    EXPECT_EQ(row.prototype, L"row");
    EXPECT_EQ(row.line, 6);
    ASSERT_EQ(row.children.size(), 3u);
    EXPECT_EQ(row.children[0].prototype, L"my_box");
    ASSERT_EQ(row.children[0].attributes.size(), 2u);
    EXPECT_EQ(row.children[0].attributes[1].value.kind, AttributeValue::Kind::Word);
    EXPECT_EQ(row.children[0].attributes[1].value.text, L"false");
    EXPECT_TRUE(row.children[1].isReference);
    EXPECT_EQ(row.children[1].name, L"spacer_1");
    EXPECT_FALSE(row.children[2].isReference);
    EXPECT_EQ(row.children[2].prototype, L"spacer");
    EXPECT_TRUE(dialog.children[1].isReference);
    EXPECT_EQ(dialog.children[1].name, L"ok_cancel");
    EXPECT_EQ(dialog.children[1].line, 11);
}

TEST(DclParser, RecordsIncludesInOrder) {
    const DclSyntax syntax = parsed(L"@include \"one.dcl\"\na : dialog { }\n@include \"two.dcl\"\n");
    ASSERT_EQ(syntax.includes.size(), 2u);
    EXPECT_EQ(syntax.includes[0].first, L"one.dcl");
    EXPECT_EQ(syntax.includes[0].second, 1);
    EXPECT_EQ(syntax.includes[1].first, L"two.dcl");
    EXPECT_EQ(syntax.includes[1].second, 3);
    EXPECT_EQ(syntax.definitions.size(), 1u);
}

TEST(DclParser, AcceptsAnEmptyFileAndEmptyBodies) {
    EXPECT_TRUE(parsed(L"").definitions.empty());
    EXPECT_TRUE(parsed(L"  // only a comment\n").definitions.empty());
    EXPECT_TRUE(parsed(L"a : dialog {}").definitions[0].children.empty());
}

struct BadText {
    const wchar_t* text;
    int line;
    const wchar_t* messagePart;
};

TEST(DclParser, ReportsTheLineAndWhatWentWrong) {
    const BadText cases[] = {
        {L"a : dialog {\n  label = \"x\"\n  key = \"y\";\n}", 3, L"expected \";\" after the value of attribute \"label\""},
        {L"a : dialog {\n  : row {\n    : button { }\n", 4, L"closed the tile opened on line 2"},
        {L"a dialog { }", 1, L"expected \":\" after the definition name \"a\""},
        {L"a : { }", 1, L"expected a tile type"},
        {L"a : dialog  label = \"x\"; }", 1, L"expected \"{\" to open the definition of \"a\""},
        {L"a : dialog {\n\n  label = ;\n}", 3, L"expected a value for attribute \"label\", found \";\""},
        {L"a : dialog {\n  b : button { }\n}", 2, L"cannot be named"},
        {L"a : dialog {\n  label \"x\";\n}", 2, L"expected \"=\" or \";\" after \"label\""},
        {L"a : dialog { }\n\"stray\"", 2, L"expected the name of a new definition"},
        {L"a : dialog { : button }", 1, L"\"{\" or \";\" after \": button\""},
        {L"a : dialog { = }", 1, L"expected an attribute, a tile or \"}\""},
        {L"@include dtm", 1, L"a quoted file name after @include"},
        {L"@include x.dcl", 1, L"unexpected character \".\""},
        {L"a : dialog { label = \"x\n\"; }", 1, L"string is not closed"},
    };
    for (const BadText& bad : cases) {
        const DclError error = parseError(bad.text);
        EXPECT_EQ(error.line, bad.line) << std::string(error.message.begin(), error.message.end());
        EXPECT_NE(error.message.find(bad.messagePart), std::wstring::npos)
            << "message: " << std::string(error.message.begin(), error.message.end());
    }
}

TEST(DclParser, RefusesNestingDeeperThanItsLimitWithoutExhaustingTheStack) {
    std::wstring deep = L"a : dialog {";
    for (int i = 0; i < 100000; ++i) deep += L" : column {";
    const DclError error = parseError(deep);
    EXPECT_NE(error.message.find(L"nested too deeply"), std::wstring::npos);

    std::wstring allowed = L"a : dialog {";
    for (int i = 1; i < kMaxNestingDepth; ++i) allowed += L" : column {";
    for (int i = 1; i < kMaxNestingDepth; ++i) allowed += L" }";
    allowed += L" }";
    EXPECT_EQ(parsed(allowed).definitions.size(), 1u);
}

}  // namespace
}  // namespace tz::cad::dcl
