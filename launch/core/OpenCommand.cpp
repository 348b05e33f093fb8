#include "core/OpenCommand.h"

namespace tz::launch {

std::string executableOfOpenCommand(std::string_view openCommand) {
    const size_t start = openCommand.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    openCommand.remove_prefix(start);
    if (openCommand.front() == '"') {
        const size_t closing = openCommand.find('"', 1);
        return std::string(openCommand.substr(1, closing == std::string_view::npos ? std::string_view::npos
                                                                                   : closing - 1));
    }
    return std::string(openCommand.substr(0, openCommand.find(' ')));
}

std::string quotedPath(std::string_view path) {
    std::string quoted = "\"";
    quoted += path;
    quoted += '"';
    return quoted;
}

}  // namespace tz::launch
