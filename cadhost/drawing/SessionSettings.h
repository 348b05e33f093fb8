// The session's system variables as the drawing side needs them, read
// through acedGetVar: the current layer, text sizes, the pick box.
#pragma once

#include <optional>
#include <string>

#include "drawing/EntityRules.h"

namespace tz::cad {

std::optional<std::wstring> textVariable(const wchar_t* name);
// A real or integer variable as a number.
std::optional<double> numberVariable(const wchar_t* name);

// What entmake and the host commands take from the session: CLAYER (a layer
// name that is no valid name counts as "0") and TEXTSIZE.
MakeContext sessionMakeContext();

}  // namespace tz::cad
