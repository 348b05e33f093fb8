// Taking the polyline that a profile is cut along out of the drawing: the
// pick with its type check, the starting station, and the vertices of an
// LWPOLYLINE or of a POLYLINE's VERTEX entities as plain data.
//
// Shared by the profile cutter of the terrain modeller and the alignment
// profile of the profile plug-in, which ask alike and differ in wording.
#pragma once

#include <optional>

#include "adsdef.h"
#include "profile/Alignment.h"

namespace tz::terrain::hostbound {

struct PickedPolyline {
    ads_name entity{};
    bool lightweight = false;  // an LWPOLYLINE; otherwise a POLYLINE with VERTEX entities
};

// Asks for one entity with `prompt`. When the pick fails prints
// "\nNothing selected!", when the entity is neither an LWPOLYLINE nor a
// POLYLINE prints "\nYou must select a polyline!"; both give no polyline.
std::optional<PickedPolyline> pickPolyline(const ACHAR* prompt);

// The number typed at `prompt`; any other reply (Enter, Escape) gives 0.
double askStartingStation(const ACHAR* prompt);

// The polyline's vertices, first to last, each with its plan position and
// the bulge of the segment that starts there; none when the entity's data
// cannot be read or a POLYLINE is not followed by a VERTEX.
std::optional<tz::terrain::profile::Alignment> alignmentOf(const PickedPolyline& polyline);

// What the user sees when alignmentOf gave none: "\nUnable to extract
// profile!". Returns RTERROR, the command's result.
int reportUnreadableAlignment();

}  // namespace tz::terrain::hostbound
