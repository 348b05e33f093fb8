// The texts the launchers write: the lines appended to a LISP loader, the
// start-up script and the host's start parameters. 8-bit text with "\n" line
// ends; the files take them as the suite's text files do (CR LF on disk).
#pragma once

#include <string>
#include <string_view>

namespace tz::launch {

// The install folder ready for file names to be appended: a folder that does
// not end in '\' or '/' gets one ('/' when the folder is written with '/' only,
// else '\'). An empty folder stays empty.
std::string withTrailingSeparator(std::string_view folder);

// Every backslash doubled: the text as a LISP string literal must spell it.
std::string escapeBackslashes(std::string_view text);

// The two lines appended to a loader: (setq dpath "<folder, escaped>") and a
// call of `pathFunction`, each ended by "\n".
std::string loaderLines(std::string_view installFolder, std::string_view pathFunction);

// The start-up script that loads `loaderPath`: (LOAD "<path, escaped>"), a line
// break and the comment ";;End of script", with no line break after it.
std::string scriptText(std::string_view loaderPath);

// The host's start parameters: the switch that runs a script at start, then the
// script's path in double quotes with single backslashes; a leading blank.
std::string startParameters(std::string_view scriptPath);

}  // namespace tz::launch
