#include "drawing/DxfReader.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <unordered_set>

#include "adscodes.h"
#include "drawing/DxfText.h"
#include "drawing/EntityRules.h"
#include "drawing/GroupCodes.h"

namespace tz::cad {

namespace {

// Far beyond any drawing's count of objects, far below the end of the range.
constexpr uint64_t kHighestKeptHandle = uint64_t{1} << 48;

struct RawEntity {
    EntityType type;
    uint64_t handle = 0;
    GroupList groups;  // the groups after the type, converted (a known kind's links left out)
    FileGroups fileGroups;  // as read, for kinds the drawing does not know
};

struct RawBlock {
    std::wstring name;
    GroupList header;
    uint64_t recordHandle = 0;  // kept from the file, or 0 for a new one
    std::vector<RawEntity> entities;
};

// Whether the drawing keeps the block as a definition: the model and paper
// space blocks hold entities of the layouts instead, and a block without a
// name cannot be referred to.
bool definesBlock(const RawBlock& block) {
    const std::wstring upper = upperCase(block.name);
    return !block.name.empty() && upper != L"*MODEL_SPACE" && upper.rfind(L"*PAPER_SPACE", 0) != 0;
}

std::string lineText(size_t line) { return "line " + std::to_string(line); }

std::string_view trimmedView(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string trimmed(const std::string& text) { return std::string(trimmedView(text)); }

[[noreturn]] void notANumber(const DxfRawGroup& group) {
    throw DxfError(lineText(group.line + 1) + ": \"" + trimmed(group.value).substr(0, 40) +
                   "\" is not a number (group " + std::to_string(group.code) + ")");
}

double parseReal(const DxfRawGroup& group) {
    const std::string_view text = trimmedView(group.value);
    double value = 0;
    auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || rest != text.data() + text.size() || !std::isfinite(value)) notANumber(group);
    return value;
}

int64_t parseInteger(const DxfRawGroup& group) {
    const std::string_view text = trimmedView(group.value);
    int64_t value = 0;
    auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && rest == text.data() + text.size()) return value;
    // Some writers put integers in real form ("1.0").
    const double real = parseReal(group);
    if (real != std::floor(real) || std::abs(real) > 9.0e18) notANumber(group);
    return static_cast<int64_t>(real);
}

class Parser {
public:
    explicit Parser(std::istream& input) : reader_(input) {}

    std::unique_ptr<Drawing> read();
    const DxfReadNotes& notes() const { return notes_; }

private:
    // --- the group stream ---
    const DxfRawGroup* peek() {
        if (!lookahead_) {
            DxfRawGroup group;
            if (!reader_.next(group)) return nullptr;
            lookahead_ = std::move(group);
        }
        return &*lookahead_;
    }
    DxfRawGroup take(const char* where) {
        if (peek() == nullptr) throw DxfError(std::string("the file ends inside ") + where + " (it may be truncated)");
        DxfRawGroup group = std::move(*lookahead_);
        lookahead_.reset();
        if (recording_ != nullptr) {
            // A number's blanks around it are no part of it, and written
            // back as text they would be (a tab becomes "^I").
            const bool isText = groupValueType(group.code) == RTSTR;
            recording_->emplace_back(group.code, decodeDxfText(isText ? group.value : trimmed(group.value), utf8_));
        }
        return group;
    }
    bool atZero(const char* value) {
        const DxfRawGroup* group = peek();
        return group != nullptr && group->code == 0 && trimmed(group->value) == value;
    }
    std::wstring text(const DxfRawGroup& group) const { return decodeDxfText(group.value, utf8_); }
    // The groups up to the next group 0, points joined from their coordinates;
    // with `dropLinks`, without the owner, reactor, dictionary, layout and
    // subclass groups that building a known kind of entity drops anyway
    // (millions of them in a large drawing).
    GroupList readGroups(const char* where, bool dropLinks = false);
    Group convert(const DxfRawGroup& group, const char* where);

    // --- sections ---
    void readHeader();
    void readTables();
    void readTable(const std::wstring& table);
    void readBlocks();
    std::vector<RawEntity> readEntities(const char* where, const char* endMarker);
    void skipSection();

