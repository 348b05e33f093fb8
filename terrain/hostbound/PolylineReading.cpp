#include "PolylineReading.h"

#include <string>

#include "arxHeaders.h"

namespace tz::terrain::hostbound {

using tz::terrain::profile::Alignment;
using tz::terrain::profile::AlignmentVertex;

namespace {

// An entity's data list, released when it goes out of scope.
class EntityData {
public:
    explicit EntityData(const ads_name entity) : list_(acdbEntGet(entity)) {}
    ~EntityData() {
        if (list_ != nullptr) acutRelRb(list_);
    }
    EntityData(const EntityData&) = delete;
    EntityData& operator=(const EntityData&) = delete;

    const resbuf* head() const { return list_; }

    const resbuf* find(int code) const {
        for (const resbuf* rb = list_; rb != nullptr; rb = rb->rbnext)
            if (rb->restype == code) return rb;
        return nullptr;
    }

    // The entity's type name (group 0), empty when there is none.
    std::wstring type() const {
        const resbuf* rb = find(0);
        return rb != nullptr && rb->resval.rstring != nullptr ? rb->resval.rstring : L"";
    }

private:
    resbuf* list_;
};

bool isClosed(const EntityData& data) {
    const resbuf* flags = data.find(70);
    return flags != nullptr && (flags->resval.rint & 1) != 0;
}

// LWPOLYLINE: each group 10 opens a vertex and the group 42 after it
// completes it. The host lists a bulge for every vertex; should one be
// missing, the next vertex (or the end of the list) completes the open one
// as a straight segment rather than dropping it.
Alignment lightweightVertices(const EntityData& data) {
    Alignment alignment;
    alignment.closed = isClosed(data);
    bool open = false;
    AlignmentVertex vertex;
    for (const resbuf* rb = data.head(); rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == 10) {
            if (open) alignment.vertices.push_back(vertex);
            vertex = {rb->resval.rpoint[X], rb->resval.rpoint[Y], 0.0};
            open = true;
        } else if (rb->restype == 42 && open) {
            vertex.bulge = rb->resval.rreal;
            alignment.vertices.push_back(vertex);
            open = false;
        }
    }
    if (open) alignment.vertices.push_back(vertex);
    return alignment;
}

// POLYLINE: the VERTEX entities after the header, up to its SEQEND (or
// whatever else ends the run of vertices). False when the header is not
// followed by a VERTEX.
bool heavyVertices(const ads_name header, Alignment& alignment) {
    ads_name current;
    ads_name_set(header, current);
    bool first = true;
    for (;;) {
        ads_name next;
        if (acdbEntNext(current, next) != RTNORM) return !first;  // the drawing ended without a SEQEND
        const EntityData data(next);
        if (data.type() != L"VERTEX") return !first;
        const resbuf* position = data.find(10);
        const resbuf* bulge = data.find(42);
        AlignmentVertex vertex;
        if (position != nullptr) {
            vertex.x = position->resval.rpoint[X];
            vertex.y = position->resval.rpoint[Y];
        }
        vertex.bulge = bulge != nullptr ? bulge->resval.rreal : 0.0;
        alignment.vertices.push_back(vertex);
        first = false;
        ads_name_set(next, current);
    }
}

}  // namespace

std::optional<PickedPolyline> pickPolyline(const ACHAR* prompt) {
    PickedPolyline picked;
    ads_point pickPoint;
    if (acedEntSel(prompt, picked.entity, pickPoint) != RTNORM) {
        acutPrintf(_T("\nNothing selected!"));
        return std::nullopt;
    }
    const EntityData data(picked.entity);
    const std::wstring type = data.type();
    if (type != L"LWPOLYLINE" && type != L"POLYLINE") {
        acutPrintf(_T("\nYou must select a polyline!"));
        return std::nullopt;
    }
    picked.lightweight = type == L"LWPOLYLINE";
    return picked;
}

double askStartingStation(const ACHAR* prompt) {
    ads_real station = 0;
    if (acedGetReal(prompt, &station) != RTNORM) return 0.0;
    return station;
}

int reportUnreadableAlignment() {
    acutPrintf(_T("\nUnable to extract profile!"));
    return RTERROR;
}

std::optional<Alignment> alignmentOf(const PickedPolyline& polyline) {
    const EntityData data(polyline.entity);
    std::optional<Alignment> alignment;
    if (data.head() != nullptr) {
        if (polyline.lightweight) {
            alignment = lightweightVertices(data);
        } else {
            Alignment vertices;
            vertices.closed = isClosed(data);
            if (heavyVertices(polyline.entity, vertices)) alignment = std::move(vertices);
        }
    }
    return alignment;
}

}  // namespace tz::terrain::hostbound
