// The host's dialog functions as a plug-in calls them.
#include <gtest/gtest.h>

#include "DclTestSupport.h"
#include "adscodes.h"
#include "adsdlg.h"

namespace tz::cad::dcl {
namespace {

using testing::ScratchFolder;
using testing::ScriptedConsole;

const char* const kFile = R"(// a small dialog file
volumes_like : dialog {
    label = "Volumes";
    : edit_box { key = "vol_intrvl"; value = "1.0000"; edit_limit = 14; }
    : toggle { key = "v_u_feet"; }
    : radio_row { key = "side"; : radio_button { key = "cut"; } : radio_button { key = "fill"; } }
    : button { key = "nested"; label = "More..."; }
    errtile;
    ok_cancel;
}
second : dialog { label = "Second"; : edit_box { key = "inner"; } ok_cancel; }
)";

// State the callbacks below share with the tests.
struct Seen {
    std::wstring key;
    std::wstring value;
    int reason = 0;
    void* clientData = nullptr;
};
std::vector<Seen> seen;
int nestedStatus = -99;
int loadedId = -1;

void recordPacket(ads_callback_packet* packet) {
    ACHAR key[64];
    EXPECT_EQ(ads_get_attr_string(packet->tile, L"key", key, 64), RTNORM);
    seen.push_back({key, packet->value, packet->reason, packet->client_data});
}

// Checks the interval as the suite does: a message in "error" and the old value back.
void checkInterval(ads_callback_packet* packet) {
    recordPacket(packet);
    if (packet->reason != CBR_LOST_FOCUS) return;
    if (std::wcstod(packet->value, nullptr) < 0) {
        ads_set_tile(packet->dialog, L"vol_intrvl", L"1.0000");
        ads_set_tile(packet->dialog, L"error", L"Value must be a nonnegative number.");
    } else {
        ads_set_tile(packet->dialog, L"error", L"");
    }
}

void acceptUnlessError(ads_callback_packet* packet) {
    ACHAR error[512];
    ads_get_tile(packet->dialog, L"error", error, 512);
    if (error[0] == 0) ads_done_dialog(packet->dialog, DLGOK);
}

void openNested(ads_callback_packet*) {
    ads_hdlg inner = nullptr;
    ASSERT_EQ(ads_new_dialog(L"second", loadedId, NULLCB, &inner), RTNORM);
    ASSERT_EQ(ads_start_dialog(inner, &nestedStatus), RTNORM);
}

void terminateEverything(ads_callback_packet*) { ads_term_dialog(); }

class DialogsAdsTest : public ::testing::Test {
protected:
    void SetUp() override {
        seen.clear();
        nestedStatus = -99;
        scratch_.write("dtm_test.dcl", kFile);
        ::testing::internal::CaptureStdout();
        ASSERT_EQ(ads_load_dialog(L"dtm_test.dcl", &id_), RTNORM);
        ::testing::internal::GetCapturedStdout();
        ASSERT_GT(id_, 0);
        loadedId = id_;
    }
    void TearDown() override { ads_unload_dialog(id_); }

    ads_hdlg open(const wchar_t* name = L"volumes_like", CLIENTFUNC defaultCallback = NULLCB) {
        ads_hdlg handle = nullptr;
        EXPECT_EQ(ads_new_dialog(name, id_, defaultCallback, &handle), RTNORM);
        EXPECT_NE(handle, nullptr);
        return handle;
    }
    std::wstring tile(ads_hdlg handle, const wchar_t* key) {
        ACHAR value[TILE_STR_LIMIT];
        EXPECT_EQ(ads_get_tile(handle, key, value, TILE_STR_LIMIT), RTNORM);
        return value;
    }

