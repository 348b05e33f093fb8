#include "tin/CircleBands.h"

#include <algorithm>

#include "tin/Circumcircle.h"
#include "tin/SlotReuse.h"

namespace tz::terrain {
namespace {

constexpr uint32_t kMaxFinestRows = 1u << 22;
constexpr double kRelativeSlack = 1e-9;
constexpr double kLargestWindowedReach = 1e100;  // beyond, squares would overflow

// An upper bound of sqrt(reach^2 - gap^2) for reach >= 0, gap >= 0 (exact
// doubles): the difference of squares is taken as a product so that it
// loses nothing when gap is close to reach.
double halfChordBound(double reach, double gap) {
    if (!(gap < reach)) return 0;
    return std::sqrt((reach - gap) * (reach + gap)) * (1 + kRelativeSlack);
}

// A lower bound of the exact difference a - b for a >= b.
double gapBelow(double a, double b) { return std::max(0.0, (a - b) * (1 - 1e-12)); }

}  // namespace

CircleBands::CircleBands(double ymin, double ymax, double rowHeight) {
    if (!(std::isfinite(ymin) && std::isfinite(ymax)) || ymax < ymin) {
        ymin = 0;
        ymax = 1;
    }
    const double height = ymax - ymin;
    if (!(rowHeight > 0) || !std::isfinite(rowHeight)) rowHeight = height > 0 ? height : 1;
    rowHeight = std::max(rowHeight, height / kMaxFinestRows);
    y0_ = ymin;
    inverse_ = 1 / rowHeight;
    scale_ = std::fabs(ymin) + height + rowHeight;
    minimumHalfChord_ = 4 * rowHeight;
    finestRows_ = static_cast<uint32_t>(std::clamp(std::ceil(height * inverse_), 1.0, double{kMaxFinestRows}));
    size_t start = 0;
    for (uint32_t level = 0;; ++level) {
        const uint32_t rows = ((finestRows_ - 1) >> level) + 1;
        levelStart_.push_back(start);
        levelEntries_.push_back(0);
        start += rows;
        if (rows == 1) break;
    }
    rows_.resize(start);
}

uint32_t CircleBands::insert(uint32_t id, double xc, double yc, double r, double& windowEnd) {
    const uint32_t handle = takeSlot(registrations_, freeHandles_);
    Registration& registration = registrations_[handle];
    registration.xc = xc;
    registration.yc = yc;
    registration.r = r;
    registration.id = id;
    place(handle, windowEnd);
    return handle;
}

void CircleBands::renew(uint32_t handle, double& windowEnd) {
    const Registration& registration = registrations_[handle];
    replace(handle, registration.id, registration.xc, registration.yc, registration.r, windowEnd);
}

void CircleBands::collectFromAll(double x, double y, std::vector<uint32_t>& out) const {
    for (const Registration& registration : registrations_) {
        if (registration.count == 0) continue;  // a free handle
        const double xc = registration.xc, yc = registration.yc;
        if (centreDistance(x, y, xc, yc) < registration.r) out.push_back(registration.id);
    }
}

CircleBands::Rows CircleBands::rowsFor(double xc, double yc, double r, double& windowEnd) const {
    // Every point the engine's test puts inside lies within `reach` of the
    // centre, whatever the rounding.
    const double reach = r * (1 + kRelativeSlack) + kRelativeSlack * (std::fabs(xc) + std::fabs(yc) + scale_);

    // The window runs from the sweep line to `windowEnd`; `half` bounds the
    // half chord of the disk over it.
    double half = reach;
    windowEnd = kNoRenewal;
    const double start = sweepX_;
    if (reach > 2 * minimumHalfChord_ && reach < kLargestWindowedReach && std::isfinite(start) && start > xc - reach) {
        if (start >= xc) {
            half = halfChordBound(reach, gapBelow(start, xc));  // only narrows from here
        } else {
            // Let the chord grow to about twice its present height, then renew.
            const double gap = xc - start;
            const double nowSquared = std::max(0.0, (reach - gap) * (reach + gap));
            const double targetSquared = std::max(4 * nowSquared, minimumHalfChord_ * minimumHalfChord_);
            if (4 * targetSquared < reach * reach) {
                // About reach - sqrt(reach^2 - target^2) (a little less, as
                // target <= reach / 2): any end will do, the band below is
                // computed for the end taken.
                const double depth = targetSquared * 0.5 / reach;
                windowEnd = std::max(start, (xc - reach) + depth);
                half = halfChordBound(reach, gapBelow(xc, windowEnd));
            }
        }
    }
    const double slack = kRelativeSlack * (std::fabs(yc) + scale_ + half);
    const uint32_t low = finestRow(yc - half - slack), high = finestRow(yc + half + slack);
    uint32_t level = 0;
    while ((high >> level) - (low >> level) + 1 > kRowLimit) ++level;
    Rows rows;
    rows.level = level;
    rows.count = (high >> level) - (low >> level) + 1;
    rows.first = static_cast<uint32_t>(levelStart_[level]) + (low >> level);
    return rows;
}

void CircleBands::place(uint32_t handle, double& windowEnd) {
    Registration& registration = registrations_[handle];
    const Rows rows = rowsFor(registration.xc, registration.yc, registration.r, windowEnd);
    registration.level = static_cast<uint8_t>(rows.level);
    registration.count = static_cast<uint8_t>(rows.count);
    const Entry entry = entryOf(registration, handle);
    for (uint32_t k = 0; k < rows.count; ++k) {
        const uint32_t row = rows.first + k;
        std::vector<Entry>& band = rows_[row];
        registration.rows[k] = row;
        registration.places[k] = static_cast<uint32_t>(band.size());
        band.push_back(entry);
        band.back().owner = handle * kRowLimit + k;
    }
    levelEntries_[rows.level] += rows.count;
    occupiedLevels_ |= uint64_t{1} << rows.level;
}

CircleBands::Entry CircleBands::entryOf(const Registration& registration, uint32_t handle) {
    const double radiusSquared = registration.r * registration.r;
    const bool normal = radiusSquared > 1e-280 && radiusSquared < 1e280;
    const double stored = normal ? radiusSquared : std::numeric_limits<double>::quiet_NaN();
    return {registration.xc, registration.yc, stored, registration.id, handle * kRowLimit};
}

void CircleBands::replace(uint32_t handle, uint32_t id, double xc, double yc, double r, double& windowEnd) {
    // Entries that stay in their row are overwritten where they are; only
    // the others leave their row or join a new one.
    Registration& registration = registrations_[handle];
    const Rows rows = rowsFor(xc, yc, r, windowEnd);
    const Registration old = registration;
    registration.xc = xc;
    registration.yc = yc;
    registration.r = r;
    registration.id = id;
    registration.level = static_cast<uint8_t>(rows.level);
    registration.count = static_cast<uint8_t>(rows.count);
    levelEntries_[old.level] -= old.count;
    levelEntries_[rows.level] += rows.count;
    if (levelEntries_[old.level] == 0) occupiedLevels_ &= ~(uint64_t{1} << old.level);
    occupiedLevels_ |= uint64_t{1} << rows.level;

    // An old entry kept for the new row k, else kRowLimit.
    uint32_t keptFrom[kRowLimit];
    bool kept[kRowLimit] = {};
    for (uint32_t k = 0; k < rows.count; ++k) {
        keptFrom[k] = kRowLimit;
        for (uint32_t j = 0; j < old.count; ++j) {
            if (old.rows[j] == rows.first + k) {
                keptFrom[k] = j;
                kept[j] = true;
            }
        }
    }
    // The old entries in rows no longer covered go first: a row holds one
    // entry of a registration at most, so no kept entry moves meanwhile.
    for (uint32_t j = 0; j < old.count; ++j) {
        if (!kept[j]) removeEntry(old.rows[j], old.places[j]);
    }
    const Entry entry = entryOf(registration, handle);
    for (uint32_t k = 0; k < rows.count; ++k) {
        const uint32_t row = rows.first + k;
        std::vector<Entry>& band = rows_[row];
        uint32_t place;
        if (keptFrom[k] != kRowLimit) {
            place = old.places[keptFrom[k]];
        } else {
            place = static_cast<uint32_t>(band.size());
            band.emplace_back();
        }
        band[place] = entry;
        band[place].owner = handle * kRowLimit + k;
        registration.rows[k] = row;
        registration.places[k] = place;
    }
}

void CircleBands::removeEntry(uint32_t row, uint32_t place) {
    std::vector<Entry>& band = rows_[row];
    if (place + 1 < band.size()) {
        const Entry& moved = band.back();
        registrations_[moved.owner / kRowLimit].places[moved.owner % kRowLimit] = place;
        band[place] = moved;
    }
    band.pop_back();
}

void CircleBands::removeEntries(const Registration& registration) {
    for (uint32_t k = 0; k < registration.count; ++k) removeEntry(registration.rows[k], registration.places[k]);
    const uint32_t level = registration.level;
    levelEntries_[level] -= registration.count;
    if (levelEntries_[level] == 0) occupiedLevels_ &= ~(uint64_t{1} << level);
}

void CircleBands::erase(uint32_t handle) {
    removeEntries(registrations_[handle]);
    registrations_[handle].count = 0;
    freeHandles_.push_back(handle);
}

}  // namespace tz::terrain
