// Orientation and in-circle tests decided exactly for any double input: a
// fast floating-point evaluation with a proven error bound, and exact
// expansion arithmetic when the bound cannot decide.
#pragma once

namespace tz::terrain::exact {

// Sign of the turn a -> b -> c in plan: 1 counter-clockwise, -1 clockwise,
// 0 when the three points lie on one line.
int orientation(double ax, double ay, double bx, double by, double cx, double cy);

// Where d lies against the circle through a, b, c: for a counter-clockwise
// a, b, c, 1 inside, -1 outside, 0 on the circle (the signs swap for a
// clockwise a, b, c). 0 as well when a, b, c lie on one line and d on it.
int inCircle(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy);

}  // namespace tz::terrain::exact
