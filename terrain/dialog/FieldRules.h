// The rules every edit field of the terrain modeller's dialogs is checked
// against when the user leaves it, with their exact messages.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tz::terrain {

enum class FieldRule {
    Numeric,               // any number the drawing's units accept
    Nonnegative,           // a number >= 0
    Positive,              // a number > 0
    PositiveTwoMessages,   // a number > 0, with separate messages (mesh dialog)
    LayerName,             // letters, digits, "-", "_", "$"; not empty
    FileExists,            // empty, or a file that opens for reading
};

struct RuleOutcome {
    enum Kind { Pass, Fail, Untouched } kind;  // Untouched: the "error" tile is left alone
    std::wstring message;                      // for Fail
};

// Reads a text as a distance in the drawing's current units.
using DistanceParser = std::function<std::optional<double>(const std::wstring&)>;
using FileCheck = std::function<bool(const std::wstring&)>;

// Checks a field's text. `fileMessage` is the file-exists rule's own message.
RuleOutcome checkField(FieldRule rule, const std::wstring& text, const DistanceParser& parseDistance,
                       const FileCheck& canRead, const std::wstring& fileMessage = L"");

// How many characters of a field are read for its check (the tile's text
// beyond that is not seen): 14 for numbers, 30 for layer names, 511 for files.
int fieldReadLimit(FieldRule rule);

}  // namespace tz::terrain
