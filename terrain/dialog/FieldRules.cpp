#include "dialog/FieldRules.h"

#include <cwchar>

namespace tz::terrain {

namespace {

const wchar_t* kLayerCharacters = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_0123456789$";

}  // namespace

int fieldReadLimit(FieldRule rule) {
    switch (rule) {
        case FieldRule::LayerName: return 31;
        case FieldRule::FileExists: return 512;
        default: return 15;
    }
}

RuleOutcome checkField(FieldRule rule, const std::wstring& text, const DistanceParser& parseDistance,
                       const FileCheck& canRead, const std::wstring& fileMessage) {
    switch (rule) {
        case FieldRule::Numeric:
            if (!parseDistance(text)) return {RuleOutcome::Fail, L"Value must be numeric."};
            return {RuleOutcome::Pass, L""};
        case FieldRule::Nonnegative: {
            const auto value = parseDistance(text);
            if (!value || *value < 0) return {RuleOutcome::Fail, L"Value must be a nonnegative number."};
            return {RuleOutcome::Pass, L""};
        }
        case FieldRule::Positive: {
            const auto value = parseDistance(text);
            if (!value || *value <= 0) return {RuleOutcome::Fail, L"Value must be a positive number."};
            return {RuleOutcome::Pass, L""};
        }
        case FieldRule::PositiveTwoMessages: {
            const auto value = parseDistance(text);
            if (!value) return {RuleOutcome::Fail, L"Value must be numeric."};
            if (*value <= 0) return {RuleOutcome::Fail, L"Value must be positive"};
            return {RuleOutcome::Pass, L""};
        }
        case FieldRule::LayerName:
            if (text.empty()) return {RuleOutcome::Fail, L"Value must be non-blank"};
            if (text.find_first_not_of(kLayerCharacters) != std::wstring::npos) {
                return {RuleOutcome::Fail, L"Value must contain A-Z,a-z,0-9,-,_,$ only"};
            }
            return {RuleOutcome::Pass, L""};
        case FieldRule::FileExists:
            if (text.empty()) return {RuleOutcome::Untouched, L""};
            if (!canRead(text)) return {RuleOutcome::Fail, fileMessage};
            return {RuleOutcome::Pass, L""};
    }
    return {RuleOutcome::Pass, L""};
}

}  // namespace tz::terrain
