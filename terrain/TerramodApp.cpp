// Terramod, the terrain modeller plug-in: its LISP functions in function code
// order, and the settings save at unload.
#include "AcRxArxApp.h"
#include "CommandGuard.h"
#include "DocData.h"
#include "arxHeaders.h"
#include "commands/TerrainCommands.h"

namespace {

// Every wrapper hands a value back to LISP and reports "result delivered";
// the body's own status stays inside the plug-in.
int contoursFunction() {
    acedGetArgs();
    guardedCall(contoursCommand);
    acedRetVoid();
    return RSRSLT;
}

int tzexsecFunction() {
    guardedCall(profileCutterCommand);
    acedRetVoid();
    return RSRSLT;
}

int dtmopenFunction() {
    acedGetArgs();
    guardedCall(openProjectWithDialog);
    acedRetVoid();
    return RSRSLT;
}

const struct resbuf* currentArgs = nullptr;

int dtmsetFunction() {
    currentArgs = acedGetArgs();
    guardedCall([] { return setProjectSetting(currentArgs); });
    acedRetVoid();
    return RSRSLT;
}

int dtmvarFunction() {
    acedGetArgs();
    if (guardedCall(listProjectSettings) == RTERROR) acedRetNil();
    return RSRSLT;
}

int ldtmopenFunction() {
    currentArgs = acedGetArgs();
    guardedCall([] { return openProjectFromPath(currentArgs); });
    acedRetVoid();
    return RSRSLT;
}

int rmeshFunction() {
    acedGetArgs();
    guardedCall(meshCommand);
    acedRetVoid();
    return RSRSLT;
}

int showtinFunction() {
    acedGetArgs();
    guardedCall(showTinCommand);
    acedRetVoid();
    return RSRSLT;
}

int triangulateFunction() {
    acedGetArgs();
    guardedCall(triangulateCommand);
    acedRetVoid();
    return RSRSLT;
}

int volumesFunction() {
    acedGetArgs();
    guardedCall(volumesCommand);
    acedRetVoid();
    return RSRSLT;
}

LispFunctionEntry contoursRow = lispFunction(_T("contours"), contoursFunction);
LispFunctionEntry tzexsecRow = lispFunction(_T("tzexsec"), tzexsecFunction);
LispFunctionEntry dtmopenRow = lispFunction(_T("dtmopen"), dtmopenFunction);
LispFunctionEntry dtmsetRow = lispFunction(_T("dtmset"), dtmsetFunction);
LispFunctionEntry dtmvarRow = lispFunction(_T("dtmvar"), dtmvarFunction);
LispFunctionEntry ldtmopenRow = lispFunction(_T("ldtmopen"), ldtmopenFunction);
LispFunctionEntry rmeshRow = lispFunction(_T("rmesh"), rmeshFunction);
LispFunctionEntry showtinRow = lispFunction(_T("showtin"), showtinFunction);
LispFunctionEntry triangulateRow = lispFunction(_T("triangulate"), triangulateFunction);
LispFunctionEntry volumesRow = lispFunction(_T("volumes"), volumesFunction);

const LispFunctionTable lispFunctions = {&contoursRow, &tzexsecRow, &dtmopenRow, &dtmsetRow,
                                         &dtmvarRow,   &ldtmopenRow, &rmeshRow,  &showtinRow,
                                         &triangulateRow, &volumesRow};
const CommandTable commands = {};

}  // namespace

AcApDataManager<CDocData> DocVars;

class CTerramodApp : public AcRxArxApp {
public:
    CTerramodApp() : AcRxArxApp(lispFunctions, commands) {}

    AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override {
        const AcRx::AppRetCode result = AcRxArxApp::On_kUnloadAppMsg(pkt);
        saveOpenProjectSettings();
        return result;
    }
};

IMPLEMENT_ARX_ENTRYPOINT(CTerramodApp)
