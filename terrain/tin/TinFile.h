// The TIN file: one triangle per line, nine numbers x1 y1 z1 x2 y2 z2 x3 y3
// z3 written "%lf %lf %lf %lf %lf %lf %lf %lf %lf\n", no header; vertices
// shared by triangles repeat with the same text. Every stage hands its
// triangles to the next in this form, and every consumer reads it here.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tin/NumberText.h"
#include "tin/Triangle.h"

namespace tz::terrain {

// What a reader does with a last record that no character follows.
enum class LastRecord {
    Accept,         // use it
    NeedsLineEnd,   // drop it: the fault and boundary stages read until the
                    // read that reaches the end of the file, and leave that
                    // read's record unused
};

// Reads triangles one at a time from an open file. Reading ends at the end
// of the file or at text that is not a number; a record cut short is dropped.
class TinReader {
public:
    TinReader(std::FILE* file, LastRecord rule);
    bool next(Triangle& triangle);

private:
    NumberReader reader_;
    LastRecord rule_;
};

// Writes triangles in the TIN format to an open file.
class TinWriter {
public:
    explicit TinWriter(std::FILE* file);
    void write(const Triangle& triangle);
    bool flush() { return writer_.flush(); }
    // Every number so far had at most nine digits before the point: the
    // text is in the writing format that copies keep as it stands.
    bool inWritingFormat() const { return inWritingFormat_; }

private:
    FixedWriter writer_;
    bool inWritingFormat_ = true;
};

// All triangles of a TIN file into `triangles`; false when the file cannot
// be opened.
bool readTinFile(const std::string& path, std::vector<Triangle>& triangles,
                 LastRecord rule = LastRecord::Accept);

// Number of triangle records of a TIN file, or -1 when it cannot be opened.
long long countTinRecords(const std::string& path, LastRecord rule = LastRecord::Accept);

// Writes `triangles` as a TIN file (replacing it); false when it cannot be
// opened or written.
bool writeTinFile(const std::string& path, const std::vector<Triangle>& triangles);

// Copies a TIN file record by record (read nine numbers, write them in the
// TIN format), keeping the order of lines and vertices; a last line without
// a line end is copied too. The copy replaces `to` only once whole: false,
// with `to` kept as it was, when either file cannot be opened or the copy
// cannot be written.
bool copyTinFile(const std::string& from, const std::string& to);

// What is known of a TIN file's text.
enum class TinText {
    Unknown,
    InWritingFormat,  // written by TinWriter with inWritingFormat() true
};

// Copies a TIN file as copyTinFile does and deletes the original; when every
// line is already in the writing format (the copy would be the same bytes:
// known, or found by reading the file) it is moved into the place of `to`
// instead (through a link, keeping the permissions). False when it cannot
// be read or written; `to` is then kept as it was.
bool moveTinFile(const std::string& from, const std::string& to, TinText known = TinText::Unknown);

// `path` with its extension replaced by `extension` (which includes its
// "."): everything from the last "." of the file name goes. A "." in a
// folder name is not an extension: a name without one gets `extension`
// appended. "C:\jobs\site.dat" with ".tin" gives "C:\jobs\site.tin".
std::string withExtension(const std::string& path, const std::string& extension);

}  // namespace tz::terrain
