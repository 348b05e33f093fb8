// Command bodies of the section extraction plug-in.
#pragma once

int sectionsCommand();         // tzkerfline
int spotElevationCommand();    // tzfel
