// volumes: cut, fill and net volume between an existing and a proposed
// surface, sampled on a square grid, reported on the command line.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "DialogChecks.h"
#include "FileSystem.h"
#include "HostReporter.h"
#include "TerrainCommands.h"
#include "arxHeaders.h"
#include "tin/TinFile.h"
#include "volume/GridStep.h"
#include "volume/SurfaceReader.h"
#include "volume/VolumeGrid.h"
#include "volume/VolumeReport.h"

using namespace tz::terrain;
using namespace tz::terrain::volume;

namespace {

// The last accepted values of the dialog; they live while the plug-in is loaded.
struct VolumeSettings {
    int accepted = 0;
    std::wstring existingName;
    std::wstring proposedName;
    std::wstring feetToggle;
    double interval = 0;
    double compaction = 0;
};
VolumeSettings volumeSettings;

// More grid cells than any site needs at a sensible interval.
constexpr double kMostGridCells = 1e9;
constexpr const wchar_t* kExistingMissing =
    L"Existing Surface does not exist.\nTry creating the surface first, or\ncheck the path and filename.\n";
constexpr const wchar_t* kProposedMissing =
    L"Proposed Surface does not exist.\nTry creating the surface first, or\ncheck the path and filename.\n";

// The TIN file a surface name selects: its extension replaced by ".tin".
std::string surfacePath(const std::wstring& name) { return withExtension(tz::platform::toUtf8(name), ".tin"); }

// A name without any "." counts as no name here; the computation still
// reads it with ".tin" appended and says so if that file is missing.
void checkSurfaceName(ads_hdlg dialog, const wchar_t* key, const wchar_t* message) {
    const std::wstring name = tileText(dialog, key, 512);
    if (name.find(L'.') == std::wstring::npos) return;
    const std::string path = surfacePath(name);
    if (path == ".tin") return;
    if (tz::platform::canRead(path)) {
        ads_set_tile(dialog, L"error", L"");
    } else {
        ads_set_tile(dialog, L"error", message);
        ads_set_tile(dialog, key, L"");
    }
}

void onExistingName(ads_callback_packet* packet) {
    if (packet->reason == CBR_LOST_FOCUS)
        checkSurfaceName(packet->dialog, L"exist_tin", L"Existing surface file does not exist.\n");
}

void onProposedName(ads_callback_packet* packet) {
    if (packet->reason == CBR_LOST_FOCUS)
        checkSurfaceName(packet->dialog, L"proposed_tin", L"Proposed surface file does not exist.\n");
}

void browseInto(ads_hdlg dialog, const wchar_t* key) {
    resbuf result{};
    if (acedGetFileD(_T("Select point file"), nullptr, _T("dat"), 20, &result) != RTNORM) return;
    if (result.restype == RTSTR && result.resval.rstring != nullptr) {
        ads_set_tile(dialog, key, result.resval.rstring);
        acutDelString(result.resval.rstring);
    }
}

void onExistingBrowse(ads_callback_packet* packet) { browseInto(packet->dialog, L"exist_tin"); }
void onProposedBrowse(ads_callback_packet* packet) { browseInto(packet->dialog, L"proposed_tin"); }

void onAccept(ads_callback_packet* packet) {
    if (!tileText(packet->dialog, L"error", 511).empty()) {
        volumeSettings.accepted = 0;
        return;
    }
    volumeSettings.accepted = 1;
    volumeSettings.existingName = tileText(packet->dialog, L"exist_tin", 511);
    volumeSettings.proposedName = tileText(packet->dialog, L"proposed_tin", 511);
    volumeSettings.feetToggle = tileText(packet->dialog, L"v_u_feet", 2);
    volumeSettings.interval = dialogNumber(tileText(packet->dialog, L"vol_intrvl", 15));
    volumeSettings.compaction = dialogNumber(tileText(packet->dialog, L"compkt", 15));
    ads_done_dialog(packet->dialog, DLGOK);
}

void onCancel(ads_callback_packet* packet) {
    volumeSettings.accepted = 0;
    ads_done_dialog(packet->dialog, DLGCANCEL);
}

// The "volumes" dialog; RTNORM when accepted.
int runDialog() {
    volumeSettings.accepted = 0;
    SuiteDialog volumes(L"volumes");
    if (!volumes.isOpen()) return RTERROR;
    ads_hdlg dialog = volumes.handle();
    ads_set_tile(dialog, _T("vol_intrvl"), _T("1.0000"));
    ads_set_tile(dialog, _T("compkt"), _T("1.0000"));
    FieldCheck intervalCheck{L"vol_intrvl", FieldRule::Nonnegative, L"1.0000", L""};
    FieldCheck compactionCheck{L"compkt", FieldRule::Nonnegative, L"1.0000", L""};
    ads_action_tile(dialog, _T("exist_tin"), onExistingName);
    ads_action_tile(dialog, _T("proposed_tin"), onProposedName);
    ads_action_tile(dialog, _T("esbrowse"), onExistingBrowse);
    ads_action_tile(dialog, _T("psbrowse"), onProposedBrowse);
    attachFieldCheck(dialog, intervalCheck);
    attachFieldCheck(dialog, compactionCheck);
    ads_action_tile(dialog, _T("accept"), onAccept);
    ads_action_tile(dialog, _T("cancel"), onCancel);
    volumes.run();
    return volumeSettings.accepted ? RTNORM : RTCAN;
}

bool canOpen(const std::string& path) {
    std::FILE* file = tz::platform::openFile(path, "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

// Loads one surface; false (after its alert) when the file cannot be opened.
bool loadInto(const std::string& path, const wchar_t* missingAlert, std::vector<PreparedTriangle>& triangles) {
    std::FILE* file = tz::platform::openFile(path, "rb");
    if (file == nullptr) {
        acedAlert(missingAlert);
        return false;
    }
    SurfaceLoad load = loadSurface(file, LastRecordRule::DropWithoutLineEnd);
    std::fclose(file);
    const std::string stopped = readStopMessage(path, load.stop, load.triangles.size());
    if (!stopped.empty()) acutPrintf(_T("%s"), tz::platform::fromUtf8(stopped).c_str());
    triangles = std::move(load.triangles);
    return true;
}

// A grid walk that would never end is refused before it starts.
bool intervalRefused(const PlanExtent& extent, double interval) {
    StepProblem problem = checkGridStep(0, 0, interval);
    if (problem == StepProblem::None && !extent.empty) {
        problem = checkGridStep(extent.xmin, extent.xmax, interval);
        if (problem == StepProblem::None) problem = checkGridStep(extent.ymin, extent.ymax, interval);
    }
    if (problem == StepProblem::NotPositive) {
        acedAlert(_T("The grid interval must be greater than zero.  Command terminates.\n"));
        return true;
    }
    if (problem == StepProblem::TooSmall) {
        acedAlert(_T("The grid interval is too small for the coordinates of the surfaces.  Command terminates.\n"));
        return true;
    }
    // An interval far too fine for the site would keep the walk going for
    // days; Escape would be the only way out. The walk steps through every
    // column even where it holds no cell (surfaces of no height, where no
    // break test is made), so a column counts as one cell at least.
    const double columns = (extent.xmax - extent.xmin) / interval;
    const double rows = std::max(1.0, (extent.ymax - extent.ymin) / interval);
    if (!extent.empty && !(columns * rows <= kMostGridCells)) {
        acedAlert(_T("The grid interval gives more than 1000000000 grid cells.  Command terminates.\n"));
        return true;
    }
    return false;
}

// A surface without triangles would give a volume of 0 that looks like a result.
bool emptySurface(const std::vector<PreparedTriangle>& triangles, const wchar_t* alert) {
    if (!triangles.empty()) return false;
    acedAlert(alert);
    return true;
}

}  // namespace

int volumesCommand() {
    const int dialogResult = runDialog();
    if (dialogResult != RTNORM) return dialogResult;
    const VolumeSettings& settings = volumeSettings;
    if (intervalRefused(PlanExtent{}, settings.interval)) return RTERROR;

    const std::string existingPath = surfacePath(settings.existingName);
    const std::string proposedPath = surfacePath(settings.proposedName);
    if (!canOpen(existingPath)) {
        acedAlert(kExistingMissing);
        return RTERROR;
    }
    if (!canOpen(proposedPath)) {
        acedAlert(kProposedMissing);
        return RTERROR;
    }
    std::vector<PreparedTriangle> existing, proposed;
    if (!loadInto(existingPath, kExistingMissing, existing)) return RTERROR;
    if (!loadInto(proposedPath, kProposedMissing, proposed)) return RTERROR;
    if (emptySurface(existing, _T("The existing surface file holds no triangles.  Command terminates.\n")) ||
        emptySurface(proposed, _T("The proposed surface file holds no triangles.  Command terminates.\n"))) {
        return RTERROR;
    }
    if (intervalRefused(surfacesExtent(existing, proposed), settings.interval)) return RTERROR;

    acutPrintf(_T("\nCalculating Volume..."));
    const VolumeRun run = computeVolumes(existing, proposed, settings.interval, settings.compaction, userBroke);
    if (run.cancelled) return RTCAN;
    acutPrintf(_T("Done\n"));
    const bool feet = settings.feetToggle == L"1";
    const VolumeTotals totals = inReportUnits(run.totals, feet);
    if (!std::isfinite(totals.cut) || !std::isfinite(totals.fill) || !std::isfinite(totals.net)) {
        acedAlert(_T("The volumes are too large to be a number (is the compaction factor far too large?).  ")
                  _T("Command terminates.\n"));
        return RTERROR;
    }
    const std::string report = volumeReport(totals, feet);
    // Zeros that measure nothing would read as a result.
    if (run.cellsOnBoth == 0) acutPrintf(_T("No grid cell lies on both surfaces.\n"));
    acutPrintf(_T("%s"), tz::platform::fromUtf8(report).c_str());
    return RTNORM;
}
