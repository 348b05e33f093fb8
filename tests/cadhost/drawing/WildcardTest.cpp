#include "drawing/Wildcard.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tz::cad {
namespace {

TEST(Wildcard, Literals) {
    EXPECT_TRUE(wildcardMatch(L"TZNODE", L"TZNODE", false));
    EXPECT_FALSE(wildcardMatch(L"TZNODE", L"tznode", false));
    EXPECT_TRUE(wildcardMatch(L"TZNODE", L"tznode", true));
    EXPECT_FALSE(wildcardMatch(L"TZNODE", L"TZNODES", true));
    EXPECT_TRUE(wildcardMatch(L"", L"", true));
    EXPECT_FALSE(wildcardMatch(L"", L"A", true));
}

TEST(Wildcard, SpecialCharacters) {
    EXPECT_TRUE(wildcardMatch(L"TZ_*", L"TZ_Regcontours", true));
    EXPECT_TRUE(wildcardMatch(L"*", L"", true));
    EXPECT_TRUE(wildcardMatch(L"*contours", L"TZ_Regcontours", true));
    EXPECT_FALSE(wildcardMatch(L"*contours", L"TZ_Regcontour", true));
    EXPECT_TRUE(wildcardMatch(L"L?NE", L"LINE", true));
    EXPECT_FALSE(wildcardMatch(L"L?NE", L"LNE", true));
    EXPECT_TRUE(wildcardMatch(L"P##", L"P12", true));
    EXPECT_FALSE(wildcardMatch(L"P##", L"P1A", true));
    EXPECT_TRUE(wildcardMatch(L"@@", L"ab", true));
    EXPECT_FALSE(wildcardMatch(L"@@", L"a1", true));
    EXPECT_TRUE(wildcardMatch(L"A.B", L"A-B", true));
    EXPECT_FALSE(wildcardMatch(L"A.B", L"AXB", true));
    EXPECT_TRUE(wildcardMatch(L"[ab]X", L"bX", true));
    EXPECT_FALSE(wildcardMatch(L"[ab]X", L"cX", true));
    EXPECT_TRUE(wildcardMatch(L"[a-c]", L"B", true));
    EXPECT_TRUE(wildcardMatch(L"[~a-c]", L"D", true));
    EXPECT_FALSE(wildcardMatch(L"[~a-c]", L"b", true));
    EXPECT_TRUE(wildcardMatch(L"A`*", L"A*", true));
    EXPECT_FALSE(wildcardMatch(L"A`*", L"AB", true));
    EXPECT_TRUE(wildcardMatch(L"A`,B", L"A,B", true));
}

TEST(Wildcard, AlternativesAndNegation) {
    EXPECT_TRUE(wildcardMatch(L"LINE,POLYLINE", L"POLYLINE", true));
    EXPECT_TRUE(wildcardMatch(L"LINE,*POLYLINE", L"LWPOLYLINE", true));
    EXPECT_FALSE(wildcardMatch(L"LINE,POLYLINE", L"3DFACE", true));
    EXPECT_TRUE(wildcardMatch(L"~TZ*", L"0", true));
    EXPECT_FALSE(wildcardMatch(L"~TZ*", L"TZ_Tin", true));
    EXPECT_TRUE(wildcardMatch(L"[,]", L",", true));  // a comma inside brackets is a member
}

// A direct recursive matcher for patterns of literals, ? and *: the oracle.
bool oracle(const std::wstring& p, size_t i, const std::wstring& t, size_t j) {
    if (i == p.size()) return j == t.size();
    if (p[i] == L'*') return oracle(p, i + 1, t, j) || (j < t.size() && oracle(p, i, t, j + 1));
    if (j == t.size()) return false;
    return (p[i] == L'?' || p[i] == t[j]) && oracle(p, i + 1, t, j + 1);
}

TEST(Wildcard, StarsAgreeWithADirectMatcherOnRandomPatterns) {
    std::mt19937 random(7);
    const wchar_t alphabet[] = L"ab*?";
    for (int round = 0; round < 5000; ++round) {
        std::wstring pattern, text;
        const int patternLength = static_cast<int>(random() % 7);
        const int textLength = static_cast<int>(random() % 9);
        for (int i = 0; i < patternLength; ++i) pattern += alphabet[random() % 4];
        for (int i = 0; i < textLength; ++i) text += alphabet[random() % 2];
        EXPECT_EQ(wildcardMatch(pattern, text, false), oracle(pattern, 0, text, 0)) << pattern << " / " << text;
    }
}

TEST(Wildcard, LongStarPatternsStayFast) {
    // Many stars against a long text that almost matches: must not explode.
    const std::wstring pattern = L"*a*a*a*a*a*a*a*a*a*a*b";
    const std::wstring text(100000, L'a');
    EXPECT_FALSE(wildcardMatch(pattern, text, false));
}

}  // namespace
}  // namespace tz::cad
