// Reading arbitrary bytes as a DXF file: a damaged file is refused with its
// error, never misread into a crash; a drawing that was read is written,
// and from its second writing on, reading and writing it again gives the
// same file (the first may still move the structural objects' handles past
// those of entities the reading left out).
#include <sstream>

#include "FuzzExpect.h"
#include "drawing/DxfReader.h"
#include "drawing/DxfWriter.h"

using namespace tz::cad;

namespace {

std::string readAndWritten(const std::string& text) {
    std::istringstream in(text);
    std::unique_ptr<Drawing> drawing = readDxf(in);
    std::ostringstream out;
    writeDxf(*drawing, out);
    return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string first;
    try {
        first = readAndWritten(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const DxfError&) {
        return 0;
    }
    try {
        const std::string second = readAndWritten(first);
        FUZZ_EXPECT(readAndWritten(second) == second, "writing the drawing read again changes the file");
    } catch (const DxfError& e) {
        FUZZ_EXPECT(false, "a drawing written cannot be read: %s", e.what());
    }
    return 0;
}
