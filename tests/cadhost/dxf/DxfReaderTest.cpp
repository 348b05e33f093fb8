// Reading DXF files written by other programs, and refusing damaged ones.
#include "drawing/DxfReader.h"

#include <gtest/gtest.h>

#include <sstream>

#include "drawing/DxfWriter.h"

namespace tz::cad {
namespace {

// A DXF text from (code, value) pairs.
std::string dxf(std::initializer_list<std::pair<int, const char*>> groups) {
    std::string text;
    for (const auto& [code, value] : groups) text += std::to_string(code) + "\n" + value + "\n";
    return text;
}

std::unique_ptr<Drawing> read(const std::string& text) {
    std::istringstream in(text);
    return readDxf(in);
}

std::string errorOf(const std::string& text) {
    try {
        read(text);
    } catch (const DxfError& error) {
        return error.what();
    }
    return "";
}

std::vector<const Entity*> walk(const Drawing& drawing) {
    std::vector<const Entity*> entities;
    for (std::optional<uint64_t> h = drawing.firstEntity(); h; h = drawing.nextEntity(*h)) {
        entities.push_back(drawing.find(*h));
    }
    return entities;
}

// The drawing read from `text`, written.
std::string readAndWritten(const std::string& text) {
    std::ostringstream out;
    writeDxf(*read(text), out);
    return out.str();
}

TEST(DxfReader, OldStyleFileWithoutHandlesOrHeader) {
    const auto drawing = read(dxf({{0, "SECTION"}, {2, "ENTITIES"},
                                   {0, "LINE"}, {8, "Roads"}, {10, "1"}, {20, "2"}, {30, "3"}, {11, "4"}, {21, "5"}, {31, "6"},
                                   {0, "POLYLINE"}, {8, "Mesh"}, {66, "1"}, {70, "8"},
                                   {0, "VERTEX"}, {8, "Mesh"}, {10, "0"}, {20, "0"}, {30, "7.5"}, {70, "32"},
                                   {0, "VERTEX"}, {8, "Mesh"}, {10, "1"}, {20, "0"}, {30, "8.5"}, {70, "32"},
                                   {0, "SEQEND"}, {8, "Mesh"},
                                   {0, "ENDSEC"}, {0, "EOF"}}));
    const auto entities = walk(*drawing);
    ASSERT_EQ(entities.size(), 5u);
    EXPECT_EQ(entities[0]->type, L"LINE");
    EXPECT_EQ(groupPoint(entities[0]->data, 11), (Point3{4, 5, 6}));
    EXPECT_NE(drawing->findLayer(L"Roads"), nullptr);
    EXPECT_EQ(entities[1]->type, L"POLYLINE");
    EXPECT_EQ(groupPoint(entities[3]->data, 10), (Point3{1, 0, 8.5}));
    EXPECT_EQ(entities[4]->type, L"SEQEND");
    for (const Entity* entity : entities) EXPECT_NE(entity->handle, 0u);
}

TEST(DxfReader, KeepsTheFilesHandlesAndRenumbersDuplicates) {
    const auto drawing = read(dxf({{0, "SECTION"}, {2, "ENTITIES"},
                                   {0, "POINT"}, {5, "2A"}, {8, "0"}, {10, "1"}, {20, "1"},
                                   {0, "POINT"}, {5, "2a"}, {8, "0"}, {10, "2"}, {20, "2"},
                                   {0, "POINT"}, {5, "3FF"}, {8, "0"}, {10, "3"}, {20, "3"},
                                   {0, "ENDSEC"}, {0, "EOF"}}));
    const auto entities = walk(*drawing);
    ASSERT_EQ(entities.size(), 3u);
    EXPECT_EQ(entities[0]->handle, 0x2Au);
    EXPECT_GT(entities[1]->handle, 0x3FFu);  // the duplicate takes a new one after all the file's
    EXPECT_EQ(entities[2]->handle, 0x3FFu);
    EXPECT_GT(drawing->handleSeed(), entities[1]->handle);
}

TEST(DxfReader, AHandleAtTheTopOfTheRangeIsReplaced) {
    // New handles follow the highest one read; after FFFFFFFFFFFFFFFF they would start again at 0.
    const auto drawing = read(dxf({{0, "SECTION"}, {2, "ENTITIES"},
                                   {0, "POINT"}, {5, "5"}, {8, "0"}, {10, "1"}, {20, "1"},
                                   {0, "POINT"}, {5, "FFFFFFFFFFFFFFFF"}, {8, "0"}, {10, "2"}, {20, "2"},
                                   {0, "ENDSEC"}, {0, "EOF"}}));
    const auto entities = walk(*drawing);
    ASSERT_EQ(entities.size(), 2u);
    EXPECT_EQ(entities[0]->handle, 0x5u);
    EXPECT_GT(entities[1]->handle, 0x5u);
    EXPECT_LT(entities[1]->handle, uint64_t{1} << 48);
    EXPECT_GT(drawing->handleSeed(), entities[1]->handle);
}

TEST(DxfReader, LinksToOtherObjectsAndSubclassMarkersLeaveNoTrace) {
    // As other programs write entities: owners, reactors, dictionaries,
    // subclass markers; a vertex without its own layer takes its polyline's.
    const auto linked = read(dxf({{0, "SECTION"}, {2, "ENTITIES"},
                                  {0, "LINE"}, {5, "2A"}, {330, "1F"}, {100, "AcDbEntity"}, {8, "Roads"},
                                  {102, "{ACAD_REACTORS"}, {330, "3C"}, {102, "}"},
                                  {102, "{ACAD_XDICTIONARY"}, {360, "4D"}, {102, "}"}, {100, "AcDbLine"},
                                  {10, "1"}, {20, "2"}, {30, "3"}, {11, "4"}, {21, "5"}, {31, "6"},
                                  {0, "POLYLINE"}, {5, "30"}, {330, "1F"}, {100, "AcDbEntity"}, {8, "Mesh"},
                                  {100, "AcDb3dPolyline"}, {66, "1"}, {70, "8"},
                                  {0, "VERTEX"}, {5, "31"}, {330, "30"}, {100, "AcDbEntity"}, {100, "AcDbVertex"},
                                  {100, "AcDb3dPolylineVertex"}, {10, "0"}, {20, "0"}, {30, "7.5"}, {70, "32"},
                                  {0, "VERTEX"}, {5, "32"}, {330, "not a handle"}, {8, "Mesh"}, {410, "Model"},
                                  {10, "1"}, {20, "0"}, {30, "8.5"}, {70, "32"},
                                  {0, "SEQEND"}, {5, "33"}, {330, "30"}, {100, "AcDbEntity"}, {8, "Mesh"},
                                  {0, "ENDSEC"}, {0, "EOF"}}));
    const auto plain = read(dxf({{0, "SECTION"}, {2, "ENTITIES"},
                                 {0, "LINE"}, {5, "2A"}, {8, "Roads"},
                                 {10, "1"}, {20, "2"}, {30, "3"}, {11, "4"}, {21, "5"}, {31, "6"},
                                 {0, "POLYLINE"}, {5, "30"}, {8, "Mesh"}, {66, "1"}, {70, "8"},
                                 {0, "VERTEX"}, {5, "31"}, {10, "0"}, {20, "0"}, {30, "7.5"}, {70, "32"},
                                 {0, "VERTEX"}, {5, "32"}, {8, "Mesh"}, {10, "1"}, {20, "0"}, {30, "8.5"}, {70, "32"},
                                 {0, "SEQEND"}, {5, "33"}, {8, "Mesh"},
                                 {0, "ENDSEC"}, {0, "EOF"}}));
    const auto fromLinked = walk(*linked);
    const auto fromPlain = walk(*plain);
    ASSERT_EQ(fromLinked.size(), 5u);
    ASSERT_EQ(fromPlain.size(), fromLinked.size());
    for (size_t i = 0; i < fromLinked.size(); ++i) {
        EXPECT_EQ(fromLinked[i]->type, fromPlain[i]->type);
        EXPECT_EQ(fromLinked[i]->handle, fromPlain[i]->handle);
        EXPECT_EQ(fromLinked[i]->data, fromPlain[i]->data) << "entity " << i;
    }
    EXPECT_EQ(groupString(fromLinked[2]->data, 8), L"Mesh");
}

TEST(DxfReader, UnknownKindsSurviveAsTheyWereWritten) {
    const auto drawing = read(dxf({{0, "SECTION"}, {2, "ENTITIES"},
                                   {0, "HATCHLIKE"}, {5, "30"}, {330, "1F"}, {100, "AcDbEntity"}, {8, "Fill"},
                                   {100, "AcDbThing"}, {10, "1.5\t"}, {20, "2.5"}, {91, " 2"}, {1, "label "},
                                   {0, "ENDSEC"}, {0, "EOF"}}));
    const auto entities = walk(*drawing);
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_TRUE(entities[0]->verbatim);
    EXPECT_EQ(groupString(entities[0]->data, 8), L"Fill");
    EXPECT_NE(drawing->findLayer(L"Fill"), nullptr);

    std::ostringstream out;
    writeDxf(*drawing, out);
    const std::string text = out.str();
    // Written back with its own groups: a 2D point stays 2D, the owner is the
    // drawing's, a number without the blanks around it, a text as it was.
    const std::string expected = "  0\r\nHATCHLIKE\r\n  5\r\n30\r\n330\r\n";
    const size_t at = text.find(expected);
    ASSERT_NE(at, std::string::npos);
    const size_t groups = text.find("100\r\nAcDbEntity\r\n  8\r\nFill\r\n100\r\nAcDbThing\r\n 10\r\n1.5\r\n 20\r\n2.5\r\n"
                                    " 91\r\n2\r\n  1\r\nlabel \r\n  0\r\n", at);
    EXPECT_NE(groups, std::string::npos);
    EXPECT_NO_THROW(read(text));
}

TEST(DxfReader, ReferencesToMissingDefinitionsAreMended) {
    const auto drawing = read(dxf({{0, "SECTION"}, {2, "ENTITIES"},
                                   {0, "INSERT"}, {8, "Points"}, {66, "1"}, {2, "TZNODE"}, {10, "5"}, {20, "6"}, {30, "7"},
                                   {0, "ATTRIB"}, {8, "Points"}, {10, "5"}, {20, "6"}, {40, "1"}, {1, "12"}, {2, "PNUM"},
                                   {0, "SEQEND"},
                                   {0, "TEXT"}, {8, "0"}, {6, "NOSUCHLT"}, {7, "NOSUCHSTYLE"}, {10, "0"}, {20, "0"},
                                   {40, "1"}, {1, "x"},
                                   {0, "ENDSEC"}, {0, "EOF"}}));
    const auto entities = walk(*drawing);
    ASSERT_EQ(entities.size(), 4u);
    EXPECT_NE(drawing->findBlock(L"TZNODE"), nullptr);
    EXPECT_EQ(groupString(entities[1]->data, 1), L"12");
    EXPECT_EQ(findGroup(entities[3]->data, 6), nullptr);
    EXPECT_EQ(groupString(entities[3]->data, 7), L"Standard");
}

TEST(DxfReader, BrokenEntitiesAndStrayPartsAreLeftOut) {
    const auto drawing = read(dxf({{0, "SECTION"}, {2, "ENTITIES"},
                                   {0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"},  // no end point
                                   {0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"},
                                   {0, "POLYLINE"}, {8, "0"}, {66, "1"}, {0, "SEQEND"},  // no vertices
                                   {0, "POINT"}, {8, "0"}, {10, "9"}, {20, "9"},
                                   {0, "ENDSEC"}, {0, "EOF"}}));
    const auto entities = walk(*drawing);
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(entities[0]->type, L"POINT");
}

TEST(DxfReader, AttributesAfterAnInsertSetItsFlag) {
    // Read whatever the flag says, the attributes are written with it set,
    // as other readers drop attributes after an INSERT without it.
    const auto drawing = read(dxf({{0, "SECTION"}, {2, "ENTITIES"},
                                   {0, "INSERT"}, {8, "0"}, {2, "P"}, {10, "0"}, {20, "0"},
                                   {0, "ATTRIB"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {1, "7"}, {2, "N"},
                                   {0, "SEQEND"}, {8, "0"},
                                   {0, "ENDSEC"}, {0, "EOF"}}));
    const auto entities = walk(*drawing);
    ASSERT_FALSE(entities.empty());
    EXPECT_EQ(entities[0]->type, L"INSERT");
    EXPECT_EQ(entities[0]->subEntities.size(), 2u);  // the ATTRIB and its SEQEND
    EXPECT_EQ(groupInt(entities[0]->data, 66).value_or(0), 1);
}

TEST(DxfReader, EntitiesLeftOutAreCountedWithTheFirstReason) {
    std::istringstream in(dxf({{0, "SECTION"}, {2, "ENTITIES"},
                               {0, "LINE"}, {8, "A<>*?|"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"},
                               {0, "LINE"}, {8, "0"}, {62, "70000"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"},
                               {0, "POINT"}, {8, "0"}, {10, "9"}, {20, "9"},
                               {0, "ENDSEC"}, {0, "EOF"}}));
    DxfReadNotes notes;
    const auto drawing = readDxf(in, &notes);
    EXPECT_EQ(walk(*drawing).size(), 1u);
    EXPECT_EQ(notes.leftOut, 2u);
    EXPECT_EQ(notes.firstReason, L"LINE: invalid layer name \"A<>*?|\"");
}

TEST(DxfReader, ABlockInsertedIntoItselfLosesThatInsert) {
    // A inserts B, B inserts A: the first reference found to close the loop, A's of B, goes.
    std::istringstream in(dxf({{0, "SECTION"}, {2, "BLOCKS"},
                               {0, "BLOCK"}, {8, "0"}, {2, "A"}, {70, "0"}, {10, "0"}, {20, "0"},
                               {0, "INSERT"}, {8, "0"}, {2, "B"}, {10, "0"}, {20, "0"},
                               {0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"},
                               {0, "ENDBLK"},
                               {0, "BLOCK"}, {8, "0"}, {2, "B"}, {70, "0"}, {10, "0"}, {20, "0"},
                               {0, "INSERT"}, {8, "0"}, {2, "A"}, {10, "0"}, {20, "0"},
                               {0, "ENDBLK"},
                               {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"},
                               {0, "INSERT"}, {8, "0"}, {2, "A"}, {10, "0"}, {20, "0"},
                               {0, "ENDSEC"}, {0, "EOF"}}));
    DxfReadNotes notes;
    const auto drawing = readDxf(in, &notes);
    EXPECT_EQ(notes.leftOut, 1u);
    EXPECT_EQ(notes.firstReason, L"INSERT: the block \"A\" would contain itself");
    EXPECT_EQ(drawing->findBlock(L"A")->entities.size(), 1u);
    EXPECT_EQ(drawing->findBlock(L"B")->entities.size(), 1u);
    EXPECT_FALSE(drawing->blockLeadsTo(L"A", L"B"));
    EXPECT_TRUE(drawing->blockLeadsTo(L"B", L"A"));
    EXPECT_EQ(walk(*drawing).size(), 1u);
}

TEST(DxfReader, TablesAndBlocks) {
    const auto drawing = read(dxf({{0, "SECTION"}, {2, "TABLES"},
                                   {0, "TABLE"}, {2, "LTYPE"}, {70, "1"},
                                   {0, "LTYPE"}, {2, "DASHED"}, {70, "0"}, {3, "__ __"}, {72, "65"}, {73, "2"},
                                   {40, "0.75"}, {49, "0.5"}, {74, "0"}, {49, "-0.25"}, {74, "0"},
                                   {0, "ENDTAB"},
                                   {0, "TABLE"}, {2, "LAYER"}, {70, "1"},
                                   {0, "LAYER"}, {2, "Contours"}, {70, "4"}, {62, "-3"}, {6, "DASHED"},
                                   {0, "ENDTAB"}, {0, "ENDSEC"},
                                   {0, "SECTION"}, {2, "BLOCKS"},
                                   {0, "BLOCK"}, {8, "0"}, {2, "*Model_Space"}, {70, "0"}, {10, "0"}, {20, "0"},
                                   {0, "ENDBLK"},
                                   {0, "BLOCK"}, {8, "0"}, {2, "Tree"}, {70, "0"}, {10, "1"}, {20, "2"}, {30, "0"},
                                   {0, "CIRCLE"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "2"},
                                   {0, "ENDBLK"}, {0, "ENDSEC"},
                                   {0, "SECTION"}, {2, "OBJECTS"}, {0, "DICTIONARY"}, {0, "ENDSEC"},
                                   {0, "EOF"}}));
    const Layer* layer = drawing->findLayer(L"CONTOURS");
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->color, -3);
    EXPECT_EQ(layer->flags, 4);
    EXPECT_EQ(layer->linetype, L"DASHED");
    const BlockDefinition* block = drawing->findBlock(L"tree");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(groupPoint(block->header, 10), (Point3{1, 2, 0}));
    ASSERT_EQ(block->entities.size(), 1u);
    EXPECT_EQ(drawing->find(block->entities[0])->type, L"CIRCLE");
    EXPECT_EQ(drawing->findBlock(L"*Model_Space"), nullptr);
}

TEST(DxfReader, TextEncodings) {
    const auto cp1252 = read(dxf({{0, "SECTION"}, {2, "ENTITIES"},
                                  {0, "TEXT"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {1, "Stra\xdf" "e \\U+2248"},
                                  {0, "ENDSEC"}, {0, "EOF"}}));
    EXPECT_EQ(groupString(walk(*cp1252)[0]->data, 1), L"Stra\u00dfe \u2248");
    const auto utf8 = read(dxf({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1027"}, {0, "ENDSEC"},
                                {0, "SECTION"}, {2, "ENTITIES"},
                                {0, "TEXT"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {1, "Stra\xc3\x9f" "e"},
                                {0, "ENDSEC"}, {0, "EOF"}}));
    EXPECT_EQ(groupString(walk(*utf8)[0]->data, 1), L"Stra\u00dfe");
    EXPECT_EQ(groupString(utf8->header().at(L"$ACADVER"), 1), L"AC1027");
}

TEST(DxfReader, DamagedFilesAreRefusedWithAReason) {
    const std::string good = dxf({{0, "SECTION"}, {2, "ENTITIES"}, {0, "POINT"}, {8, "0"}, {10, "1"}, {20, "2"},
                                  {0, "ENDSEC"}, {0, "EOF"}});
    EXPECT_EQ(errorOf(good), "");
    EXPECT_NE(errorOf("").find("empty"), std::string::npos);
    EXPECT_NE(errorOf("hello world\nthis is no drawing\n").find("line 1"), std::string::npos);
    EXPECT_NE(errorOf(good.substr(0, good.size() / 2)).find("truncated"), std::string::npos);
    EXPECT_NE(errorOf(good.substr(0, good.find("0\nEOF"))).find("EOF"), std::string::npos);
    const std::string badNumber = dxf({{0, "SECTION"}, {2, "ENTITIES"}, {0, "POINT"}, {8, "0"}, {10, "1,5"},
                                       {20, "2"}, {0, "ENDSEC"}, {0, "EOF"}});
    EXPECT_NE(errorOf(badNumber).find("line 10: \"1,5\" is not a number"), std::string::npos);
    const std::string nan = dxf({{0, "SECTION"}, {2, "ENTITIES"}, {0, "POINT"}, {8, "0"}, {10, "nan"}, {20, "2"},
                                 {0, "ENDSEC"}, {0, "EOF"}});
    EXPECT_NE(errorOf(nan).find("not a number"), std::string::npos);
    const std::string noY = dxf({{0, "SECTION"}, {2, "ENTITIES"}, {0, "POINT"}, {8, "0"}, {10, "1"}, {30, "2"},
                                 {0, "ENDSEC"}, {0, "EOF"}});
    EXPECT_NE(errorOf(noY).find("y coordinate"), std::string::npos);
    const std::string noEndsec = dxf({{0, "SECTION"}, {2, "ENTITIES"}, {0, "POINT"}, {8, "0"}, {10, "1"}, {20, "2"},
                                      {0, "SECTION"}, {2, "OBJECTS"}, {0, "ENDSEC"}, {0, "EOF"}});
    EXPECT_NE(errorOf(noEndsec).find("inside"), std::string::npos);
}

// A block "MARK" whose record is `record`, holding a circle, inserted once
// beside a line of handle 2A.
std::string drawingWithBlock(const char* record) {
    return dxf({{0, "SECTION"}, {2, "BLOCKS"},
                {0, "BLOCK"}, {5, "20"}, {330, record}, {8, "0"}, {2, "MARK"}, {70, "0"}, {10, "0"}, {20, "0"}, {30, "0"},
                {0, "CIRCLE"}, {5, "21"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "0.5"},
                {0, "ENDBLK"}, {8, "0"}, {0, "ENDSEC"},
                {0, "SECTION"}, {2, "ENTITIES"},
                {0, "LINE"}, {5, "2A"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "1"}, {31, "0"},
                {0, "INSERT"}, {8, "0"}, {2, "MARK"}, {10, "3"}, {20, "3"}, {30, "0"},
                {0, "ENDSEC"}, {0, "EOF"}});
}

TEST(DxfReader, BlockDefinitionsKeepTheirRecordsHandles) {
    // Opened and saved again, a drawing with blocks is the same file: the
    // block's record keeps its handle instead of taking a new one each time.
    EXPECT_NE(read(drawingWithBlock("1F"))->findBlockByRecord(0x1F), nullptr);
    const std::string saved = readAndWritten(drawingWithBlock("1F"));
    EXPECT_EQ(readAndWritten(saved), saved);

    // A record handle that an entity of the file has stays the entity's.
    const auto clash = read(drawingWithBlock("2A"));
    ASSERT_NE(clash->find(0x2A), nullptr);
    EXPECT_EQ(clash->find(0x2A)->type, L"LINE");
    ASSERT_NE(clash->findBlock(L"MARK"), nullptr);
    EXPECT_NE(clash->findBlock(L"MARK")->recordHandle, 0x2Au);
    const std::string clashSaved = readAndWritten(drawingWithBlock("2A"));
    EXPECT_EQ(readAndWritten(clashSaved), clashSaved);
}

TEST(DxfReader, MtextWithSeveralTextGroupsIsReadAsOneText) {
    // Parts in 3 groups, then more than one 1 (a damaged or foreign file):
    // one text, kept as it is however often the drawing is saved.
    const std::string text = dxf({{0, "SECTION"}, {2, "ENTITIES"},
                                  {0, "MTEXT"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "1"},
                                  {3, "one "}, {1, "two "}, {7, "Standard"}, {1, "three"},
                                  {0, "ENDSEC"}, {0, "EOF"}});
    const auto drawing = read(text);
    const auto entities = walk(*drawing);
    ASSERT_EQ(entities.size(), 1u);
    size_t texts = 0;
    for (const Group& group : entities[0]->data) texts += group.code == 1 || group.code == 3;
    EXPECT_EQ(texts, 1u);
    EXPECT_EQ(groupString(entities[0]->data, 1), L"one two three");
    const std::string saved = readAndWritten(text);
    EXPECT_EQ(readAndWritten(saved), saved);
}

}  // namespace
}  // namespace tz::cad
