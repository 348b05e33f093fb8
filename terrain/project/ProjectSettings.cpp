#include "project/ProjectSettings.h"

#include <algorithm>

namespace tz::terrain {

namespace {

// Wide text to UTF-16 code units (characters beyond the basic plane as pairs).
void appendUtf16Le(std::string& out, std::wstring_view text) {
    auto unit = [&out](uint32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>((u >> 8) & 0xFF);
    };
    for (wchar_t wc : text) {
        auto c = static_cast<uint32_t>(wc);
        if (c >= 0x10000) {
            c -= 0x10000;
            unit(0xD800 + (c >> 10));
            unit(0xDC00 + (c & 0x3FF));
        } else {
            unit(c);
        }
    }
}

std::wstring decodeUtf16Le(std::string_view bytes) {
    std::wstring out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t u = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            const uint32_t low = static_cast<unsigned char>(bytes[i + 2]) | (static_cast<unsigned char>(bytes[i + 3]) << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        out += static_cast<wchar_t>(u);
    }
    return out;
}

// UTF-8 where it is valid, otherwise each byte as the character of that value.
std::wstring decodeEightBit(std::string_view bytes) {
    std::wstring out;
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int extra = lead >= 0xF0 && lead < 0xF8 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        uint32_t code = extra == 3 ? lead & 0x07 : extra == 2 ? lead & 0x0F : extra == 1 ? lead & 0x1F : lead;
        bool valid = lead < 0x80 || extra > 0;
        valid = valid && i + extra < bytes.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += static_cast<wchar_t>(lead);
            ++i;
        } else {
            out += static_cast<wchar_t>(code);
            i += extra + 1;
        }
    }
    return out;
}

size_t indexOf(std::wstring_view key) {
    const auto& keys = settingKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
        if (key == keys[i].key) return i;
    }
    return keys.size();
}

}  // namespace

const std::vector<SettingKey>& settingKeys() {
    static const std::vector<SettingKey> keys{
        {L"dpoints", 512, L""},   {L"dfaults", 512, L""},        {L"dbndry", 512, L""},
        {L"ufaults", 16, L"0"},   {L"ubound", 16, L"0"},         {L"dimfaults", 16, L"3"},
        {L"uelev", 16, L"0"},     {L"dcw", 16, L"0"},            {L"diw", 16, L"0"},
        {L"dci", 16, L"1"},       {L"dii", 16, L"5"},            {L"dcln", 32, L"TZ_Regcontours"},
        {L"diln", 32, L"TZ_Indxcontours"}, {L"dxi", 16, L"1"},   {L"dzi", 16, L"1"},
        {L"dcround", 2, L"0"},    {L"dbe", 16, L"0"},            {L"dsk", 2, L"0"},
        {L"dmln", 32, L"TZ_Mesh"},
    };
    return keys;
}

ProjectSettings::ProjectSettings() : values_(settingKeys().size()) {}

const std::wstring& ProjectSettings::get(std::wstring_view key) const {
    static const std::wstring empty;
    const size_t i = indexOf(key);
    return i < values_.size() ? values_[i] : empty;
}

bool ProjectSettings::set(std::wstring_view key, std::wstring_view value) {
    const size_t i = indexOf(key);
    if (i >= values_.size()) return false;
    const size_t room = settingKeys()[i].capacity - 1;
    values_[i] = std::wstring(value.substr(0, std::min(room, value.size())));
    // Each setting is one line of the settings file: a line break inside a
    // value would end it there and make the rest read as another setting.
    std::replace(values_[i].begin(), values_[i].end(), L'\n', L' ');
    std::replace(values_[i].begin(), values_[i].end(), L'\r', L' ');
    return true;
}

void ProjectSettings::applyDefaults() {
    const auto& keys = settingKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
        if (std::wstring_view(keys[i].key) != L"dpoints") values_[i] = keys[i].fallback;
    }
}

std::wstring settingsFileName(const std::wstring& pointFile) {
    const size_t nameStart = pointFile.find_last_of(L"/\\");
    const size_t dot = pointFile.find_last_of(L'.');
    if (dot == std::wstring::npos || (nameStart != std::wstring::npos && dot < nameStart)) return pointFile + L".set";
    return pointFile.substr(0, dot) + L".set";
}

std::string settingsFileContent(const ProjectSettings& settings) {
    std::string out = "\xFF\xFE";
    for (const SettingKey& key : settingKeys()) {
        appendUtf16Le(out, std::wstring(key.key) + L"=" + settings.get(key.key) + L"\r\n");
    }
    return out;
}

void applySettingsFile(std::string_view bytes, ProjectSettings& settings) {
    std::wstring text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        text = decodeUtf16Le(bytes.substr(2));
    } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        text = decodeEightBit(bytes.substr(3));
    } else {
        text = decodeEightBit(bytes);
    }
    // Text mode reading: CR LF is a line feed.
    std::wstring lines;
    lines.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        lines += text[i];
    }
    size_t start = 0;
    for (;;) {
        const size_t end = lines.find(L'\n', start);
        if (end == std::wstring::npos) break;  // a last line without a line feed is not applied
        const std::wstring line = lines.substr(start, end - start);
        start = end + 1;
        const size_t eq = line.find_last_of(L'=');
        const std::wstring key = eq == std::wstring::npos ? L"" : line.substr(0, eq);
        const std::wstring value = eq == std::wstring::npos ? line : line.substr(eq + 1);
        settings.set(key, value);
    }
}

std::vector<std::wstring> listedSettings(const ProjectSettings& settings) {
    static const wchar_t* order[] = {L"dpoints", L"dfaults", L"dbndry", L"uelev", L"ufaults", L"ubound",
                                     L"dimfaults", L"dcw", L"diw", L"dci", L"dii", L"dcln",
                                     L"diln", L"dxi", L"dzi", L"dbe", L"dsk", L"dmln"};
    std::vector<std::wstring> out;
    for (const wchar_t* key : order) {
        out.emplace_back(key);
        out.push_back(settings.get(key));
    }
    return out;
}

}  // namespace tz::terrain
