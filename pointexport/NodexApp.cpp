// Nodex, the point export plug-in: its LISP functions in function code order.
#include "AcRxArxApp.h"
#include "CommandGuard.h"
#include "DocData.h"
#include "arxHeaders.h"
#include "commands/PointExportCommands.h"

namespace {

template <int (*Body)()>
int exportFunction() {
    acedGetArgs();
    guardedCall(Body);
    acedRetVoid();
    return RSRSLT;
}

// The value functions deliver their own result; an error leaves nil.
template <int (*Body)()>
int valueFunction() {
    acedGetArgs();
    if (guardedCall(Body) == RTERROR) acedRetNil();
    return RSRSLT;
}

LispFunctionEntry exprtpenzdRow = lispFunction(_T("exprtpenzd"), exportFunction<exportPenzd>);
LispFunctionEntry exprtpnezdRow = lispFunction(_T("exprtpnezd"), exportFunction<exportPnezd>);
LispFunctionEntry exprtxyzRow = lispFunction(_T("exprtxyz"), exportFunction<exportXyz>);
LispFunctionEntry exprtxmlRow = lispFunction(_T("exprtxml"), exportFunction<exportLandXml>);
LispFunctionEntry listnodeRow = lispFunction(_T("listnode"), exportFunction<listNodes>);
LispFunctionEntry listnode2Row = lispFunction(_T("listnode2"), exportFunction<listNodesEastingFirst>);
LispFunctionEntry getnumRow = lispFunction(_T("getnum"), valueFunction<nextPointNumber>);
LispFunctionEntry getcrdRow = lispFunction(_T("getcrd"), valueFunction<pointCoordinates>);
LispFunctionEntry getregRow = lispFunction(_T("getreg"), valueFunction<installFolder>);

const LispFunctionTable lispFunctions = {&exprtpenzdRow, &exprtpnezdRow, &exprtxyzRow,
                                         &exprtxmlRow,   &listnodeRow,   &listnode2Row,
                                         &getnumRow,     &getcrdRow,     &getregRow};
const CommandTable commands = {};

}  // namespace

AcApDataManager<CDocData> DocVars;

class CNodexApp : public AcRxArxApp {
public:
    CNodexApp() : AcRxArxApp(lispFunctions, commands) {}
};

IMPLEMENT_ARX_ENTRYPOINT(CNodexApp)
