#include "drawing/GroupCodes.h"

#include <cstdint>

#include "adscodes.h"

namespace tz::cad {

namespace {

struct CodeRange {
    int first;
    int last;
    int type;
};

// The DXF reference's value ranges. A y or z code (20-37, 120-139, 220-239,
// 1020-1039) on its own is a real: it only appears paired in files.
constexpr CodeRange kRanges[] = {
    {-2, -1, RTENAME},     {-4, -4, RTSTR},        {0, 9, RTSTR},          {10, 18, RT3DPOINT},
    {20, 59, RTREAL},      {60, 79, RTSHORT},      {90, 99, RTLONG},       {100, 102, RTSTR},
    {105, 105, RTSTR},     {110, 112, RT3DPOINT},  {113, 149, RTREAL},     {160, 169, RTLONG},
    {170, 179, RTSHORT},   {210, 210, RT3DPOINT},  {220, 239, RTREAL},     {270, 299, RTSHORT},
    {300, 329, RTSTR},     {330, 369, RTENAME},    {370, 389, RTSHORT},    {390, 399, RTENAME},
    {400, 409, RTSHORT},   {410, 419, RTSTR},      {420, 429, RTLONG},     {430, 439, RTSTR},
    {440, 459, RTLONG},    {460, 469, RTREAL},     {470, 479, RTSTR},      {480, 481, RTENAME},
    {999, 999, RTSTR},     {1000, 1009, RTSTR},    {1010, 1013, RT3DPOINT}, {1020, 1059, RTREAL},
    {1060, 1070, RTSHORT}, {1071, 1071, RTLONG},
};

// The ranges above spread over a table by code: every result buffer and
// every group of the millions of entities a mesh makes asks for its type.
constexpr int kFirstCode = -4, kLastCode = 1071;

struct TypeTable {
    int16_t types[kLastCode - kFirstCode + 1];
    constexpr TypeTable() : types{} {
        for (int16_t& type : types) type = static_cast<int16_t>(RTNONE);
        for (const CodeRange& range : kRanges) {
            for (int code = range.first; code <= range.last; ++code) {
                if (code >= kFirstCode && code <= kLastCode) types[code - kFirstCode] = static_cast<int16_t>(range.type);
            }
        }
    }
};
constexpr TypeTable kTypes;

}  // namespace

int groupValueType(int code) {
    if (code >= kFirstCode && code <= kLastCode) return kTypes.types[code - kFirstCode];
    return code == RTDXF0 ? RTSTR : RTNONE;
}

bool isPointCode(int code) { return groupValueType(code) == RT3DPOINT; }

}  // namespace tz::cad
