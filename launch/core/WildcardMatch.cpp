#include "core/WildcardMatch.h"

namespace tz::launch {

bool matchesWildcard(std::string_view pattern, std::string_view text) {
    constexpr size_t kNoStar = std::string_view::npos;
    size_t p = 0;
    size_t t = 0;
    size_t lastStar = kNoStar;   // pattern position of the most recent "*"
    size_t starTakenUpTo = 0;    // text position where that "*" currently ends
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            lastStar = p++;
            starTakenUpTo = t;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (lastStar != kNoStar) {
            p = lastStar + 1;
            t = ++starTakenUpTo;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace tz::launch
