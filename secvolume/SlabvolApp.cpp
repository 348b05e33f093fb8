// Slabvol, the section volume plug-in: one LISP function.
#include "AcRxArxApp.h"
#include "CommandGuard.h"
#include "DocData.h"
#include "arxHeaders.h"
#include "commands/SectionVolumeCommands.h"

namespace {

int tzsecvolFunction() {
    guardedCall(sectionVolumesCommand);
    acedRetVoid();
    return RSRSLT;
}

LispFunctionEntry tzsecvolRow = lispFunction(_T("tzsecvol"), tzsecvolFunction);

const LispFunctionTable lispFunctions = {&tzsecvolRow};
const CommandTable commands = {};

}  // namespace

AcApDataManager<CDocData> DocVars;

class CSlabvolApp : public AcRxArxApp {
public:
    CSlabvolApp() : AcRxArxApp(lispFunctions, commands) {}
};

IMPLEMENT_ARX_ENTRYPOINT(CSlabvolApp)
