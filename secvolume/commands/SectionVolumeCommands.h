// Command body of the section volume plug-in.
#pragma once

int sectionVolumesCommand();  // tzsecvol
