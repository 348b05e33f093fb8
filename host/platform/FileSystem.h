// Files as the suite's Windows-born code names them: both '/' and '\\'
// separate folders, so paths built with backslashes work unchanged here.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace tz::platform {

// The path with every backslash turned into the platform's separator.
std::string nativePath(const std::string& path);

// Narrow (UTF-8) form of a host string and back.
std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);

// fopen on the native form of the path. Mode as for fopen ("r", "w", "a",
// "rb", ...). Without "b" the file is a text file as the suite's files are
// everywhere it runs: each "\n" written is stored as CR LF, and CR LF reads
// back as "\n" (binary mode reads and writes the bytes as they are). A text
// stream can be rewound; other seeks are refused.
std::FILE* openFile(const std::string& path, const char* mode);
std::FILE* openFile(const std::wstring& path, const char* mode);

// Removes a file; true when it is gone.
bool deleteFile(const std::string& path);
// Gives a file another name, replacing a file of that name. False when it
// could not be renamed (the file then stays where it was).
bool renameFile(const std::string& from, const std::string& to);
// Puts the file `from` in the place of the file `to` names (where `to` is a
// link, of the file it points to); it takes the permissions of the file it
// replaces. False when it could not be moved (it then stays where it was).
bool replaceFileWith(const std::string& from, const std::string& to);

// A file written under a temporary name beside `path` and put in its place
// by commit() once all of it is written, so that a write that fails part way
// (a full disk, a folder taken away) leaves the file that was there before
// instead of a cut-off one. A file that is a link is replaced where the link
// points, and the new file takes the old one's permissions. Without commit()
// the temporary file is removed.
class ReplacementFile {
public:
    ReplacementFile(const std::string& path, const char* mode);
    ReplacementFile(const std::wstring& path, const char* mode);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Null where openFile on the path itself would fail (no such folder, a
    // folder of that name, no right to write the file or the folder).
    std::FILE* file() const { return file_; }
    // Writes all of `text`; false when a write fails.
    bool write(const std::string& text);
    // Closes the file and gives it the path; false, with the old file kept,
    // when a write, the close or the renaming failed.
    bool commit();

private:
    std::string target_, temporary_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// True when the file exists and opens for reading.
bool canRead(const std::string& path);

// What tells one state of a file from a later one: its size and when it was
// last written.
struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written{};
    bool operator==(const FileStamp&) const = default;
};
// The stamp of a file; none when there is no such file.
std::optional<FileStamp> fileStamp(const std::string& path);

// The folder for work files: TEMP, then TMPDIR, then the platform's temporary
// folder; without a trailing separator.
std::string tempFolder();

}  // namespace tz::platform
