#include "CommandLineSplit.h"

namespace tz::platform {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::vector<std::string> splitCommandLineArguments(std::string_view parameters) {
    std::vector<std::string> arguments;
    size_t i = 0;
    const size_t n = parameters.size();
    while (i < n && isBlank(parameters[i])) ++i;
    if (i == n) return arguments;

    std::string current;
    int quoteState = 0;  // 0 outside quotes, 1 inside; counts on through a run of quotes
    size_t backslashes = 0;
    while (i < n) {
        const char c = parameters[i];
        if (isBlank(c) && quoteState == 0) {
            arguments.push_back(current);
            current.clear();
            while (i < n && isBlank(parameters[i])) ++i;
            if (i == n) return arguments;
            backslashes = 0;
        } else if (c == '\\') {
            current += c;
            ++backslashes;
            ++i;
        } else if (c == '"') {
            if (backslashes % 2 == 0) {
                current.resize(current.size() - backslashes / 2);
                ++quoteState;
            } else {
                current.resize(current.size() - backslashes / 2 - 1);
                current += '"';
            }
            ++i;
            backslashes = 0;
            while (i < n && parameters[i] == '"') {
                if (++quoteState == 3) {
                    current += '"';
                    quoteState = 0;
                }
                ++i;
            }
            if (quoteState == 2) quoteState = 0;
        } else {
            current += c;
            backslashes = 0;
            ++i;
        }
    }
    arguments.push_back(current);
    return arguments;
}

}  // namespace tz::platform
