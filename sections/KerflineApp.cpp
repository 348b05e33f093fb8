// Kerfline, the section extraction plug-in: two commands, each also a LISP
// function of the same name.
#include "AcRxArxApp.h"
#include "CommandGuard.h"
#include "DocData.h"
#include "arxHeaders.h"
#include "commands/SectionCommands.h"

namespace {

void tzkerflineCommand() { guardedCall(sectionsCommand); }
void tzfelCommand() { guardedCall(spotElevationCommand); }

int tzkerflineFunction() {
    tzkerflineCommand();
    acedRetVoid();
    return RSRSLT;
}

int tzfelFunction() {
    tzfelCommand();
    acedRetVoid();
    return RSRSLT;
}

LispFunctionEntry tzkerflineRow = lispFunction(_T("tzkerfline"), tzkerflineFunction);
LispFunctionEntry tzfelRow = lispFunction(_T("tzfel"), tzfelFunction);
CommandEntry tzkerflineCommandRow =
    command(_T("TZKRKerfline"), _T("_tzkerfline"), _T("tzkerfline"), ACRX_CMD_TRANSPARENT, tzkerflineCommand);
CommandEntry tzfelCommandRow =
    command(_T("TZKRKerfline"), _T("_tzfel"), _T("tzfel"), ACRX_CMD_TRANSPARENT, tzfelCommand);

const LispFunctionTable lispFunctions = {&tzkerflineRow, &tzfelRow};
const CommandTable commands = {&tzkerflineCommandRow, &tzfelCommandRow};

}  // namespace

AcApDataManager<CDocData> DocVars;

class CKerflineApp : public AcRxArxApp {
public:
    CKerflineApp() : AcRxArxApp(lispFunctions, commands) {}
};

IMPLEMENT_ARX_ENTRYPOINT(CKerflineApp)
