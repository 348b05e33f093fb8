// Draws a plot scene onto a picture file with cairo: white background, the
// scene fitted to the picture with a small margin, north up.
#pragma once

#include <string>

#include "plot/PlotScene.h"

namespace tz::cad {

// The picture kinds by file extension.
enum class PictureKind { png, svg, pdf, unknown };
PictureKind pictureKindOf(const std::string& path);

constexpr int kDefaultPlotSize = 1600;
constexpr int kSmallestPlotSize = 64;
constexpr int kLargestPlotSize = 20000;

// Writes the scene to `path` (PNG, SVG or PDF by its extension), the longer
// side `longSide` pixels (PNG) or points (SVG, PDF). Lines, texts and marks
// never get thinner or smaller than a legible minimum, whatever the scale.
// An empty scene gives a blank picture. False with `error` set when the kind
// is unknown, the size out of range or the file cannot be written.
bool renderPlot(const PlotScene& scene, const std::string& path, int longSide, std::string& error);

}  // namespace tz::cad
