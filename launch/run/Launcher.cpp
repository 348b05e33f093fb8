#include "run/Launcher.h"

#include <cstdio>
#include <string>

#include "FileSystem.h"
#include "MessageBox.h"
#include "ShellExecute.h"
#include "core/Eligibility.h"
#include "core/LauncherText.h"
#include "core/OpenCommand.h"
#include "run/RegistryString.h"

namespace tz::launch {

using namespace tz::platform;

namespace {

constexpr const char* kInstallValue = "Install_Dir";
constexpr const char* kDrawingClassKey = ".dwg";
constexpr const char* kOpenCommandKey = "\\shell\\open\\command";
constexpr const char* kQuestion = "Do you want to install the Veltrane menus in \n";
constexpr const char* kQuestionCaption = "Install Veltrane Menus";
constexpr int kShowNormally = SW_SHOW;

void showFileError(const char* what, const std::string& path) {
    const std::string message = std::string(what) + " " + path;
    MessageBoxA(nullptr, message.c_str(), nullptr, MB_OK);
}

// Writes `text` to the file opened with `mode` ("a" or "w": text mode, so each
// line feed is stored as CR LF as in every text file of the suite); false
// after a message box naming the file.
bool writeTextFile(const std::string& path, const char* mode, const std::string& text) {
    std::FILE* file = openFile(path, mode);
    if (file == nullptr) {
        showFileError("Could not open file", path);
        return false;
    }
    const bool written = std::fputs(text.c_str(), file) >= 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        showFileError("Could not write file", path);
        return false;
    }
    return true;
}

std::optional<std::string> installFolder(const Product& product) {
    const HKEY hive = product.hive == InstallHive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    std::optional<std::string> folder =
        readRegistryString(hive, product.installKey, kInstallValue, {"Could not open key", "Could not get value"});
    // An empty folder would put the product's files wherever the launcher runs.
    if (folder && folder->empty()) {
        MessageBoxA(nullptr, "Could not get value", nullptr, MB_OK);
        return std::nullopt;
    }
    // The folder is named inside quotes in the loader and on the host's
    // command line, where a quote of its own would end the name early.
    if (folder && folder->find('"') != std::string::npos) {
        MessageBoxA(nullptr, "The install folder's name holds a double quote, which the start-up script cannot name",
                    nullptr, MB_OK);
        return std::nullopt;
    }
    if (folder) *folder = withTrailingSeparator(*folder);
    return folder;
}

// The open command of the program associated with drawing files.
std::optional<std::string> drawingOpenCommand() {
    const std::optional<std::string> className =
        readRegistryString(HKEY_CLASSES_ROOT, kDrawingClassKey, "", {"Could not open key2", "Could not get value2"});
    if (!className) return std::nullopt;
    return readRegistryString(HKEY_CLASSES_ROOT, *className + kOpenCommandKey, "",
                              {"Could not open key3", "Could not get value3"});
}

bool userAgrees(const std::string& hostPath) {
    const std::string question = kQuestion + hostPath;
    return MessageBoxA(nullptr, question.c_str(), kQuestionCaption, MB_YESNO) == IDYES;
}

bool startHost(const std::string& hostPath, const char* verb, const std::string& parameters) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_DEFAULT;
    info.hwnd = nullptr;
    info.lpVerb = verb;
    info.lpFile = hostPath.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = nullptr;
    info.nShow = kShowNormally;
    return ShellExecuteExA(&info) != 0;
}

}  // namespace

int runLauncher(const Product& product) {
    const std::optional<std::string> folder = installFolder(product);
    if (!folder) return 1;

    const std::string loaderPath = *folder + product.loaderName;
    if (!writeTextFile(loaderPath, "a", loaderLines(*folder, product.pathFunction))) return 1;

    const std::optional<std::string> openCommand = drawingOpenCommand();
    if (!openCommand) return 1;
    const std::string executable = executableOfOpenCommand(*openCommand);
    const std::string hostPath = quotedPath(executable);

    const std::string scriptPath = *folder + product.scriptName;
    if (!writeTextFile(scriptPath, "w", scriptText(loaderPath))) return 1;

    if (product.checksAndAsks && (!isSupportedHost(executable) || !userAgrees(hostPath))) return 0;
    return startHost(hostPath, product.startVerb, startParameters(scriptPath)) ? 0 : 1;
}

}  // namespace tz::launch
