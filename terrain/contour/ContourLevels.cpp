#include "contour/ContourLevels.h"

#include <cmath>

namespace tz::terrain {

namespace {

// A quotient this close below the next whole number counts as that number.
constexpr double kWholeSlack = 0.9999;
constexpr double kIndexTolerance = 0.0001;

}  // namespace

IndexInterval effectiveIndexInterval(double requested, double interval) {
    if (!std::isfinite(requested) || !std::isfinite(interval) || !(interval > 0)) return {};
    const double q = requested / interval;
    double whole = std::trunc(q);
    if (std::fabs(whole - q) > kWholeSlack) whole += 1;
    const double value = whole * interval;
    if (!std::isfinite(value)) return {};
    if (value == interval) return {2 * interval, true};
    return {value, false};
}

bool isIndexContour(double z, double indexInterval) {
    if (indexInterval == 0 || !std::isfinite(indexInterval)) return false;
    const double q = z / indexInterval;
    double whole = std::trunc(q);
    if (std::fabs(whole - q) > kWholeSlack) whole += q < 0 ? -1 : 1;
    return std::fabs(std::fabs(whole) - std::fabs(q)) <= kIndexTolerance;
}

ContourLevelSequence::ContourLevelSequence(double start, double end, double interval) {
    if (!std::isfinite(start) || !std::isfinite(end) || !std::isfinite(interval) || !(interval > 0)) return;
    first_ = std::trunc(start / interval) * interval + 0.0;  // a start just below 0 gives 0, not -0
    top_ = (std::trunc(end / interval) + 1) * interval;
    interval_ = interval;
    level_ = first_;
    done_ = !std::isfinite(first_) || !std::isfinite(top_);
}

std::optional<double> ContourLevelSequence::next() {
    if (done_ || !(level_ <= top_)) {
        done_ = true;
        return std::nullopt;
    }
    const double level = level_;
    level_ = level + interval_;
    if (level_ == level) done_ = true;  // the interval vanishes beside the level
    return level;
}

}  // namespace tz::terrain
