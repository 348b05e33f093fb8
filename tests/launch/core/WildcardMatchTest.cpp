#include "core/WildcardMatch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tz::launch {
namespace {

// The plain meaning of a pattern, straight from its definition: "*" takes any
// run (tried from empty upwards), "?" any one character, others themselves.
bool definitionMatches(std::string_view pattern, std::string_view text) {
    if (pattern.empty()) return text.empty();
    if (pattern.front() == '*') {
        for (size_t taken = 0; taken <= text.size(); ++taken) {
            if (definitionMatches(pattern.substr(1), text.substr(taken))) return true;
        }
        return false;
    }
    if (text.empty()) return false;
    if (pattern.front() != '?' && pattern.front() != text.front()) return false;
    return definitionMatches(pattern.substr(1), text.substr(1));
}

TEST(WildcardMatchTest, TheVendorPatternsMatchAnywhereInThePath) {
    EXPECT_TRUE(matchesWildcard("*Carlson*", "\"C:\\Program Files\\Carlson\\bricscad.exe\""));
    EXPECT_TRUE(matchesWildcard("*Carlson*", "Carlson"));
    EXPECT_TRUE(matchesWildcard("*Carlson*", "\"C:\\x\\bricscadCarlson\""));
    EXPECT_TRUE(matchesWildcard("*MicroSurvey*", "\"D:\\MicroSurvey\\bricscad.exe\""));
    EXPECT_FALSE(matchesWildcard("*Carlson*", "\"C:\\Program Files\\carlson\\bricscad.exe\""));  // letter case counts
    EXPECT_FALSE(matchesWildcard("*Carlson*", "\"C:\\Carlso\\n\""));
    EXPECT_FALSE(matchesWildcard("*MicroSurvey*", ""));
}

TEST(WildcardMatchTest, ThePatternMustCoverTheWholeText) {
    EXPECT_TRUE(matchesWildcard("abc", "abc"));
    EXPECT_FALSE(matchesWildcard("abc", "abcd"));
    EXPECT_FALSE(matchesWildcard("abc", "ab"));
    EXPECT_TRUE(matchesWildcard("", ""));
    EXPECT_FALSE(matchesWildcard("", "a"));
}

TEST(WildcardMatchTest, QuestionMarksTakeExactlyOneCharacter) {
    EXPECT_TRUE(matchesWildcard("a?c", "abc"));
    EXPECT_FALSE(matchesWildcard("a?c", "ac"));
    EXPECT_FALSE(matchesWildcard("?", ""));
    EXPECT_TRUE(matchesWildcard("??", "*?"));
}

TEST(WildcardMatchTest, StarsTakeAnyRunIncludingAnEmptyOne) {
    EXPECT_TRUE(matchesWildcard("*", ""));
    EXPECT_TRUE(matchesWildcard("***", ""));
    EXPECT_TRUE(matchesWildcard("a*", "a"));
    EXPECT_TRUE(matchesWildcard("a**", "abc"));
    EXPECT_TRUE(matchesWildcard("*c", "abcabc"));
    EXPECT_FALSE(matchesWildcard("*c", "abcab"));
    // Needs the star to give back and retake characters after a partial match.
    EXPECT_TRUE(matchesWildcard("*aab", "aaaab"));
    EXPECT_TRUE(matchesWildcard("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(matchesWildcard("a*b*c", "aXbYbZ"));
    EXPECT_TRUE(matchesWildcard("*?x", "yyx"));
    EXPECT_FALSE(matchesWildcard("*?x", "x"));
}

TEST(WildcardMatchTest, AgreesWithTheDefinitionOnRandomPatternsAndTexts) {
    std::mt19937 random(20240611);
    const std::string patternAlphabet = "ab*?";
    const std::string textAlphabet = "ab*?";
    for (int round = 0; round < 20000; ++round) {
        std::string pattern(random() % 8, ' ');
        std::string text(random() % 10, ' ');
        for (char& c : pattern) c = patternAlphabet[random() % patternAlphabet.size()];
        for (char& c : text) c = textAlphabet[random() % textAlphabet.size()];
        ASSERT_EQ(matchesWildcard(pattern, text), definitionMatches(pattern, text))
            << "pattern \"" << pattern << "\" text \"" << text << "\"";
    }
}

TEST(WildcardMatchTest, LongTextsWithManyStarsFinish) {
    const std::string text(20000, 'a');
    EXPECT_FALSE(matchesWildcard("*a*a*a*a*b", text));
    EXPECT_TRUE(matchesWildcard("*a*a*a*a*", text));
}

}  // namespace
}  // namespace tz::launch
