// Bodies whose commands are still to come. Each is removed from here when
// its command lands.
#include "CommandGuard.h"
#include "SectionVolumeCommands.h"
#include "arxHeaders.h"

int sectionVolumesCommand() { return notAvailableYet(_T("tzsecvol")); }
