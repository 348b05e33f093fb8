// tzexpro: the ground profile along a picked alignment, with the terrain
// taken from a TIN file the user picks. The TIN's triangles give the edge
// list in memory (only the edges that may cross the alignment); no input
// file is changed.
#include <cstdio>
#include <optional>
#include <string>

#include "FileSystem.h"
#include "ProfileCommands.h"
#include "arxHeaders.h"
#include "hostbound/PolylineReading.h"
#include "hostbound/ProfileWriting.h"
#include "profile/EdgeReading.h"

using namespace tz::terrain::hostbound;
using namespace tz::terrain::profile;

namespace {

// The edges of the TIN's triangles that `corridor` keeps, each held once.
// None, after the message, when the file cannot be opened.
std::optional<EdgeList> loadTinEdges(const std::wstring& path, const CutCorridor& corridor) {
    // Binary: the scanner turns CR LF itself, without the text layer's copy.
    std::FILE* file = tz::platform::openFile(path, "rb");
    if (file == nullptr) {
        acutPrintf(_T("%s"), kCannotOpenTerrain);
        return std::nullopt;
    }
    acutPrintf(_T("\nReading TIN ...."));
    EdgeLoad load = readTinEdges(file, corridor);
    std::fclose(file);
    acutPrintf(_T("%s"), kLoadingDone);
    // A file that is not a TIN at all (or starts with a byte order mark)
    // would otherwise end in "Unable to extract profile!" with no reason given.
    if (load.stoppedAtUnreadableText && load.recordsRead > 0)
        acutPrintf(_T("\nThe TIN file holds text that is not a number; the triangles before it are used."));
    else if (load.stoppedAtUnreadableText)
        acutPrintf(_T("\nThe TIN file begins with text that is not a number; it holds no triangle to use."));
    return std::move(load.edges);
}

}  // namespace

int alignmentProfileCommand() {
    const std::optional<PickedPolyline> polyline = pickPolyline(_T("\nSelect an alignment: "));
    if (!polyline) return RTERROR;
    const double startStation = askStartingStation(_T("Enter starting station: "));

    resbuf chosen{};
    if (acedGetFileD(_T("Select a TIN file"), nullptr, _T("tin"), 4, &chosen) != RTNORM) return RTCAN;
    const std::wstring tinPath = chosen.resval.rstring;
    acutDelString(chosen.resval.rstring);

    // Read before the TIN so that only the edges it may cross are loaded;
    // a polyline that cannot be read is still reported after the TIN.
    const std::optional<Alignment> alignment = alignmentOf(*polyline);
    const std::optional<EdgeList> edges =
        loadTinEdges(tinPath, alignment ? CutCorridor::along(*alignment) : CutCorridor::nowhere());
    if (!edges) return RTERROR;
    if (!alignment) return reportUnreadableAlignment();
    return writeProfile(*alignment, startStation, *edges);
}
