// Sections from a TIN exactly as the procedure reads: the TIN and the
// section data read with fscanf until the end-of-file indicator, edges kept
// by a linear search, every triangle tested for the end points and every
// edge for the crossings, crossings written by repeated selection of the
// smallest remaining offset. The tests compare production with it.
#pragma once

#include <string>

namespace tz::test {

struct LiteralSectionsResult {
    std::string text;               // the .exs file
    bool unableToExtract = false;   // "\nUnable to extract sections!" printed
};

LiteralSectionsResult literalSections(const std::string& tinText, const std::string& exdText);

}  // namespace tz::test
