"""The project's drawing: survey points as point blocks "TZNODE", the road
alignment as a polyline with arcs, and the site's outlines for orientation."""
import ezdxf

TEXT_HEIGHT = 4.0
LAYERS = [
    # name, colour (ACI), what lies on it
    ("POINTS", 7, "survey points (TZNODE blocks)"),
    ("ALIGNMENT", 1, "road centre line"),
    ("STATIONS", 1, "station labels"),
    ("SECTIONS", 8, "cross-section lines"),
    ("BREAKLINES", 4, "valley floors"),
    ("BOUNDARY", 6, "survey boundary and void"),
    ("PAD", 30, "building pad"),
]


def _define_point_block(doc):
    block = doc.blocks.new(name="TZNODE", base_point=(0, 0, 0))
    block.add_circle((0, 0), radius=1.0, dxfattribs={"layer": "0"})
    block.add_point((0, 0), dxfattribs={"layer": "0"})
    for row, tag in enumerate(("NUMBER", "CODE", "DESCRIPTION")):
        block.add_attdef(tag, insert=(1.5, 1.5 - row * 1.5 * TEXT_HEIGHT),
                         dxfattribs={"height": TEXT_HEIGHT, "prompt": tag.capitalize(), "layer": "0"})


def _add_point_block(modelspace, number, code, description, position):
    reference = modelspace.add_blockref("TZNODE", position, dxfattribs={"layer": "POINTS"})
    for row, (tag, text) in enumerate((("NUMBER", str(number)), ("CODE", code), ("DESCRIPTION", description))):
        reference.add_attrib(tag, text, insert=(position[0] + 1.5, position[1] + 1.5 - row * 1.5 * TEXT_HEIGHT,
                                                position[2]),
                             dxfattribs={"height": TEXT_HEIGHT, "layer": "POINTS"})


def _station_text(station):
    return "%d+%03d" % (int(station) // 1000, int(round(station)) % 1000)


def write_drawing(path, point_blocks, alignment, sections, breaklines, outlines, pad_outline):
    """point_blocks: (number, code, description, (x, y, z)); alignment: an
    Alignment; sections: SectionLine list; breaklines: lists of (x, y, z);
    outlines: closed plan outlines of the boundary and its void; pad_outline:
    the pad's corners with its elevation."""
    # Fixed dates and GUIDs: the same project always gives the same file.
    ezdxf.options.write_fixed_meta_data_for_testing = True
    doc = ezdxf.new("R2000", setup=False)
    doc.header["$INSUNITS"] = 6  # metres
    doc.header["$LUNITS"] = 2
    doc.header["$LUPREC"] = 3
    for name, colour, description in LAYERS:
        doc.layers.add(name, color=colour).description = description
    _define_point_block(doc)
    modelspace = doc.modelspace()

    # The alignment comes first so that it is easy to find in the drawing.
    modelspace.add_lwpolyline([(x, y, bulge) for x, y, bulge in alignment.polyline_vertices()],
                              format="xyb", dxfattribs={"layer": "ALIGNMENT"})
    for section in sections:
        modelspace.add_line(tuple(section.start), tuple(section.end), dxfattribs={"layer": "SECTIONS"})
        if section.station % 500 == 0:
            modelspace.add_text(_station_text(section.station),
                                dxfattribs={"layer": "STATIONS", "height": 3 * TEXT_HEIGHT,
                                            "insert": (section.end[0], section.end[1])})
    for line in breaklines:
        modelspace.add_polyline3d([tuple(p) for p in line], dxfattribs={"layer": "BREAKLINES"})
    for outline in outlines:
        modelspace.add_lwpolyline([tuple(p[:2]) for p in outline], close=True, dxfattribs={"layer": "BOUNDARY"})
    modelspace.add_lwpolyline([tuple(p[:2]) for p in pad_outline], close=True,
                              dxfattribs={"layer": "PAD", "elevation": pad_outline[0][2]})
    for number, code, description, position in point_blocks:
        _add_point_block(modelspace, number, code, description, position)
    doc.saveas(path)
