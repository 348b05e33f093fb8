// The host's own drawing commands (LAYER, ZOOM, LEADER, TEXT), run by
// acedCommand and by the session's command line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tz::cad {

// Where a host command takes its arguments from: the acedCommand list, or the session's prompts.
class CommandArguments {
public:
    virtual ~CommandArguments() = default;
    // The next argument as text ("" is Enter; points as "x,y,z"); nullopt when there is none (cancel).
    virtual std::optional<std::wstring> next(std::wstring_view prompt) = 0;
};

// Runs a host command by name (case-insensitive; leading '_' and '.' ignored). false when the name is unknown.
bool runHostCommand(std::wstring_view name, CommandArguments& args);

}  // namespace tz::cad
