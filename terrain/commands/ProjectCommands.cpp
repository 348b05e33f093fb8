// Opening a project (dtmopen, ldtmopen), changing and listing its settings
// (dtmset, dtmvar), and saving them.
#include <cstdio>
#include <string>

#include "DialogChecks.h"
#include "FileSystem.h"
#include "Project.h"
#include "TerrainCommands.h"
#include "arxHeaders.h"
#include "tin/TinFile.h"

using tz::terrain::ProjectSettings;

namespace {

ProjectSettings settings;

std::string readWholeFile(std::FILE* file) {
    std::string bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    return bytes;
}

// Writes the settings file of the open project (saveProjectSettings steps 2 to 4).
int writeSettings() {
    const std::wstring path = tz::terrain::settingsFileName(settings.get(L"dpoints"));
    // A settings file cut short by a full disk would lose the project's
    // settings; the old one stays until the new one is whole.
    tz::platform::ReplacementFile file(path, "wb");
    if (file.file() == nullptr) return RTERROR;  // nothing is written and nothing reported
    if (!file.write(tz::terrain::settingsFileContent(settings)) || !file.commit()) return RTERROR;
    return 0;
}

// Reads the settings file beside the point file into the settings, or sets
// the defaults when there is none.
int loadSettings() {
    const std::wstring path = tz::terrain::settingsFileName(settings.get(L"dpoints"));
    std::FILE* file = tz::platform::openFile(path, "rb");
    if (file == nullptr) {
        acedAlert(_T("Settings file not found.  Creating settings file."));
        settings.markOpen();
        settings.applyDefaults();
        return RTNORM;
    }
    const std::string bytes = readWholeFile(file);
    std::fclose(file);
    settings.markOpen();
    tz::terrain::applySettingsFile(bytes, settings);
    return RTNORM;
}

// The "dtmopen" dialog.
struct OpenDialogState {
    bool accepted = false;
};
OpenDialogState openDialog;

void checkPointFile(ads_hdlg dialog) {
    ACHAR path[512];
    ads_get_tile(dialog, _T("point_file"), path, 512);
    if (path[0] == 0) return;
    if (!tz::platform::canRead(tz::platform::toUtf8(path))) {
        ads_set_tile(dialog, _T("error"), _T("File does not exist.\n"));
        ads_set_tile(dialog, _T("point_file"), _T(""));
    } else {
        ads_set_tile(dialog, _T("error"), _T(""));
    }
}

void onPointFile(ads_callback_packet* packet) {
    if (packet->reason == CBR_LOST_FOCUS) checkPointFile(packet->dialog);
}

void onBrowse(ads_callback_packet* packet) {
    resbuf result{};
    if (acedGetFileD(_T("Select Point File"), nullptr, _T("dat"), 4, &result) == RTNORM) {
        ads_set_tile(packet->dialog, _T("point_file"), result.resval.rstring);
        acutDelString(result.resval.rstring);
        checkPointFile(packet->dialog);
    }
}

void onAccept(ads_callback_packet* packet) {
    ACHAR error[512];
    ads_get_tile(packet->dialog, _T("error"), error, 512);
    if (error[0] != 0) return;
    ACHAR path[512];
    ads_get_tile(packet->dialog, _T("point_file"), path, 512);
    if (path[0] != 0) {
        settings.set(L"dpoints", path);
        openDialog.accepted = true;
    }
    ads_done_dialog(packet->dialog, DLGOK);
}

int runOpenDialog() {
    SuiteDialog dtmopen(L"dtmopen");
    if (!dtmopen.isOpen()) return RTERROR;
    ads_hdlg dialog = dtmopen.handle();
    openDialog = OpenDialogState{};
    ads_set_tile(dialog, _T("point_file"), settings.get(L"dpoints").c_str());
    ads_action_tile(dialog, _T("point_file"), onPointFile);
    ads_action_tile(dialog, _T("pfbrowse"), onBrowse);
    ads_action_tile(dialog, _T("accept"), onAccept);
    dtmopen.run();
    return openDialog.accepted ? RTNORM : RTCAN;
}

// Publishes the open project's folder and base name in the LISP symbol
// tzprojpath, where the section tools find the project's section files.
void publishProjectPath() {
    const std::wstring& pointFile = settings.get(L"dpoints");
    const size_t nameStart = pointFile.find_last_of(L"/\\");
    const size_t dot = pointFile.find_last_of(L'.');
    const bool hasExtension = dot != std::wstring::npos && (nameStart == std::wstring::npos || dot > nameStart);
    const std::wstring base = hasExtension ? pointFile.substr(0, dot) : pointFile;
    resbuf* value = acutBuildList(RTSTR, base.c_str(), 0);
    if (value != nullptr) acedPutSym(_T("tzprojpath"), value);
    acutRelRb(value);
}

// Whether the project would write over its own point file: the settings
// file and the TIN and its stage files are named after it.
bool pointFileIsProjectFile(const std::wstring& pointFile) {
    if (tz::terrain::settingsFileName(pointFile) == pointFile) return true;
    const std::string path = tz::platform::toUtf8(pointFile);
    for (const char* extension : {".tin", ".ttin", ".ftin"}) {
        if (tz::terrain::withExtension(path, extension) == path) return true;
    }
    return false;
}

// openProject: with a path (ldtmopen) or through the dialog (dtmopen).
int openProject(bool withPath, const std::wstring& path) {
    if (settings.isOpen()) writeSettings();
    const std::wstring previous = settings.get(L"dpoints");
    if (withPath) {
        settings.set(L"dpoints", path);
    } else {
        const int result = runOpenDialog();
        if (result != RTNORM) return result;
    }
    if (pointFileIsProjectFile(settings.get(L"dpoints"))) {
        settings.set(L"dpoints", previous);
        acedAlert(_T("A point file named .set, .tin, .ttin or .ftin would be overwritten by the project's own ")
                  _T("files.  Command terminates.\n"));
        return RTERROR;
    }
    const std::wstring opened = settings.get(L"dpoints");
    const int result = loadSettings();
    // The settings file may name another point file, which the project then
    // follows; never one of a project's own files, which triangulation
    // would write over.
    const std::wstring named = settings.get(L"dpoints");
    if (named != opened && pointFileIsProjectFile(named)) {
        settings.set(L"dpoints", opened);
        acutPrintf(_T("\nThe settings file names %s as the point file, which the project's own files would ")
                   _T("overwrite; %s stays the point file.\n"),
                   named.c_str(), opened.c_str());
    } else if (named != opened) {
        acutPrintf(_T("\nThe settings file names %s as the point file; the project follows it.\n"), named.c_str());
    }
    if (result == RTNORM) publishProjectPath();
    return result;
}

// The string value of an argument, or null when it is missing or not a string.
const ACHAR* stringArgument(const resbuf* args, int index) {
    for (int i = 0; args && i < index; ++i) args = args->rbnext;
    return args && args->restype == RTSTR ? args->resval.rstring : nullptr;
}

}  // namespace

