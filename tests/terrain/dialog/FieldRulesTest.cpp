#include "dialog/FieldRules.h"

#include <gtest/gtest.h>

#include <cwchar>

using namespace tz::terrain;

namespace {

// Plain decimal numbers stand in for the host's distance reader here.
std::optional<double> decimal(const std::wstring& text) {
    if (text.empty()) return std::nullopt;
    wchar_t* end = nullptr;
    const double value = std::wcstod(text.c_str(), &end);
    if (*end != 0) return std::nullopt;
    return value;
}

bool existing(const std::wstring& path) { return path == L"there.flt"; }

RuleOutcome check(FieldRule rule, const std::wstring& text) {
    return checkField(rule, text, decimal, existing, L"Fault line file does not exist.\n");
}

}  // namespace

TEST(FieldRules, Numeric) {
    EXPECT_EQ(check(FieldRule::Numeric, L"-3.5").kind, RuleOutcome::Pass);
    const RuleOutcome bad = check(FieldRule::Numeric, L"abc");
    EXPECT_EQ(bad.kind, RuleOutcome::Fail);
    EXPECT_EQ(bad.message, L"Value must be numeric.");
}

TEST(FieldRules, NonnegativeAcceptsZeroRefusesNegativeAndText) {
    EXPECT_EQ(check(FieldRule::Nonnegative, L"0").kind, RuleOutcome::Pass);
    EXPECT_EQ(check(FieldRule::Nonnegative, L"-1").message, L"Value must be a nonnegative number.");
    EXPECT_EQ(check(FieldRule::Nonnegative, L"x").message, L"Value must be a nonnegative number.");
}

TEST(FieldRules, PositiveRefusesZeroAndText) {
    EXPECT_EQ(check(FieldRule::Positive, L"0.1").kind, RuleOutcome::Pass);
    EXPECT_EQ(check(FieldRule::Positive, L"0").message, L"Value must be a positive number.");
    EXPECT_EQ(check(FieldRule::Positive, L"abc").message, L"Value must be a positive number.");
}

TEST(FieldRules, PositiveWithTwoMessages) {
    EXPECT_EQ(check(FieldRule::PositiveTwoMessages, L"0").message, L"Value must be positive");
    EXPECT_EQ(check(FieldRule::PositiveTwoMessages, L"x").message, L"Value must be numeric.");
    EXPECT_EQ(check(FieldRule::PositiveTwoMessages, L"2").kind, RuleOutcome::Pass);
}

TEST(FieldRules, LayerNames) {
    EXPECT_EQ(check(FieldRule::LayerName, L"TZ_Contours-2$").kind, RuleOutcome::Pass);
    EXPECT_EQ(check(FieldRule::LayerName, L"lower_case").kind, RuleOutcome::Pass);
    EXPECT_EQ(check(FieldRule::LayerName, L"").message, L"Value must be non-blank");
    EXPECT_EQ(check(FieldRule::LayerName, L"a b").message, L"Value must contain A-Z,a-z,0-9,-,_,$ only");
    EXPECT_EQ(check(FieldRule::LayerName, L"a.b").message, L"Value must contain A-Z,a-z,0-9,-,_,$ only");
}

TEST(FieldRules, FileExistsLeavesEmptyAlone) {
    EXPECT_EQ(check(FieldRule::FileExists, L"").kind, RuleOutcome::Untouched);
    EXPECT_EQ(check(FieldRule::FileExists, L"there.flt").kind, RuleOutcome::Pass);
    const RuleOutcome missing = check(FieldRule::FileExists, L"missing.flt");
    EXPECT_EQ(missing.kind, RuleOutcome::Fail);
    EXPECT_EQ(missing.message, L"Fault line file does not exist.\n");
}

TEST(FieldRules, ReadLimits) {
    EXPECT_EQ(fieldReadLimit(FieldRule::Numeric), 15);
    EXPECT_EQ(fieldReadLimit(FieldRule::Positive), 15);
    EXPECT_EQ(fieldReadLimit(FieldRule::LayerName), 31);
    EXPECT_EQ(fieldReadLimit(FieldRule::FileExists), 512);
}
