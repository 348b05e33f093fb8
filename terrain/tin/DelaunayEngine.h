// Incremental Delaunay insertion into a large enclosing triangle, producing
// exactly the triangles, vertex order and list order of the plain list
// procedure (an active list walked for every point with the floating-point
// circumcircle test, an x-sweep that moves finished triangles to a
// completed list, cavity edges toggled in list order, new triangles
// appended), without walking the lists:
//  - list order is creation order, so every triangle carries a sequence
//    number and sets of triangles are put in list order by sorting;
//  - triangles finished by the sweep come from a queue of buckets over the
//    right end of their circle (xc + r);
//  - during the sweep, the triangles whose circle contains a new point are
//    found by walking towards it from a triangle near the sweep line and
//    growing across edges from the first one whose circle holds it, each
//    triangle tested with the procedure's own floating-point predicate,
//    the exact test made only where the circle's bounds leave it open (see
//    sweepCavity for why that set is the procedure's); otherwise they come
//    from a spatial index of circles.
//
// One mend to the plain procedure: floating-point circle tests can remove a
// set of triangles that is not star-shaped around the new point (nearly
// co-circular points, straight runs of points) and so create flat,
// inverted or overlapping triangles. Every insertion is therefore checked
// exactly: when all triangles it creates are clockwise with non-zero area
// and no vertex is lost, it stands as the procedure made it; otherwise that
// insertion is decided with exact predicates (the triangles whose
// circumcircle strictly contains the point, grown edge to edge from the
// triangle holding it, in either list), which always yields a valid
// triangulation. A point that falls on an existing vertex in plan is then
// left out.
//
// The plain procedure's lists have room for 3 × (points + 2) triangles and
// it alerts when the active list fills. Here the lists grow as needed, and
// the mend keeps every insertion a valid triangulation of the enclosing
// triangle, which after k points holds 2k + 1 triangles: that limit is
// never reached, so its alert is never due.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "tin/ActiveCircles.h"
#include "tin/CircleIndex.h"
#include "tin/Circumcircle.h"
#include "tin/Triangle.h"

namespace tz::terrain {

class DelaunayEngine {
public:
    enum class Mode {
        Sweep,  // points arrive sorted by x; finished triangles leave the active list
        Plain,  // any order; one list; the circle itself counts as inside
    };

    // `enclosing` are the vertices of the enclosing triangle in order (lower
    // left, top, lower right); the box is the extent of the points to come,
    // `expectedPoints` their number (both only size the index).
    DelaunayEngine(Mode mode, const Point3 enclosing[3], double xmin, double ymin, double xmax, double ymax,
                   size_t expectedPoints);

    // Inserts one point with the sweep's completion rule (Mode::Sweep).
    void insertPointSweep(const Point3& point);
    // Inserts the points in order, as insertPointSweep on each does
    // (Mode::Sweep). `proceed(i)` is asked before point i is inserted (it
    // may look at the settled part of the result); when it answers false,
    // no more points are.
    void insertPointsSweep(const std::vector<Point3>& points, const std::function<bool(size_t)>& proceed);
    // Inserts one point into the whole list (Mode::Plain).
    void insertPointPlain(const Point3& point);

    // The finished triangulation in list order: the completed triangles in
    // the order they were completed, then the active ones in list order,
    // without every triangle that has a vertex of the enclosing triangle.
    void forEachResult(const std::function<void(const Triangle&)>& visit) const;
    std::vector<Triangle> result() const;

    // The result while points still come (Mode::Sweep). The first
    // settledCount() entries of the completed list are settled: the sweep
    // lies well right of their circles, so no insertion is expected to take
    // them out again, and they lead the result as they stand. An insertion
    // decided exactly may still remove one (a circle computed far from the
    // true one); settledStayed() is then false for good and what was taken
    // from the settled part is void.
    size_t settledCount() const { return settled_; }
    bool settledStayed() const { return settledStayed_; }
    // Visits the result's triangles among completed entries [from, to), in order.
    void forEachCompleted(size_t from, size_t to, const std::function<void(const Triangle&)>& visit) const;
    // Visits the result from completed entry `from` on: the rest of the
    // completed list, then the active triangles.
    void forEachResultFrom(size_t from, const std::function<void(const Triangle&)>& visit) const;
    // Marks what was settled so far as void, as an exact insertion taking a
    // settled triangle out would (for the tests of the callers' recovery,
    // as such insertions are too rare to be found on purpose).
    void voidSettled() { settledStayed_ = false; }

    // How many insertions were decided exactly (not told apart from the
    // others where the exact cavity is the one the floating-point test grew),
    // how many sweep insertions had to test every active circle, and how many
    // points were left out because they fell on a vertex (or outside the
    // enclosing triangle).
    size_t exactInsertions() const { return exactInsertions_; }
    size_t scannedInsertions() const { return scannedInsertions_; }
    size_t skippedPoints() const { return skippedPoints_; }

private:
    static constexpr uint32_t kNone = 0xFFFFFFFFu;
    enum State : uint8_t { kFree, kActive, kCompleted, kRemovedCompleted };

