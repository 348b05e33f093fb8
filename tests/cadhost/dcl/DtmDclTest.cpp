// The suite's dialog file: every dialog the terrain commands open, with every
// tile they address, of the type they address it as.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "DclTestSupport.h"
#include "dcl/Dialog.h"

namespace tz::cad::dcl {
namespace {

using testing::narrow;

const DclDocument& dtmDcl() {
    static const DclDocument document = [] {
        std::variant<DclDocument, DclError> loaded = loadDclFile(tz::platform::fromUtf8(TZ_SUITE_SOURCE_DIR "/dtm.dcl"));
        if (std::holds_alternative<DclError>(loaded)) {
            ADD_FAILURE() << narrow(std::get<DclError>(loaded).describe());
            return DclDocument{};
        }
        return std::get<DclDocument>(std::move(loaded));
    }();
    return document;
}

using KeyTypes = std::map<std::wstring, TileKind>;

const std::map<std::wstring, KeyTypes>& expectedDialogs() {
    static const std::map<std::wstring, KeyTypes> dialogs = {
        {L"dtmopen", {{L"point_file", TileKind::EditBox}, {L"pfbrowse", TileKind::Button}}},
        {L"triangulate",
         {{L"point_file", TileKind::EditBox}, {L"uelev", TileKind::Toggle}, {L"mine", TileKind::EditBox},
          {L"maxe", TileKind::EditBox}, {L"ufaults", TileKind::Toggle}, {L"dim2", TileKind::RadioButton},
          {L"dim3", TileKind::RadioButton}, {L"fault_file", TileKind::EditBox}, {L"ffbrowse", TileKind::Button},
          {L"ubound", TileKind::Toggle}, {L"bound_file", TileKind::EditBox}, {L"bfbrowse", TileKind::Button}}},
        {L"contours",
         {{L"start", TileKind::EditBox}, {L"end", TileKind::EditBox}, {L"interval", TileKind::EditBox},
          {L"iinterval", TileKind::EditBox}, {L"dcw", TileKind::EditBox}, {L"diw", TileKind::EditBox},
          {L"layer", TileKind::EditBox}, {L"ilayer", TileKind::EditBox}, {L"NoRounding", TileKind::RadioButton},
          {L"SomeRounding", TileKind::RadioButton}}},
        {L"mesh",
         {{L"dxi", TileKind::EditBox}, {L"dzi", TileKind::EditBox}, {L"dbe", TileKind::EditBox},
          {L"dsk", TileKind::Toggle}, {L"dmln", TileKind::EditBox}}},
        {L"showtin", {{L"tinlayer", TileKind::EditBox}}},
        {L"volumes",
         {{L"exist_tin", TileKind::EditBox}, {L"proposed_tin", TileKind::EditBox}, {L"esbrowse", TileKind::Button},
          {L"psbrowse", TileKind::Button}, {L"v_u_feet", TileKind::Toggle}, {L"vol_intrvl", TileKind::EditBox},
          {L"compkt", TileKind::EditBox}}},
    };
    return dialogs;
}

TEST(DtmDcl, HoldsTheSixDialogsOfTheTerrainCommands) {
    std::vector<std::wstring> names = dtmDcl().dialogNames;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"contours", L"dtmopen", L"mesh", L"showtin", L"triangulate", L"volumes"}));
}

TEST(DtmDcl, EveryDialogHasItsKeysTheMessageLineAndTheRetirementButtons) {
    for (const auto& [name, keys] : expectedDialogs()) {
        SCOPED_TRACE(narrow(name));
        const Tile* tree = dtmDcl().dialog(name);
        ASSERT_NE(tree, nullptr);
        EXPECT_FALSE(tree->text(L"label").empty());
        Dialog dialog(name, *tree, nullptr);
        KeyTypes required = keys;
        required[L"error"] = TileKind::Text;
        required[L"accept"] = TileKind::Button;
        required[L"cancel"] = TileKind::Button;
        for (const auto& [key, kind] : required) {
            const TileState* tile = dialog.find(key);
            ASSERT_NE(tile, nullptr) << narrow(key);
            EXPECT_EQ(tile->kind, kind) << narrow(key);
        }
        EXPECT_EQ(dialog.find(L"error")->value, L"");
        EXPECT_EQ(dialog.defaultTile(), dialog.find(L"accept"));
        EXPECT_EQ(dialog.cancelTile(), dialog.find(L"cancel"));
        // No key twice: the commands address the first tile of a key only.
        std::set<std::wstring> seen;
        for (const TileState& tile : dialog.tiles()) {
            if (!tile.key.empty()) {
                EXPECT_TRUE(seen.insert(tile.key).second) << "twice: " << narrow(tile.key);
            }
        }
        // Every tile a surveyor works with says what it is.
        for (const TileState& tile : dialog.tiles()) {
            if (tile.kind == TileKind::EditBox || tile.kind == TileKind::Toggle || tile.kind == TileKind::RadioButton ||
                tile.kind == TileKind::Button) {
                EXPECT_FALSE(tile.definition->text(L"label").empty()) << narrow(tile.key);
            }
        }
    }
}

TEST(DtmDcl, EditBoxesTakeWhatTheCommandsRead) {
    const std::set<std::wstring> fileKeys = {L"point_file", L"fault_file", L"bound_file", L"exist_tin", L"proposed_tin"};
    const std::set<std::wstring> layerKeys = {L"layer", L"ilayer", L"dmln", L"tinlayer"};
    for (const std::wstring& name : dtmDcl().dialogNames) {
        Dialog dialog(name, *dtmDcl().dialog(name), nullptr);
        for (const TileState& tile : dialog.tiles()) {
            if (tile.kind != TileKind::EditBox) continue;
            SCOPED_TRACE(narrow(name + L"." + tile.key));
            if (fileKeys.count(tile.key)) {
                EXPECT_EQ(tile.editLimit, 511u);  // a path of up to 511 characters
            } else if (layerKeys.count(tile.key)) {
                EXPECT_EQ(tile.editLimit, 30u);  // what the layer name check reads
            } else {
                EXPECT_EQ(tile.editLimit, 14u);  // what the number checks read
            }
        }
    }
}

TEST(DtmDcl, OpensInTheStatesTheCommandsExpect) {
    Dialog triangulate(L"triangulate", *dtmDcl().dialog(L"triangulate"), nullptr);
    // The point file is chosen with dtmopen; triangulate only shows it.
    EXPECT_FALSE(triangulate.isEnabled(*triangulate.find(L"point_file")));
    EXPECT_EQ(triangulate.find(L"dim3")->value, L"1");
    EXPECT_EQ(triangulate.find(L"dim2")->value, L"0");

    Dialog contours(L"contours", *dtmDcl().dialog(L"contours"), nullptr);
    EXPECT_EQ(contours.find(L"NoRounding")->value, L"1");
    EXPECT_EQ(contours.find(L"SomeRounding")->value, L"0");
    // The two rounding choices exclude each other.
    contours.setValue(*contours.find(L"SomeRounding"), L"1");
    EXPECT_EQ(contours.find(L"NoRounding")->value, L"0");
    contours.setValue(*contours.find(L"NoRounding"), L"1");
    EXPECT_EQ(contours.find(L"SomeRounding")->value, L"0");
}

}  // namespace
}  // namespace tz::cad::dcl
