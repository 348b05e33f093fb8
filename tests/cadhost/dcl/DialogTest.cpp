#include "dcl/Dialog.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "DclTestSupport.h"

namespace tz::cad::dcl {
namespace {

using testing::loadOrFail;

// What one callback saw.
struct Call {
    std::wstring tileKey;
    std::wstring value;
    int reason;
    void* clientData;
    ads_hdlg dialog;
};
std::vector<Call> calls;

std::wstring keyOfPacketTile(ads_callback_packet* packet) {
    return static_cast<TileState*>(packet->tile)->key;
}

void record(ads_callback_packet* packet) {
    calls.push_back({keyOfPacketTile(packet), packet->value, packet->reason, packet->client_data, packet->dialog});
}

// Records, then changes its own tile: the packet's value must stay as it was.
void recordThenOverwrite(ads_callback_packet* packet) {
    Dialog* dialog = static_cast<Dialog*>(packet->dialog);
    dialog->setValue(*dialog->find(keyOfPacketTile(packet)), L"overwritten by the action");
    record(packet);
}

void closeWithSeven(ads_callback_packet* packet) {
    record(packet);
    static_cast<Dialog*>(packet->dialog)->close(7);
}

void throwing(ads_callback_packet*) { throw std::runtime_error("broken action"); }

const wchar_t* const kSample = LR"(
sample : dialog {
    label = "Sample Dialog";
    : edit_box { key = "name"; value = "start"; edit_limit = 5; }
    : edit_box { key = "free"; edit_limit = 0; }
    : edit_box { key = "plain"; }
    : toggle { key = "flag"; value = "yes"; }
    : toggle { key = "on"; value = "1"; }
    : radio_row {
        key = "choice";
        : radio_button { key = "left"; value = "1"; }
        : radio_button { key = "middle"; value = "1"; }
        : radio_button { key = "right"; }
    }
    : radio_column {
        key = "named";
        value = "b";
        : radio_button { key = "a"; value = "1"; }
        : radio_button { key = "b"; }
    }
    : boxed_row {
        key = "group";
        : edit_box { key = "inner"; }
        : button { key = "go"; label = "Go"; }
    }
    : text { key = "note"; label = "Hello"; }
    : edit_box { key = "locked"; is_enabled = false; }
    : popup_list { key = "pick"; value = "0"; }
    : image { key = "picture"; }
    errtile;
    ok_cancel;
}
)";

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        document_ = loadOrFail(kSample);
        ASSERT_NE(document_.dialog(L"sample"), nullptr);
    }
    std::unique_ptr<Dialog> make(CLIENTFUNC defaultCallback = nullptr) {
        return std::make_unique<Dialog>(L"sample", *document_.dialog(L"sample"), defaultCallback);
    }
    std::wstring value(Dialog& dialog, const std::wstring& key) { return dialog.find(key)->value; }

    DclDocument document_;
};

TEST_F(DialogTest, TilesOpenWithTheValuesTheFileGives) {
    auto dialog = make();
    EXPECT_EQ(dialog->name(), L"sample");
    EXPECT_EQ(dialog->title(), L"Sample Dialog");
    EXPECT_EQ(value(*dialog, L"name"), L"start");
    EXPECT_EQ(value(*dialog, L"plain"), L"");
    EXPECT_EQ(value(*dialog, L"flag"), L"0");  // a toggle is on only for "1"
    EXPECT_EQ(value(*dialog, L"on"), L"1");
    // Only one radio button of a cluster is chosen: the first marked one.
    EXPECT_EQ(value(*dialog, L"choice"), L"left");
    EXPECT_EQ(value(*dialog, L"left"), L"1");
    EXPECT_EQ(value(*dialog, L"middle"), L"0");
    // The cluster's own value names the chosen button before any button's value.
    EXPECT_EQ(value(*dialog, L"named"), L"b");
    EXPECT_EQ(value(*dialog, L"a"), L"0");
    EXPECT_EQ(value(*dialog, L"b"), L"1");
    EXPECT_EQ(value(*dialog, L"note"), L"Hello");
    EXPECT_EQ(value(*dialog, L"go"), L"Go");
    EXPECT_EQ(value(*dialog, L"accept"), L"OK");
    EXPECT_EQ(value(*dialog, L"error"), L"");
    EXPECT_EQ(dialog->find(L"name")->editLimit, 5u);
    EXPECT_EQ(dialog->find(L"plain")->editLimit, 132u);
    EXPECT_FALSE(dialog->isEnabled(*dialog->find(L"locked")));
    EXPECT_TRUE(dialog->isEnabled(*dialog->find(L"name")));
    EXPECT_EQ(dialog->find(L"missing"), nullptr);
    EXPECT_EQ(dialog->find(L""), nullptr);
    EXPECT_FALSE(dialog->closed());
}

