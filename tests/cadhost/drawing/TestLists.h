// Short ways to write entity lists in the drawing tests.
#pragma once

#include "drawing/EntityMaker.h"

namespace tz::cad::test {

inline Group type(const wchar_t* name) { return stringGroup(0, name); }
inline Group at(int code, double x, double y, double z = 0) { return pointGroup(code, {x, y, z}); }

inline MakeResult make(Drawing& drawing, GroupList list, const wchar_t* currentLayer = L"0") {
    MakeContext context;
    context.currentLayer = currentLayer;
    return makeFromList(drawing, std::move(list), context);
}

inline uint64_t makeLine(Drawing& drawing, double x1, double y1, double x2, double y2, const wchar_t* layer = L"0") {
    return make(drawing, {type(L"LINE"), stringGroup(8, layer), at(10, x1, y1), at(11, x2, y2)}).handle;
}

}  // namespace tz::cad::test
