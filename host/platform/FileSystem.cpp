#include "FileSystem.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>

namespace tz::platform {

std::string nativePath(const std::string& path) {
    std::string native = path;
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    return native;
}

std::string toUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto c = static_cast<uint32_t>(wc);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring fromUtf8(const std::string& text) {
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        uint32_t code = lead;
        if (lead >= 0xF0 && lead < 0xF8) { extra = 3; code = lead & 0x07; }
        else if (lead >= 0xE0 && lead < 0xF0) { extra = 2; code = lead & 0x0F; }
        else if (lead >= 0xC0 && lead < 0xE0) { extra = 1; code = lead & 0x1F; }
        bool valid = !(lead >= 0x80 && extra == 0) && i + extra < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {  // not UTF-8: keep the byte as the Latin-1 character of that value
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(code);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

std::FILE* openFile(const std::string& path, const char* mode) {
    return std::fopen(nativePath(path).c_str(), mode);
}

std::FILE* openFile(const std::wstring& path, const char* mode) { return openFile(toUtf8(path), mode); }

bool deleteFile(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(nativePath(path), ec);
    return !std::filesystem::exists(nativePath(path), ec);
}

bool canRead(const std::string& path) {
    std::FILE* f = openFile(path, "r");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

std::string tempFolder() {
    for (const char* name : {"TEMP", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != 0) {
            std::string folder = value;
            while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
            return folder;
        }
    }
    std::error_code ec;
    std::string folder = std::filesystem::temp_directory_path(ec).string();
    if (ec || folder.empty()) folder = "/tmp";
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace tz::platform
