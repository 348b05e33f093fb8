// Writing a command's output text to a file it has opened.
#pragma once

#include <cstdio>
#include <string>

namespace tz::terrain::hostbound {

// Writes the text and closes the file; false when either failed (a full
// disk shows only then), so that the command can say the file is not whole.
inline bool writeAndClose(std::FILE* file, const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace tz::terrain::hostbound
