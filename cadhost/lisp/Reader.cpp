#include "lisp/Reader.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cwctype>

namespace tz::cad::lisp {

Reader::Reader(std::wstring text, std::function<ValuePtr(const std::wstring&)> intern)
    : text_(std::move(text)), intern_(std::move(intern)) {}

void Reader::skipBlankAndComments() {
    while (pos_ < text_.size()) {
        const wchar_t c = text_[pos_];
        if (std::iswspace(c)) {
            ++pos_;
        } else if (c == L';') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == L'|') {
                const size_t end = text_.find(L"|;", pos_ + 2);
                pos_ = end == std::wstring::npos ? text_.size() : end + 2;
            } else {
                while (pos_ < text_.size() && text_[pos_] != L'\n') ++pos_;
            }
        } else {
            break;
        }
    }
}

bool Reader::atEnd() {
    skipBlankAndComments();
    return pos_ >= text_.size();
}

std::optional<ValuePtr> Reader::next() {
    skipBlankAndComments();
    if (pos_ >= text_.size()) return std::nullopt;
    if (text_[pos_] == L')') {
        ++pos_;
        throw ReadError("extra right paren on input");
    }
    return readForm();
}

ValuePtr Reader::readForm() {
    skipBlankAndComments();
    if (pos_ >= text_.size()) throw ReadError("malformed list on input");
    // Reading goes one call deeper per level of lists and quotes.
    struct Level {
        int& depth;
        explicit Level(int& d) : depth(d) {
            if (depth >= kMaxDepth) throw ReadError("LISP stack overflow: lists nested too deep on input");
            ++depth;
        }
        ~Level() { --depth; }
    } level(depth_);
    const wchar_t c = text_[pos_];
    if (c == L'(') {
        ++pos_;
        return readList();
    }
    if (c == L'\'') {
        ++pos_;
        return makeList({intern_(L"QUOTE"), readForm()});
    }
    if (c == L'"') return readString();
    // Where a form should be (after a quote or a dotted pair's dot) a right
    // paren is not a symbol without a name.
    if (c == L')') throw ReadError("malformed list on input");
    return readAtom();
}

ValuePtr Reader::readList() {
    std::vector<ValuePtr> items;
    ValuePtr tail;
    for (;;) {
        skipBlankAndComments();
        if (pos_ >= text_.size()) throw ReadError("malformed list on input");
        if (text_[pos_] == L')') {
            ++pos_;
            break;
        }
        // A lone dot between blanks makes a dotted pair.
        if (text_[pos_] == L'.' && !items.empty() &&
            (pos_ + 1 >= text_.size() || std::iswspace(text_[pos_ + 1]) || text_[pos_ + 1] == L'(' ||
             text_[pos_ + 1] == L'"')) {
            ++pos_;
            tail = readForm();
            skipBlankAndComments();
            if (pos_ >= text_.size() || text_[pos_] != L')') throw ReadError("malformed list on input");
            ++pos_;
            break;
        }
        items.push_back(readForm());
    }
    ValuePtr list = tail;
    for (auto it = items.rbegin(); it != items.rend(); ++it) list = cons(*it, list);
    return list;
}

ValuePtr Reader::readString() {
    ++pos_;  // opening quote
    std::wstring out;
    while (pos_ < text_.size()) {
        wchar_t c = text_[pos_++];
        if (c == L'"') return makeString(out);
        if (c == L'\\' && pos_ < text_.size()) {
            const wchar_t e = text_[pos_++];
            switch (e) {
                case L'n': out += L'\n'; break;
                case L't': out += L'\t'; break;
                case L'r': out += L'\r'; break;
                case L'e': out += static_cast<wchar_t>(27); break;
                default:
                    if (e >= L'0' && e <= L'7') {  // \nnn octal
                        int code = e - L'0';
                        for (int k = 0; k < 2 && pos_ < text_.size() && text_[pos_] >= L'0' && text_[pos_] <= L'7'; ++k)
                            code = code * 8 + (text_[pos_++] - L'0');
                        out += static_cast<wchar_t>(code);
                    } else {
                        out += e;  // \\ and \" and anything else stand for themselves
                    }
            }
        } else {
            out += c;
        }
    }
    throw ReadError("malformed string on input");
}

ValuePtr Reader::readAtom() {
    const size_t start = pos_;
    while (pos_ < text_.size()) {
        const wchar_t c = text_[pos_];
        if (std::iswspace(c) || c == L'(' || c == L')' || c == L'\'' || c == L'"' || c == L';') break;
        ++pos_;
    }
    const std::wstring token = text_.substr(start, pos_ - start);

    // Integers: optional sign and digits only, within 32 bits.
    size_t i = (token[0] == L'+' || token[0] == L'-') ? 1 : 0;
    bool digits = i < token.size();
    for (size_t k = i; k < token.size(); ++k) digits = digits && std::iswdigit(token[k]);
    if (digits) {
        errno = 0;
        const long long value = std::wcstoll(token.c_str(), nullptr, 10);
        if (errno == 0 && value >= INT32_MIN && value <= INT32_MAX) return makeInt(static_cast<int32_t>(value));
        const double real = std::wcstod(token.c_str(), nullptr);  // too large for an integer: a real
        if (!std::isfinite(real)) throw ReadError("number out of range on input");
        return makeReal(real);
    }
    // Reals: the whole token must read as a finite decimal number.
    wchar_t* end = nullptr;
    const double value = std::wcstod(token.c_str(), &end);
    const bool hasDigit = token.find_first_of(L"0123456789") != std::wstring::npos;
    if (end && *end == 0 && hasDigit && token.find_first_of(L"xXnN") == std::wstring::npos) {
        if (!std::isfinite(value)) throw ReadError("number out of range on input");  // 1e999
        return makeReal(value);
    }

    std::wstring name = token;
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    // nil is the empty list wherever it is read, quoted data included.
    if (name == L"NIL") return nullptr;
    return intern_(name);
}

int openParenDepth(const std::wstring& text) {
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'"') {
            for (++i; i < text.size() && text[i] != L'"'; ++i) {
                if (text[i] == L'\\') ++i;
            }
        } else if (c == L';') {
            if (i + 1 < text.size() && text[i + 1] == L'|') {
                const size_t end = text.find(L"|;", i + 2);
                if (end == std::wstring::npos) return depth > 0 ? depth : 1;
                i = end + 1;
            } else {
                while (i < text.size() && text[i] != L'\n') ++i;
            }
        } else if (c == L'(') {
            ++depth;
        } else if (c == L')') {
            --depth;
            if (depth < 0) return depth;
        }
    }
    return depth;
}

}  // namespace tz::cad::lisp
