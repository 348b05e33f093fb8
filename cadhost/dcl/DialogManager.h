// The host's dialog bookkeeping: loaded dialog files by id and the dialogs
// that exist (created and not yet finished). Handles given to the program are
// checked against it, so a stale or foreign handle is refused, never followed.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dcl/DclLoader.h"
#include "dcl/Dialog.h"

namespace tz::cad::dcl {

class DialogManager {
public:
    // Loads the dialog file; returns its id (> 0), or -1 after printing why not.
    int load(const std::wstring& fileName);
    // Forgets a loaded file; dialogs made from it live on. False for an unknown id.
    bool unload(int id);
    // A new dialog from a loaded file, or null (printing why when the file
    // has no such dialog).
    Dialog* create(const std::wstring& dialogName, int id, CLIENTFUNC defaultCallback);
    // Shows the dialog and works it until it is closed; the dialog is gone
    // afterwards. Returns the status it was closed with.
    int start(Dialog& dialog);
    // Closes every started dialog with DLGALLDONE and drops those not started.
    void terminateAll();

    // The dialog or tile behind a handle, or null when the handle is not live.
    Dialog* dialog(const void* handle);
    TileState* tile(const void* handle);

private:
    std::map<int, DclDocument> documents_;
    std::vector<std::unique_ptr<Dialog>> dialogs_;
    int nextId_ = 1;
};

DialogManager& dialogManager();

}  // namespace tz::cad::dcl
