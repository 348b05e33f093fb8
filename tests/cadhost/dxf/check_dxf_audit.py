"""Checks a DXF file written by the host with an independent reader.

Loads the file with ezdxf's recover module, runs its audit, and fails on any
error or fix either reports. Then checks that the entities are those the
sample drawing holds: their kinds and counts, 3D polyline elevations, the
point blocks' attributes and the texts.
"""
import collections
import sys

import ezdxf
from ezdxf import recover


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def main(path):
    doc, auditor = recover.readfile(path)
    problems = [e.message for e in auditor.errors] + [f.message for f in auditor.fixes]
    audit = doc.audit()
    problems += [e.message for e in audit.errors] + [f.message for f in audit.fixes]
    if problems:
        fail("reader reports: " + "; ".join(problems))
    if doc.dxfversion != "AC1015":
        fail("version " + doc.dxfversion)

    msp = doc.modelspace()
    counts = collections.Counter(e.dxftype() for e in msp)
    expected = {"INSERT": 2, "POLYLINE": 2, "LWPOLYLINE": 1, "3DFACE": 1, "LINE": 2, "POINT": 1,
                "TEXT": 1, "MTEXT": 2, "LEADER": 1, "CIRCLE": 1, "ARC": 1}
    if dict(counts) != expected:
        fail("entities %s, expected %s" % (dict(counts), expected))

    polylines = {p.dxf.layer: p for p in msp.query("POLYLINE")}
    mesh = polylines["TZ_Mesh"]
    if not mesh.is_3d_polyline:
        fail("the mesh line is no 3D polyline")
    if [tuple(v.dxf.location) for v in mesh.vertices] != [(0, 0, 101.5), (5, 0, 102.25), (10, 0, 99.875)]:
        fail("3D vertices " + str([tuple(v.dxf.location) for v in mesh.vertices]))
    contour = polylines["TZ_Regcontours"]
    if not contour.is_2d_polyline or contour.dxf.elevation[2] != 105:
        fail("the contour is no 2D polyline at 105")
    if [v.dxf.bulge for v in contour.vertices] != [0.5, 0, 0]:
        fail("bulges " + str([v.dxf.bulge for v in contour.vertices]))

    face = next(iter(msp.query("3DFACE")))
    if [tuple(face.dxf.get(n)) for n in ("vtx0", "vtx1", "vtx2", "vtx3")] != [
            (0, 0, 100), (10, 0, 101), (0, 10, 102), (0, 0, 100)]:
        fail("3D face corners")

    numbers = []
    for insert in msp.query("INSERT"):
        if insert.dxf.name != "TZNODE":
            fail("block reference to " + insert.dxf.name)
        numbers.append([a.dxf.text for a in insert.attribs])
    if numbers != [["4", "12.750000", "kerb"], ["9", "13.500000", "manhole"]]:
        fail("attributes " + str(numbers))
    if "TZNODE" not in doc.blocks or len(doc.blocks["TZNODE"].query("ATTDEF")) != 3:
        fail("the TZNODE block and its three attribute definitions")

    text = next(iter(msp.query("TEXT"))).dxf.text
    if not text.startswith("Caf\u00e9 \u2248 5^2 m\u00b2"):
        fail("text " + repr(text))
    texts = sorted(len(m.text) for m in msp.query("MTEXT"))
    if texts[0] != 6 or texts[1] < 500:
        fail("MTEXT lengths " + str(texts))
    leader = next(iter(msp.query("LEADER")))
    if len(leader.vertices) != 3:
        fail("leader vertices")
    layers = {layer.dxf.name: layer.dxf.color for layer in doc.layers}
    if layers.get("TZ_Regcontours") != 3 or layers.get("TZ_Tin") != 5:
        fail("layers " + str(layers))
    print("ezdxf audit: no errors, %d entities as expected" % sum(counts.values()))


if __name__ == "__main__":
    main(sys.argv[1])
