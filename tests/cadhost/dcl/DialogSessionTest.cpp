#include "dcl/DialogSession.h"

#include <gtest/gtest.h>

#include "DclTestSupport.h"

namespace tz::cad::dcl {
namespace {

using testing::loadOrFail;
using testing::ScriptedConsole;

const wchar_t* const kLayers = LR"(
layers : dialog {
    label = "Layers";
    : edit_box { key = "layer"; label = "Layer:"; value = "TZ_Mesh"; edit_limit = 8; }
    : toggle { key = "skirt"; label = "Skirt"; }
    : edit_box { key = "base"; value = "0.00"; is_enabled = false; }
    : radio_row {
        key = "shape";
        : radio_button { key = "straight"; value = "1"; }
        : radio_button { key = "smooth"; }
    }
    : button { key = "browse"; label = "Browse..."; }
    : text { label = "no key, not listed"; }
    errtile;
    ok_cancel;
}
)";

// A layer check like the suite's: sets "error" and puts the old name back.
void checkLayer(ads_callback_packet* packet) {
    auto* dialog = static_cast<Dialog*>(packet->dialog);
    const std::wstring name = packet->value;
    if (name.find(L' ') != std::wstring::npos || name.empty()) {
        dialog->setValue(*dialog->find(L"layer"), L"TZ_Mesh");
        dialog->setValue(*dialog->find(L"error"), L"Value must contain A-Z,a-z,0-9,-,_,$ only");
    } else {
        dialog->setValue(*dialog->find(L"error"), L"");
    }
}

// The skirt toggle enables the base elevation.
void skirtToggle(ads_callback_packet* packet) {
    auto* dialog = static_cast<Dialog*>(packet->dialog);
    dialog->setMode(*dialog->find(L"base"), std::wstring(packet->value) == L"1" ? MODE_ENABLE : MODE_DISABLE);
}

// A browse button that asks for a path on the command line, as the host's file dialog does.
void browse(ads_callback_packet* packet) {
    auto* dialog = static_cast<Dialog*>(packet->dialog);
    std::optional<std::wstring> path = console().prompt(L"Select a file: ");
    if (path) dialog->setValue(*dialog->find(L"layer"), *path);
}

int cancelActions = 0;
void countingCancel(ads_callback_packet* packet) {
    ++cancelActions;
    static_cast<Dialog*>(packet->dialog)->close(DLGCANCEL);
}

class DialogSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        document_ = loadOrFail(kLayers);
        dialog_ = std::make_unique<Dialog>(L"layers", *document_.dialog(L"layers"), nullptr);
        dialog_->find(L"layer")->action = checkLayer;
        dialog_->find(L"skirt")->action = skirtToggle;
        dialog_->find(L"browse")->action = browse;
        cancelActions = 0;
    }
    // Runs the dialog on `script`; returns the transcript.
    std::string run(const std::string& script, int expectedStatus) {
        ScriptedConsole scripted(script);
        const int status = runDialogSession(*dialog_);
        EXPECT_EQ(status, expectedStatus);
        EXPECT_TRUE(dialog_->closed());
        return scripted.transcript();
    }

    DclDocument document_;
    std::unique_ptr<Dialog> dialog_;
};

const char* const kOpeningBlock =
    "*** DIALOG layers: Layers ***\n"
    "  layer     edit_box      \"TZ_Mesh\"\n"
    "  skirt     toggle        \"0\"\n"
    "  base      edit_box      \"0.00\"  (disabled)\n"
    "  shape     radio_row     \"straight\"\n"
    "  straight  radio_button  \"1\"\n"
    "  smooth    radio_button  \"0\"\n"
    "  browse    button        \"Browse...\"\n"
    "  error     text          \"\"\n"
    "  accept    button        \"OK\"\n"
    "  cancel    button        \"Cancel\"\n";

TEST_F(DialogSessionTest, ShowsTheDialogWorksItsLinesAndEndsWithTheStatus) {
    const std::string transcript = run("layer=bad name\nlayer=Contours\nskirt=1\nbase=12.5\n!accept\n", DLGOK);
    EXPECT_EQ(transcript, std::string(kOpeningBlock) +
                              "layers> layer=bad name\n"
                              "error: \"Value must contain A-Z,a-z,0-9,-,_,$ only\"\n"
                              "layers> layer=Contours\n"
                              "error: \"\"\n"
                              "layers> skirt=1\n"
                              "layers> base=12.5\n"
                              "layers> !accept\n"
                              "*** END DIALOG layers: status 1 ***\n");
    EXPECT_EQ(dialog_->find(L"layer")->value, L"Contours");
    EXPECT_EQ(dialog_->find(L"base")->value, L"12.5");
}

