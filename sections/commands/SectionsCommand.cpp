// tzkerfline: cross sections of the existing ground, cut from a TIN the user
// picks along the project's section lines (".exd"), written to the
// project's existing-sections file (".exs").
#include <cstdio>
#include <optional>
#include <string>

#include "FileSystem.h"
#include "SectionCommands.h"
#include "TinSelection.h"
#include "arxHeaders.h"
#include "hostbound/ProjectPath.h"
#include "sections/SectionExtractor.h"

using namespace tz::sections;
using tz::terrain::hostbound::requireProjectPath;

int sectionsCommand() {
    // Without a project there is nowhere to read section lines from, so say
    // so before the user is asked for a TIN.
    const std::optional<std::wstring> project = requireProjectPath();
    if (!project) return RTERROR;

    const std::optional<std::wstring> tinPath = selectTinFile();
    if (!tinPath) return RTCAN;
    const std::optional<TinTable> tin = loadTinTable(*tinPath);
    if (!tin) return RTERROR;
    // Every section would cross nothing: refused before the existing
    // sections are rewritten as empty ones.
    if (tin->count() == 0) {
        acutPrintf(_T("\n%s holds no triangle; the existing sections are kept. Command Terminates."),
                   tinPath->c_str());
        return RTERROR;
    }
    // The edge list is built from the loaded triangles when the lines are cut.
    acutPrintf(_T("\nReading TIN ...."));
    acutPrintf(_T(".... Done!"));

    const std::wstring dataPath = *project + L".exd";
    std::FILE* data = tz::platform::openFile(dataPath, "r");
    if (data == nullptr) {
        acdbFail(_T("\nCan't open existing section data. Command Terminates."));
        acutPrintf(_T("\nCan't open %s "), dataPath.c_str());
        return RTERROR;
    }
    const std::wstring sectionsPath = *project + L".exs";
    tz::platform::ReplacementFile sections(sectionsPath, "w");
    if (sections.file() == nullptr) {
        std::fclose(data);
        acdbFail(_T("\nCan't open existing sections. Command Terminates."));
        return RTERROR;
    }

    tz::terrain::profile::TextScanner scanner(data);
    const SectionLineRead lines = readSectionLines(scanner);
    std::fclose(data);
    if (lines.stoppedAtUnreadableText)
        acutPrintf(_T("\n%s holds a line without six comma-separated numbers; the lines before it are cut."),
                   dataPath.c_str());

    const ExtractedSections extracted = extractSections(*tin, lines.lines);
    if (!sections.write(extracted.text) || !sections.commit()) {
        acutPrintf(_T("\nCould not write %s. Command Terminates."), sectionsPath.c_str());
        return RTERROR;
    }
    if (extracted.outcome != SectionsOutcome::done) {
        acutPrintf(_T("\nUnable to extract sections!"));
        return extracted.outcome == SectionsOutcome::noSectionLines ? RTERROR : RTNORM;
    }
    return RTNORM;
}
