// Bodies whose commands are still to come. Each is removed from here when
// its command lands.
#include "CommandGuard.h"
#include "TerrainCommands.h"
#include "arxHeaders.h"

