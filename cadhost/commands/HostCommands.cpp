#include "commands/HostCommands.h"

#include "acdbads.h"
#include "commands/CommandInput.h"
#include "commands/HostCommandBodies.h"
#include "core/Console.h"
#include "drawing/Group.h"

namespace tz::cad {

void reportCancel() {
    console().freshLine();
    console().print(L"*Cancel*\n");
}

bool isKeyword(std::wstring_view answer, std::wstring_view keyword, size_t shortest) {
    answer = trimBlanks(answer);
    if (!answer.empty() && answer.front() == L'_') answer.remove_prefix(1);
    if (answer.size() < shortest || answer.size() > keyword.size()) return false;
    return equalsIgnoreCase(answer, keyword.substr(0, answer.size()));
}

std::wstring formatDistance(double value) {
    ACHAR text[64] = {};
    if (acdbRToS(value, -1, -1, text, 64) != RTNORM) return std::to_wstring(value);
    return text;
}

bool runHostCommand(std::wstring_view name, CommandArguments& args) {
    while (!name.empty() && (name.front() == L'_' || name.front() == L'.')) name.remove_prefix(1);
    const std::wstring key = upperCase(trimBlanks(name));
    if (key == L"LAYER" || key == L"-LAYER") {
        runLayerCommand(args);
    } else if (key == L"ZOOM") {
        runZoomCommand(args);
    } else if (key == L"LEADER") {
        runLeaderCommand(args);
    } else if (key == L"TEXT" || key == L"DTEXT") {
        runTextCommand(args);
    } else {
        return false;
    }
    return true;
}

}  // namespace tz::cad
