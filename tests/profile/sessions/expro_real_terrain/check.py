# The profile along the alignment, recomputed by the plain procedure
# (tests/terrain/sessions_profile/profile_literal.py) from the TIN's edges.
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "..", "terrain", "sessions_profile"))
from profile_literal import assert_same_profile, edges_of_tin, profile, read_profile  # noqa: E402

work = sys.argv[1]
vertices = [(511250.0, 4022400.0, 0.4), (511600.0, 4022000.0, -0.8), (511900.0, 4021700.0, 0), (511950.0, 4021500.0, 0)]
got = read_profile(f"{work}/real.pfl")
assert_same_profile(got, profile(vertices, 1000, edges_of_tin(f"{work}/terrain.tin")), 1e-5, "real")
assert len(got) > 30, len(got)
