// A dialog at run time: its keyed tiles with their values and modes, the
// actions the program attached, and whether and how it was closed. The
// program side (set, get, mode, action) changes values without running
// actions; the user side (type, press) changes them as a user would and runs
// the actions with the reason the host gives them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "adsdlg.h"
#include "dcl/Tile.h"

namespace tz::cad::dcl {

struct TileState {
    const Tile* definition = nullptr;  // in the dialog's own tile tree
    TileKind kind = TileKind::Spacer;
    std::wstring key;    // empty for tiles without one
    std::wstring value;  // toggles "0"/"1"; radio clusters the chosen button's key
    bool enabled = true;  // the tile's own mode; a disabled cluster disables what it holds
    CLIENTFUNC action = nullptr;
    void* clientData = nullptr;
    int parent = -1;        // index of the enclosing tile, -1 for the dialog
    int radioCluster = -1;  // radio buttons: index of their cluster
    size_t editLimit = 0;   // edit boxes: characters a user can type, 0 for no limit
};

// What became of a user's input to a tile.
enum class InputOutcome {
    Done,
    Disabled,       // the tile (or a cluster holding it) is disabled: nothing happened
    NotTypable,     // buttons, texts, images: no value can be typed into them
    NotPressable,   // edit boxes, texts, lists: nothing to press
    BadToggleValue, // a toggle takes 0 or 1
    BadRadioValue,  // a radio button is chosen with 1; it cannot be unchosen by hand
    NoSuchRadioButton,  // a radio cluster was given a key that is none of its buttons
    Cut,            // typed into an edit box past its edit_limit: cut there, then taken
};

class Dialog {
public:
    // The default callback runs for tiles that have no action of their own.
    Dialog(std::wstring name, const Tile& tree, CLIENTFUNC defaultCallback);
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    const std::wstring& name() const { return name_; }
    // The dialog's label (its title), empty when it has none.
    std::wstring title() const { return root_->text(L"label", root_->text(L"value")); }
    ads_hdlg handle() { return this; }

    const std::vector<TileState>& tiles() const { return tiles_; }
    // The first tile with `key`, or null.
    TileState* find(const std::wstring& key);
    // The tile behind a tile handle when it is one of this dialog's, else null.
    TileState* tileFor(const void* handle);

    // Program side. Setting a radio button to "1" chooses it and unchooses its
    // siblings; setting a cluster to a button's key chooses that button; a
    // toggle becomes "1" or "0". False when a radio cluster is given a key
    // that none of its buttons has (nothing changes then).
    bool setValue(TileState& tile, const std::wstring& value);
    // MODE_ENABLE, MODE_DISABLE, MODE_FLIP change the tile's own mode;
    // MODE_SETFOCUS and MODE_SETSEL have nothing to show here. False for other modes.
    bool setMode(TileState& tile, short mode);
    // Enabled when the tile and every cluster holding it are.
    bool isEnabled(const TileState& tile) const;

    // User side: the value typed into a tile as it is left, then its action
    // (reason 2 for an edit box, 1 for toggles, radio buttons, lists, sliders).
    InputOutcome type(TileState& tile, const std::wstring& value);
    // User side: a click. Buttons run their action with reason 1; a toggle
    // flips; a radio button is chosen.
    InputOutcome press(TileState& tile);
    // The tile Escape presses (is_cancel, else key "cancel") and the one Enter
    // presses (is_default, else key "accept"); null when the dialog has none.
    TileState* cancelTile();
    TileState* defaultTile();

    // Runs the tile's action, else (for a radio button) its cluster's, else
    // the default callback; without any, "accept" closes with 1 and "cancel"
    // or an is_cancel tile with 0.
    void runAction(TileState& tile, int reason);

    bool started = false;
    void close(int status);
    bool closed() const { return closed_; }
    int status() const { return status_; }

    // Called after every change of a tile's value, with the old value.
    std::function<void(const TileState& tile, const std::wstring& oldValue)> onValueChanged;
    // Called with a note when an action ends by throwing (the dialog goes on).
    std::function<void(const std::wstring& note)> onNote;

private:
    void addTiles(const Tile& tile, int parent, int radioCluster);
    void assign(TileState& tile, const std::wstring& value);
    void choose(int cluster, int chosen);
    void invoke(CLIENTFUNC function, TileState& tile, int reason);
    int indexOf(const TileState& tile) const { return static_cast<int>(&tile - tiles_.data()); }

    std::wstring name_;
    std::unique_ptr<Tile> root_;  // the tree the tiles point into; never moves
    std::vector<TileState> tiles_;
    CLIENTFUNC defaultCallback_;
    bool closed_ = false;
    int status_ = DLGCANCEL;
};

}  // namespace tz::cad::dcl
