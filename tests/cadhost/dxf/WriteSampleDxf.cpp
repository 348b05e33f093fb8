// Writes the sample drawing with every entity kind as DXF, for the reader
// audit run by check_dxf_audit.py.
#include <fstream>
#include <iostream>

#include "SampleDrawing.h"
#include "drawing/DxfWriter.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_sample_dxf OUTPUT.dxf\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    tz::cad::writeDxf(*tz::cad::test::makeSampleDrawing(), out);
    out.close();
    if (!out) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
