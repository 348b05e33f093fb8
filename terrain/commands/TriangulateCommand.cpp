// triangulate: the project's point file through preparation, triangulation,
// fault lines and the boundary clip into the project's TIN file.
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "DialogChecks.h"
#include "FileSystem.h"
#include "HostReporter.h"
#include "Project.h"
#include "TerrainCommands.h"
#include "arxHeaders.h"
#include "boundary/BoundaryClip.h"
#include "faults/FaultApplication.h"
#include "points/PointPreparation.h"
#include "tin/TinFile.h"
#include "tin/Triangulation.h"

using namespace tz::terrain;

namespace {

struct ElevationTexts {
    std::wstring minimum, maximum;
};

// The lowest and highest elevation of the points, as the drawing shows numbers.
ElevationTexts proposeElevationRange(const std::vector<Point3>& points) {
    const ElevationRange range = elevationRangeOf(points);
    return ElevationTexts{decimalText(range.minimum), decimalText(range.maximum)};
}

// The "triangulate" dialog and what it keeps while it is open.
struct TriangulateDialog {
    ElevationTexts proposed;
    std::vector<FieldCheck> checks;
    std::vector<ToggleCheck> toggles;
    std::wstring minimum, maximum;
    bool accepted = false;
};
TriangulateDialog* activeDialog = nullptr;

// An elevation bound as the dialog's check read it (a fraction such as 1/2,
// or feet and inches, included), written so that the preparation, which
// takes the leading number of its text, reads back the same value.
std::wstring boundAsChecked(const std::wstring& text) {
    wchar_t exact[64];
    std::swprintf(exact, 64, L"%.17g", dialogNumber(text));
    return exact;
}

// The folder of the point file, with its separator.
std::wstring pointFileFolder() {
    const std::wstring& path = projectSettings().get(L"dpoints");
    const size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? L"" : path.substr(0, cut + 1);
}

void browse(ads_hdlg dialog, const ACHAR* title, const ACHAR* extension, const ACHAR* tile) {
    resbuf result{};
    const std::wstring folder = pointFileFolder();
    if (acedGetFileD(title, folder.c_str(), extension, 20, &result) == RTNORM) {
        ads_set_tile(dialog, tile, result.resval.rstring);
        acutDelString(result.resval.rstring);
    }
}

void onFaultBrowse(ads_callback_packet* packet) {
    browse(packet->dialog, _T("Select Fault File"), _T("flt"), _T("fault_file"));
}

void onBoundaryBrowse(ads_callback_packet* packet) {
    browse(packet->dialog, _T("Select Boundary/Void File"), _T("bnd"), _T("bound_file"));
}

void onAccept(ads_callback_packet* packet) {
    ads_hdlg dialog = packet->dialog;
    if (errorShown(dialog)) return;
    ProjectSettings& settings = projectSettings();
    settings.set(L"dpoints", tileText(dialog, L"point_file", 512));
    settings.set(L"uelev", tileText(dialog, L"uelev", 2));
    activeDialog->minimum = tileText(dialog, L"mine", 16);
    activeDialog->maximum = tileText(dialog, L"maxe", 16);
    settings.set(L"ufaults", tileText(dialog, L"ufaults", 2));
    settings.set(L"dfaults", tileText(dialog, L"fault_file", 512));
    settings.set(L"ubound", tileText(dialog, L"ubound", 2));
    settings.set(L"dbndry", tileText(dialog, L"bound_file", 512));
    activeDialog->accepted = true;
    ads_done_dialog(dialog, DLGOK);
}

bool runDialog(TriangulateDialog& state, SuiteDialog& triangulate) {
    ads_hdlg dialog = triangulate.handle();
    const ProjectSettings& settings = projectSettings();
    const bool useElevation = settings.get(L"uelev") == L"1";
    const bool useFaults = settings.get(L"ufaults") != L"0";
    const bool useBoundary = settings.get(L"ubound") != L"0";
    ads_set_tile(dialog, _T("point_file"), settings.get(L"dpoints").c_str());
    ads_mode_tile(dialog, _T("point_file"), MODE_DISABLE);
    ads_set_tile(dialog, _T("uelev"), useElevation ? _T("1") : _T("0"));
    ads_set_tile(dialog, _T("mine"), state.proposed.minimum.c_str());
    ads_set_tile(dialog, _T("maxe"), state.proposed.maximum.c_str());
    ads_set_tile(dialog, _T("ufaults"), settings.get(L"ufaults").c_str());
    // The fault layout follows dimfaults; the radio buttons only show it.
    const bool twoDimensional = static_cast<int>(leadingNumber(settings.get(L"dimfaults"))) == 2;
    ads_set_tile(dialog, twoDimensional ? _T("dim2") : _T("dim3"), _T("1"));
    ads_set_tile(dialog, _T("fault_file"), settings.get(L"dfaults").c_str());
    ads_set_tile(dialog, _T("ubound"), settings.get(L"ubound").c_str());
    ads_set_tile(dialog, _T("bound_file"), settings.get(L"dbndry").c_str());

    state.toggles = {{L"uelev", {L"mine", L"maxe"}},
                     {L"ufaults", {L"dim2", L"dim3", L"fault_file", L"ffbrowse"}},
                     {L"ubound", {L"bound_file", L"bfbrowse"}}};
    setDependents(dialog, state.toggles[0], useElevation);
    setDependents(dialog, {L"ufaults", {L"fault_file", L"ffbrowse"}}, useFaults);
    setDependents(dialog, state.toggles[2], useBoundary);
    for (ToggleCheck& toggle : state.toggles) attachToggle(dialog, toggle);

    state.checks = {
        {L"mine", FieldRule::Numeric, state.proposed.minimum, L""},
        {L"maxe", FieldRule::Numeric, state.proposed.maximum, L""},
        {L"fault_file", FieldRule::FileExists, settings.get(L"dfaults"), L"Fault line file does not exist.\n"},
        {L"bound_file", FieldRule::FileExists, settings.get(L"dbndry"), L"Boundary/void file does not exist.\n"},
    };
    for (FieldCheck& check : state.checks) attachFieldCheck(dialog, check);
    ads_action_tile(dialog, _T("ffbrowse"), onFaultBrowse);
    ads_action_tile(dialog, _T("bfbrowse"), onBoundaryBrowse);
    ads_action_tile(dialog, _T("accept"), onAccept);
    activeDialog = &state;
    triangulate.run();
    activeDialog = nullptr;
    return state.accepted;
}

// Moves a stage file on to the next stage's name, or alerts.
int passOn(const std::string& from, const std::string& to, TinText known, StageReporter& reporter) {
    if (moveTinFile(from, to, known)) return kStageDone;
    reporter.alert("Error opening output file.\n");
    return kStatusError;
}

// The fault stage: the faults applied into ".ftin", or ".ttin" copied there
// (and, being deleted right after, moved). `text` is what is known of
// ".ttin" on the way in, of ".ftin" on the way out.
int runFaultStage(const std::string& rawTin, const std::string& faultedTin, TinText& text, StageReporter& reporter) {
    const ProjectSettings& settings = projectSettings();
    if (settings.get(L"ufaults") != L"1") return passOn(rawTin, faultedTin, text, reporter);
    text = TinText::Unknown;
    acutPrintf(_T("\nApplying Fault Lines..."));
    const int dimension = static_cast<int>(leadingNumber(settings.get(L"dimfaults")));
    return applyFaultLines(rawTin, settingPath(L"dfaults"), dimension, settings.get(L"ubound") == L"1",
                           settingPath(L"dbndry"), reporter, userBroke);
}

// A run that leaves no triangle would replace the project's TIN with an
// empty one, and the contours, mesh or volumes made from it next would come
// out empty without a word: the old TIN is kept instead. The stage files
// hold only triangle lines, so an empty file is one without triangles.
bool holdsTriangles(const std::string& tin) {
    const std::optional<tz::platform::FileStamp> stamp = tz::platform::fileStamp(tin);
    return stamp && stamp->size > 0;
}

// The boundary stage: ".ftin" clipped into ".tin", or copied there (and,
// being deleted right after, moved).
int runBoundaryStage(const std::string& faultedTin, const std::string& finalTin, TinText text,
                     StageReporter& reporter) {
    if (projectSettings().get(L"ubound") != L"1") {
        return passOn(faultedTin, finalTin, text, reporter) == kStageDone ? kStatusSuccess : kStatusError;
    }
    return clipToBoundary(faultedTin, settingPath(L"dbndry"), finalTin, reporter);
}

}  // namespace

