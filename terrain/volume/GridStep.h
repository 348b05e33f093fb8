// Whether a grid walk by repeated addition of a step ever ends.
#pragma once

namespace tz::terrain::volume {

enum class StepProblem {
    None,
    NotPositive,  // zero, negative or not a number: the walk would never advance
    TooSmall,     // so small beside the coordinates that adding it changes nothing
};

// Checks a walk from `start` to `end` (either order) by repeated addition of
// `step`: every value met lies within [start, end] (or just past it), and
// adding the step must change each of them.
StepProblem checkGridStep(double start, double end, double step);

}  // namespace tz::terrain::volume
