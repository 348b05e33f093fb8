// The point exports: point files (exprtpnezd, exprtpenzd, exprtxyz), node
// lists in the drawing's folder (listnode, listnode2) and LandXML (exprtxml).
#include <string>
#include <vector>

#include "FileSystem.h"
#include "PointExportCommands.h"
#include "arxHeaders.h"
#include "blocks/PointBlocks.h"
#include "points/LandXml.h"
#include "points/PointFormats.h"

using namespace tz::pointexport;

namespace {

// Selects point blocks and reads their records from the end of the set;
// false (after the message) when there is nothing to export.
bool selectRecords(std::vector<PointRecord>& records) {
    ads_name selection = {0, 0};  // no set, should the selection find none
    const int status = selectPointBlocks(nullptr, selection);
    if (status == RTERROR) {
        acdbFail(_T("\nThere are no points in the drawing!"));
        return false;
    }
    int32_t length = 0;
    if (status != RTNORM || acedSSLength(selection, &length) != RTNORM) return false;
    records = recordsFromEnd(selection, length);
    acedSSFree(selection);
    return true;
}

// The file dialog of the exports; empty when it was cancelled.
std::wstring askFile(const ACHAR* title, const ACHAR* extension, int flags) {
    resbuf result{};
    if (acedGetFileD(title, nullptr, extension, flags, &result) != RTNORM) return L"";
    std::wstring path = result.resval.rstring ? result.resval.rstring : L"";
    acutDelString(result.resval.rstring);
    return path;
}

int exportPointFile(ColumnOrder order) {
    std::vector<PointRecord> records;
    if (!selectRecords(records)) return RTERROR;
    if (order != ColumnOrder::CoordinatesOnly) sortByNumber(records);
    const std::wstring path = askFile(_T("Name of file to create"), _T("asc"), 1);
    if (path.empty()) return RTCAN;
    acedInitGet(1, _T("1 2"));
    ACHAR reply[2] = {0};
    if (acedGetKword(_T("\nEnter 1 for comma delineator, or 2 for space: "), reply, 2) != RTNORM) return RTCAN;
    const bool commas = std::wstring(reply) == L"1";
    std::string text;
    for (const PointRecord& record : records) text += pointFileLine(record, order, commas);
    return writeTextFile(path, text) ? RTNORM : RTERROR;
}

int exportNodeList(bool eastingFirst) {
    std::vector<PointRecord> records;
    if (!selectRecords(records)) return RTERROR;
    sortByNumber(records);
    resbuf folder{};
    std::wstring path = L"nodelist.txt";
    if (acedGetVar(_T("DWGPREFIX"), &folder) == RTNORM && folder.restype == RTSTR) {
        path = std::wstring(folder.resval.rstring) + path;
        acutDelString(folder.resval.rstring);
    }
    std::string text = nodeListHeader(eastingFirst);
    for (const PointRecord& record : records) text += nodeListLine(record, eastingFirst);
    return writeTextFile(path, text) ? RTNORM : RTERROR;
}

}  // namespace

int exportPnezd() { return exportPointFile(ColumnOrder::NumberNorthingEasting); }
int exportPenzd() { return exportPointFile(ColumnOrder::NumberEastingNorthing); }
int exportXyz() { return exportPointFile(ColumnOrder::CoordinatesOnly); }
int listNodes() { return exportNodeList(false); }
int listNodesEastingFirst() { return exportNodeList(true); }

int exportLandXml() {
    std::vector<PointRecord> records;
    if (!selectRecords(records)) return RTERROR;
    sortByNumber(records);
    resbuf cdate{};
    ACHAR stampText[64] = {0};
    if (acedGetVar(_T("CDATE"), &cdate) == RTNORM && cdate.restype == RTREAL) {
        acdbRToS(cdate.resval.rreal, 2, 8, stampText, 64);
    }
    const CreationStamp stamp = creationStamp(tz::platform::toUtf8(stampText));
    const std::wstring path = askFile(_T("Name of kivoXML file to create"), _T("xml"), 5);
    if (path.empty()) return RTCAN;
    return writeTextFile(path, landXmlDocument(records, stamp)) ? RTNORM : RTERROR;
}
