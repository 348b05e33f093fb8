// Bodies whose commands are still to come. Each is removed from here when
// its command lands.
#include "CommandGuard.h"
#include "ProfileCommands.h"
#include "arxHeaders.h"

int alignmentProfileCommand() { return notAvailableYet(_T("tzexpro")); }
