#include "tin/TinFile.h"

#include <cmath>
#include <cstring>

#include "FileSystem.h"

namespace tz::terrain {

TinReader::TinReader(std::FILE* file, LastRecord rule) : reader_(file), rule_(rule) {}

bool TinReader::next(Triangle& triangle) {
    double v[9];
    if (!reader_.readNumbers(v, 9)) return false;
    if (rule_ == LastRecord::NeedsLineEnd && reader_.atEndOfFile()) return false;
    triangle = Triangle{{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}};
    return true;
}

TinWriter::TinWriter(std::FILE* file) : writer_(file) {}

void TinWriter::write(const Triangle& t) {
    const double v[9] = {t.p1.x, t.p1.y, t.p1.z, t.p2.x, t.p2.y, t.p2.z, t.p3.x, t.p3.y, t.p3.z};
    writer_.line9(v);
    // Below 10^9 - 1 no rounding to six decimals reaches a tenth digit; NaN
    // and infinities fail the test too.
    bool small = true;
    for (double value : v) small = small && std::fabs(value) < 999999999.0;
    inWritingFormat_ = inWritingFormat_ && small;
}

bool readTinFile(const std::string& path, std::vector<Triangle>& triangles, LastRecord rule) {
    std::FILE* file = tz::platform::openFile(path, "rb");
    if (file == nullptr) return false;
    {
        TinReader reader(file, rule);
        Triangle t;
        while (reader.next(t)) triangles.push_back(t);
    }
    std::fclose(file);
    return true;
}

long long countTinRecords(const std::string& path, LastRecord rule) {
    std::FILE* file = tz::platform::openFile(path, "rb");
    if (file == nullptr) return -1;
    long long count = 0;
    {
        TinReader reader(file, rule);
        Triangle t;
        while (reader.next(t)) ++count;
    }
    std::fclose(file);
    return count;
}

bool writeTinFile(const std::string& path, const std::vector<Triangle>& triangles) {
    std::FILE* file = tz::platform::openFile(path, "w");
    if (file == nullptr) return false;
    bool ok;
    {
        TinWriter writer(file);
        for (const Triangle& t : triangles) writer.write(t);
        ok = writer.flush();
    }
    return std::fclose(file) == 0 && ok;
}

namespace {

// A number as the writing format prints it, with at most nine digits before
// the point: "-"?, "0" or digits without a leading zero, ".", six digits.
// Reading such a number and printing it again gives the same text (the
// double nearest to it lies within 2^-22 of it, far inside half a
// millionth), so a copy may keep it as it stands.
bool skipCanonicalNumber(const char*& p, const char* end) {
    if (p != end && *p == '-') ++p;
    const char* whole = p;
    while (p != end && *p >= '0' && *p <= '9') ++p;
    const ptrdiff_t wholeDigits = p - whole;
    if (wholeDigits == 0 || wholeDigits > 9 || (wholeDigits > 1 && *whole == '0')) return false;
    if (p == end || *p != '.') return false;
    ++p;
    for (int i = 0; i < 6; ++i, ++p)
        if (p == end || *p < '0' || *p > '9') return false;
    return true;
}

// A line of nine such numbers, one space apart, ended by CR LF or LF.
bool isCanonicalRecord(const char* begin, const char* end) {
    if (end != begin && end[-1] == '\r') --end;
    const char* p = begin;
    for (int i = 0; i < 9; ++i) {
        if (i > 0) {
            if (p == end || *p != ' ') return false;
            ++p;
        }
        if (!skipCanonicalNumber(p, end)) return false;
    }
    return p == end;
}

// Walks the lines of `input` from its start while they are in the writing
// format, handing each (without its line end) to take(text, length).
// Returns the file offset of the first line that is not (a last line
// without a line end, or one longer than the block, counts as not), or -1
// when every line is.
template <class Take>
long long walkCanonicalLines(std::FILE* input, Take&& take) {
    std::vector<char> block(size_t{1} << 22);
    long long lineStart = 0;
    size_t held = 0;
    for (;;) {
        const size_t got = std::fread(block.data() + held, 1, block.size() - held, input);
        const char* line = block.data();
        const char* end = block.data() + held + got;
        while (const void* found = std::memchr(line, '\n', static_cast<size_t>(end - line))) {
            const char* lineEnd = static_cast<const char*>(found);
            if (!isCanonicalRecord(line, lineEnd)) return lineStart;
            take(line, static_cast<size_t>(lineEnd - line) - (lineEnd[-1] == '\r' ? 1 : 0));
            lineStart += lineEnd + 1 - line;
            line = lineEnd + 1;
        }
        held = static_cast<size_t>(end - line);
        if (got == 0) return held == 0 ? -1 : lineStart;
        if (held == block.size()) return lineStart;
        std::memmove(block.data(), line, held);
    }
}

}  // namespace

bool copyTinFile(const std::string& from, const std::string& to) {
    std::FILE* input = tz::platform::openFile(from, "rb");
    if (input == nullptr) return false;
    tz::platform::ReplacementFile replacement(to, "w");
    std::FILE* output = replacement.file();
    if (output == nullptr) {
        std::fclose(input);
        return false;
    }
    // Lines already in the writing format are copied as they stand; from the
    // first line that is not, the records are read and printed again.
    bool ok = true;
    std::string out;
    auto writeOut = [&] {
        if (!out.empty() && std::fwrite(out.data(), 1, out.size(), output) != out.size()) ok = false;
        out.clear();
    };
    const long long rest = walkCanonicalLines(input, [&](const char* text, size_t length) {
        out.append(text, length);
        out += '\n';
        if (out.size() >= (size_t{1} << 20)) writeOut();
    });
    writeOut();
    if (rest >= 0 && std::fseek(input, rest, SEEK_SET) == 0) {
        TinReader reader(input, LastRecord::Accept);
        TinWriter writer(output);
        Triangle t;
        while (reader.next(t)) writer.write(t);
        ok = writer.flush() && ok;
    } else if (rest >= 0) {
        ok = false;
    }
    std::fclose(input);
    return ok && replacement.commit();
}

bool moveTinFile(const std::string& from, const std::string& to, TinText known) {
    // Every line in the writing format: the copy would be the same bytes.
    bool verbatim = known == TinText::InWritingFormat;
    if (!verbatim) {
        std::FILE* input = tz::platform::openFile(from, "rb");
        if (input == nullptr) return false;
        verbatim = walkCanonicalLines(input, [](const char*, size_t) {}) < 0;
        std::fclose(input);
    }
    if (verbatim && tz::platform::replaceFileWith(from, to)) return true;
    if (!copyTinFile(from, to)) return false;
    tz::platform::deleteFile(from);
    return true;
}

std::string withExtension(const std::string& path, const std::string& extension) {
    const size_t dot = path.find_last_of('.');
    const size_t separator = path.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return path + extension;
    return path.substr(0, dot) + extension;
}

}  // namespace tz::terrain