    ScratchFolder scratch_;
    int id_ = -1;
};

TEST_F(DialogsAdsTest, SetGetModeAndActionBeforeTheDialogStarts) {
    ads_hdlg handle = open();
    EXPECT_EQ(tile(handle, L"vol_intrvl"), L"1.0000");
    EXPECT_EQ(ads_set_tile(handle, L"vol_intrvl", L"2.5"), RTNORM);
    EXPECT_EQ(tile(handle, L"vol_intrvl"), L"2.5");
    EXPECT_EQ(ads_set_tile(handle, L"fill", L"1"), RTNORM);
    EXPECT_EQ(tile(handle, L"side"), L"fill");
    EXPECT_EQ(ads_set_tile(handle, L"side", L"cut"), RTNORM);
    EXPECT_EQ(tile(handle, L"fill"), L"0");
    EXPECT_EQ(ads_set_tile(handle, L"side", L"nothing"), RTERROR);
    EXPECT_EQ(tile(handle, L"side"), L"cut");
    EXPECT_EQ(ads_mode_tile(handle, L"v_u_feet", MODE_DISABLE), RTNORM);
    EXPECT_EQ(ads_mode_tile(handle, L"v_u_feet", 9), RTERROR);
    EXPECT_EQ(ads_action_tile(handle, L"vol_intrvl", checkInterval), RTNORM);
    EXPECT_EQ(ads_client_data_tile(handle, L"vol_intrvl", &seen), RTNORM);

    // Unknown keys and missing arguments are refused, not followed.
    ACHAR value[8] = L"keep";
    EXPECT_EQ(ads_set_tile(handle, L"missing", L"x"), RTERROR);
    EXPECT_EQ(ads_set_tile(handle, nullptr, L"x"), RTERROR);
    EXPECT_EQ(ads_set_tile(handle, L"error", nullptr), RTERROR);
    EXPECT_EQ(ads_get_tile(handle, L"missing", value, 8), RTERROR);
    EXPECT_EQ(value[0], 0);
    EXPECT_EQ(ads_mode_tile(handle, L"missing", MODE_ENABLE), RTERROR);
    EXPECT_EQ(ads_action_tile(handle, L"missing", checkInterval), RTERROR);
    EXPECT_EQ(ads_client_data_tile(handle, L"missing", nullptr), RTERROR);
    // Closing needs a started dialog.
    EXPECT_EQ(ads_done_dialog(handle, DLGOK), RTERROR);
    ads_term_dialog();  // drops the dialog that was never started
    EXPECT_EQ(ads_set_tile(handle, L"error", L"x"), RTERROR);
}

TEST_F(DialogsAdsTest, GetTileNeverWritesPastItsLimit) {
    ads_hdlg handle = open();
    ads_set_tile(handle, L"vol_intrvl", L"abcdef");
    ACHAR buffer[10];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(ads_get_tile(handle, L"vol_intrvl", buffer, 4), RTNORM);
    EXPECT_EQ(std::wstring(buffer), L"abc");
    EXPECT_EQ(buffer[4], L'#');

    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(ads_get_tile(handle, L"vol_intrvl", buffer, 1), RTNORM);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], L'#');

    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(ads_get_tile(handle, L"vol_intrvl", buffer, 0), RTERROR);
    EXPECT_EQ(ads_get_tile(handle, L"vol_intrvl", buffer, -5), RTERROR);
    EXPECT_EQ(buffer[0], L'#');
    EXPECT_EQ(ads_get_tile(handle, L"vol_intrvl", nullptr, 10), RTERROR);

    EXPECT_EQ(ads_get_tile(handle, L"vol_intrvl", buffer, 7), RTNORM);
    EXPECT_EQ(std::wstring(buffer), L"abcdef");
    ads_term_dialog();
}

