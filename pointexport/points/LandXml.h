// The LandXML 1.1 document of exported points.
#pragma once

#include <string>
#include <vector>

#include "points/PointRecord.h"

namespace tz::pointexport {

struct CreationStamp {
    std::string date;  // YYYY-MM-DD
    std::string time;  // HH:MM:SS
};

// The date and time cut from the drawing's CDATE written with eight decimals
// ("20240315.14302512" gives 2024-03-15 and 14:30:25). Short text (trailing
// zeros left off) reads as if the zeros were there. Seconds that the
// rounding carried to 60 read 59.
CreationStamp creationStamp(const std::string& cdateText);

// Attribute text with the five characters XML reserves replaced by their
// entity references, tab, line feed and carriage return by character
// references, and the other control characters and U+FFFE and U+FFFF,
// which XML does not allow, by U+FFFD.
std::string escapeAttribute(const std::string& text);

// The whole document, line by line, for the records in the order given.
std::string landXmlDocument(const std::vector<PointRecord>& records, const CreationStamp& stamp);

}  // namespace tz::pointexport
