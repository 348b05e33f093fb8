// Survey points as the drawing holds them (point blocks) and as the exports
// write them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tz::pointexport {

// One selected point block.
struct PointRecord {
    int32_t number = 0;
    double easting = 0, northing = 0, elevation = 0;
    std::wstring description;  // the third attribute, at most kMaxDescription characters
};

inline constexpr size_t kMaxDescription = 510;
inline constexpr size_t kMaxPointName = 32;

// The point number of a first attribute's text: leading white space, an
// optional sign and the digits up to the first other character, as a signed
// 32-bit number (held at its limits when the digits go beyond them); 0 when
// there are no leading digits ("abc" and "" give 0, "12A" gives 12).
int32_t parsePointNumber(const std::wstring& text);

// The point name `getcrd` reports: "TZ" and the first attribute's text, cut
// to 32 characters in all.
std::wstring pointName(const std::wstring& numberText);

// A description as a record keeps it: cut to 510 characters.
std::wstring recordDescription(const std::wstring& text);

// The records in ascending point number; equal numbers keep their order.
void sortByNumber(std::vector<PointRecord>& records);

}  // namespace tz::pointexport
