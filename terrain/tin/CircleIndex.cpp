#include "tin/CircleIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tin/SlotReuse.h"

namespace tz::terrain {
namespace {

constexpr double kHugeRadius = 1e150;  // beyond this, a circle is checked for every point
constexpr int kMaxCellsPerAxis = 1 << 15;
constexpr double kRelativeSlack = 1e-9;

}  // namespace

CircleIndex::CircleIndex(double xmin, double ymin, double xmax, double ymax, size_t expectedCount) {
    if (!(std::isfinite(xmin) && std::isfinite(ymin) && std::isfinite(xmax) && std::isfinite(ymax)) ||
        xmax < xmin || ymax < ymin) {
        xmin = ymin = 0;
        xmax = ymax = 1;
    }
    x0_ = xmin;
    y0_ = ymin;
    x1_ = xmax;
    y1_ = ymax;
    const double width = xmax - xmin, height = ymax - ymin;
    const double count = static_cast<double>(std::max<size_t>(expectedCount, 1));
    double cell = 2 * ((width > 0 && height > 0) ? std::sqrt(width * height / count) : std::max(width, height) / count);
    cell = std::max({cell, width / kMaxCellsPerAxis, height / kMaxCellsPerAxis});
    if (!(cell > 0) || !std::isfinite(cell)) cell = 1;
    slackScale_ = kRelativeSlack * (std::fabs(xmin) + std::fabs(ymin) + width + height + cell);

    for (;;) {
        Level level;
        level.cell = cell;
        level.inverse = 1 / cell;
        level.nx = std::max(1, static_cast<int>(std::ceil(width / cell)));
        level.ny = std::max(1, static_cast<int>(std::ceil(height / cell)));
        level.nx = std::min(level.nx, kMaxCellsPerAxis);
        level.ny = std::min(level.ny, kMaxCellsPerAxis);
        level.cells.resize(static_cast<size_t>(level.nx) * level.ny);
        const bool top = level.nx == 1 && level.ny == 1;
        levels_.push_back(std::move(level));
        if (top) break;
        cell *= 2;
    }
}

int CircleIndex::column(const Level& level, double x) const {
    const double v = (x - x0_) * level.inverse;
    if (!(v >= 0)) return 0;
    if (v >= level.nx) return level.nx - 1;
    return static_cast<int>(v);
}

int CircleIndex::row(const Level& level, double y) const {
    const double v = (y - y0_) * level.inverse;
    if (!(v >= 0)) return 0;
    if (v >= level.ny) return level.ny - 1;
    return static_cast<int>(v);
}

template <class Visit>
bool CircleIndex::footprint(const Level& level, double xc, double yc, double r, size_t limit,
                            Visit&& visit) const {
    // Enlarged so that every point the engine's floating-point test puts
    // inside is inside this disk, whatever the rounding.
    const double slack = slackScale_ + kRelativeSlack * (std::fabs(xc) + std::fabs(yc));
    const double radius = r * (1 + kRelativeSlack) + slack;
    const double bandSlack = kRelativeSlack * (std::fabs(y0_) + level.ny * level.cell) + slack;
    const int firstRow = row(level, yc - radius), lastRow = row(level, yc + radius);
    size_t count = 0;
    for (int j = firstRow; j <= lastRow; ++j) {
        const double low = j == 0 ? -std::numeric_limits<double>::infinity() : y0_ + j * level.cell - bandSlack;
        const double high =
            j == level.ny - 1 ? std::numeric_limits<double>::infinity() : y0_ + (j + 1) * level.cell + bandSlack;
        double gap = 0;
        if (yc < low) gap = low - yc;
        else if (yc > high) gap = yc - high;
        if (gap > radius) continue;
        const double halfWidth = std::sqrt(radius * radius - gap * gap) * (1 + kRelativeSlack) + slack;
        const int firstColumn = column(level, xc - halfWidth), lastColumn = column(level, xc + halfWidth);
        count += static_cast<size_t>(lastColumn - firstColumn + 1);
        if (count > limit) return false;  // before visiting: a caller's buffer holds `limit` cells
        for (int i = firstColumn; i <= lastColumn; ++i) visit(static_cast<size_t>(i) * level.ny + j);
    }
    return true;
}

void CircleIndex::add(Cell& cell, uint32_t handle, uint32_t id, uint32_t k, double xc, double yc, double r) {
    registrations_[handle].places[k] = static_cast<uint32_t>(cell.size());
    cell.push_back({xc, yc, r, id, handle * kOwnerStride + k});
}

void CircleIndex::removeAt(Cell& cell, uint32_t place) {
    const Entry moved = cell.back();
    cell.pop_back();
    if (place < cell.size()) {
        cell[place] = moved;
        registrations_[moved.owner / kOwnerStride].places[moved.owner % kOwnerStride] = place;
    }
}

void CircleIndex::erase(uint32_t handle) {
    freeHandles_.push_back(handle);
    const Registration& registration = registrations_[handle];
    if (registration.level == kGlobal) {
        removeAt(global_, registration.places[0]);
        return;
    }
    Level& level = levels_[registration.level];
    for (uint8_t k = 0; k < registration.count; ++k) {
        removeAt(level.cells[registration.cells[k]], registrations_[handle].places[k]);
    }
    level.live -= registration.count;
}

uint32_t CircleIndex::insert(uint32_t id, double xc, double yc, double r) {
    const uint32_t handle = takeSlot(registrations_, freeHandles_);
    Registration& registration = registrations_[handle];
    registration.count = 1;
    if (!(r < kHugeRadius) || !std::isfinite(xc) || !std::isfinite(yc) || std::fabs(xc) > kHugeRadius ||
        std::fabs(yc) > kHugeRadius) {
        registration.level = kGlobal;
        add(global_, handle, id, 0, xc, yc, r);
        return handle;
    }
    // Start at the level where the circle's box, cut to the grid, spans one
    // cell (and so lies in at most four).
    const double width = std::min(xc + r, x1_) - std::max(xc - r, x0_);
    const double height = std::min(yc + r, y1_) - std::max(yc - r, y0_);
    const double extent = std::max({width, height, 0.0});
    size_t first = 0;
    while (first + 1 < levels_.size() && extent > levels_[first].cell) ++first;
    for (size_t l = first; l < levels_.size(); ++l) {
        Level& level = levels_[l];
        uint8_t count = 0;
        const bool fits = footprint(level, xc, yc, r, kCellLimit,
                                    [&](size_t cell) { registration.cells[count++] = static_cast<uint32_t>(cell); });
        if (fits || l + 1 == levels_.size()) {
            if (!fits) {  // the top level has a single cell
                count = 1;
                registration.cells[0] = 0;
            }
            registration.level = static_cast<uint8_t>(l);
            registration.count = count;
            for (uint8_t k = 0; k < count; ++k) add(level.cells[registration.cells[k]], handle, id, k, xc, yc, r);
            level.live += count;
            return handle;
        }
    }
    registration.level = kGlobal;
    registration.count = 1;
    add(global_, handle, id, 0, xc, yc, r);
    return handle;
}

}  // namespace tz::terrain
