#include "dcl/DclLoader.h"

#include <filesystem>
#include <fstream>
#include <list>
#include <optional>
#include <set>

#include "FileSystem.h"
#include "core/HostState.h"
#include "dcl/BaseDefinitions.h"
#include "dcl/DclParser.h"
#include "dcl/TileResolver.h"

namespace tz::cad::dcl {

const Tile* DclDocument::dialog(const std::wstring& dialogName) const {
    const auto found = dialogs.find(dialogName);
    return found == dialogs.end() ? nullptr : &found->second;
}

namespace {

struct LoadedFile {
    std::wstring name;
    DclSyntax syntax;
};

struct LoadFailure {
    DclError error;
};

// Parses `text` and, depth first, the files it includes, appending each file
// after the files it includes so that its definitions hide theirs.
class FileCollector {
public:
    explicit FileCollector(const DclTextReader& readInclude) : readInclude_(readInclude) {}

    void collect(std::wstring_view text, const std::wstring& name, int depth) {
        std::variant<DclSyntax, DclError> parsed = parseDcl(text);
        if (std::holds_alternative<DclError>(parsed)) {
            DclError error = std::get<DclError>(parsed);
            error.file = name;
            throw LoadFailure{error};
        }
        DclSyntax syntax = std::get<DclSyntax>(std::move(parsed));
        chain_.push_back(name);
        for (const auto& [includeName, line] : syntax.includes) {
            for (const std::wstring& open : chain_) {
                if (open == includeName) throw LoadFailure{{name, line, L"\"" + includeName + L"\" includes itself"}};
            }
            if (!done_.insert(includeName).second) continue;  // already included once
            if (depth + 1 > kMaxIncludeDepth) throw LoadFailure{{name, line, L"@include files are nested too deeply"}};
            FileText included = readInclude_ ? readInclude_(includeName) : FileText{false, L"", L"cannot find the file"};
            if (!included.found) {
                throw LoadFailure{{name, line, L"cannot include \"" + includeName + L"\": " + included.message}};
            }
            collect(included.text, includeName, depth + 1);
        }
        chain_.pop_back();
        files_.push_back(LoadedFile{name, std::move(syntax)});
    }

    std::list<LoadedFile>& files() { return files_; }

private:
    const DclTextReader& readInclude_;
    std::list<LoadedFile> files_;  // a list: definitions are referred to by address
    std::vector<std::wstring> chain_;
    std::set<std::wstring> done_;
};

void checkNames(const LoadedFile& file) {
    std::map<std::wstring, int> firstLine;
    for (const TileSpec& definition : file.syntax.definitions) {
        if (builtInKind(definition.name)) {
            throw LoadFailure{{file.name, definition.line, L"\"" + definition.name + L"\" is a built-in tile type and cannot be redefined"}};
        }
        const auto [at, added] = firstLine.emplace(definition.name, definition.line);
        if (!added) {
            throw LoadFailure{{file.name, definition.line, L"\"" + definition.name + L"\" is defined twice (first on line " +
                                                         std::to_wstring(at->second) + L")"}};
        }
    }
}

std::optional<std::string> readBytes(const std::string& path, std::wstring& message) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        message = L"cannot read the file";
        return std::nullopt;
    }
    if (size > kMaxDclFileBytes) {
        message = L"the file is too large for a dialog file (" + std::to_wstring(size) + L" bytes)";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        message = L"cannot read the file";
        return std::nullopt;
    }
    return bytes;
}

bool hasExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

FileText readFound(const std::optional<std::string>& path) {
    if (!path) return FileText{false, L"", L"cannot find the file"};
    std::wstring message;
    std::optional<std::string> bytes = readBytes(*path, message);
    if (!bytes) return FileText{false, L"", message};
    return FileText{true, decodeDclBytes(*bytes), L""};
}

}  // namespace

std::variant<DclDocument, DclError> loadDclText(std::wstring_view text, const std::wstring& name,
                                                const DclTextReader& readInclude) {
    try {
        FileCollector collector(readInclude);
        collector.collect(text, name, 0);
        DefinitionScope scope;
        for (const TileSpec& definition : baseDefinitions().definitions) scope.add(definition, kBaseDefinitionsName);
        for (const LoadedFile& file : collector.files()) {
            checkNames(file);
            for (const TileSpec& definition : file.syntax.definitions) scope.add(definition, file.name);
        }
        DclDocument document;
        document.name = name;
        // The file itself comes last; walk from it so its dialogs are listed first.
        for (auto file = collector.files().rbegin(); file != collector.files().rend(); ++file) {
            for (const TileSpec& definition : file->syntax.definitions) {
                if (scope.find(definition.name)->definition != &definition) continue;  // hidden by a later file
                std::variant<Tile, DclError> resolved = resolveDefinition(scope, definition, file->name);
                if (std::holds_alternative<DclError>(resolved)) throw LoadFailure{std::get<DclError>(resolved)};
                Tile& tile = std::get<Tile>(resolved);
                if (tile.kind != TileKind::Dialog) continue;
                document.dialogNames.push_back(definition.name);
                document.dialogs.emplace(definition.name, std::move(tile));
            }
        }
        return document;
    } catch (const LoadFailure& failure) {
        return failure.error;
    }
}

std::variant<DclDocument, DclError> loadDclFile(const std::wstring& name) {
    const std::string narrow = tz::platform::toUtf8(name);
    std::optional<std::string> path = findSupportFile(narrow);
    if (!path && !hasExtension(tz::platform::nativePath(narrow))) path = findSupportFile(narrow + ".dcl");
    const FileText main = readFound(path);
    if (!main.found) return DclError{name, 0, main.message};
    const std::filesystem::path folder = std::filesystem::path(*path).parent_path();
    const DclTextReader readInclude = [&folder](const std::wstring& includeName) {
        const std::string native = tz::platform::nativePath(tz::platform::toUtf8(includeName));
        std::error_code ec;
        if (!std::filesystem::path(native).is_absolute()) {
            const std::filesystem::path beside = folder / native;
            if (std::filesystem::is_regular_file(beside, ec)) return readFound(beside.string());
        }
        return readFound(findSupportFile(native));
    };
    return loadDclText(main.text, name, readInclude);
}

std::wstring decodeDclBytes(const std::string& bytes) {
    const auto byteAt = [&bytes](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && ((byteAt(0) == 0xFF && byteAt(1) == 0xFE) || (byteAt(0) == 0xFE && byteAt(1) == 0xFF))) {
        const bool littleEndian = byteAt(0) == 0xFF;
        std::wstring text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            uint32_t unit = littleEndian ? (byteAt(i) | (byteAt(i + 1) << 8)) : ((byteAt(i) << 8) | byteAt(i + 1));
            if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
                const uint32_t low = littleEndian ? (byteAt(i + 2) | (byteAt(i + 3) << 8))
                                                  : ((byteAt(i + 2) << 8) | byteAt(i + 3));
                if (low >= 0xDC00 && low < 0xE000) {
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    i += 2;
                }
            }
            text += static_cast<wchar_t>(unit);
        }
        return text;
    }
    if (bytes.size() >= 3 && byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF) {
        return tz::platform::fromUtf8(bytes.substr(3));
    }
    return tz::platform::fromUtf8(bytes);
}

}  // namespace tz::cad::dcl
