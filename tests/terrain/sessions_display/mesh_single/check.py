"""The saved drawing: the mesh layers with colour 3, 3D polylines whose vertices
keep their elevations (the last run drew the plain mesh on Mesh_2, scale 2)."""
import sys
import ezdxf

doc = ezdxf.readfile(sys.argv[1] + "/out.dxf")
for name in ("TZ_Mesh", "Mesh_2"):
    layer = doc.layers.get(name)
    assert layer.color == 3, (name, layer.color)
    assert layer.dxf.linetype.upper() == "CONTINUOUS", layer.dxf.linetype
lines = [e for e in doc.modelspace().query("POLYLINE") if e.dxf.layer == "Mesh_2"]
assert all(e.is_3d_polyline for e in lines)
points = [[tuple(v.dxf.location) for v in e.vertices] for e in lines]
assert points[0] == [(0, 0, 0), (0, 5, 10), (0, 10, 20)], points[0]
assert len(lines) == 4, len(lines)
print("ok")
