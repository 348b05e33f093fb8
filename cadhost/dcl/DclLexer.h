// Splits DCL text into tokens: names, quoted strings, numbers and the
// punctuation : { } = ; and @include. Comments (// to the end of the line and
// /* ... */) and white space separate tokens and are dropped.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dcl/DclSyntax.h"

namespace tz::cad::dcl {

struct Token {
    enum class Kind { Name, String, Number, Colon, OpenBrace, CloseBrace, Equals, Semicolon, Include, End };
    Kind kind = Kind::End;
    std::wstring text;  // names and numbers as written; strings with escapes resolved
    int line = 0;
};

// Tokens of `text`, ending with one End token; or the first lexical error
// (an unclosed string or comment, a character DCL has no use for).
// Strings take the escapes \" \\ \n \t; any other backslash is kept as written,
// so Windows paths survive.
struct LexResult {
    std::vector<Token> tokens;
    std::optional<DclError> error;  // file left empty; the caller names it
};
LexResult tokenize(std::wstring_view text);

// How a token is named in error messages: `"label"`, `";"`, "the end of the file".
std::wstring describeToken(const Token& token);

}  // namespace tz::cad::dcl
