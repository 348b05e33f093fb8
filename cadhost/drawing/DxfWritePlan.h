// The handles of everything a DXF file holds besides the drawing's own
// entities, decided before writing starts (the header names the next free
// handle). Internal to the DXF writer.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "drawing/Drawing.h"
#include "drawing/DxfOutput.h"
#include "drawing/DxfWriter.h"

namespace tz::cad {

struct DxfWritePlan {
    explicit DxfWritePlan(const Drawing& drawing);

    uint64_t nextHandle;  // $HANDSEED once the plan is made

    uint64_t vportTable, linetypeTable, layerTable, styleTable, viewTable, ucsTable, appidTable, dimstyleTable,
        blockRecordTable;
    uint64_t activeViewport, standardDimstyle;
    std::vector<uint64_t> linetypes, layers, styles, appids;
    std::vector<std::wstring> appNames;  // ACAD, then those extended data names

    uint64_t modelRecord, paperRecord;
    uint64_t modelBegin, modelEnd, paperBegin, paperEnd;
    std::vector<std::pair<uint64_t, uint64_t>> blockBeginEnd;  // per user block, in the drawing's order

    uint64_t rootDictionary, groupDictionary, layoutDictionary, mlineStyleDictionary, plotSettingsDictionary,
        plotStyleDictionary, plotStylePlaceholder, modelLayout, paperLayout, standardMlineStyle;

private:
    uint64_t allocate() { return nextHandle++; }
};

// The parts of the file other than blocks and entities (DxfWriterTables.cpp).
void writeHeaderSection(DxfOutput& out, const Drawing& drawing, const DxfWritePlan& plan,
                        const HeaderValues& overrides);
void writeClassesSection(DxfOutput& out);
void writeTablesSection(DxfOutput& out, const Drawing& drawing, const DxfWritePlan& plan);
void writeObjectsSection(DxfOutput& out, const DxfWritePlan& plan);

}  // namespace tz::cad
