// The registry's contents as read from a text file in the Windows ".reg"
// export format: pure parsing, no file access.
//
// Accepted: a first line "Windows Registry Editor Version 5.00" or "REGEDIT4";
// UTF-8 (with or without byte-order mark) or UTF-16 with a byte-order mark;
// CR LF or LF line ends; ';' comment lines; [HIVE\path] sections and [-HIVE\path]
// deletions; values "name"="text" and @="text" (escapes \\ and \"), dword:,
// hex: and hex(N): data (continued over lines by a trailing backslash), and
// "name"=- deletions. As regedit does on import, a section creates its parent
// keys. Sections of HKEY_CLASSES_ROOT are stored where Windows stores them,
// under HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "WindowsTypes.h"

namespace tz::platform {

// Value types, with their Windows codes.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

struct RegistryValue {
    std::string name;  // as written; empty for the default value "@"
    DWORD type = REG_NONE;
    // String types (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) hold 8-bit (UTF-8) text
    // with its terminating zero byte(s), as an ANSI query returns them; other
    // types hold their raw bytes.
    std::vector<BYTE> data;
};

struct RegistryKeyContents {
    std::string path;  // full path as first written, hive name spelled out
    std::map<std::string, RegistryValue> values;  // by case-folded value name
};

struct RegistryContents {
    // By case-folded full path: "HKEY_CURRENT_USER\SOFTWARE\VELTRANE\PARCELIX".
    std::map<std::string, RegistryKeyContents> keys;
    // One line per thing that was not understood and therefore ignored:
    // "line N: what".
    std::vector<std::string> problems;

    // The key at this full path (any letter case), or null when it does not exist.
    const RegistryKeyContents* findKey(std::string_view fullPath) const;
};

// Parses the bytes of a ".reg" file. Never fails: what is not understood is
// skipped and named in `problems`; without the header line nothing is read.
RegistryContents parseRegistryFile(std::string_view fileBytes);

// The case-folded form of a full key path, with the hive name spelled out
// ("HKCU" becomes "HKEY_CURRENT_USER") and empty components dropped. Empty
// when the path does not start with a known hive name. HKEY_CLASSES_ROOT
// paths are returned as such (the caller decides how that view is merged).
std::string foldKeyPath(std::string_view fullPath);

// Case folding of key and value names (ASCII letters, as names are compared
// on Windows for the characters these files use).
std::string foldName(std::string_view name);

// The file's text as UTF-8: a UTF-16 (LE or BE) file with a byte-order mark is
// converted, a UTF-8 byte-order mark dropped, anything else passed through.
std::string decodeRegistryText(std::string_view fileBytes);

}  // namespace tz::platform