TEST_F(DialogTest, SettingValuesKeepsTogglesAndRadioClustersConsistent) {
    auto dialog = make();
    EXPECT_TRUE(dialog->setValue(*dialog->find(L"flag"), L"1"));
    EXPECT_EQ(value(*dialog, L"flag"), L"1");
    EXPECT_TRUE(dialog->setValue(*dialog->find(L"flag"), L"true"));
    EXPECT_EQ(value(*dialog, L"flag"), L"0");

    EXPECT_TRUE(dialog->setValue(*dialog->find(L"right"), L"1"));
    EXPECT_EQ(value(*dialog, L"left"), L"0");
    EXPECT_EQ(value(*dialog, L"right"), L"1");
    EXPECT_EQ(value(*dialog, L"choice"), L"right");
    EXPECT_EQ(value(*dialog, L"named"), L"b");  // another cluster is left alone

    EXPECT_TRUE(dialog->setValue(*dialog->find(L"left"), L"0"));  // not the chosen one: nothing changes
    EXPECT_EQ(value(*dialog, L"choice"), L"right");
    EXPECT_TRUE(dialog->setValue(*dialog->find(L"right"), L"0"));
    EXPECT_EQ(value(*dialog, L"choice"), L"");
    EXPECT_EQ(value(*dialog, L"right"), L"0");

    EXPECT_TRUE(dialog->setValue(*dialog->find(L"choice"), L"middle"));
    EXPECT_EQ(value(*dialog, L"middle"), L"1");
    EXPECT_FALSE(dialog->setValue(*dialog->find(L"choice"), L"a"));  // a button of another cluster
    EXPECT_EQ(value(*dialog, L"choice"), L"middle");
    EXPECT_TRUE(dialog->setValue(*dialog->find(L"choice"), L""));
    EXPECT_EQ(value(*dialog, L"middle"), L"0");

    // Edit boxes and texts take any value from the program, edit_limit or not.
    EXPECT_TRUE(dialog->setValue(*dialog->find(L"name"), L"much longer than five"));
    EXPECT_EQ(value(*dialog, L"name"), L"much longer than five");
    EXPECT_TRUE(dialog->setValue(*dialog->find(L"error"), L"Value must be numeric."));
    EXPECT_EQ(value(*dialog, L"error"), L"Value must be numeric.");
    EXPECT_TRUE(calls.empty());  // the program's changes run no actions
}

TEST_F(DialogTest, ModesEnableDisableAndFlipAndADisabledClusterDisablesItsTiles) {
    auto dialog = make();
    TileState& name = *dialog->find(L"name");
    EXPECT_TRUE(dialog->setMode(name, MODE_DISABLE));
    EXPECT_FALSE(dialog->isEnabled(name));
    EXPECT_TRUE(dialog->setMode(name, MODE_FLIP));
    EXPECT_TRUE(dialog->isEnabled(name));
    EXPECT_TRUE(dialog->setMode(name, MODE_FLIP));
    EXPECT_FALSE(dialog->isEnabled(name));
    EXPECT_TRUE(dialog->setMode(name, MODE_ENABLE));
    EXPECT_TRUE(dialog->isEnabled(name));
    EXPECT_TRUE(dialog->setMode(name, MODE_SETFOCUS));
    EXPECT_TRUE(dialog->setMode(name, MODE_SETSEL));
    EXPECT_TRUE(dialog->isEnabled(name));
    EXPECT_FALSE(dialog->setMode(name, 5));
    EXPECT_FALSE(dialog->setMode(name, -1));

    EXPECT_TRUE(dialog->setMode(*dialog->find(L"group"), MODE_DISABLE));
    EXPECT_FALSE(dialog->isEnabled(*dialog->find(L"inner")));
    EXPECT_FALSE(dialog->isEnabled(*dialog->find(L"go")));
    EXPECT_EQ(dialog->press(*dialog->find(L"go")), InputOutcome::Disabled);
    EXPECT_EQ(dialog->type(*dialog->find(L"inner"), L"x"), InputOutcome::Disabled);
    EXPECT_EQ(value(*dialog, L"inner"), L"");
    dialog->setMode(*dialog->find(L"group"), MODE_ENABLE);
    EXPECT_TRUE(dialog->isEnabled(*dialog->find(L"go")));
}

