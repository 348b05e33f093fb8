#include "dcl/DclParser.h"

#include "dcl/DclLexer.h"

namespace tz::cad::dcl {

namespace {

struct ParseFailure {
    DclError error;
};

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    DclSyntax parseFile() {
        DclSyntax syntax;
        while (peek().kind != Token::Kind::End) {
            if (peek().kind == Token::Kind::Include) {
                const int line = next().line;
                const Token& file = expect(Token::Kind::String, L"a quoted file name after @include");
                syntax.includes.emplace_back(file.text, line);
                continue;
            }
            if (peek().kind != Token::Kind::Name) {
                fail(peek(), L"expected the name of a new definition (name : type { ... }), found " + describeToken(peek()));
            }
            syntax.definitions.push_back(parseDefinition());
        }
        return syntax;
    }

private:
    TileSpec parseDefinition() {
        TileSpec tile;
        const Token& name = next();
        tile.name = name.text;
        tile.line = name.line;
        expect(Token::Kind::Colon, L"\":\" after the definition name \"" + name.text + L"\"");
        tile.prototype = expect(Token::Kind::Name, L"a tile type after \"" + name.text + L" :\"").text;
        expect(Token::Kind::OpenBrace, L"\"{\" to open the definition of \"" + name.text + L"\"");
        parseBody(tile, 1);
        if (peek().kind == Token::Kind::Semicolon) next();  // tolerated after a definition
        return tile;
    }

    // Reads up to and including the closing brace.
    void parseBody(TileSpec& tile, int depth) {
        if (depth > kMaxNestingDepth) fail(peek(), L"tiles are nested too deeply");
        while (true) {
            const Token& token = peek();
            if (token.kind == Token::Kind::CloseBrace) {
                next();
                return;
            }
            if (token.kind == Token::Kind::End) {
                fail(token, L"the end of the file came before \"}\" closed the tile opened on line " +
                                std::to_wstring(tile.line));
            }
            if (token.kind == Token::Kind::Colon) {
                next();
                TileSpec child;
                child.line = token.line;
                child.prototype = expect(Token::Kind::Name, L"a tile type after \":\"").text;
                if (peek().kind == Token::Kind::Semicolon) {
                    next();
                } else {
                    expect(Token::Kind::OpenBrace, L"\"{\" or \";\" after \": " + child.prototype + L"\"");
                    parseBody(child, depth + 1);
                }
                tile.children.push_back(std::move(child));
                continue;
            }
            if (token.kind != Token::Kind::Name) {
                fail(token, L"expected an attribute, a tile or \"}\", found " + describeToken(token));
            }
            const Token& name = next();
            const Token& after = peek();
            if (after.kind == Token::Kind::Equals) {
                next();
                tile.attributes.push_back(parseAttribute(name));
            } else if (after.kind == Token::Kind::Semicolon) {
                next();
                TileSpec reference;
                reference.name = name.text;
                reference.isReference = true;
                reference.line = name.line;
                tile.children.push_back(std::move(reference));
            } else if (after.kind == Token::Kind::Colon) {
                fail(name, L"a tile inside another one cannot be named: write \": type { ... }\" and give it a key");
            } else {
                fail(after, L"expected \"=\" or \";\" after \"" + name.text + L"\", found " + describeToken(after));
            }
        }
    }

    Attribute parseAttribute(const Token& name) {
        Attribute attribute;
        attribute.name = name.text;
        attribute.line = name.line;
        const Token& value = next();
        switch (value.kind) {
            case Token::Kind::String: attribute.value.kind = AttributeValue::Kind::String; break;
            case Token::Kind::Number: attribute.value.kind = AttributeValue::Kind::Number; break;
            case Token::Kind::Name: attribute.value.kind = AttributeValue::Kind::Word; break;
            default:
                fail(value, L"expected a value for attribute \"" + name.text + L"\", found " + describeToken(value));
        }
        attribute.value.text = value.text;
        expect(Token::Kind::Semicolon, L"\";\" after the value of attribute \"" + name.text + L"\"");
        return attribute;
    }

    const Token& peek() const { return tokens_[pos_]; }
    const Token& next() {
        const Token& token = tokens_[pos_];
        if (token.kind != Token::Kind::End) ++pos_;
        return token;
    }
    const Token& expect(Token::Kind kind, const std::wstring& what) {
        if (peek().kind != kind) fail(peek(), L"expected " + what + L", found " + describeToken(peek()));
        return next();
    }
    [[noreturn]] void fail(const Token& at, std::wstring message) {
        throw ParseFailure{DclError{L"", at.line, std::move(message)}};
    }

    std::vector<Token> tokens_;
    size_t pos_ = 0;
};

}  // namespace

std::variant<DclSyntax, DclError> parseDcl(std::wstring_view text) {
    LexResult lexed = tokenize(text);
    if (lexed.error) return *lexed.error;
    try {
        return Parser(std::move(lexed.tokens)).parseFile();
    } catch (const ParseFailure& failure) {
        return failure.error;
    }
}

}  // namespace tz::cad::dcl
