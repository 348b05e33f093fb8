// The text forms of exported points: point files, the padded node list and
// the point dump. Text is UTF-8; every line ends in "\n" (the text file
// stores it as CR LF).
#pragma once

#include <string>

#include "points/PointRecord.h"

namespace tz::pointexport {

enum class ColumnOrder { NumberNorthingEasting, NumberEastingNorthing, CoordinatesOnly };

// One line of a point file: "%d,%lf,%lf,%lf,%s\n" and its kin, with commas
// or blanks between the values.
std::string pointFileLine(const PointRecord& record, ColumnOrder order, bool commas);

// The two header lines of the node list, northing first or easting first.
std::string nodeListHeader(bool eastingFirst);

// One point of the node list: a line break first, then the number and the
// three values right-aligned under the header's dash groups, four blanks and
// the description.
std::string nodeListLine(const PointRecord& record, bool eastingFirst);

// The blanks placed before a number, a coordinate and an elevation in the node list.
int numberPadding(int32_t n);
int coordinatePadding(double v);
int elevationPadding(double z);

// One line of the point dump: easting, northing and elevation to four decimals.
std::string pointDumpLine(const PointRecord& record);

}  // namespace tz::pointexport