TEST_F(DialogTest, TypingRunsTheActionWithTheReasonOfTheTile) {
    auto dialog = make();
    int data = 0;
    dialog->find(L"name")->action = record;
    dialog->find(L"name")->clientData = &data;
    dialog->find(L"flag")->action = record;
    dialog->find(L"pick")->action = record;

    EXPECT_EQ(dialog->type(*dialog->find(L"name"), L"abc"), InputOutcome::Done);
    EXPECT_EQ(dialog->type(*dialog->find(L"flag"), L"1"), InputOutcome::Done);
    EXPECT_EQ(dialog->type(*dialog->find(L"pick"), L"2"), InputOutcome::Done);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].tileKey, L"name");
    EXPECT_EQ(calls[0].value, L"abc");
    EXPECT_EQ(calls[0].reason, CBR_LOST_FOCUS);
    EXPECT_EQ(calls[0].clientData, &data);
    EXPECT_EQ(calls[0].dialog, dialog->handle());
    EXPECT_EQ(calls[1].reason, CBR_SELECT);
    EXPECT_EQ(calls[1].value, L"1");
    EXPECT_EQ(calls[2].reason, CBR_SELECT);
    EXPECT_EQ(value(*dialog, L"pick"), L"2");

    // Leaving an edit box runs its action even when the text did not change.
    EXPECT_EQ(dialog->type(*dialog->find(L"name"), L"abc"), InputOutcome::Done);
    EXPECT_EQ(calls.size(), 4u);
}

TEST_F(DialogTest, TypingPastTheEditLimitCutsTheText) {
    auto dialog = make();
    dialog->find(L"name")->action = record;
    EXPECT_EQ(dialog->type(*dialog->find(L"name"), L"123456789"), InputOutcome::Cut);
    EXPECT_EQ(value(*dialog, L"name"), L"12345");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].value, L"12345");
    EXPECT_EQ(dialog->type(*dialog->find(L"name"), L"12345"), InputOutcome::Done);
    const std::wstring longText(5000, L'x');
    EXPECT_EQ(dialog->type(*dialog->find(L"free"), longText), InputOutcome::Done);  // edit_limit 0: no limit
    EXPECT_EQ(value(*dialog, L"free"), longText);
}

TEST_F(DialogTest, UserInputATileCannotTakeChangesNothing) {
    auto dialog = make();
    for (const wchar_t* key : {L"flag", L"left", L"choice", L"go", L"note", L"locked", L"picture"}) {
        dialog->find(key)->action = record;
    }
    EXPECT_EQ(dialog->type(*dialog->find(L"flag"), L"yes"), InputOutcome::BadToggleValue);
    EXPECT_EQ(dialog->type(*dialog->find(L"flag"), L""), InputOutcome::BadToggleValue);
    EXPECT_EQ(dialog->type(*dialog->find(L"left"), L"0"), InputOutcome::BadRadioValue);
    EXPECT_EQ(dialog->type(*dialog->find(L"choice"), L"a"), InputOutcome::NoSuchRadioButton);
    EXPECT_EQ(dialog->type(*dialog->find(L"choice"), L""), InputOutcome::NoSuchRadioButton);
    EXPECT_EQ(dialog->type(*dialog->find(L"go"), L"x"), InputOutcome::NotTypable);
    EXPECT_EQ(dialog->type(*dialog->find(L"note"), L"x"), InputOutcome::NotTypable);
    EXPECT_EQ(dialog->type(*dialog->find(L"picture"), L"x"), InputOutcome::NotTypable);
    EXPECT_EQ(dialog->type(*dialog->find(L"locked"), L"x"), InputOutcome::Disabled);
    EXPECT_EQ(dialog->press(*dialog->find(L"note")), InputOutcome::NotPressable);
    EXPECT_EQ(dialog->press(*dialog->find(L"locked")), InputOutcome::Disabled);
    EXPECT_EQ(dialog->press(*dialog->find(L"name")), InputOutcome::NotPressable);
    EXPECT_EQ(dialog->press(*dialog->find(L"choice")), InputOutcome::NotPressable);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(value(*dialog, L"flag"), L"0");
    EXPECT_EQ(value(*dialog, L"choice"), L"left");
    EXPECT_EQ(value(*dialog, L"note"), L"Hello");
    EXPECT_EQ(value(*dialog, L"locked"), L"");
}

