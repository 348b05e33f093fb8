// The project path that the suite's LISP side publishes in the symbol
// `tzprojpath`: folder and base name of the project's section files,
// without extension. Read by the section commands of two plug-ins, so it
// lives here once, as inline code that needs nothing but the host.
#pragma once

#include <optional>
#include <string>

#include "acedads.h"
#include "acutads.h"

namespace tz::terrain::hostbound {

inline constexpr const ACHAR* kOpenProjectFirstAlert = L"You need to open a project first.  Command terminates.";

// The string value of `tzprojpath`; none when the symbol is unset or holds
// anything but a string.
inline std::optional<std::wstring> lispProjectPath() {
    resbuf* value = nullptr;
    std::optional<std::wstring> path;
    if (acedGetSym(L"tzprojpath", &value) == RTNORM && value != nullptr && value->rbnext == nullptr &&
        value->restype == RTSTR && value->resval.rstring != nullptr) {
        path = value->resval.rstring;
    }
    if (value != nullptr) acutRelRb(value);
    return path;
}

// As lispProjectPath; without a path shows the alert that a project must be
// opened first.
inline std::optional<std::wstring> requireProjectPath() {
    std::optional<std::wstring> path = lispProjectPath();
    if (!path) acedAlert(kOpenProjectFirstAlert);
    return path;
}

}  // namespace tz::terrain::hostbound
