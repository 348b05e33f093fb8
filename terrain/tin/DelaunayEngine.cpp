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
        indexBox_[0] = xmin, indexBox_[1] = ymin, indexBox_[2] = xmax, indexBox_[3] = ymax;
        expectedPoints_ = expectedPoints;
        sweepIndex_.emplace(xmin, ymin, xmax, ymax, expectedPoints);
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
    if (degenerate_ || points.empty()) {
        for (size_t i = 0; i < points.size() && proceed(i); ++i) ++skippedPoints_;
        return;
    }
    // Insertion 0 of the run is the last one made before it, whose changes
    // the index has not taken in yet; point i is insertion i + 1.
    constexpr size_t kLookahead = SweepLookahead::kLookahead;
    SweepLookahead ahead(*sweepIndex_, points, pending_);
    for (size_t j = 1; j <= points.size() && proceed(j - 1); ++j) {
        const SweepChanges* recent[kLookahead];
        size_t count = 0;
        for (size_t k = j > kLookahead ? j - kLookahead : 0; k < j; ++k) recent[count++] = &ahead.changes(k);
        const SweepQuery& answer = ahead.query(j);
        changes_ = &ahead.changes(j);
        changes_->clear();
        changes_->firstSeq = nextSeq_;
        insertAnswered(points[j - 1], answer, recent[0]->firstSeq, recent, count);
        ahead.publish(j);
    }
    // Back to one point at a time. The index has not taken in the last few
    // insertions and may have answered points beyond the last one inserted
    // (taking out what their x finished): it starts afresh.
    ahead.stop();
    changes_ = &pending_;
    restartSweepIndex();
}

void DelaunayEngine::restartSweepIndex() {
    // The index holds the active triangles and nothing else: a new one gets
    // them as the changes of one insertion, with their circles computed
    // again from the same vertices in the same order, so bit for bit the
    // same. No triangle is known to it before they are applied.
    sweepIndex_.emplace(indexBox_[0], indexBox_[1], indexBox_[2], indexBox_[3], expectedPoints_);
    pending_.clear();
    pending_.firstSeq = 0;
    for (uint32_t slot : activeInListOrder()) {
        const Tri& t = tris_[slot];
        const Point3 &a = vertices_[t.v[0]], &b = vertices_[t.v[1]], &c = vertices_[t.v[2]];
        const Circle circle = circumcircleOf(a.x, a.y, b.x, b.y, c.x, c.y);
        pending_.added.push_back({slot, circle.xc, circle.yc, circle.r, t.seq});
    }
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
    if (mode_ == Mode::Sweep) {
        changes_->added.push_back({slot, c.xc, c.yc, c.r, t.seq});
    } else {
        t.circle = index_->insert(slot, c.xc, c.yc, c.r);
    }
    lastCreated_ = slot;
}

void DelaunayEngine::sortByListOrder(std::vector<uint32_t>& slots) const {
    // Mostly a handful: insertion sort on the creation numbers.
    for (size_t i = 1; i < slots.size(); ++i) {
        const uint32_t slot = slots[i];
        const uint64_t seq = tris_[slot].seq;
        size_t j = i;
        for (; j > 0 && tris_[slots[j - 1]].seq > seq; --j) slots[j] = slots[j - 1];
        slots[j] = slot;
        if (i > 32) {  // a long run: sort the rest the usual way
            std::sort(slots.begin(), slots.end(),
                      [&](uint32_t a, uint32_t b) { return tris_[a].seq < tris_[b].seq; });
            return;
        }
    }
}

void DelaunayEngine::finish(std::vector<Completion>& finished) {
    // Those finished by one point leave in list order.
    std::sort(finished.begin(), finished.end(),
              [&](const Completion& a, const Completion& b) { return tris_[a.slot].seq < tris_[b.slot].seq; });
    for (const Completion& c : finished) {
        Tri& t = tris_[c.slot];
        t.completion = static_cast<uint32_t>(completed_.size());
        t.state = kCompleted;
        completed_.push_back(c.slot);
        const double reach = std::fabs(c.rightEnd) + c.r;
        settlesAt_.push_back(c.rightEnd + kSettleMargin * reach);
    }
}

void DelaunayEngine::insertAnswered(const Point3& point, const SweepQuery& answer, uint64_t known,
                                    const SweepChanges* const* recent, size_t recentCount) {
    // A triangle whose circle ends left of the sweep (x > xc + r) is
    // finished. The index answered for the triangles it knew of; the slots
    // it names may since have been taken out or given to newer triangles.
    auto knownActive = [&](uint32_t slot) { return tris_[slot].state == kActive && tris_[slot].seq < known; };
    auto stillActive = [&](const CircleRecord& c) {
        return tris_[c.slot].state == kActive && tris_[c.slot].seq == c.seq;
    };
    finished_.clear();
    for (const Completion& c : answer.completed) {
        if (knownActive(c.slot)) finished_.push_back(c);
    }
    for (size_t k = 0; k < recentCount; ++k) {
        for (const CircleRecord& c : recent[k]->added) {
            const double rightEnd = c.xc + c.r;
            if (point.x > rightEnd && stillActive(c)) finished_.push_back({c.slot, rightEnd, c.r});
        }
    }
    if (!finished_.empty()) finish(finished_);
    while (settled_ < completed_.size() && point.x > settlesAt_[settled_]) ++settled_;

    // The triangles whose circle contains the point, in list order: those
    // the index knew, then the newer ones, which it did not.
    cavity_.clear();
    for (uint32_t slot : answer.containing) {
        if (knownActive(slot)) cavity_.push_back(slot);
    }
    sortByListOrder(cavity_);
    for (size_t k = 0; k < recentCount; ++k) {
        for (const CircleRecord& c : recent[k]->added) {
            if (centreDistance(point.x, point.y, c.xc, c.yc) < c.r && stillActive(c)) {
                cavity_.push_back(c.slot);
            }
        }
    }
    placePoint(point);
}

