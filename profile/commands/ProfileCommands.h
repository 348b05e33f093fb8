// Command bodies of the profile plug-in.
#pragma once

int pointDumpCommand();          // ptgrab
int alignmentProfileCommand();   // tzexpro
