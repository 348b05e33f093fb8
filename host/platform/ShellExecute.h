// Starting a program through the shell, shaped like the Windows extended
// execute call. On this platform the program is spawned directly: `lpFile` (a
// Windows-style path, optionally in double quotes) is converted to a native
// path, `lpParameters` is split into arguments as Windows splits a command line
// (CommandLineSplit.h), `lpDirectory` is its working folder (null: ours).
// Verbs: null, "" and "open" start the program as it is; "runas" asks for
// elevated rights, which do not exist here: a line on standard output says so
// and the program is started normally. Other verbs fail (ERROR_NO_ASSOCIATION).
// The show state has no meaning without windows and is ignored.
//
// A program that cannot be started is reported in a message box (unless
// SEE_MASK_FLAG_NO_UI) and the call returns 0 (FALSE) with the reason in
// GetLastError(); a started program gives 1 (TRUE).
#pragma once

#include <string>
#include <vector>

#include "Registry.h"
#include "WindowsTypes.h"

namespace tz::platform {

constexpr ULONG SEE_MASK_DEFAULT = 0x0;
constexpr ULONG SEE_MASK_NOCLOSEPROCESS = 0x40;
constexpr ULONG SEE_MASK_FLAG_NO_UI = 0x400;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// hInstApp values (> 32 means success), with their Windows values.
constexpr std::intptr_t SE_ERR_FNF = 2;
constexpr std::intptr_t SE_ERR_PNF = 3;
constexpr std::intptr_t SE_ERR_ACCESSDENIED = 5;
constexpr std::intptr_t SE_ERR_NOASSOC = 31;
constexpr std::intptr_t kShellExecuteSucceeded = 42;

struct SHELLEXECUTEINFOA {
    DWORD cbSize = 0;  // must be sizeof(SHELLEXECUTEINFOA)
    ULONG fMask = 0;
    HWND hwnd = nullptr;
    LPCSTR lpVerb = nullptr;
    LPCSTR lpFile = nullptr;
    LPCSTR lpParameters = nullptr;
    LPCSTR lpDirectory = nullptr;
    int nShow = 0;
    HINSTANCE hInstApp = nullptr;  // out: > 32 on success, an SE_ERR_ code on failure
    void* lpIDList = nullptr;
    LPCSTR lpClass = nullptr;
    HKEY hkeyClass = nullptr;
    DWORD dwHotKey = 0;
    HANDLE hIcon = nullptr;
    HANDLE hProcess = nullptr;  // out with SEE_MASK_NOCLOSEPROCESS: the process id
};

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info);

// Waits until every program this process started has ended. A launcher calls
// it before it exits: on a terminal the started program shares the console,
// and the shell must not take it back while that program runs.
void waitForStartedPrograms();

// What ShellExecuteExA would run for these file and parameters: the native
// program path followed by its arguments.
std::vector<std::string> startArguments(const std::string& file, const std::string& parameters);

}  // namespace tz::platform
