// Loading a dialog file: its text read and decoded, parsed, its @include
// files added, and every definition resolved against the base definitions,
// so that a file with any error is refused as a whole when it is loaded
// rather than part way through a dialog.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "dcl/DclSyntax.h"
#include "dcl/Tile.h"

namespace tz::cad::dcl {

// The dialogs of a loaded file (and of the files it includes), resolved.
struct DclDocument {
    std::wstring name;  // as the file was asked for
    std::map<std::wstring, Tile> dialogs;
    std::vector<std::wstring> dialogNames;  // in the order written

    // The dialog named `dialogName`, or null.
    const Tile* dialog(const std::wstring& dialogName) const;
};

// Text of a file by name: the decoded text, or a message saying why it cannot be read.
struct FileText {
    bool found = false;
    std::wstring text;     // when found
    std::wstring message;  // when not
};
using DclTextReader = std::function<FileText(const std::wstring& name)>;

// Files larger than this are refused unread; dialog files are a few kilobytes.
constexpr size_t kMaxDclFileBytes = 16u << 20;
// @include chains deeper than this are refused.
constexpr int kMaxIncludeDepth = 16;

// Loads DCL `text` known as `name`; `readInclude` supplies the text of every
// file named by @include.
std::variant<DclDocument, DclError> loadDclText(std::wstring_view text, const std::wstring& name,
                                                const DclTextReader& readInclude);

// Loads the dialog file `name` found by the host's file search (".dcl" is
// added to a name without an extension). Included files are looked for beside
// the including file first, then by the host's file search.
std::variant<DclDocument, DclError> loadDclFile(const std::wstring& name);

// The text of DCL file bytes: UTF-8 (with or without a byte-order mark), or
// UTF-16 with a byte-order mark. Bytes that are not UTF-8 stand for themselves.
std::wstring decodeDclBytes(const std::string& bytes);

}  // namespace tz::cad::dcl
