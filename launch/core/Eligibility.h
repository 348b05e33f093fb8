// Which drawing programs the suite launcher serves.
#pragma once

#include <string_view>

namespace tz::launch {

// True when `executable` (the program path taken from the open command) is the
// supported host: its last 12 characters are "bricscad.exe", letter case
// included, and its quoted path matches neither "*Carlson*" nor "*MicroSurvey*"
// (host variants of other vendors, which the suite does not serve).
bool isSupportedHost(std::string_view executable);

}  // namespace tz::launch
