#include "dcl/TileResolver.h"

#include <gtest/gtest.h>

#include "DclTestSupport.h"
#include "dcl/BaseDefinitions.h"
#include "dcl/DclParser.h"

namespace tz::cad::dcl {
namespace {

using testing::errorOf;
using testing::loadOrFail;
using testing::narrow;

// Every tile of the tree with a key, depth first.
void collectKeyed(const Tile& tile, std::vector<const Tile*>& out) {
    if (tile.has(L"key")) out.push_back(&tile);
    for (const Tile& child : tile.children) collectKeyed(child, out);
}

const Tile* findKey(const Tile& tree, const std::wstring& key) {
    std::vector<const Tile*> keyed;
    collectKeyed(tree, keyed);
    for (const Tile* tile : keyed) {
        if (tile->text(L"key") == key) return tile;
    }
    return nullptr;
}

TEST(TileResolver, TheBaseDefinitionsParseAndResolve) {
    std::variant<DclSyntax, DclError> parsed = parseDcl(baseDefinitionsText());
    ASSERT_TRUE(std::holds_alternative<DclSyntax>(parsed));
    DefinitionScope scope;
    for (const TileSpec& definition : baseDefinitions().definitions) scope.add(definition, kBaseDefinitionsName);
    for (const TileSpec& definition : baseDefinitions().definitions) {
        std::variant<Tile, DclError> resolved = resolveDefinition(scope, definition, kBaseDefinitionsName);
        EXPECT_TRUE(std::holds_alternative<Tile>(resolved)) << narrow(definition.name);
    }
}

TEST(TileResolver, BaseClustersGiveTheRetirementButtonsAndTheErrorTile) {
    const DclDocument document = loadOrFail(LR"(
one : dialog { ok_cancel; errtile; }
two : dialog { ok_only; }
three : dialog { ok_cancel_help_errtile; spacer_0; spacer_1; : spacer {} }
four : dialog { ok_cancel_err; ok_cancel_help_info; }
)");
    const Tile* one = document.dialog(L"one");
    ASSERT_NE(one, nullptr);
    const Tile* accept = findKey(*one, L"accept");
    const Tile* cancel = findKey(*one, L"cancel");
    const Tile* error = findKey(*one, L"error");
    ASSERT_TRUE(accept && cancel && error);
    EXPECT_EQ(accept->type, L"button");
    EXPECT_EQ(accept->text(L"label"), L"OK");
    EXPECT_TRUE(accept->isTrue(L"is_default"));
    EXPECT_EQ(cancel->text(L"label"), L"Cancel");
    EXPECT_TRUE(cancel->isTrue(L"is_cancel"));
    EXPECT_EQ(error->type, L"text");
    EXPECT_EQ(error->text(L"label", L"missing"), L"");

    const Tile* okOnly = findKey(*document.dialog(L"two"), L"accept");
    ASSERT_NE(okOnly, nullptr);
    EXPECT_TRUE(okOnly->isTrue(L"is_cancel"));
    EXPECT_EQ(findKey(*document.dialog(L"two"), L"cancel"), nullptr);

    const Tile& three = *document.dialog(L"three");
    EXPECT_NE(findKey(three, L"help"), nullptr);
    EXPECT_NE(findKey(three, L"error"), nullptr);
    ASSERT_EQ(three.children.size(), 4u);
    EXPECT_EQ(three.children[1].type, L"spacer");
    EXPECT_EQ(three.children[2].text(L"width"), L"1");
    EXPECT_NE(findKey(*document.dialog(L"four"), L"info"), nullptr);
}

TEST(TileResolver, ATileTakesItsPrototypesAttributesAndOverridesThem) {
    const DclDocument document = loadOrFail(LR"(
base_box : edit_box { edit_width = 10; label = "Base:"; edit_limit = 20; }
named_box : base_box { key = "named"; label = "Named:"; }
d : dialog {
    label = "D";
    : named_box { edit_width = 30; }
    : base_box { key = "second"; }
    named_box;
}
)");
    const Tile& dialog = *document.dialog(L"d");
    ASSERT_EQ(dialog.children.size(), 3u);
    const Tile& first = dialog.children[0];
    EXPECT_EQ(first.type, L"edit_box");
    EXPECT_EQ(first.kind, TileKind::EditBox);
    EXPECT_EQ(first.text(L"key"), L"named");
    EXPECT_EQ(first.text(L"label"), L"Named:");
    EXPECT_EQ(first.text(L"edit_width"), L"30");
    EXPECT_EQ(first.text(L"edit_limit"), L"20");
    EXPECT_EQ(first.line, 6);
    EXPECT_EQ(dialog.children[1].text(L"label"), L"Base:");
    EXPECT_EQ(dialog.children[1].text(L"key"), L"second");
    EXPECT_EQ(dialog.children[2].text(L"edit_width"), L"10");
}

TEST(TileResolver, ChildrenOfAClusterPrototypeComeBeforeTheTilesOwnAndLaterDefinitionsServe) {
    const DclDocument document = loadOrFail(LR"(
d : dialog { : pair { : button { key = "third"; } } }
pair : row { : button { key = "first"; } : button { key = "second"; } }
)");
    const Tile& row = document.dialog(L"d")->children.at(0);
    ASSERT_EQ(row.children.size(), 3u);
    EXPECT_EQ(row.children[0].text(L"key"), L"first");
    EXPECT_EQ(row.children[1].text(L"key"), L"second");
    EXPECT_EQ(row.children[2].text(L"key"), L"third");
}

TEST(TileResolver, AFileMayRedefineABaseDefinition) {
    const DclDocument document = loadOrFail(LR"(
ok_cancel : row { : button { key = "accept"; label = "Go"; } }
d : dialog { ok_cancel; }
)");
    const Tile* accept = findKey(*document.dialog(L"d"), L"accept");
    ASSERT_NE(accept, nullptr);
    EXPECT_EQ(accept->text(L"label"), L"Go");
    EXPECT_EQ(findKey(*document.dialog(L"d"), L"cancel"), nullptr);
}

TEST(TileResolver, ReportsUnknownTypesWithTheirLine) {
    const DclError error = errorOf(L"d : dialog {\n  : buton { key = \"b\"; }\n}");
    EXPECT_EQ(error.file, L"test.dcl");
    EXPECT_EQ(error.line, 2);
    EXPECT_EQ(error.message, L"no tile type or definition is named \"buton\"");
    EXPECT_EQ(errorOf(L"d : dialog {\n\n  missing_cluster;\n}").line, 3);
}

TEST(TileResolver, ReportsPrototypeCyclesInsteadOfLooping) {
    DclError error = errorOf(L"a : b { }\nb : a { }\nd : dialog { a; }");
    EXPECT_NE(error.message.find(L"is built on itself"), std::wstring::npos) << narrow(error.message);
    EXPECT_NE(error.message.find(L"a -> b -> a"), std::wstring::npos) << narrow(error.message);

    error = errorOf(L"d : dialog {\n  : column { d; }\n}");
    EXPECT_NE(error.message.find(L"built on itself"), std::wstring::npos);

    error = errorOf(L"c : column { : row { c; } }\nd : dialog { c; }");
    EXPECT_NE(error.message.find(L"c -> c"), std::wstring::npos) << narrow(error.message);
}

TEST(TileResolver, RefusesChildrenInTilesThatHoldNone) {
    const DclError error = errorOf(L"d : dialog {\n  : button {\n    : text { }\n  }\n}");
    EXPECT_EQ(error.line, 2);
    EXPECT_EQ(error.message, L"a tile of type \"button\" cannot hold other tiles");
    EXPECT_NE(errorOf(L"d : dialog { : ok_button { : spacer {} } }").message.find(L"cannot hold"), std::wstring::npos);
}

TEST(TileResolver, RefusesDialogsAndSettingsInsideTiles) {
    EXPECT_EQ(errorOf(L"inner : dialog { }\nd : dialog {\n  inner;\n}").message,
              L"a dialog cannot be placed inside another tile");
    EXPECT_EQ(errorOf(L"d : dialog {\n  : dialog { }\n}").line, 2);
    EXPECT_NE(errorOf(L"d : dialog { : default_dcl_settings { } }").message.find(L"cannot be placed"), std::wstring::npos);
}

TEST(TileResolver, ChecksTheFormOfAttributeValues) {
    const struct {
        const wchar_t* attribute;
        const wchar_t* messagePart;
    } cases[] = {
        {L"key = accept;", L"\"key\" takes a quoted string, not accept"},
        {L"label = 12;", L"\"label\" takes a quoted string"},
        {L"is_enabled = \"false\";", L"\"is_enabled\" takes true or false"},
        {L"is_default = yes;", L"takes true or false, not yes"},
        {L"width = wide;", L"\"width\" takes a number"},
        {L"edit_limit = -1;", L"\"edit_limit\" takes a whole number of characters, not -1"},
        {L"edit_limit = 2.5;", L"whole number"},
        {L"edit_limit = 99999999999;", L"whole number"},
    };
    for (const auto& bad : cases) {
        const DclError error = errorOf(std::wstring(L"d : dialog {\n  : edit_box { ") + bad.attribute + L" }\n}");
        EXPECT_EQ(error.line, 2) << narrow(bad.attribute);
        EXPECT_NE(error.message.find(bad.messagePart), std::wstring::npos) << narrow(error.message);
    }
    // Attributes the host does not know are kept as written.
    const DclDocument document = loadOrFail(L"d : dialog { : text { my_note = \"kept\"; alignment = centered; } }");
    EXPECT_EQ(document.dialog(L"d")->children.at(0).text(L"my_note"), L"kept");
    EXPECT_EQ(document.dialog(L"d")->children.at(0).text(L"alignment"), L"centered");
}

TEST(TileResolver, RefusesDefinitionsThatMultiplyPastTheTileLimit) {
    // Each level holds ten of the one before: 10^8 tiles once expanded.
    std::wstring text = L"l0 : text { }\n";
    for (int level = 1; level <= 8; ++level) {
        text += L"l" + std::to_wstring(level) + L" : column {";
        for (int i = 0; i < 10; ++i) text += L" l" + std::to_wstring(level - 1) + L";";
        text += L" }\n";
    }
    text += L"d : dialog { l8; }\n";
    const DclError error = errorOf(text);
    EXPECT_NE(error.message.find(L"once prototypes are expanded"), std::wstring::npos) << narrow(error.message);
}

}  // namespace
}  // namespace tz::cad::dcl
