"""The saved drawing passes ezdxf's audit and reopens in tzcad with the same entities."""
import os
import subprocess
import sys

import ezdxf
from ezdxf import recover

work = sys.argv[1]
path = os.path.join(work, "saved.dxf")
doc, auditor = recover.readfile(path)
if auditor.has_errors:
    for error in auditor.errors:
        print("ezdxf:", error.message)
    sys.exit(1)
audit = doc.audit()
if audit.has_errors:
    for error in audit.errors:
        print("ezdxf audit:", error.message)
    sys.exit(1)
kinds = sorted({e.dxftype() for e in doc.modelspace()})
expected = sorted(["LINE", "POINT", "3DFACE", "POLYLINE", "LWPOLYLINE", "TEXT", "MTEXT", "INSERT", "LEADER"])
if kinds != expected:
    print("entity kinds", kinds, "expected", expected)
    sys.exit(1)
polyline3d = [e for e in doc.modelspace().query("POLYLINE") if e.is_3d_polyline][0]
zs = [v.dxf.location.z for v in polyline3d.vertices]
if zs != [100.0, 101.5]:
    print("3D polyline elevations lost:", zs)
    sys.exit(1)

# Reopened in tzcad, the drawing lists the same entities.
with open(os.path.join(work, "reopen.scr"), "w") as f:
    f.write('(load "dump.lsp")\n(dump-drawing)\n')
reopened = subprocess.run([os.environ["TZCAD"], "--bare", "--drawing", "saved.dxf", "reopen.scr"], cwd=work,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
def groups(line):
    """The groups of a printed entity list, in a stable order by group code
    (a DXF file may order an entity's groups differently from entmake)."""
    found, depth, start, in_string = [], 0, 0, False
    for i, c in enumerate(line):
        if c == '"' and (i == 0 or line[i - 1] != "\\"):
            in_string = not in_string
        if in_string:
            continue
        if c == "(":
            if depth == 0:
                start = i
            depth += 1
        elif c == ")":
            depth -= 1
            if depth == 0:
                found.append(line[start:i + 1])
    return sorted(found, key=lambda g: int(g[1:].split()[0]))

def listing(transcript):
    lines = transcript.splitlines()
    start = lines.index("Command: (dump-drawing)") + 1
    return [groups(line) for line in lines[start:] if line and not line.startswith("Command:")]
with open(os.path.join(work, "transcript.actual")) as f:
    first = listing(f.read())
second = listing(reopened.stdout)
if first != second:
    print("entities differ after reopening")
    for a, b in zip(first, second):
        if a != b:
            print(" before:", a)
            print(" after: ", b)
    print(len(first), len(second))
    sys.exit(1)
