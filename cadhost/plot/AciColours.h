// The CAD colour index (ACI) as red, green and blue, for pictures of the
// drawing on a white background.
#pragma once

namespace tz::cad {

struct PlotColour {
    double red = 0;  // 0..1
    double green = 0;
    double blue = 0;
    bool operator==(const PlotColour&) const = default;
};

// The colour of index 1..255. Index 7, white on a dark screen, is black on
// paper, as plotters print it; 0 (by block), 256 (by layer) and anything out
// of range also give black, the colour callers resolve those to when they
// know nothing better.
PlotColour aciColour(int index);

// A true colour as group 420 holds it: 0xRRGGBB.
PlotColour trueColour(long value);

}  // namespace tz::cad
