// Pictures of the open drawing in plan view (tzcad --plot).
#pragma once

#include <string>

#include "plot/PlotRenderer.h"

namespace tz::cad {

struct PlotRequest {
    std::string path;           // .png, .svg or .pdf
    std::wstring layerPattern;  // the layers to show (wildcards, comma-separated); empty for all that are on
    int longSide = kDefaultPlotSize;
    PlotView view = PlotView::plan;
};

// Plots the current drawing to `path`: every layer that is on, the picture
// kind by the extension. False with `error` set when it cannot be written.
bool plotDrawing(const std::string& path, std::string& error);

// The same with a choice of layers and size. A layer pattern that matches no
// layer of the drawing is an error, so a mistyped name does not pass for an
// empty layer.
bool plotDrawing(const PlotRequest& request, std::string& error);

}  // namespace tz::cad
