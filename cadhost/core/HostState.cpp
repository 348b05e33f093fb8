#include "core/HostState.h"

#include <filesystem>

#include "FileSystem.h"

namespace tz::cad {

volatile std::sig_atomic_t escapePressed = 0;

HostState& hostState() {
    static HostState state;
    return state;
}

std::string drawingFolder() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path folder = hostState().drawingPath.empty()
                          ? fs::current_path(ec)
                          : fs::absolute(fs::path(tz::platform::nativePath(hostState().drawingPath)), ec)
                                .parent_path();
    std::string text = folder.string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

std::optional<std::string> findSupportFile(const std::string& name) {
    namespace fs = std::filesystem;
    const std::string native = tz::platform::nativePath(name);
    std::error_code ec;
    if (native.find('/') != std::string::npos) {
        if (fs::is_regular_file(native, ec)) return native;
        return std::nullopt;
    }
    for (const std::string& folder : {std::string("."), drawingFolder(), hostState().shareFolder}) {
        if (folder.empty()) continue;
        fs::path candidate = fs::path(folder) / native;
        if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
    }
    return std::nullopt;
}

}  // namespace tz::cad
