#include "blocks/PointBlocks.h"

#include <cstdio>
#include <cwchar>

#include "FileSystem.h"
#include "acdbads.h"
#include "acedads.h"
#include "acutads.h"

namespace tz::pointexport {

namespace {

// The value of the first group of a code in an entity list.
const resbuf* findGroup(const resbuf* list, int code) {
    for (const resbuf* rb = list; rb; rb = rb->rbnext) {
        if (rb->restype == code) return rb;
    }
    return nullptr;
}

bool isType(const resbuf* list, const wchar_t* type) {
    const resbuf* rb = findGroup(list, 0);
    return rb && rb->resval.rstring && std::wcscmp(rb->resval.rstring, type) == 0;
}

// The texts of the attributes that follow a block reference, at most `count`.
std::vector<std::wstring> attributeTexts(const ads_name insert, size_t count) {
    std::vector<std::wstring> texts;
    ads_name current = {insert[0], insert[1]};
    while (texts.size() < count) {
        ads_name next;
        if (acdbEntNext(current, next) != RTNORM) break;
        resbuf* list = acdbEntGet(next);
        const bool attribute = isType(list, L"ATTRIB");
        if (attribute) {
            const resbuf* text = findGroup(list, 1);
            texts.emplace_back(text && text->resval.rstring ? text->resval.rstring : L"");
        }
        acutRelRb(list);
        if (!attribute) break;
        current[0] = next[0];
        current[1] = next[1];
    }
    return texts;
}

}  // namespace

int selectPointBlocks(const ACHAR* mode, ads_name selection) {
    resbuf* filter = acutBuildList(2, _T("TZNODE"), 0);
    const int status = acedSSGet(mode, nullptr, nullptr, filter, selection);
    acutRelRb(filter);
    return status;
}

PointRecord readPointBlock(const ads_name insert, std::wstring* numberText) {
    PointRecord record;
    resbuf* list = acdbEntGet(insert);
    if (const resbuf* point = findGroup(list, 10)) {
        record.easting = point->resval.rpoint[0];
        record.northing = point->resval.rpoint[1];
        record.elevation = point->resval.rpoint[2];
    }
    acutRelRb(list);
    const std::vector<std::wstring> texts = attributeTexts(insert, 3);
    const std::wstring number = texts.empty() ? L"" : texts[0];
    record.number = parsePointNumber(number);
    if (texts.size() >= 3) record.description = recordDescription(texts[2]);
    if (numberText) *numberText = number;
    return record;
}

std::vector<PointRecord> recordsFromEnd(const ads_name selection, int32_t length) {
    std::vector<PointRecord> records;
    records.reserve(static_cast<size_t>(length > 0 ? length : 0));
    for (int32_t i = 0; i < length; ++i) {
        ads_name entity;
        if (acedSSName(selection, length - 1 - i, entity) != RTNORM) continue;
        records.push_back(readPointBlock(entity));
    }
    return records;
}

bool writeTextFile(const std::wstring& path, const std::string& text) {
    tz::platform::ReplacementFile file(path, "w");
    if (file.file() == nullptr) {
        acutPrintf(_T("\nCould not create the file %s.\n"), path.c_str());
        return false;
    }
    if (!file.write(text) || !file.commit()) {
        acutPrintf(_T("\nCould not write the file %s.\n"), path.c_str());
        return false;
    }
    return true;
}

}  // namespace tz::pointexport
