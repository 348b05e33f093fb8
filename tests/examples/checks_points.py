"""Checks of the point exports against the point blocks of the input drawing."""
import re
import subprocess
import xml.etree.ElementTree as ElementTree

import numpy as np

NODE_HEADERS = {
    "NEZ": "NO.           NORTHING               EASTING              ELEVATION        DESCRIPTION",
    "ENZ": "NO.           EASTING                NORTHING             ELEVATION        DESCRIPTION",
}
DASHES = "----------    -------------------    -------------------  --------------   -----------"


def _lines(ctx, name, command):
    text = ctx.text(name, command)
    lines = text.split("\r\n")
    assert lines[-1] == "", "%s does not end in CR LF" % name
    return lines[:-1]


def _same(value, expected):
    return abs(float(value) - expected) < 5e-7


def check_point_files(ctx):
    """The three point files hold every point block: by number, with
    coordinates in the asked order and the chosen separator."""
    blocks = ctx.blocks
    numbers = sorted(blocks)
    for name, function, separator, order in (("points-pnezd.asc", "exprtpnezd", ",", (1, 0)),
                                             ("points-penzd.asc", "exprtpenzd", " ", (0, 1))):
        lines = _lines(ctx, name, function)
        assert len(lines) == len(numbers), "%s holds %d points of %d" % (name, len(lines), len(numbers))
        for line, number in zip(lines, numbers):
            fields = line.split(separator, 4)
            x, y, z, _, description = blocks[number]
            coordinates = (x, y)
            assert int(fields[0]) == number and fields[4] == description, "%s: %r" % (name, line)
            assert _same(fields[1], coordinates[order[0]]) and _same(fields[2], coordinates[order[1]]) and \
                _same(fields[3], z), "%s: %r" % (name, line)
    xyz = np.array([[float(v) for v in line.split(",")] for line in _lines(ctx, "points-xyz.asc", "exprtxyz")])
    expected = np.array([blocks[n][:3] for n in numbers])
    assert len(xyz) == len(expected) and np.allclose(np.sort(xyz, axis=0), np.sort(expected, axis=0), atol=5e-7), \
        "points-xyz.asc does not hold the point blocks"


def _check_node_list(lines, blocks, layout):
    assert lines[0] == NODE_HEADERS[layout] and lines[1] == DASHES and lines[2] == "", "node list header %r" % lines[:3]
    body = [line for line in lines[3:] if line]
    numbers = sorted(blocks)
    assert len(body) == len(numbers), "%d node lines for %d points" % (len(body), len(numbers))
    for line, number in zip(body, numbers):
        x, y, z, _, description = blocks[number]
        first, second = (y, x) if layout == "NEZ" else (x, y)
        # Columns end under the dash groups: number at 9, coordinates at 32 and 55, elevation at 71.
        assert int(line[0:10]) == number and line[9] != " ", "node line %r" % line
        assert _same(line[10:33], first) and line[32] != " ", "node line %r" % line
        assert _same(line[33:56], second) and line[55] != " ", "node line %r" % line
        assert _same(line[56:72], z) and line[71] != " ", "node line %r" % line
        assert line[72:76] == "    " and line[76:] == description, "node line %r" % line


def check_node_lists(ctx):
    """listnode (kept as nodelist-nezd.txt) and listnode2 (nodelist.txt):
    fixed columns right-aligned under the dashes, points by number."""
    with open(ctx.output("nodelist.txt", "listnode2"), "rb") as f:
        text = f.read().decode()
    assert not text.endswith("\n"), "nodelist.txt ends in a line break"
    _check_node_list(text.split("\r\n"), ctx.blocks, "ENZ")
    with open(ctx.output("nodelist-nezd.txt", "listnode"), "rb") as f:
        _check_node_list(f.read().decode().replace("\r\n", "\n").split("\n"), ctx.blocks, "NEZ")


def check_landxml(ctx):
    """site.xml is a valid LandXML 1.1 document holding every point by number."""
    path = ctx.output("site.xml", "exprtxml")
    run = subprocess.run(["xmllint", "--noout", "--schema", ctx.landxml_schema, path],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    assert run.returncode == 0, "xmllint: %s" % run.stdout.decode(errors="replace")
    namespace = {"l": "http://www.landxml.org/schema/LandXML-1.1"}
    points = ElementTree.parse(path).getroot().findall("l:CgPoints/l:CgPoint", namespace)
    blocks = ctx.blocks
    assert [int(p.get("name")) for p in points] == sorted(blocks), "CgPoint names are not the point numbers in order"
    for point in points:
        x, y, z, _, description = blocks[int(point.get("name"))]
        northing, easting, elevation = (float(v) for v in point.text.split())
        assert point.get("desc") == description, "desc %r for %r" % (point.get("desc"), description)
        assert _same(northing, y) and _same(easting, x) and _same(elevation, z), "CgPoint %s" % point.get("name")


def check_point_dump(ctx):
    """ptgrab: easting, northing, elevation to four decimals, by point number."""
    lines = _lines(ctx, "points-dump.dat", "ptgrab")
    blocks = ctx.blocks
    expected = ["%.4f %.4f %.4f" % blocks[n][:3] for n in sorted(blocks)]
    assert lines == expected, "points-dump.dat differs from the point blocks, first line %r" % lines[:1]


def check_point_queries(ctx):
    """getnum gives the next free number and getcrd a point and a name per block."""
    ctx.needs("getnum", "getcrd")
    following = max(ctx.blocks) + 1
    assert re.search(r"^Command: \(getnum\)\r?\n%d\.0*\s*$" % following, ctx.transcript, re.M), \
        "getnum did not give %d" % following
    assert re.search(r"^Command: \(length \(getcrd\)\)\r?\n%d\s*$" % (2 * len(ctx.blocks)), ctx.transcript, re.M), \
        "getcrd did not give %d elements" % (2 * len(ctx.blocks))
