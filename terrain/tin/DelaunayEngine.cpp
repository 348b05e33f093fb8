#include "tin/DelaunayEngine.h"

#include <algorithm>
#include <cmath>

#include "tin/ExactPredicates.h"

namespace tz::terrain {
namespace {

}  // namespace

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
    : mode_(mode), index_(xmin, ymin, xmax, ymax, expectedPoints) {
    for (int i = 0; i < 3; ++i) vertices_.push_back(enclosing[i]);
    vertexStamp_.assign(3, 0);
    vertexStart_.assign(3, 0);
    vertexEnd_.assign(3, 0);
    degenerate_ = !(std::isfinite(enclosing[0].x) && std::isfinite(enclosing[0].y) &&
                    std::isfinite(enclosing[1].x) && std::isfinite(enclosing[1].y) &&
                    std::isfinite(enclosing[2].x) && std::isfinite(enclosing[2].y)) ||
                  exact::orientation(enclosing[0].x, enclosing[0].y, enclosing[1].x, enclosing[1].y,
                                     enclosing[2].x, enclosing[2].y) >= 0;
    const uint32_t slot = newSlot();
    Tri& t = tris_[slot];
    t.v[0] = 0, t.v[1] = 1, t.v[2] = 2;
    t.nb[0] = t.nb[1] = t.nb[2] = kNone;
    t.seq = nextSeq_++;
    const Circle c = circumcircleOf(enclosing[0].x, enclosing[0].y, enclosing[1].x, enclosing[1].y,
                                    enclosing[2].x, enclosing[2].y);
    t.xc = c.xc, t.yc = c.yc, t.r = c.r;
    t.state = kActive;
    index_.insert(slot, t.xc, t.yc, t.r);
    ++activeCount_;
    if (mode_ == Mode::Sweep) {
        heap_.push_back({t.xc + t.r, t.seq, slot});
    }
    lastCreated_ = slot;
}

void DelaunayEngine::insertPointSweep(const Point3& point) { insert(point); }

void DelaunayEngine::insertPointPlain(const Point3& point) { insert(point); }

uint32_t DelaunayEngine::newSlot() {
    if (!freeSlots_.empty()) {
        const uint32_t slot = freeSlots_.back();
        freeSlots_.pop_back();
        return slot;
    }
    tris_.push_back(Tri{});
    return static_cast<uint32_t>(tris_.size() - 1);
}

void DelaunayEngine::completeBefore(double x) {
    // A triangle whose circle ends left of the sweep (x > xc + r) is finished;
    // those finished by one point leave in list order.
    std::vector<uint32_t>& batch = cavity_;
    batch.clear();
    while (!heap_.empty() && heap_.front().key < x) {
        std::pop_heap(heap_.begin(), heap_.end(), heapAfter);
        const HeapEntry entry = heap_.back();
        heap_.pop_back();
        const Tri& t = tris_[entry.slot];
        if (t.state == kActive && t.seq == entry.seq) batch.push_back(entry.slot);
    }
    if (batch.empty()) return;
    std::sort(batch.begin(), batch.end(), [&](uint32_t a, uint32_t b) { return tris_[a].seq < tris_[b].seq; });
    for (uint32_t slot : batch) {
        Tri& t = tris_[slot];
        index_.erase(slot);
        t.state = kCompleted;
        --activeCount_;
        completed_.push_back(slot);
    }
}

void DelaunayEngine::collectContaining(const Point3& p, std::vector<uint32_t>& out) {
    out.clear();
    const bool inclusive = mode_ == Mode::Plain;
    index_.forEachContaining(p.x, p.y, inclusive, [&](uint32_t slot) { out.push_back(slot); });
    std::sort(out.begin(), out.end(), [&](uint32_t a, uint32_t b) { return tris_[a].seq < tris_[b].seq; });
}

bool DelaunayEngine::boundaryOf(const std::vector<uint32_t>& cavity, uint32_t apex) {
    // The outline left by toggling the cavity's edges in list order: an edge
    // shared by two cavity triangles is met twice and goes; the others stay
    // in the order they were first met, each in its owner's direction. The
    // triangulation is valid, so two triangles share an edge exactly when
    // they are neighbours across it.
    if (triStamp_.size() < tris_.size()) triStamp_.resize(tris_.size(), 0);
    ++triStampValue_;
    for (uint32_t slot : cavity) triStamp_[slot] = triStampValue_;
    boundary_.clear();
    for (uint32_t slot : cavity) {
        const Tri& t = tris_[slot];
        for (int i = 0; i < 3; ++i) {
            const uint32_t n = t.nb[i];
            if (n != kNone && triStamp_[n] == triStampValue_) continue;
            boundary_.push_back({t.v[i], t.v[(i + 1) % 3], n});
        }
    }
    if (boundary_.empty()) return false;

    // Every vertex of the cavity must stay (on the outline), the outline must
    // be one simple cycle through each of its vertices once, and every new
    // triangle must be clockwise with non-zero area.
    ++stamp_;
    const size_t needed = vertices_.size();
    if (vertexStamp_.size() < needed) {
        vertexStamp_.resize(needed, 0);
        vertexStart_.resize(needed, 0);
        vertexEnd_.resize(needed, 0);
    }
    startStamp_.resize(needed, 0);
    endStamp_.resize(needed, 0);
    size_t distinct = 0;
    for (uint32_t slot : cavity) {
        for (uint32_t v : tris_[slot].v) {
            if (vertexStamp_[v] != stamp_) {
                vertexStamp_[v] = stamp_;
                ++distinct;
            }
        }
    }
    if (distinct != boundary_.size()) return false;
    for (uint32_t k = 0; k < boundary_.size(); ++k) {
        const BoundaryEdge& e = boundary_[k];
        if (startStamp_[e.a] == stamp_ || endStamp_[e.b] == stamp_) return false;
        startStamp_[e.a] = stamp_;
        vertexStart_[e.a] = k;
        endStamp_[e.b] = stamp_;
        vertexEnd_[e.b] = k;
    }
    const Point3& p = vertices_[apex];
    for (const BoundaryEdge& e : boundary_) {
        if (startStamp_[e.b] != stamp_ || endStamp_[e.a] != stamp_) return false;
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
    if (triStamp_.size() < tris_.size()) triStamp_.resize(tris_.size(), 0);
    ++triStampValue_;
    out.clear();
    out.push_back(start);
    triStamp_[start] = triStampValue_;
    for (size_t q = 0; q < out.size(); ++q) {
        const Tri& t = tris_[out[q]];
        for (uint32_t n : t.nb) {
            if (n == kNone || triStamp_[n] == triStampValue_) continue;
            const Tri& other = tris_[n];
            const Point3& a = vertices_[other.v[0]];
            const Point3& b = vertices_[other.v[1]];
            const Point3& c = vertices_[other.v[2]];
            // Clockwise triangle: the point is strictly inside its circle when
            // the in-circle sign is negative.
            if (exact::inCircle(a.x, a.y, b.x, b.y, c.x, c.y, p.x, p.y) < 0) {
                triStamp_[n] = triStampValue_;
                out.push_back(n);
            }
        }
    }
    std::sort(out.begin(), out.end(), [&](uint32_t a, uint32_t b) { return tris_[a].seq < tris_[b].seq; });
    return true;
}

void DelaunayEngine::retriangulate(const std::vector<uint32_t>& cavity, uint32_t apex) {
    for (uint32_t slot : cavity) {
        Tri& t = tris_[slot];
        if (t.state == kActive) {
            index_.erase(slot);
            --activeCount_;
            t.state = kFree;
            freeSlots_.push_back(slot);
        } else {
            t.state = kRemovedCompleted;  // keeps its place in the completed list, unused
        }
    }
    std::vector<uint32_t>& slots = newSlots_;
    slots.resize(boundary_.size());
    for (uint32_t& slot : slots) slot = newSlot();
    const Point3& p = vertices_[apex];
    for (size_t k = 0; k < boundary_.size(); ++k) {
        const BoundaryEdge& e = boundary_[k];
        const uint32_t slot = slots[k];
        Tri& t = tris_[slot];
        t.v[0] = e.a, t.v[1] = e.b, t.v[2] = apex;
        t.nb[0] = e.outside;
        t.nb[1] = slots[vertexStart_[e.b]];
        t.nb[2] = slots[vertexEnd_[e.a]];
        t.seq = nextSeq_++;
        const Point3& a = vertices_[e.a];
        const Point3& b = vertices_[e.b];
        const Circle c = circumcircleOf(a.x, a.y, b.x, b.y, p.x, p.y);
        t.xc = c.xc, t.yc = c.yc, t.r = c.r;
        t.state = kActive;
        index_.insert(slot, t.xc, t.yc, t.r);
        ++activeCount_;
        if (mode_ == Mode::Sweep) {
            heap_.push_back({t.xc + t.r, t.seq, slot});
            std::push_heap(heap_.begin(), heap_.end(), heapAfter);
        }
        if (e.outside != kNone) {
            Tri& o = tris_[e.outside];
            for (int i = 0; i < 3; ++i) {
                if (o.v[i] == e.b && o.v[(i + 1) % 3] == e.a) o.nb[i] = slot;
            }
        }
        lastCreated_ = slot;
    }
    if (mode_ == Mode::Sweep && heap_.size() > 2 * activeCount_ + 1024) {
        heap_.erase(std::remove_if(heap_.begin(), heap_.end(),
                                   [&](const HeapEntry& h) {
                                       const Tri& t = tris_[h.slot];
                                       return !(t.state == kActive && t.seq == h.seq);
                                   }),
                    heap_.end());
        std::make_heap(heap_.begin(), heap_.end(), heapAfter);
    }
}

void DelaunayEngine::insert(const Point3& point) {
    if (degenerate_) {
        ++skippedPoints_;
        return;
    }
    const uint32_t apex = static_cast<uint32_t>(vertices_.size());
    vertices_.push_back(point);
    if (mode_ == Mode::Sweep) completeBefore(point.x);
    collectContaining(point, cavity_);
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

void DelaunayEngine::forEachResult(const std::function<void(const Triangle&)>& visit) const {
    auto touchesEnclosing = [&](const Tri& t) {
        for (uint32_t v : t.v) {
            const Point3& q = vertices_[v];
            for (int s = 0; s < 3; ++s) {
                if (q.x == vertices_[s].x && q.y == vertices_[s].y && q.z == vertices_[s].z) return true;
            }
        }
        return false;
    };
    auto emit = [&](const Tri& t) {
        if (!touchesEnclosing(t)) visit(Triangle{vertices_[t.v[0]], vertices_[t.v[1]], vertices_[t.v[2]]});
    };
    for (uint32_t slot : completed_) {
        if (tris_[slot].state == kCompleted) emit(tris_[slot]);
    }
    std::vector<uint32_t> active;
    for (uint32_t slot = 0; slot < tris_.size(); ++slot) {
        if (tris_[slot].state == kActive) active.push_back(slot);
    }
    std::sort(active.begin(), active.end(), [&](uint32_t a, uint32_t b) { return tris_[a].seq < tris_[b].seq; });
    for (uint32_t slot : active) emit(tris_[slot]);
}

std::vector<Triangle> DelaunayEngine::result() const {
    std::vector<Triangle> out;
    forEachResult([&](const Triangle& t) { out.push_back(t); });
    return out;
}

}  // namespace tz::terrain
