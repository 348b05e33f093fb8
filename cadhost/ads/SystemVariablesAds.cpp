// acedGetVar and acedSetVar over the host's table of system variables.
// A string value handed out by acedGetVar is a new ACHAR array that the
// caller owns and frees with delete[] (as acutRelRb does for RTSTR buffers).
#include "FileSystem.h"
#include "acedads.h"
#include "core/SystemVariables.h"

int acedGetVar(const ACHAR* name, struct resbuf* result) {
    if (!name || !result) return RTERROR;
    return tz::cad::systemVariables().get(tz::platform::toUtf8(name), result);
}

int acedSetVar(const ACHAR* name, const struct resbuf* value) {
    if (!name || !value) return RTERROR;
    return tz::cad::systemVariables().set(tz::platform::toUtf8(name), value);
}
