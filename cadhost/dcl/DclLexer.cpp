#include "dcl/DclLexer.h"

namespace tz::cad::dcl {

namespace {

bool isNameStart(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_'; }
bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool isNamePart(wchar_t c) { return isNameStart(c) || isDigit(c); }

class Lexer {
public:
    explicit Lexer(std::wstring_view text) : text_(text) {}

    LexResult run() {
        LexResult result;
        while (true) {
            if (!skipSpaceAndComments(result)) return result;
            if (pos_ >= text_.size()) break;
            const wchar_t c = text_[pos_];
            Token token;
            token.line = line_;
            if (c == L':' || c == L'{' || c == L'}' || c == L'=' || c == L';') {
                token.kind = c == L':'   ? Token::Kind::Colon
                             : c == L'{' ? Token::Kind::OpenBrace
                             : c == L'}' ? Token::Kind::CloseBrace
                             : c == L'=' ? Token::Kind::Equals
                                         : Token::Kind::Semicolon;
                token.text = std::wstring(1, c);
                ++pos_;
            } else if (c == L'"') {
                if (!readString(token, result)) return result;
            } else if (isDigit(c) || ((c == L'-' || c == L'+' || c == L'.') && startsNumber())) {
                readNumber(token);
            } else if (isNameStart(c)) {
                token.kind = Token::Kind::Name;
                const size_t start = pos_;
                while (pos_ < text_.size() && isNamePart(text_[pos_])) ++pos_;
                token.text = std::wstring(text_.substr(start, pos_ - start));
            } else if (c == L'@') {
                const size_t start = ++pos_;
                while (pos_ < text_.size() && isNamePart(text_[pos_])) ++pos_;
                const std::wstring_view word = text_.substr(start, pos_ - start);
                if (word != L"include") {
                    return fail(result, L"unknown directive \"@" + std::wstring(word) + L"\" (only @include is known)");
                }
                token.kind = Token::Kind::Include;
                token.text = L"@include";
            } else {
                std::wstring shown = c < 0x20 ? L"control character" : L"character \"" + std::wstring(1, c) + L"\"";
                return fail(result, L"unexpected " + shown);
            }
            result.tokens.push_back(std::move(token));
        }
        Token end;
        end.kind = Token::Kind::End;
        end.line = line_;
        result.tokens.push_back(end);
        return result;
    }

private:
    LexResult& fail(LexResult& result, std::wstring message) {
        result.error = DclError{L"", line_, std::move(message)};
        result.tokens.clear();
        return result;
    }

    // False (and the error set) on a comment that never closes.
    bool skipSpaceAndComments(LexResult& result) {
        while (pos_ < text_.size()) {
            const wchar_t c = text_[pos_];
            if (c == L'\n') {
                ++line_;
                ++pos_;
            } else if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\f' || c == L'\v' || c == 0xFEFF) {
                ++pos_;
            } else if (c == L'/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == L'/') {
                while (pos_ < text_.size() && text_[pos_] != L'\n') ++pos_;
            } else if (c == L'/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == L'*') {
                const int startLine = line_;
                pos_ += 2;
                while (pos_ < text_.size() && !(text_[pos_] == L'*' && pos_ + 1 < text_.size() && text_[pos_ + 1] == L'/')) {
                    if (text_[pos_] == L'\n') ++line_;
                    ++pos_;
                }
                if (pos_ >= text_.size()) {
                    line_ = startLine;
                    fail(result, L"comment \"/*\" is never closed with \"*/\"");
                    return false;
                }
                pos_ += 2;
            } else {
                break;
            }
        }
        return true;
    }

    bool startsNumber() const {
        size_t next = pos_ + 1;
        if (text_[pos_] != L'.' && next < text_.size() && text_[next] == L'.') ++next;
        return next < text_.size() && isDigit(text_[next]);
    }

    void readNumber(Token& token) {
        token.kind = Token::Kind::Number;
        const size_t start = pos_;
        if (text_[pos_] == L'-' || text_[pos_] == L'+') ++pos_;
        while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
        if (pos_ < text_.size() && text_[pos_] == L'.') {
            ++pos_;
            while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
        }
        if (pos_ < text_.size() && (text_[pos_] == L'e' || text_[pos_] == L'E')) {
            size_t exponent = pos_ + 1;
            if (exponent < text_.size() && (text_[exponent] == L'-' || text_[exponent] == L'+')) ++exponent;
            if (exponent < text_.size() && isDigit(text_[exponent])) {
                pos_ = exponent;
                while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
            }
        }
        token.text = std::wstring(text_.substr(start, pos_ - start));
    }

    // DCL strings stay on one line; a line end before the closing quote is an error.
    bool readString(Token& token, LexResult& result) {
        token.kind = Token::Kind::String;
        ++pos_;
        while (true) {
            if (pos_ >= text_.size() || text_[pos_] == L'\n') {
                fail(result, L"string is not closed before the end of the line");
                return false;
            }
            const wchar_t c = text_[pos_++];
            if (c == L'"') return true;
            if (c != L'\\' || pos_ >= text_.size() || text_[pos_] == L'\n') {
                token.text += c;
                continue;
            }
            const wchar_t escaped = text_[pos_++];
            switch (escaped) {
                case L'"': token.text += L'"'; break;
                case L'\\': token.text += L'\\'; break;
                case L'n': token.text += L'\n'; break;
                case L't': token.text += L'\t'; break;
                default:
                    token.text += L'\\';
                    token.text += escaped;
            }
        }
    }

    std::wstring_view text_;
    size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

LexResult tokenize(std::wstring_view text) { return Lexer(text).run(); }

std::wstring describeToken(const Token& token) {
    switch (token.kind) {
        case Token::Kind::End: return L"the end of the file";
        case Token::Kind::String: return L"the string \"" + token.text + L"\"";
        case Token::Kind::Number: return L"the number " + token.text;
        case Token::Kind::Name: return L"\"" + token.text + L"\"";
        default: return L"\"" + token.text + L"\"";
    }
}

std::wstring DclError::describe() const {
    std::wstring text = file;
    if (line > 0) text += (text.empty() ? L"line " : L", line ") + std::to_wstring(line);
    if (!text.empty()) text += L": ";
    return text + message;
}

}  // namespace tz::cad::dcl