bool DelaunayEngine::boundaryOf(const std::vector<uint32_t>& cavity, uint32_t apex) {
    // The outline left by toggling the cavity's edges in list order: an edge
    // shared by two cavity triangles is met twice and goes; the others stay
    // in the order they were first met, each in its owner's direction. The
    // triangulation is valid, so two triangles share an edge exactly when
    // they are neighbours across it.
    // Membership is looked up in a small table rather than in the
    // triangles, so that the neighbours outside are not read here; they are
    // fetched for retriangulate meanwhile.
    boundary_.clear();
    if (cavity.size() <= kSmallCavity) {
        if (++cavityGeneration_ == (uint64_t{1} << 32)) {  // tags would repeat
            std::fill(cavityTable_.begin(), cavityTable_.end(), 0);
            cavityGeneration_ = 1;
        }
        const uint64_t generation = cavityGeneration_ << 32;
        for (uint32_t slot : cavity) {
            size_t h = smallCavityHash(slot);
            while ((cavityTable_[h] >> 32) << 32 == generation) h = (h + 1) & (kCavityTableSize - 1);
            cavityTable_[h] = generation | slot;
        }
        auto inCavity = [&](uint32_t n) {
            for (size_t h = smallCavityHash(n);; h = (h + 1) & (kCavityTableSize - 1)) {
                const uint64_t entry = cavityTable_[h];
                if ((entry >> 32) << 32 != generation) return false;
                if (static_cast<uint32_t>(entry) == n) return true;
            }
        };
        for (uint32_t slot : cavity) {
            const Tri& t = tris_[slot];
            for (int i = 0; i < 3; ++i) {
                const uint32_t n = t.nb[i];
                if (n != kNone && inCavity(n)) continue;
                if (n != kNone) __builtin_prefetch(&tris_[n], 1);
                boundary_.push_back({t.v[i], t.v[i == 2 ? 0 : i + 1], n});
            }
        }
    } else {
        const uint32_t mark = nextMark();
        for (uint32_t slot : cavity) tris_[slot].mark = mark;
        for (uint32_t slot : cavity) {
            const Tri& t = tris_[slot];
            for (int i = 0; i < 3; ++i) {
                const uint32_t n = t.nb[i];
                if (n != kNone && tris_[n].mark == mark) continue;
                boundary_.push_back({t.v[i], t.v[i == 2 ? 0 : i + 1], n});
            }
        }
    }
    if (boundary_.empty()) return false;

    // Every vertex of the cavity must stay (on the outline), the outline must
    // be one simple cycle through each of its vertices once, and every new
    // triangle must be clockwise with non-zero area.
    const uint32_t stamp = nextStamp();
    if (vertexMarks_.size() < vertices_.size()) {
        vertexMarks_.resize(std::max(vertices_.size(), std::min(vertices_.capacity(), 2 * vertexMarks_.size())));
    }
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

uint32_t DelaunayEngine::locate(uint32_t apex) {
    const Point3& p = vertices_[apex];
    auto alive = [&](uint32_t slot) {
        return slot < tris_.size() && (tris_[slot].state == kActive || tris_[slot].state == kCompleted);
    };
    uint32_t t = !cavity_.empty() && alive(cavity_.front()) ? cavity_.front() : lastCreated_;
    if (!alive(t)) t = kNone;
    const size_t limit = 4 * tris_.size() + 100;
    for (size_t step = 0; t != kNone && step < limit; ++step) {
        const Tri& tri = tris_[t];
        randomState_ = randomState_ * 6364136223846793005ull + 1442695040888963407ull;
        const int offset = static_cast<int>((randomState_ >> 33) % 3);
        bool moved = false;
        for (int k = 0; k < 3 && !moved; ++k) {
            const int i = (offset + k) % 3;
            const Point3& a = vertices_[tri.v[i]];
            const Point3& b = vertices_[tri.v[(i + 1) % 3]];
            if (exact::orientation(a.x, a.y, b.x, b.y, p.x, p.y) > 0) {
                if (tri.nb[i] == kNone) return kNone;  // outside the enclosing triangle
                t = tri.nb[i];
                moved = true;
            }
        }
        if (!moved) return t;
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
            t.state = kFree;
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
        // The sweep's index keeps a circle under its slot: a slot taken over
        // by a new triangle gets the new circle; the others are given up.
        for (uint32_t slot : cavity) {
            if (tris_[slot].state == kFree) changes_->removed.push_back(slot);
        }
    }
}

void DelaunayEngine::insert(const Point3& point) {
    if (degenerate_) {
        ++skippedPoints_;
        return;
    }
    if (mode_ == Mode::Sweep) {
        sweepIndex_->apply(pending_);
        pending_.clear();
        pending_.firstSeq = nextSeq_;
        changes_ = &pending_;
        sweepIndex_->answer(point.x, point.y, answer_);
        insertAnswered(point, answer_, nextSeq_, nullptr, 0);
        return;
    }
    cavity_.clear();
    index_->forEachContaining(point.x, point.y, true, [&](uint32_t slot) { cavity_.push_back(slot); });
    sortByListOrder(cavity_);
    placePoint(point);
}

void DelaunayEngine::placePoint(const Point3& point) {
    const uint32_t apex = static_cast<uint32_t>(vertices_.size());
    vertices_.push_back(point);
    if (cavity_.empty() || !boundaryOf(cavity_, apex)) {
        ++exactInsertions_;
        if (!exactCavity(apex, cavity_) || !boundaryOf(cavity_, apex)) {
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
