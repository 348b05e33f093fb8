// acedGetVar and acedSetVar over the host's table of system variables.
// A string value handed out by acedGetVar is a new ACHAR array that the
// caller owns and frees with delete[] (as acutRelRb does for RTSTR buffers).
#include "FileSystem.h"
#include "acedads.h"
#include "core/SystemVariables.h"
#include "drawing/CurrentDrawing.h"
#include "drawing/Group.h"

int acedGetVar(const ACHAR* name, struct resbuf* result) {
    if (!name || !result) return RTERROR;
    return tz::cad::systemVariables().get(tz::platform::toUtf8(name), result);
}

int acedSetVar(const ACHAR* name, const struct resbuf* value) {
    if (!name || !value) return RTERROR;
    // The current layer must be one of the drawing's, as the host refuses
    // any other (entities made next would otherwise make it on the quiet),
    // and it is named as the drawing names it.
    if (tz::cad::equalsIgnoreCase(name, L"CLAYER") && value->restype == RTSTR && value->resval.rstring) {
        const tz::cad::Layer* layer = tz::cad::currentDrawing().findLayer(value->resval.rstring);
        if (layer == nullptr) return RTERROR;
        resbuf named = *value;
        named.resval.rstring = const_cast<ACHAR*>(layer->name.c_str());
        return tz::cad::systemVariables().set("CLAYER", &named);
    }
    return tz::cad::systemVariables().set(tz::platform::toUtf8(name), value);
}
