#include "plot/PlotRenderer.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <numbers>
#include <sstream>

namespace tz::cad {

namespace {

constexpr double kThinnestLine = 1.0;    // device units
constexpr double kSmallestText = 7.0;    // device units
constexpr double kMarkerRadius = 3.0;
constexpr double kMarkerText = 10.0;
constexpr double kDotRadius = 1.5;
constexpr double kSmallestArrow = 7.0;
constexpr double kLineSpacing = 1.4;     // of the text height

// World to device: uniform scale, y turned downwards.
struct Transform {
    double minX = 0, minY = 0, scale = 1, margin = 0, height = 0;
    double x(double worldX) const { return margin + (worldX - minX) * scale; }
    double y(double worldY) const { return height - margin - (worldY - minY) * scale; }
};

struct Page {
    int width = 0;
    int height = 0;
    Transform transform;
};

Page layOut(const std::optional<PlotBounds>& found, int longSide) {
    PlotBounds bounds = found.value_or(PlotBounds{0, 0, 1, 1});
    double width = bounds.maxX - bounds.minX;
    double height = bounds.maxY - bounds.minY;
    // A point or a straight row of shapes still needs an area to fit.
    const double span = std::max({width, height, 1e-9});
    if (width < span * 0.01) {
        bounds.minX -= (span * 0.01 - width) / 2;
        width = span * 0.01;
    }
    if (height < span * 0.01) {
        bounds.minY -= (span * 0.01 - height) / 2;
        height = span * 0.01;
    }
    Page page;
    const double margin = std::round(longSide * 0.03);
    const double room = longSide - 2 * margin;
    const double scale = room / std::max(width, height);
    page.width = width >= height ? longSide : std::max(1, static_cast<int>(std::ceil(width * scale + 2 * margin)));
    page.height = height > width ? longSide : std::max(1, static_cast<int>(std::ceil(height * scale + 2 * margin)));
    // Centre the drawing on the page's shorter side.
    page.transform = {bounds.minX - (page.width - 2 * margin - width * scale) / 2 / scale,
                      bounds.minY - (page.height - 2 * margin - height * scale) / 2 / scale, scale, margin,
                      static_cast<double>(page.height)};
    return page;
}

void setColour(cairo_t* cr, const PlotColour& colour) { cairo_set_source_rgb(cr, colour.red, colour.green, colour.blue); }

void tracePath(cairo_t* cr, const PlotPath& path, const Transform& t) {
    const size_t count = path.vertices.size();
    cairo_new_path(cr);
    cairo_move_to(cr, t.x(path.vertices[0].x), t.y(path.vertices[0].y));
    const size_t segments = path.closed ? count : count - 1;
    for (size_t i = 0; i < segments; ++i) {
        const PlotVertex& from = path.vertices[i];
        const PlotVertex& to = path.vertices[(i + 1) % count];
        const std::optional<PlotArc> arc = arcOfBulge(from.x, from.y, to.x, to.y, from.bulge);
        if (!arc) {
            cairo_line_to(cr, t.x(to.x), t.y(to.y));
            continue;
        }
        // With y turned downwards a world angle a is the device angle -a, and
        // counter-clockwise in the world runs the device's angles backwards.
        const double cx = t.x(arc->centreX);
        const double cy = t.y(arc->centreY);
        const double r = arc->radius * t.scale;
        if (arc->endAngle > arc->startAngle) {
            cairo_arc_negative(cr, cx, cy, r, -arc->startAngle, -arc->endAngle);
        } else {
            cairo_arc(cr, cx, cy, r, -arc->startAngle, -arc->endAngle);
        }
    }
    if (path.closed) cairo_close_path(cr);
}

void drawPath(cairo_t* cr, const PlotPath& path, const Transform& t) {
    tracePath(cr, path, t);
    cairo_set_line_width(cr, std::max(kThinnestLine, path.width * t.scale));
    cairo_stroke(cr);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    if (lines.empty()) lines.emplace_back();
    return lines;
}

void drawText(cairo_t* cr, const PlotText& text, const Transform& t) {
    if (text.utf8.empty()) return;
    const double size = std::max(kSmallestText, text.height * t.scale);
    cairo_set_font_size(cr, size);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    const std::vector<std::string> lines = linesOf(text.utf8);
    const double spacing = size * kLineSpacing;
    const double block = font.ascent + font.descent + spacing * (lines.size() - 1);
    double firstBaseline = 0;  // below the anchor, in device units
    switch (text.vertical) {
        case 3: firstBaseline = font.ascent; break;
        case 2: firstBaseline = font.ascent - block / 2; break;
        case 1: firstBaseline = font.ascent - block; break;
        default: firstBaseline = 0; break;
    }
    cairo_save(cr);
    cairo_translate(cr, t.x(text.x), t.y(text.y));
    cairo_rotate(cr, -text.rotation);
    for (size_t i = 0; i < lines.size(); ++i) {
        cairo_text_extents_t extents;
        cairo_text_extents(cr, lines[i].c_str(), &extents);
        const double shift = text.horizontal == 1 ? -extents.x_advance / 2 : text.horizontal == 2 ? -extents.x_advance : 0;
        cairo_move_to(cr, shift, firstBaseline + spacing * i);
        cairo_show_text(cr, lines[i].c_str());
    }
    cairo_restore(cr);
}

void drawArrow(cairo_t* cr, const PlotArrow& arrow, const Transform& t) {
    const double tipX = t.x(arrow.tipX);
    const double tipY = t.y(arrow.tipY);
    const double dx = t.x(arrow.towardX) - tipX;
    const double dy = t.y(arrow.towardY) - tipY;
    const double length = std::hypot(dx, dy);
    if (length == 0) return;
    const double size = std::max(kSmallestArrow, arrow.size * t.scale);
    const double ux = dx / length, uy = dy / length;
    cairo_new_path(cr);
    cairo_move_to(cr, tipX, tipY);
    cairo_line_to(cr, tipX + ux * size - uy * size / 3, tipY + uy * size + ux * size / 3);
    cairo_line_to(cr, tipX + ux * size + uy * size / 3, tipY + uy * size - ux * size / 3);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void drawDot(cairo_t* cr, double x, double y, double radius, bool filled) {
    cairo_new_path(cr);
    cairo_arc(cr, x, y, radius, 0, 2 * std::numbers::pi);
    if (filled) {
        cairo_fill(cr);
    } else {
        cairo_set_line_width(cr, kThinnestLine);
        cairo_stroke(cr);
    }
}

void drawScene(cairo_t* cr, const PlotScene& scene, const Page& page) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const Transform& t = page.transform;
    for (const PlotItem& item : scene.items) {
        setColour(cr, item.colour);
        if (const auto* path = std::get_if<PlotPath>(&item.shape)) {
            if (path->vertices.size() >= 2) drawPath(cr, *path, t);
        } else if (const auto* text = std::get_if<PlotText>(&item.shape)) {
            drawText(cr, *text, t);
        } else if (const auto* arrow = std::get_if<PlotArrow>(&item.shape)) {
            drawArrow(cr, *arrow, t);
        } else if (const auto* dot = std::get_if<PlotDot>(&item.shape)) {
            drawDot(cr, t.x(dot->x), t.y(dot->y), kDotRadius, true);
        } else if (const auto* marker = std::get_if<PlotMarker>(&item.shape)) {
            drawDot(cr, t.x(marker->x), t.y(marker->y), kMarkerRadius, false);
            if (!marker->label.empty()) {
                cairo_set_font_size(cr, kMarkerText);
                cairo_move_to(cr, t.x(marker->x) + kMarkerRadius + 2, t.y(marker->y) - kMarkerRadius);
                cairo_show_text(cr, marker->label.c_str());
            }
        }
    }
}

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

bool failed(cairo_status_t status, std::string& error) {
    if (status == CAIRO_STATUS_SUCCESS) return false;
    error = cairo_status_to_string(status);
    return true;
}

}  // namespace

PictureKind pictureKindOf(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return PictureKind::unknown;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "png") return PictureKind::png;
    if (extension == "svg") return PictureKind::svg;
    if (extension == "pdf") return PictureKind::pdf;
    return PictureKind::unknown;
}

