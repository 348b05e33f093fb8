// Bodies whose commands are still to come. Each is removed from here when
// its command lands.
#include "CommandGuard.h"
#include "SectionCommands.h"
#include "arxHeaders.h"

int sectionsCommand() { return notAvailableYet(_T("tzkerfline")); }
int spotElevationCommand() { return notAvailableYet(_T("tzfel")); }
