// DXF group codes and the kind of value each one carries, as entity lists,
// selection filters and DXF files use them.
#pragma once

namespace tz::cad {

// The result-buffer value type of a DXF group code: RTSTR, RT3DPOINT, RTREAL,
// RTSHORT, RTLONG or RTENAME. RTDXF0 (the stand-in for group 0 in lists built
// with acutBuildList, whose 0 ends the list) is RTSTR. Codes that are no DXF
// group code give RTNONE.
int groupValueType(int code);

// True for the codes whose value is a point (x code; y is code + 10, z code + 20 in a file).
bool isPointCode(int code);

// True for the codes of extended entity data (1000-1071).
inline bool isExtendedDataCode(int code) { return code >= 1000 && code <= 1071; }

}  // namespace tz::cad
