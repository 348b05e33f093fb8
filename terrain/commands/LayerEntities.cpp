#include "LayerEntities.h"

#include "arxHeaders.h"

namespace {

// The layer name as a selection filter matches it: wildcard characters are
// taken literally, so that only the named layer is cleared.
std::wstring literalPattern(const std::wstring& name) {
    std::wstring pattern;
    for (wchar_t c : name) {
        if (std::wstring_view(L"#@.*?~[]-,`").find(c) != std::wstring_view::npos) pattern += L'`';
        pattern += c;
    }
    return pattern;
}

}  // namespace

void eraseLayerEntities(const std::wstring& name) {
    const std::wstring pattern = literalPattern(name);
    resbuf* filter = acutBuildList(8, pattern.c_str(), 0);
    if (filter == nullptr) return;
    ads_name selection = {0, 0};  // no set, should the selection find none
    if (acedSSGet(_T("X"), nullptr, nullptr, filter, selection) == RTNORM) {
        int32_t length = 0;
        acedSSLength(selection, &length);
        for (int32_t i = 0; i < length; ++i) {
            ads_name entity;
            if (acedSSName(selection, i, entity) == RTNORM) acdbEntDel(entity);
        }
        acedSSFree(selection);
    }
    acutRelRb(filter);
}

bool makeLayerEntity(const std::wstring& name, short colour) {
    resbuf* list = acutBuildList(RTDXF0, _T("LAYER"), 6, _T("CONTINUOUS"), 8, name.c_str(), 62, colour, 0);
    if (list == nullptr) return false;
    acdbEntMake(list);
    acutRelRb(list);
    return true;
}