TEST_F(DialogTest, ClicksFlipTogglesAndChooseRadioButtons) {
    auto dialog = make();
    dialog->find(L"flag")->action = record;
    dialog->find(L"right")->action = record;
    EXPECT_EQ(dialog->press(*dialog->find(L"flag")), InputOutcome::Done);
    EXPECT_EQ(value(*dialog, L"flag"), L"1");
    EXPECT_EQ(dialog->press(*dialog->find(L"flag")), InputOutcome::Done);
    EXPECT_EQ(value(*dialog, L"flag"), L"0");
    EXPECT_EQ(dialog->press(*dialog->find(L"right")), InputOutcome::Done);
    EXPECT_EQ(value(*dialog, L"choice"), L"right");
    EXPECT_EQ(value(*dialog, L"left"), L"0");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2].tileKey, L"right");
    EXPECT_EQ(calls[2].value, L"1");
    EXPECT_EQ(calls[2].reason, CBR_SELECT);
}

TEST_F(DialogTest, ARadioButtonWithoutAnActionRunsItsClustersAction) {
    auto dialog = make();
    dialog->find(L"choice")->action = record;
    dialog->find(L"middle")->action = closeWithSeven;
    EXPECT_EQ(dialog->type(*dialog->find(L"choice"), L"right"), InputOutcome::Done);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].tileKey, L"choice");
    EXPECT_EQ(calls[0].value, L"right");
    EXPECT_EQ(calls[0].reason, CBR_SELECT);
    EXPECT_EQ(dialog->type(*dialog->find(L"middle"), L"1"), InputOutcome::Done);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].tileKey, L"middle");  // its own action comes first
    EXPECT_EQ(dialog->status(), 7);
}

TEST_F(DialogTest, AcceptAndCancelWithoutActionsCloseTheDialog) {
    auto accepted = make();
    EXPECT_EQ(accepted->press(*accepted->find(L"accept")), InputOutcome::Done);
    EXPECT_TRUE(accepted->closed());
    EXPECT_EQ(accepted->status(), DLGOK);

    auto cancelled = make();
    cancelled->press(*cancelled->find(L"cancel"));
    EXPECT_TRUE(cancelled->closed());
    EXPECT_EQ(cancelled->status(), DLGCANCEL);

    auto other = make();
    other->press(*other->find(L"go"));  // a plain button without an action does nothing
    EXPECT_FALSE(other->closed());
    EXPECT_EQ(other->cancelTile(), other->find(L"cancel"));
    EXPECT_EQ(other->defaultTile(), other->find(L"accept"));
}

TEST_F(DialogTest, AnActionOrTheDefaultCallbackReplacesTheBuiltInClose) {
    auto withAction = make();
    withAction->find(L"accept")->action = record;
    withAction->press(*withAction->find(L"accept"));
    EXPECT_FALSE(withAction->closed());
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].tileKey, L"accept");
    EXPECT_EQ(calls[0].value, L"OK");
    EXPECT_EQ(calls[0].reason, CBR_SELECT);

    calls.clear();
    auto withDefault = make(record);
    withDefault->find(L"go")->action = closeWithSeven;
    withDefault->press(*withDefault->find(L"cancel"));
    withDefault->type(*withDefault->find(L"plain"), L"p");
    EXPECT_FALSE(withDefault->closed());
    withDefault->press(*withDefault->find(L"go"));
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].tileKey, L"cancel");
    EXPECT_EQ(calls[1].tileKey, L"plain");
    EXPECT_EQ(calls[1].reason, CBR_LOST_FOCUS);
    EXPECT_EQ(calls[2].tileKey, L"go");
    EXPECT_EQ(withDefault->status(), 7);
}

