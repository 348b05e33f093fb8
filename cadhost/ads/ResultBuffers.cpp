// Result buffer lists and printing: acutBuildList, acutNewRb, acutRelRb,
// acutDelString, acutPrintf.
#include <cstdarg>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "acutads.h"
#include "ads/WideFormat.h"
#include "core/Console.h"
#include "drawing/GroupCodes.h"

namespace {

ACHAR* copyString(const ACHAR* text) {
    if (text == nullptr) text = L"";
    const size_t n = std::wcslen(text);
    auto* copy = new ACHAR[n + 1];
    std::wmemcpy(copy, text, n + 1);
    return copy;
}

// The kind of value a result buffer of this type carries.
int valueKind(int type) {
    switch (type) {
        case RTREAL:
        case RTANG:
        case RTORINT: return RTREAL;
        case RTPOINT:
        case RT3DPOINT: return RT3DPOINT;
        case RTSHORT: return RTSHORT;
        case RTLONG: return RTLONG;
        case RTSTR: return RTSTR;
        case RTENAME:
        case RTPICKS: return RTENAME;
        case RTLB:
        case RTLE:
        case RTDOTE:
        case RTNIL:
        case RTT:
        case RTVOID:
        case RTNONE: return RTNONE;
        default: return tz::cad::groupValueType(type);  // a DXF group code
    }
}

}  // namespace

struct resbuf* acutNewRb(int type) {
    auto* rb = new (std::nothrow) resbuf{};
    if (rb == nullptr) return nullptr;
    rb->restype = static_cast<short>(type);
    return rb;
}

int acutRelRb(struct resbuf* list) {
    while (list != nullptr) {
        resbuf* next = list->rbnext;
        if (valueKind(list->restype) == RTSTR) delete[] list->resval.rstring;
        delete list;
        list = next;
    }
    return RTNORM;
}

int acutDelString(ACHAR*& string) {
    delete[] string;
    string = nullptr;
    return RTNORM;
}

struct resbuf* acutBuildList(int rtype, ...) {
    va_list args;
    va_start(args, rtype);
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (int type = rtype; type != 0; type = va_arg(args, int)) {
        resbuf* rb = acutNewRb(type);
        if (rb == nullptr) {
            acutRelRb(head);
            va_end(args);
            return nullptr;
        }
        switch (valueKind(type)) {
            case RTREAL: rb->resval.rreal = va_arg(args, double); break;
            case RT3DPOINT: {
                const double* p = va_arg(args, const double*);
                rb->resval.rpoint[0] = p[0];
                rb->resval.rpoint[1] = p[1];
                rb->resval.rpoint[2] = type == RTPOINT ? 0.0 : p[2];
                break;
            }
            case RTSHORT: rb->resval.rint = static_cast<short>(va_arg(args, int)); break;
            case RTLONG: rb->resval.rlong = static_cast<int32_t>(va_arg(args, int)); break;
            case RTSTR: rb->resval.rstring = copyString(va_arg(args, const ACHAR*)); break;
            case RTENAME: {
                const intptr_t* name = va_arg(args, const intptr_t*);
                rb->resval.rlname[0] = name[0];
                rb->resval.rlname[1] = name[1];
                break;
            }
            default: break;  // list markers carry no value
        }
        if (tail) tail->rbnext = rb;
        else head = rb;
        tail = rb;
    }
    va_end(args);
    return head;
}

int acutPrintf(const ACHAR* format, ...) {
    va_list args;
    va_start(args, format);
    const std::wstring text = tz::cad::formatWide(format, args);
    va_end(args);
    tz::cad::console().print(text);
    return static_cast<int>(text.size());
}
