// Reading the project's proposed-sections file (".pxs"), section by section.
//
// A section is a header "station number type" followed by points of the
// current line type: "EG" (existing ground: offset elevation) or "datum"
// (proposed line: offset elevation and a third number that is ignored). A
// keyword "EG" or "datum" starts a new line of that type; any other word is
// skipped with everything after it up to the next "EG", "datum" or "X"; "X"
// ends the section.
#pragma once

#include <cstddef>

#include "CrossSection.h"
#include "profile/TextScanner.h"

namespace tz::secvolume {

class ProposedSectionsReader {
public:
    enum class Next {
        section,           // a complete section was read
        end,               // the file ended: no further section (an unfinished one is dropped)
        unreadableHeader,  // a section header that does not start with two numbers
    };

    explicit ProposedSectionsReader(tz::terrain::profile::TextScanner& in) : in_(in) {}

    // Reads the next section into `section`. A section during whose reading
    // the file ended, its closing "X" without a line break after it
    // included, is not complete: it gives `end`.
    Next next(CrossSection& section);

    // Sections read so far (complete ones).
    std::size_t sectionsRead() const { return sectionsRead_; }

private:
    enum class LineType { existing, proposed, other, endOfSection };
    enum class Body { complete, reachedEnd };

    Body readBody(CrossSection& section, LineType type);
    // Reads words until "EG", "datum" or "X"; false at the end of the file.
    bool skipToKeyword(LineType& type);

    tz::terrain::profile::TextScanner& in_;
    std::size_t sectionsRead_ = 0;
};

}  // namespace tz::secvolume