    // --- building the drawing ---
    void build(Drawing& drawing);
    void addEntities(Drawing& drawing, std::vector<RawEntity>& raws, uint64_t block, bool paperSpace);
    // Takes the raw entity's groups.
    std::optional<Entity> buildEntity(Drawing& drawing, RawEntity& raw, const Entity* parent);
    uint64_t takeHandle(Drawing& drawing, uint64_t wanted);

    DxfGroupReader reader_;
    std::optional<DxfRawGroup> lookahead_;
    FileGroups* recording_ = nullptr;  // where take() copies groups to
    bool utf8_ = false;

    std::map<std::wstring, GroupList> header_;
    std::vector<GroupList> layers_;
    std::vector<GroupList> linetypes_;
    std::vector<GroupList> styles_;
    std::vector<RawBlock> blocks_;
    std::vector<RawEntity> entities_;
    std::unordered_set<uint64_t> usedHandles_;
    DxfReadNotes notes_;

    void leaveOut(const std::wstring& reason) {
        if (notes_.leftOut++ == 0) notes_.firstReason = reason;
    }
    // Takes out every INSERT of a block definition that leads back to it.
    void breakBlockCycles(Drawing& drawing);
};

Group Parser::convert(const DxfRawGroup& group, const char* where) {
    switch (groupValueType(group.code)) {
        case RTREAL: return realGroup(group.code, parseReal(group));
        case RTSHORT:
        case RTLONG: return intGroup(group.code, parseInteger(group));
        case RTENAME: return {group.code, HandleRef{parseHandle(decodeDxfText(trimmed(group.value), false))}};
        case RT3DPOINT: {
            // x, then y (code + 10) and, for 3D points, z (code + 20).
            Point3 point{parseReal(group), 0, 0};
            const DxfRawGroup* next = peek();
            if (next == nullptr || next->code != group.code + 10) {
                throw DxfError(lineText(group.line) + ": the y coordinate of group " + std::to_string(group.code) +
                               " is missing");
            }
            point.y = parseReal(take(where));
            next = peek();
            if (next != nullptr && next->code == group.code + 20) point.z = parseReal(take(where));
            return pointGroup(group.code, point);
        }
        default: return stringGroup(group.code, text(group));
    }
}

GroupList Parser::readGroups(const char* where, bool dropLinks) {
    GroupList groups;
    for (const DxfRawGroup* next = peek(); next != nullptr && next->code != 0; next = peek()) {
        DxfRawGroup group = take(where);
        const int code = group.code;
        if (dropLinks && (code == 100 || code == 330 || code == 360 || code == 410)) continue;
        groups.push_back(convert(group, where));
    }
    return groups;
}

std::unique_ptr<Drawing> Parser::read() {
    bool sawEof = false;
    bool sawAnything = false;
    while (peek() != nullptr) {
        sawAnything = true;
        DxfRawGroup group = take("the file");
        const std::string value = trimmed(group.value);
        if (group.code == 999) continue;  // comment
        if (group.code == 0 && value == "EOF") {
            sawEof = true;
            break;
        }
        if (group.code != 0 || value != "SECTION") {
            throw DxfError(lineText(group.line) + ": expected a SECTION, found \"" + value.substr(0, 40) + "\"");
        }
        DxfRawGroup name = take("a section");
        if (name.code != 2) throw DxfError(lineText(name.line) + ": a SECTION without its name");
        const std::string section = trimmed(name.value);
        if (section == "HEADER") {
            readHeader();
        } else if (section == "TABLES") {
            readTables();
        } else if (section == "BLOCKS") {
            readBlocks();
        } else if (section == "ENTITIES") {
            std::vector<RawEntity> read = readEntities("the ENTITIES section", "ENDSEC");
            entities_.insert(entities_.end(), std::make_move_iterator(read.begin()),
                             std::make_move_iterator(read.end()));
            take("the ENTITIES section");
        } else {
            skipSection();
        }
    }
    if (!sawAnything) throw DxfError("the file is empty");
    if (!sawEof) throw DxfError("the file ends without its EOF marker (it may be truncated)");
    auto drawing = std::make_unique<Drawing>();
    build(*drawing);
    return drawing;
}

void Parser::skipSection() {
    for (;;) {
        DxfRawGroup group = take("a section");
        if (group.code == 0 && trimmed(group.value) == "ENDSEC") return;
    }
}

void Parser::readHeader() {
    std::wstring variable;
    for (;;) {
        DxfRawGroup group = take("the HEADER section");
        if (group.code == 0) {
            if (trimmed(group.value) == "ENDSEC") return;
            throw DxfError(lineText(group.line) + ": unexpected \"" + trimmed(group.value).substr(0, 40) +
                           "\" in the HEADER section");
        }
        if (group.code == 9) {
            variable = upperCase(decodeDxfText(trimmed(group.value), false));
            header_[variable];
            continue;
        }
        if (variable.empty()) continue;
        Group converted = convert(group, "the HEADER section");
        if (variable == L"$ACADVER") {
            if (const auto* version = std::get_if<std::wstring>(&converted.value)) utf8_ = *version >= L"AC1021";
        }
        header_[variable].push_back(std::move(converted));
    }
}

void Parser::readTables() {
    for (;;) {
        DxfRawGroup group = take("the TABLES section");
        const std::string value = trimmed(group.value);
        if (group.code == 0 && value == "ENDSEC") return;
        if (group.code == 0 && value == "TABLE") {
            GroupList tableHead = readGroups("a table");
            readTable(upperCase(groupString(tableHead, 2).value_or(L"")));
            continue;
        }
        if (group.code != 0) continue;  // stray groups between tables
        throw DxfError(lineText(group.line) + ": unexpected \"" + value.substr(0, 40) + "\" in the TABLES section");
    }
}

void Parser::readTable(const std::wstring& table) {
    for (;;) {
        DxfRawGroup group = take("a table");
        if (group.code != 0) continue;
        const std::wstring type = upperCase(decodeDxfText(trimmed(group.value), false));
        if (type == L"ENDTAB") {
            readGroups("a table");
            return;
        }
        if (type == L"ENDSEC" || type == L"TABLE") {
            throw DxfError(lineText(group.line) + ": a table without its ENDTAB");
        }
        GroupList record = readGroups("a table");
        if (type != table) continue;
        if (table == L"LAYER") layers_.push_back(std::move(record));
        if (table == L"LTYPE") linetypes_.push_back(std::move(record));
        if (table == L"STYLE") styles_.push_back(std::move(record));
    }
}

void Parser::readBlocks() {
    for (;;) {
        DxfRawGroup group = take("the BLOCKS section");
        const std::string value = trimmed(group.value);
        if (group.code == 0 && value == "ENDSEC") return;
        if (group.code != 0 || value != "BLOCK") {
            throw DxfError(lineText(group.line) + ": expected a BLOCK, found \"" + value.substr(0, 40) + "\"");
        }
        RawBlock block;
        block.header = readGroups("a block definition");
        block.name = groupString(block.header, 2).value_or(groupString(block.header, 3).value_or(L""));
        block.entities = readEntities("a block definition", "ENDBLK");
        take("a block definition");  // ENDBLK
        readGroups("a block definition");
        blocks_.push_back(std::move(block));
    }
}

std::vector<RawEntity> Parser::readEntities(const char* where, const char* endMarker) {
    std::vector<RawEntity> entities;
    for (;;) {
        const DxfRawGroup* next = peek();
        if (next == nullptr) throw DxfError(std::string("the file ends inside ") + where + " (it may be truncated)");
        if (next->code != 0) {
            throw DxfError(lineText(next->line) + ": group " + std::to_string(next->code) + " outside an entity");
        }
        const std::string value = trimmed(next->value);
        if (value == endMarker) return entities;
        if (value == "ENDSEC" || value == "EOF" || value == "SECTION" || value == "ENDBLK" || value == "BLOCK") {
            throw DxfError(lineText(next->line) + ": \"" + value + "\" inside " + where);
        }
        DxfRawGroup typeGroup = take(where);
        RawEntity entity;
        entity.type = upperCase(decodeDxfText(trimmed(typeGroup.value), false));
        const bool known = isKnownEntityType(entity.type);
        if (!known) recording_ = &entity.fileGroups;
        entity.groups = readGroups(where, known);
        recording_ = nullptr;
        if (std::optional<std::wstring> handle = groupString(entity.groups, 5)) entity.handle = parseHandle(*handle);
        // New objects take handles after the highest one read: one so high
        // that none could follow is given up and the entity takes a new one.
        if (entity.handle > kHighestKeptHandle) entity.handle = 0;
        entities.push_back(std::move(entity));
    }
}

// Groups that tie an object to others in the file (owner, reactors,
// extension dictionaries, handle): the drawing gives its own when it writes.
GroupList withoutFileLinks(GroupList groups, bool dropSubclassMarkers) {
    size_t kept = 0;
    bool inApplicationGroup = false;
    for (Group& group : groups) {
        if (group.code == 102) {
            const auto* text = std::get_if<std::wstring>(&group.value);
            inApplicationGroup = text != nullptr && !text->empty() && text->front() == L'{';
            continue;
        }
        if (inApplicationGroup) continue;
        if (group.code == 5 || group.code == 330 || group.code == 360 || group.code == 410) continue;
        if (dropSubclassMarkers && group.code == 100) continue;
        if (&groups[kept] != &group) groups[kept] = std::move(group);
        ++kept;
    }
    groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(kept), groups.end());
    return groups;
}