TEST_F(DialogsAdsTest, AStartedDialogRunsItsActionsAndReturnsTheStatusGivenToDone) {
    ads_hdlg handle = open();
    ads_action_tile(handle, L"vol_intrvl", checkInterval);
    ads_client_data_tile(handle, L"vol_intrvl", &seen);
    ads_action_tile(handle, L"v_u_feet", recordPacket);
    ads_action_tile(handle, L"accept", acceptUnlessError);
    ScriptedConsole scripted("vol_intrvl=-2\n!accept\nv_u_feet=1\nvol_intrvl=0.5\n!accept\nnot read\n");
    int status = -7;
    EXPECT_EQ(ads_start_dialog(handle, &status), RTNORM);
    EXPECT_EQ(status, DLGOK);
    const std::string transcript = scripted.transcript();
    EXPECT_NE(transcript.find("volumes_like> vol_intrvl=-2\nerror: \"Value must be a nonnegative number.\"\n"
                              "volumes_like> !accept\nvolumes_like> v_u_feet=1\nvolumes_like> vol_intrvl=0.5\n"
                              "error: \"\"\nvolumes_like> !accept\n*** END DIALOG volumes_like: status 1 ***\n"),
              std::string::npos)
        << transcript;
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].key, L"vol_intrvl");
    EXPECT_EQ(seen[0].value, L"-2");
    EXPECT_EQ(seen[0].reason, CBR_LOST_FOCUS);
    EXPECT_EQ(seen[0].clientData, &seen);
    EXPECT_EQ(seen[1].key, L"v_u_feet");
    EXPECT_EQ(seen[1].reason, CBR_SELECT);
    EXPECT_EQ(seen[2].value, L"0.5");
    // The dialog is gone once it has returned: its handle is refused.
    EXPECT_EQ(ads_set_tile(handle, L"error", L""), RTERROR);
    EXPECT_EQ(ads_start_dialog(handle, &status), RTERROR);
    EXPECT_EQ(ads_done_dialog(handle, DLGOK), RTERROR);
}

TEST_F(DialogsAdsTest, TheDefaultCallbackServesTilesWithoutActions) {
    ads_hdlg handle = open(L"second", recordPacket);
    ScriptedConsole scripted("inner=x\n!cancel\n");
    int status = -7;
    ads_start_dialog(handle, &status);
    scripted.transcript();
    // The default callback took the cancel button too, so the dialog ran to
    // the end of the input.
    EXPECT_EQ(status, DLGCANCEL);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].key, L"inner");
    EXPECT_EQ(seen[1].key, L"cancel");
}

TEST_F(DialogsAdsTest, DialogsNestAndShareTheConsole) {
    ads_hdlg handle = open();
    ads_action_tile(handle, L"nested", openNested);
    ScriptedConsole scripted("!nested\ninner=deep\n!accept\n!cancel\n");
    int status = -7;
    ads_start_dialog(handle, &status);
    EXPECT_EQ(status, DLGCANCEL);
    EXPECT_EQ(nestedStatus, DLGOK);
    const std::string transcript = scripted.transcript();
    EXPECT_NE(transcript.find("volumes_like> !nested\n*** DIALOG second: Second ***\n"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("second> inner=deep\nsecond> !accept\n*** END DIALOG second: status 1 ***\n"
                              "volumes_like> !cancel\n*** END DIALOG volumes_like: status 0 ***\n"),
              std::string::npos)
        << transcript;
}

TEST_F(DialogsAdsTest, TermDialogClosesEveryOpenDialog) {
    ads_hdlg handle = open();
    ads_action_tile(handle, L"nested", terminateEverything);
    ScriptedConsole scripted("!nested\n!accept\n");
    int status = 0;
    ads_start_dialog(handle, &status);
    EXPECT_EQ(status, DLGALLDONE);
    EXPECT_NE(scripted.transcript().find("*** END DIALOG volumes_like: status -1 ***\n"), std::string::npos);
}

TEST_F(DialogsAdsTest, ATileHandleGivesTheTilesAttributes) {
    ads_hdlg handle = open();
    static std::wstring label;
    static int result = 0;
    ads_action_tile(handle, L"nested", [](ads_callback_packet* packet) {
        ACHAR text[32];
        result = ads_get_attr_string(packet->tile, L"label", text, 32);
        label = text;
        ACHAR small[4];
        ads_get_attr_string(packet->tile, L"label", small, 4);
        EXPECT_EQ(std::wstring(small), L"Mor");
        EXPECT_EQ(ads_get_attr_string(packet->tile, L"edit_limit", text, 32), RTERROR);
        EXPECT_EQ(text[0], 0);
        EXPECT_EQ(ads_get_attr_string(packet->dialog, L"key", text, 32), RTERROR);  // not a tile handle
        ads_done_dialog(packet->dialog, 5);
    });
    ScriptedConsole scripted("!nested\n");
    int status = 0;
    ads_start_dialog(handle, &status);
    scripted.transcript();
    EXPECT_EQ(status, 5);
    EXPECT_EQ(result, RTNORM);
    EXPECT_EQ(label, L"More...");
    ACHAR text[8];
    EXPECT_EQ(ads_get_attr_string(nullptr, L"key", text, 8), RTERROR);
}

TEST_F(DialogsAdsTest, NewDialogRefusesUnknownNamesAndIds) {
    ads_hdlg handle = reinterpret_cast<ads_hdlg>(1);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(ads_new_dialog(L"absent", id_, NULLCB, &handle), RTERROR);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "DCL error: dtm_test.dcl has no dialog \"absent\"\n");
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(ads_new_dialog(L"second", id_ + 1000, NULLCB, &handle), RTERROR);
    EXPECT_EQ(ads_new_dialog(nullptr, id_, NULLCB, &handle), RTERROR);
    EXPECT_EQ(ads_new_dialog(L"second", id_, NULLCB, nullptr), RTERROR);
    EXPECT_EQ(ads_start_dialog(nullptr, nullptr), RTERROR);
}

