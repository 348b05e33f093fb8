#include "plot/Plot.h"

#include "FileSystem.h"
#include "drawing/CurrentDrawing.h"
#include "drawing/Wildcard.h"

namespace tz::cad {

bool plotDrawing(const std::string& path, std::string& error) {
    PlotRequest request;
    request.path = path;
    return plotDrawing(request, error);
}

bool plotDrawing(const PlotRequest& request, std::string& error) {
    const Drawing& drawing = currentDrawing();
    if (!request.layerPattern.empty()) {
        bool matched = false;
        for (const Layer& layer : drawing.layers()) matched = matched || wildcardMatch(request.layerPattern, layer.name, true);
        if (!matched) {
            error = "no layer of the drawing matches " + tz::platform::toUtf8(request.layerPattern);
            return false;
        }
    }
    return renderPlot(buildPlotScene(drawing, request.layerPattern, request.view), request.path, request.longSide, error);
}

}  // namespace tz::cad
