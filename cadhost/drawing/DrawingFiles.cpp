#include "drawing/DrawingFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>

#include "FileSystem.h"
#include "acedads.h"
#include "drawing/CurrentDrawing.h"
#include "drawing/DxfReader.h"
#include "drawing/DxfWriter.h"
#include "drawing/SessionSettings.h"

namespace tz::cad {

namespace {

// System variables saved in the drawing: header name, variable, group code.
struct SavedVariable {
    const wchar_t* header;
    const wchar_t* variable;
    int code;
};

constexpr SavedVariable kSavedVariables[] = {
    {L"$LUNITS", L"LUNITS", 70},       {L"$LUPREC", L"LUPREC", 70},     {L"$AUNITS", L"AUNITS", 70},
    {L"$AUPREC", L"AUPREC", 70},       {L"$ANGBASE", L"ANGBASE", 50},   {L"$ANGDIR", L"ANGDIR", 70},
    {L"$LTSCALE", L"LTSCALE", 40},     {L"$CELTSCALE", L"CELTSCALE", 40}, {L"$TEXTSIZE", L"TEXTSIZE", 40},
    {L"$TEXTSTYLE", L"TEXTSTYLE", 7},  {L"$CLAYER", L"CLAYER", 8},      {L"$PDMODE", L"PDMODE", 70},
    {L"$PDSIZE", L"PDSIZE", 40},       {L"$PLINEWID", L"PLINEWID", 40}, {L"$INSUNITS", L"INSUNITS", 70},
    {L"$MEASUREMENT", L"MEASUREMENT", 70}, {L"$DIMSCALE", L"DIMSCALE", 40}, {L"$ELEVATION", L"ELEVATION", 40},
    {L"$THICKNESS", L"THICKNESS", 40}, {L"$MIRRTEXT", L"MIRRTEXT", 70}, {L"$ATTMODE", L"ATTMODE", 70},
    {L"$INSBASE", L"INSBASE", 10},
};

HeaderValues sessionHeaderValues() {
    HeaderValues values;
    for (const SavedVariable& saved : kSavedVariables) {
        resbuf value{};
        if (acedGetVar(saved.variable, &value) != RTNORM) continue;
        switch (value.restype) {
            case RTSTR:
                values[saved.header] = {stringGroup(saved.code, value.resval.rstring ? value.resval.rstring : L"")};
                delete[] value.resval.rstring;
                break;
            case RTREAL: values[saved.header] = {realGroup(saved.code, value.resval.rreal)}; break;
            case RTSHORT: values[saved.header] = {intGroup(saved.code, value.resval.rint)}; break;
            case RTLONG: values[saved.header] = {intGroup(saved.code, value.resval.rlong)}; break;
            case RT3DPOINT:
            case RTPOINT:
                values[saved.header] = {
                    pointGroup(saved.code, {value.resval.rpoint[0], value.resval.rpoint[1], value.resval.rpoint[2]})};
                break;
            default: break;
        }
    }
    return values;
}

// The drawing's own settings become the session's; a value the session
// refuses (out of range, unknown variable) is left as it was.
void applyHeaderValues(const Drawing& drawing) {
    for (const SavedVariable& saved : kSavedVariables) {
        auto found = drawing.header().find(saved.header);
        if (found == drawing.header().end() || found->second.size() != 1) continue;
        const Group& group = found->second.front();
        resbuf value{};
        if (const auto* text = std::get_if<std::wstring>(&group.value)) {
            if (saved.code == 8 && drawing.findLayer(*text) == nullptr) continue;
            value.restype = RTSTR;
            value.resval.rstring = const_cast<ACHAR*>(text->c_str());
        } else if (const auto* real = std::get_if<double>(&group.value)) {
            value.restype = RTREAL;
            value.resval.rreal = *real;
        } else if (const auto* integer = std::get_if<int64_t>(&group.value)) {
            if (*integer < -32768 || *integer > 32767) continue;
            value.restype = RTSHORT;
            value.resval.rint = static_cast<short>(*integer);
        } else if (const auto* point = std::get_if<Point3>(&group.value)) {
            value.restype = RT3DPOINT;
            value.resval.rpoint[0] = point->x;
            value.resval.rpoint[1] = point->y;
            value.resval.rpoint[2] = point->z;
        } else {
            continue;
        }
        acedSetVar(saved.variable, &value);
    }
}

std::string systemError() { return std::strerror(errno); }

// An output stream's buffer over a C file, whose own buffer serves: the DXF
// writer hands over its text in large blocks.
class FileStreamBuffer : public std::streambuf {
public:
    explicit FileStreamBuffer(std::FILE* file) : file_(file) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        return std::fputc(c, file_) == EOF ? traits_type::eof() : c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        return static_cast<std::streamsize>(std::fwrite(text, 1, static_cast<size_t>(count), file_));
    }

private:
    std::FILE* file_;
};

}  // namespace

bool openDrawing(const std::string& path, std::string& error, std::string* note) {
    const std::string native = tz::platform::nativePath(path);
    std::error_code ec;
    if (std::filesystem::is_directory(native, ec)) {
        error = "it is a folder, not a DXF file";
        return false;
    }
    std::ifstream input(native, std::ios::binary);
    if (!input) {
        error = systemError();
        return false;
    }
    std::unique_ptr<Drawing> drawing;
    DxfReadNotes notes;
    try {
        drawing = readDxf(input, &notes);
    } catch (const DxfError& problem) {
        error = std::string("not a readable DXF file: ") + problem.what();
        return false;
    } catch (const std::bad_alloc&) {
        error = "the drawing does not fit in memory";
        return false;
    }
    if (input.bad()) {
        error = "reading failed";
        return false;
    }
    if (note != nullptr && notes.leftOut > 0) {
        *note = std::to_string(notes.leftOut) + (notes.leftOut == 1 ? " entity" : " entities") +
                " could not be kept and " + (notes.leftOut == 1 ? "is" : "are") + " left out (the first, " +
                tz::platform::toUtf8(notes.firstReason) + ")";
    }
    replaceCurrentDrawing(std::move(drawing));
    applyHeaderValues(currentDrawing());
    return true;
}

bool saveDrawing(const std::string& path, std::string& error) {
    namespace fs = std::filesystem;
    const fs::path target(tz::platform::nativePath(path));
    std::error_code ec;
    if (target.filename().empty()) {
        error = "no file name given";
        return false;
    }
    if (fs::is_directory(target, ec)) {
        error = "it is a folder";
        return false;
    }
    // Written beside the target and renamed over it once complete, so that a
    // failure never leaves a partial file in place of a good one; a link
    // stays a link and the file keeps its permissions.
    tz::platform::ReplacementFile replacement(path, "wb");
    if (replacement.file() == nullptr) {
        error = systemError();
        return false;
    }
    FileStreamBuffer buffer(replacement.file());
    std::ostream out(&buffer);
    try {
        writeDxf(currentDrawing(), out, sessionHeaderValues());
    } catch (const std::exception& problem) {
        error = problem.what();
        return false;
    }
    out.flush();
    if (!out || !replacement.commit()) {
        error = "writing failed (is the disk full?)";
        return false;
    }
    return true;
}

}  // namespace tz::cad
