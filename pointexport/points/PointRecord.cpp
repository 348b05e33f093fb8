#include "points/PointRecord.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>

namespace tz::pointexport {

int32_t parsePointNumber(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = std::min<int64_t>(value * 10 + (text[i] - L'0'), int64_t{INT32_MAX} + 1);
    }
    if (negative) value = -value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

std::wstring pointName(const std::wstring& numberText) {
    return (L"TZ" + numberText).substr(0, kMaxPointName);
}

std::wstring recordDescription(const std::wstring& text) { return text.substr(0, kMaxDescription); }

void sortByNumber(std::vector<PointRecord>& records) {
    std::stable_sort(records.begin(), records.end(),
                     [](const PointRecord& a, const PointRecord& b) { return a.number < b.number; });
}

}  // namespace tz::pointexport
