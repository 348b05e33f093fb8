// Reading one string value from the registry the way the launchers do: into a
// buffer of 255 bytes, with a message box naming the step that failed.
#pragma once

#include <optional>
#include <string>

#include "Registry.h"

namespace tz::launch {

struct RegistryFailureMessages {
    const char* openFailed;   // the key cannot be opened
    const char* queryFailed;  // the value is missing, not text, or does not fit
};

// The text of value `valueName` ("" for the default value) of `subKey` under
// `hive`, or nullopt after a message box (default caption, OK) with the matching
// message. The key is closed again either way.
std::optional<std::string> readRegistryString(tz::platform::HKEY hive, const std::string& subKey,
                                              const char* valueName, const RegistryFailureMessages& messages);

// The buffer size the launchers read values into, terminator included.
constexpr unsigned kRegistryValueBufferBytes = 255;

}  // namespace tz::launch
