#include "drawing/SessionSettings.h"

#include "acedads.h"

namespace tz::cad {

std::optional<std::wstring> textVariable(const wchar_t* name) {
    resbuf value{};
    if (acedGetVar(name, &value) != RTNORM) return std::nullopt;
    if (value.restype != RTSTR) return std::nullopt;
    std::wstring text = value.resval.rstring != nullptr ? value.resval.rstring : L"";
    delete[] value.resval.rstring;
    return text;
}

std::optional<double> numberVariable(const wchar_t* name) {
    resbuf value{};
    if (acedGetVar(name, &value) != RTNORM) return std::nullopt;
    switch (value.restype) {
        case RTREAL:
        case RTANG: return value.resval.rreal;
        case RTSHORT: return value.resval.rint;
        case RTLONG: return value.resval.rlong;
        case RTSTR: delete[] value.resval.rstring; return std::nullopt;
        default: return std::nullopt;
    }
}

MakeContext sessionMakeContext() {
    MakeContext context;
    if (std::optional<std::wstring> layer = textVariable(L"CLAYER"); layer && isValidSymbolName(*layer)) {
        context.currentLayer = *layer;
    }
    if (std::optional<double> size = numberVariable(L"TEXTSIZE"); size && *size > 0) context.textSize = *size;
    return context;
}

}  // namespace tz::cad
