// LISP values to result buffers and back: arguments and results of plug-in
// functions, LISP symbols read through acedGetSym, and entity lists of DXF
// groups for entmake, entget and selection filters.
#pragma once

#include "adsdef.h"
#include "lisp/Value.h"

namespace tz::cad::lisp {

// One result buffer list holding the values in order, as acedGetArgs hands
// them over: integers as RTSHORT (RTLONG beyond 16 bits), lists of two or
// three numbers as points, other lists between RTLB and RTLE.
resbuf* toResbufList(const std::vector<ValuePtr>& values);

// The LISP value of a result list as acedRetList hands it back.
ValuePtr fromResbufList(const resbuf* list);
// The LISP value of one result buffer (acedRetVal, acedGetSym of an atom).
ValuePtr fromResbufValue(const resbuf* rb);

// An entity list ((0 . "LINE") (8 . "0") (10 1.0 2.0 0.0) ...) as a chain of
// result buffers whose types are the group codes. Throws LispError on a
// malformed list.
resbuf* toEntityList(const ValuePtr& list);
ValuePtr fromEntityList(const resbuf* list);

ValuePtr makeEname(const intptr_t name[2]);
ValuePtr makePickSet(const intptr_t name[2]);

}  // namespace tz::cad::lisp
