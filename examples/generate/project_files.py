"""The project's text files, in the layouts the suite reads, with CR LF line
ends as the suite writes every text file."""


def _open(path):
    return open(path, "w", encoding="utf-8", newline="\r\n")


def write_points(path, points):
    """Point file: easting northing elevation, one point per line."""
    with _open(path) as out:
        for x, y, z in points:
            out.write("%.3f %.3f %.3f\n" % (x, y, z))


def write_segments(path, segments):
    """Fault or boundary/void file: x1 y1 z1 x2 y2 z2, one segment per line."""
    with _open(path) as out:
        for a, b in segments:
            out.write("%.3f %.3f %.3f %.3f %.3f %.3f\n" % (a[0], a[1], a[2], b[0], b[1], b[2]))


def write_tin(path, triangles):
    """TIN file: nine numbers per triangle, six decimals, the TIN writing format."""
    with _open(path) as out:
        for triangle in triangles:
            out.write(" ".join("%f" % value for vertex in triangle for value in vertex) + "\n")


def write_section_data(path, sections):
    """Existing-section data: origin distance,station,x1,y1,x2,y2 per section line."""
    with _open(path) as out:
        for s in sections:
            out.write("%.3f,%.3f,%.3f,%.3f,%.3f,%.3f\n" % (s.origin_distance, s.station, s.start[0], s.start[1],
                                                          s.end[0], s.end[1]))


def write_proposed_sections(path, sections):
    """Proposed sections: per station a header "station 0 EG", the ground
    points (offset elevation), the word "datum" and the design points (offset
    elevation 0), and "X"."""
    with _open(path) as out:
        for station, ground, design in sections:
            out.write("%.3f 0 EG\n" % station)
            for offset, elevation in ground:
                out.write("%.3f %.3f\n" % (offset, elevation))
            out.write("datum\n")
            for offset, elevation in design:
                out.write("%.3f %.3f 0\n" % (offset, elevation))
            out.write("X\n")
