// rmesh: the project's TIN drawn as a square grid of 3D polylines, one per
// column and one per row, optionally hung from a base elevation by a skirt.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "DialogChecks.h"
#include "FileSystem.h"
#include "HostReporter.h"
#include "LayerEntities.h"
#include "Project.h"
#include "TerrainCommands.h"
#include "arxHeaders.h"
#include "mesh/MeshGrid.h"
#include "mesh/MeshLines.h"
#include "tin/TinFile.h"
#include "volume/GridStep.h"
#include "volume/SurfaceReader.h"

using namespace tz::terrain;
using namespace tz::terrain::mesh;

namespace {

// The entity failures of one kind of polyline, each with its message.
struct LineMessages {
    const ACHAR* headerList;
    const ACHAR* headerMade;
    const ACHAR* vertexList;
    const ACHAR* vertexMade;
    const ACHAR* skirtVertex;
    const ACHAR* endList;
    const ACHAR* endMade;
};

constexpr LineMessages kGridLine{
    _T("DTM: Unable to create result buffer list for mesh line\n"), _T("DTM: Unable to start mesh line\n"),
    _T("DTM: Unable to create vertex for mesh line\n"), _T("DTM: Unable to create vertex for mesh line\n"),
    _T("DTM: Unable to create vertex for skirt\n"), _T("Unable to create result buffer to end mesh line\n"),
    _T("Unable to end mesh line\n")};

// The base line's vertices are its own, not a grid line's feet, so they
// fail with the vertex messages; its foot message is never used.
constexpr LineMessages kBaseLine{
    _T("DTM: Error creating result buffer for skirt\n"), _T("DTM: Error starting skirt\n"),
    _T("DTM: Error creating result buffer for skirt vertex\n"), _T("DTM: Error adding skirt vertex\n"),
    _T("DTM: Error adding skirt vertex\n"), _T("DTM: Error ending skirt segment\n"),
    _T("DTM: Error ending skirt segment\n")};

// Makes one entity list; the failure message names the step that failed.
bool make(resbuf* list, const ACHAR* listFailure, const ACHAR* makeFailure) {
    if (list == nullptr) {
        acdbFail(listFailure);
        return false;
    }
    const int made = acdbEntMake(list);
    acutRelRb(list);
    if (made != RTNORM) {
        acdbFail(makeFailure);
        return false;
    }
    return true;
}

// One 3D polyline: its header, vertices and end.
bool writePiece(const MeshPiece& piece, const std::wstring& layer, const LineMessages& messages) {
    ads_point start = {piece.start.x, piece.start.y, piece.start.z};
    if (!make(acutBuildList(RTDXF0, _T("POLYLINE"), 8, layer.c_str(), 10, start, 66, 1, 70, 8, 0),
              messages.headerList, messages.headerMade))
        return false;
    for (const MeshVertex& vertex : piece.vertices) {
        ads_point at = {vertex.point.x, vertex.point.y, vertex.point.z};
        resbuf* list = acutBuildList(RTDXF0, _T("VERTEX"), 10, at, 70, 32, 0);
        const bool ok = vertex.skirt ? make(list, messages.skirtVertex, messages.skirtVertex)
                                     : make(list, messages.vertexList, messages.vertexMade);
        if (!ok) return false;
    }
    return make(acutBuildList(RTDXF0, _T("SEQEND"), 0), messages.endList, messages.endMade);
}

bool writeGridLine(const std::vector<GridPair>& pairs, const std::optional<SkirtFeet>& feet, const std::wstring& layer) {
    for (const MeshPiece& piece : gridLinePieces(pairs, feet))
        if (!writePiece(piece, layer, kGridLine)) return false;
    return true;
}

// The "mesh" dialog's checks; they live while the dialog runs.
struct MeshDialog {
    FieldCheck spacing, scale, base, layer;
    ToggleCheck skirt;
};

void onAccept(ads_callback_packet* packet) {
    ProjectSettings& settings = projectSettings();
    for (const wchar_t* key : {L"dxi", L"dzi", L"dsk", L"dbe"}) settings.set(key, tileText(packet->dialog, key, 15));
    // The layer is read as wide as its check reads it, so that the name
    // checked is the name used.
    settings.set(L"dmln", tileText(packet->dialog, L"dmln", fieldReadLimit(FieldRule::LayerName)));
    ads_done_dialog(packet->dialog, DLGOK);
}

int runDialog() {
    SuiteDialog mesh(L"mesh");
    if (!mesh.isOpen()) return RTERROR;
    ads_hdlg dialog = mesh.handle();
    const ProjectSettings& settings = projectSettings();
    MeshDialog checks{{L"dxi", FieldRule::PositiveTwoMessages, settings.get(L"dxi"), L""},
                      {L"dzi", FieldRule::PositiveTwoMessages, settings.get(L"dzi"), L""},
                      {L"dbe", FieldRule::Numeric, settings.get(L"dbe"), L""},
                      {L"dmln", FieldRule::LayerName, settings.get(L"dmln"), L""},
                      {L"dsk", {L"dbe"}}};
    for (const wchar_t* key : {L"dxi", L"dzi", L"dsk", L"dbe", L"dmln"}) ads_set_tile(dialog, key, settings.get(key).c_str());
    if (settings.get(L"dsk") != L"1") ads_mode_tile(dialog, _T("dbe"), MODE_DISABLE);
    attachFieldCheck(dialog, checks.spacing);
    attachFieldCheck(dialog, checks.scale);
    attachFieldCheck(dialog, checks.base);
    attachFieldCheck(dialog, checks.layer);
    attachToggle(dialog, checks.skirt);
    ads_action_tile(dialog, _T("accept"), onAccept);
    return mesh.run() == DLGOK ? RTNORM : RTCAN;
}

// The TIN file, opened; when it is missing the user is taken to
// triangulation first. Null (after the alert) when it still cannot be opened.
std::FILE* openTin(std::string& path) {
    path = withExtension(settingPath(L"dpoints"), ".tin");
    std::FILE* file = tz::platform::openFile(path, "rb");
    if (file != nullptr) return file;
    acedAlert(_T("Triangle file does not exist.  You will automatically be taken to triangulation.\n"));
    triangulateCommand();
    path = withExtension(settingPath(L"dpoints"), ".tin");
    file = tz::platform::openFile(path, "rb");
    if (file == nullptr) acedAlert(_T("Could not open triangle file.  Command terminates.\n"));
    return file;
}

std::optional<double> distance(const std::wstring& text) {
    ads_real value = 0;
    if (acdbDisToF(text.c_str(), -1, &value) != RTNORM) return std::nullopt;
    return value;
}

// The values the dialog left in the settings, converted in the drawing's
// units; a spacing that would never end the walk is refused.
struct MeshValues {
    double spacing, scale, base;
};

constexpr double kMostPairsPerLine = 160000;
// Every grid point becomes two polyline vertices of the drawing, about 800
// bytes together: ten million grid points already take about 8 GB.
constexpr double kMostGridPoints = 1e7;

std::optional<MeshValues> meshValues(const TinExtent& extent) {
    const ProjectSettings& settings = projectSettings();
    const std::optional<double> spacing = distance(settings.get(L"dxi"));
    const std::optional<double> scale = distance(settings.get(L"dzi"));
    const std::optional<double> base = distance(settings.get(L"dbe"));
    const volume::StepProblem problem = !spacing ? volume::StepProblem::NotPositive
                                                 : volume::checkGridStep(extent.xmin, extent.xmax, *spacing);
    const volume::StepProblem problemY =
        spacing ? volume::checkGridStep(extent.ymin, extent.ymax, *spacing) : volume::StepProblem::NotPositive;
    if (problem == volume::StepProblem::NotPositive) {
        acedAlert(_T("The grid spacing must be a positive number.  Command terminates.\n"));
        return std::nullopt;
    }
    if (problem != volume::StepProblem::None || problemY != volume::StepProblem::None) {
        acedAlert(_T("The grid spacing is too small for the coordinates of the TIN.  Command terminates.\n"));
        return std::nullopt;
    }
    // A grid line holds at most kMostPairsPerLine pairs; a longer one would
    // take memory without end and could not be stopped while it is walked.
    const double widest = std::max(extent.xmax - extent.xmin, extent.ymax - extent.ymin);
    if (!(widest / *spacing < kMostPairsPerLine)) {
        acedAlert(_T("The grid spacing gives more than 160000 points on a grid line.  Command terminates.\n"));
        return std::nullopt;
    }
    const double gridPoints =
        ((extent.xmax - extent.xmin) / *spacing + 1) * ((extent.ymax - extent.ymin) / *spacing + 1);
    if (gridPoints > kMostGridPoints) {
        acedAlert(_T("The grid spacing gives more than 10000000 grid points.  Command terminates.\n"));
        return std::nullopt;
    }
    if (!scale) {
        acedAlert(_T("The vertical scale factor must be numeric.  Command terminates.\n"));
        return std::nullopt;
    }
    // The dialog refuses a scale that is not positive where it is typed; a
    // stored one would turn the mesh upside down or flatten it.
    if (!(*scale > 0)) {
        acedAlert(_T("The vertical scale factor must be positive.  Command terminates.\n"));
        return std::nullopt;
    }
    if (!base) {
        acedAlert(_T("The base elevation must be numeric.  Command terminates.\n"));
        return std::nullopt;
    }
    return MeshValues{*spacing, *scale, *base * *scale};
}

}  // namespace