// MTEXT keeps its text in 3 groups of 250 characters before the last part in
// 1; the drawing holds it as one group 1, in the place of the file's first
// (a file with more than one has them joined in order, and is written with
// one, so that reading it again gives the same text).
void joinMtextChunks(GroupList& groups) {
    std::wstring text;
    bool hasText = false;
    for (const Group& group : groups) {
        if (group.code != 3 && group.code != 1) continue;
        text += std::get<std::wstring>(group.value);
        hasText = true;
    }
    if (!hasText) return;
    size_t kept = 0;
    bool placed = false;
    for (Group& group : groups) {
        if (group.code == 3 || (group.code == 1 && placed)) continue;
        if (group.code == 1) {
            group.value = std::move(text);
            placed = true;
        }
        if (&groups[kept] != &group) groups[kept] = std::move(group);
        ++kept;
    }
    groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(kept), groups.end());
    if (!placed) groups.push_back(stringGroup(1, text));
}

uint64_t Parser::takeHandle(Drawing& drawing, uint64_t wanted) {
    if (wanted != 0 && usedHandles_.insert(wanted).second) return wanted;
    uint64_t handle = drawing.allocateHandle();
    while (!usedHandles_.insert(handle).second) handle = drawing.allocateHandle();
    return handle;
}

