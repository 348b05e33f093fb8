// The host's LAYER, ZOOM, LEADER and TEXT commands as acedCommand lists run them.
#include "commands/HostCommands.h"

#include <gtest/gtest.h>

#include <deque>

#include "HostApiFixture.h"
#include "drawing/SessionSettings.h"

namespace tz::cad {
namespace {

using test::HostApiTest;

// Arguments from a list, as acedCommand hands them over; the prompts are kept.
class ListArguments : public CommandArguments {
public:
    ListArguments(std::initializer_list<const wchar_t*> answers) : answers_(answers.begin(), answers.end()) {}
    std::optional<std::wstring> next(std::wstring_view prompt) override {
        prompts.emplace_back(prompt);
        if (answers_.empty()) return std::nullopt;
        std::wstring answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    size_t left() const { return answers_.size(); }
    std::vector<std::wstring> prompts;

private:
    std::deque<std::wstring> answers_;
};

class HostCommandsTest : public HostApiTest {
protected:
    // Runs the command with output captured; returns what it printed.
    std::string run(const wchar_t* name, ListArguments& args, bool known = true) {
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(runHostCommand(name, args), known);
        return ::testing::internal::GetCapturedStdout();
    }
    std::vector<const Entity*> entities() {
        std::vector<const Entity*> found;
        const Drawing& drawing = currentDrawing();
        for (std::optional<uint64_t> h = drawing.firstEntity(); h; h = drawing.nextEntity(*h)) {
            found.push_back(drawing.find(*h));
        }
        return found;
    }
};

TEST_F(HostCommandsTest, LeaderCarriesItsTextAsTheSuiteCallsIt) {
    ListArguments args{L"12.5,7.25,0", L"20,10,0", L"", L"101.23", L""};
    run(L"_leader", args);
    EXPECT_EQ(args.left(), 0u);
    const auto made = entities();
    ASSERT_EQ(made.size(), 2u);
    const Entity* leader = made[0];
    const Entity* text = made[1];
    EXPECT_EQ(leader->type, L"LEADER");
    std::vector<Point3> points;
    for (const Group& g : leader->data) {
        if (g.code == 10) points.push_back(std::get<Point3>(g.value));
    }
    EXPECT_EQ(points, (std::vector<Point3>{{12.5, 7.25, 0}, {20, 10, 0}}));  // the arrow at the first point
    EXPECT_EQ(text->type, L"MTEXT");
    EXPECT_EQ(groupString(text->data, 1), L"101.23");
    const Group* annotation = findGroup(leader->data, 340);
    ASSERT_NE(annotation, nullptr);
    EXPECT_EQ(std::get<HandleRef>(annotation->value).handle, text->handle);
    EXPECT_GT(groupPoint(text->data, 10)->x, 20);  // beside the last point, on its side
    EXPECT_EQ(args.prompts[0], L"\nSpecify leader start point: ");
    EXPECT_EQ(args.prompts[2], L"\nSpecify next point or [Annotation/Format/Undo] <Annotation>: ");
}

TEST_F(HostCommandsTest, LeaderWithSeveralLinesOrNoneOrCancelled) {
    ListArguments lines{L"0,0", L"-5,5", L"@-1,0", L"", L"first", L"second", L""};
    run(L"LEADER", lines);
    auto made = entities();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(groupString(made[1]->data, 1), L"first\\Psecond");
    EXPECT_LT(groupPoint(made[1]->data, 10)->x, -6);  // the text runs to the left
    EXPECT_EQ(countGroups(made[0]->data, 10), 3u);

    ListArguments none{L"0,0", L"5,5", L"", L"", L"N"};
    run(L"leader", none);
    EXPECT_EQ(entities().size(), 3u);
    EXPECT_EQ(groupInt(entities().back()->data, 73), 3);  // a leader without annotation

    ListArguments cancelled{L"0,0", L"5,5", L"", L"text"};  // the list ends: Escape
    const std::string shown = run(L"leader", cancelled);
    EXPECT_EQ(entities().size(), 3u);
    EXPECT_NE(shown.find("*Cancel*"), std::string::npos);

    ListArguments bad{L"nowhere", L"0,0", L"", L"1,1"};
    run(L"leader", bad);  // Enter before a second point: no leader
    EXPECT_EQ(entities().size(), 3u);
}

TEST_F(HostCommandsTest, LayerMakeColourAndSet) {
    ListArguments args{L"M", L"TZ_Points", L"C", L"3", L"", L"N", L"A,B", L"c", L"red", L"A", L""};
    run(L"._-LAYER", args);
    EXPECT_EQ(args.left(), 0u);
    const Drawing& drawing = currentDrawing();
    ASSERT_NE(drawing.findLayer(L"TZ_Points"), nullptr);
    EXPECT_EQ(drawing.findLayer(L"TZ_Points")->color, 3);
    EXPECT_EQ(textVariable(L"CLAYER"), L"TZ_Points");
    EXPECT_EQ(drawing.findLayer(L"A")->color, 1);
    EXPECT_EQ(drawing.findLayer(L"B")->color, 7);

    ListArguments more{L"S", L"b", L"OFF", L"A", L"F", L"B", L"LT", L"continuous", L"A", L"S", L"nosuch", L""};
    const std::string shown = run(L"layer", more);
    EXPECT_EQ(textVariable(L"CLAYER"), L"B");
    EXPECT_EQ(drawing.findLayer(L"A")->color, -1);
    EXPECT_EQ(drawing.findLayer(L"B")->flags & 1, 0);  // the current layer is not frozen
    EXPECT_NE(shown.find("Cannot freeze layer \"B\""), std::string::npos);
    EXPECT_NE(shown.find("Cannot find layer \"nosuch\""), std::string::npos);

    // Entities made now go on the current layer.
    ListArguments text{L"1,2", L"2.5", L"0", L"hello"};
    run(L"text", text);
    EXPECT_EQ(groupString(entities().back()->data, 8), L"B");
}

TEST_F(HostCommandsTest, TextWithHeightRotationAndJustification) {
    ListArguments args{L"1,2,0", L"2.5", L"30", L"Spot 101.23"};
    run(L"text", args);
    auto made = entities();
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0]->type, L"TEXT");
    EXPECT_EQ(groupPoint(made[0]->data, 10), (Point3{1, 2, 0}));
    EXPECT_EQ(groupReal(made[0]->data, 40), 2.5);
    EXPECT_EQ(groupReal(made[0]->data, 50), 30.0);
    EXPECT_EQ(groupString(made[0]->data, 1), L"Spot 101.23");
    EXPECT_EQ(numberVariable(L"TEXTSIZE"), 2.5);  // the height given becomes the default

