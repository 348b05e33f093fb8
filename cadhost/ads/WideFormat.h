// printf-style formatting with the host's wide conventions, where %s and %c
// in a wide format take wide strings and characters (%hs and %hc narrow ones).
#pragma once

#include <cstdarg>
#include <string>

namespace tz::cad {

// Formats like vswprintf after translating the host's conventions to this
// platform's. Any length of output.
std::wstring formatWide(const wchar_t* format, va_list args);

// The format with %s/%c turned into %ls/%lc and %hs/%hc into %s/%c.
std::wstring translateWideFormat(const wchar_t* format);

}  // namespace tz::cad