std::optional<Entity> Parser::buildEntity(Drawing& drawing, RawEntity& raw, const Entity* parent) {
    Entity entity;
    entity.type = raw.type;
    if (!isKnownEntityType(raw.type)) {
        entity.data = withoutFileLinks(std::move(raw.groups), false);
        entity.verbatim = true;
        FileGroups kept;
        bool inApplicationGroup = false;
        for (const auto& [code, text] : raw.fileGroups) {
            if (code == 102) {
                inApplicationGroup = !text.empty() && text.front() == L'{';
                continue;
            }
            if (inApplicationGroup || code == 5 || code == 330 || code == 360) continue;
            kept.emplace_back(code, text);
        }
        entity.fileGroups = std::make_shared<const FileGroups>(std::move(kept));
        if (std::optional<std::wstring> layer = groupString(entity.data, 8); layer && isValidSymbolName(*layer)) {
            drawing.ensureLayer(*layer);
        }
        return entity;
    }
    entity.data = withoutFileLinks(std::move(raw.groups), true);
    if (raw.type == L"MTEXT") joinMtextChunks(entity.data);
    MakeContext context;
    context.mendReferences = true;
    if (parent != nullptr) {
        // The parent's layer, checked when the parent was made.
        const Group* layer = findGroup(parent->data, 8);
        context.inheritedLayer = layer != nullptr ? std::get_if<std::wstring>(&layer->value) : nullptr;
    }
    // An entity of a known kind that lacks what makes it (a line without its
    // end point) cannot be drawn or written; it is left out.
    if (std::wstring problem = prepareEntityData(drawing, raw.type, entity.data, context, parent); !problem.empty()) {
        leaveOut(raw.type + L": " + problem);
        return std::nullopt;
    }
    return entity;
}

