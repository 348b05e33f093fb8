// The header, classes, tables and objects of an AutoCAD 2000 DXF file.
#include <algorithm>
#include <cmath>

#include "drawing/DxfWritePlan.h"
#include "drawing/EntityGeometry.h"

namespace tz::cad {

namespace {

struct HeaderVariable {
    const wchar_t* name;
    GroupList value;
    bool planar = false;  // 2D points
};

// The variables written, with the values of a new drawing. A value the
// drawing read from a file, or the session's, takes their place when it has
// the same form.
std::vector<HeaderVariable> headerDefaults() {
    const double big = 1e20;
    return {
        {L"$ACADVER", {stringGroup(1, L"AC1015")}},
        {L"$DWGCODEPAGE", {stringGroup(3, L"ANSI_1252")}},
        {L"$INSBASE", {pointGroup(10, {})}},
        {L"$EXTMIN", {pointGroup(10, {big, big, big})}},
        {L"$EXTMAX", {pointGroup(10, {-big, -big, -big})}},
        {L"$LIMMIN", {pointGroup(10, {})}, true},
        {L"$LIMMAX", {pointGroup(10, {420, 297, 0})}, true},
        {L"$ORTHOMODE", {intGroup(70, 0)}},
        {L"$REGENMODE", {intGroup(70, 1)}},
        {L"$FILLMODE", {intGroup(70, 1)}},
        {L"$QTEXTMODE", {intGroup(70, 0)}},
        {L"$MIRRTEXT", {intGroup(70, 1)}},
        {L"$LTSCALE", {realGroup(40, 1.0)}},
        {L"$ATTMODE", {intGroup(70, 1)}},
        {L"$TEXTSIZE", {realGroup(40, 2.5)}},
        {L"$TRACEWID", {realGroup(40, 1.0)}},
        {L"$TEXTSTYLE", {stringGroup(7, L"Standard")}},
        {L"$CLAYER", {stringGroup(8, L"0")}},
        {L"$CELTYPE", {stringGroup(6, L"ByLayer")}},
        {L"$CECOLOR", {intGroup(62, 256)}},
        {L"$CELTSCALE", {realGroup(40, 1.0)}},
        {L"$DIMSCALE", {realGroup(40, 1.0)}},
        {L"$DIMASZ", {realGroup(40, 2.5)}},
        {L"$DIMTXT", {realGroup(40, 2.5)}},
        {L"$DIMGAP", {realGroup(40, 0.625)}},
        {L"$DIMSTYLE", {stringGroup(2, L"Standard")}},
        {L"$LUNITS", {intGroup(70, 2)}},
        {L"$LUPREC", {intGroup(70, 4)}},
        {L"$AUNITS", {intGroup(70, 0)}},
        {L"$AUPREC", {intGroup(70, 0)}},
        {L"$MENU", {stringGroup(1, L".")}},
        {L"$ELEVATION", {realGroup(40, 0.0)}},
        {L"$THICKNESS", {realGroup(40, 0.0)}},
        {L"$ANGBASE", {realGroup(50, 0.0)}},
        {L"$ANGDIR", {intGroup(70, 0)}},
        {L"$PDMODE", {intGroup(70, 0)}},
        {L"$PDSIZE", {realGroup(40, 0.0)}},
        {L"$PLINEWID", {realGroup(40, 0.0)}},
        {L"$HANDSEED", {stringGroup(5, L"0")}},
        {L"$UCSORG", {pointGroup(10, {})}},
        {L"$UCSXDIR", {pointGroup(10, {1, 0, 0})}},
        {L"$UCSYDIR", {pointGroup(10, {0, 1, 0})}},
        {L"$TILEMODE", {intGroup(70, 1)}},
        {L"$MAXACTVP", {intGroup(70, 64)}},
        {L"$PINSBASE", {pointGroup(10, {})}},
        {L"$PLIMMIN", {pointGroup(10, {})}, true},
        {L"$PLIMMAX", {pointGroup(10, {420, 297, 0})}, true},
        {L"$UNITMODE", {intGroup(70, 0)}},
        {L"$VISRETAIN", {intGroup(70, 1)}},
        {L"$PLINEGEN", {intGroup(70, 0)}},
        {L"$PSLTSCALE", {intGroup(70, 1)}},
        {L"$CMLSTYLE", {stringGroup(2, L"Standard")}},
        {L"$CMLJUST", {intGroup(70, 0)}},
        {L"$CMLSCALE", {realGroup(40, 20.0)}},
        {L"$MEASUREMENT", {intGroup(70, 1)}},
        {L"$CELWEIGHT", {intGroup(370, -1)}},
        {L"$ENDCAPS", {intGroup(280, 0)}},
        {L"$JOINSTYLE", {intGroup(280, 0)}},
        {L"$LWDISPLAY", {intGroup(290, 0)}},
        {L"$INSUNITS", {intGroup(70, 0)}},
        {L"$PSTYLEMODE", {intGroup(290, 1)}},
        {L"$EXTNAMES", {intGroup(290, 1)}},
    };
}

bool sameForm(const GroupList& candidate, const GroupList& model) {
    if (candidate.size() != model.size()) return false;
    for (size_t i = 0; i < model.size(); ++i) {
        if (candidate[i].code != model[i].code || candidate[i].value.index() != model[i].value.index()) return false;
    }
    return true;
}

void writeTableHead(DxfOutput& out, const char* name, uint64_t handle, size_t count) {
    out.ascii(0, "TABLE");
    out.ascii(2, name);
    out.handle(5, handle);
    out.handle(330, 0);
    out.ascii(100, "AcDbSymbolTable");
    out.integer(70, static_cast<int64_t>(count));
}

void writeRecordHead(DxfOutput& out, const char* type, uint64_t handle, uint64_t table, const char* subclass,
                     int handleCode = 5) {
    out.ascii(0, type);
    out.handle(handleCode, handle);
    out.handle(330, table);
    out.ascii(100, "AcDbSymbolTableRecord");
    out.ascii(100, subclass);
}

void writeViewportTable(DxfOutput& out, const DxfWritePlan& plan, const std::optional<Extents>& extents) {
    writeTableHead(out, "VPORT", plan.vportTable, 1);
    writeRecordHead(out, "VPORT", plan.activeViewport, plan.vportTable, "AcDbViewportTableRecord");
    out.ascii(2, "*Active");
    out.integer(70, 0);
    out.point(10, {0, 0, 0}, true);
    out.point(11, {1, 1, 0}, true);
    // The view shows the drawing's extents, as after a zoom to extents.
    Point3 centre{0, 0, 0};
    double height = 1000;
    if (extents) {
        centre = {(extents->min.x + extents->max.x) / 2, (extents->min.y + extents->max.y) / 2, 0};
        height = std::max({extents->max.y - extents->min.y, (extents->max.x - extents->min.x) / 1.34, 1e-6}) * 1.1;
    }
    out.point(12, centre, true);
    out.point(13, {0, 0, 0}, true);
    out.point(14, {0.5, 0.5, 0}, true);
    out.point(15, {0.5, 0.5, 0}, true);
    out.point(16, {0, 0, 1});
    out.point(17, {0, 0, 0});
    out.real(40, height);
    out.real(41, 1.34);
    out.real(42, 50);
    out.real(43, 0);
    out.real(44, 0);
    out.real(50, 0);
    out.real(51, 0);
    out.integer(71, 0);
    out.integer(72, 1000);
    out.integer(73, 1);
    out.integer(74, 3);
    out.integer(75, 0);
    out.integer(76, 0);
    out.integer(77, 0);
    out.integer(78, 0);
    out.ascii(0, "ENDTAB");
}

void writeRecords(DxfOutput& out, const char* type, const char* subclass, uint64_t table,
                  const std::vector<TableRecord>& records, const std::vector<uint64_t>& handles) {
    writeTableHead(out, type, table, records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        writeRecordHead(out, type, handles[i], table, subclass);
        out.text(2, records[i].name);
        for (const Group& group : records[i].data) out.group(group);
    }
    out.ascii(0, "ENDTAB");
}

void writeLayerTable(DxfOutput& out, const Drawing& drawing, const DxfWritePlan& plan) {
    writeTableHead(out, "LAYER", plan.layerTable, drawing.layers().size());
    for (size_t i = 0; i < drawing.layers().size(); ++i) {
        const Layer& layer = drawing.layers()[i];
        writeRecordHead(out, "LAYER", plan.layers[i], plan.layerTable, "AcDbLayerTableRecord");
        out.text(2, layer.name);
        out.integer(70, layer.flags);
        out.integer(62, layer.color);
        out.text(6, layer.linetype);
        out.integer(370, layer.lineweight);
        out.handle(390, plan.plotStylePlaceholder);
    }
    out.ascii(0, "ENDTAB");
}

void writeDimstyleTable(DxfOutput& out, const DxfWritePlan& plan) {
    writeTableHead(out, "DIMSTYLE", plan.dimstyleTable, 1);
    out.ascii(100, "AcDbDimStyleTable");
    writeRecordHead(out, "DIMSTYLE", plan.standardDimstyle, plan.dimstyleTable, "AcDbDimStyleTableRecord", 105);
    out.ascii(2, "Standard");
    out.integer(70, 0);
    out.real(40, 1.0);     // DIMSCALE
    out.real(41, 2.5);     // DIMASZ
    out.real(42, 0.625);   // DIMEXO
    out.real(43, 3.75);    // DIMDLI
    out.real(44, 1.25);    // DIMEXE
    out.real(140, 2.5);    // DIMTXT
    out.real(141, 2.5);    // DIMCEN
    out.real(147, 0.625);  // DIMGAP
    out.integer(77, 1);    // DIMTAD
    out.integer(78, 8);    // DIMZIN
    out.integer(271, 2);   // DIMDEC
    out.handle(340, plan.styles.front());  // DIMTXSTY: Standard, the first style
    out.ascii(0, "ENDTAB");
}

void writeBlockRecordTable(DxfOutput& out, const Drawing& drawing, const DxfWritePlan& plan) {
    writeTableHead(out, "BLOCK_RECORD", plan.blockRecordTable, 2 + drawing.blocks().size());
    writeRecordHead(out, "BLOCK_RECORD", plan.modelRecord, plan.blockRecordTable, "AcDbBlockTableRecord");
    out.ascii(2, "*Model_Space");
    out.handle(340, plan.modelLayout);
    writeRecordHead(out, "BLOCK_RECORD", plan.paperRecord, plan.blockRecordTable, "AcDbBlockTableRecord");
    out.ascii(2, "*Paper_Space");
    out.handle(340, plan.paperLayout);
    for (const BlockDefinition& block : drawing.blocks()) {
        writeRecordHead(out, "BLOCK_RECORD", block.recordHandle, plan.blockRecordTable, "AcDbBlockTableRecord");
        out.text(2, block.name);
    }
    out.ascii(0, "ENDTAB");
}

void writeDictionaryHead(DxfOutput& out, const char* type, uint64_t handle, uint64_t owner) {
    out.ascii(0, type);
    out.handle(5, handle);
    out.handle(330, owner);
    out.ascii(100, "AcDbDictionary");
    out.integer(281, 1);
}

void writeLayout(DxfOutput& out, uint64_t handle, uint64_t owner, const char* name, int flags, int tabOrder,
                 uint64_t blockRecord) {
    const double big = 1e20;
    out.ascii(0, "LAYOUT");
    out.handle(5, handle);
    out.ascii(102, "{ACAD_REACTORS");
    out.handle(330, owner);
    out.ascii(102, "}");
    out.handle(330, owner);
    out.ascii(100, "AcDbPlotSettings");
    out.ascii(1, "");
    out.ascii(2, "none_device");
    out.ascii(4, "");
    out.ascii(6, "");
    for (int code : {40, 41, 42, 43}) out.real(code, code % 2 == 0 ? 7.5 : 20.0);
    out.real(44, 420.0);
    out.real(45, 297.0);
    for (int code : {46, 47, 48, 49, 140, 141}) out.real(code, 0.0);
    out.real(142, 1.0);
    out.real(143, 1.0);
    out.integer(70, flags);
    out.integer(72, 1);
    out.integer(73, 0);
    out.integer(74, 5);
    out.ascii(7, "");
    out.integer(75, 16);
    out.real(147, 1.0);
    out.real(148, 0.0);
    out.real(149, 0.0);
    out.ascii(100, "AcDbLayout");
    out.ascii(1, name);
    out.integer(70, 1);
    out.integer(71, tabOrder);
    out.point(10, {0, 0, 0}, true);
    out.point(11, {420, 297, 0}, true);
    out.point(12, {0, 0, 0});
    out.point(14, {big, big, big});
    out.point(15, {-big, -big, -big});
    out.real(146, 0.0);
    out.point(13, {0, 0, 0});
    out.point(16, {1, 0, 0});
    out.point(17, {0, 1, 0});
    out.integer(76, 1);
    out.handle(330, blockRecord);
}

}  // namespace

void writeHeaderSection(DxfOutput& out, const Drawing& drawing, const DxfWritePlan& plan,
                        const HeaderValues& overrides) {
    const std::optional<Extents> extents = drawingExtents(drawing);
    out.ascii(0, "SECTION");
    out.ascii(2, "HEADER");
    for (const HeaderVariable& variable : headerDefaults()) {
        const std::wstring name = variable.name;
        GroupList value = variable.value;
        if (name == L"$HANDSEED") {
            value = {stringGroup(5, handleText(plan.nextHandle))};
        } else if (name == L"$EXTMIN" && extents) {
            value = {pointGroup(10, extents->min)};
        } else if (name == L"$EXTMAX" && extents) {
            value = {pointGroup(10, extents->max)};
        } else if (name != L"$ACADVER" && name != L"$DWGCODEPAGE" && name != L"$EXTMIN" && name != L"$EXTMAX") {
            if (auto own = drawing.header().find(name); own != drawing.header().end() && sameForm(own->second, value)) {
                value = own->second;
            }
            if (auto session = overrides.find(name); session != overrides.end() && sameForm(session->second, value)) {
                value = session->second;
            }
        }
        // Names in the header must name what the tables hold.
        if (name == L"$CLAYER" && !drawing.findLayer(std::get<std::wstring>(value[0].value))) value = variable.value;
        if (name == L"$TEXTSTYLE" && !Drawing::findRecord(drawing.textStyles(), std::get<std::wstring>(value[0].value))) {
            value = variable.value;
        }
        if (name == L"$CELTYPE" && !Drawing::findRecord(drawing.linetypes(), std::get<std::wstring>(value[0].value))) {
            value = variable.value;
        }
        if (name == L"$DIMSTYLE" || name == L"$CMLSTYLE") value = variable.value;
        out.ascii(9, std::string(name.begin(), name.end()));
        for (const Group& group : value) out.group(group, variable.planar);
    }
    out.ascii(0, "ENDSEC");
}

void writeClassesSection(DxfOutput& out) {
    out.ascii(0, "SECTION");
    out.ascii(2, "CLASSES");
    const char* classes[][2] = {{"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault"},
                                {"ACDBPLACEHOLDER", "AcDbPlaceHolder"},
                                {"LAYOUT", "AcDbLayout"}};
    for (const auto& entry : classes) {
        out.ascii(0, "CLASS");
        out.ascii(1, entry[0]);
        out.ascii(2, entry[1]);
        out.ascii(3, "ObjectDBX Classes");
        out.integer(90, 0);
        out.integer(280, 0);
        out.integer(281, 0);
    }
    out.ascii(0, "ENDSEC");
}

void writeTablesSection(DxfOutput& out, const Drawing& drawing, const DxfWritePlan& plan) {
    out.ascii(0, "SECTION");
    out.ascii(2, "TABLES");
    writeViewportTable(out, plan, drawingExtents(drawing));
    writeRecords(out, "LTYPE", "AcDbLinetypeTableRecord", plan.linetypeTable, drawing.linetypes(), plan.linetypes);
    writeLayerTable(out, drawing, plan);
    writeRecords(out, "STYLE", "AcDbTextStyleTableRecord", plan.styleTable, drawing.textStyles(), plan.styles);
    writeTableHead(out, "VIEW", plan.viewTable, 0);
    out.ascii(0, "ENDTAB");
    writeTableHead(out, "UCS", plan.ucsTable, 0);
    out.ascii(0, "ENDTAB");
    std::vector<TableRecord> applications;
    for (const std::wstring& name : plan.appNames) applications.push_back({name, {intGroup(70, 0)}});
    writeRecords(out, "APPID", "AcDbRegAppTableRecord", plan.appidTable, applications, plan.appids);
    writeDimstyleTable(out, plan);
    writeBlockRecordTable(out, drawing, plan);
    out.ascii(0, "ENDSEC");
}

void writeObjectsSection(DxfOutput& out, const DxfWritePlan& plan) {
    out.ascii(0, "SECTION");
    out.ascii(2, "OBJECTS");
    writeDictionaryHead(out, "DICTIONARY", plan.rootDictionary, 0);
    const std::pair<const char*, uint64_t> entries[] = {{"ACAD_GROUP", plan.groupDictionary},
                                                        {"ACAD_LAYOUT", plan.layoutDictionary},
                                                        {"ACAD_MLINESTYLE", plan.mlineStyleDictionary},
                                                        {"ACAD_PLOTSETTINGS", plan.plotSettingsDictionary},
                                                        {"ACAD_PLOTSTYLENAME", plan.plotStyleDictionary}};
    for (const auto& [name, handle] : entries) {
        out.ascii(3, name);
        out.handle(350, handle);
    }
    writeDictionaryHead(out, "DICTIONARY", plan.groupDictionary, plan.rootDictionary);
    writeDictionaryHead(out, "DICTIONARY", plan.layoutDictionary, plan.rootDictionary);
    out.ascii(3, "Model");
    out.handle(350, plan.modelLayout);
    out.ascii(3, "Layout1");
    out.handle(350, plan.paperLayout);
    writeDictionaryHead(out, "DICTIONARY", plan.mlineStyleDictionary, plan.rootDictionary);
    out.ascii(3, "Standard");
    out.handle(350, plan.standardMlineStyle);
    writeDictionaryHead(out, "DICTIONARY", plan.plotSettingsDictionary, plan.rootDictionary);
    writeDictionaryHead(out, "ACDBDICTIONARYWDFLT", plan.plotStyleDictionary, plan.rootDictionary);
    out.ascii(3, "Normal");
    out.handle(350, plan.plotStylePlaceholder);
    out.ascii(100, "AcDbDictionaryWithDefault");
    out.handle(340, plan.plotStylePlaceholder);
    out.ascii(0, "ACDBPLACEHOLDER");
    out.handle(5, plan.plotStylePlaceholder);
    out.handle(330, plan.plotStyleDictionary);
    writeLayout(out, plan.modelLayout, plan.layoutDictionary, "Model", 1024, 0, plan.modelRecord);
    writeLayout(out, plan.paperLayout, plan.layoutDictionary, "Layout1", 0, 1, plan.paperRecord);
    out.ascii(0, "MLINESTYLE");
    out.handle(5, plan.standardMlineStyle);
    out.ascii(102, "{ACAD_REACTORS");
    out.handle(330, plan.mlineStyleDictionary);
    out.ascii(102, "}");
    out.handle(330, plan.mlineStyleDictionary);
    out.ascii(100, "AcDbMlineStyle");
    out.ascii(2, "Standard");
    out.integer(70, 0);
    out.ascii(3, "");
    out.integer(62, 256);
    out.real(51, 90.0);
    out.real(52, 90.0);
    out.integer(71, 2);
    for (double offset : {0.5, -0.5}) {
        out.real(49, offset);
        out.integer(62, 256);
        out.ascii(6, "BYLAYER");
    }
    out.ascii(0, "ENDSEC");
}

}  // namespace tz::cad
