#include "core/Eligibility.h"

#include "core/OpenCommand.h"
#include "core/WildcardMatch.h"

namespace tz::launch {

namespace {
constexpr std::string_view kHostProgram = "bricscad.exe";
constexpr std::string_view kExcludedVariants[] = {"*Carlson*", "*MicroSurvey*"};
}  // namespace

bool isSupportedHost(std::string_view executable) {
    if (executable.size() < kHostProgram.size()) return false;
    if (executable.substr(executable.size() - kHostProgram.size()) != kHostProgram) return false;
    const std::string quoted = quotedPath(executable);
    for (std::string_view pattern : kExcludedVariants) {
        if (matchesWildcard(pattern, quoted)) return false;
    }
    return true;
}

}  // namespace tz::launch
