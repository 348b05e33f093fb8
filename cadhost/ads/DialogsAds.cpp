// The host's programmable dialog functions. A dialog handle is the address of
// the dialog object, a tile handle that of the tile's state; both are checked
// against the live dialogs before use, so a stale handle gives RTERROR.
#include <algorithm>
#include <cwchar>
#include <string>

#include "adscodes.h"
#include "adsdlg.h"
#include "dcl/DialogManager.h"

using tz::cad::dcl::Dialog;
using tz::cad::dcl::dialogManager;
using tz::cad::dcl::TileState;

namespace {

// Copies at most maxLength - 1 characters and a terminating zero.
int copyLimited(const std::wstring& text, ACHAR* out, int maxLength) {
    if (out == nullptr || maxLength <= 0) return RTERROR;
    const size_t count = std::min(text.size(), static_cast<size_t>(maxLength) - 1);
    std::wmemcpy(out, text.data(), count);
    out[count] = 0;
    return RTNORM;
}

TileState* keyedTile(ads_hdlg hdlg, const ACHAR* key, Dialog** owner) {
    Dialog* dialog = dialogManager().dialog(hdlg);
    if (dialog == nullptr || key == nullptr) return nullptr;
    *owner = dialog;
    return dialog->find(key);
}

}  // namespace

int ads_load_dialog(const ACHAR* dclFile, int* dclId) {
    if (dclId != nullptr) *dclId = -1;
    if (dclFile == nullptr || dclId == nullptr) return RTERROR;
    *dclId = dialogManager().load(dclFile);
    return *dclId > 0 ? RTNORM : RTERROR;
}

int ads_unload_dialog(int dclId) { return dialogManager().unload(dclId) ? RTNORM : RTERROR; }

int ads_new_dialog(const ACHAR* dialogName, int dclId, CLIENTFUNC defaultCallback, ads_hdlg* hdlg) {
    if (hdlg != nullptr) *hdlg = nullptr;
    if (dialogName == nullptr || hdlg == nullptr) return RTERROR;
    Dialog* dialog = dialogManager().create(dialogName, dclId, defaultCallback);
    if (dialog == nullptr) return RTERROR;
    *hdlg = dialog->handle();
    return RTNORM;
}

int ads_start_dialog(ads_hdlg hdlg, int* status) {
    Dialog* dialog = dialogManager().dialog(hdlg);
    if (dialog == nullptr || dialog->started) return RTERROR;
    const int result = dialogManager().start(*dialog);
    if (status != nullptr) *status = result;
    return RTNORM;
}

int ads_done_dialog(ads_hdlg hdlg, int status) {
    Dialog* dialog = dialogManager().dialog(hdlg);
    if (dialog == nullptr || !dialog->started) return RTERROR;
    dialog->close(status);
    return RTNORM;
}

int ads_term_dialog() {
    dialogManager().terminateAll();
    return RTNORM;
}

int ads_set_tile(ads_hdlg hdlg, const ACHAR* key, const ACHAR* value) {
    Dialog* dialog = nullptr;
    TileState* tile = keyedTile(hdlg, key, &dialog);
    if (tile == nullptr || value == nullptr) return RTERROR;
    return dialog->setValue(*tile, value) ? RTNORM : RTERROR;
}

int ads_get_tile(ads_hdlg hdlg, const ACHAR* key, ACHAR* value, int maxLength) {
    Dialog* dialog = nullptr;
    TileState* tile = keyedTile(hdlg, key, &dialog);
    if (tile == nullptr) {
        if (value != nullptr && maxLength > 0) value[0] = 0;
        return RTERROR;
    }
    return copyLimited(tile->value, value, maxLength);
}

int ads_mode_tile(ads_hdlg hdlg, const ACHAR* key, short mode) {
    Dialog* dialog = nullptr;
    TileState* tile = keyedTile(hdlg, key, &dialog);
    if (tile == nullptr) return RTERROR;
    return dialog->setMode(*tile, mode) ? RTNORM : RTERROR;
}

int ads_action_tile(ads_hdlg hdlg, const ACHAR* key, CLIENTFUNC action) {
    Dialog* dialog = nullptr;
    TileState* tile = keyedTile(hdlg, key, &dialog);
    if (tile == nullptr) return RTERROR;
    tile->action = action;
    return RTNORM;
}

int ads_client_data_tile(ads_hdlg hdlg, const ACHAR* key, void* clientData) {
    Dialog* dialog = nullptr;
    TileState* tile = keyedTile(hdlg, key, &dialog);
    if (tile == nullptr) return RTERROR;
    tile->clientData = clientData;
    return RTNORM;
}

// The tile's attribute as its dialog file gives it (after prototypes): "key",
// "label", "value" (the value it was defined with), "width", ...
int ads_get_attr_string(ads_htile tile, const ACHAR* attribute, ACHAR* value, int maxLength) {
    const TileState* state = dialogManager().tile(tile);
    if (state == nullptr || attribute == nullptr || !state->definition->has(attribute)) {
        if (value != nullptr && maxLength > 0) value[0] = 0;
        return RTERROR;
    }
    return copyLimited(state->definition->text(attribute), value, maxLength);
}
