// The host's wildcard patterns, as selection filters and wcmatch use them.
#pragma once

#include <string_view>

namespace tz::cad {

// True when `text` matches `pattern`. A pattern is a comma-separated list of
// alternatives; in each: # a digit, @ a letter, . a character that is neither,
// * any sequence (empty too), ? any one character, [abc] [a-z] one of a set,
// [~abc] one not in it, ` takes the next character literally, and a leading ~
// matches what the rest does not. `ignoreCase` compares letters without case
// (selection filters do; wcmatch does not).
bool wildcardMatch(std::wstring_view pattern, std::wstring_view text, bool ignoreCase);

}  // namespace tz::cad
