// The lowest layer of DXF reading: the file as a stream of (code, value)
// line pairs, checked as it is read so that a damaged file is reported with
// its line number instead of being misread.
#pragma once

#include <cstddef>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tz::cad {

// A malformed DXF file; the message names the line.
class DxfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct DxfRawGroup {
    int code = 0;
    std::string value;  // the value line's bytes, line end removed
    size_t line = 0;    // line number of the code line, from 1
};

class DxfGroupReader {
public:
    // Value lines longer than this are refused: AutoCAD 2000 strings hold at
    // most 2049 characters, so such a line means a damaged or foreign file.
    static constexpr size_t kMaxLineLength = 65536;

    explicit DxfGroupReader(std::istream& input);

    // The next group; false at the end of the input. Throws DxfError on a
    // code line that is no group code, a value line missing at the end, an
    // over-long line, or a binary DXF file.
    bool next(DxfRawGroup& group);

private:
    bool readLine(std::string& line);
    bool fill();

    std::istream& input_;
    std::vector<char> buffer_;
    size_t position_ = 0;
    size_t end_ = 0;
    size_t lineNumber_ = 0;
};

}  // namespace tz::cad
