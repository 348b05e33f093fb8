// The three LISP functions that tell the suite's LISP side about the
// drawing's points and the installed package: getcrd, getnum, getreg.
#include <algorithm>
#include <cstring>
#include <vector>

#include "FileSystem.h"
#include "MessageBox.h"
#include "PointExportCommands.h"
#include "Registry.h"
#include "arxHeaders.h"
#include "blocks/PointBlocks.h"

using namespace tz::pointexport;

int pointCoordinates() {
    resbuf* head = acutNewRb(RT3DPOINT);
    if (head == nullptr) {
        acdbFail(_T("Unable to allocate buffer\n"));
        return RTERROR;
    }
    ads_name selection = {0, 0};  // no set, should the selection find none
    if (selectPointBlocks(_T("X"), selection) != RTNORM) {
        acutRelRb(head);
        acedRetNil();
        return RTNORM;
    }
    int32_t length = 0;
    acedSSLength(selection, &length);
    resbuf* tail = nullptr;
    for (int32_t i = 0; i < length; ++i) {
        ads_name entity;
        if (acedSSName(selection, i, entity) != RTNORM) continue;
        std::wstring numberText;
        const PointRecord record = readPointBlock(entity, &numberText);
        const ads_point point = {record.easting, record.northing, record.elevation};
        resbuf* pointNode = tail == nullptr ? head : acutNewRb(RT3DPOINT);
        ads_point_set(point, pointNode->resval.rpoint);
        resbuf* nameNode = acutBuildList(RTSTR, pointName(numberText).c_str(), 0);
        if (tail) tail->rbnext = pointNode;
        pointNode->rbnext = nameNode;
        tail = nameNode;
    }
    acedSSFree(selection);
    if (tail == nullptr) acedRetNil();
    else acedRetList(head);
    acutRelRb(head);
    return RTNORM;
}

int nextPointNumber() {
    ads_name selection = {0, 0};  // no set, should the selection find none
    if (selectPointBlocks(_T("X"), selection) != RTNORM) {
        acedRetReal(1.0);
        return RTNORM;
    }
    int32_t length = 0;
    acedSSLength(selection, &length);
    int32_t largest = 0;
    for (int32_t i = 0; i < length; ++i) {
        ads_name entity;
        if (acedSSName(selection, i, entity) == RTNORM) largest = std::max(largest, readPointBlock(entity).number);
    }
    acedSSFree(selection);
    acedRetReal(static_cast<double>(largest) + 1.0);
    return RTNORM;
}

int installFolder() {
    using namespace tz::platform;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Veltrane\\TZkivoPkg", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        MessageBoxA(nullptr, "Could not open key", nullptr, MB_OK);
        acedRetNil();
        return RTNORM;
    }
    BYTE folder[255] = {0};
    DWORD size = sizeof folder;
    DWORD type = 0;
    // Only text that ends inside the buffer is a folder: binary data, or a
    // string without its terminator, would be read past the buffer's end.
    const LONG status = RegQueryValueExA(key, "Install_Dir", nullptr, &type, folder, &size);
    const bool isText = type == REG_SZ || type == REG_EXPAND_SZ;
    if (status != ERROR_SUCCESS || !isText || std::memchr(folder, 0, size) == nullptr) {
        MessageBoxA(nullptr, "Could not get value", nullptr, MB_OK);
        RegCloseKey(key);
        acedRetNil();
        return RTNORM;
    }
    const char* text = reinterpret_cast<const char*>(folder);
    MessageBoxA(nullptr, text, "Result", MB_OK);
    RegCloseKey(key);
    acedRetStr(tz::platform::fromUtf8(text).c_str());
    return RTNORM;
}
