// tzsecvol: cut and fill areas per station between the proposed and the
// existing section lines of the project's proposed-sections file (".pxs"),
// written to its section volume file (".vol").
#include <cstdio>
#include <optional>
#include <string>

#include "FileSystem.h"
#include "SectionVolumeCommands.h"
#include "arxHeaders.h"
#include "areas/SectionVolumes.h"
#include "hostbound/ProjectPath.h"

using tz::terrain::hostbound::requireProjectPath;

int sectionVolumesCommand() {
    const std::optional<std::wstring> project = requireProjectPath();
    if (!project) return RTERROR;

    const std::wstring sectionsPath = *project + L".pxs";
    std::FILE* sections = tz::platform::openFile(sectionsPath, "r");
    if (sections == nullptr) {
        acutPrintf(_T("Could not open %s for reading.  Command terminates.\n"), sectionsPath.c_str());
        return RTERROR;
    }
    const std::wstring volumesPath = *project + L".vol";
    tz::platform::ReplacementFile volumes(volumesPath, "w");
    if (volumes.file() == nullptr) {
        std::fclose(sections);
        acutPrintf(_T("Could not open %s for writing.  Command terminates.\n"), volumesPath.c_str());
        return RTERROR;
    }

    tz::terrain::profile::TextScanner scanner(sections);
    const tz::secvolume::SectionVolumes computed = tz::secvolume::computeSectionVolumes(scanner);
    std::fclose(sections);
    if (computed.stoppedAtUnreadableHeader && computed.sections == 0) {
        // Nothing was read: the volume file of an earlier run is kept.
        acutPrintf(_T("%s: the first section header does not start with two numbers; %s is kept as it was.  ")
                   _T("Command terminates.\n"),
                   sectionsPath.c_str(), volumesPath.c_str());
        return RTERROR;
    }
    if (computed.stoppedAtUnreadableHeader)
        acutPrintf(_T("%s: a section header does not start with two numbers; the sections before it are written.\n"),
                   sectionsPath.c_str());
    if (!volumes.write(computed.text) || !volumes.commit()) {
        acutPrintf(_T("Could not write %s.  Command terminates.\n"), volumesPath.c_str());
        return RTERROR;
    }
    return RTNORM;
}
