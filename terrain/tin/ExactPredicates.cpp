#include "tin/ExactPredicates.h"

#include <cmath>
#include <vector>

namespace tz::terrain::exact {
namespace {

// Exact sums and products of doubles as expansions: lists of doubles whose
// exact sum is the value, non-overlapping, smallest magnitude first.
using Expansion = std::vector<double>;

inline void twoSum(double a, double b, double& sum, double& error) {
    sum = a + b;
    const double bVirtual = sum - a;
    const double aVirtual = sum - bVirtual;
    error = (a - aVirtual) + (b - bVirtual);
}

inline void twoProduct(double a, double b, double& product, double& error) {
    product = a * b;
    error = std::fma(a, b, -product);
}

// e + b, exactly.
Expansion grow(const Expansion& e, double b) {
    Expansion h;
    h.reserve(e.size() + 1);
    double q = b;
    for (double component : e) {
        double sum, error;
        twoSum(q, component, sum, error);
        if (error != 0) h.push_back(error);
        q = sum;
    }
    if (q != 0 || h.empty()) h.push_back(q);
    return h;
}

Expansion add(const Expansion& e, const Expansion& f) {
    Expansion h = e;
    for (double component : f) h = grow(h, component);
    return h;
}

Expansion negate(Expansion e) {
    for (double& component : e) component = -component;
    return e;
}

// e * b, exactly.
Expansion scale(const Expansion& e, double b) {
    Expansion h{0.0};
    for (double component : e) {
        double product, error;
        twoProduct(component, b, product, error);
        h = grow(h, error);
        h = grow(h, product);
    }
    return h;
}

Expansion multiply(const Expansion& e, const Expansion& f) {
    Expansion h{0.0};
    for (double component : f) h = add(h, scale(e, component));
    return h;
}

Expansion difference(double a, double b) {
    double sum, error;
    twoSum(a, -b, sum, error);
    return grow(Expansion{error}, sum);
}

int sign(const Expansion& e) {
    for (auto it = e.rbegin(); it != e.rend(); ++it) {
        if (*it > 0) return 1;
        if (*it < 0) return -1;
    }
    return 0;
}

}  // namespace

int orientationExact(double ax, double ay, double bx, double by, double cx, double cy) {
    // (a - c) x (b - c) with every difference and product kept exact.
    const Expansion acx = difference(ax, cx), acy = difference(ay, cy);
    const Expansion bcx = difference(bx, cx), bcy = difference(by, cy);
    return sign(add(multiply(acx, bcy), negate(multiply(acy, bcx))));
}

int inCircleExact(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
    const Expansion adx = difference(ax, dx), ady = difference(ay, dy);
    const Expansion bdx = difference(bx, dx), bdy = difference(by, dy);
    const Expansion cdx = difference(cx, dx), cdy = difference(cy, dy);
    const Expansion aLift = add(multiply(adx, adx), multiply(ady, ady));
    const Expansion bLift = add(multiply(bdx, bdx), multiply(bdy, bdy));
    const Expansion cLift = add(multiply(cdx, cdx), multiply(cdy, cdy));
    const Expansion bc = add(multiply(bdx, cdy), negate(multiply(cdx, bdy)));
    const Expansion ca = add(multiply(cdx, ady), negate(multiply(adx, cdy)));
    const Expansion ab = add(multiply(adx, bdy), negate(multiply(bdx, ady)));
    return sign(add(add(multiply(aLift, bc), multiply(bLift, ca)), multiply(cLift, ab)));
}

}  // namespace tz::terrain::exact
