// The settings of an open terrain project: nineteen named text values held
// in fixed-capacity strings, and the settings file beside the point file
// (UTF-16 little-endian with a byte-order mark, CR LF line ends).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tz::terrain {

struct SettingKey {
    const wchar_t* key;
    size_t capacity;          // characters including the terminating zero
    const wchar_t* fallback;  // value when the settings file is missing
};

// Every setting in the order of the settings file.
const std::vector<SettingKey>& settingKeys();

class ProjectSettings {
public:
    ProjectSettings();

    bool isOpen() const { return openFlag_ == L"Y"; }
    void markOpen() { openFlag_ = L"Y"; }

    // The value of a setting; empty for an unknown key.
    const std::wstring& get(std::wstring_view key) const;
    // Sets a known setting, cut to its capacity; false for an unknown key.
    bool set(std::wstring_view key, std::wstring_view value);

    // Every setting but the point file back to its value for a new project.
    void applyDefaults();

private:
    std::wstring openFlag_;
    std::vector<std::wstring> values_;  // in settingKeys() order
};

// The settings file of a point file: the file name's last "." and what
// follows replaced by ".set" (".set" appended when the name has no "."); a
// "." in a folder name is not an extension.
std::wstring settingsFileName(const std::wstring& pointFile);

// The exact bytes of a settings file for these settings.
std::string settingsFileContent(const ProjectSettings& settings);

// Applies the lines of a settings file to the settings: each complete line is
// split at its last "=" and its value copied into the setting of that key;
// unknown keys, and a last line without a line end, are not applied.
// The bytes may be UTF-16 LE with a byte-order mark (as written), UTF-8 or
// 8-bit text.
void applySettingsFile(std::string_view bytes, ProjectSettings& settings);

// The settings as `dtmvar` lists them: key, value, key, value ... (18 pairs).
std::vector<std::wstring> listedSettings(const ProjectSettings& settings);

}  // namespace tz::terrain
