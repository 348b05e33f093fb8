// showtin: the project's TIN drawn as one 3D face per triangle on the TIN
// layer, which is cleared first, then a zoom to the drawing's extents.
#include <cstdio>
#include <string>

#include "DialogChecks.h"
#include "FileSystem.h"
#include "LayerEntities.h"
#include "Project.h"
#include "TerrainCommands.h"
#include "arxHeaders.h"
#include "display/TinFaces.h"
#include "tin/TinFile.h"
#include "volume/SurfaceReader.h"

using namespace tz::terrain;

namespace {

// The TIN layer: kept while the plug-in is loaded, not a project setting.
std::wstring tinLayer;

void onAccept(ads_callback_packet* packet) {
    tinLayer = display::tinLayerOrDefault(tileText(packet->dialog, L"tinlayer", 512));
    ads_done_dialog(packet->dialog, DLGOK);
}

// The "showtin" dialog; RTNORM when accepted (tinLayer then holds the choice).
int runDialog() {
    SuiteDialog showtin(L"showtin");
    if (!showtin.isOpen()) return RTERROR;
    ads_hdlg dialog = showtin.handle();
    FieldCheck layerCheck{L"tinlayer", FieldRule::LayerName, tinLayer, L""};
    ads_set_tile(dialog, _T("tinlayer"), tinLayer.c_str());
    attachFieldCheck(dialog, layerCheck);
    ads_action_tile(dialog, _T("accept"), onAccept);
    return showtin.run() == DLGOK ? RTNORM : RTCAN;
}

// One face: corners 1 to 3 the triangle's vertices, corner 4 its first again.
int addFace(const double (&numbers)[9]) {
    const Triangle triangle{{numbers[0], numbers[1], numbers[2]},
                            {numbers[3], numbers[4], numbers[5]},
                            {numbers[6], numbers[7], numbers[8]}};
    const auto corners = display::faceCorners(triangle);
    ads_point c[4];
    for (int i = 0; i < 4; ++i) {
        c[i][0] = corners[i].x;
        c[i][1] = corners[i].y;
        c[i][2] = corners[i].z;
    }
    resbuf* list = acutBuildList(RTDXF0, _T("3DFACE"), 8, tinLayer.c_str(), 10, c[0], 11, c[1], 12, c[2], 13, c[3], 0);
    if (list == nullptr) {
        acedAlert(_T("Could not build list for triangle.  Command terminates.\n"));
        return RTERROR;
    }
    const int made = acdbEntMake(list);
    acutRelRb(list);
    if (made != RTNORM) {
        acedAlert(_T("Could not add triangle to drawing.  Command terminates.\n"));
        return RTERROR;
    }
    return RTNORM;
}

}  // namespace

int showTinCommand() {
    if (!requireOpenProject(kOpenProjectFirstBang)) return RTERROR;
    tinLayer = display::tinLayerOrDefault(tinLayer);
    const std::string tinPath = withExtension(settingPath(L"dpoints"), ".tin");

    const int dialogResult = runDialog();
    if (dialogResult != RTNORM) return dialogResult;

    std::FILE* file = tz::platform::openFile(tinPath, "rb");
    if (file == nullptr) {
        acedAlert(_T("Could not open tin file.  Command terminates.\n"));
        return RTERROR;
    }
    eraseLayerEntities(tinLayer);
    if (!makeLayerEntity(tinLayer, 5)) {
        acedAlert(_T("DTM: Unable to make result buffer list for tin layer.\n"));
        std::fclose(file);
        return RTERROR;
    }
    volume::TinRecordReader reader(file, volume::LastRecordRule::Keep);
    double numbers[9];
    std::size_t faces = 0;
    while (reader.next(numbers)) {
        if (addFace(numbers) != RTNORM) {
            std::fclose(file);
            return RTERROR;
        }
        ++faces;
    }
    std::fclose(file);
    const std::string stopped = volume::readStopMessage(tinPath, reader.stop(), faces);
    if (!stopped.empty()) acutPrintf(_T("%s"), tz::platform::fromUtf8(stopped).c_str());
    acedCommand(RTSTR, _T("zoom"), RTSTR, _T("e"), RTNONE);
    return RTNORM;
}
