// The bodies of the host commands, one file each; runHostCommand picks them
// by name. Each reads its arguments in the order the host's own command asks
// for them, makes its entities in the open drawing and returns when done or
// cancelled (a cancel prints "*Cancel*" and makes nothing half-way).
#pragma once

#include "commands/HostCommands.h"

namespace tz::cad {

void runLayerCommand(CommandArguments& args);
void runZoomCommand(CommandArguments& args);
void runLeaderCommand(CommandArguments& args);
void runTextCommand(CommandArguments& args);

// Shared by the bodies: the cancel message, keyword matching and the
// session's current values.
void reportCancel();
// True when `answer` is the keyword or a leading part of it at least
// `shortest` characters long (case-insensitive, a leading '_' allowed).
bool isKeyword(std::wstring_view answer, std::wstring_view keyword, size_t shortest);
// A real in the drawing's linear units and precision, as prompts show defaults.
std::wstring formatDistance(double value);

}  // namespace tz::cad