TEST_F(DialogTest, TheCallbackGetsItsOwnCopyOfTheValue) {
    auto dialog = make();
    dialog->find(L"name")->action = recordThenOverwrite;
    dialog->type(*dialog->find(L"name"), L"typed");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].value, L"typed");
    EXPECT_EQ(value(*dialog, L"name"), L"overwritten by the action");
}

TEST_F(DialogTest, AThrowingActionIsReportedAndTheDialogGoesOn) {
    auto dialog = make();
    std::vector<std::wstring> notes;
    dialog->onNote = [&notes](const std::wstring& note) { notes.push_back(note); };
    dialog->find(L"go")->action = throwing;
    EXPECT_EQ(dialog->press(*dialog->find(L"go")), InputOutcome::Done);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], L"the action of tile \"go\" failed: broken action");
    EXPECT_FALSE(dialog->closed());
}

TEST_F(DialogTest, ChangesAreObservedOnlyWhenAValueReallyChanges) {
    auto dialog = make();
    std::vector<std::pair<std::wstring, std::wstring>> changes;
    dialog->onValueChanged = [&changes](const TileState& tile, const std::wstring& old) {
        changes.emplace_back(tile.key, old + L" -> " + tile.value);
    };
    dialog->setValue(*dialog->find(L"error"), L"");
    dialog->setValue(*dialog->find(L"error"), L"Bad");
    dialog->setValue(*dialog->find(L"error"), L"Bad");
    dialog->setValue(*dialog->find(L"error"), L"");
    dialog->setValue(*dialog->find(L"right"), L"1");
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"error", L" -> Bad"}, {L"error", L"Bad -> "},  {L"left", L"1 -> 0"},
        {L"right", L"0 -> 1"},  {L"choice", L"left -> right"},
    };
    EXPECT_EQ(changes, expected);
}

TEST_F(DialogTest, TileHandlesAreRecognisedOnlyByTheirOwnDialog) {
    auto first = make();
    auto second = make();
    TileState* tile = first->find(L"name");
    EXPECT_EQ(first->tileFor(tile), tile);
    EXPECT_EQ(second->tileFor(tile), nullptr);
    EXPECT_EQ(first->tileFor(first.get()), nullptr);
    EXPECT_EQ(first->tileFor(nullptr), nullptr);
}

TEST(DialogRuntime, EscapeOnAnOkOnlyDialogPressesItsOkButton) {
    const DclDocument document = loadOrFail(L"info : dialog { : text { key = \"t\"; label = \"Done.\"; } ok_only; }");
    Dialog dialog(L"info", *document.dialog(L"info"), nullptr);
    ASSERT_EQ(dialog.cancelTile(), dialog.find(L"accept"));
    dialog.press(*dialog.cancelTile());
    EXPECT_TRUE(dialog.closed());
    EXPECT_EQ(dialog.status(), DLGOK);
}

TEST(DialogRuntime, AnIsCancelTileOfAnyKeyClosesWithZero) {
    const DclDocument document =
        loadOrFail(L"q : dialog { : button { key = \"quit\"; is_cancel = true; } : text { key = \"t\"; } }");
    Dialog dialog(L"q", *document.dialog(L"q"), nullptr);
    EXPECT_EQ(dialog.defaultTile(), nullptr);
    ASSERT_EQ(dialog.cancelTile(), dialog.find(L"quit"));
    dialog.press(*dialog.cancelTile());
    EXPECT_TRUE(dialog.closed());
    EXPECT_EQ(dialog.status(), DLGCANCEL);
}

TEST(DialogRuntime, KeylessRadioButtonsStillExcludeEachOther) {
    const DclDocument document = loadOrFail(
        L"k : dialog { : radio_row { key = \"r\"; : radio_button { value = \"1\"; } : radio_button { key = \"b\"; } } }");
    Dialog dialog(L"k", *document.dialog(L"k"), nullptr);
    EXPECT_EQ(dialog.find(L"r")->value, L"");  // the chosen button has no key to name
    EXPECT_EQ(dialog.tiles()[1].value, L"1");
    dialog.setValue(*dialog.find(L"b"), L"1");
    EXPECT_EQ(dialog.tiles()[1].value, L"0");
    EXPECT_EQ(dialog.find(L"r")->value, L"b");
}

}  // namespace
}  // namespace tz::cad::dcl
