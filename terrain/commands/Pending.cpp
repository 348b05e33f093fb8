// Bodies whose commands are still to come. Each is removed from here when
// its command lands.
#include "CommandGuard.h"
#include "TerrainCommands.h"
#include "arxHeaders.h"

int profileCutterCommand() { return notAvailableYet(_T("tzexsec")); }
int triangulateCommand() { return notAvailableYet(_T("triangulate")); }
