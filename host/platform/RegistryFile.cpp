#include "RegistryFile.h"

#include <array>
#include <cstdint>

namespace tz::platform {

namespace {

struct HiveName {
    std::string_view full;
    std::string_view shortForm;
};

constexpr std::array<HiveName, 5> kHives{{
    {"HKEY_LOCAL_MACHINE", "HKLM"},
    {"HKEY_CURRENT_USER", "HKCU"},
    {"HKEY_CLASSES_ROOT", "HKCR"},
    {"HKEY_USERS", "HKU"},
    {"HKEY_CURRENT_CONFIG", "HKCC"},
}};

constexpr std::string_view kClassesRoot = "HKEY_CLASSES_ROOT";
constexpr std::string_view kClassesStore = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes";

void appendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD and an odd
// last byte is dropped.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unitAt = [&](size_t i) -> uint32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (first << 8 | second) : (second << 8 | first);
    };
    size_t i = 0;
    while (i + 1 < bytes.size()) {
        uint32_t unit = unitAt(i);
        i += 2;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < bytes.size()) {
            const uint32_t low = unitAt(i);
            if (low >= 0xDC00 && low < 0xE000) {
                i += 2;
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                continue;
            }
        }
        if (unit >= 0xD800 && unit < 0xE000) unit = 0xFFFD;
        appendUtf8(out, unit);
    }
    return out;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

bool startsWithFolded(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && foldName(text.substr(0, prefix.size())) == foldName(prefix);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A double-quoted text starting at text[pos]; \\ and \" are the escapes, any
// other backslash stands for itself. On success pos is just past the closing quote.
bool parseQuoted(std::string_view text, size_t& pos, std::string& out) {
    if (pos >= text.size() || text[pos] != '"') return false;
    out.clear();
    for (size_t i = pos + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            out += text[++i];
        } else if (c == '"') {
            pos = i + 1;
            return true;
        } else {
            out += c;
        }
    }
    return false;
}

// Comma-separated hex bytes ("00,1f, a0"); an empty list is valid.
bool parseHexBytes(std::string_view text, std::vector<BYTE>& out) {
    out.clear();
    text = trimmed(text);
    if (text.empty()) return true;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string_view item =
            trimmed(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (item.empty() || item.size() > 2) return false;
        int value = 0;
        for (char c : item) {
            const int digit = hexDigit(c);
            if (digit < 0) return false;
            value = value * 16 + digit;
        }
        out.push_back(static_cast<BYTE>(value));
        if (comma == std::string_view::npos) return true;
        start = comma + 1;
    }
}

bool isStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The display path with the classes root stored where Windows keeps it.
std::string storedPath(std::string_view writtenPath) {
    const size_t separator = writtenPath.find('\\');
    const std::string_view hive = writtenPath.substr(0, separator);
    for (const HiveName& known : kHives) {
        if (foldName(hive) != foldName(known.full) && foldName(hive) != foldName(known.shortForm)) continue;
        const std::string_view rest =
            separator == std::string_view::npos ? std::string_view() : writtenPath.substr(separator);
        if (known.full == kClassesRoot) return std::string(kClassesStore) + std::string(rest);
        return std::string(known.full) + std::string(rest);
    }
    return {};
}

class Parser {
public:
    explicit Parser(RegistryContents& contents) : contents_(contents) {}

    void run(const std::string& text) {
        splitLines(text);
        size_t i = 0;
        while (i < lines_.size() && trimmed(lines_[i]).empty()) ++i;
        if (i == lines_.size()) {
            contents_.problems.push_back("line 1: empty file, not a registry file");
            return;
        }
        const std::string_view header = trimmed(lines_[i]);
        if (header == "Windows Registry Editor Version 5.00") {
            unicodeHexStrings_ = true;
        } else if (header == "REGEDIT4") {
            unicodeHexStrings_ = false;
        } else {
            contents_.problems.push_back("line " + std::to_string(i + 1) +
                                         ": not a registry file (the first line must be "
                                         "\"Windows Registry Editor Version 5.00\" or \"REGEDIT4\")");
            return;
        }
        for (++i; i < lines_.size(); ++i) {
            const std::string_view line = trimmed(lines_[i]);
            lineNumber_ = i + 1;
            if (line.empty() || line.front() == ';') continue;
            if (line.front() == '[') {
                section(line);
            } else if (line.front() == '"' || line.front() == '@') {
                value(line, i);
            } else {
                problem("not understood");
            }
        }
    }

private:
    void splitLines(const std::string& text) {
        size_t start = 0;
        while (start <= text.size()) {
            const size_t end = text.find('\n', start);
            if (end == std::string::npos) {
                if (start < text.size()) lines_.emplace_back(text.substr(start));
                break;
            }
            lines_.emplace_back(text.substr(start, end - start));
            start = end + 1;
        }
    }

