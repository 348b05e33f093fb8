#include "core/LauncherText.h"

namespace tz::launch {

std::string withTrailingSeparator(std::string_view folder) {
    std::string result(folder);
    if (result.empty() || result.back() == '\\' || result.back() == '/') return result;
    const bool slashesOnly = result.find('/') != std::string::npos && result.find('\\') == std::string::npos;
    result += slashesOnly ? '/' : '\\';
    return result;
}

std::string escapeBackslashes(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + 8);
    for (char c : text) {
        escaped += c;
        if (c == '\\') escaped += '\\';
    }
    return escaped;
}

std::string loaderLines(std::string_view installFolder, std::string_view pathFunction) {
    return "(setq dpath \"" + escapeBackslashes(installFolder) + "\")\n(" + std::string(pathFunction) + ")\n";
}

std::string scriptText(std::string_view loaderPath) {
    return "(LOAD \"" + escapeBackslashes(loaderPath) + "\")\n;;End of script";
}

std::string startParameters(std::string_view scriptPath) { return " /b \"" + std::string(scriptPath) + "\""; }

}  // namespace tz::launch
