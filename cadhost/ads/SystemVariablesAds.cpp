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

namespace {

// A string value named as the drawing names it (the table's spelling).
int setNamed(const char* variable, const struct resbuf* value, const std::wstring& name) {
    resbuf named = *value;
    named.resval.rstring = const_cast<ACHAR*>(name.c_str());
    return tz::cad::systemVariables().set(variable, &named);
}

}  // namespace

int acedSetVar(const ACHAR* name, const struct resbuf* value) {
    if (!name || !value) return RTERROR;
    // The current layer, text style and linetype must be the drawing's, as
    // the host refuses any other (entities made next would otherwise make a
    // layer on the quiet, or name a style or linetype no reader finds).
    if (value->restype == RTSTR && value->resval.rstring) {
        const std::wstring_view text = value->resval.rstring;
        const tz::cad::Drawing& drawing = tz::cad::currentDrawing();
        if (tz::cad::equalsIgnoreCase(name, L"CLAYER")) {
            const tz::cad::Layer* layer = drawing.findLayer(text);
            return layer == nullptr ? RTERROR : setNamed("CLAYER", value, layer->name);
        }
        if (tz::cad::equalsIgnoreCase(name, L"TEXTSTYLE")) {
            const tz::cad::TableRecord* style = tz::cad::Drawing::findRecord(drawing.textStyles(), text);
            return style == nullptr ? RTERROR : setNamed("TEXTSTYLE", value, style->name);
        }
        if (tz::cad::equalsIgnoreCase(name, L"CELTYPE") && !tz::cad::equalsIgnoreCase(text, L"BYLAYER") &&
            !tz::cad::equalsIgnoreCase(text, L"BYBLOCK")) {
            const tz::cad::TableRecord* linetype = tz::cad::Drawing::findRecord(drawing.linetypes(), text);
            return linetype == nullptr ? RTERROR : setNamed("CELTYPE", value, linetype->name);
        }
    }
    return tz::cad::systemVariables().set(tz::platform::toUtf8(name), value);
}