TEST_F(DialogsAdsTest, UnloadingAFileForgetsItButNotItsOpenDialogs) {
    ads_hdlg handle = open(L"second");
    ads_set_tile(handle, L"inner", L"kept");
    EXPECT_EQ(ads_unload_dialog(id_), RTNORM);
    EXPECT_EQ(ads_unload_dialog(id_), RTERROR);
    ads_hdlg another = nullptr;
    EXPECT_EQ(ads_new_dialog(L"second", id_, NULLCB, &another), RTERROR);
    ScriptedConsole scripted("!accept\n");
    int status = -1;
    EXPECT_EQ(ads_start_dialog(handle, &status), RTNORM);
    EXPECT_EQ(status, DLGOK);
    EXPECT_NE(scripted.transcript().find("  inner   edit_box  \"kept\"\n"), std::string::npos);
}

TEST(DialogsAds, ABrokenFileFailsToLoadWithItsFileAndLine) {
    ScratchFolder scratch;
    scratch.write("broken.dcl", "good : dialog { ok_cancel; }\n\nbad : dialog {\n  : edit_box { key = \"a\" }\n}\n");
    ::testing::internal::CaptureStdout();
    int id = 12345;
    EXPECT_EQ(ads_load_dialog(L"broken.dcl", &id), RTERROR);
    EXPECT_LT(id, 0);
    EXPECT_EQ(ads_load_dialog(L"nowhere.dcl", &id), RTERROR);
    EXPECT_LT(id, 0);
    EXPECT_EQ(ads_load_dialog(nullptr, &id), RTERROR);
    EXPECT_EQ(ads_load_dialog(L"broken.dcl", nullptr), RTERROR);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "DCL error: broken.dcl, line 4: expected \";\" after the value of attribute \"key\", found \"}\"\n"
              "DCL error: nowhere.dcl: cannot find the file\n");
}

TEST(DialogsAds, EachLoadGivesItsOwnId) {
    ScratchFolder scratch;
    scratch.write("a.dcl", "a : dialog { ok_only; }");
    int first = -1;
    int second = -1;
    ASSERT_EQ(ads_load_dialog(L"a.dcl", &first), RTNORM);
    ASSERT_EQ(ads_load_dialog(L"a", &second), RTNORM);
    EXPECT_NE(first, second);
    EXPECT_EQ(ads_unload_dialog(first), RTNORM);
    ads_hdlg handle = nullptr;
    EXPECT_EQ(ads_new_dialog(L"a", second, NULLCB, &handle), RTNORM);
    ads_term_dialog();
    EXPECT_EQ(ads_unload_dialog(second), RTNORM);
}

}  // namespace
}  // namespace tz::cad::dcl
