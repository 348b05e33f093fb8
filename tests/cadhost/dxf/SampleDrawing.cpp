#include "SampleDrawing.h"

#include <stdexcept>
#include <string>

#include "drawing/EntityMaker.h"

namespace tz::cad::test {

namespace {

void make(Drawing& drawing, GroupList list) {
    const MakeResult result = makeFromList(drawing, std::move(list), MakeContext{});
    if (result.outcome == MakeOutcome::Rejected) {
        throw std::runtime_error("sample entity refused: " + std::string(result.reason.begin(), result.reason.end()));
    }
}

Group type(const wchar_t* name) { return stringGroup(0, name); }

}  // namespace

std::unique_ptr<Drawing> makeSampleDrawing() {
    auto drawing = std::make_unique<Drawing>();
    Drawing& d = *drawing;
    make(d, {type(L"LAYER"), stringGroup(6, L"CONTINUOUS"), stringGroup(8, L"TZ_Regcontours"), intGroup(62, 3)});
    make(d, {type(L"LAYER"), stringGroup(2, L"TZ_Tin"), intGroup(62, 5)});

    make(d, {type(L"BLOCK"), stringGroup(2, L"TZNODE"), intGroup(70, 2), pointGroup(10, {})});
    make(d, {type(L"POINT"), pointGroup(10, {})});
    make(d, {type(L"ATTDEF"), pointGroup(10, {0.5, 0.5, 0}), realGroup(40, 0.5), stringGroup(1, L""),
             stringGroup(3, L"Number"), stringGroup(2, L"PNUM"), intGroup(70, 0)});
    make(d, {type(L"ATTDEF"), pointGroup(10, {0.5, 0, 0}), realGroup(40, 0.5), stringGroup(1, L""),
             stringGroup(3, L"Elevation"), stringGroup(2, L"ELEV"), intGroup(70, 0)});
    make(d, {type(L"ATTDEF"), pointGroup(10, {0.5, -0.5, 0}), realGroup(40, 0.5), stringGroup(1, L""),
             stringGroup(3, L"Description"), stringGroup(2, L"DESC"), intGroup(70, 0)});
    make(d, {type(L"ENDBLK")});

    const double points[2][3] = {{100.25, 200.5, 12.75}, {110, 190, 13.5}};
    for (int i = 0; i < 2; ++i) {
        const Point3 at{points[i][0], points[i][1], points[i][2]};
        make(d, {type(L"INSERT"), stringGroup(8, L"0"), stringGroup(2, L"TZNODE"), pointGroup(10, at), intGroup(66, 1)});
        const wchar_t* tags[3] = {L"PNUM", L"ELEV", L"DESC"};
        const std::wstring values[3] = {std::to_wstring(4 + 5 * i), std::to_wstring(at.z), i == 0 ? L"kerb" : L"manhole"};
        for (int k = 0; k < 3; ++k) {
            make(d, {type(L"ATTRIB"), pointGroup(10, {at.x + 0.5, at.y - 0.5 * k, at.z}), realGroup(40, 0.5),
                     stringGroup(1, values[k]), stringGroup(2, tags[k]), intGroup(70, 0)});
        }
        make(d, {type(L"SEQEND")});
    }

    // A contour: 2D polyline at an elevation, with widths and one bulged segment.
    make(d, {type(L"POLYLINE"), stringGroup(8, L"TZ_Regcontours"), pointGroup(10, {0, 0, 105}), realGroup(40, 0.2),
             realGroup(41, 0.2), intGroup(66, 1)});
    make(d, {type(L"VERTEX"), pointGroup(10, {0, 0, 105}), realGroup(42, 0.5)});
    make(d, {type(L"VERTEX"), pointGroup(10, {10, 0, 105})});
    make(d, {type(L"VERTEX"), pointGroup(10, {10, 10, 105})});
    make(d, {type(L"SEQEND")});

    // A mesh line: 3D polyline whose vertices keep their elevations.
    make(d, {type(L"POLYLINE"), stringGroup(8, L"TZ_Mesh"), pointGroup(10, {0, 0, 101.5}), intGroup(66, 1),
             intGroup(70, 8)});
    make(d, {type(L"VERTEX"), pointGroup(10, {0, 0, 101.5}), intGroup(70, 32)});
    make(d, {type(L"VERTEX"), pointGroup(10, {5, 0, 102.25}), intGroup(70, 32)});
    make(d, {type(L"VERTEX"), pointGroup(10, {10, 0, 99.875}), intGroup(70, 32)});
    make(d, {type(L"SEQEND")});

    make(d, {type(L"LWPOLYLINE"), stringGroup(8, L"Alignment"), intGroup(90, 3), intGroup(70, 0),
             pointGroup(10, {0, 50, 0}), realGroup(42, 0.0), pointGroup(10, {40, 50, 0}), realGroup(42, -0.25),
             pointGroup(10, {60, 70, 0}), realGroup(42, 0.0)});
    make(d, {type(L"3DFACE"), stringGroup(8, L"TZ_Tin"), pointGroup(10, {0, 0, 100}), pointGroup(11, {10, 0, 101}),
             pointGroup(12, {0, 10, 102}), pointGroup(13, {0, 0, 100})});
    make(d, {type(L"LINE"), pointGroup(10, {1, 2, 3}), pointGroup(11, {4, 5, 6}), intGroup(62, 1)});
    make(d, {type(L"LINE"), pointGroup(10, {-1, -1, 0}), pointGroup(11, {-2, -2, 0})});  // erased below
    const uint64_t erased = *d.lastEntity();
    d.toggleErased(erased);
    make(d, {type(L"POINT"), pointGroup(10, {7, 8, 9})});
    make(d, {type(L"TEXT"), pointGroup(10, {20, 30, 0}), realGroup(40, 2.5),
             stringGroup(1, L"Caf\u00e9 \u2248 5^2 m\u00b2\nsecond line"), realGroup(50, 30.0)});
    std::wstring longText;
    for (int i = 0; i < 40; ++i) longText += L"Line " + std::to_wstring(i) + L" \u00e4\u00f6\u00fc\\P";
    make(d, {type(L"MTEXT"), pointGroup(10, {50, 60, 0}), realGroup(40, 1.5), stringGroup(1, longText)});
    make(d, {type(L"MTEXT"), pointGroup(10, {31, 21, 0}), realGroup(40, 2.5), intGroup(71, 4),
             stringGroup(1, L"101.23")});
    const uint64_t annotation = *d.lastEntity();
    make(d, {type(L"LEADER"), pointGroup(10, {25, 15, 0}), pointGroup(10, {30, 20, 0}), pointGroup(10, {30.5, 20, 0}),
             Group{340, HandleRef{annotation}}, realGroup(40, 2.5), realGroup(41, 6.0)});
    make(d, {type(L"CIRCLE"), pointGroup(10, {70, 70, 0}), realGroup(40, 3)});
    make(d, {type(L"ARC"), pointGroup(10, {80, 70, 0}), realGroup(40, 2), realGroup(50, 0), realGroup(51, 135)});
    make(d, {type(L"LINE"), pointGroup(10, {0, 0, 0}), pointGroup(11, {1, 0, 0}), stringGroup(1001, L"TZSUITE"),
             stringGroup(1000, L"tagged"), intGroup(1070, 7)});
    return drawing;
}

}  // namespace tz::cad::test
