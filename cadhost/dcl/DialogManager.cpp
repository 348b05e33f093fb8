#include "dcl/DialogManager.h"

#include <algorithm>
#include <limits>

#include "core/Console.h"
#include "dcl/DialogSession.h"

namespace tz::cad::dcl {

namespace {

void reportError(const std::wstring& text) {
    console().freshLine();
    console().print(L"DCL error: " + text + L"\n");
}

}  // namespace

DialogManager& dialogManager() {
    static DialogManager manager;
    return manager;
}

int DialogManager::load(const std::wstring& fileName) {
    std::variant<DclDocument, DclError> loaded = loadDclFile(fileName);
    if (std::holds_alternative<DclError>(loaded)) {
        reportError(std::get<DclError>(loaded).describe());
        return -1;
    }
    if (nextId_ == std::numeric_limits<int>::max()) return -1;
    const int id = nextId_++;
    documents_.emplace(id, std::get<DclDocument>(std::move(loaded)));
    return id;
}

bool DialogManager::unload(int id) { return documents_.erase(id) == 1; }

Dialog* DialogManager::create(const std::wstring& dialogName, int id, CLIENTFUNC defaultCallback) {
    const auto document = documents_.find(id);
    if (document == documents_.end()) return nullptr;
    const Tile* tree = document->second.dialog(dialogName);
    if (tree == nullptr) {
        reportError(document->second.name + L" has no dialog \"" + dialogName + L"\"");
        return nullptr;
    }
    dialogs_.push_back(std::make_unique<Dialog>(dialogName, *tree, defaultCallback));
    return dialogs_.back().get();
}

int DialogManager::start(Dialog& dialog) {
    dialog.started = true;
    const int status = runDialogSession(dialog);
    std::erase_if(dialogs_, [&dialog](const std::unique_ptr<Dialog>& owned) { return owned.get() == &dialog; });
    return status;
}

void DialogManager::terminateAll() {
    for (const std::unique_ptr<Dialog>& owned : dialogs_) {
        if (owned->started) owned->close(DLGALLDONE);
    }
    std::erase_if(dialogs_, [](const std::unique_ptr<Dialog>& owned) { return !owned->started; });
}

Dialog* DialogManager::dialog(const void* handle) {
    for (const std::unique_ptr<Dialog>& owned : dialogs_) {
        if (owned.get() == handle) return owned.get();
    }
    return nullptr;
}

TileState* DialogManager::tile(const void* handle) {
    for (const std::unique_ptr<Dialog>& owned : dialogs_) {
        if (TileState* state = owned->tileFor(handle)) return state;
    }
    return nullptr;
}

}  // namespace tz::cad::dcl
