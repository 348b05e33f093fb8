#include "TinSelection.h"

#include <cstdio>

#include "FileSystem.h"
#include "arxHeaders.h"

std::optional<std::wstring> selectTinFile() {
    resbuf chosen{};
    if (acedGetFileD(_T("Select a TIN file"), nullptr, _T("tin"), 4, &chosen) != RTNORM) return std::nullopt;
    std::wstring path = chosen.resval.rstring;
    acutDelString(chosen.resval.rstring);
    return path;
}

std::optional<tz::sections::TinTable> loadTinTable(const std::wstring& path) {
    // Binary: the scanner turns CR LF itself, without the text layer's copy.
    std::FILE* file = tz::platform::openFile(path, "rb");
    if (file == nullptr) {
        acutPrintf(_T("\nCan't open point file. Command Terminates."));
        return std::nullopt;
    }
    tz::sections::TinTableLoad load = tz::sections::loadTinTable(file);
    std::fclose(file);
    if (load.stoppedAtUnreadableText && load.table.count() > 0)
        acutPrintf(_T("\nThe TIN file holds text that is not a number; the triangles before it are used."));
    else if (load.stoppedAtUnreadableText)
        acutPrintf(_T("\nThe TIN file begins with text that is not a number; it holds no triangle to use."));
    return std::move(load.table);
}
