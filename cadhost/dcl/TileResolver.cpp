#include "dcl/TileResolver.h"

#include <set>
#include <vector>

namespace tz::cad::dcl {

const DefinitionScope::Entry* DefinitionScope::find(const std::wstring& name) const {
    const auto found = entries_.find(name);
    return found == entries_.end() ? nullptr : &found->second;
}

namespace {

struct ResolveFailure {
    DclError error;
};

const std::set<std::wstring>& stringAttributes() {
    static const std::set<std::wstring> names = {L"key", L"label", L"value", L"mnemonic", L"action",
                                                 L"initial_focus", L"list", L"password_char"};
    return names;
}

const std::set<std::wstring>& booleanAttributes() {
    static const std::set<std::wstring> names = {L"is_enabled", L"is_default", L"is_cancel", L"is_bold",
                                                 L"is_tab_stop", L"fixed_width", L"fixed_height",
                                                 L"allow_accept", L"multiple_select", L"is_error_tile",
                                                 L"fixed_width_font"};
    return names;
}

const std::set<std::wstring>& numberAttributes() {
    static const std::set<std::wstring> names = {L"width", L"height", L"edit_width", L"edit_limit",
                                                 L"min_value", L"max_value", L"small_increment",
                                                 L"big_increment", L"aspect_ratio", L"children_fixed_width",
                                                 L"children_fixed_height"};
    return names;
}

class Resolver {
public:
    explicit Resolver(const DefinitionScope& scope) : scope_(scope) {}

    Tile resolveSpec(const TileSpec& definition, const std::wstring& file) {
        if (++tileCount_ > kMaxResolvedTiles) {
            fail(file, definition.line, L"the tiles grow past " + std::to_wstring(kMaxResolvedTiles) +
                                      L" once prototypes are expanded");
        }
        if (definition.isReference) return resolveNamed(definition.name, definition.line, file);
        Tile tile = resolveNamed(definition.prototype, definition.line, file);
        tile.line = definition.line;
        for (const Attribute& attribute : definition.attributes) {
            checkAttribute(attribute, file);
            tile.attributes[attribute.name] = attribute.value;
        }
        for (const TileSpec& childSpec : definition.children) {
            Tile child = resolveSpec(childSpec, file);
            if (child.kind == TileKind::Dialog) {
                fail(file, childSpec.line, L"a dialog cannot be placed inside another tile");
            }
            if (child.kind == TileKind::Settings) {
                fail(file, childSpec.line, L"\"" + child.type + L"\" cannot be placed inside a tile");
            }
            tile.children.push_back(std::move(child));
        }
        if (!tile.children.empty() && !holdsChildren(tile.kind)) {
            fail(file, definition.line, L"a tile of type \"" + tile.type + L"\" cannot hold other tiles");
        }
        return tile;
    }

    // The definition itself is on the stack, so a tile of it inside itself is a cycle.
    Tile resolveTop(const TileSpec& definition, const std::wstring& file) {
        stack_.push_back(definition.name);
        return resolveSpec(definition, file);
    }

private:
    Tile resolveNamed(const std::wstring& name, int line, const std::wstring& file) {
        if (const std::optional<TileKind> kind = builtInKind(name)) {
            Tile tile;
            tile.type = name;
            tile.kind = *kind;
            tile.line = line;
            return tile;
        }
        const DefinitionScope::Entry* entry = scope_.find(name);
        if (entry == nullptr) fail(file, line, L"no tile type or definition is named \"" + name + L"\"");
        for (size_t i = 0; i < stack_.size(); ++i) {
            if (stack_[i] != name) continue;
            std::wstring chain;
            for (size_t k = i; k < stack_.size(); ++k) chain += stack_[k] + L" -> ";
            fail(entry->file, entry->definition->line, L"definition \"" + name + L"\" is built on itself: " + chain + name);
        }
        stack_.push_back(name);
        Tile tile = resolveSpec(*entry->definition, entry->file);
        stack_.pop_back();
        return tile;
    }

    void checkAttribute(const Attribute& attribute, const std::wstring& file) {
        const AttributeValue& value = attribute.value;
        const std::wstring quoted = L"attribute \"" + attribute.name + L"\"";
        if (stringAttributes().count(attribute.name) && value.kind != AttributeValue::Kind::String) {
            fail(file, attribute.line, quoted + L" takes a quoted string, not " + value.text);
        }
        if (booleanAttributes().count(attribute.name) &&
            (value.kind != AttributeValue::Kind::Word || (value.text != L"true" && value.text != L"false"))) {
            fail(file, attribute.line, quoted + L" takes true or false, not " + value.text);
        }
        if (numberAttributes().count(attribute.name) && value.kind != AttributeValue::Kind::Number) {
            fail(file, attribute.line, quoted + L" takes a number, not " + value.text);
        }
        if (attribute.name == L"edit_limit" &&
            (value.text.find_first_not_of(L"0123456789") != std::wstring::npos || value.text.size() > 9)) {
            fail(file, attribute.line, quoted + L" takes a whole number of characters, not " + value.text);
        }
    }

    [[noreturn]] void fail(const std::wstring& file, int line, std::wstring message) {
        throw ResolveFailure{DclError{file, line, std::move(message)}};
    }

    const DefinitionScope& scope_;
    std::vector<std::wstring> stack_;
    size_t tileCount_ = 0;
};

}  // namespace

std::variant<Tile, DclError> resolveDefinition(const DefinitionScope& scope, const TileSpec& definition,
                                               const std::wstring& file) {
    try {
        return Resolver(scope).resolveTop(definition, file);
    } catch (const ResolveFailure& failure) {
        return failure.error;
    }
}

}  // namespace tz::cad::dcl
