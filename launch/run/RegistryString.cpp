#include "run/RegistryString.h"

#include <cstring>

#include "MessageBox.h"

namespace tz::launch {

using namespace tz::platform;

std::optional<std::string> readRegistryString(HKEY hive, const std::string& subKey, const char* valueName,
                                              const RegistryFailureMessages& messages) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(hive, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        MessageBoxA(nullptr, messages.openFailed, nullptr, MB_OK);
        return std::nullopt;
    }
    char buffer[kRegistryValueBufferBytes] = {};
    DWORD size = sizeof buffer;
    DWORD type = REG_NONE;
    const LONG status = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    // Only text that ends within the buffer is a folder or a command; binary
    // data read as text would name a wrong file.
    const bool isText = type == REG_SZ || type == REG_EXPAND_SZ;
    if (status != ERROR_SUCCESS || !isText || std::memchr(buffer, 0, size) == nullptr) {
        MessageBoxA(nullptr, messages.queryFailed, nullptr, MB_OK);
        return std::nullopt;
    }
    return std::string(buffer);
}

}  // namespace tz::launch
