#include "dcl/DclLexer.h"

#include <gtest/gtest.h>

namespace tz::cad::dcl {
namespace {

using Kind = Token::Kind;

std::vector<Token> tokensOf(const std::wstring& text) {
    LexResult result = tokenize(text);
    EXPECT_FALSE(result.error) << "unexpected lexical error";
    return result.tokens;
}

DclError lexErrorOf(const std::wstring& text) {
    LexResult result = tokenize(text);
    EXPECT_TRUE(result.error.has_value());
    EXPECT_TRUE(result.tokens.empty());
    return result.error.value_or(DclError{});
}

TEST(DclLexer, SplitsADefinitionIntoTokensWithTheirLines) {
    const std::vector<Token> tokens = tokensOf(L"box : dialog {\n  width = 12;\n  key = \"a\";\n}\n");
    const std::vector<Kind> kinds = {Kind::Name, Kind::Colon, Kind::Name, Kind::OpenBrace, Kind::Name, Kind::Equals,
                                     Kind::Number, Kind::Semicolon, Kind::Name, Kind::Equals, Kind::String,
                                     Kind::Semicolon, Kind::CloseBrace, Kind::End};
    ASSERT_EQ(tokens.size(), kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(tokens[i].kind, kinds[i]) << "token " << i;
    EXPECT_EQ(tokens[0].text, L"box");
    EXPECT_EQ(tokens[6].text, L"12");
    EXPECT_EQ(tokens[10].text, L"a");
    EXPECT_EQ(tokens[0].line, 1);
    EXPECT_EQ(tokens[4].line, 2);
    EXPECT_EQ(tokens[10].line, 3);
    EXPECT_EQ(tokens[12].line, 4);
    EXPECT_EQ(tokens.back().line, 5);
}

TEST(DclLexer, DropsBothKindsOfCommentAndKeepsCountingLines) {
    const std::vector<Token> tokens = tokensOf(L"// a comment : { \"\n/* several\nlines ; */ a /**/ b // c\nd");
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0].text, L"a");
    EXPECT_EQ(tokens[0].line, 3);
    EXPECT_EQ(tokens[1].text, L"b");
    EXPECT_EQ(tokens[2].text, L"d");
    EXPECT_EQ(tokens[2].line, 4);
}

TEST(DclLexer, ResolvesStringEscapesAndKeepsOtherBackslashes) {
    const std::vector<Token> tokens = tokensOf(LR"(a = "say \"hi\"\n\tback\\slash"; b = "C:\jobs\site.dat"; c = "";)");
    ASSERT_EQ(tokens[2].kind, Kind::String);
    EXPECT_EQ(tokens[2].text, L"say \"hi\"\n\tback\\slash");
    EXPECT_EQ(tokens[6].text, L"C:\\jobs\\site.dat");
    EXPECT_EQ(tokens[10].kind, Kind::String);
    EXPECT_EQ(tokens[10].text, L"");
}

TEST(DclLexer, ReadsNumbersWithSignsFractionsAndExponents) {
    const std::vector<Token> tokens = tokensOf(L"10 -1.5 .5 +2 1e3 2.5E-2 -.25 7x");
    const std::vector<std::wstring> texts = {L"10", L"-1.5", L".5", L"+2", L"1e3", L"2.5E-2", L"-.25", L"7"};
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(tokens[i].kind, Kind::Number) << i;
        EXPECT_EQ(tokens[i].text, texts[i]);
    }
    EXPECT_EQ(tokens[8].kind, Kind::Name);
    EXPECT_EQ(tokens[8].text, L"x");
}

TEST(DclLexer, RecognisesIncludeAndSkipsAByteOrderMark) {
    const std::vector<Token> tokens = tokensOf(L"\uFEFF@include \"base.dcl\"");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].kind, Kind::Include);
    EXPECT_EQ(tokens[1].text, L"base.dcl");
}

TEST(DclLexer, ReportsLexicalErrorsWithTheirLines) {
    DclError error = lexErrorOf(L"a : dialog {\n label = \"open\n}");
    EXPECT_EQ(error.line, 2);
    EXPECT_NE(error.message.find(L"string is not closed"), std::wstring::npos);

    error = lexErrorOf(L"a\n\n/* never\nclosed");
    EXPECT_EQ(error.line, 3);
    EXPECT_NE(error.message.find(L"never closed"), std::wstring::npos);

    error = lexErrorOf(L"a\nb # c");
    EXPECT_EQ(error.line, 2);
    EXPECT_EQ(error.message, L"unexpected character \"#\"");

    error = lexErrorOf(L"@import \"x\"");
    EXPECT_NE(error.message.find(L"@import"), std::wstring::npos);

    error = lexErrorOf(std::wstring(L"a") + L'\0' + L"b");
    EXPECT_EQ(error.message, L"unexpected control character");

    error = lexErrorOf(L"x = \"ends in a backslash\\");
    EXPECT_EQ(error.line, 1);
}

TEST(DclLexer, DescribesTokensForMessages) {
    EXPECT_EQ(describeToken(Token{Kind::End, L"", 1}), L"the end of the file");
    EXPECT_EQ(describeToken(Token{Kind::String, L"x", 1}), L"the string \"x\"");
    EXPECT_EQ(describeToken(Token{Kind::Number, L"3", 1}), L"the number 3");
    EXPECT_EQ(describeToken(Token{Kind::Semicolon, L";", 1}), L"\";\"");
}

TEST(DclError, DescribesFileLineAndMessage) {
    EXPECT_EQ((DclError{L"dtm.dcl", 12, L"oops"}).describe(), L"dtm.dcl, line 12: oops");
    EXPECT_EQ((DclError{L"dtm.dcl", 0, L"cannot find the file"}).describe(), L"dtm.dcl: cannot find the file");
    EXPECT_EQ((DclError{L"", 3, L"oops"}).describe(), L"line 3: oops");
}

}  // namespace
}  // namespace tz::cad::dcl
