#include "drawing/Wildcard.h"

#include <cwctype>
#include <vector>

#include "drawing/Group.h"

namespace tz::cad {

namespace {

// One pattern position: a literal, a class of characters or a star.
struct Token {
    enum Kind { Literal, Digit, Letter, Other, Any, Star, Set } kind = Literal;
    wchar_t literal = 0;
    bool negated = false;
    std::vector<std::pair<wchar_t, wchar_t>> ranges;  // for Set
};

bool isLetter(wchar_t c) { return std::iswalpha(static_cast<wint_t>(c)) || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7); }
bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

wchar_t fold(wchar_t c, bool ignoreCase) { return ignoreCase ? upperLetter(c) : c; }

std::vector<Token> tokenize(std::wstring_view pattern, bool ignoreCase) {
    std::vector<Token> tokens;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        Token token;
        switch (c) {
            case L'#': token.kind = Token::Digit; break;
            case L'@': token.kind = Token::Letter; break;
            case L'.': token.kind = Token::Other; break;
            case L'?': token.kind = Token::Any; break;
            case L'*': token.kind = Token::Star; break;
            case L'`':
                token.literal = fold(i + 1 < pattern.size() ? pattern[++i] : L'`', ignoreCase);
                break;
            case L'[': {
                size_t j = i + 1;
                token.kind = Token::Set;
                if (j < pattern.size() && pattern[j] == L'~') {
                    token.negated = true;
                    ++j;
                }
                // A ']' right after the opening bracket is a member, as in the host.
                bool first = true;
                for (; j < pattern.size() && (first || pattern[j] != L']'); ++j, first = false) {
                    wchar_t from = pattern[j];
                    if (from == L'`' && j + 1 < pattern.size()) from = pattern[++j];
                    wchar_t to = from;
                    if (j + 2 < pattern.size() && pattern[j + 1] == L'-' && pattern[j + 2] != L']') {
                        to = pattern[j + 2];
                        j += 2;
                    }
                    token.ranges.emplace_back(fold(from, ignoreCase), fold(to, ignoreCase));
                }
                if (j >= pattern.size()) {  // no closing bracket: the '[' is itself
                    token = Token{};
                    token.literal = L'[';
                    break;
                }
                i = j;
                break;
            }
            default: token.literal = fold(c, ignoreCase);
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

bool matchesOne(const Token& token, wchar_t c) {
    switch (token.kind) {
        case Token::Literal: return token.literal == c;
        case Token::Digit: return isDigit(c);
        case Token::Letter: return isLetter(c);
        case Token::Other: return !isDigit(c) && !isLetter(c);
        case Token::Any: return true;
        case Token::Set: {
            bool member = false;
            for (auto [from, to] : token.ranges) member = member || (c >= from && c <= to);
            return member != token.negated;
        }
        case Token::Star: return false;
    }
    return false;
}

// Greedy match with one remembered star: every token but '*' takes exactly
// one character, so going back to the last star is enough (linear in practice,
// never exponential).
bool matchTokens(const std::vector<Token>& tokens, std::wstring_view text, bool ignoreCase) {
    size_t t = 0;
    size_t p = 0;
    size_t starToken = std::wstring_view::npos;
    size_t starText = 0;
    while (t < text.size()) {
        const wchar_t c = fold(text[t], ignoreCase);
        if (p < tokens.size() && tokens[p].kind == Token::Star) {
            starToken = p++;
            starText = t;
        } else if (p < tokens.size() && matchesOne(tokens[p], c)) {
            ++p;
            ++t;
        } else if (starToken != std::wstring_view::npos) {
            p = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < tokens.size() && tokens[p].kind == Token::Star) ++p;
    return p == tokens.size();
}

bool matchAlternative(std::wstring_view pattern, std::wstring_view text, bool ignoreCase) {
    bool negated = false;
    if (!pattern.empty() && pattern.front() == L'~') {
        negated = true;
        pattern.remove_prefix(1);
    }
    return matchTokens(tokenize(pattern, ignoreCase), text, ignoreCase) != negated;
}

}  // namespace

bool wildcardMatch(std::wstring_view pattern, std::wstring_view text, bool ignoreCase) {
    size_t start = 0;
    bool inBrackets = false;
    for (size_t i = 0; i <= pattern.size(); ++i) {
        if (i < pattern.size()) {
            const wchar_t c = pattern[i];
            if (c == L'`') {
                ++i;
                continue;
            }
            if (c == L'[') inBrackets = true;
            if (c == L']') inBrackets = false;
            if (c != L',' || inBrackets) continue;
        }
        if (matchAlternative(pattern.substr(start, i - start), text, ignoreCase)) return true;
        start = i + 1;
    }
    return false;
}

}  // namespace tz::cad
