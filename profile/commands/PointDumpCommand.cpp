// ptgrab: the selected point blocks' coordinates to a text file, in
// ascending order of point number.
#include <string>
#include <vector>

#include "ProfileCommands.h"
#include "arxHeaders.h"
#include "blocks/PointBlocks.h"
#include "points/PointFormats.h"

using namespace tz::pointexport;

int pointDumpCommand() {
    ads_name selection = {0, 0};  // no set, should the selection find none
    if (selectPointBlocks(nullptr, selection) == RTERROR) {
        acdbFail(_T("\nThere are no points in the drawing!"));
        return RTERROR;
    }
    int32_t length = 0;
    if (acedSSLength(selection, &length) != RTNORM) {
        acdbFail(_T("\nThere are no points in the selection!"));
        return RTERROR;
    }
    std::vector<PointRecord> records = recordsFromEnd(selection, length);
    resbuf result{};
    if (acedGetFileD(_T("Name of file to create"), nullptr, _T("dat"), 1, &result) != RTNORM) {
        acedSSFree(selection);
        return RTCAN;
    }
    const std::wstring path = result.resval.rstring;
    acutDelString(result.resval.rstring);
    // Written by ascending number, equal numbers in the order read; numbers
    // below 1, which counting from 1 would never reach, come first.
    sortByNumber(records);
    std::string text;
    for (const PointRecord& record : records) text += pointDumpLine(record);
    const bool written = writeTextFile(path, text);
    acedSSFree(selection);
    return written ? RTNORM : RTERROR;
}
