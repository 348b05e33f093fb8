#include "Registry.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>

namespace tz::platform {

struct RegistryKey {
    std::string path;  // full path, hive name spelled out (HKEY_CLASSES_ROOT kept as such)
    bool predefined = false;
    std::map<std::string, RegistryValue> values;  // snapshot taken at open; unused by hives
};

namespace {

RegistryKey hiveKeys[] = {
    {"HKEY_CLASSES_ROOT", true, {}},
    {"HKEY_CURRENT_USER", true, {}},
    {"HKEY_LOCAL_MACHINE", true, {}},
    {"HKEY_USERS", true, {}},
    {"HKEY_CURRENT_CONFIG", true, {}},
};

constexpr std::string_view kClassesRoot = "HKEY_CLASSES_ROOT";
// Larger registry files are not read: nobody writes one by hand, and a runaway
// file must not exhaust memory.
constexpr std::uintmax_t kMaxRegistryFileBytes = std::uintmax_t{64} << 20;

// Reports a registry file's problems on standard error, once per file and
// process, so that a mistyped file explains the "not found" it causes.
void reportOnce(const std::string& path, const std::vector<std::string>& problems) {
    static std::mutex guard;
    static std::set<std::string> reported;
    std::lock_guard lock(guard);
    if (problems.empty() || !reported.insert(path).second) return;
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "registry file %s: %s\n", path.c_str(), problem.c_str());
    }
}

RegistryContents loadRegistry() {
    const std::string path = registryFilePath();
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        reportOnce(path, {"does not exist, so no registry key exists"});
        return {};
    }
    if (!std::filesystem::is_regular_file(status)) {
        reportOnce(path, {"is not a file, so no registry key exists"});
        return {};
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxRegistryFileBytes) {
        reportOnce(path, {"larger than 64 MiB, not read"});
        return {};
    }
    std::ifstream file(path, std::ios::binary);
    std::string bytes;
    if (file) bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!file && !file.eof()) {
        reportOnce(path, {"cannot be read, so no registry key exists"});
        return {};
    }
    RegistryContents contents = parseRegistryFile(bytes);
    reportOnce(path, contents.problems);
    return contents;
}

bool isClassesRootPath(const std::string& folded) {
    return folded.compare(0, kClassesRoot.size(), kClassesRoot) == 0;
}

// The stored key a full path names, or null. A hive's root always exists.
const RegistryKeyContents* resolve(const RegistryContents& contents, const std::string& fullPath, bool& isHiveRoot) {
    const std::string folded = foldKeyPath(fullPath);
    isHiveRoot = !folded.empty() && folded.find('\\') == std::string::npos;
    if (folded.empty()) return nullptr;
    if (isClassesRootPath(folded)) {
        const std::string rest = folded.substr(kClassesRoot.size());
        for (const char* store : {"HKEY_CURRENT_USER\\SOFTWARE\\CLASSES", "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES"}) {
            if (const RegistryKeyContents* key = contents.findKey(store + rest)) return key;
        }
        return nullptr;
    }
    return contents.findKey(folded);
}

std::string joinPath(const std::string& base, const char* subKey) {
    if (subKey == nullptr || *subKey == 0) return base;
    return base + "\\" + subKey;
}

}  // namespace

const HKEY HKEY_CLASSES_ROOT = &hiveKeys[0];
const HKEY HKEY_CURRENT_USER = &hiveKeys[1];
const HKEY HKEY_LOCAL_MACHINE = &hiveKeys[2];
const HKEY HKEY_USERS = &hiveKeys[3];
const HKEY HKEY_CURRENT_CONFIG = &hiveKeys[4];

std::string registryFilePath() {
    const char* named = std::getenv("TZ_REGISTRY");
    if (named != nullptr && *named != 0) return named;
    std::string home;
    if (const char* value = std::getenv("HOME"); value != nullptr && *value != 0) {
        home = value;
    } else if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        home = entry->pw_dir;
    }
    if (home.empty()) return ".tzsuite/registry.reg";
    if (home.back() != '/') home += '/';
    return home + ".tzsuite/registry.reg";
}

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD /*options*/, REGSAM samDesired, HKEY* result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (key == nullptr) return ERROR_INVALID_HANDLE;
    if ((samDesired & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK)) != 0) return ERROR_ACCESS_DENIED;
    // As on Windows, a key name never starts with a backslash (an empty class
    // name must not lead to a key of the hive's root).
    if (subKey != nullptr && *subKey == '\\') return ERROR_BAD_PATHNAME;
    const RegistryContents contents = loadRegistry();
    const std::string path = joinPath(key->path, subKey);
    bool isHiveRoot = false;
    const RegistryKeyContents* found = resolve(contents, path, isHiveRoot);
    if (found == nullptr && !isHiveRoot) return ERROR_FILE_NOT_FOUND;
    auto* opened = new RegistryKey{path, false, {}};
    if (found != nullptr) opened->values = found->values;
    *result = opened;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize) {
    if (key == nullptr) return ERROR_INVALID_HANDLE;
    if (reserved != nullptr || (data != nullptr && dataSize == nullptr)) return ERROR_INVALID_PARAMETER;
    std::map<std::string, RegistryValue> hiveValues;
    const std::map<std::string, RegistryValue>* values = &key->values;
    if (key->predefined) {  // a hive is queried as the file holds it now
        bool isHiveRoot = false;
        const RegistryContents contents = loadRegistry();
        if (const RegistryKeyContents* found = resolve(contents, key->path, isHiveRoot)) hiveValues = found->values;
        values = &hiveValues;
    }
    const auto it = values->find(foldName(valueName == nullptr ? "" : valueName));
    if (it == values->end()) return ERROR_FILE_NOT_FOUND;
    const RegistryValue& value = it->second;
    const auto size = static_cast<DWORD>(value.data.size());
    if (type != nullptr) *type = value.type;
    if (data == nullptr) {
        if (dataSize != nullptr) *dataSize = size;
        return ERROR_SUCCESS;
    }
    if (*dataSize < size) {
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    if (size > 0) std::memcpy(data, value.data.data(), size);
    *dataSize = size;
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (key == nullptr) return ERROR_INVALID_HANDLE;
    if (key->predefined) return ERROR_SUCCESS;
    delete key;
    return ERROR_SUCCESS;
}

}  // namespace tz::platform
