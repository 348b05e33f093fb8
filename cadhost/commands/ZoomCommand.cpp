// ZOOM: there is no view in this host, so every option is taken and does
// nothing; the arguments are read as the host's command reads them so that
// scripts and acedCommand lists stay in step.
#include "commands/CommandInput.h"
#include "commands/HostCommandBodies.h"
#include "core/Console.h"

namespace tz::cad {

namespace {

bool isScaleFactor(std::wstring_view answer) {
    answer = trimBlanks(answer);
    if (answer.size() > 2 && (answer.substr(answer.size() - 2) == L"XP" || answer.substr(answer.size() - 2) == L"xp")) {
        answer.remove_suffix(2);
    } else if (!answer.empty() && (answer.back() == L'X' || answer.back() == L'x')) {
        answer.remove_suffix(1);
    }
    std::optional<double> factor = parseNumber(answer);
    return factor && *factor > 0;
}

// A point prompt repeated until it gets a point; false when cancelled.
bool readPoint(CommandArguments& args, const wchar_t* prompt) {
    for (;;) {
        std::optional<std::wstring> answer = args.next(prompt);
        if (!answer) return false;
        if (parsePoint(*answer)) return true;
        console().print(L"Invalid point.");
    }
}

}  // namespace

void runZoomCommand(CommandArguments& args) {
    for (;;) {
        std::optional<std::wstring> answer = args.next(
            L"\nSpecify corner of window, enter a scale factor (nX or nXP), or\n"
            L"[All/Center/Extents/Previous/Scale/Window/Object] <real time>: ");
        if (!answer) return reportCancel();
        const std::wstring_view option = trimBlanks(*answer);
        if (option.empty() || isKeyword(option, L"All", 1) || isKeyword(option, L"Extents", 1) ||
            isKeyword(option, L"Previous", 1) || isScaleFactor(option)) {
            return;
        }
        if (isKeyword(option, L"Window", 1)) {
            if (!readPoint(args, L"\nSpecify first corner: ") || !readPoint(args, L"\nSpecify opposite corner: ")) {
                return reportCancel();
            }
            return;
        }
        if (parsePoint(option)) {
            if (!readPoint(args, L"\nSpecify opposite corner: ")) return reportCancel();
            return;
        }
        if (isKeyword(option, L"Center", 1)) {
            if (!readPoint(args, L"\nSpecify center point: ")) return reportCancel();
            if (!args.next(L"\nEnter magnification or height: ")) return reportCancel();
            return;
        }
        if (isKeyword(option, L"Scale", 1)) {
            if (!args.next(L"\nEnter a scale factor (nX or nXP): ")) return reportCancel();
            return;
        }
        if (isKeyword(option, L"Object", 1)) {
            for (;;) {
                std::optional<std::wstring> selection = args.next(L"\nSelect objects: ");
                if (!selection) return reportCancel();
                if (trimBlanks(*selection).empty()) return;
            }
        }
        console().print(L"Requires a distance, numberX, or option keyword.");
    }
}

}  // namespace tz::cad
