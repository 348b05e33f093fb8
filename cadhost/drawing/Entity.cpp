#include "drawing/Entity.h"

#include <functional>
#include <mutex>
#include <unordered_set>

namespace tz::cad {

namespace {

struct TextHash {
    using is_transparent = void;
    size_t operator()(std::wstring_view text) const { return std::hash<std::wstring_view>{}(text); }
};

// Every type text the process has met, each kept once; the set's nodes do not
// move when it grows, so the kept texts' addresses stay valid. A file can
// bring types of its own, but each is kept once however many entities have it.
class TypeTexts {
public:
    const std::wstring* keep(std::wstring_view text) {
        if (text.empty()) return &none();
        const std::lock_guard lock(mutex_);
        auto found = texts_.find(text);
        if (found == texts_.end()) found = texts_.emplace(text).first;
        return &*found;
    }

    // The text of an entity whose type is not given yet; entities are made by
    // the million, so it is had without taking the lock.
    static const std::wstring& none() {
        static const std::wstring empty;
        return empty;
    }

private:
    std::mutex mutex_;
    std::unordered_set<std::wstring, TextHash, std::equal_to<>> texts_;
};

TypeTexts& typeTexts() {
    static TypeTexts texts;
    return texts;
}

}  // namespace

EntityType::EntityType() : text_(&TypeTexts::none()) {}

EntityType::EntityType(std::wstring_view text) : text_(typeTexts().keep(text)) {}

}  // namespace tz::cad