    void problem(const std::string& what) {
        contents_.problems.push_back("line " + std::to_string(lineNumber_) + ": " + what);
    }

    void section(std::string_view line) {
        currentKey_.clear();
        const size_t close = line.rfind(']');
        if (close == std::string_view::npos) {
            problem("key name without closing bracket");
            return;
        }
        std::string_view written = line.substr(1, close - 1);
        const bool deletion = !written.empty() && written.front() == '-';
        if (deletion) written.remove_prefix(1);
        const std::string path = storedPath(written);
        const std::string folded = foldKeyPath(path);
        if (folded.empty()) {
            problem("unknown root key in [" + std::string(written) + "]");
            return;
        }
        if (deletion) {
            deleteTree(folded);
            return;
        }
        createWithParents(path);
        currentKey_ = folded;
    }

    void deleteTree(const std::string& folded) {
        auto& keys = contents_.keys;
        for (auto it = keys.begin(); it != keys.end();) {
            const std::string& name = it->first;
            const bool inside = name == folded ||
                                (name.size() > folded.size() && name.compare(0, folded.size(), folded) == 0 &&
                                 name[folded.size()] == '\\');
            it = inside ? keys.erase(it) : std::next(it);
        }
    }

    void createWithParents(const std::string& path) {
        std::string partial;
        size_t start = 0;
        while (start <= path.size()) {
            const size_t separator = path.find('\\', start);
            const std::string component =
                path.substr(start, separator == std::string::npos ? std::string::npos : separator - start);
            if (!component.empty()) {
                if (!partial.empty()) partial += '\\';
                partial += component;
                const std::string folded = foldKeyPath(partial);
                auto [it, added] = contents_.keys.try_emplace(folded);
                if (added) it->second.path = partial;
            }
            if (separator == std::string::npos) break;
            start = separator + 1;
        }
    }

    void value(std::string_view line, size_t& lineIndex) {
        std::string name;
        size_t pos = 0;
        if (line.front() == '@') {
            pos = 1;
        } else if (!parseQuoted(line, pos, name)) {
            problem("value name without closing quote");
            return;
        }
        while (pos < line.size() && isBlank(line[pos])) ++pos;
        if (pos >= line.size() || line[pos] != '=') {
            problem("value without '='");
            return;
        }
        ++pos;
        while (pos < line.size() && isBlank(line[pos])) ++pos;
        std::string data(line.substr(pos));
        if (startsWithFolded(data, "hex")) {
            // Long binary data runs on over lines that end in a backslash.
            while (!data.empty() && data.back() == '\\' && lineIndex + 1 < lines_.size()) {
                data.pop_back();
                data += trimmed(lines_[++lineIndex]);
            }
        }
        if (currentKey_.empty()) {
            problem("value outside a key section");
            return;
        }
        RegistryKeyContents& key = contents_.keys[currentKey_];
        const std::string foldedName = foldName(name);
        if (data == "-") {
            key.values.erase(foldedName);
            return;
        }
        RegistryValue parsed;
        parsed.name = name;
        if (!parseData(data, parsed)) return;
        key.values[foldedName] = std::move(parsed);
    }

