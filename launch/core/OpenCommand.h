// The program named by a file association's open command, such as
//   "C:\Program Files\Host\bricscad.exe" "%1"
//   C:\Host\bricscad.exe /p
#pragma once

#include <string>
#include <string_view>

namespace tz::launch {

// The executable at the start of `openCommand`: when the command starts with a
// double quote, the characters between it and the next double quote (to the end
// when there is none); otherwise the characters before the first blank, so an
// unquoted path with blanks in it is cut there. Blanks before the command are
// skipped.
std::string executableOfOpenCommand(std::string_view openCommand);

// The path in double quotes, the form the launchers show and start.
std::string quotedPath(std::string_view path);

}  // namespace tz::launch
