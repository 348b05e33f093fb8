#include "drawing/DxfGroupReader.h"

#include <charconv>
#include <cstring>

namespace tz::cad {

namespace {

constexpr size_t kBufferSize = 1 << 16;
constexpr int kHighestGroupCode = 1071;

std::string lineText(size_t line) { return "line " + std::to_string(line); }

}  // namespace

DxfGroupReader::DxfGroupReader(std::istream& input) : input_(input), buffer_(kBufferSize) {}

bool DxfGroupReader::fill() {
    if (!input_) return false;
    input_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    end_ = static_cast<size_t>(input_.gcount());
    position_ = 0;
    return end_ > 0;
}

bool DxfGroupReader::readLine(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
        if (position_ == end_ && !fill()) break;
        any = true;
        const char* start = buffer_.data() + position_;
        const void* newline = std::memchr(start, '\n', end_ - position_);
        const size_t length = newline ? static_cast<size_t>(static_cast<const char*>(newline) - start) : end_ - position_;
        if (line.size() + length > kMaxLineLength + 1) {
            throw DxfError(lineText(lineNumber_ + 1) + " is longer than " + std::to_string(kMaxLineLength) +
                           " characters");
        }
        line.append(start, length);
        position_ += length;
        if (newline) {
            ++position_;
            break;
        }
    }
    if (!any) return false;
    ++lineNumber_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxLineLength) {
        throw DxfError(lineText(lineNumber_) + " is longer than " + std::to_string(kMaxLineLength) + " characters");
    }
    if (lineNumber_ == 1) {
        if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        if (line.rfind("AutoCAD Binary DXF", 0) == 0) throw DxfError("binary DXF files cannot be read");
    }
    return true;
}

bool DxfGroupReader::next(DxfRawGroup& group) {
    std::string codeLine;
    if (!readLine(codeLine)) return false;
    group.line = lineNumber_;
    size_t first = codeLine.find_first_not_of(" \t");
    size_t last = codeLine.find_last_not_of(" \t");
    if (first == std::string::npos) throw DxfError(lineText(lineNumber_) + ": a group code is missing");
    const char* begin = codeLine.data() + first;
    const char* stop = codeLine.data() + last + 1;
    int code = 0;
    auto [rest, error] = std::from_chars(begin, stop, code);
    if (error != std::errc() || rest != stop || code < 0 || code > kHighestGroupCode) {
        std::string shown = codeLine.substr(first, std::min<size_t>(last + 1 - first, 40));
        throw DxfError(lineText(lineNumber_) + ": \"" + shown + "\" is not a group code");
    }
    group.code = code;
    if (!readLine(group.value)) {
        throw DxfError(lineText(lineNumber_) + ": the file ends before the value of group " + std::to_string(code) +
                       " (it may be truncated)");
    }
    return true;
}

}  // namespace tz::cad
