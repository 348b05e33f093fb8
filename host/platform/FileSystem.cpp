#include "FileSystem.h"

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

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
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<uint32_t>(text[i]);
        // A surrogate pair (as 16-bit text holds characters beyond U+FFFF)
        // is one character; a lone surrogate, or a value beyond U+10FFFF,
        // has no UTF-8 form and becomes U+FFFD, the replacement character.
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            const auto low = static_cast<uint32_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if ((c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) c = 0xFFFD;
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

namespace {

// A text stream over a binary file: line feeds become CR LF on the way out,
// CR LF becomes a line feed on the way in.
struct TextFile {
    std::FILE* file;
    off64_t delivered = 0;   // characters handed to the reader or taken from the writer
    std::string scratch;     // a block on its way out
};

ssize_t readText(void* cookie, char* buffer, size_t size) {
    auto* text = static_cast<TextFile*>(cookie);
    // Whole blocks, each turned in place: the text never grows on the way in.
    const size_t raw = std::fread(buffer, 1, size, text->file);
    size_t out = 0;
    for (size_t i = 0; i < raw; ++i) {
        const char c = buffer[i];
        if (c != '\r') {
            buffer[out++] = c;
            continue;
        }
        if (i + 1 < raw) {
            if (buffer[i + 1] == '\n') {
                buffer[out++] = '\n';
                ++i;
            } else {
                buffer[out++] = '\r';
            }
            continue;
        }
        // A CR that ends the block: the next byte decides.
        const int next = std::fgetc(text->file);
        if (next == '\n') {
            buffer[out++] = '\n';
        } else {
            buffer[out++] = '\r';
            if (next != EOF) std::ungetc(next, text->file);
        }
    }
    text->delivered += static_cast<off64_t>(out);
    return static_cast<ssize_t>(out);
}

ssize_t writeText(void* cookie, const char* buffer, size_t size) {
    auto* text = static_cast<TextFile*>(cookie);
    // Turned into one block and written at once: two writes per line cost
    // more than the turning when files hold millions of lines.
    std::string& out = text->scratch;
    out.clear();
    out.reserve(size + size / 8 + 16);
    size_t start = 0;
    while (start < size) {
        const void* found = std::memchr(buffer + start, '\n', size - start);
        const size_t end = found ? static_cast<size_t>(static_cast<const char*>(found) - buffer) : size;
        out.append(buffer + start, end - start);
        if (found == nullptr) break;
        out += "\r\n";
        start = end + 1;
    }
    if (std::fwrite(out.data(), 1, out.size(), text->file) != out.size()) return -1;
    text->delivered += static_cast<off64_t>(size);
    return static_cast<ssize_t>(size);
}

int seekText(void* cookie, off64_t* offset, int whence) {
    auto* text = static_cast<TextFile*>(cookie);
    if (whence == SEEK_CUR && *offset == 0) {  // ftell
        *offset = text->delivered;
        return 0;
    }
    if (whence != SEEK_SET || *offset != 0) return -1;
    if (std::fseek(text->file, 0, SEEK_SET) != 0) return -1;
    text->delivered = 0;
    return 0;
}

int closeText(void* cookie) {
    auto* text = static_cast<TextFile*>(cookie);
    const int result = std::fclose(text->file);
    delete text;
    return result;
}

// Opens like fopen, except that a folder, a pipe or a socket is not a file
// here: fopen opens a folder for reading, and every reader would then see
// an empty file instead of saying that it cannot open its input; opening a
// named pipe waits, for ever, for the other end.
std::FILE* openRegular(const std::string& native, const char* mode) {
    struct stat named {};
    if (stat(native.c_str(), &named) == 0 && (S_ISFIFO(named.st_mode) || S_ISSOCK(named.st_mode))) {
        errno = EINVAL;
        return nullptr;
    }
    std::FILE* file = std::fopen(native.c_str(), mode);
    if (file == nullptr) return nullptr;
    struct stat status {};
    if (fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(file);
        errno = EISDIR;
        return nullptr;
    }
    return file;
}

}  // namespace

std::FILE* openFile(const std::string& path, const char* mode) {
    const std::string native = nativePath(path);
    const std::string modeText = mode;
    if (modeText.find('b') != std::string::npos) return openRegular(native, mode);
    std::FILE* file = openRegular(native, (modeText + "b").c_str());
    if (file == nullptr) return nullptr;
    auto* text = new TextFile{file, 0, {}};
    std::FILE* stream = fopencookie(text, mode, cookie_io_functions_t{readText, writeText, seekText, closeText});
    if (stream == nullptr) {
        std::fclose(file);
        delete text;
    }
    return stream;
}

std::FILE* openFile(const std::wstring& path, const char* mode) { return openFile(toUtf8(path), mode); }

bool deleteFile(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(nativePath(path), ec);
    return !std::filesystem::exists(nativePath(path), ec);
}

bool renameFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    std::filesystem::rename(nativePath(from), nativePath(to), ec);
    return !ec;
}

