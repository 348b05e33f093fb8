#include "drawing/DxfEntityLayout.h"

namespace tz::cad {

namespace {

DxfSubclass subclass(const char* marker, std::initializer_list<int> codes) {
    DxfSubclass result{marker, {}};
    for (int code : codes) result.items.push_back({{code}, false});
    return result;
}

const DxfSubclass kEntity = subclass("AcDbEntity", {67, 8, 6, 62, 370, 48, 60, 420, 440});
const DxfSubclass kPoint = subclass("AcDbPoint", {10, 39, 210, 50});
const DxfSubclass kLine = subclass("AcDbLine", {39, 10, 11, 210});
const DxfSubclass kFace = subclass("AcDbFace", {10, 11, 12, 13, 70});
const DxfSubclass kCircle = subclass("AcDbCircle", {39, 10, 40, 210});
const DxfSubclass kArc = subclass("AcDbArc", {50, 51});
const DxfSubclass kText = subclass("AcDbText", {39, 10, 40, 1, 50, 41, 51, 7, 71, 72, 11, 210});
const DxfSubclass kTextEnd = subclass("AcDbText", {73});
const DxfSubclass kAttribute = subclass("AcDbAttribute", {2, 70, 73, 74});
const DxfSubclass kAttributeDefinition = subclass("AcDbAttributeDefinition", {3, 2, 70, 73, 74});
const DxfSubclass kMText = subclass("AcDbMText", {10, 40, 41, 71, 72, 1, 7, 210, 11, 42, 43, 50, 73, 44});
const DxfSubclass kLightweightPolyline{
    "AcDbPolyline",
    {{{90}}, {{70}}, {{43}}, {{38}}, {{39}}, {{10, 40, 41, 42}, true}, {{210}}}};
const std::initializer_list<int> kPolylineCodes = {66, 10, 39, 70, 40, 41, 71, 72, 73, 74, 75, 210};
const DxfSubclass k2dPolyline = subclass("AcDb2dPolyline", kPolylineCodes);
const DxfSubclass k3dPolyline = subclass("AcDb3dPolyline", kPolylineCodes);
const DxfSubclass kPolygonMesh = subclass("AcDbPolygonMesh", kPolylineCodes);
const DxfSubclass kPolyFaceMesh = subclass("AcDbPolyFaceMesh", kPolylineCodes);
const DxfSubclass kVertex = subclass("AcDbVertex", {});
const DxfSubclass k2dVertex = subclass("AcDb2dVertex", {10, 40, 41, 42, 70, 50});
const DxfSubclass k3dVertex = subclass("AcDb3dPolylineVertex", {10, 70});
const DxfSubclass kMeshVertex = subclass("AcDbPolygonMeshVertex", {10, 70});
const DxfSubclass kFaceMeshVertex = subclass("AcDbPolyFaceMeshVertex", {10, 70, 71, 72, 73, 74});
const DxfSubclass kFaceRecord = subclass("AcDbFaceRecord", {10, 70, 71, 72, 73, 74});
const DxfSubclass kBlockReference = subclass("AcDbBlockReference", {66, 2, 10, 41, 42, 43, 50, 70, 71, 44, 45, 210});
const DxfSubclass kLeader{"AcDbLeader",
                          {{{3}}, {{71}}, {{72}}, {{73}}, {{74}}, {{75}}, {{40}}, {{41}}, {{76}}, {{10}}, {{77}},
                           {{340}}, {{210}}, {{211}}, {{212}}, {{213}}}};

}  // namespace

const DxfSubclass& entitySubclass() { return kEntity; }

std::vector<const DxfSubclass*> entitySubclasses(const Entity& entity) {
    const std::wstring& type = entity.type;
    const int64_t flags = groupInt(entity.data, 70).value_or(0);
    if (type == L"POINT") return {&kPoint};
    if (type == L"LINE") return {&kLine};
    if (type == L"3DFACE") return {&kFace};
    if (type == L"CIRCLE") return {&kCircle};
    if (type == L"ARC") return {&kCircle, &kArc};
    if (type == L"TEXT") return {&kText, &kTextEnd};
    if (type == L"ATTRIB") return {&kText, &kAttribute};
    if (type == L"ATTDEF") return {&kText, &kAttributeDefinition};
    if (type == L"MTEXT") return {&kMText};
    if (type == L"LWPOLYLINE") return {&kLightweightPolyline};
    if (type == L"POLYLINE") {
        if (flags & 8) return {&k3dPolyline};
        if (flags & 16) return {&kPolygonMesh};
        if (flags & 64) return {&kPolyFaceMesh};
        return {&k2dPolyline};
    }
    if (type == L"VERTEX") {
        if (flags & 32) return {&kVertex, &k3dVertex};
        if ((flags & 128) && (flags & 64)) return {&kVertex, &kFaceMeshVertex};
        if (flags & 128) return {&kFaceRecord};
        if (flags & 64) return {&kVertex, &kMeshVertex};
        return {&kVertex, &k2dVertex};
    }
    if (type == L"INSERT") return {&kBlockReference};
    if (type == L"LEADER") return {&kLeader};
    return {};
}

}  // namespace tz::cad