void Parser::addEntities(Drawing& drawing, std::vector<RawEntity>& raws, uint64_t block, bool paperSpace) {
    for (size_t i = 0; i < raws.size();) {
        RawEntity& raw = raws[i++];
        if (raw.type == L"VERTEX" || raw.type == L"ATTRIB" || raw.type == L"SEQEND") continue;  // stray
        if (paperSpace) setGroup(raw.groups, intGroup(67, 1));
        std::optional<Entity> main = buildEntity(drawing, raw, nullptr);
        // A complex entity's parts follow it; they go (or are left out) with it.
        std::vector<std::pair<Entity, uint64_t>> subs;
        std::optional<uint64_t> endHandle;
        if (raw.type == L"POLYLINE" || raw.type == L"INSERT") {
            const wchar_t* subType = raw.type == L"POLYLINE" ? L"VERTEX" : L"ATTRIB";
            for (; i < raws.size() && raws[i].type == subType; ++i) {
                if (!main) continue;
                if (std::optional<Entity> sub = buildEntity(drawing, raws[i], &*main)) {
                    subs.emplace_back(std::move(*sub), raws[i].handle);
                }
            }
            if (i < raws.size() && raws[i].type == L"SEQEND") endHandle = raws[i++].handle;
        }
        if (!main) continue;
        if (main->type == L"POLYLINE" && subs.empty()) continue;  // nothing to draw
        if (subs.empty()) {
            removeGroups(main->data, 66);
        } else {
            // Attributes are read after an INSERT whatever its flag says;
            // other readers follow the flag, so it is written as it is.
            if (main->type == L"INSERT") setGroup(main->data, intGroup(66, 1));
            Entity end;
            end.type = L"SEQEND";
            end.data = {stringGroup(8, *groupString(main->data, 8))};
            subs.emplace_back(std::move(end), endHandle.value_or(0));
        }
        main->handle = takeHandle(drawing, raw.handle);
        main->block = block;
        for (auto& [sub, wanted] : subs) {
            sub.handle = takeHandle(drawing, wanted);
            sub.owner = main->handle;
            sub.indexInOwner = main->subEntities.size();
            sub.block = block;
            main->subEntities.push_back(sub.handle);
            drawing.store(std::move(sub));
        }
        const uint64_t handle = main->handle;
        drawing.store(std::move(*main));
        drawing.append(handle);
    }
}

