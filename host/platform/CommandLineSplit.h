// Splitting a Windows command line into arguments, as a Windows program's
// argument vector receives them: what a program started with a parameter
// string gets on this platform.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tz::platform {

// The arguments of `parameters` (the part of a command line after the program)
// by the Windows rules: blanks and tabs separate arguments outside quotes; a
// double quote starts or ends a quoted run and is dropped; 2n backslashes
// before a quote give n backslashes, 2n+1 give n backslashes and a literal
// quote; backslashes elsewhere stand for themselves; in a run of quotes every
// third one is a literal quote. "" gives an empty argument.
std::vector<std::string> splitCommandLineArguments(std::string_view parameters);

}  // namespace tz::platform
