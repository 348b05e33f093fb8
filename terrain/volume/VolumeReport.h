// The volumes command's report line and the settings its dialog fills.
#pragma once

#include <string>

#include "volume/VolumeGrid.h"

namespace tz::terrain::volume {

// Totals in the reported unit: cubic feet become cubic yards (divided by
// 27) when the project works in feet; otherwise they stay as computed.
VolumeTotals inReportUnits(const VolumeTotals& totals, bool feet);

// "Cut=%lf\tFill=%lf\tNet=%s %lf " with |cut|, |fill|, "Cut" for a negative
// net and "Fill" otherwise, and |net|; then "Cubic Yards\n" in feet, else
// "Cubic Meters\n". The totals are already in the reported unit.
std::string volumeReport(const VolumeTotals& totals, bool feet);

// Plain decimal conversion of a dialog text: the leading decimal number
// (optional blanks, sign, digits with an optional point, optional exponent),
// 0 when the text does not start with one or its value is not finite.
double leadingDecimal(const std::wstring& text);

}  // namespace tz::terrain::volume
