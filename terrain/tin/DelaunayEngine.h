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
//  - the triangles whose circle may contain a new point come from an index
//    of circles and are tested with the same predicate: during the sweep
//    an index by bands of y (the circles in play all cross the sweep line),
//    otherwise a spatial index;
//  - given all its points at once, the sweep keeps that index, and the
//    queue, on a second thread a few points ahead (SweepLookahead): the
//    answer for a point then misses the triangles of the last few
//    insertions, which are few and tested here directly, and may name
//    triangles taken out since, which are passed over.
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
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "tin/CircleIndex.h"
#include "tin/Circumcircle.h"
#include "tin/SweepIndex.h"
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
    // Inserts the points in order, as insertPointSweep on each would, with
    // the circles that contain each point found on a second thread a few
    // points ahead (Mode::Sweep). `proceed(i)` is asked on the calling
    // thread before point i is inserted (it may look at the settled part of
    // the result); when it answers false, no more points are.
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

    // How many insertions were decided exactly, and how many points were left
    // out because they fell on a vertex (or outside the enclosing triangle).
    size_t exactInsertions() const { return exactInsertions_; }
    size_t skippedPoints() const { return skippedPoints_; }

private:
    static constexpr uint32_t kNone = 0xFFFFFFFFu;
    enum State : uint8_t { kFree, kActive, kCompleted, kRemovedCompleted };

    struct Tri {
        uint32_t v[3];
        uint32_t nb[3];  // neighbour across edge (v[i], v[i+1])
        uint64_t seq;
        uint32_t circle;      // handle in the circle index while active (Mode::Plain)
        uint32_t completion;  // place in completed_ once finished (Mode::Sweep)
        uint32_t mark;        // equals markValue_ while in the cavity at hand
        State state;
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
    // Inserts a point of the sweep from the index's answer for it. The index
    // knows the triangles made before creation number `known`; those made
    // since are the `added` of the changes in `recent`, oldest first.
    void insertAnswered(const Point3& point, const SweepQuery& answer, uint64_t known,
                        const SweepChanges* const* recent, size_t recentCount);
    void finish(std::vector<Completion>& finished);
    void placePoint(const Point3& point);
    void sortByListOrder(std::vector<uint32_t>& slots) const;
    bool boundaryOf(const std::vector<uint32_t>& cavity, uint32_t apex);
    bool exactCavity(uint32_t apex, std::vector<uint32_t>& out);
    uint32_t locate(uint32_t apex);
    void retriangulate(const std::vector<uint32_t>& cavity, uint32_t apex);
    void activate(uint32_t slot, const Circle& c);
    uint32_t newSlot();
    bool touchesEnclosing(const Tri& t) const;  // a vertex equal to one of the enclosing triangle's
    Triangle triangleOf(const Tri& t) const {
        return Triangle{vertices_[t.v[0]], vertices_[t.v[1]], vertices_[t.v[2]]};
    }
    uint32_t nextMark();   // a fresh value for Tri::mark
    uint32_t nextStamp();  // a fresh value for the stamps of VertexMark

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
    void restartSweepIndex();
    std::vector<uint32_t> activeInListOrder() const;

    std::optional<SweepIndex> sweepIndex_;  // sweep
    double indexBox_[4] = {0, 0, 0, 0};     // what sizes it: xmin, ymin, xmax, ymax
    size_t expectedPoints_ = 0;
    SweepChanges pending_;             // sweep: the last insertion's, not yet in sweepIndex_
    SweepChanges* changes_ = &pending_;  // where the insertion at hand records its changes (set by each)
    SweepQuery answer_;
    std::vector<Completion> finished_;
    std::optional<CircleIndex> index_;  // plain

    // Scratch of one insertion.
    std::vector<uint32_t> cavity_;
    std::vector<BoundaryEdge> boundary_;
    std::vector<VertexMark> vertexMarks_;
    std::vector<uint32_t> newSlots_;
    std::vector<Circle> circles_;
    uint32_t stamp_ = 0;
    uint32_t markValue_ = 0;
    // Cavities of up to kSmallCavity triangles, as a table of slots tagged
    // with the generation of the insertion (wraps after 2^32 insertions,
    // when the table is cleared).
    static constexpr size_t kSmallCavity = 256;
    static constexpr size_t kCavityTableSize = 1024;
    static size_t smallCavityHash(uint32_t slot) {
        return (slot * 0x9E3779B1u) >> (32 - 10);
    }
    std::vector<uint64_t> cavityTable_ = std::vector<uint64_t>(kCavityTableSize, 0);
    uint64_t cavityGeneration_ = 0;
    uint64_t randomState_ = 0x9E3779B97F4A7C15ull;

    size_t exactInsertions_ = 0;
    size_t skippedPoints_ = 0;
};

// The enclosing triangle of an extent: with d the larger side and (xm, ym)
// the middle, (xm - wide*d, ym - high*d, 0), (xm, ym + high*d, 0),
// (xm + wide*d, ym - high*d, 0). The triangulation uses 16000 and 8000.
void enclosingTriangle(double xmin, double ymin, double xmax, double ymax, double wide, double high,
                       Point3 out[3]);

}  // namespace tz::terrain
