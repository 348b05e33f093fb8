#!/usr/bin/env python3
"""Runs one tzcad session test case and compares its results.

A case is a folder holding:
  session.scr      the session script, run with the case's copy as current folder
  args             optional: extra tzcad arguments, one per line ({work} is the work folder)
  stdin            optional: text given on standard input (for prompts of programs other than tzcad)
  transcript.txt   the expected standard output, exactly
  expected/        optional: files that must exist afterwards, compared byte for byte
                   (a file named NAME.absent means NAME must not exist)
  exit_code        optional: the expected exit status (default 0)
  check.py         optional: further checks, run as `python3 check.py WORK` in the work folder,
                   with the transcript in WORK/transcript.actual and tzcad's path in $TZCAD
Every other file is input, copied into the work folder first.

With --update the actual transcript and expected files are written back.
"""
import argparse
import difflib
import os
import shutil
import subprocess
import sys
import tempfile

RESERVED = {"transcript.txt", "expected", "exit_code", "args", "stdin", "check.py"}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tzcad", required=True)
    parser.add_argument("--update", action="store_true")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    parser.add_argument("case")
    options = parser.parse_args()
    case = os.path.abspath(options.case)
    options.tzcad = os.path.abspath(options.tzcad)

    work = tempfile.mkdtemp(prefix="tzsession-")
    try:
        for name in os.listdir(case):
            if name in RESERVED:
                continue
            source = os.path.join(case, name)
            if os.path.isdir(source):
                shutil.copytree(source, os.path.join(work, name))
            else:
                shutil.copy2(source, os.path.join(work, name))
        temp = os.path.join(work, "tmp")
        os.makedirs(temp, exist_ok=True)

        args = []
        args_file = os.path.join(case, "args")
        if os.path.exists(args_file):
            with open(args_file, encoding="utf-8") as f:
                args = [line.rstrip("\n").replace("{work}", work) for line in f if line.strip()]
        stdin_data = b""
        stdin_file = os.path.join(case, "stdin")
        if os.path.exists(stdin_file):
            with open(stdin_file, "rb") as f:
                stdin_data = f.read()

        env = dict(os.environ)
        env["TEMP"] = temp
        env["HOME"] = work
        env["TZ_REGISTRY"] = os.path.join(work, "registry.reg")
        env["TZCAD"] = options.tzcad
        command = [options.tzcad] + args + ["session.scr"]
        result = subprocess.run(command, cwd=work, env=env, input=stdin_data,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=280)
        actual = result.stdout.decode("utf-8", errors="replace")
        failures = []

        expected_code = 0
        code_file = os.path.join(case, "exit_code")
        if os.path.exists(code_file):
            with open(code_file) as f:
                expected_code = int(f.read().strip())
        if result.returncode != expected_code:
            failures.append("exit status %d, expected %d\nstderr:\n%s"
                            % (result.returncode, expected_code, result.stderr.decode(errors="replace")))

        transcript_file = os.path.join(case, "transcript.txt")
        if options.update:
            with open(transcript_file, "w", encoding="utf-8", newline="") as f:
                f.write(actual)
        else:
            expected = ""
            if os.path.exists(transcript_file):
                with open(transcript_file, encoding="utf-8", newline="") as f:
                    expected = f.read()
            if expected != actual:
                diff = difflib.unified_diff(expected.splitlines(True), actual.splitlines(True),
                                            "transcript.txt", "actual")
                failures.append("transcript differs:\n" + "".join(diff))

        expected_dir = os.path.join(case, "expected")
        if os.path.isdir(expected_dir):
            for root, _, files in os.walk(expected_dir):
                for name in files:
                    want_path = os.path.join(root, name)
                    rel = os.path.relpath(want_path, expected_dir)
                    if rel.endswith(".absent"):
                        if os.path.exists(os.path.join(work, rel[: -len(".absent")])):
                            failures.append("%s should not exist" % rel[: -len(".absent")])
                        continue
                    got_path = os.path.join(work, rel)
                    if not os.path.exists(got_path):
                        failures.append("%s was not written" % rel)
                        continue
                    with open(got_path, "rb") as f:
                        got = f.read()
                    if options.update:
                        with open(want_path, "wb") as f:
                            f.write(got)
                        continue
                    with open(want_path, "rb") as f:
                        want = f.read()
                    if got != want:
                        diff = difflib.unified_diff(
                            want.decode("utf-8", "replace").splitlines(True),
                            got.decode("utf-8", "replace").splitlines(True), rel, "actual")
                        failures.append("%s differs:\n%s" % (rel, "".join(diff)[:4000]))

        check = os.path.join(case, "check.py")
        if os.path.exists(check):
            with open(os.path.join(work, "transcript.actual"), "w", encoding="utf-8", newline="") as f:
                f.write(actual)
            checked = subprocess.run(["/usr/bin/python3" if os.path.exists("/usr/bin/python3") else sys.executable, check, work], cwd=work, env=env,
                                     stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
            if checked.returncode != 0:
                failures.append("check.py failed:\n" + checked.stdout.decode(errors="replace"))

        if failures:
            print("\n".join(failures))
            print("work folder: " + work)
            options.keep = True
            return 1
        return 0
    finally:
        if not options.keep:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
