#!/usr/bin/python3
"""Runs the demo on a clean copy of the repository files it needs and checks
that every output exists and is sane.

    check_demo.py --tzcad build/bin/tzcad --source REPOSITORY [--keep]
    check_demo.py --checks-only OUTDIR --source REPOSITORY   (the checks on an earlier run's outputs)

Each check reads its outputs with code of its own (numpy, ezdxf, xmllint),
not with the suite's. A missing output fails its check; one that a command
did not write because the command is not available in the suite says so.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

import demo_checks

# What the demo needs of the repository: nothing else is copied.
NEEDED = ["examples/run-demo.sh", "examples/demo.scr", "examples/project"]


def copy_needed(source, target):
    for name in NEEDED:
        origin = os.path.join(source, name)
        destination = os.path.join(target, name)
        os.makedirs(os.path.dirname(destination), exist_ok=True)
        if os.path.isdir(origin):
            shutil.copytree(origin, destination)
        else:
            shutil.copy2(origin, destination)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tzcad")
    parser.add_argument("--checks-only", metavar="OUTDIR", help="check the outputs of an earlier run")
    parser.add_argument("--source", required=True, help="the repository")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    options = parser.parse_args()
    schema = os.path.join(os.path.abspath(options.source), "tests", "pointexport", "points", "LandXML-1.1.xsd")
    if options.checks_only:
        return 1 if demo_checks.run_all(demo_checks.Context(options.checks_only, schema)) else 0
    if not options.tzcad:
        parser.error("--tzcad is needed to run the demo")

    work = tempfile.mkdtemp(prefix="tzdemo-")
    try:
        repository = os.path.join(work, "repository")
        copy_needed(os.path.abspath(options.source), repository)
        out = os.path.join(work, "out")
        started = time.time()
        run = subprocess.run(["bash", os.path.join(repository, "examples", "run-demo.sh"),
                              os.path.abspath(options.tzcad), out],
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=600)
        print(run.stdout.decode(errors="replace"))
        print("demo ran in %.1f s" % (time.time() - started))
        if run.returncode != 0:
            print("FAILED: run-demo.sh exited with %d" % run.returncode)
            return 1
        failures = demo_checks.run_all(demo_checks.Context(out, schema))
        if options.keep:
            print("outputs kept in %s" % out)
        return 1 if failures else 0
    finally:
        if not options.keep:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
