// What the TIN display draws: one 3D face per triangle, on the TIN layer.
#pragma once

#include <array>
#include <string>

#include "tin/Triangle.h"

namespace tz::terrain::display {

// The layer used when the user leaves the TIN layer name empty.
inline constexpr const wchar_t* kDefaultTinLayer = L"TZ_Tin";

// The TIN layer name to use: `name`, or TZ_Tin when it is empty.
std::wstring tinLayerOrDefault(const std::wstring& name);

// The four corners of a triangle's face: its vertices in file order, then
// the first again (a 3D face of three sides), coordinates unchanged.
std::array<Point3, 4> faceCorners(const Triangle& triangle);

}  // namespace tz::terrain::display