void Parser::build(Drawing& drawing) {
    // Handles of the file stay the entities' and the block definitions'
    // handles (a block's is its record's, the owner of its BLOCK, unless an
    // entity has it); new ones come after them. The file's other objects are
    // not kept, so their handles (and $HANDSEED) do not matter: a drawing
    // read and written again comes out the same.
    std::unordered_set<uint64_t> recordHandles;
    for (RawBlock& block : blocks_) {
        if (!definesBlock(block)) continue;
        const Group* owner = findGroup(block.header, 330);
        const auto* record = owner != nullptr ? std::get_if<HandleRef>(&owner->value) : nullptr;
        if (record == nullptr || record->handle == 0 || record->handle > kHighestKeptHandle) continue;
        block.recordHandle = record->handle;
        recordHandles.insert(block.recordHandle);
    }
    auto reserve = [&](const std::vector<RawEntity>& raws) {
        for (const RawEntity& raw : raws) {
            drawing.reserveHandle(raw.handle);
            if (!recordHandles.empty()) recordHandles.erase(raw.handle);
        }
    };
    reserve(entities_);
    for (const RawBlock& block : blocks_) reserve(block.entities);
    for (RawBlock& block : blocks_) {
        if (recordHandles.count(block.recordHandle) == 0) block.recordHandle = 0;
        drawing.reserveHandle(block.recordHandle);
    }

    drawing.header() = header_;
    for (const GroupList& record : linetypes_) {
        std::optional<std::wstring> name = groupString(record, 2);
        if (!name || !isValidSymbolName(*name) || Drawing::findRecord(drawing.linetypes(), *name)) continue;
        // Dashes only: shapes and text in a linetype refer to styles by handle.
        GroupList data = {intGroup(70, groupInt(record, 70).value_or(0)),
                          stringGroup(3, groupString(record, 3).value_or(L"")), intGroup(72, 65)};
        GroupList dashes;
        double total = 0;
        for (const Group& group : record) {
            if (group.code != 49) continue;
            const double length = std::get<double>(group.value);
            total += std::abs(length);
            dashes.push_back(realGroup(49, length));
            dashes.push_back(intGroup(74, 0));
        }
        data.push_back(intGroup(73, static_cast<int64_t>(dashes.size() / 2)));
        data.push_back(realGroup(40, total));
        data.insert(data.end(), dashes.begin(), dashes.end());
        drawing.linetypes().push_back({*name, std::move(data)});
    }
    for (const GroupList& record : styles_) {
        std::optional<std::wstring> name = groupString(record, 2);
        if (!name || name->empty()) continue;
        GroupList data;
        for (int code : {70, 40, 41, 50, 71, 42, 3, 4}) {
            if (const Group* group = findGroup(record, code)) data.push_back(*group);
        }
        bool replaced = false;
        for (TableRecord& existing : drawing.textStyles()) {
            if (equalsIgnoreCase(existing.name, *name)) {
                existing.data = data;
                replaced = true;
            }
        }
        if (!replaced) drawing.textStyles().push_back({*name, std::move(data)});
    }
    for (const GroupList& record : layers_) {
        std::optional<std::wstring> name = groupString(record, 2);
        if (!name || !isValidSymbolName(*name)) continue;
        Layer& layer = drawing.ensureLayer(*name);
        const int64_t color = groupInt(record, 62).value_or(7);
        layer.color = color == 0 || color < -255 || color > 255 ? 7 : static_cast<int>(color);
        layer.flags = static_cast<int>(groupInt(record, 70).value_or(0));
        layer.lineweight = static_cast<int>(groupInt(record, 370).value_or(-3));
        if (std::optional<std::wstring> linetype = groupString(record, 6)) {
            if (const TableRecord* known = Drawing::findRecord(drawing.linetypes(), *linetype)) {
                layer.linetype = known->name;
            }
        }
    }

    // Block definitions first (empty), so that references between them and
    // from the entities find them; then their entities.
    std::vector<std::pair<RawBlock*, uint64_t>> userBlocks;
    for (RawBlock& raw : blocks_) {
        const std::wstring upper = upperCase(raw.name);
        if (upper == L"*MODEL_SPACE") {
            addEntities(drawing, raw.entities, 0, false);
            continue;
        }
        if (upper == L"*PAPER_SPACE") {
            addEntities(drawing, raw.entities, 0, true);
            continue;
        }
        // Further layouts are not kept; empty names cannot be referred to.
        if (!definesBlock(raw)) continue;
        BlockDefinition block;
        block.name = raw.name;
        for (const Group& group : withoutFileLinks(raw.header, true)) {
            if (group.code == 2 || group.code == 3) continue;
            // An empty description or external reference path says nothing.
            const auto* text = std::get_if<std::wstring>(&group.value);
            if ((group.code == 1 || group.code == 4) && text != nullptr && text->empty()) continue;
            block.header.push_back(group);
        }
        if (findGroup(block.header, 8) == nullptr) block.header.insert(block.header.begin(), stringGroup(8, L"0"));
        if (findGroup(block.header, 70) == nullptr) block.header.push_back(intGroup(70, 0));
        if (findGroup(block.header, 10) == nullptr) block.header.push_back(pointGroup(10, {}));
        drawing.ensureLayer(*groupString(block.header, 8));
        block.recordHandle = takeHandle(drawing, raw.recordHandle);
        userBlocks.emplace_back(&raw, block.recordHandle);
        drawing.defineBlock(std::move(block));
    }
    for (auto& [raw, record] : userBlocks) {
        if (drawing.findBlockByRecord(record) != nullptr) addEntities(drawing, raw->entities, record, false);
    }
    breakBlockCycles(drawing);
    addEntities(drawing, entities_, 0, false);
}

void Parser::breakBlockCycles(Drawing& drawing) {
    std::vector<std::wstring> names;
    for (const BlockDefinition& block : drawing.blocks()) names.push_back(block.name);
    for (const std::wstring& name : names) {
        const BlockDefinition* block = drawing.findBlock(name);
        if (block == nullptr) continue;
        std::vector<uint64_t> cyclic;
        for (uint64_t handle : block->entities) {
            const Entity* entity = drawing.find(handle);
            if (entity == nullptr || entity->type != L"INSERT") continue;
            const std::wstring inserted = groupString(entity->data, 2).value_or(L"");
            if (drawing.blockLeadsTo(inserted, name)) cyclic.push_back(handle);
        }
        for (uint64_t handle : cyclic) {
            drawing.removeFromBlock(name, handle);
            leaveOut(L"INSERT: the block \"" + name + L"\" would contain itself");
        }
    }
}

}  // namespace

std::unique_ptr<Drawing> readDxf(std::istream& input, DxfReadNotes* notes) {
    Parser parser(input);
    std::unique_ptr<Drawing> drawing = parser.read();
    if (notes != nullptr) *notes = parser.notes();
    return drawing;
}

}  // namespace tz::cad
