// contours: draws the project's contours from its TIN, regular and index
// contours on their own layers, straight or smoothed.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "DialogChecks.h"
#include "HostReporter.h"
#include "LayerEntities.h"
#include "Project.h"
#include "TerrainCommands.h"
#include "arxHeaders.h"
#include "contour/ContourLevels.h"
#include "contour/ContourSmoothing.h"
#include "contour/BackgroundTracer.h"
#include "contour/ContourTracer.h"
#include "tin/ParallelNumberReader.h"
#include "tin/TinFile.h"
#include "volume/SurfaceReader.h"

using namespace tz::terrain;

namespace {

// More levels than any survey's relief holds at a sensible interval.
constexpr double kMostContourLevels = 1e6;
// Each segment becomes a polyline vertex of the drawing (several, smoothed),
// a few hundred bytes each: twenty million already take several gigabytes.
constexpr double kMostContourVertices = 2e7;

// What a triangle can add to a run of levels, kept small: they only count
// what the run would make before anything is drawn. A segment through the
// triangle is no longer than its longest side, which bounds the vertices
// that smoothing makes of it.
struct TriangleReach {
    float low, high;            // elevations
    uint32_t smoothedVertices;  // the most a segment across it becomes, smoothed
};

double planLengthSquared(const Point3& a, const Point3& b) {
    return (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y);
}

std::vector<TriangleReach> triangleReaches(const std::vector<Triangle>& triangles) {
    std::vector<TriangleReach> reaches;
    reaches.reserve(triangles.size());
    for (const Triangle& t : triangles) {
        const double low = std::min({t.p1.z, t.p2.z, t.p3.z});
        const double high = std::max({t.p1.z, t.p2.z, t.p3.z});
        if (!std::isfinite(low) || !std::isfinite(high)) continue;
        const double longest = std::sqrt(
            std::max({planLengthSquared(t.p1, t.p2), planLengthSquared(t.p2, t.p3), planLengthSquared(t.p3, t.p1)}));
        reaches.push_back({static_cast<float>(low), static_cast<float>(high),
                           static_cast<uint32_t>(1 + hermitePieceCountAtMost(longest))});
    }
    return reaches;
}

// About how many (triangle, level) pairs the levels first, first +
// interval, ... top reach: the most segments their contours can have, and
// the most vertices those segments become when smoothed.
struct ContourCounts {
    double segments = 0;
    double smoothedVertices = 0;
};

ContourCounts countsAtMost(const std::vector<TriangleReach>& reaches, double first, double top, double interval) {
    const double lastLevel = std::floor((top - first) / interval);
    ContourCounts counts;
    for (const TriangleReach& reach : reaches) {
        const double lowest = std::max(0.0, std::ceil((reach.low - first) / interval));
        const double highest = std::min(lastLevel, std::floor((reach.high - first) / interval));
        if (highest < lowest) continue;
        counts.segments += highest - lowest + 1;
        counts.smoothedVertices += (highest - lowest + 1) * reach.smoothedVertices;
    }
    return counts;
}

// The run's start and end texts and what the dialog decided.
struct ContourDialog {
    std::wstring start, end;
    std::vector<FieldCheck> checks;
    bool accepted = false;
};
ContourDialog* activeDialog = nullptr;

void onAccept(ads_callback_packet* packet) {
    ads_hdlg dialog = packet->dialog;
    ProjectSettings& settings = projectSettings();
    activeDialog->start = tileText(dialog, L"start", 15);
    activeDialog->end = tileText(dialog, L"end", 15);
    if (tileText(dialog, L"NoRounding", 2) == L"1") settings.set(L"dcround", L"0");
    if (tileText(dialog, L"SomeRounding", 2) == L"1") settings.set(L"dcround", L"1");
    const std::pair<const wchar_t*, const wchar_t*> numberFields[] = {
        {L"interval", L"dci"}, {L"iinterval", L"dii"}, {L"dcw", L"dcw"}, {L"diw", L"diw"}};
    for (const auto& [tile, setting] : numberFields) settings.set(setting, tileText(dialog, tile, 15));
    settings.set(L"dcln", tileText(dialog, L"layer", 31));
    settings.set(L"diln", tileText(dialog, L"ilayer", 31));
    activeDialog->accepted = true;
    ads_done_dialog(dialog, DLGOK);
}

// Shows the "contours" dialog; true when it was accepted.
bool runDialog(ContourDialog& state, SuiteDialog& contours) {
    ads_hdlg dialog = contours.handle();
    const ProjectSettings& settings = projectSettings();
    const bool straight = settings.get(L"dcround") == L"0";
    ads_set_tile(dialog, _T("start"), state.start.c_str());
    ads_set_tile(dialog, _T("end"), state.end.c_str());
    ads_set_tile(dialog, _T("NoRounding"), straight ? _T("1") : _T("0"));
    ads_set_tile(dialog, _T("SomeRounding"), straight ? _T("0") : _T("1"));
    ads_set_tile(dialog, _T("interval"), settings.get(L"dci").c_str());
    ads_set_tile(dialog, _T("iinterval"), settings.get(L"dii").c_str());
    ads_set_tile(dialog, _T("dcw"), settings.get(L"dcw").c_str());
    ads_set_tile(dialog, _T("diw"), settings.get(L"diw").c_str());
    ads_set_tile(dialog, _T("layer"), settings.get(L"dcln").c_str());
    ads_set_tile(dialog, _T("ilayer"), settings.get(L"diln").c_str());

    state.checks = {
        {L"start", FieldRule::Numeric, state.start, L""},
        {L"end", FieldRule::Numeric, state.end, L""},
        {L"dcw", FieldRule::Nonnegative, settings.get(L"dcw"), L""},
        {L"diw", FieldRule::Nonnegative, settings.get(L"diw"), L""},
        {L"interval", FieldRule::Positive, settings.get(L"dci"), L""},
        {L"iinterval", FieldRule::Positive, settings.get(L"dii"), L""},
        {L"layer", FieldRule::LayerName, settings.get(L"dcln"), L""},
        {L"ilayer", FieldRule::LayerName, settings.get(L"diln"), L""},
        {L"dcln", FieldRule::LayerName, settings.get(L"dcln"), L""},
        {L"diln", FieldRule::LayerName, settings.get(L"diln"), L""},
    };
    for (FieldCheck& check : state.checks) attachFieldCheck(dialog, check);
    ads_action_tile(dialog, _T("accept"), onAccept);
    activeDialog = &state;
    contours.run();
    activeDialog = nullptr;
    return state.accepted;
}

// Adds one contour as a POLYLINE with its VERTEXes and SEQEND.
bool writeContour(const ContourChain& chain, const std::wstring& layer, double width) {
    const Point3& first = chain.points.front();
    ads_point start = {first.x, first.y, first.z};
    resbuf* header = acutBuildList(RTDXF0, _T("POLYLINE"), 8, layer.c_str(), 10, start, 40, width, 41, width, 66, 1, 0);
    if (header == nullptr) {
        acdbFail(_T("DTM: Unable to create result buffer list for contour\n"));
        return false;
    }
    const int made = acdbEntMake(header);
    acutRelRb(header);
    if (made != RTNORM) {
        acdbFail(_T("DTM: Unable to start contour\n"));
        return false;
    }
    for (const Point3& p : chain.points) {
        ads_point point = {p.x, p.y, p.z};
        resbuf* vertex = acutBuildList(RTDXF0, _T("VERTEX"), 10, point, 0);
        if (vertex == nullptr) {
            acdbFail(_T("DTM: Unable to create result buffer list for vertex.\n"));
            return false;
        }
        const int added = acdbEntMake(vertex);
        acutRelRb(vertex);
        if (added != RTNORM) {
            acdbFail(_T("Unable to add contour vertex.\n"));
            return false;
        }
    }
    resbuf* end = acutBuildList(RTDXF0, _T("SEQEND"), 0);
    if (end == nullptr) {
        acdbFail(_T("Unable to create result buffer to end contour\n"));
        return false;
    }
    const int ended = acdbEntMake(end);
    acutRelRb(end);
    if (ended != RTNORM) {
        acdbFail(_T("Unable to end contour\n"));
        return false;
    }
    return true;
}

// Reads the TIN with a break test before each triangle is taken in.
// RTNORM, or RTCAN on a break; `stop` tells why reading ended.
// The numbers are read on two threads; records of nine are taken in as a
// TinReader would give them, a record cut short at the end dropped.
int readTin(std::FILE* file, std::vector<Triangle>& triangles, volume::ReadStop& stop) {
    reserveForRecords(file, triangles, kShortestTinLine);
    bool broken = false;
    const RecordsEnd end = readRecordsInParallel(file, 9, [&](const double* v) {
        if (userBroke()) {
            broken = true;
            return false;
        }
        triangles.push_back({{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}});
        return true;
    });
    stop = volume::stopOf(end);
    return broken ? RTCAN : RTNORM;
}

}  // namespace

