// Text values in DXF files. The writer keeps every line plain ASCII: other
// characters as \U+XXXX (the form AutoCAD 2000 files use for characters
// outside their code page) and control characters in caret form (^J for a
// line feed; a caret that would read as one is written "^ "), so that no
// value can break the file's line structure.
#pragma once

#include <string>
#include <string_view>

namespace tz::cad {

std::string encodeDxfText(std::wstring_view text);
// The same, added to the end of `out`.
void appendDxfText(std::string& out, std::wstring_view text);
// Characters [begin, end) of `text`, written as they are within the whole
// text (a caret or backslash before `end` looks at what follows it), so
// that parts written one after another read back as the whole would.
void appendDxfText(std::string& out, std::wstring_view text, size_t begin, size_t end);

// At most how many characters encodeDxfText writes for the character at i
// of `text` (a backslash that would read as the start of an escape is one).
size_t encodedLength(std::wstring_view text, size_t i);

// Bytes of a value line to text: UTF-8 when `utf8` is set (files of 2007 and
// later) or when the bytes are valid UTF-8, else Windows-1252; then the
// \U+XXXX and caret forms are undone.
std::wstring decodeDxfText(std::string_view bytes, bool utf8);

}  // namespace tz::cad
