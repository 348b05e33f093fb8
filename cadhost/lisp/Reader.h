// Reads LISP text into values, as the host's reader does: integers, reals,
// strings with \\ \" \n \t escapes, symbols (case-insensitive), lists,
// dotted pairs, quote, and ; and ;| |; comments.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "lisp/Value.h"

namespace tz::cad::lisp {

struct ReadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Reader {
public:
    // `intern` turns a name (already upper case) into the symbol value.
    Reader(std::wstring text, std::function<ValuePtr(const std::wstring&)> intern);

    // The next form; nullopt at the end of the text. Throws ReadError on
    // malformed input ("malformed list on input", "extra right paren on input").
    std::optional<ValuePtr> next();

    bool atEnd();

private:
    void skipBlankAndComments();
    ValuePtr readForm();
    ValuePtr readList();
    ValuePtr readString();
    ValuePtr readAtom();

    static constexpr int kMaxDepth = 1000;  // of lists and quotes

    std::wstring text_;
    size_t pos_ = 0;
    int depth_ = 0;
    std::function<ValuePtr(const std::wstring&)> intern_;
};

// The paren depth left open at the end of the text (strings and comments
// skipped); negative when a right paren has no partner.
int openParenDepth(const std::wstring& text);

}  // namespace tz::cad::lisp
