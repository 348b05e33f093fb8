#include "ProfileCutter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ArcStations.h"

namespace tz::terrain::profile {

namespace {

class Walk {
public:
    Walk(const EdgeCrossingFinder& finder, double startStation, std::vector<ProfileSample>& samples)
        : finder_(finder), station_(startStation), samples_(samples) {}

    void straight(const Point3& from, const Point3& to) {
        found_.clear();
        finder_.crossings(from, to, found_);
        for (const EdgeCrossing& c : found_)
            samples_.push_back({station_ + tz::geom::distance(from, c.point), c.elevation});
        station_ += tz::geom::distance(from, to);
    }

    void arc(const ArcStations& arc, const Point3& from, const Point3& to) {
        Point3 chordStart = from;
        const std::int64_t points = arc.chordPointCount();
        for (std::int64_t k = 1; k <= points + 1; ++k) {
            const Point3 chordEnd = k <= points ? arc.chordPoint(k) : to;
            found_.clear();
            finder_.crossings(chordStart, chordEnd, found_);
            for (const EdgeCrossing& c : found_)
                samples_.push_back({station_ + arc.distanceAlong(c.point), c.elevation});
            chordStart = chordEnd;
        }
        station_ += arc.length();
    }

private:
    const EdgeCrossingFinder& finder_;
    double station_;
    std::vector<ProfileSample>& samples_;
    std::vector<EdgeCrossing> found_;
};

}  // namespace

ProfileCut cutProfile(const Alignment& alignment, double startStation, const EdgeCrossingFinder& finder) {
    ProfileCut cut;
    const auto& v = alignment.vertices;
    // Refuse before cutting anything, so that a refused cut leaves no partial
    // profile. Arcs are walked one drawing unit at a time, so what bounds
    // the work is their length in all.
    double arcsLength = 0;
    for (std::size_t i = 1; i < v.size(); ++i) {
        const double bulge = v[i - 1].bulge;
        if (cutStraight(bulge)) continue;
        const ArcStations arc({v[i - 1].x, v[i - 1].y, 0}, {v[i].x, v[i].y, 0}, bulge);
        arcsLength += arc.length();
        if (!(arcsLength <= kMaxArcLength)) {
            cut.status = CutStatus::unusableArc;
            return cut;
        }
    }
    Walk walk(finder, startStation, cut.samples);
    for (std::size_t i = 1; i < v.size(); ++i) {
        const Point3 from{v[i - 1].x, v[i - 1].y, 0};
        const Point3 to{v[i].x, v[i].y, 0};
        const double bulge = v[i - 1].bulge;
        if (cutStraight(bulge))
            walk.straight(from, to);
        else
            walk.arc(ArcStations(from, to, bulge), from, to);
    }
    return cut;
}

std::vector<ProfileSample> sortedByStation(std::vector<ProfileSample> samples) {
    std::stable_sort(samples.begin(), samples.end(),
                     [](const ProfileSample& a, const ProfileSample& b) { return a.station < b.station; });
    return samples;
}

std::string profileText(const std::vector<ProfileSample>& samples) {
    std::string text;
    char line[1024];
    for (const ProfileSample& s : samples) {
        const int n = std::snprintf(line, sizeof line, "%lf %lf\n", s.station, s.elevation);
        if (n > 0 && static_cast<std::size_t>(n) < sizeof line) {
            text.append(line, static_cast<std::size_t>(n));
        } else {
            std::string big(static_cast<std::size_t>(n) + 1, '\0');
            std::snprintf(big.data(), big.size(), "%lf %lf\n", s.station, s.elevation);
            big.resize(static_cast<std::size_t>(n));
            text += big;
        }
    }
    return text;
}

}  // namespace tz::terrain::profile
