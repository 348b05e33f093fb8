#include "drawing/CurrentDrawing.h"

namespace tz::cad {

namespace {
std::unique_ptr<Drawing>& openDrawingSlot() {
    static std::unique_ptr<Drawing> drawing = std::make_unique<Drawing>();
    return drawing;
}
}  // namespace

Drawing& currentDrawing() { return *openDrawingSlot(); }

void replaceCurrentDrawing(std::unique_ptr<Drawing> drawing) {
    if (drawing) openDrawingSlot() = std::move(drawing);
}

void makeEntityName(const Drawing& drawing, uint64_t handle, intptr_t name[2]) {
    name[0] = static_cast<intptr_t>(handle);
    name[1] = drawing.serial();
}

Entity* resolveEntityName(Drawing& drawing, const intptr_t name[2]) {
    if (name == nullptr || name[1] != drawing.serial() || name[0] <= 0) return nullptr;
    return drawing.find(static_cast<uint64_t>(name[0]));
}

}  // namespace tz::cad
