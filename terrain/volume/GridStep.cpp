#include "volume/GridStep.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tz::terrain::volume {

StepProblem checkGridStep(double start, double end, double step) {
    if (!(step > 0) || !std::isfinite(step)) return StepProblem::NotPositive;
    // Addition rounds to nearest: it moves every value whose spacing of
    // representable neighbours is below twice the step. The spacing is
    // largest at the largest magnitude met, one of the two ends.
    const double largest = std::max(std::fabs(start), std::fabs(end));
    if (!std::isfinite(largest)) return StepProblem::TooSmall;
    const double spacing = std::nextafter(largest, std::numeric_limits<double>::infinity()) - largest;
    if (!(step > 0.5 * spacing)) return StepProblem::TooSmall;
    return StepProblem::None;
}

}  // namespace tz::terrain::volume
