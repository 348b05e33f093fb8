// TEXT: start point (or a justification and its point, or a style), height,
// rotation in degrees and one line of text, made as a TEXT entity on the
// current layer. An empty line makes nothing.
#include "acedads.h"
#include "commands/CommandInput.h"
#include "commands/HostCommandBodies.h"
#include "core/Console.h"
#include "drawing/CurrentDrawing.h"
#include "drawing/EntityMaker.h"
#include "drawing/SessionSettings.h"

namespace tz::cad {

namespace {

struct Justification {
    const wchar_t* keyword;
    const wchar_t* pointName;
    int horizontal;  // 72
    int vertical;    // 73
};

constexpr Justification kJustifications[] = {
    {L"Center", L"center", 1, 0}, {L"Middle", L"middle", 4, 0},      {L"Right", L"right", 2, 0},
    {L"TL", L"top-left", 0, 3},   {L"TC", L"top-center", 1, 3},       {L"TR", L"top-right", 2, 3},
    {L"ML", L"middle-left", 0, 2}, {L"MC", L"middle-center", 1, 2},   {L"MR", L"middle-right", 2, 2},
    {L"BL", L"bottom-left", 0, 1}, {L"BC", L"bottom-center", 1, 1},   {L"BR", L"bottom-right", 2, 1},
};

struct TextInput {
    Point3 point;
    const Justification* justification = nullptr;
    std::wstring style;
    double height = 0;
    double rotation = 0;
};

std::optional<Point3> askPoint(CommandArguments& args, const std::wstring& prompt, bool& cancelled) {
    for (;;) {
        std::optional<std::wstring> answer = args.next(prompt);
        if (!answer) {
            cancelled = true;
            return std::nullopt;
        }
        if (std::optional<Point3> point = parsePoint(*answer)) return point;
        console().print(L"Invalid point.");
    }
}

// The start point, after any Justify and Style options; false when cancelled.
bool readPlacement(CommandArguments& args, TextInput& input) {
    bool cancelled = false;
    for (;;) {
        std::optional<std::wstring> answer = args.next(L"\nSpecify start point of text or [Justify/Style]: ");
        if (!answer) return false;
        const std::wstring_view option = trimBlanks(*answer);
        if (std::optional<Point3> point = parsePoint(option)) {
            input.point = *point;
            return true;
        }
        if (isKeyword(option, L"Style", 1)) {
            std::optional<std::wstring> name = args.next(L"\nEnter style name or [?] <" + input.style + L">: ");
            if (!name) return false;
            const std::wstring_view wanted = trimBlanks(*name);
            if (wanted.empty()) continue;
            if (const TableRecord* style = Drawing::findRecord(currentDrawing().textStyles(), wanted)) {
                input.style = style->name;
            } else {
                console().print(L"Cannot find text style \"" + std::wstring(wanted) + L"\".");
            }
            continue;
        }
        if (isKeyword(option, L"Justify", 1)) {
            std::optional<std::wstring> choice = args.next(
                L"\nEnter an option [Center/Middle/Right/TL/TC/TR/ML/MC/MR/BL/BC/BR]: ");
            if (!choice) return false;
            for (const Justification& justification : kJustifications) {
                const size_t shortest = std::wstring_view(justification.keyword).size() == 2 ? 2 : 1;
                if (!isKeyword(*choice, justification.keyword, shortest)) continue;
                input.justification = &justification;
                std::optional<Point3> point =
                    askPoint(args, L"\nSpecify " + std::wstring(justification.pointName) + L" point of text: ", cancelled);
                if (!point) return false;
                input.point = *point;
                return true;
            }
            console().print(L"Invalid option keyword.");
            continue;
        }
        console().print(L"Invalid point or option keyword.");
    }
}

}  // namespace

void runTextCommand(CommandArguments& args) {
    TextInput input;
    input.style = textVariable(L"TEXTSTYLE").value_or(L"Standard");
    if (!Drawing::findRecord(currentDrawing().textStyles(), input.style)) input.style = L"Standard";
    double defaultHeight = numberVariable(L"TEXTSIZE").value_or(0.2);
    if (!(defaultHeight > 0)) defaultHeight = 0.2;
    console().freshLine();
    console().print(L"Current text style:  \"" + input.style + L"\"  Text height:  " + formatDistance(defaultHeight));
    if (!readPlacement(args, input)) return reportCancel();

    for (;;) {
        std::optional<std::wstring> answer = args.next(L"\nSpecify height <" + formatDistance(defaultHeight) + L">: ");
        if (!answer) return reportCancel();
        if (trimBlanks(*answer).empty()) {
            input.height = defaultHeight;
            break;
        }
        std::optional<double> height = parseNumber(*answer);
        if (height && *height > 0) {
            input.height = *height;
            break;
        }
        console().print(L"Requires a positive number.");
    }
    for (;;) {
        std::optional<std::wstring> answer = args.next(L"\nSpecify rotation angle of text <0>: ");
        if (!answer) return reportCancel();
        if (trimBlanks(*answer).empty()) break;
        if (std::optional<double> degrees = parseNumber(*answer)) {
            input.rotation = *degrees;
            break;
        }
        console().print(L"Requires a valid angle.");
    }
    std::optional<std::wstring> text = args.next(L"\nEnter text: ");
    if (!text) return reportCancel();
    if (text->empty()) return;

    // The height given becomes the session's text size, as the host keeps it.
    resbuf size{};
    size.restype = RTREAL;
    size.resval.rreal = input.height;
    acedSetVar(L"TEXTSIZE", &size);

    GroupList list = {stringGroup(0, L"TEXT"), pointGroup(10, input.point), realGroup(40, input.height),
                      stringGroup(1, *text), realGroup(50, input.rotation), stringGroup(7, input.style)};
    if (input.justification != nullptr) {
        list.push_back(intGroup(72, input.justification->horizontal));
        list.push_back(intGroup(73, input.justification->vertical));
        list.push_back(pointGroup(11, input.point));
    }
    makeFromList(currentDrawing(), list, sessionMakeContext());
}

}  // namespace tz::cad
