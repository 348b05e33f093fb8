#include "tin/DelaunayEngine.h"

#include <algorithm>
#include <cmath>

#include "tin/ExactPredicates.h"

namespace tz::terrain {

void enclosingTriangle(double xmin, double ymin, double xmax, double ymax, double wide, double high,
                       Point3 out[3]) {
    const double d = std::max(xmax - xmin, ymax - ymin);
    const double xm = (xmin + xmax) * 0.5;
    const double ym = (ymin + ymax) * 0.5;
    out[0] = {xm - wide * d, ym - high * d, 0};
    out[1] = {xm, ym + high * d, 0};
    out[2] = {xm + wide * d, ym - high * d, 0};
}

DelaunayEngine::DelaunayEngine(Mode mode, const Point3 enclosing[3], double xmin, double ymin, double xmax,
                               double ymax, size_t expectedPoints)
    : mode_(mode) {
    if (mode_ == Mode::Sweep) {
        // A bucket of right ends per 16 points, a band of hints per two
        // points on a side.
        active_.emplace(xmin, xmax, expectedPoints / 16 + 1);
        const size_t bands = std::clamp<size_t>(
            static_cast<size_t>(std::sqrt(static_cast<double>(expectedPoints)) / 2), 1, size_t{1} << 16);
        hints_.assign(bands, kNone);
        hintY0_ = ymin;
        hintScale_ = ymax > ymin ? static_cast<double>(bands) / (ymax - ymin) : 0;
        if (!std::isfinite(hintScale_) || !std::isfinite(hintY0_)) hintY0_ = hintScale_ = 0;
    } else {
        index_.emplace(xmin, ymin, xmax, ymax, expectedPoints);
    }
    vertices_.reserve(std::min<size_t>(expectedPoints, size_t{1} << 28) + 3);
    tris_.reserve(2 * std::min<size_t>(expectedPoints, size_t{1} << 28) + 16);
    for (int i = 0; i < 3; ++i) vertices_.push_back(enclosing[i]);
    degenerate_ = !(std::isfinite(enclosing[0].x) && std::isfinite(enclosing[0].y) &&
                    std::isfinite(enclosing[1].x) && std::isfinite(enclosing[1].y) &&
                    std::isfinite(enclosing[2].x) && std::isfinite(enclosing[2].y)) ||
                  exact::orientation(enclosing[0].x, enclosing[0].y, enclosing[1].x, enclosing[1].y,
                                     enclosing[2].x, enclosing[2].y) >= 0;
    const uint32_t slot = newSlot();
    Tri& t = tris_[slot];
    t.v[0] = 0, t.v[1] = 1, t.v[2] = 2;
    t.nb[0] = t.nb[1] = t.nb[2] = kNone;
    activate(slot, circumcircleOf(enclosing[0].x, enclosing[0].y, enclosing[1].x, enclosing[1].y, enclosing[2].x,
                                  enclosing[2].y));
}

void DelaunayEngine::insertPointSweep(const Point3& point) { insert(point); }

void DelaunayEngine::insertPointsSweep(const std::vector<Point3>& points,
                                       const std::function<bool(size_t)>& proceed) {
    for (size_t i = 0; i < points.size() && proceed(i); ++i) insert(points[i]);
}

void DelaunayEngine::insertPointPlain(const Point3& point) { insert(point); }

uint32_t DelaunayEngine::newSlot() {
    if (!freeSlots_.empty()) {
        const uint32_t slot = freeSlots_.back();
        freeSlots_.pop_back();
        return slot;
    }
    tris_.push_back(Tri{});
    tris_.back().circle = kNone;
    tris_.back().completion = kNone;
    tris_.back().inCavity = false;
    return static_cast<uint32_t>(tris_.size() - 1);
}

uint32_t DelaunayEngine::nextMark() {
    if (++markValue_ == 0) {  // wrapped: no triangle may keep an old mark
        for (Tri& t : tris_) t.mark = 0;
        markValue_ = 1;
    }
    return markValue_;
}

uint32_t DelaunayEngine::nextStamp() {
    if (++stamp_ == 0) {
        for (VertexMark& m : vertexMarks_) m = VertexMark{};
        stamp_ = 1;
    }
    return stamp_;
}

void DelaunayEngine::activate(uint32_t slot, const Circle& c) {
    Tri& t = tris_[slot];
    t.seq = nextSeq_++;
    t.mark = 0;
    t.state = kActive;
    if (mode_ == Mode::Plain) {
        t.circle = index_->insert(slot, c.xc, c.yc, c.r);
        lastCreated_ = slot;
        return;
    }
    const Point3& a = vertices_[t.v[0]];
    const Point3& b = vertices_[t.v[1]];
    const Point3& d = vertices_[t.v[2]];
    const CircleBounds bounds = boundsOf(c, a.x, a.y, b.x, b.y, d.x, d.y);
    if (t.circle != kNone) {  // the entry of the triangle whose slot this was
        active_->replace(t.circle, c, bounds, slot);
    } else {
        t.circle = active_->add(c, bounds, slot);
    }
    lastCreated_ = slot;
}

void DelaunayEngine::sortByListOrder(std::vector<uint32_t>& slots) {
    // Mostly a handful: insertion sort on the creation numbers, read once.
    std::vector<SlotOrder>& keys = sortKeys_;
    keys.resize(slots.size());
    for (size_t i = 0; i < slots.size(); ++i) keys[i] = {tris_[slots[i]].seq, slots[i]};
    if (keys.size() > 32) {
        std::sort(keys.begin(), keys.end(), [](const SlotOrder& a, const SlotOrder& b) { return a.seq < b.seq; });
    } else {
        for (size_t i = 1; i < keys.size(); ++i) {
            const SlotOrder key = keys[i];
            size_t j = i;
            for (; j > 0 && keys[j - 1].seq > key.seq; --j) keys[j] = keys[j - 1];
            keys[j] = key;
        }
    }
    for (size_t i = 0; i < slots.size(); ++i) slots[i] = keys[i].slot;
}

void DelaunayEngine::finish(std::vector<ActiveCircles::Finished>& finished) {
    // Those finished by one point leave in list order.
    std::sort(finished.begin(), finished.end(), [&](const auto& a, const auto& b) {
        return tris_[a.slot].seq < tris_[b.slot].seq;
    });
    for (const ActiveCircles::Finished& c : finished) {
        Tri& t = tris_[c.slot];
        t.circle = kNone;
        t.completion = static_cast<uint32_t>(completed_.size());
        t.state = kCompleted;
        completed_.push_back(c.slot);
        const double reach = std::fabs(c.rightEnd) + c.r;
        settlesAt_.push_back(c.rightEnd + kSettleMargin * reach);
    }
}

bool DelaunayEngine::boundaryOf(const std::vector<uint32_t>& cavity, uint32_t apex, bool connected) {
    // The outline left by toggling the cavity's edges in list order: an edge
    // shared by two cavity triangles is met twice and goes; the others stay
    // in the order they were first met, each in its owner's direction. The
    // triangulation is valid, so two triangles share an edge exactly when
    // they are neighbours across it.
    boundary_.clear();
    for (uint32_t slot : cavity) tris_[slot].inCavity = true;
    for (uint32_t slot : cavity) {
        const Tri& t = tris_[slot];
        for (int i = 0; i < 3; ++i) {
            const uint32_t n = t.nb[i];
            if (n == kNone || !tris_[n].inCavity) boundary_.push_back({t.v[i], t.v[i == 2 ? 0 : i + 1], n});
        }
    }
    for (uint32_t slot : cavity) tris_[slot].inCavity = false;
    if (boundary_.empty()) return false;

    // Every vertex of the cavity must stay (on the outline), the outline must
    // be one simple cycle through each of its vertices once, and every new
    // triangle must be clockwise with non-zero area.
    const uint32_t stamp = nextStamp();
    if (vertexMarks_.size() < vertices_.size()) {
        vertexMarks_.resize(std::max(vertices_.size(), std::min(vertices_.capacity(), 2 * vertexMarks_.size())));
    }
    if (connected) {
        // Where the two checks below pass, every outline edge turns clockwise
        // about the point, so the outline is one cycle winding once around
        // it: the cavity is a triangulated disk, and by Euler's formula its
        // triangles number its outline edges less two exactly when no
        // vertex lies inside.
        if (cavity.size() + 2 != boundary_.size()) return false;
    } else {
        size_t distinct = 0;
        for (uint32_t slot : cavity) {
            for (uint32_t v : tris_[slot].v) {
                if (vertexMarks_[v].seen != stamp) {
                    vertexMarks_[v].seen = stamp;
                    ++distinct;
                }
            }
        }
        if (distinct != boundary_.size()) return false;
    }
    for (uint32_t k = 0; k < boundary_.size(); ++k) {
        const BoundaryEdge& e = boundary_[k];
        VertexMark& a = vertexMarks_[e.a];
        VertexMark& b = vertexMarks_[e.b];
        if (a.starts == stamp || b.ends == stamp) return false;
        a.starts = stamp;
        a.start = k;
        b.ends = stamp;
        b.end = k;
    }
    const Point3& p = vertices_[apex];
    for (const BoundaryEdge& e : boundary_) {
        if (vertexMarks_[e.b].starts != stamp || vertexMarks_[e.a].ends != stamp) return false;
        const Point3& a = vertices_[e.a];
        const Point3& b = vertices_[e.b];
        if (exact::orientation(a.x, a.y, b.x, b.y, p.x, p.y) >= 0) return false;
    }
    return true;
}

DelaunayEngine::Step DelaunayEngine::walkStep(const Tri& tri, const Point3& p, uint32_t& next) {
    // Across the first edge, from a random one of the three, that has p on
    // its far side: a walk that always tried the same edge first could
    // circle forever.
    randomState_ = randomState_ * 6364136223846793005ull + 1442695040888963407ull;
    const int offset = static_cast<int>((randomState_ >> 33) % 3);
    for (int k = 0; k < 3; ++k) {
        const int i = (offset + k) % 3;
        const Point3& a = vertices_[tri.v[i]];
        const Point3& b = vertices_[tri.v[(i + 1) % 3]];
        if (exact::orientation(a.x, a.y, b.x, b.y, p.x, p.y) > 0) {
            next = tri.nb[i];
            return next == kNone ? Step::Outside : Step::Moved;  // beyond the enclosing triangle
        }
    }
    next = kNone;
    return Step::Arrived;
}

uint32_t DelaunayEngine::locate(uint32_t apex) {
    const Point3& p = vertices_[apex];
    auto alive = [&](uint32_t slot) {
        return slot < tris_.size() && (tris_[slot].state == kActive || tris_[slot].state == kCompleted);
    };
    uint32_t t = kNone;
    if (mode_ == Mode::Sweep) {
        const uint32_t hint = hintFor(p.y);
        if (hint != kNone) t = vertexTriangle_[hint];
    } else if (!cavity_.empty()) {
        t = cavity_.front();
    }
    if (!alive(t)) t = lastCreated_;
    if (!alive(t)) t = kNone;
    const size_t limit = 4 * tris_.size() + 100;
    for (size_t step = 0; t != kNone && step < limit; ++step) {
        uint32_t next;
        const Step s = walkStep(tris_[t], p, next);
        if (s == Step::Arrived) return t;
        if (s == Step::Outside) return kNone;
        t = next;
    }
    // The walk did not settle: look at every triangle.
    for (uint32_t slot = 0; slot < tris_.size(); ++slot) {
        if (!alive(slot)) continue;
        const Tri& tri = tris_[slot];
        bool inside = true;
        for (int i = 0; i < 3 && inside; ++i) {
            const Point3& a = vertices_[tri.v[i]];
            const Point3& b = vertices_[tri.v[(i + 1) % 3]];
            inside = exact::orientation(a.x, a.y, b.x, b.y, p.x, p.y) <= 0;
        }
        if (inside) return slot;
    }
    return kNone;
}

bool DelaunayEngine::exactCavity(uint32_t apex, std::vector<uint32_t>& out) {
    const uint32_t start = locate(apex);
    if (start == kNone) return false;
    const Point3& p = vertices_[apex];
    for (uint32_t v : tris_[start].v) {
        if (vertices_[v].x == p.x && vertices_[v].y == p.y) return false;  // on a vertex
    }
    const uint32_t mark = nextMark();
    out.clear();
    out.push_back(start);
    tris_[start].mark = mark;
    for (size_t q = 0; q < out.size(); ++q) {
        const Tri& t = tris_[out[q]];
        for (uint32_t n : t.nb) {
            if (n == kNone || tris_[n].mark == mark) continue;
            const Tri& other = tris_[n];
            const Point3& a = vertices_[other.v[0]];
            const Point3& b = vertices_[other.v[1]];
            const Point3& c = vertices_[other.v[2]];
            // Clockwise triangle: the point is strictly inside its circle when
            // the in-circle sign is negative.
            if (exact::inCircle(a.x, a.y, b.x, b.y, c.x, c.y, p.x, p.y) < 0) {
                tris_[n].mark = mark;
                out.push_back(n);
            }
        }
    }
    sortByListOrder(out);
    return true;
}

void DelaunayEngine::retriangulate(const std::vector<uint32_t>& cavity, uint32_t apex) {
    for (uint32_t slot : cavity) {
        Tri& t = tris_[slot];
        if (t.state == kActive) {
            if (mode_ == Mode::Plain) {
                index_->erase(t.circle);
                t.circle = kNone;
            }
            t.state = kFree;  // a sweep triangle's entry in active_ goes to the one taking the slot
            freeSlots_.push_back(slot);
        } else {
            t.state = kRemovedCompleted;  // keeps its place in the completed list, unused
            if (t.completion < settled_) settledStayed_ = false;
        }
    }
    std::vector<uint32_t>& slots = newSlots_;
    slots.resize(boundary_.size());
    for (uint32_t& slot : slots) slot = newSlot();
    // The circles first, in a loop of their own: their divisions and roots
    // overlap instead of waiting on each other.
    const Point3& p = vertices_[apex];
    circles_.resize(boundary_.size());
    for (size_t k = 0; k < boundary_.size(); ++k) {
        const Point3& a = vertices_[boundary_[k].a];
        const Point3& b = vertices_[boundary_[k].b];
        circles_[k] = circumcircleOf(a.x, a.y, b.x, b.y, p.x, p.y);
    }
    for (size_t k = 0; k < boundary_.size(); ++k) {
        const BoundaryEdge& e = boundary_[k];
        const uint32_t slot = slots[k];
        Tri& t = tris_[slot];
        t.v[0] = e.a, t.v[1] = e.b, t.v[2] = apex;
        t.nb[0] = e.outside;
        t.nb[1] = slots[vertexMarks_[e.b].start];
        t.nb[2] = slots[vertexMarks_[e.a].end];
        activate(slot, circles_[k]);
        if (e.outside != kNone) {
            Tri& o = tris_[e.outside];
            for (int i = 0; i < 3; ++i) {
                if (o.v[i] == e.b && o.v[i == 2 ? 0 : i + 1] == e.a) o.nb[i] = slot;
            }
        }
    }
    if (mode_ == Mode::Sweep) {
        for (uint32_t slot : cavity) {
            Tri& t = tris_[slot];
            if (t.state == kFree && t.circle != kNone) {  // no new triangle took the slot
                active_->take(t.circle);
                t.circle = kNone;
            }
        }
        vertexTriangle_.resize(vertices_.size(), kNone);
        for (size_t k = 0; k < boundary_.size(); ++k) vertexTriangle_[boundary_[k].a] = slots[k];
        if (!slots.empty()) {
            vertexTriangle_[apex] = slots.front();
            hintFor(p.y) = apex;
        }
    }
}

void DelaunayEngine::insert(const Point3& point) {
    if (degenerate_) {
        ++skippedPoints_;
        return;
    }
    if (mode_ == Mode::Sweep) {
        insertSweep(point);
        return;
    }
    cavity_.clear();
    index_->forEachContaining(point.x, point.y, true, [&](uint32_t slot) { cavity_.push_back(slot); });
    sortByListOrder(cavity_);
    const uint32_t apex = static_cast<uint32_t>(vertices_.size());
    vertices_.push_back(point);
    placePoint(apex, !cavity_.empty() && boundaryOf(cavity_, apex, false));
}

void DelaunayEngine::insertSweep(const Point3& point) {
    // A triangle whose circle ends left of the sweep (x > xc + r) is finished.
    finished_.clear();
    active_->takeFinished(point.x, finished_);
    if (!finished_.empty()) finish(finished_);
    while (settled_ < completed_.size() && point.x > settlesAt_[settled_]) ++settled_;

    const uint32_t apex = static_cast<uint32_t>(vertices_.size());
    vertices_.push_back(point);
    placePoint(apex, sweepCavity(apex));
}

// The procedure removes F, every active triangle whose circle holds the
// point by the floating-point test, when F passes the checks of
// boundaryOf, and the exact cavity E otherwise. Here K is a part of F
// grown across edges from one of its triangles. The checks make every
// outline edge turn clockwise about the point, so an outline that passes
// winds once around it: K then holds the point's triangle, and a part of F
// that does not (one not joined to it by edges) can never pass. So:
//  - K fails the checks: either F is K or F has a part that fails them; E
//    is removed;
//  - K passes and equals E: K is removed, as F if F is K, as E otherwise;
//  - K passes and differs from E (the two tests disagree near the point):
//    only then must the rest of F be known, and every other active
//    triangle is tested; K stands when none holds the point.
// The growth starts from the first triangle whose circle holds the point
// on the walk towards it. Answers whether K stands, left in cavity_ in
// list order with its outline in boundary_.
bool DelaunayEngine::sweepCavity(uint32_t apex) {
    const Point3& p = vertices_[apex];
    cavity_.clear();
    doubts_.clear();
    const uint32_t start = walkToCavity(p);
    if (start == kNone) return false;
    const uint32_t mark = nextMark();
    // Each triangle looked at is tested by the procedure's predicate and,
    // where its circle's bounds tell, exactly; the others are doubts for
    // cavityIsExact.
    auto lookAt = [&](uint32_t slot) {
        Tri& t = tris_[slot];
        if (t.mark == mark) return;
        t.mark = mark;
        bool certain = false;
        const bool holds = circleHolds(t, p, certain);
        if (holds) cavity_.push_back(slot);
        if (!certain) doubts_.push_back({slot, holds});
    };
    lookAt(start);
    for (size_t q = 0; q < cavity_.size(); ++q) {
        for (uint32_t n : tris_[cavity_[q]].nb) {
            if (n != kNone) lookAt(n);
        }
    }
    sortByListOrder(cavity_);
    return boundaryOf(cavity_, apex, true) && (cavityIsExact(p) || !floatTestHoldsElsewhere(p));
}

uint32_t DelaunayEngine::walkToCavity(const Point3& p) {
    // A visibility walk from a triangle near the point, as locate's, that
    // stops at the first active triangle whose circle holds the point.
    const uint32_t hint = hintFor(p.y);
    uint32_t t = hint != kNone ? vertexTriangle_[hint] : lastCreated_;
    const size_t limit = 4 * tris_.size() + 100;
    bool certain;
    for (size_t step = 0; t != kNone && step < limit; ++step) {
        const Tri& tri = tris_[t];
        if (circleHolds(tri, p, certain)) return t;
        uint32_t next;
        const Step s = walkStep(tri, p, next);
        if (s == Step::Outside) return kNone;
        if (s == Step::Arrived) {
            // The point's own triangle fails the test: the one across the
            // edge the point may lie on holds it too.
            for (int i = 0; i < 3; ++i) {
                const Point3& a = vertices_[tri.v[i]];
                const Point3& b = vertices_[tri.v[(i + 1) % 3]];
                const uint32_t n = tri.nb[i];
                if (n != kNone && exact::orientation(a.x, a.y, b.x, b.y, p.x, p.y) == 0 &&
                    circleHolds(tris_[n], p, certain)) {
                    return n;
                }
            }
            return kNone;
        }
        t = next;
    }
    return kNone;  // the walk did not settle: decided exactly, which looks further
}

bool DelaunayEngine::cavityIsExact(const Point3& p) const {
    // Clockwise triangles: the point is strictly inside a circle when the
    // in-circle sign is negative. E grows from a triangle of K (the point's
    // own, which is strictly inside its circle) across edges into exactly
    // such triangles, so it is K when K's are all such and the neighbours
    // looked at around it are not; the bounds of their circles told that
    // for all but the doubts.
    for (const Doubt& d : doubts_) {
        const Tri& t = tris_[d.slot];
        const Point3& a = vertices_[t.v[0]];
        const Point3& b = vertices_[t.v[1]];
        const Point3& c = vertices_[t.v[2]];
        if ((exact::inCircle(a.x, a.y, b.x, b.y, c.x, c.y, p.x, p.y) < 0) != d.inCavity) return false;
    }
    return true;
}

bool DelaunayEngine::floatTestHoldsElsewhere(const Point3& p) {
    ++scannedInsertions_;
    bool found = false;
    active_->forEach([&](const ActiveCircles::Entry& e) {
        // Those looked at already are in the cavity or fail the test.
        found = found || (tris_[e.slot].mark != markValue_ && centreDistance(p.x, p.y, e.xc, e.yc) < e.r);
    });
    return found;
}

uint32_t& DelaunayEngine::hintFor(double y) {
    const double v = (y - hintY0_) * hintScale_;
    size_t band = 0;
    if (v >= static_cast<double>(hints_.size() - 1)) {
        band = hints_.size() - 1;
    } else if (v > 0) {
        band = static_cast<size_t>(v);
    }
    return hints_[band];
}

void DelaunayEngine::placePoint(uint32_t apex, bool cavityStands) {
    if (!cavityStands) {
        ++exactInsertions_;
        if (!exactCavity(apex, cavity_) || !boundaryOf(cavity_, apex, true)) {
            ++skippedPoints_;
            vertices_.pop_back();
            return;
        }
    }
    retriangulate(cavity_, apex);
}

bool DelaunayEngine::touchesEnclosing(const Tri& t) const {
    for (uint32_t v : t.v) {
        const Point3& q = vertices_[v];
        for (int s = 0; s < 3; ++s) {
            if (q.x == vertices_[s].x && q.y == vertices_[s].y && q.z == vertices_[s].z) return true;
        }
    }
    return false;
}

void DelaunayEngine::forEachCompleted(size_t from, size_t to,
                                      const std::function<void(const Triangle&)>& visit) const {
    for (size_t k = from; k < to && k < completed_.size(); ++k) {
        const Tri& t = tris_[completed_[k]];
        if (t.state == kCompleted && !touchesEnclosing(t)) visit(triangleOf(t));
    }
}

void DelaunayEngine::forEachResult(const std::function<void(const Triangle&)>& visit) const {
    forEachResultFrom(0, visit);
}

void DelaunayEngine::forEachResultFrom(size_t from, const std::function<void(const Triangle&)>& visit) const {
    forEachCompleted(from, completed_.size(), visit);
    for (uint32_t slot : activeInListOrder()) {
        const Tri& t = tris_[slot];
        if (!touchesEnclosing(t)) visit(triangleOf(t));
    }
}

std::vector<uint32_t> DelaunayEngine::activeInListOrder() const {
    std::vector<uint32_t> active;
    for (uint32_t slot = 0; slot < tris_.size(); ++slot) {
        if (tris_[slot].state == kActive) active.push_back(slot);
    }
    std::sort(active.begin(), active.end(), [&](uint32_t a, uint32_t b) { return tris_[a].seq < tris_[b].seq; });
    return active;
}

std::vector<Triangle> DelaunayEngine::result() const {
    std::vector<Triangle> out;
    forEachResult([&](const Triangle& t) { out.push_back(t); });
    return out;
}

}  // namespace tz::terrain