    ListArguments justified{L"J", L"MC", L"5,5", L"", L"", L"centre"};
    run(L"_TEXT", justified);
    made = entities();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(groupInt(made[1]->data, 72), 1);
    EXPECT_EQ(groupInt(made[1]->data, 73), 2);
    EXPECT_EQ(groupPoint(made[1]->data, 11), (Point3{5, 5, 0}));
    EXPECT_EQ(groupReal(made[1]->data, 40), 2.5);

    ListArguments empty{L"0,0", L"1", L"0", L""};
    run(L"text", empty);
    ListArguments bad{L"0,0", L"-1", L"abc", L"1", L"x", L"0", L"fine"};
    const std::string shown = run(L"text", bad);
    EXPECT_EQ(entities().size(), 3u);
    EXPECT_NE(shown.find("Requires a positive number."), std::string::npos);
}

TEST_F(HostCommandsTest, ZoomTakesItsArgumentsAndChangesNothing) {
    ListArguments extents{L"e"};
    run(L"zoom", extents);
    EXPECT_EQ(extents.left(), 0u);
    ListArguments window{L"W", L"0,0", L"10,10", L"next"};
    run(L"ZOOM", window);
    EXPECT_EQ(window.left(), 1u);
    ListArguments scale{L"2x", L"next"};
    run(L"zoom", scale);
    EXPECT_EQ(scale.left(), 1u);
    EXPECT_TRUE(entities().empty());
}

TEST_F(HostCommandsTest, UnknownNamesAreLeftToTheCaller) {
    ListArguments args{L"x"};
    run(L"NOSUCHCOMMAND", args, false);
    run(L"", args, false);
    EXPECT_EQ(args.left(), 1u);
}

}  // namespace
}  // namespace tz::cad