    struct Tri {
        uint32_t v[3];
        uint32_t nb[3];  // neighbour across edge (v[i], v[i+1])
        uint64_t seq;
        uint32_t circle;      // while active: its entry in active_ (sweep) or handle in index_ (plain)
        uint32_t completion;  // place in completed_ once finished (Mode::Sweep)
        uint32_t mark;        // equals markValue_ once looked at by the insertion at hand
        State state;
        bool inCavity;  // in the cavity whose outline is being traced
    };
    struct BoundaryEdge {
        uint32_t a, b;
        uint32_t outside;  // triangle beyond the edge, or kNone
    };
    // Scratch of one insertion, by vertex.
    struct VertexMark {
        uint32_t seen = 0, starts = 0, ends = 0;  // stamps
        uint32_t start = 0, end = 0;              // boundary edge leaving, entering the vertex
    };

    void insert(const Point3& point);
    void insertSweep(const Point3& point);
    bool sweepCavity(uint32_t apex);
    uint32_t walkToCavity(const Point3& p);
    // The procedure's test of an active triangle's circle (false for the
    // others); `certain` tells whether the exact in-circle test is known to
    // agree, from the circle's bounds.
    bool circleHolds(const Tri& t, const Point3& p, bool& certain) const {
        certain = false;
        if (t.state != kActive) return false;
        const ActiveCircles::Entry& e = (*active_)[t.circle];
        const double d2 = centreDistanceSquared(p.x, p.y, e.xc, e.yc);
        if (d2 < e.bounds.holdsBelow || (!(d2 > e.bounds.failsAbove) && std::sqrt(d2) < e.r)) {
            certain = d2 < e.bounds.insideBelow;
            return true;
        }
        certain = d2 > e.bounds.outsideAbove;
        return false;
    }
    bool cavityIsExact(const Point3& p) const;
    bool floatTestHoldsElsewhere(const Point3& p);
    void finish(std::vector<ActiveCircles::Finished>& finished);
    void placePoint(uint32_t apex, bool cavityStands);
    void sortByListOrder(std::vector<uint32_t>& slots);
    // The cavity's outline in boundary_, and whether it passes the checks
    // of an insertion; `connected`: the cavity was grown across edges.
    bool boundaryOf(const std::vector<uint32_t>& cavity, uint32_t apex, bool connected);
    bool exactCavity(uint32_t apex, std::vector<uint32_t>& out);
    uint32_t locate(uint32_t apex);
    // One step of a visibility walk towards p.
    enum class Step { Moved, Arrived, Outside };
    Step walkStep(const Tri& tri, const Point3& p, uint32_t& next);
    uint32_t& hintFor(double y);
    void retriangulate(const std::vector<uint32_t>& cavity, uint32_t apex);
    void activate(uint32_t slot, const Circle& c);
    uint32_t newSlot();
    bool touchesEnclosing(const Tri& t) const;  // a vertex equal to one of the enclosing triangle's
    Triangle triangleOf(const Tri& t) const {
        return Triangle{vertices_[t.v[0]], vertices_[t.v[1]], vertices_[t.v[2]]};
    }
    uint32_t nextMark();   // a fresh value for Tri::mark
    uint32_t nextStamp();  // a fresh value for the stamps of VertexMark
    std::vector<uint32_t> activeInListOrder() const;

    Mode mode_;
    bool degenerate_ = false;
    std::vector<Point3> vertices_;
    std::vector<Tri> tris_;
    std::vector<uint32_t> freeSlots_;
    std::vector<uint32_t> completed_;
    // By place in completed_: the sweep x beyond which it is settled, a
    // fraction kSettleMargin of |xc + r| + r right of its circle's end, far
    // beyond the rounding of a well-shaped triangle's circle.
    static constexpr double kSettleMargin = 1e-9;
    std::vector<double> settlesAt_;
    size_t settled_ = 0;
    bool settledStayed_ = true;
    uint64_t nextSeq_ = 0;
    uint32_t lastCreated_ = kNone;

    std::optional<ActiveCircles> active_;  // sweep
    // Sweep: where to start the walk to a new point's triangle, by bands of
    // y: the vertex last inserted in the band, which lies near the sweep
    // line as the new point does, and by vertex a triangle around it.
    std::vector<uint32_t> hints_;
    std::vector<uint32_t> vertexTriangle_;
    double hintY0_ = 0, hintScale_ = 0;
    std::optional<CircleIndex> index_;  // plain

    // Scratch of one insertion.
    std::vector<ActiveCircles::Finished> finished_;
    std::vector<uint32_t> cavity_;
    // Triangles looked at by the sweep's growth whose exact in-circle test
    // is still to be made, and whether they are in the cavity.
    struct Doubt {
        uint32_t slot;
        bool inCavity;
    };
    std::vector<Doubt> doubts_;
    std::vector<BoundaryEdge> boundary_;
    std::vector<VertexMark> vertexMarks_;
    std::vector<uint32_t> newSlots_;
    std::vector<Circle> circles_;
    uint32_t stamp_ = 0;
    uint32_t markValue_ = 0;
    struct SlotOrder {
        uint64_t seq;
        uint32_t slot;
    };
    std::vector<SlotOrder> sortKeys_;
    uint64_t randomState_ = 0x9E3779B97F4A7C15ull;

    size_t exactInsertions_ = 0;
    size_t scannedInsertions_ = 0;
    size_t skippedPoints_ = 0;
};

// The enclosing triangle of an extent: with d the larger side and (xm, ym)
// the middle, (xm - wide*d, ym - high*d, 0), (xm, ym + high*d, 0),
// (xm + wide*d, ym - high*d, 0). The triangulation uses 16000 and 8000.
void enclosingTriangle(double xmin, double ymin, double xmax, double ymax, double wide, double high,
                       Point3 out[3]);

}  // namespace tz::terrain
