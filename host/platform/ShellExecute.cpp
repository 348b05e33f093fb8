#include "ShellExecute.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "CommandLineSplit.h"
#include "FileSystem.h"
#include "MessageBox.h"

extern char** environ;

namespace tz::platform {

namespace {

std::mutex startedGuard;
std::vector<pid_t>& startedPrograms() {
    static std::vector<pid_t> pids;
    return pids;
}

std::string folded(const char* text) {
    std::string word = text == nullptr ? "" : text;
    for (char& c : word) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return word;
}

// The path with one pair of enclosing double quotes removed, as the shell
// accepts a quoted program path.
std::string unquoted(const std::string& path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') return path.substr(1, path.size() - 2);
    return path;
}

DWORD windowsErrorOf(int error) {
    switch (error) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM: return ERROR_ACCESS_DENIED;
        case ENOEXEC: return ERROR_BAD_FORMAT;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        default: return ERROR_FILE_NOT_FOUND;
    }
}

std::intptr_t shellErrorOf(DWORD error) {
    switch (error) {
        case ERROR_PATH_NOT_FOUND: return SE_ERR_PNF;
        case ERROR_ACCESS_DENIED: return SE_ERR_ACCESSDENIED;
        case ERROR_NO_ASSOCIATION: return SE_ERR_NOASSOC;
        default: return SE_ERR_FNF;
    }
}

BOOL fail(SHELLEXECUTEINFOA* info, DWORD error, const std::string& message) {
    info->hInstApp = reinterpret_cast<HINSTANCE>(shellErrorOf(error));
    if ((info->fMask & SEE_MASK_FLAG_NO_UI) == 0) MessageBoxA(info->hwnd, message.c_str(), nullptr, MB_OK);
    SetLastError(error);
    return 0;
}

}  // namespace

std::vector<std::string> startArguments(const std::string& file, const std::string& parameters) {
    std::vector<std::string> arguments{nativePath(unquoted(file))};
    for (std::string& argument : splitCommandLineArguments(parameters)) arguments.push_back(std::move(argument));
    return arguments;
}

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) {
    if (info == nullptr || info->cbSize != sizeof(SHELLEXECUTEINFOA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::string file = info->lpFile == nullptr ? "" : info->lpFile;
    const std::string verb = folded(info->lpVerb);
    const std::vector<std::string> arguments =
        startArguments(file, info->lpParameters == nullptr ? "" : info->lpParameters);
    if (verb != "" && verb != "open" && verb != "runas") {
        return fail(info, ERROR_NO_ASSOCIATION,
                    "Cannot start \"" + arguments[0] + "\": the action \"" + info->lpVerb + "\" is not available.");
    }
    if (arguments[0].empty()) return fail(info, ERROR_FILE_NOT_FOUND, "Cannot start a program without a name.");
    if (verb == "runas") {
        std::printf("*** RUNAS: %s is to start with elevated rights; there are none here, it starts normally ***\n",
                    arguments[0].c_str());
    }

    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string folder = info->lpDirectory == nullptr ? "" : nativePath(info->lpDirectory);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    // Output written so far comes before the program's own.
    std::fflush(nullptr);
    pid_t pid = 0;
    // Like the shell, a bare program name is looked up on the search path.
    const bool bareName = arguments[0].find('/') == std::string::npos;
    const int error = bareName ? posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ)
                               : posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return fail(info, windowsErrorOf(error),
                    "Cannot start \"" + arguments[0] + "\": " + std::strerror(error) + ".");
    }
    {
        std::lock_guard lock(startedGuard);
        startedPrograms().push_back(pid);
    }
    info->hInstApp = reinterpret_cast<HINSTANCE>(kShellExecuteSucceeded);
    if ((info->fMask & SEE_MASK_NOCLOSEPROCESS) != 0) info->hProcess = reinterpret_cast<HANDLE>(std::intptr_t{pid});
    SetLastError(ERROR_SUCCESS);
    return 1;
}

void waitForStartedPrograms() {
    std::vector<pid_t> pids;
    {
        std::lock_guard lock(startedGuard);
        pids.swap(startedPrograms());
    }
    for (pid_t pid : pids) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

}  // namespace tz::platform
