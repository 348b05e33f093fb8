#include "drawing/DxfWriter.h"

#include <algorithm>
#include <set>

#include "drawing/DxfEntityLayout.h"
#include "drawing/DxfOutput.h"
#include "drawing/DxfText.h"
#include "drawing/DxfWritePlan.h"
#include "drawing/EntityRules.h"

namespace tz::cad {

namespace {

constexpr size_t kMtextChunk = 250;  // characters per MTEXT text line of an AutoCAD 2000 file

void collectApplicationNames(const Entity& entity, std::set<std::wstring>& names) {
    for (const Group& group : entity.data) {
        if (group.code != 1001) continue;
        if (const auto* name = std::get_if<std::wstring>(&group.value)) names.insert(upperCase(*name));
    }
    if (!entity.fileGroups) return;
    for (const auto& [code, text] : *entity.fileGroups) {
        if (code == 1001) names.insert(upperCase(text));
    }
}

// MTEXT's text: 3 groups of at most 250 written characters, the rest in 1.
// Each part is written as it stands within the whole text: readers join the
// parts before they read escapes, so a caret or a backslash at the end of
// a part must be written for what follows it in the next.
void writeMtextText(DxfOutput& out, const std::wstring& text) {
    size_t start = 0;
    for (;;) {
        size_t length = 0;
        size_t end = start;
        while (end < text.size()) {
            const size_t written = encodedLength(text, end);
            if (length + written > kMtextChunk) break;
            length += written;
            ++end;
        }
        if (end >= text.size()) {
            out.text(1, text, start, text.size());
            return;
        }
        out.text(3, text, start, end);
        start = end;
    }
}

class EntityWriter {
public:
    EntityWriter(DxfOutput& out, const Drawing& drawing) : out_(out), drawing_(drawing) {}

    void write(const Entity& entity, uint64_t owner) {
        out_.text(0, entity.type);
        out_.handle(5, entity.handle);
        out_.handle(330, owner);
        if (entity.verbatim) {
            if (entity.fileGroups) {
                for (const auto& [code, text] : *entity.fileGroups) out_.text(code, text);
            }
            return;
        }
        out_.ascii(100, entitySubclass().marker);
        writeItems(entity, entitySubclass());
        for (const DxfSubclass* subclass : entitySubclasses(entity)) {
            out_.ascii(100, subclass->marker);
            writeItems(entity, *subclass);
        }
        for (const Group& group : entity.data) {
            if (group.code >= 1000) out_.group(group);
        }
        for (uint64_t handle : entity.subEntities) {
            if (const Entity* sub = drawing_.find(handle)) write(*sub, entity.handle);
        }
    }

private:
    void writeItems(const Entity& entity, const DxfSubclass& subclass) {
        for (const DxfLayoutItem& item : subclass.items) {
            for (const Group& group : entity.data) {
                if (std::find(item.codes.begin(), item.codes.end(), group.code) == item.codes.end()) continue;
                if (entity.type == L"MTEXT" && group.code == 1) {
                    writeMtextText(out_, std::get<std::wstring>(group.value));
                } else if (const auto* reference = std::get_if<HandleRef>(&group.value)) {
                    // A reference to an entity that is not written would dangle.
                    const Entity* target = drawing_.find(reference->handle);
                    if (target != nullptr && !target->erased) out_.group(group);
                } else {
                    out_.group(group, item.planar);
                }
            }
        }
    }

