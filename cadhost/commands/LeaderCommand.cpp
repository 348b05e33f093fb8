// LEADER: points until Enter, then annotation lines until Enter. The first
// point is the arrow's; the text becomes an MTEXT beside the last point,
// which the LEADER names as its annotation.
#include <cmath>
#include <vector>

#include "commands/CommandInput.h"
#include "commands/HostCommandBodies.h"
#include "core/Console.h"
#include "drawing/CurrentDrawing.h"
#include "drawing/EntityMaker.h"
#include "drawing/SessionSettings.h"

namespace tz::cad {

namespace {

struct LeaderInput {
    std::vector<Point3> points;
    std::vector<std::wstring> lines;
    bool spline = false;
    bool arrow = true;
};

enum class Step { Done, Cancelled, Abandoned };

// Asks for a point until one comes; "" gives an empty optional in `point`.
Step askPoint(CommandArguments& args, const wchar_t* prompt, const std::optional<Point3>& last,
              std::optional<Point3>& point, std::optional<std::wstring>* keyword = nullptr) {
    for (;;) {
        std::optional<std::wstring> answer = args.next(prompt);
        if (!answer) return Step::Cancelled;
        if (trimBlanks(*answer).empty()) {
            point.reset();
            return Step::Done;
        }
        if ((point = parsePoint(*answer, last))) return Step::Done;
        if (keyword != nullptr) {
            *keyword = std::wstring(trimBlanks(*answer));
            return Step::Done;
        }
        console().print(L"Invalid point.");
    }
}

Step askFormat(CommandArguments& args, LeaderInput& input) {
    for (;;) {
        std::optional<std::wstring> answer = args.next(L"\nEnter leader format option [Spline/STraight/Arrow/None] <Exit>: ");
        if (!answer) return Step::Cancelled;
        const std::wstring_view option = trimBlanks(*answer);
        if (option.empty() || isKeyword(option, L"Exit", 1)) return Step::Done;
        if (isKeyword(option, L"STraight", 2)) {
            input.spline = false;
        } else if (isKeyword(option, L"Spline", 1)) {
            input.spline = true;
        } else if (isKeyword(option, L"Arrow", 1)) {
            input.arrow = true;
        } else if (isKeyword(option, L"None", 1)) {
            input.arrow = false;
        } else {
            console().print(L"Invalid option keyword.");
            continue;
        }
        return Step::Done;
    }
}

Step readPoints(CommandArguments& args, LeaderInput& input) {
    std::optional<Point3> point;
    if (Step step = askPoint(args, L"\nSpecify leader start point: ", std::nullopt, point); step != Step::Done) {
        return step;
    }
    if (!point) return Step::Abandoned;
    input.points.push_back(*point);
    for (;;) {
        const bool canAnnotate = input.points.size() >= 2;
        std::optional<std::wstring> keyword;
        const wchar_t* prompt = canAnnotate ? L"\nSpecify next point or [Annotation/Format/Undo] <Annotation>: "
                                            : L"\nSpecify next point: ";
        if (Step step = askPoint(args, prompt, input.points.back(), point, canAnnotate ? &keyword : nullptr);
            step != Step::Done) {
            return step;
        }
        if (point) {
            input.points.push_back(*point);
            continue;
        }
        if (!canAnnotate) return Step::Abandoned;  // Enter before a second point: no leader
        if (!keyword || isKeyword(*keyword, L"Annotation", 1)) return Step::Done;
        if (isKeyword(*keyword, L"Undo", 1)) {
            input.points.pop_back();
        } else if (isKeyword(*keyword, L"Format", 1)) {
            if (askFormat(args, input) == Step::Cancelled) return Step::Cancelled;
        } else {
            console().print(L"Invalid point or option keyword.");
        }
    }
}

Step readAnnotation(CommandArguments& args, LeaderInput& input) {
    std::optional<std::wstring> line = args.next(L"\nEnter first line of annotation text or <options>: ");
    if (!line) return Step::Cancelled;
    if (line->empty()) {
        // The editor and the other kinds of annotation are not offered here:
        // whatever is chosen, the leader goes without text.
        if (!args.next(L"\nEnter an annotation option [Tolerance/Copy/Block/None/Mtext] <Mtext>: ")) {
            return Step::Cancelled;
        }
        return Step::Done;
    }
    input.lines.push_back(*line);
    for (;;) {
        line = args.next(L"\nEnter next line of annotation text: ");
        if (!line) return Step::Cancelled;
        if (line->empty()) return Step::Done;
        input.lines.push_back(*line);
    }
}

void makeLeader(const LeaderInput& input) {
    Drawing& drawing = currentDrawing();
    const MakeContext context = sessionMakeContext();
    double scale = numberVariable(L"DIMSCALE").value_or(1.0);
    if (scale <= 0) scale = 1.0;  // 0 means "by viewport", and there are none here
    const double height = numberVariable(L"DIMTXT").value_or(0.18) * scale;
    const double gap = numberVariable(L"DIMGAP").value_or(0.09) * scale;
    size_t longest = 0;
    for (const std::wstring& line : input.lines) longest = std::max(longest, line.size());

    GroupList leader = {stringGroup(0, L"LEADER"), stringGroup(3, L"Standard"), intGroup(71, input.arrow ? 1 : 0),
                        intGroup(72, input.spline ? 1 : 0), intGroup(73, input.lines.empty() ? 3 : 0),
                        intGroup(74, 0), intGroup(75, 0), realGroup(40, height),
                        realGroup(41, static_cast<double>(longest) * height * 0.7)};
    for (const Point3& point : input.points) leader.push_back(pointGroup(10, point));
    const MakeResult madeLeader = makeFromList(drawing, leader, context);
    if (madeLeader.outcome != MakeOutcome::Made || input.lines.empty()) return;

    // The text stands beside the last point, on the side the last segment runs to.
    const Point3& last = input.points.back();
    const Point3& before = input.points[input.points.size() - 2];
    const bool leftwards = last.x < before.x;
    std::wstring text;
    for (const std::wstring& line : input.lines) text += (text.empty() ? L"" : L"\\P") + line;
    GroupList mtext = {stringGroup(0, L"MTEXT"), pointGroup(10, {last.x + (leftwards ? -gap : gap), last.y, last.z}),
                       realGroup(40, height), realGroup(41, 0.0), intGroup(71, leftwards ? 6 : 4), intGroup(72, 1),
                       stringGroup(1, text)};
    if (std::optional<std::wstring> style = textVariable(L"TEXTSTYLE")) mtext.push_back(stringGroup(7, *style));
    MakeResult madeText = makeFromList(drawing, mtext, context);
    if (madeText.outcome != MakeOutcome::Made) {  // an unknown current style: the standard one
        std::erase_if(mtext, [](const Group& g) { return g.code == 7; });
        madeText = makeFromList(drawing, mtext, context);
    }
    if (madeText.outcome == MakeOutcome::Made) {
        Entity* made = drawing.find(madeLeader.handle);
        made->data.push_back({340, HandleRef{madeText.handle}});
    }
}

}  // namespace

void runLeaderCommand(CommandArguments& args) {
    LeaderInput input;
    Step step = readPoints(args, input);
    if (step == Step::Done) step = readAnnotation(args, input);
    if (step == Step::Cancelled) return reportCancel();
    if (step == Step::Done) makeLeader(input);
}

}  // namespace tz::cad
