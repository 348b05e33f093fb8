// Wildcard matching of a whole text, letter case included: "?" matches any one
// character, "*" any run of characters (an empty one too).
#pragma once

#include <string_view>

namespace tz::launch {

// True when `pattern` matches all of `text`. When a character fails to match,
// matching resumes just after the most recent "*", which takes one more
// character of the text; without an earlier "*" the match fails. Trailing "*"
// characters match the end of the text. Linear in the text for each star tried.
bool matchesWildcard(std::string_view pattern, std::string_view text);

}  // namespace tz::launch
