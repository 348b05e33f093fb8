#include "drawing/SelectionFilter.h"

#include "adscodes.h"
#include "drawing/GroupCodes.h"
#include "drawing/Wildcard.h"

namespace tz::cad {

namespace {

std::optional<GroupValue> entityValue(const Entity& entity, int code) {
    if (code == 0) return GroupValue(entity.type);
    if (const Group* group = findGroup(entity.data, code)) return group->value;
    switch (code) {
        case 62: return GroupValue(int64_t{256});
        case 6: return GroupValue(std::wstring(L"ByLayer"));
        case 67: return GroupValue(int64_t{0});
        default: return std::nullopt;
    }
}

bool valueMatches(const GroupValue& wanted, const GroupValue& actual) {
    if (const auto* pattern = std::get_if<std::wstring>(&wanted)) {
        const auto* text = std::get_if<std::wstring>(&actual);
        return text != nullptr && wildcardMatch(*pattern, *text, true);
    }
    if (const auto* number = std::get_if<double>(&wanted)) {
        if (const auto* real = std::get_if<double>(&actual)) return *real == *number;
        if (const auto* integer = std::get_if<int64_t>(&actual)) return static_cast<double>(*integer) == *number;
        return false;
    }
    if (const auto* integer = std::get_if<int64_t>(&wanted)) {
        if (const auto* other = std::get_if<int64_t>(&actual)) return *other == *integer;
        if (const auto* real = std::get_if<double>(&actual)) return *real == static_cast<double>(*integer);
        return false;
    }
    return wanted == actual;
}

}  // namespace

std::wstring checkFilter(const GroupList& filter) {
    for (const Group& group : filter) {
        if (group.code == -4) return L"filter operators (-4) are not supported";
        if (group.code != RTDXF0 && groupValueType(group.code) == RTNONE) {
            return L"no such group code in the filter: " + std::to_wstring(group.code);
        }
    }
    return L"";
}

bool matchesFilter(const Entity& entity, const GroupList& filter) {
    for (const Group& group : filter) {
        const int code = group.code == RTDXF0 ? 0 : group.code;
        const std::optional<GroupValue> actual = entityValue(entity, code);
        if (!actual || !valueMatches(group.value, *actual)) return false;
    }
    return true;
}

}  // namespace tz::cad
