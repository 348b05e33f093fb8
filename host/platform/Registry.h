// Registry reads, shaped like the Windows calls (ANSI forms): open a key under
// a hive or an open key, query a value, close the key.
//
// On this platform the registry is a text file in the ".reg" export format
// (see RegistryFile.h), named by the environment variable TZ_REGISTRY, by
// default ~/.tzsuite/registry.reg. Each open reads the file afresh, so edits
// show at the next open, and an open key keeps the values it was opened with.
// The file is only read, never written. Key and value names compare without
// regard to letter case. HKEY_CLASSES_ROOT is the merged view Windows gives:
// a key under HKEY_CURRENT_USER\SOFTWARE\Classes, else the one under
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
#pragma once

#include <string>

#include "RegistryFile.h"
#include "WindowsTypes.h"

namespace tz::platform {

struct RegistryKey;
using HKEY = RegistryKey*;
using REGSAM = DWORD;

// The predefined keys (hives). They need no opening and are never closed.
extern const HKEY HKEY_CLASSES_ROOT;
extern const HKEY HKEY_CURRENT_USER;
extern const HKEY HKEY_LOCAL_MACHINE;
extern const HKEY HKEY_USERS;
extern const HKEY HKEY_CURRENT_CONFIG;

// Access rights, with their Windows values. Rights to change the registry are
// refused (ERROR_ACCESS_DENIED): this registry is read-only.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Opens `subKey` (null or empty: `key` itself) below `key` (a hive or an open
// key). ERROR_SUCCESS and *result set, or ERROR_FILE_NOT_FOUND when the key
// does not exist (ERROR_BAD_PATHNAME when `subKey` starts with a backslash);
// *result is null then.
LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM samDesired, HKEY* result);

// Queries a value of an open key; `valueName` null or "" is the key's default
// value. As on Windows: with `data` null only *dataSize (bytes, terminator
// included) and *type are set; when *dataSize is too small for the value the
// call fails with ERROR_MORE_DATA, sets *dataSize to the size needed and leaves
// `data` untouched. ERROR_FILE_NOT_FOUND when the value does not exist.
// Text values come back as 8-bit text (UTF-8 on this platform) with their
// terminating zero byte.
LONG RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize);

// Closes a key opened by RegOpenKeyExA; closing a hive does nothing.
LONG RegCloseKey(HKEY key);

// The registry file this process reads: TZ_REGISTRY when set and not empty,
// else ~/.tzsuite/registry.reg.
std::string registryFilePath();

}  // namespace tz::platform
