#include "LiteralBoundary.h"

#include <algorithm>
#include <cmath>

namespace tz::terrain::literal {
namespace {

bool same(const Point3& p, const Point3& q) {
    return std::fabs(p.x - q.x) <= 0.00001 && std::fabs(p.y - q.y) <= 0.00001;
}

double planGap(const Point3& p, const Point3& q) {
    return std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y));
}

bool boxesMeet(const Triangle& t, const Segment& s) {
    const double tol = 0.00001;
    const double txlo = std::min({t.p1.x, t.p2.x, t.p3.x}), txhi = std::max({t.p1.x, t.p2.x, t.p3.x});
    const double tylo = std::min({t.p1.y, t.p2.y, t.p3.y}), tyhi = std::max({t.p1.y, t.p2.y, t.p3.y});
    return !(std::max(s.a.x, s.b.x) + tol < txlo - tol || std::min(s.a.x, s.b.x) - tol > txhi + tol ||
             std::max(s.a.y, s.b.y) + tol < tylo - tol || std::min(s.a.y, s.b.y) - tol > tyhi + tol);
}

}  // namespace

bool crossesBoundaryLiterally(const Triangle& t, const std::vector<Segment>& segments) {
    const Point3 v[3] = {t.p1, t.p2, t.p3};
    for (const Segment& s : segments) {
        if (!boxesMeet(t, s)) continue;
        const Point3 A = s.a, B = s.b;
        for (int e = 0; e < 3; ++e) {
            const Point3 P = v[e], Q = v[(e + 1) % 3];
            const double den = (B.y - A.y) * (Q.x - P.x) - (B.x - A.x) * (Q.y - P.y);
            if (den == 0) continue;
            const double tt = ((P.y - A.y) * (B.x - A.x) - (P.x - A.x) * (B.y - A.y)) / den;
            const double u = ((P.y - A.y) * (Q.x - P.x) - (P.x - A.x) * (Q.y - P.y)) / den;
            const Point3 X{P.x + tt * (Q.x - P.x), P.y + tt * (Q.y - P.y), 0};
            if (planGap(P, A) == 0 || planGap(P, B) == 0 || planGap(Q, A) == 0 || planGap(Q, B) == 0) break;
            if (!same(P, A) && !same(P, B) && !same(Q, A) && !same(Q, B) && !same(X, A) && !same(X, B) && tt >= 0 &&
                tt <= 1 && u >= 0 && u <= 1)
                return true;
        }
    }
    return false;
}

bool insideBoundaryLiterally(const Triangle& t, const std::vector<Segment>& segments) {
    const double xT = ((t.p2.x + t.p3.x) / 2 + (t.p2.x + t.p1.x) / 2) / 2;
    const double yT = ((t.p2.y + t.p3.y) / 2 + (t.p2.y + t.p1.y) / 2) / 2;
    return countCrossingsLiterally(xT, yT, segments) % 2 == 1;
}

int countCrossingsLiterally(double xT, double yT, const std::vector<Segment>& segments) {
    int count = 0;
    for (const Segment& s : segments) {
        const Point3 A = s.a, B = s.b;
        if (A.y != B.y && std::min(A.y, B.y) < yT && yT <= std::max(A.y, B.y) && xT <= std::max(A.x, B.x)) {
            if (A.x == B.x) {
                ++count;
            } else {
                const double X = (yT - A.y) * (B.x - A.x) / (B.y - A.y) + A.x;
                if (X >= xT || std::fabs(xT - X) < 0.001) ++count;
            }
        }
    }
    return count;
}

}  // namespace tz::terrain::literal