    bool parseData(std::string_view data, RegistryValue& out) {
        if (!data.empty() && data.front() == '"') {
            std::string text;
            size_t pos = 0;
            if (!parseQuoted(data, pos, text)) {
                problem("text value without closing quote");
                return false;
            }
            if (!trimmed(data.substr(pos)).empty()) {
                problem("unexpected characters after a text value");
                return false;
            }
            out.type = REG_SZ;
            out.data.assign(text.begin(), text.end());
            out.data.push_back(0);
            return true;
        }
        if (startsWithFolded(data, "dword:")) {
            const std::string_view digits = trimmed(data.substr(6));
            uint32_t number = 0;
            bool valid = !digits.empty() && digits.size() <= 8;
            for (char c : digits) {
                const int digit = hexDigit(c);
                valid = valid && digit >= 0;
                number = number * 16 + static_cast<uint32_t>(digit < 0 ? 0 : digit);
            }
            if (!valid) {
                problem("dword value that is not 1 to 8 hex digits");
                return false;
            }
            out.type = REG_DWORD;
            for (int shift = 0; shift < 32; shift += 8) out.data.push_back(static_cast<BYTE>(number >> shift));
            return true;
        }
        if (startsWithFolded(data, "hex")) return parseHexData(data.substr(3), out);
        problem("value data not understood");
        return false;
    }

    bool parseHexData(std::string_view rest, RegistryValue& out) {
        out.type = REG_BINARY;
        if (!rest.empty() && rest.front() == '(') {
            const size_t close = rest.find(')');
            if (close == std::string_view::npos || close == 1 || close > 9) {
                problem("hex value type not understood");
                return false;
            }
            DWORD type = 0;
            for (char c : rest.substr(1, close - 1)) {
                const int digit = hexDigit(c);
                if (digit < 0) {
                    problem("hex value type not understood");
                    return false;
                }
                type = type * 16 + static_cast<DWORD>(digit);
            }
            out.type = type;
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest.front() != ':') {
            problem("hex value without ':'");
            return false;
        }
        std::vector<BYTE> bytes;
        if (!parseHexBytes(rest.substr(1), bytes)) {
            problem("hex bytes not understood");
            return false;
        }
        if (isStringType(out.type) && unicodeHexStrings_) {
            const std::string text =
                utf16ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), false);
            bytes.assign(text.begin(), text.end());
        }
        if ((out.type == REG_SZ || out.type == REG_EXPAND_SZ) && (bytes.empty() || bytes.back() != 0)) {
            bytes.push_back(0);
        }
        out.data = std::move(bytes);
        return true;
    }

    RegistryContents& contents_;
    std::vector<std::string> lines_;
    std::string currentKey_;
    size_t lineNumber_ = 0;
    bool unicodeHexStrings_ = true;
};

}  // namespace

std::string foldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return folded;
}

std::string foldKeyPath(std::string_view fullPath) {
    std::string folded;
    bool first = true;
    size_t start = 0;
    while (start <= fullPath.size()) {
        const size_t separator = fullPath.find('\\', start);
        const std::string_view component =
            fullPath.substr(start, separator == std::string_view::npos ? std::string_view::npos : separator - start);
        if (first) {
            for (const HiveName& hive : kHives) {
                if (foldName(component) == hive.full || foldName(component) == hive.shortForm) {
                    folded = hive.full;
                }
            }
            if (folded.empty()) return {};
            first = false;
        } else if (!component.empty()) {
            folded += '\\';
            folded += foldName(component);
        }
        if (separator == std::string_view::npos) break;
        start = separator + 1;
    }
    return folded;
}

std::string decodeRegistryText(std::string_view fileBytes) {
    auto startsWith = [&](std::string_view bom) { return fileBytes.substr(0, bom.size()) == bom; };
    if (startsWith("\xFF\xFE")) return utf16ToUtf8(fileBytes.substr(2), false);
    if (startsWith("\xFE\xFF")) return utf16ToUtf8(fileBytes.substr(2), true);
    if (startsWith("\xEF\xBB\xBF")) return std::string(fileBytes.substr(3));
    return std::string(fileBytes);
}

const RegistryKeyContents* RegistryContents::findKey(std::string_view fullPath) const {
    const auto it = keys.find(foldKeyPath(fullPath));
    return it == keys.end() ? nullptr : &it->second;
}

RegistryContents parseRegistryFile(std::string_view fileBytes) {
    RegistryContents contents;
    Parser(contents).run(decodeRegistryText(fileBytes));
    return contents;
}

}  // namespace tz::platform
