#include "MessageBox.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <string>

namespace tz::platform {
namespace {

// Runs the terminal presentation with scripted answers; keeps what it wrote.
struct Presented {
    int result = 0;
    std::string output;
    size_t answersRead = 0;
};

Presented present(const std::string& text, const std::string& caption, UINT type, std::deque<std::string> answers,
                  bool echo = true) {
    Presented presented;
    std::FILE* out = std::tmpfile();
    EXPECT_NE(out, nullptr);
    const AnswerReader reader = [&]() -> std::optional<std::string> {
        if (answers.empty()) return std::nullopt;
        ++presented.answersRead;
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    };
    presented.result = presentMessageBox(text, caption, type, out, reader, echo);
    std::rewind(out);
    char chunk[256];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, out)) > 0) presented.output.append(chunk, got);
    std::fclose(out);
    return presented;
}

TEST(MessageBoxTest, AnOkBoxShowsItsBlockAndReadsNothing) {
    const Presented shown = present("Could not open key", "Error", MB_OK, {"yes"});
    EXPECT_EQ(shown.result, IDOK);
    EXPECT_EQ(shown.answersRead, 0u);
    EXPECT_EQ(shown.output,
              "*** MESSAGE BOX [Error] (OK) ***\n"
              "Could not open key\n"
              "*** END MESSAGE BOX ***\n");
}

TEST(MessageBoxTest, TheTextIsShownExactlyWithItsOwnLineBreaks) {
    const Presented shown = present("Do you want to install the Veltrane menus in \n\"C:\\Host\\bricscad.exe\"",
                                    "Install Veltrane Menus", MB_YESNO, {"y"});
    EXPECT_EQ(shown.output,
              "*** MESSAGE BOX [Install Veltrane Menus] (Yes/No) ***\n"
              "Do you want to install the Veltrane menus in \n"
              "\"C:\\Host\\bricscad.exe\"\n"
              "*** END MESSAGE BOX ***\n"
              "Yes/No? y\n");
    EXPECT_EQ(present("ends in a line break\n", "C", MB_OK, {}).output,
              "*** MESSAGE BOX [C] (OK) ***\nends in a line break\n*** END MESSAGE BOX ***\n");
    EXPECT_EQ(present("", "C", MB_OK, {}).output, "*** MESSAGE BOX [C] (OK) ***\n*** END MESSAGE BOX ***\n");
}

TEST(MessageBoxTest, YesAndNoAreReadInAnyLetterCase) {
    for (const char* yes : {"y", "yes", "YES", " Yes ", "Y\r"}) {
        EXPECT_EQ(present("q", "c", MB_YESNO, {yes}).result, IDYES) << yes;
    }
    for (const char* no : {"n", "no", "NO", "\tNo"}) {
        EXPECT_EQ(present("q", "c", MB_YESNO, {no}).result, IDNO) << no;
    }
}

TEST(MessageBoxTest, OtherAnswersAskAgainAndTheEndOfInputIsNo) {
    const Presented retried = present("q", "c", MB_YESNO, {"maybe", "", "ok", "yes"});
    EXPECT_EQ(retried.result, IDYES);
    EXPECT_EQ(retried.answersRead, 4u);
    const Presented ended = present("q", "c", MB_YESNO, {"what"});
    EXPECT_EQ(ended.result, IDNO);
    EXPECT_NE(ended.output.find("Yes/No? what\nYes/No? *end of input*\n"), std::string::npos);
}

TEST(MessageBoxTest, BoxesWithCancelEndOnCancel) {
    EXPECT_EQ(present("q", "c", MB_YESNOCANCEL, {}).result, IDCANCEL);
    EXPECT_EQ(present("q", "c", MB_YESNOCANCEL, {"cancel"}).result, IDCANCEL);
    EXPECT_EQ(present("q", "c", MB_YESNOCANCEL, {"n"}).result, IDNO);
    EXPECT_EQ(present("q", "c", MB_OKCANCEL, {"y", "ok"}).result, IDOK);  // no Yes on this box
    EXPECT_EQ(present("q", "c", MB_OKCANCEL, {}).result, IDCANCEL);
}

TEST(MessageBoxTest, AnswersAreEchoedOnlyWhenAsked) {
    EXPECT_EQ(present("q", "c", MB_YESNO, {"no"}, false).output.find("Yes/No? no"), std::string::npos);
    EXPECT_NE(present("q", "c", MB_YESNO, {"no"}, true).output.find("Yes/No? no\n"), std::string::npos);
}

TEST(MessageBoxTest, UnknownButtonSetsFailWithoutShowing) {
    const Presented shown = present("q", "c", 0x5 /* retry/cancel */, {"y"});
    EXPECT_EQ(shown.result, 0);
    EXPECT_TRUE(shown.output.empty());
}

TEST(MessageBoxTest, IconFlagsDoNotChangeTheButtons) {
    EXPECT_EQ(present("q", "c", MB_YESNO | MB_ICONQUESTION, {"y"}).result, IDYES);
}

// The calls as a program makes them, through an installed presenter.
class MessageBoxCallTest : public ::testing::Test {
protected:
    void SetUp() override {
        setMessageBoxPresenter([this](const std::string& text, const std::string& caption, UINT type) {
            seen_.push_back({text, caption, type});
            return type == MB_YESNO ? IDNO : IDOK;
        });
    }
    void TearDown() override { setMessageBoxPresenter({}); }

    struct Seen {
        std::string text;
        std::string caption;
        UINT type;
    };
    std::vector<Seen> seen_;
};

TEST_F(MessageBoxCallTest, WithoutACaptionTheSystemsDefaultIsShown) {
    EXPECT_EQ(MessageBoxA(nullptr, "Could not get value", nullptr, MB_OK), IDOK);
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(seen_[0].text, "Could not get value");
    EXPECT_EQ(seen_[0].caption, "Error");
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, "", MB_YESNO), IDNO);
    EXPECT_EQ(seen_[1].text, "");
    EXPECT_EQ(seen_[1].caption, "");
}

TEST_F(MessageBoxCallTest, HostStringsAreShownAsUtf8) {
    EXPECT_EQ(MessageBoxW(nullptr, L"C:\\J\u00f6rg\\", L"Result", MB_OK), IDOK);
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(seen_[0].text, "C:\\J\xC3\xB6rg\\");
    EXPECT_EQ(seen_[0].caption, "Result");
    MessageBoxW(nullptr, L"x", nullptr, MB_OK);
    EXPECT_EQ(seen_[1].caption, "Error");
}

TEST_F(MessageBoxCallTest, UnknownButtonSetsNeverReachThePresenter) {
    EXPECT_EQ(MessageBoxA(nullptr, "x", nullptr, 0x2 /* abort/retry/ignore */), 0);
    EXPECT_TRUE(seen_.empty());
}

}  // namespace
}  // namespace tz::platform
