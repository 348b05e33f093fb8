#include "drawing/Group.h"

#include <algorithm>

namespace tz::cad {

const Group* findGroup(const GroupList& groups, int code) {
    for (const Group& group : groups) {
        if (group.code == code) return &group;
    }
    return nullptr;
}

Group* findGroup(GroupList& groups, int code) {
    for (Group& group : groups) {
        if (group.code == code) return &group;
    }
    return nullptr;
}

std::optional<std::wstring> groupString(const GroupList& groups, int code) {
    const Group* group = findGroup(groups, code);
    if (group == nullptr) return std::nullopt;
    if (const auto* text = std::get_if<std::wstring>(&group->value)) return *text;
    return std::nullopt;
}

std::optional<double> groupReal(const GroupList& groups, int code) {
    const Group* group = findGroup(groups, code);
    if (group == nullptr) return std::nullopt;
    if (const auto* value = std::get_if<double>(&group->value)) return *value;
    if (const auto* value = std::get_if<int64_t>(&group->value)) return static_cast<double>(*value);
    return std::nullopt;
}

std::optional<int64_t> groupInt(const GroupList& groups, int code) {
    const Group* group = findGroup(groups, code);
    if (group == nullptr) return std::nullopt;
    if (const auto* value = std::get_if<int64_t>(&group->value)) return *value;
    return std::nullopt;
}

std::optional<Point3> groupPoint(const GroupList& groups, int code) {
    const Group* group = findGroup(groups, code);
    if (group == nullptr) return std::nullopt;
    if (const auto* value = std::get_if<Point3>(&group->value)) return *value;
    return std::nullopt;
}

void setGroup(GroupList& groups, Group group) {
    if (Group* existing = findGroup(groups, group.code)) {
        *existing = std::move(group);
    } else {
        groups.push_back(std::move(group));
    }
}

void removeGroups(GroupList& groups, int code) {
    std::erase_if(groups, [code](const Group& group) { return group.code == code; });
}

size_t countGroups(const GroupList& groups, int code) {
    return static_cast<size_t>(
        std::count_if(groups.begin(), groups.end(), [code](const Group& group) { return group.code == code; }));
}

wchar_t upperLetter(wchar_t c) {
    // ASCII and Latin-1 letters, independent of the process's locale so that
    // names compare the same way in every session.
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 32);
    return c;
}

std::wstring upperCase(std::wstring_view text) {
    std::wstring result(text);
    for (wchar_t& c : result) c = upperLetter(c);
    return result;
}

bool equalsIgnoreCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    if (a == b) return true;  // the usual case, and a fast one
    for (size_t i = 0; i < a.size(); ++i) {
        if (upperLetter(a[i]) != upperLetter(b[i])) return false;
    }
    return true;
}

std::wstring handleText(uint64_t handle) {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    if (handle == 0) return L"0";
    std::wstring text;
    for (; handle != 0; handle >>= 4) text.insert(text.begin(), kDigits[handle & 15]);
    return text;
}

uint64_t parseHandle(std::wstring_view text) {
    if (text.empty() || text.size() > 16) return 0;
    uint64_t handle = 0;
    for (wchar_t c : text) {
        int digit;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (c >= L'A' && c <= L'F') {
            digit = c - L'A' + 10;
        } else if (c >= L'a' && c <= L'f') {
            digit = c - L'a' + 10;
        } else {
            return 0;
        }
        handle = (handle << 4) | static_cast<uint64_t>(digit);
    }
    return handle;
}

}  // namespace tz::cad
