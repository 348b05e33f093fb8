# Recomputes the profiles by the plain procedure (profile_literal.py beside
# this case) and compares them with what the command wrote; the polyline's
# elevation changes nothing, and the short arc is stationed along the arc.
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from profile_literal import assert_same_profile, edges_of_edge_file, profile, read_profile  # noqa: E402

work = sys.argv[1]
edges = edges_of_edge_file(f"{work}/terrain.asc")
cases = {
    "arcs": ([(0, 0, 2.0), (10, 0, -0.5), (20, 0, 0), (30, 0, 0)], 1000),
    "short": ([(100, 0, 0.2), (100.78, 0, 0)], 0),
}
for name, (vertices, start) in cases.items():
    assert_same_profile(read_profile(f"{work}/{name}.pfl"), profile(vertices, start, edges), 1e-5, name)
assert open(f"{work}/arcs.pfl", "rb").read() == open(f"{work}/elevated.pfl", "rb").read()
(station, _), = read_profile(f"{work}/short.pfl")
assert abs(station - 0.4) > 1e-4, station
