#include "points/PointFormats.h"

#include <cstdio>

#include "FileSystem.h"

namespace tz::pointexport {

namespace {

std::string fixed(double value) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%lf", value);
    return buffer;
}

std::string blanks(int n) { return std::string(static_cast<size_t>(n), ' '); }

// A description as one line of text: a line break inside it (an attribute
// of several lines) would start what any reader takes for another point.
std::string descriptionText(const std::wstring& description) {
    std::string text = tz::platform::toUtf8(description);
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

}  // namespace

std::string pointFileLine(const PointRecord& record, ColumnOrder order, bool commas) {
    const std::string gap = commas ? "," : " ";
    if (order == ColumnOrder::CoordinatesOnly) {
        return fixed(record.easting) + gap + fixed(record.northing) + gap + fixed(record.elevation) + "\n";
    }
    const bool northingFirst = order == ColumnOrder::NumberNorthingEasting;
    const double first = northingFirst ? record.northing : record.easting;
    const double second = northingFirst ? record.easting : record.northing;
    return std::to_string(record.number) + gap + fixed(first) + gap + fixed(second) + gap + fixed(record.elevation) +
           gap + descriptionText(record.description) + "\n";
}

std::string nodeListHeader(bool eastingFirst) {
    const std::string first =
        eastingFirst ? "NO.           EASTING                NORTHING             ELEVATION        DESCRIPTION\n"
                     : "NO.           NORTHING               EASTING              ELEVATION        DESCRIPTION\n";
    return first + "----------    -------------------    -------------------  --------------   -----------\n";
}

int numberPadding(int32_t n) {
    int pad = 9;
    for (int32_t limit = 10; pad > 1 && n >= limit; limit *= 10) {
        --pad;
        if (limit == 100000000) break;
    }
    return pad;
}

int coordinatePadding(double v) {
    int pad = 15;
    for (double limit = 10; pad > 1 && v >= limit; limit *= 10) --pad;
    return pad;
}

int elevationPadding(double z) {
    int pad = 8;
    for (double limit = 10; pad > 1 && z >= limit; limit *= 10) --pad;
    return pad;
}

std::string nodeListLine(const PointRecord& record, bool eastingFirst) {
    const double first = eastingFirst ? record.easting : record.northing;
    const double second = eastingFirst ? record.northing : record.easting;
    std::string line = "\n";
    line += blanks(numberPadding(record.number)) + std::to_string(record.number);
    line += blanks(coordinatePadding(first)) + fixed(first) + blanks(coordinatePadding(second)) + fixed(second);
    line += blanks(elevationPadding(record.elevation)) + fixed(record.elevation) + "    ";
    line += descriptionText(record.description);
    return line;
}

std::string pointDumpLine(const PointRecord& record) {
    char buffer[1600];
    std::snprintf(buffer, sizeof buffer, "%0.4lf %0.4lf %0.4lf\n", record.easting, record.northing, record.elevation);
    return buffer;
}

}  // namespace tz::pointexport
