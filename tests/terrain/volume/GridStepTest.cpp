#include "volume/GridStep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tz::terrain::volume {
namespace {

TEST(GridStep, StepsThatAreNotPositiveNeverAdvance) {
    EXPECT_EQ(checkGridStep(0, 10, 0), StepProblem::NotPositive);
    EXPECT_EQ(checkGridStep(0, 10, -1), StepProblem::NotPositive);
    EXPECT_EQ(checkGridStep(0, 10, std::nan("")), StepProblem::NotPositive);
    EXPECT_EQ(checkGridStep(0, 10, std::numeric_limits<double>::infinity()), StepProblem::NotPositive);
}

TEST(GridStep, StepsLostInTheCoordinatesAreTooSmall) {
    EXPECT_EQ(checkGridStep(5e5, 5e5 + 100, 1e-12), StepProblem::TooSmall);
    EXPECT_EQ(checkGridStep(-4e6, -4e6 + 1, 1e-10), StepProblem::TooSmall);
    EXPECT_EQ(checkGridStep(5e5, 5e5 + 100, 0.001), StepProblem::None);
    EXPECT_EQ(checkGridStep(0, 10, 1e-300), StepProblem::TooSmall);
}

TEST(GridStep, AnAcceptedStepMovesEveryValueOfTheWalk) {
    for (double start : {-4e6, -1.0, 0.0, 3.5, 5e5, 1e15}) {
        const double end = start + std::fabs(start) * 1e-9 + 1;
        const double spacing = std::nextafter(std::fabs(end), INFINITY) - std::fabs(end);
        for (double step : {spacing * 0.4, spacing * 0.5, spacing * 0.51, spacing, spacing * 3}) {
            if (checkGridStep(start, end, step) != StepProblem::None) continue;
            for (double v = start; v < end; v += step) {
                ASSERT_GT(v + step, v) << start << " " << step;
                if (v - start > 100 * step) break;
            }
            ASSERT_GT(end + step, end);
        }
    }
}

}  // namespace
}  // namespace tz::terrain::volume
