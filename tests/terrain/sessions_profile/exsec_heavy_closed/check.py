# The three polylines differ only in elevation: their profiles are the same bytes.
import sys
work = sys.argv[1]
files = [open(f"{work}/{name}.pfl", "rb").read() for name in ("closed", "elevated", "threed")]
assert files[0] == files[1] == files[2], files
