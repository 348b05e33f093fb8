// The fuzz input as a source of geometry: bytes become coordinates on a
// small lattice (so that collinear rows, shared edges, points on edges and
// co-circular sets are common), now and then an odd value beside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzExpect.h"
#include "tin/Triangle.h"

namespace tz::fuzz {

using tz::terrain::Point3;
using tz::terrain::Triangle;

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool more() const { return next_ < size_; }
    // The next byte; 0 once the input is used up.
    uint8_t byte() { return next_ < size_ ? data_[next_++] : 0; }

    // The lattice: its spacing and origin, from one byte (survey-sized
    // coordinates or small ones, spacings from micrometres to kilometres).
    void chooseLattice() {
        static constexpr double kSpacings[] = {1, 0.5, 1e-3, 3.7, 1e3, 0.1, 7, 1e-6};
        const uint8_t b = byte();
        spacing_ = kSpacings[b & 7];
        x0_ = (b & 8) ? 500000.0 : 0.0;
        y0_ = (b & 8) ? 4000000.0 : 0.0;
    }
    double spacing() const { return spacing_; }

    double x() { return coordinate(x0_); }
    double y() { return coordinate(y0_); }
    double z() { return (byte() % 16) * 0.35 - 1.0; }
    Point3 point() { return {x(), y(), z()}; }

    // Up to `most` points.
    std::vector<Point3> points(size_t most) {
        std::vector<Point3> out;
        while (more() && out.size() < most) out.push_back(point());
        return out;
    }

    // Up to `most` triangles, not necessarily a TIN: they may overlap, be
    // flat or repeat; many share vertices as a TIN's do.
    std::vector<Triangle> triangles(size_t most) {
        std::vector<Triangle> out;
        while (more() && out.size() < most) {
            Point3 v[3];
            for (Point3& p : v) {
                const uint8_t pick = byte();
                if (pick >= 180 && !vertices_.empty()) {
                    p = vertices_[pick % vertices_.size()];
                } else {
                    p = point();
                    vertices_.push_back(p);
                }
            }
            out.push_back({v[0], v[1], v[2]});
        }
        return out;
    }

private:
    double coordinate(double origin) {
        const uint8_t b = byte();
        if (b < 240) return origin + spacing_ * (b % 24);
        switch (b) {
            case 240: return origin + spacing_ * 0.5;
            case 241: return origin + spacing_ * 1e-9;
            case 242: return origin + spacing_ * 23.000000001;
            case 243: return origin + spacing_ * 1e6;
            case 244: return origin - spacing_ * 1e6;
            case 245: return origin + spacing_ / 3.0;
            case 246: return origin + spacing_ * 2.0 / 3.0;
            default: return origin + spacing_ * (b - 240) * 0.25;
        }
    }

    const uint8_t* data_;
    size_t size_;
    size_t next_ = 0;
    double spacing_ = 1, x0_ = 0, y0_ = 0;
    std::vector<Point3> vertices_;
};

}  // namespace tz::fuzz
