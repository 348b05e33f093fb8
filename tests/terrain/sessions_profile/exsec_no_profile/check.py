# Only the last run writes a profile.
import os
import sys
written = sorted(name for name in os.listdir(sys.argv[1]) if name.endswith(".pfl"))
assert written == ["partial.pfl"], written
