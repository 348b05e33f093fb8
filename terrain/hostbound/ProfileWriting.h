// The last steps that the profile cutter and the alignment profile share:
// cut the profile along the polyline, let the user name the profile file,
// and write the samples by ascending station.
#pragma once

#include "adsdef.h"
#include "profile/Alignment.h"
#include "profile/EdgeList.h"

namespace tz::terrain::hostbound {

// Cuts the alignment against the edges from `startStation` on. Without a
// crossing prints "\nUnable to extract profile!" and asks for no file.
// Otherwise asks for the profile file ("Name of PROFILE file to create",
// extension "pfl") and writes one "%lf %lf\n" line per sample, in text
// mode. Returns RTNORM when written, RTCAN when the dialog was cancelled,
// RTERROR after a reported failure.
int writeProfile(const tz::terrain::profile::Alignment& alignment, double startStation,
                 const tz::terrain::profile::EdgeList& edges);

// The unchanged profile-cutter messages around loading the terrain.
inline constexpr const ACHAR* kCannotOpenTerrain = L"\nCan't open point file. Command Terminates.";
inline constexpr const ACHAR* kLoadingDone = L".... Done!";

}  // namespace tz::terrain::hostbound
