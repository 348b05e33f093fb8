// Reading the answers that host commands and picks receive as text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "drawing/Group.h"

namespace tz::cad {

// A finite decimal number, blanks around it allowed; nullopt otherwise.
std::optional<double> parseNumber(std::wstring_view text);

// "x,y" or "x,y,z" (z 0 when left out); with `last` given, "@dx,dy[,dz]" is
// relative to it. nullopt for anything else.
std::optional<Point3> parsePoint(std::wstring_view text, const std::optional<Point3>& last = std::nullopt);

// The text without blanks at either end.
std::wstring_view trimBlanks(std::wstring_view text);

// A point as the host's prompts show and acedCommand passes it: "x,y,z".
std::wstring pointText(const Point3& point);

}  // namespace tz::cad
