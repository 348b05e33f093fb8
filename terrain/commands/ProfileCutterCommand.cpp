// tzexsec: the ground profile along a picked polyline, from the edge file
// "tztin.asc" prepared in the drawing's folder. The file is consumed: once
// its edges are loaded it is overwritten with a note, so that a stale edge
// list is never cut twice by mistake.
#include <cstdio>
#include <optional>
#include <string>

#include "FileSystem.h"
#include "TerrainCommands.h"
#include "arxHeaders.h"
#include "hostbound/PolylineReading.h"
#include "hostbound/ProfileWriting.h"
#include "hostbound/TextOutput.h"
#include "profile/EdgeReading.h"

using namespace tz::terrain::hostbound;
using namespace tz::terrain::profile;

namespace {

constexpr const char* kConsumedNote = "This file was created by Profile Cutter and may be deleted.";

// DWGPREFIX (the drawing's folder, with its trailing separator) + "tztin.asc".
std::wstring edgeFilePath() {
    std::wstring path = L"tztin.asc";
    resbuf folder{};
    if (acedGetVar(_T("DWGPREFIX"), &folder) == RTNORM && folder.restype == RTSTR && folder.resval.rstring != nullptr) {
        path = std::wstring(folder.resval.rstring) + path;
        acutDelString(folder.resval.rstring);
    }
    return path;
}

// Loads the edges that `corridor` keeps and replaces the file's content by
// the note. None, after the message, when the file cannot be opened.
std::optional<EdgeList> loadAndConsumeEdgeFile(const std::wstring& path, const CutCorridor& corridor) {
    std::FILE* file = tz::platform::openFile(path, "r");
    if (file == nullptr) {
        acutPrintf(_T("%s"), kCannotOpenTerrain);
        return std::nullopt;
    }
    acutPrintf(_T("\nGetting elevations ...."));
    EdgeLoad load = readEdgeFile(file, corridor);
    std::fclose(file);
    acutPrintf(_T("%s"), kLoadingDone);
    // Text met after some records is worth a word; a file with no number at
    // all (the note a previous run left) ends in "Unable to extract profile!".
    if (load.stoppedAtUnreadableText && load.recordsRead > 0)
        acutPrintf(_T("\nThe edge file holds text that is not a number; the edges before it are used."));

    std::FILE* note = tz::platform::openFile(path, "w");
    if (note == nullptr || !writeAndClose(note, kConsumedNote))
        acutPrintf(_T("\nCould not replace %s with its note."), path.c_str());
    return std::move(load.edges);
}

}  // namespace

int profileCutterCommand() {
    const std::optional<PickedPolyline> polyline = pickPolyline(_T("\nSelect a polyline to cut a section: "));
    if (!polyline) return RTERROR;
    const double startStation = askStartingStation(_T("\nEnter starting station: "));

    // Read before the edges so that only those it may cross are loaded; a
    // polyline that cannot be read is still reported after the edge file.
    const std::optional<Alignment> alignment = alignmentOf(*polyline);
    const std::optional<EdgeList> edges =
        loadAndConsumeEdgeFile(edgeFilePath(), alignment ? CutCorridor::along(*alignment) : CutCorridor::nowhere());
    if (!edges) return RTERROR;
    if (!alignment) return reportUnreadableAlignment();
    return writeProfile(*alignment, startStation, *edges);
}