    DxfOutput& out_;
    const Drawing& drawing_;
};

bool inPaperSpace(const Entity& entity) { return groupInt(entity.data, 67).value_or(0) == 1; }

void writeBlockBoundary(DxfOutput& out, const char* type, uint64_t handle, uint64_t record, bool paper,
                        const std::wstring& layer) {
    out.ascii(0, type);
    out.handle(5, handle);
    out.handle(330, record);
    out.ascii(100, "AcDbEntity");
    if (paper) out.integer(67, 1);
    out.text(8, layer);
}

void writeBlockBegin(DxfOutput& out, uint64_t handle, uint64_t record, bool paper, const std::wstring& name,
                     const GroupList& header) {
    writeBlockBoundary(out, "BLOCK", handle, record, paper, groupString(header, 8).value_or(L"0"));
    out.ascii(100, "AcDbBlockBegin");
    out.text(2, name);
    out.integer(70, groupInt(header, 70).value_or(0));
    out.point(10, groupPoint(header, 10).value_or(Point3{}));
    out.text(3, name);
    out.text(1, groupString(header, 1).value_or(L""));
    if (std::optional<std::wstring> description = groupString(header, 4)) out.text(4, *description);
}

void writeBlocksSection(DxfOutput& out, const Drawing& drawing, const DxfWritePlan& plan) {
    out.ascii(0, "SECTION");
    out.ascii(2, "BLOCKS");
    const GroupList spaceHeader = {stringGroup(8, L"0")};
    writeBlockBegin(out, plan.modelBegin, plan.modelRecord, false, L"*Model_Space", spaceHeader);
    writeBlockBoundary(out, "ENDBLK", plan.modelEnd, plan.modelRecord, false, L"0");
    out.ascii(100, "AcDbBlockEnd");
    writeBlockBegin(out, plan.paperBegin, plan.paperRecord, true, L"*Paper_Space", spaceHeader);
    writeBlockBoundary(out, "ENDBLK", plan.paperEnd, plan.paperRecord, true, L"0");
    out.ascii(100, "AcDbBlockEnd");
    EntityWriter writer(out, drawing);
    for (size_t i = 0; i < drawing.blocks().size(); ++i) {
        const BlockDefinition& block = drawing.blocks()[i];
        writeBlockBegin(out, plan.blockBeginEnd[i].first, block.recordHandle, false, block.name, block.header);
        for (uint64_t handle : block.entities) {
            const Entity* entity = drawing.find(handle);
            if (entity != nullptr && !entity->erased) writer.write(*entity, block.recordHandle);
        }
        writeBlockBoundary(out, "ENDBLK", plan.blockBeginEnd[i].second, block.recordHandle, false,
                           groupString(block.header, 8).value_or(L"0"));
        out.ascii(100, "AcDbBlockEnd");
    }
    out.ascii(0, "ENDSEC");
}

void writeEntitiesSection(DxfOutput& out, const Drawing& drawing, const DxfWritePlan& plan) {
    out.ascii(0, "SECTION");
    out.ascii(2, "ENTITIES");
    EntityWriter writer(out, drawing);
    for (uint64_t handle : drawing.entityOrder()) {
        const Entity* entity = drawing.find(handle);
        if (entity == nullptr || entity->erased) continue;
        writer.write(*entity, inPaperSpace(*entity) ? plan.paperRecord : plan.modelRecord);
    }
    out.ascii(0, "ENDSEC");
}

}  // namespace

DxfWritePlan::DxfWritePlan(const Drawing& drawing) : nextHandle(drawing.handleSeed()) {
    vportTable = allocate();
    linetypeTable = allocate();
    layerTable = allocate();
    styleTable = allocate();
    viewTable = allocate();
    ucsTable = allocate();
    appidTable = allocate();
    dimstyleTable = allocate();
    blockRecordTable = allocate();
    activeViewport = allocate();
    standardDimstyle = allocate();
    for (size_t i = 0; i < drawing.linetypes().size(); ++i) linetypes.push_back(allocate());
    for (size_t i = 0; i < drawing.layers().size(); ++i) layers.push_back(allocate());
    for (size_t i = 0; i < drawing.textStyles().size(); ++i) styles.push_back(allocate());

    std::set<std::wstring> names;
    auto collect = [&](uint64_t handle) {
        const Entity* entity = drawing.find(handle);
        if (entity == nullptr || entity->erased) return;
        collectApplicationNames(*entity, names);
        for (uint64_t sub : entity->subEntities) {
            if (const Entity* part = drawing.find(sub)) collectApplicationNames(*part, names);
        }
    };
    for (uint64_t handle : drawing.entityOrder()) collect(handle);
    for (const BlockDefinition& block : drawing.blocks()) {
        for (uint64_t handle : block.entities) collect(handle);
    }
    names.erase(L"ACAD");
    appNames.push_back(L"ACAD");
    for (const std::wstring& name : names) {
        if (isValidSymbolName(name)) appNames.push_back(name);
    }
    for (size_t i = 0; i < appNames.size(); ++i) appids.push_back(allocate());

    modelRecord = allocate();
    paperRecord = allocate();
    modelBegin = allocate();
    modelEnd = allocate();
    paperBegin = allocate();
    paperEnd = allocate();
    for (size_t i = 0; i < drawing.blocks().size(); ++i) {
        const uint64_t begin = allocate();
        blockBeginEnd.emplace_back(begin, allocate());
    }
    rootDictionary = allocate();
    groupDictionary = allocate();
    layoutDictionary = allocate();
    mlineStyleDictionary = allocate();
    plotSettingsDictionary = allocate();
    plotStyleDictionary = allocate();
    plotStylePlaceholder = allocate();
    modelLayout = allocate();
    paperLayout = allocate();
    standardMlineStyle = allocate();
}

void writeDxf(const Drawing& drawing, std::ostream& out, const HeaderValues& overrides) {
    const DxfWritePlan plan(drawing);
    DxfOutput output(out);
    writeHeaderSection(output, drawing, plan, overrides);
    writeClassesSection(output);
    writeTablesSection(output, drawing, plan);
    writeBlocksSection(output, drawing, plan);
    writeEntitiesSection(output, drawing, plan);
    writeObjectsSection(output, plan);
    output.ascii(0, "EOF");
    output.flush();
}

}  // namespace tz::cad
