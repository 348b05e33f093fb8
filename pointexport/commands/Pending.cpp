// Bodies whose commands are still to come. Each is removed from here when
// its command lands.
#include "CommandGuard.h"
#include "PointExportCommands.h"
#include "arxHeaders.h"

int exportPenzd() { return notAvailableYet(_T("exprtpenzd")); }
int exportPnezd() { return notAvailableYet(_T("exprtpnezd")); }
int exportXyz() { return notAvailableYet(_T("exprtxyz")); }
int exportLandXml() { return notAvailableYet(_T("exprtxml")); }
int listNodes() { return notAvailableYet(_T("listnode")); }
int listNodesEastingFirst() { return notAvailableYet(_T("listnode2")); }
int nextPointNumber() { return notAvailableYet(_T("getnum")); }
int pointCoordinates() { return notAvailableYet(_T("getcrd")); }
int installFolder() { return notAvailableYet(_T("getreg")); }
