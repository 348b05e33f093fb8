// Point blocks in the drawing: references of the block "TZNODE" whose
// attributes carry the point number (first) and description (third). Shared
// by the point exports and the point dump.
#pragma once

#include <string>
#include <vector>

#include "adsdef.h"
#include "points/PointRecord.h"

namespace tz::pointexport {

// Selects point blocks with the one-entry filter (group 2 = "TZNODE"):
// interactively when mode is null, the whole drawing with "X". The status of
// the selection (RTNORM, RTERROR when nothing was found, RTCAN).
int selectPointBlocks(const ACHAR* mode, ads_name selection);

// The record of one point block: its insertion point, its first attribute as
// the point number and its third as the description. Attributes are the
// ATTRIB entities that follow the reference; a missing one reads as empty
// text, and the reading never runs into the next entity.
PointRecord readPointBlock(const ads_name insert, std::wstring* numberText = nullptr);

// The records of a selection read from its end to its start, as the exports
// and the point dump take them.
std::vector<PointRecord> recordsFromEnd(const ads_name selection, int32_t length);

// Writes text to a new file (replacing an old one) as a text file. On
// failure prints a message naming the file and returns false.
bool writeTextFile(const std::wstring& path, const std::string& text);

}  // namespace tz::pointexport
