"""The saved drawing: the TIN layers with colour 5, three faces on each, the
fourth corner of every face equal to its first."""
import sys
import ezdxf

doc = ezdxf.readfile(sys.argv[1] + "/out.dxf")
for name in ("TZ_Tin", "Faces_2"):
    layer = doc.layers.get(name)
    assert layer.color == 5, (name, layer.color)
    faces = [e for e in doc.modelspace().query("3DFACE") if e.dxf.layer == name]
    assert len(faces) == 3, (name, len(faces))
    for face in faces:
        assert face.dxf.vtx3 == face.dxf.vtx0
print("ok")
