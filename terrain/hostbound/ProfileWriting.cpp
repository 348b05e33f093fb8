#include "ProfileWriting.h"

#include <cstdio>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "arxHeaders.h"
#include "profile/ProfileCutter.h"

namespace tz::terrain::hostbound {

using namespace tz::terrain::profile;

int writeProfile(const Alignment& alignment, double startStation, const EdgeList& edges) {
    const EdgeCrossingFinder finder(edges.edges());
    ProfileCut cut = cutProfile(alignment, startStation, finder);
    if (cut.status == CutStatus::unusableArc) {
        acutPrintf(_T("\nThe polyline's arcs are too long to be cut (over 100000000 units in all)."));
        acutPrintf(_T("\nUnable to extract profile!"));
        return RTERROR;
    }
    if (cut.samples.empty()) {
        acutPrintf(_T("\nUnable to extract profile!"));
        return RTERROR;
    }

    resbuf chosen{};
    if (acedGetFileD(_T("Name of PROFILE file to create"), nullptr, _T("pfl"), 5, &chosen) != RTNORM) return RTCAN;
    const std::wstring path = chosen.resval.rstring;
    acutDelString(chosen.resval.rstring);

    const std::string text = profileText(sortedByStation(std::move(cut.samples)));
    tz::platform::ReplacementFile file(path, "w");
    if (!file.write(text) || !file.commit()) {
        acutPrintf(_T("\nCan't write the profile file %s. Command Terminates."), path.c_str());
        return RTERROR;
    }
    return RTNORM;
}

}  // namespace tz::terrain::hostbound
