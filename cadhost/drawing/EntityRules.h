// What makes an entity list acceptable: the kinds of entity the drawing
// knows, the groups each one needs, the values each group may hold, and the
// defaults the drawing fills in (as acdbEntGet later shows them).
#pragma once

#include <string>
#include <string_view>

#include "drawing/Drawing.h"

namespace tz::cad {

// What an entity takes from the session when its list leaves it open.
struct MakeContext {
    std::wstring currentLayer = L"0";  // CLAYER
    // A sub-entity's default layer, its complex entity's, in place of
    // currentLayer when set (it points into that entity's data).
    const std::wstring* inheritedLayer = nullptr;
    double textSize = 2.5;            // TEXTSIZE, for an MTEXT without height
    // For entities read from a file: a reference to a linetype, text style or
    // block the file does not define is mended (linetype BYLAYER, style
    // Standard, an empty block definition) instead of refusing the entity.
    bool mendReferences = false;
};

// True for the entity types the drawing makes and writes with their own layout.
bool isKnownEntityType(std::wstring_view type);

// True when the name may name a layer, block, linetype or style: not empty,
// at most 255 characters, none of <>/\":;?*|,=` and no control characters.
bool isValidSymbolName(std::wstring_view name);

// Checks every group's value against its code (type, finite reals, short
// range). Reals given as integers become reals. Empty when all are good,
// else the reason.
std::wstring checkGroupValues(GroupList& groups);

// Turns the groups of an entity list (after the type) into the entity's data:
// drops the groups the drawing derives (-1, 5, 330, 100, 102), checks values,
// required groups, layer, linetype, style and block references, fills
// defaults and puts the layer first. `parent` is the POLYLINE or INSERT of a
// VERTEX or ATTRIB. New layers named by the entity are added to the drawing
// only when everything else is good. Empty when accepted, else the reason.
std::wstring prepareEntityData(Drawing& drawing, std::wstring_view type, GroupList& data, const MakeContext& context,
                               const Entity* parent);

}  // namespace tz::cad
