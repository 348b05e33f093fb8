// Every kind of entity written, read back and compared group by group.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "SampleDrawing.h"
#include "drawing/DxfReader.h"
#include "drawing/DxfWriter.h"

namespace tz::cad {
namespace {

std::string written(const Drawing& drawing) {
    std::ostringstream out;
    writeDxf(drawing, out);
    return out.str();
}

std::unique_ptr<Drawing> readBack(const std::string& text) {
    std::istringstream in(text);
    return readDxf(in);
}

// Groups in code order; groups of one code keep their order.
GroupList byCode(GroupList groups) {
    std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) { return a.code < b.code; });
    return groups;
}

void expectSameEntity(const Drawing& original, const Entity& a, const Drawing& copy, const Entity& b) {
    SCOPED_TRACE(std::string(a.type.text().begin(), a.type.text().end()) + " " + std::to_string(a.handle));
    EXPECT_EQ(a.type, b.type);
    EXPECT_EQ(a.handle, b.handle);
    EXPECT_EQ(byCode(a.data), byCode(b.data));
    ASSERT_EQ(a.subEntities.size(), b.subEntities.size());
    for (size_t i = 0; i < a.subEntities.size(); ++i) {
        expectSameEntity(original, *original.find(a.subEntities[i]), copy, *copy.find(b.subEntities[i]));
    }
}

std::vector<const Entity*> liveEntities(const Drawing& drawing, const std::vector<uint64_t>& handles) {
    std::vector<const Entity*> entities;
    for (uint64_t handle : handles) {
        const Entity* entity = drawing.find(handle);
        if (entity != nullptr && !entity->erased) entities.push_back(entity);
    }
    return entities;
}

TEST(DxfRoundTrip, EveryEntityKindComesBackGroupByGroup) {
    const auto original = test::makeSampleDrawing();
    const auto copy = readBack(written(*original));

    const auto before = liveEntities(*original, original->entityOrder());
    const auto after = liveEntities(*copy, copy->entityOrder());
    ASSERT_EQ(before.size(), after.size());
    EXPECT_LT(after.size(), original->entityOrder().size());  // the erased line stayed behind
    for (size_t i = 0; i < before.size(); ++i) expectSameEntity(*original, *before[i], *copy, *after[i]);

    ASSERT_EQ(original->layers().size(), copy->layers().size());
    for (const Layer& layer : original->layers()) {
        const Layer* read = copy->findLayer(layer.name);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->name, layer.name);
        EXPECT_EQ(read->color, layer.color);
        EXPECT_EQ(read->linetype, layer.linetype);
        EXPECT_EQ(read->flags, layer.flags);
    }
    ASSERT_EQ(original->blocks().size(), copy->blocks().size());
    for (const BlockDefinition& block : original->blocks()) {
        const BlockDefinition* read = copy->findBlock(block.name);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(byCode(read->header), byCode(block.header));
        const auto a = liveEntities(*original, block.entities);
        const auto b = liveEntities(*copy, read->entities);
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i]->type, b[i]->type);
            EXPECT_EQ(byCode(a[i]->data), byCode(b[i]->data));
        }
    }
    // New entities after reading never take a handle the file used.
    EXPECT_GE(copy->handleSeed(), original->handleSeed());
}

TEST(DxfRoundTrip, WritingWhatWasReadGivesTheSameFile) {
    const auto original = test::makeSampleDrawing();
    const std::string first = written(*original);
    const std::string second = written(*readBack(first));
    const std::string third = written(*readBack(second));
    EXPECT_EQ(second, third);
    // Only the handles of the structural objects may move (they follow the seed).
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), std::count(second.begin(), second.end(), '\n'));
}

TEST(DxfRoundTrip, ThreeDimensionalVerticesKeepTheirElevations) {
    const auto copy = readBack(written(*test::makeSampleDrawing()));
    std::vector<double> elevations;
    for (uint64_t handle : copy->entityOrder()) {
        const Entity* entity = copy->find(handle);
        if (entity->type != L"POLYLINE" || !(groupInt(entity->data, 70).value_or(0) & 8)) continue;
        for (uint64_t sub : entity->subEntities) {
            if (std::optional<Point3> p = groupPoint(copy->find(sub)->data, 10)) elevations.push_back(p->z);
        }
    }
    EXPECT_EQ(elevations, (std::vector<double>{101.5, 102.25, 99.875}));
}

TEST(DxfRoundTrip, TextsKeepLineBreaksCaretsAndForeignLetters) {
    const auto copy = readBack(written(*test::makeSampleDrawing()));
    bool found = false;
    for (uint64_t handle : copy->entityOrder()) {
        const Entity* entity = copy->find(handle);
        if (entity->type != L"TEXT") continue;
        EXPECT_EQ(groupString(entity->data, 1), L"Caf\u00e9 \u2248 5^2 m\u00b2\nsecond line");
        found = true;
    }
    EXPECT_TRUE(found);
}

TEST(DxfRoundTrip, EveryLineOfTheFileIsShortAscii) {
    const std::string text = written(*test::makeSampleDrawing());
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        EXPECT_LE(line.size(), 256u);
        for (char c : line) {
            if (c != '\r') {
                EXPECT_TRUE(c >= 32 && c < 127) << line;
            }
        }
    }
}

}  // namespace
}  // namespace tz::cad
