"""Every triangle lies inside the boundary and outside the void, is
clockwise, and the fault line is an edge of the TIN."""
import os
import sys

work = sys.argv[1]
rows = [list(map(float, line.split())) for line in open(os.path.join(work, "site.tin")) if line.strip()]
if not rows:
    sys.exit("empty TIN")
fault = list(map(float, open(os.path.join(work, "site.flt")).read().split()))
s, e = (fault[0], fault[1]), (fault[3], fault[4])
found = False
for r in rows:
    p = [(r[0], r[1]), (r[3], r[4]), (r[6], r[7])]
    area2 = (p[1][0] - p[0][0]) * (p[2][1] - p[0][1]) - (p[2][0] - p[0][0]) * (p[1][1] - p[0][1])
    if area2 >= 0:
        sys.exit("not clockwise: %s" % r)
    cx = sum(q[0] for q in p) / 3
    cy = sum(q[1] for q in p) / 3
    if 24 < cx < 36 and 4 < cy < 16:
        sys.exit("triangle in the void: %s" % r)
    for k in range(3):
        a, b = p[k], p[(k + 1) % 3]
        if {a, b} == {s, e}:
            found = True
if not found:
    sys.exit("the fault line is not an edge of the TIN")