int contoursCommand() {
    if (!requireOpenProject(kOpenProjectFirst)) return RTERROR;
    const std::string tinPath = withExtension(settingPath(L"dpoints"), ".tin");
    // Binary: the reader takes CR as the white space it is, without the text
    // layer's turning of every block.
    std::FILE* file = tz::platform::openFile(tinPath, "rb");
    if (file == nullptr) {
        acedAlert(_T("Triangle file does not exist.  You will automatically be taken to triangulation.\n"));
        triangulateCommand();
        file = tz::platform::openFile(tinPath, "rb");
        if (file == nullptr) {
            acedAlert(_T("Could not open triangle file.  Command terminates.\n"));
            return RTERROR;
        }
    }
    std::vector<Triangle> triangles;
    volume::ReadStop stop;
    const int read = readTin(file, triangles, stop);
    std::fclose(file);
    if (read != RTNORM) return read;
    const std::string stopped = volume::readStopMessage(tinPath, stop, triangles.size());
    if (!stopped.empty()) acutPrintf(_T("%s"), tz::platform::fromUtf8(stopped).c_str());

    const std::optional<ElevationRange> range = tinElevationRange(triangles);
    const std::vector<TriangleReach> reaches = triangleReaches(triangles);
    // The tracer is built on its own thread while the dialog is up.
    BackgroundTracer tracer(std::move(triangles));
    ContourDialog state;
    state.start = decimalText(range ? range->lowest : 0.0);
    state.end = decimalText(range ? range->highest : 0.0);

    SuiteDialog dialog(L"contours");
    if (!dialog.isOpen()) return RTERROR;
    if (!runDialog(state, dialog)) return RTCAN;

    ProjectSettings& settings = projectSettings();
    const double start = dialogNumber(state.start);
    const double end = dialogNumber(state.end);
    const double interval = dialogNumber(settings.get(L"dci"));
    const IndexInterval index = effectiveIndexInterval(dialogNumber(settings.get(L"dii")), interval);
    if (index.doubled) settings.set(L"dii", decimalText(index.value));

    // Refused before the old contours are erased: an interval that is not
    // a positive number draws nothing, and one far too small for the range
    // would trace for hours.
    if (!(interval > 0) || !std::isfinite(interval)) {
        acedAlert(_T("The contour interval must be a positive number.  Command terminates.\n"));
        return RTERROR;
    }
    ContourLevelSequence levels(start, end, interval);
    if ((levels.top() - levels.first()) / interval > kMostContourLevels) {
        acedAlert(_T("The contour interval gives more than 1000000 levels.  Command terminates.\n"));
        return RTERROR;
    }
    const bool smooth = settings.get(L"dcround") != L"0";
    const ContourCounts counts = countsAtMost(reaches, levels.first(), levels.top(), interval);
    if (counts.segments > kMostContourVertices) {
        acedAlert(_T("The contour interval gives more than 20000000 contour segments.  Command terminates.\n"));
        return RTERROR;
    }
    if (smooth && counts.smoothedVertices > kMostContourVertices) {
        acedAlert(_T("Smoothed, the contours would have more than 20000000 vertices.  Command terminates.\n"));
        return RTERROR;
    }

    // Widths typed into the dialog are checked there; stored ones (an old or
    // hand-edited settings file) only here, before anything is erased.
    const double regularWidth = dialogNumber(settings.get(L"dcw"));
    const double indexWidth = dialogNumber(settings.get(L"diw"));
    if (!(regularWidth >= 0 && indexWidth >= 0) || !std::isfinite(regularWidth) || !std::isfinite(indexWidth)) {
        acedAlert(_T("The contour widths must be numbers of zero or more.  Command terminates.\n"));
        return RTERROR;
    }

    const std::wstring regularLayer = settings.get(L"dcln");
    const std::wstring indexLayer = settings.get(L"diln");
    if (!makeLayerEntity(regularLayer, 3)) {
        acdbFail(_T("DTM: Unable to make result buffer list for contour layer\n"));
        return RTERROR;
    }
    if (!makeLayerEntity(indexLayer, 5)) {
        acdbFail(_T("DTM: Unable to make result buffer list for index contour layer.\n"));
        return RTERROR;
    }
    eraseLayerEntities(regularLayer);
    eraseLayerEntities(indexLayer);

    ContourOptions options;
    options.smooth = smooth;
    options.indexInterval = index.value;
    // Levels are traced ahead on the tracer's thread; the break test and the
    // drawing stay here, level by level, in order.
    tracer.start(levels, options);
    while (levels.next()) {
        if (userBroke()) return RTCAN;
        for (const ContourChain& chain : tracer.next()) {
            const bool written = chain.isIndex ? writeContour(chain, indexLayer, indexWidth)
                                               : writeContour(chain, regularLayer, regularWidth);
            if (!written) return RTERROR;
        }
    }
    return RTNORM;
}