namespace {

// The file a path names: where it is a link, the file the link points to.
std::filesystem::path throughLinks(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target(nativePath(path));
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
    fs::path resolved = fs::weakly_canonical(target, ec);
    return ec ? target : resolved;
}

// A name for the file that will replace `target`, beside it so that the
// rename stays on one file system. The target's own name is cut where the
// suffix would make the name longer than a folder entry may be; the count
// keeps two such names of one process apart.
std::string temporaryBeside(const std::filesystem::path& target) {
    constexpr size_t kLongestName = 255;
    static std::atomic<unsigned> made{0};
    const std::string suffix =
        ".tz" + std::to_string(static_cast<long>(getpid())) + "-" + std::to_string(made++) + ".part";
    std::string name = target.filename().string();
    if (name.size() + suffix.size() > kLongestName) name.resize(kLongestName - suffix.size());
    return (target.parent_path() / (name + suffix)).string();
}

}  // namespace

bool replaceFileWith(const std::string& from, const std::string& to) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = throughLinks(to);
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::is_regular_file(old)) fs::permissions(nativePath(from), old.permissions(), ec);
    fs::rename(nativePath(from), target, ec);
    return !ec;
}

ReplacementFile::ReplacementFile(const std::string& path, const char* mode) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = throughLinks(path);
    target_ = target.string();
    // Refused where writing the path itself would be: a folder or other
    // non-file of that name, a file without the right to write it.
    const fs::file_status old = fs::status(target, ec);
    const bool exists = !ec && fs::exists(old);
    if (exists && (!fs::is_regular_file(old) || ::access(target_.c_str(), W_OK) != 0)) return;
    temporary_ = temporaryBeside(target);
    file_ = openFile(temporary_, mode);
    if (file_ != nullptr && exists) fs::permissions(temporary_, old.permissions(), ec);
}

ReplacementFile::ReplacementFile(const std::wstring& path, const char* mode) : ReplacementFile(toUtf8(path), mode) {}

ReplacementFile::~ReplacementFile() {
    if (file_ == nullptr) return;
    std::fclose(file_);
    deleteFile(temporary_);
}

bool ReplacementFile::write(const std::string& text) {
    if (file_ == nullptr) return false;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) failed_ = true;
    return !failed_;
}

bool ReplacementFile::commit() {
    if (file_ == nullptr) return false;
    const bool written = !failed_ && std::ferror(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!(written && closed && renameFile(temporary_, target_))) {
        deleteFile(temporary_);
        return false;
    }
    return true;
}

bool canRead(const std::string& path) {
    std::FILE* f = openFile(path, "r");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

std::optional<FileStamp> fileStamp(const std::string& path) {
    std::error_code ec;
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(nativePath(path), ec);
    if (ec) return std::nullopt;
    stamp.written = std::filesystem::last_write_time(nativePath(path), ec);
    if (ec) return std::nullopt;
    return stamp;
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