int meshCommand() {
    if (!requireOpenProject(kOpenProjectFirst)) return RTERROR;
    std::string tinPath;
    std::FILE* file = openTin(tinPath);
    if (file == nullptr) return RTERROR;
    volume::SurfaceLoad tin = volume::loadSurface(file, volume::LastRecordRule::Keep);
    std::fclose(file);
    const std::string stopped = volume::readStopMessage(tinPath, tin.stop, tin.triangles.size());
    if (!stopped.empty()) acutPrintf(_T("%s"), tz::platform::fromUtf8(stopped).c_str());
    if (tin.triangles.empty()) {
        acedAlert(_T("The triangle file holds no triangles.  Command terminates.\n"));
        return RTERROR;
    }
    const TinExtent extent = tinExtent(tin.triangles);
    ProjectSettings& settings = projectSettings();
    settings.set(L"dbe", decimalText(extent.zmin));

    const int dialogResult = runDialog();
    if (dialogResult != RTNORM) return dialogResult;
    const std::optional<MeshValues> values = meshValues(extent);
    if (!values) return RTERROR;

    const std::wstring layer = settings.get(L"dmln");
    eraseLayerEntities(layer);
    if (!makeLayerEntity(layer, 3)) {
        acdbFail(_T("DTM: Unable to make result buffer list for mesh layer\n"));
        return RTERROR;
    }
    acutPrintf(_T("\nGenerating Grid..."));
    const bool skirt = settings.get(L"dsk") == L"1";
    const MeshSampler sampler(tin.triangles, values->scale);
    const double s = values->spacing;
    std::vector<Point3> columnFeet;
    for (double x = extent.xmin; x <= extent.xmax; x += s) {
        if (userBroke()) return RTCAN;
        const std::vector<GridPair> pairs = columnPairs(sampler, x, extent.ymin, extent.ymax, s);
        std::optional<SkirtFeet> feet;
        if (skirt && !pairs.empty()) {
            feet = skirtFeet(pairs, values->base);
            columnFeet.push_back(feet->first);
            columnFeet.push_back(feet->last);
        }
        if (!writeGridLine(pairs, feet, layer)) return RTERROR;
    }
    for (double y = extent.ymin; y <= extent.ymax; y += s) {
        if (userBroke()) return RTCAN;
        const std::vector<GridPair> pairs = rowPairs(sampler, y, extent.xmin, extent.xmax, s);
        std::optional<SkirtFeet> feet;
        if (skirt && !pairs.empty()) feet = skirtFeet(pairs, values->base);
        if (!writeGridLine(pairs, feet, layer)) return RTERROR;
    }
    if (skirt) {
        const std::optional<MeshPiece> base = skirtBaseLine(columnFeet);
        if (base && !writePiece(*base, layer, kBaseLine)) return RTERROR;
    }
    acutPrintf(_T("Done\n"));
    return RTNORM;
}
