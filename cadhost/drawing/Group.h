// One DXF group (code and value) and lists of them: the shape in which the
// drawing keeps every entity's data, the same shape acdbEntGet hands out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tz::cad {

struct Point3 {
    double x = 0;
    double y = 0;
    double z = 0;
    bool operator==(const Point3&) const = default;
};

// A reference to another object of the drawing by its handle (entity-name
// groups such as 340, the LEADER's annotation).
struct HandleRef {
    uint64_t handle = 0;
    bool operator==(const HandleRef&) const = default;
};

// Integers of every width (short, long, 64-bit) are kept as int64_t; the
// group code says which width a file or a result buffer uses.
using GroupValue = std::variant<std::wstring, double, int64_t, Point3, HandleRef>;

struct Group {
    int code = 0;
    GroupValue value;
    bool operator==(const Group&) const = default;
};

using GroupList = std::vector<Group>;

inline Group stringGroup(int code, std::wstring text) { return {code, std::move(text)}; }
inline Group realGroup(int code, double value) { return {code, value}; }
inline Group intGroup(int code, int64_t value) { return {code, value}; }
inline Group pointGroup(int code, Point3 point) { return {code, point}; }

// The first group of this code, or null.
const Group* findGroup(const GroupList& groups, int code);
Group* findGroup(GroupList& groups, int code);

// The value of the first group of this code when it has the asked type.
std::optional<std::wstring> groupString(const GroupList& groups, int code);
std::optional<double> groupReal(const GroupList& groups, int code);
std::optional<int64_t> groupInt(const GroupList& groups, int code);
std::optional<Point3> groupPoint(const GroupList& groups, int code);

// Replaces the first group of this code, or appends one when there is none.
void setGroup(GroupList& groups, Group group);
// Removes every group of this code.
void removeGroups(GroupList& groups, int code);
size_t countGroups(const GroupList& groups, int code);

// Upper case of ASCII and Latin-1 letters, as names are compared in the drawing.
wchar_t upperLetter(wchar_t c);
std::wstring upperCase(std::wstring_view text);
bool equalsIgnoreCase(std::wstring_view a, std::wstring_view b);

// Handles as the drawing writes them: upper-case hexadecimal without leading zeros.
std::wstring handleText(uint64_t handle);
// 0 when the text is no handle (empty, not hexadecimal, too long).
uint64_t parseHandle(std::wstring_view text);

}  // namespace tz::cad
