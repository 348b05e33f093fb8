#include "dcl/Dialog.h"

#include <exception>

#include "FileSystem.h"

namespace tz::cad::dcl {

namespace {

// An edit box takes this many characters unless its edit_limit says otherwise.
constexpr size_t kDefaultEditLimit = 132;

std::wstring initialValue(const Tile& tile) {
    switch (tile.kind) {
        case TileKind::Toggle:
        case TileKind::RadioButton: return tile.text(L"value") == L"1" ? L"1" : L"0";
        case TileKind::Text:
        case TileKind::Button:
        case TileKind::ImageButton: return tile.text(L"value", tile.text(L"label"));
        case TileKind::RadioCluster: return L"";  // set once its buttons are known
        default: return tile.text(L"value");
    }
}

}  // namespace

Dialog::Dialog(std::wstring name, const Tile& tree, CLIENTFUNC defaultCallback)
    : name_(std::move(name)), root_(std::make_unique<Tile>(tree)), defaultCallback_(defaultCallback) {
    for (const Tile& child : root_->children) addTiles(child, -1, -1);
    // A cluster's own value names the chosen button; else the first button
    // whose value is "1" is chosen. Either way no more than one is.
    for (size_t i = 0; i < tiles_.size(); ++i) {
        if (tiles_[i].kind != TileKind::RadioCluster) continue;
        const std::wstring named = tiles_[i].definition->text(L"value");
        int chosen = -1;
        for (size_t k = 0; k < tiles_.size() && chosen < 0; ++k) {
            if (tiles_[k].radioCluster == static_cast<int>(i) && !named.empty() && tiles_[k].key == named) chosen = static_cast<int>(k);
        }
        for (size_t k = 0; k < tiles_.size() && chosen < 0; ++k) {
            if (tiles_[k].radioCluster == static_cast<int>(i) && tiles_[k].value == L"1") chosen = static_cast<int>(k);
        }
        choose(static_cast<int>(i), chosen);
    }
}

void Dialog::addTiles(const Tile& tile, int parent, int radioCluster) {
    TileState state;
    state.definition = &tile;
    state.kind = tile.kind;
    state.key = tile.text(L"key");
    state.value = initialValue(tile);
    state.enabled = tile.text(L"is_enabled") != L"false";
    state.parent = parent;
    if (tile.kind == TileKind::RadioButton) state.radioCluster = radioCluster;
    if (tile.kind == TileKind::EditBox) {
        state.editLimit = tile.has(L"edit_limit") ? std::stoul(tile.text(L"edit_limit")) : kDefaultEditLimit;
    }
    tiles_.push_back(std::move(state));
    const int index = static_cast<int>(tiles_.size()) - 1;
    const int innerCluster = tile.kind == TileKind::RadioCluster ? index : radioCluster;
    for (const Tile& child : tile.children) addTiles(child, index, innerCluster);
}

TileState* Dialog::find(const std::wstring& key) {
    if (key.empty()) return nullptr;
    for (TileState& tile : tiles_) {
        if (tile.key == key) return &tile;
    }
    return nullptr;
}

TileState* Dialog::tileFor(const void* handle) {
    for (TileState& state : tiles_) {
        if (&state == handle) return &state;
    }
    return nullptr;
}

void Dialog::assign(TileState& tile, const std::wstring& value) {
    if (tile.value == value) return;
    std::wstring old = std::move(tile.value);
    tile.value = value;
    if (onValueChanged) onValueChanged(tile, old);
}

// Chooses the button at index `chosen` of `cluster` (none for -1).
void Dialog::choose(int cluster, int chosen) {
    for (size_t i = 0; i < tiles_.size(); ++i) {
        if (tiles_[i].radioCluster == cluster) assign(tiles_[i], static_cast<int>(i) == chosen ? L"1" : L"0");
    }
    assign(tiles_[cluster], chosen >= 0 ? tiles_[chosen].key : L"");
}

bool Dialog::setValue(TileState& tile, const std::wstring& value) {
    switch (tile.kind) {
        case TileKind::Toggle: assign(tile, value == L"1" ? L"1" : L"0"); return true;
        case TileKind::RadioButton:
            if (tile.radioCluster < 0) {
                assign(tile, value == L"1" ? L"1" : L"0");
            } else if (value == L"1") {
                choose(tile.radioCluster, indexOf(tile));
            } else if (tile.value == L"1") {
                choose(tile.radioCluster, -1);
            }
            return true;
        case TileKind::RadioCluster: {
            if (value.empty()) {
                choose(indexOf(tile), -1);
                return true;
            }
            for (TileState& button : tiles_) {
                if (button.radioCluster == indexOf(tile) && button.key == value) {
                    choose(indexOf(tile), indexOf(button));
                    return true;
                }
            }
            return false;
        }
        default: assign(tile, value); return true;
    }
}

bool Dialog::setMode(TileState& tile, short mode) {
    switch (mode) {
        case MODE_ENABLE: tile.enabled = true; return true;
        case MODE_DISABLE: tile.enabled = false; return true;
        case MODE_FLIP: tile.enabled = !tile.enabled; return true;
        case MODE_SETFOCUS:
        case MODE_SETSEL: return true;
        default: return false;
    }
}

bool Dialog::isEnabled(const TileState& tile) const {
    for (const TileState* at = &tile;; at = &tiles_[at->parent]) {
        if (!at->enabled) return false;
        if (at->parent < 0) return true;
    }
}

InputOutcome Dialog::type(TileState& tile, const std::wstring& value) {
    if (!isEnabled(tile)) return InputOutcome::Disabled;
    switch (tile.kind) {
        case TileKind::EditBox: {
            const bool cut = tile.editLimit > 0 && value.size() > tile.editLimit;
            assign(tile, cut ? value.substr(0, tile.editLimit) : value);
            runAction(tile, CBR_LOST_FOCUS);
            return cut ? InputOutcome::Cut : InputOutcome::Done;
        }
        case TileKind::Toggle:
            if (value != L"0" && value != L"1") return InputOutcome::BadToggleValue;
            assign(tile, value);
            runAction(tile, CBR_SELECT);
            return InputOutcome::Done;
        case TileKind::RadioButton:
            if (value != L"1") return InputOutcome::BadRadioValue;
            return press(tile);
        case TileKind::RadioCluster:
            for (TileState& button : tiles_) {
                if (button.radioCluster == indexOf(tile) && !value.empty() && button.key == value) return press(button);
            }
            return InputOutcome::NoSuchRadioButton;
        case TileKind::ListBox:
        case TileKind::PopupList:
        case TileKind::Slider:
            assign(tile, value);
            runAction(tile, CBR_SELECT);
            return InputOutcome::Done;
        default: return InputOutcome::NotTypable;
    }
}

InputOutcome Dialog::press(TileState& tile) {
    if (!isEnabled(tile)) return InputOutcome::Disabled;
    switch (tile.kind) {
        case TileKind::Button:
        case TileKind::ImageButton: runAction(tile, CBR_SELECT); return InputOutcome::Done;
        case TileKind::Toggle:
            assign(tile, tile.value == L"1" ? L"0" : L"1");
            runAction(tile, CBR_SELECT);
            return InputOutcome::Done;
        case TileKind::RadioButton:
            setValue(tile, L"1");
            runAction(tile, CBR_SELECT);
            return InputOutcome::Done;
        default: return InputOutcome::NotPressable;
    }
}

TileState* Dialog::cancelTile() {
    for (TileState& tile : tiles_) {
        if (tile.definition->isTrue(L"is_cancel")) return &tile;
    }
    return find(L"cancel");
}

TileState* Dialog::defaultTile() {
    for (TileState& tile : tiles_) {
        if (tile.definition->isTrue(L"is_default")) return &tile;
    }
    return find(L"accept");
}

void Dialog::runAction(TileState& tile, int reason) {
    if (tile.action != nullptr) return invoke(tile.action, tile, reason);
    if (tile.kind == TileKind::RadioButton && tile.radioCluster >= 0 && tiles_[tile.radioCluster].action != nullptr) {
        return invoke(tiles_[tile.radioCluster].action, tiles_[tile.radioCluster], reason);
    }
    if (defaultCallback_ != nullptr) return invoke(defaultCallback_, tile, reason);
    const bool isButton = tile.kind == TileKind::Button || tile.kind == TileKind::ImageButton;
    if (!isButton || reason != CBR_SELECT) return;
    if (tile.key == L"accept") {
        close(DLGOK);
    } else if (tile.key == L"cancel" || tile.definition->isTrue(L"is_cancel")) {
        close(DLGCANCEL);
    }
}

void Dialog::invoke(CLIENTFUNC function, TileState& tile, int reason) {
    // The callback gets its own copy of the value: it may change the tile while it runs.
    std::vector<ACHAR> value(tile.value.begin(), tile.value.end());
    value.push_back(0);
    ads_callback_packet packet{};
    packet.dialog = handle();
    packet.tile = &tile;
    packet.value = value.data();
    packet.client_data = tile.clientData;
    packet.reason = reason;
    try {
        function(&packet);
    } catch (const std::exception& failure) {
        if (onNote) onNote(L"the action of tile \"" + tile.key + L"\" failed: " + tz::platform::fromUtf8(failure.what()));
    } catch (...) {
        if (onNote) onNote(L"the action of tile \"" + tile.key + L"\" failed");
    }
}

void Dialog::close(int status) {
    closed_ = true;
    status_ = status;
}

}  // namespace tz::cad::dcl
