// Which elevations get a contour, and which contours are index contours.
#pragma once

#include <optional>

namespace tz::terrain {

// The index interval actually used, from the one asked for and the contour
// interval: the largest whole multiple of the interval not above it (a
// quotient within 0.0001 below the next whole number counts as that number),
// doubled when it comes out equal to the interval, so that not every contour
// is an index contour. 0 when the asked interval is below the contour
// interval; 0 also when either number is not finite or the contour interval
// is not positive.
struct IndexInterval {
    double value = 0;
    bool doubled = false;  // the value differs from what was asked and must be shown
};
IndexInterval effectiveIndexInterval(double requested, double interval);

// Whether the contour at elevation `z` is an index contour: z / indexInterval
// lies within 0.0001 of a whole number. An index interval of 0 (or not finite)
// makes every contour a regular one.
bool isIndexContour(double z, double indexInterval);

// The levels to trace: from the whole part (toward zero) of start / interval
// times the interval, by repeated addition of the interval, while not above
// one interval past the whole part of end / interval times the interval.
// Empty when the interval is not a positive finite number or a bound is not
// finite; ends early when adding the interval no longer changes the level.
class ContourLevelSequence {
public:
    ContourLevelSequence(double start, double end, double interval);

    double first() const { return first_; }
    double top() const { return top_; }

    // The next level, or none after the last.
    std::optional<double> next();

private:
    double first_ = 0, top_ = 0, interval_ = 0;
    double level_ = 0;
    bool done_ = true;
};

}  // namespace tz::terrain