int triangulateCommand() {
    const SortWorkFiles work = sortWorkFiles();
    if (!requireOpenProject(kOpenProjectFirst)) return RTERROR;

    TriangulateDialog state;
    // Read once: the preparation takes these points over unless the file
    // has changed meanwhile.
    const std::string readFrom = settingPath(L"dpoints");
    std::optional<PointFileRead> read = readPointFile(readFrom);
    if (!read) {
        acedAlert(_T("Could not open point file for reading.  Command terminates.\n"));
        return RTERROR;
    }
    state.proposed = proposeElevationRange(read->points);

    SuiteDialog dialog(L"triangulate");
    if (!dialog.isOpen()) return RTERROR;
    if (!runDialog(state, dialog)) return RTCAN;

    ProjectSettings& settings = projectSettings();
    const std::string pointFile = settingPath(L"dpoints");
    HostReporter reporter;
    SortedPoints sorted;
    if (preparePoints(pointFile, boundAsChecked(state.minimum), boundAsChecked(state.maximum),
                      settings.get(L"uelev") == L"1", work, reporter,
                      &sorted, pointFile == readFrom ? &*read : nullptr) == kStatusError) {
        removeSortWorkFiles(work);
        return RTERROR;
    }

    if (!sorted.points.empty() && !extentIsWorkable(sorted)) {
        removeSortWorkFiles(work);
        acedAlert(_T("The points spread over 1e140 units or more and cannot be triangulated ")
                  _T("(is a coordinate far out of range?).  ")
                  _T("The TIN file is kept as it was.\n"));
        return RTERROR;
    }

    acutPrintf(_T("\nCreating Triangulation..."));
    TinText text = TinText::Unknown;
    const int built = buildTriangulation(pointFile, sorted, reporter, userBroke, &text);
    sorted = SortedPoints{};
    removeSortWorkFiles(work);
    if (built == kStatusError || built == kStatusCancel) return built;

    const std::string rawTin = withExtension(pointFile, ".ttin");
    if (!holdsTriangles(rawTin)) {
        tz::platform::deleteFile(rawTin);
        acedAlert(_T("The points make no triangle (fewer than three, or all on one line).  ")
                  _T("The TIN file is kept as it was.\n"));
        return RTERROR;
    }
    const std::string faultedTin = withExtension(pointFile, ".ftin");
    const std::string finalTin = withExtension(pointFile, ".tin");
    const int faulted = runFaultStage(rawTin, faultedTin, text, reporter);
    if (faulted == kStatusError || faulted == kStatusCancel) return faulted;
    tz::platform::deleteFile(rawTin);

    if (runBoundaryStage(faultedTin, finalTin, text, reporter) == kStatusError) return RTERROR;
    tz::platform::deleteFile(faultedTin);
    return RTNORM;
}