ProjectSettings& projectSettings() { return settings; }

bool requireOpenProject(const wchar_t* alertText) {
    if (settings.isOpen()) return true;
    acedAlert(alertText);
    return false;
}

std::string settingPath(const wchar_t* key) { return tz::platform::toUtf8(settings.get(key)); }

int saveOpenProjectSettings() {
    if (!settings.isOpen()) return RTERROR;
    return writeSettings();
}

int openProjectWithDialog() { return openProject(false, L""); }

int openProjectFromPath(const resbuf* args) {
    const ACHAR* path = stringArgument(args, 0);
    if (path == nullptr) return RTERROR;  // without a path string nothing changes
    return openProject(true, path);
}

int setProjectSetting(const resbuf* args) {
    if (!requireOpenProject(kOpenProjectFirstBang)) return RTERROR;
    const ACHAR* key = stringArgument(args, 0);
    const ACHAR* value = stringArgument(args, 1);
    if (key == nullptr || value == nullptr) return RTERROR;
    const std::wstring name = key;
    // The point file and the rounding choice are not set this way.
    if (name == L"dpoints" || name == L"dcround") return RTNORM;
    settings.set(name, value);
    return RTNORM;
}

int listProjectSettings() {
    if (!requireOpenProject(kOpenProjectFirstBang)) {
        acedRetNil();
        return RTERROR;
    }
    const std::vector<std::wstring> items = tz::terrain::listedSettings(settings);
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (const std::wstring& item : items) {
        resbuf* rb = acutBuildList(RTSTR, item.c_str(), 0);
        if (rb == nullptr) {
            acutRelRb(head);
            acedRetNil();
            return RTERROR;
        }
        if (tail) tail->rbnext = rb;
        else head = rb;
        tail = rb;
    }
    acedRetList(head);
    acutRelRb(head);
    return RTNORM;
}
