#include "ProposedSectionsReader.h"

#include <cstring>
#include <string>

namespace tz::secvolume {

namespace {

using tz::terrain::profile::isScanSpace;
using tz::terrain::profile::TextScanner;

bool startsNumber(int c) { return c != EOF && std::strchr("+-.0123456789", c) != nullptr; }

}  // namespace

bool ProposedSectionsReader::skipToKeyword(LineType& type) {
    std::string word;
    while (in_.readWord(word) == TextScanner::Read::ok) {
        if (word == "EG") {
            type = LineType::existing;
            return true;
        }
        if (word == "datum") {
            type = LineType::proposed;
            return true;
        }
        if (word == "X") {
            type = LineType::endOfSection;
            return true;
        }
    }
    return false;
}

ProposedSectionsReader::Body ProposedSectionsReader::readBody(CrossSection& section, LineType type) {
    bool firstPoint = true;
    Point3 previous;
    for (;;) {
        if (type == LineType::endOfSection) return in_.reachedEnd() ? Body::reachedEnd : Body::complete;
        // Blanks, tabs and line ends between items all separate them.
        int c = in_.get();
        while (isScanSpace(c)) c = in_.get();
        in_.unget(c);
        if (c == EOF) return Body::reachedEnd;

        if (!startsNumber(c) || type == LineType::other) {
            // A word (or the numbers of a line of unknown type): skip to the next keyword.
            if (!skipToKeyword(type)) return Body::reachedEnd;
            firstPoint = true;
            continue;
        }
        const int count = type == LineType::proposed ? 3 : 2;
        double v[3] = {0, 0, 0};
        bool complete = true;
        for (int i = 0; i < count && complete; ++i) {
            const TextScanner::Read read = in_.readNumber(v[i]);
            if (read == TextScanner::Read::end) return Body::reachedEnd;
            complete = read == TextScanner::Read::ok;
        }
        if (in_.reachedEnd()) return Body::reachedEnd;
        if (!complete) {
            // A point broken by text: the text is an unknown word.
            if (!skipToKeyword(type)) return Body::reachedEnd;
            firstPoint = true;
            continue;
        }
        const Point3 point{v[0], v[1], 0};
        auto& line = type == LineType::proposed ? section.proposed : section.existing;
        if (type == LineType::proposed) section.hasProposedLine = true;
        if (!firstPoint) line.push_back({previous, point});
        previous = point;
        firstPoint = false;
    }
}

ProposedSectionsReader::Next ProposedSectionsReader::next(CrossSection& section) {
    section = CrossSection{};
    const int c = in_.get();
    if (c == EOF) return Next::end;
    in_.unget(c);

    double second = 0;
    std::string word;
    for (double* number : {&section.station, &second}) {
        const TextScanner::Read read = in_.readNumber(*number);
        if (read == TextScanner::Read::end) return Next::end;
        if (read == TextScanner::Read::invalid) return Next::unreadableHeader;
    }
    if (in_.readWord(word) != TextScanner::Read::ok) return Next::end;
    LineType type = LineType::other;
    if (word == "EG") type = LineType::existing;
    if (word == "datum") type = LineType::proposed;
    if (word == "X") type = LineType::endOfSection;
    if (readBody(section, type) == Body::reachedEnd) return Next::end;
    ++sectionsRead_;
    return Next::section;
}

}  // namespace tz::secvolume
