// What tells the two launchers apart: the suite's and the road product's
// registry key, loader, script, start verb and whether to check and ask.
#pragma once

namespace tz::launch {

enum class InstallHive { CurrentUser, LocalMachine };

struct Product {
    InstallHive hive;          // where the install folder is recorded
    const char* installKey;    // key holding the string value "Install_Dir"
    const char* loaderName;    // the LISP loader, relative to the install folder
    const char* scriptName;    // the start-up script, relative to the install folder
    const char* pathFunction;  // the loader's function called after dpath is set
    const char* startVerb;     // how the host is started
    bool checksAndAsks;        // start only the supported host, and only after asking
};

// suitelaunch: the suite, for the supported host only, started with elevated rights.
inline constexpr Product kSuiteProduct{InstallHive::CurrentUser, "SOFTWARE\\Veltrane\\Parcelix",
                                       "tzkivo\\aKivoPkgLoader.lsp", "tzkivo\\gocad.scr", "doPkgpath",
                                       "runas", true};

// roadlaunch: the road product, whatever program opens drawings, without asking.
inline constexpr Product kRoadProduct{InstallHive::LocalMachine, "SOFTWARE\\Veltrane\\TZroad",
                                      "aRoadLoader.lsp", "gocad.scr", "doroadpath", "open", false};

}  // namespace tz::launch
