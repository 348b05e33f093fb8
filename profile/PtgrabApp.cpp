// ptgrab, the profile plug-in: two commands, each also a LISP function of the
// same name.
#include "AcRxArxApp.h"
#include "CommandGuard.h"
#include "DocData.h"
#include "arxHeaders.h"
#include "commands/ProfileCommands.h"

namespace {

void ptgrabCommand() { guardedCall(pointDumpCommand); }
void tzexproCommand() { guardedCall(alignmentProfileCommand); }

int ptgrabFunction() {
    ptgrabCommand();
    acedRetVoid();
    return RSRSLT;
}

int tzexproFunction() {
    tzexproCommand();
    acedRetVoid();
    return RSRSLT;
}

LispFunctionEntry ptgrabRow = lispFunction(_T("ptgrab"), ptgrabFunction);
LispFunctionEntry tzexproRow = lispFunction(_T("tzexpro"), tzexproFunction);
CommandEntry ptgrabCommandRow =
    command(_T("TZKRptgrab"), _T("_ptgrab"), _T("ptgrab"), ACRX_CMD_TRANSPARENT, ptgrabCommand);
CommandEntry tzexproCommandRow =
    command(_T("TZKRptgrab"), _T("_tzexpro"), _T("tzexpro"), ACRX_CMD_TRANSPARENT, tzexproCommand);

const LispFunctionTable lispFunctions = {&ptgrabRow, &tzexproRow};
const CommandTable commands = {&ptgrabCommandRow, &tzexproCommandRow};

}  // namespace

AcApDataManager<CDocData> DocVars;

class CptgrabApp : public AcRxArxApp {
public:
    CptgrabApp() : AcRxArxApp(lispFunctions, commands) {}
};

IMPLEMENT_ARX_ENTRYPOINT(CptgrabApp)
