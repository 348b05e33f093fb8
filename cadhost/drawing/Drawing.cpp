#include "drawing/Drawing.h"

#include <algorithm>
#include <atomic>
#include <unordered_set>

namespace tz::cad {

namespace {

intptr_t nextSerial() {
    static std::atomic<intptr_t> counter{0};
    return ++counter;
}

TableRecord simpleLinetype(const wchar_t* name, const wchar_t* description) {
    return {name,
            {intGroup(70, 0), stringGroup(3, description), intGroup(72, 65), intGroup(73, 0), realGroup(40, 0.0)}};
}

}  // namespace

Drawing::Drawing() : serial_(nextSerial()) {
    ensureLayer(L"0");
    linetypes_ = {simpleLinetype(L"ByBlock", L""), simpleLinetype(L"ByLayer", L""),
                  simpleLinetype(L"Continuous", L"Solid line")};
    textStyles_ = {{L"Standard",
                    {intGroup(70, 0), realGroup(40, 0.0), realGroup(41, 1.0), realGroup(50, 0.0), intGroup(71, 0),
                     realGroup(42, 2.5), stringGroup(3, L"txt"), stringGroup(4, L"")}}};
}

Entity* Drawing::find(uint64_t handle) {
    auto it = entities_.find(handle);
    return it == entities_.end() ? nullptr : &it->second;
}

const Entity* Drawing::find(uint64_t handle) const {
    auto it = entities_.find(handle);
    return it == entities_.end() ? nullptr : &it->second;
}

Entity& Drawing::store(Entity entity) {
    reserveHandle(entity.handle);
    const uint64_t handle = entity.handle;
    auto [it, inserted] = entities_.insert_or_assign(handle, std::move(entity));
    (void)inserted;
    return it->second;
}

void Drawing::append(uint64_t handle) {
    const Entity* entity = find(handle);
    if (entity == nullptr) return;
    if (entity->block != 0) {
        for (BlockDefinition& block : blocks_) {
            if (block.recordHandle == entity->block) {
                block.entities.push_back(handle);
                return;
            }
        }
        if (pending_.block && pending_.block->recordHandle == entity->block) {
            pending_.block->entities.push_back(handle);
        }
        return;
    }
    orderIndex_[handle] = order_.size();
    order_.push_back(handle);
}

const std::vector<uint64_t>* Drawing::containerOf(const Entity& entity) const {
    if (entity.block == 0) return &order_;
    for (const BlockDefinition& block : blocks_) {
        if (block.recordHandle == entity.block) return &block.entities;
    }
    if (pending_.block && pending_.block->recordHandle == entity.block) return &pending_.block->entities;
    return nullptr;
}

std::optional<uint64_t> Drawing::nextTopLevel(const Entity& entity) const {
    const std::vector<uint64_t>* container = containerOf(entity);
    if (container == nullptr) return std::nullopt;
    size_t position;
    if (entity.block == 0) {
        auto it = orderIndex_.find(entity.handle);
        if (it == orderIndex_.end()) return std::nullopt;
        position = it->second;
    } else {
        auto it = std::find(container->begin(), container->end(), entity.handle);
        if (it == container->end()) return std::nullopt;
        position = static_cast<size_t>(it - container->begin());
    }
    for (size_t i = position + 1; i < container->size(); ++i) {
        const Entity* candidate = find((*container)[i]);
        if (candidate != nullptr && !candidate->erased) return candidate->handle;
    }
    return std::nullopt;
}

std::optional<uint64_t> Drawing::firstEntity() const {
    for (uint64_t handle : order_) {
        const Entity* entity = find(handle);
        if (entity != nullptr && !entity->erased) return handle;
    }
    return std::nullopt;
}

std::optional<uint64_t> Drawing::nextEntity(uint64_t handle) const {
    const Entity* entity = find(handle);
    if (entity == nullptr) return std::nullopt;
    if (!entity->subEntities.empty() && !entity->erased) return entity->subEntities.front();
    if (entity->owner != 0) {
        const Entity* owner = find(entity->owner);
        if (owner == nullptr) return std::nullopt;
        const auto& siblings = owner->subEntities;
        size_t index = entity->indexInOwner;
        if (index >= siblings.size() || siblings[index] != handle) {
            index = static_cast<size_t>(std::find(siblings.begin(), siblings.end(), handle) - siblings.begin());
        }
        if (index + 1 < siblings.size()) return siblings[index + 1];
        return nextTopLevel(*owner);
    }
    return nextTopLevel(*entity);
}

std::optional<uint64_t> Drawing::lastEntity() const {
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        const Entity* entity = find(*it);
        if (entity != nullptr && !entity->erased) return *it;
    }
    return std::nullopt;
}

