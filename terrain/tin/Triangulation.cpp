#include "tin/Triangulation.h"

#include <vector>

#include "FileSystem.h"
#include "tin/DelaunayEngine.h"
#include "tin/NumberText.h"
#include "tin/TinFile.h"

namespace tz::terrain {

int buildTriangulation(const std::string& pointFile, const std::string& sortedFile, StageReporter& reporter,
                       const UserBreakTest& userBreak) {
    std::FILE* sorted = tz::platform::openFile(sortedFile, "rb");
    if (sorted == nullptr) {
        reporter.alert("Error opening sorted point file.");
        return kStatusError;
    }
    std::FILE* output = tz::platform::openFile(withExtension(pointFile, ".ttin"), "w");
    if (output == nullptr) {
        std::fclose(sorted);
        reporter.alert("Error opening triangle file.");
        return kStatusError;
    }

    // A file without its header has no points to triangulate.
    double header[6] = {0, 0, 0, 0, 0, 0};
    std::vector<Point3> points;
    {
        NumberReader reader(sorted);
        if (reader.readNumbers(header, 6)) {
            double v[3];
            while (reader.readNumbers(v, 3)) points.push_back({v[0], v[1], v[2]});
        }
    }
    std::fclose(sorted);

    Point3 enclosing[3];
    enclosingTriangle(header[0], header[1], header[3], header[4], 16000, 8000, enclosing);
    DelaunayEngine engine(DelaunayEngine::Mode::Sweep, enclosing, header[0], header[1], header[3], header[4],
                          points.size());
    for (const Point3& p : points) {
        if (userBreak && userBreak()) {
            std::fclose(output);
            return kStatusCancel;
        }
        engine.insertPointSweep(p);
    }
    points.clear();
    points.shrink_to_fit();

    reporter.print("Done\n");
    {
        TinWriter writer(output);
        engine.forEachResult([&](const Triangle& t) { writer.write(t); });
    }
    std::fclose(output);
    return kStageDone;
}

}  // namespace tz::terrain
