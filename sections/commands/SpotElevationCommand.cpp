// tzfel: the ground elevation of picked points from a TIN the user picks,
// each labelled in the drawing by a leader whose text is the elevation at
// the drawing's precision.
#include <optional>
#include <string>
#include <vector>

#include "SectionCommands.h"
#include "TinSelection.h"
#include "arxHeaders.h"
#include "tin/TinLookup.h"

using namespace tz::sections;

namespace {

// Reports one containing triangle's elevation and, when the user places its
// text, draws the leader from the picked plan position to it.
void labelElevation(const ads_point picked, double elevation) {
    acutPrintf(_T("\nThe elevation is %lf\n"), elevation);
    ACHAR text[512] = {0};
    acdbRToS(elevation, 2, -1, text);
    ads_point textPosition;
    if (acedGetPoint(picked, _T("\nPick point for text: "), textPosition) != RTNORM) return;
    acedCommand(RTSTR, _T("_leader"), RT3DPOINT, picked, RT3DPOINT, textPosition, RTSTR, _T(""), RTSTR, text, RTSTR,
                _T(""), RTNONE);
}

}  // namespace

int spotElevationCommand() {
    const std::optional<std::wstring> tinPath = selectTinFile();
    if (!tinPath) return RTCAN;
    const std::optional<TinTable> tin = loadTinTable(*tinPath);
    if (!tin) return RTERROR;
    const TinLookup lookup(*tin);

    ads_point answer;
    while (acedGetPoint(nullptr, _T("\nPlease pick a point: "), answer) == RTNORM) {
        // The label starts at the picked plan position, not on the ground.
        const ads_point picked = {answer[X], answer[Y], 0.0};
        const std::vector<TinHit> hits = lookup.hits(picked[X], picked[Y]);
        for (const TinHit& hit : hits) labelElevation(picked, hit.elevation);
        if (hits.empty()) acutPrintf(_T("\nThere is no elevation. "));
    }
    return RTNORM;
}
