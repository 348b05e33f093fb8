// acdbEntMake's work on the drawing: single entities, complex entities built
// piece by piece (a POLYLINE and its VERTEXes, an INSERT and its ATTRIBs,
// each finished by a SEQEND), block definitions from BLOCK to ENDBLK, and
// layers from "LAYER" lists.
#pragma once

#include <cstdint>
#include <string>

#include "drawing/Drawing.h"
#include "drawing/EntityRules.h"

namespace tz::cad {

enum class MakeOutcome {
    Made,       // an entity (or layer, or block) now exists; `handle` names it when it is an entity
    Continued,  // accepted as part of a complex entity or block definition still open
    Rejected,   // nothing made; `reason` says why
};

struct MakeResult {
    MakeOutcome outcome = MakeOutcome::Rejected;
    uint64_t handle = 0;
    std::wstring reason;
};

// Makes what the list (type in group 0 or RTDXF0, then its groups) describes.
// A POLYLINE, or an INSERT with 66 = 1, opens a complex entity: it joins the
// drawing only with its SEQEND, its handle and its sub-entities' handles
// given then. An entity of another kind made meanwhile discards the open one.
// Inside a block definition entities join that block.
MakeResult makeFromList(Drawing& drawing, GroupList list, const MakeContext& context);

}  // namespace tz::cad