bool renderPlot(const PlotScene& scene, const std::string& path, int longSide, std::string& error) {
    const PictureKind kind = pictureKindOf(path);
    if (kind == PictureKind::unknown) {
        error = "the picture's name must end in .png, .svg or .pdf";
        return false;
    }
    if (longSide < kSmallestPlotSize || longSide > kLargestPlotSize) {
        error = "the picture size must lie between " + std::to_string(kSmallestPlotSize) + " and " +
                std::to_string(kLargestPlotSize);
        return false;
    }
    const Page page = layOut(sceneBounds(scene), longSide);
    Surface surface;
    if (kind == PictureKind::png) {
        surface.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, page.width, page.height));
    } else if (kind == PictureKind::svg) {
        surface.reset(cairo_svg_surface_create(path.c_str(), page.width, page.height));
    } else {
        surface.reset(cairo_pdf_surface_create(path.c_str(), page.width, page.height));
    }
    if (failed(cairo_surface_status(surface.get()), error)) return false;
    {
        Context cr(cairo_create(surface.get()));
        drawScene(cr.get(), scene, page);
        if (failed(cairo_status(cr.get()), error)) return false;
    }
    if (kind == PictureKind::png) return !failed(cairo_surface_write_to_png(surface.get(), path.c_str()), error);
    cairo_surface_finish(surface.get());  // SVG and PDF are written out here
    return !failed(cairo_surface_status(surface.get()), error);
}

}  // namespace tz::cad
