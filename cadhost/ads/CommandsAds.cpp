// The host's command function: acedCommand and acedCmd run host and plug-in
// commands from a list of values, as if typed.
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "acdbads.h"
#include "acedads.h"
#include "acutads.h"
#include "core/CommandLine.h"
#include "drawing/GroupCodes.h"
#include "lisp/Value.h"

namespace {

// A command is given the value itself, as the host passes it, not a rounding of it.
std::wstring numberText(double value) { return tz::cad::lisp::roundTripText(value); }

std::wstring pointText(const double* p, bool threeD) {
    std::wstring text = numberText(p[0]) + L"," + numberText(p[1]);
    if (threeD) text += L"," + numberText(p[2]);
    return text;
}

// An entity is given to a command by its handle.
std::wstring entityText(const intptr_t* name) {
    std::wstring text;
    resbuf* list = acdbEntGet(name);
    for (resbuf* rb = list; rb; rb = rb->rbnext) {
        if (rb->restype == 5 && rb->resval.rstring) text = std::wstring(L"#") + rb->resval.rstring;
    }
    acutRelRb(list);
    return text;
}

std::wstring tokenOf(const resbuf& rb) {
    switch (rb.restype) {
        case RTSTR: return rb.resval.rstring ? rb.resval.rstring : L"";
        case RTREAL:
        case RTANG:
        case RTORINT: return numberText(rb.resval.rreal);
        case RTSHORT: return std::to_wstring(rb.resval.rint);
        case RTLONG: return std::to_wstring(rb.resval.rlong);
        case RTPOINT: return pointText(rb.resval.rpoint, false);
        case RT3DPOINT: return pointText(rb.resval.rpoint, true);
        case RTENAME: return entityText(rb.resval.rlname);
        default: return L"";
    }
}

}  // namespace

int acedCmd(const struct resbuf* args) {
    std::vector<std::wstring> tokens;
    for (const resbuf* rb = args; rb; rb = rb->rbnext) {
        if (rb->restype == RTNONE) break;
        tokens.push_back(tokenOf(*rb));
    }
    return tz::cad::runCommandTokens(tokens);
}

int acedCommand(int rtype, ...) {
    va_list args;
    va_start(args, rtype);
    std::vector<std::wstring> tokens;
    for (int type = rtype; type != 0 && type != RTNONE; type = va_arg(args, int)) {
        resbuf rb{};
        rb.restype = static_cast<short>(type);
        switch (type) {
            case RTSTR: rb.resval.rstring = const_cast<ACHAR*>(va_arg(args, const ACHAR*)); break;
            case RTREAL:
            case RTANG:
            case RTORINT: rb.resval.rreal = va_arg(args, double); break;
            case RTSHORT: rb.resval.rint = static_cast<short>(va_arg(args, int)); break;
            case RTLONG: rb.resval.rlong = static_cast<int32_t>(va_arg(args, int)); break;
            case RTPOINT:
            case RT3DPOINT: {
                const double* p = va_arg(args, const double*);
                rb.resval.rpoint[0] = p[0];
                rb.resval.rpoint[1] = p[1];
                rb.resval.rpoint[2] = type == RTPOINT ? 0.0 : p[2];
                break;
            }
            case RTENAME:
            case RTPICKS: {
                const intptr_t* name = va_arg(args, const intptr_t*);
                rb.resval.rlname[0] = name[0];
                rb.resval.rlname[1] = name[1];
                break;
            }
            default:
                va_end(args);
                return RTERROR;  // a type the command function does not take
        }
        tokens.push_back(tokenOf(rb));
    }
    va_end(args);
    return tz::cad::runCommandTokens(tokens);
}
