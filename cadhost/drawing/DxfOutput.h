// Writing DXF groups: the code right-aligned in three columns, then the value
// on its own line; reals in their shortest exact form, text as plain ASCII.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "drawing/Group.h"

namespace tz::cad {

class DxfOutput {
public:
    explicit DxfOutput(std::ostream& out) : out_(out) { pending_.reserve(kFlushAt + 4096); }
    // Hands what is still held to the stream.
    ~DxfOutput() { flush(); }
    DxfOutput(const DxfOutput&) = delete;
    DxfOutput& operator=(const DxfOutput&) = delete;

    void text(int code, std::wstring_view value);
    // Characters [begin, end) of `whole`, written as they are within it.
    void text(int code, std::wstring_view whole, size_t begin, size_t end);
    void ascii(int code, std::string_view value);
    void real(int code, double value);
    void integer(int code, int64_t value);
    void handle(int code, uint64_t value);
    // x under `code`, y under code + 10 and, unless `planar`, z under code + 20.
    void point(int code, const Point3& value, bool planar = false);
    // Any group of the drawing's data.
    void group(const Group& group, bool planar = false);

    static std::string formatReal(double value);

    // Hands the lines written so far to the stream (they are held in blocks:
    // a drawing of millions of vertices writes tens of millions of lines).
    void flush();

private:
    static constexpr size_t kFlushAt = size_t{1} << 16;

    void code(int code);
    void endLine();
    std::ostream& out_;
    std::string pending_;
};

}  // namespace tz::cad
