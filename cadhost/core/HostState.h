// Host-wide state that several parts of the host share: where the suite is
// installed, the drawing's file, the break test.
#pragma once

#include <csignal>
#include <optional>
#include <string>

namespace tz::cad {

struct HostState {
    std::string installRoot;   // folder holding bin/ and lib/tzsuite/
    std::string pluginFolder;  // the suite's install folder: its plug-ins ...
    std::string shareFolder;   // ... and dtm.dcl and the LISP files (the same folder)
    std::string drawingPath;   // the open drawing's file; empty while it is unnamed

    // --user-break N: the N-th break test reports a break (0: never).
    long userBreakAt = 0;
    long userBreakTests = 0;
};

HostState& hostState();

// Set by Ctrl+C in an interactive session; the next break test reports it.
extern volatile std::sig_atomic_t escapePressed;

// The drawing's folder with a trailing separator (DWGPREFIX): the drawing's
// own folder, or the current folder while the drawing is unnamed.
std::string drawingFolder();

// The host's file search: the name as given when it has a folder part,
// otherwise the current folder, the drawing's folder and the suite's folder.
std::optional<std::string> findSupportFile(const std::string& name);

}  // namespace tz::cad