TEST_F(DialogSessionTest, ReportsAndIgnoresLinesTheDialogCannotTake) {
    const std::string transcript = run(
        "base=1\nnowhere=1\n!nowhere\nskirt=yes\nstraight=0\nshape=round\nbrowse=x\nerror=x\n!layer\n!error\n"
        "just words\nlayer=toolongname\n!cancel\n",
        DLGCANCEL);
    EXPECT_EQ(transcript, std::string(kOpeningBlock) +
                              "layers> base=1\n"
                              "(tile \"base\" is disabled; line ignored)\n"
                              "layers> nowhere=1\n"
                              "(dialog layers has no tile \"nowhere\"; line ignored)\n"
                              "layers> !nowhere\n"
                              "(dialog layers has no tile \"nowhere\"; line ignored)\n"
                              "layers> skirt=yes\n"
                              "(toggle \"skirt\" takes 0 or 1; line ignored)\n"
                              "layers> straight=0\n"
                              "(radio button \"straight\" is chosen with straight=1; line ignored)\n"
                              "layers> shape=round\n"
                              "(radio cluster \"shape\" takes the key of one of its buttons (straight, smooth); line ignored)\n"
                              "layers> browse=x\n"
                              "(tile \"browse\" is a button: press it with !browse; line ignored)\n"
                              "layers> error=x\n"
                              "(tile \"error\" is a text and takes no value; line ignored)\n"
                              "layers> !layer\n"
                              "(tile \"layer\" is an edit_box: give it a value with layer=value; line ignored)\n"
                              "layers> !error\n"
                              "(tile \"error\" is a text and cannot be pressed; line ignored)\n"
                              "layers> just words\n"
                              "(not a dialog line: use key=value, !key, ?, *cancel* or an empty line; line ignored)\n"
                              "layers> layer=toolongname\n"
                              "(tile \"layer\" takes at most 8 characters; the rest was cut)\n"
                              "layers> !cancel\n"
                              "*** END DIALOG layers: status 0 ***\n");
    EXPECT_EQ(dialog_->find(L"base")->value, L"0.00");
    EXPECT_EQ(dialog_->find(L"layer")->value, L"toolongn");
}

TEST_F(DialogSessionTest, EndOfInputCancelsWithoutRunningTheCancelAction) {
    dialog_->find(L"cancel")->action = countingCancel;
    const std::string transcript = run("layer=Mesh2\n", DLGCANCEL);
    EXPECT_EQ(transcript, std::string(kOpeningBlock) +
                              "layers> layer=Mesh2\n"
                              "layers> *end of input*\n"
                              "*** END DIALOG layers: status 0 ***\n");
    EXPECT_EQ(cancelActions, 0);
}

TEST_F(DialogSessionTest, EscapeEnterAndQuestionMark) {
    dialog_->find(L"cancel")->action = countingCancel;
    std::string transcript = run("?\n*cancel*\n", DLGCANCEL);
    EXPECT_EQ(transcript, std::string(kOpeningBlock) + "layers> ?\n" + kOpeningBlock +
                              "layers> *cancel*\n*** END DIALOG layers: status 0 ***\n");
    EXPECT_EQ(cancelActions, 1);

    SetUp();
    transcript = run("  \n", DLGOK);
    EXPECT_EQ(transcript, std::string(kOpeningBlock) + "layers>   \n*** END DIALOG layers: status 1 ***\n");
}

TEST_F(DialogSessionTest, RadioButtonsAndTogglesByClickAndByValue) {
    const std::string transcript = run("shape=smooth\n!skirt\n?\n!straight\n!accept\n", DLGOK);
    const std::string shown = transcript.substr(transcript.find("layers> ?\n") + 10);
    EXPECT_EQ(shown.substr(0, shown.find("layers> !straight")),
              "*** DIALOG layers: Layers ***\n"
              "  layer     edit_box      \"TZ_Mesh\"\n"
              "  skirt     toggle        \"1\"\n"
              "  base      edit_box      \"0.00\"\n"
              "  shape     radio_row     \"smooth\"\n"
              "  straight  radio_button  \"0\"\n"
              "  smooth    radio_button  \"1\"\n"
              "  browse    button        \"Browse...\"\n"
              "  error     text          \"\"\n"
              "  accept    button        \"OK\"\n"
              "  cancel    button        \"Cancel\"\n");
    EXPECT_EQ(dialog_->find(L"shape")->value, L"straight");
}

TEST_F(DialogSessionTest, AnActionMayPromptOnTheSharedConsole) {
    const std::string transcript = run("!browse\n/data/site.dat\n!accept\n", DLGOK);
    EXPECT_EQ(transcript, std::string(kOpeningBlock) +
                              "layers> !browse\n"
                              "Select a file: /data/site.dat\n"
                              "layers> !accept\n"
                              "*** END DIALOG layers: status 1 ***\n");
    EXPECT_EQ(dialog_->find(L"layer")->value, L"/data/site.dat");
}

TEST_F(DialogSessionTest, AnEscapeWithoutACancelButtonClosesWithZero) {
    const DclDocument document = loadOrFail(L"bare : dialog { : edit_box { key = \"e\"; } }");
    Dialog bare(L"bare", *document.dialog(L"bare"), nullptr);
    ScriptedConsole scripted("\n*cancel*\n");
    EXPECT_EQ(runDialogSession(bare), DLGCANCEL);
    EXPECT_EQ(scripted.transcript(),
              "*** DIALOG bare ***\n"
              "  e  edit_box  \"\"\n"
              "bare> \n"
              "(dialog bare has no default button for Enter; line ignored)\n"
              "bare> *cancel*\n"
              "*** END DIALOG bare: status 0 ***\n");
}

TEST(DialogTranscript, QuotesValuesSoTheyReadBackExactly) {
    EXPECT_EQ(quoteForTranscript(L""), L"\"\"");
    EXPECT_EQ(quoteForTranscript(L"File does not exist.\n"), L"\"File does not exist.\\n\"");
    EXPECT_EQ(quoteForTranscript(L"C:\\jobs\\a \"b\"\t\r"), L"\"C:\\\\jobs\\\\a \\\"b\\\"\\t\\r\"");
    EXPECT_EQ(quoteForTranscript(std::wstring(L"a\x01" L"b") + L'\x7F'), L"\"a\\x01;b\\x7F;\"");
    EXPECT_EQ(quoteForTranscript(L"Gel\u00E4nde"), L"\"Gel\u00E4nde\"");
}

}  // namespace
}  // namespace tz::cad::dcl
