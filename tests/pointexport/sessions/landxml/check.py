"""The document validates against the published LandXML 1.1 schema."""
import os
import subprocess
import sys

work = sys.argv[1]
schema = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "points", "LandXML-1.1.xsd")
result = subprocess.run(["xmllint", "--noout", "--schema", schema, os.path.join(work, "site.xml")],
                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
if result.returncode != 0:
    sys.exit(result.stdout)
