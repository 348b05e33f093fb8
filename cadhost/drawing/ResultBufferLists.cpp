#include "drawing/ResultBufferLists.h"

#include <cwchar>

#include "acutads.h"
#include "drawing/CurrentDrawing.h"
#include "drawing/GroupCodes.h"

namespace tz::cad {

bool groupsFromResultBuffers(const resbuf* list, Drawing& drawing, GroupList& groups, std::wstring& error) {
    groups.clear();
    // Room for the buffers and two groups more: an entity's list keeps about
    // that many (its type leaves; its layer and, for a VERTEX, its flags come
    // in), and drawings hold millions of them.
    size_t count = 0;
    for (const resbuf* rb = list; rb != nullptr; rb = rb->rbnext) ++count;
    groups.reserve(count + 2);
    for (const resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
        const int code = rb->restype == RTDXF0 ? 0 : rb->restype;
        switch (groupValueType(code)) {
            case RTSTR:
                if (rb->resval.rstring == nullptr) {
                    error = L"group " + std::to_wstring(code) + L" holds no string";
                    return false;
                }
                groups.push_back(stringGroup(code, rb->resval.rstring));
                break;
            case RT3DPOINT:
                groups.push_back(pointGroup(code, {rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]}));
                break;
            case RTREAL: groups.push_back(realGroup(code, rb->resval.rreal)); break;
            case RTSHORT: groups.push_back(intGroup(code, rb->resval.rint)); break;
            case RTLONG: groups.push_back(intGroup(code, rb->resval.rlong)); break;
            case RTENAME: {
                const Entity* entity = resolveEntityName(drawing, rb->resval.rlname);
                if (entity == nullptr) {
                    error = L"group " + std::to_wstring(code) + L" names no entity of this drawing";
                    return false;
                }
                groups.push_back({code, HandleRef{entity->handle}});
                break;
            }
            default: error = L"no such group code: " + std::to_wstring(code); return false;
        }
    }
    return true;
}

resbuf* resultBuffersFromGroups(const GroupList& groups, const Drawing& drawing) {
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (const Group& group : groups) {
        resbuf* rb = acutNewRb(group.code);
        if (rb == nullptr) {
            acutRelRb(head);
            return nullptr;
        }
        if (const auto* text = std::get_if<std::wstring>(&group.value)) {
            rb->resval.rstring = new ACHAR[text->size() + 1];
            std::wmemcpy(rb->resval.rstring, text->c_str(), text->size() + 1);
        } else if (const auto* point = std::get_if<Point3>(&group.value)) {
            rb->resval.rpoint[0] = point->x;
            rb->resval.rpoint[1] = point->y;
            rb->resval.rpoint[2] = point->z;
        } else if (const auto* real = std::get_if<double>(&group.value)) {
            rb->resval.rreal = *real;
        } else if (const auto* integer = std::get_if<int64_t>(&group.value)) {
            if (groupValueType(group.code) == RTSHORT) {
                rb->resval.rint = static_cast<short>(*integer);
            } else {
                rb->resval.rlong = static_cast<int32_t>(*integer);
            }
        } else if (const auto* reference = std::get_if<HandleRef>(&group.value)) {
            makeEntityName(drawing, reference->handle, rb->resval.rlname);
        }
        if (tail == nullptr) {
            head = rb;
        } else {
            tail->rbnext = rb;
        }
        tail = rb;
    }
    return head;
}

}  // namespace tz::cad