bool Drawing::toggleErased(uint64_t handle) {
    Entity* entity = find(handle);
    if (entity == nullptr || entity->isSubEntity()) return false;
    entity->erased = !entity->erased;
    return true;
}

size_t Drawing::FoldedHash::operator()(std::wstring_view name) const {
    size_t hash = 1469598103934665603ull;  // FNV-1a over the folded letters
    for (wchar_t c : name) hash = (hash ^ static_cast<size_t>(upperLetter(c))) * 1099511628211ull;
    return hash;
}

Layer* Drawing::findLayer(std::wstring_view name) {
    const auto it = layerIndex_.find(name);
    return it == layerIndex_.end() ? nullptr : &layers_[it->second];
}

const Layer* Drawing::findLayer(std::wstring_view name) const {
    const auto it = layerIndex_.find(name);
    return it == layerIndex_.end() ? nullptr : &layers_[it->second];
}

Layer& Drawing::ensureLayer(std::wstring_view name) {
    if (Layer* layer = findLayer(name)) return *layer;
    layerIndex_.emplace(std::wstring(name), layers_.size());
    layers_.push_back(Layer{std::wstring(name)});
    return layers_.back();
}

const TableRecord* Drawing::findRecord(const std::vector<TableRecord>& table, std::wstring_view name) {
    for (const TableRecord& record : table) {
        if (equalsIgnoreCase(record.name, name)) return &record;
    }
    return nullptr;
}

const BlockDefinition* Drawing::findBlock(std::wstring_view name) const {
    const auto it = blockIndex_.find(name);
    return it == blockIndex_.end() ? nullptr : &blocks_[it->second];
}

const BlockDefinition* Drawing::findBlockByRecord(uint64_t recordHandle) const {
    for (const BlockDefinition& block : blocks_) {
        if (block.recordHandle == recordHandle) return &block;
    }
    return nullptr;
}

void Drawing::forget(uint64_t handle) {
    auto it = entities_.find(handle);
    if (it == entities_.end()) return;
    const std::vector<uint64_t> subs = it->second.subEntities;
    entities_.erase(it);
    for (uint64_t sub : subs) entities_.erase(sub);
}

bool Drawing::blockLeadsTo(std::wstring_view from, std::wstring_view target) const {
    std::vector<const BlockDefinition*> pending;
    std::unordered_set<const BlockDefinition*> seen;
    auto visit = [&](std::wstring_view name) {
        if (equalsIgnoreCase(name, target)) return true;
        const BlockDefinition* block = findBlock(name);
        if (block != nullptr && seen.insert(block).second) pending.push_back(block);
        return false;
    };
    if (visit(from)) return true;
    while (!pending.empty()) {
        const BlockDefinition* block = pending.back();
        pending.pop_back();
        for (uint64_t handle : block->entities) {
            const Entity* entity = find(handle);
            if (entity == nullptr || entity->type != L"INSERT") continue;
            if (const Group* name = findGroup(entity->data, 2)) {
                if (const auto* text = std::get_if<std::wstring>(&name->value); text && visit(*text)) return true;
            }
        }
    }
    return false;
}

void Drawing::removeFromBlock(std::wstring_view name, uint64_t handle) {
    const auto it = blockIndex_.find(name);
    if (it == blockIndex_.end()) return;
    std::erase(blocks_[it->second].entities, handle);
    forget(handle);
}

void Drawing::defineBlock(BlockDefinition block) {
    const auto [it, added] = blockIndex_.emplace(block.name, blocks_.size());
    if (added) {
        blocks_.push_back(std::move(block));
        return;
    }
    BlockDefinition& existing = blocks_[it->second];
    for (uint64_t handle : existing.entities) forget(handle);
    existing = std::move(block);
}

}  // namespace tz::cad
