#include "drawing/GroupCodes.h"

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
    {1060, 1070, RTSHORT}, {1071, 1071, RTLONG},   {RTDXF0, RTDXF0, RTSTR},
};

}  // namespace

int groupValueType(int code) {
    for (const CodeRange& range : kRanges) {
        if (code >= range.first && code <= range.last) return range.type;
    }
    return RTNONE;
}

bool isPointCode(int code) { return groupValueType(code) == RT3DPOINT; }

}  // namespace tz::cad
