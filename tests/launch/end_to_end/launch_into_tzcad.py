#!/usr/bin/env python3
"""Follows a launcher run end to end into tzcad.

The suite's install folder is copied (the launcher appends to its loader on
every run), a registry file names it and a link called bricscad.exe to tzcad
as the program that opens drawings. suitelaunch, answered Yes, starts that
link with "/b" and the start-up script; tzcad, started under the host's name,
starts bare, runs the script, which loads the loader, which runs doPkgpath,
which loads the plug-ins. The lines after the answer on standard input reach
the tzcad session and call the plug-ins' functions there.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile


def reg_string(text):
    return text.replace("\\", "\\\\").replace('"', '\\"')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--suitelaunch", required=True)
    parser.add_argument("--roadlaunch", required=True)
    parser.add_argument("--tzcad", required=True)
    parser.add_argument("--suite", required=True)
    options = parser.parse_args()
    for name in ("suitelaunch", "roadlaunch", "tzcad", "suite"):
        setattr(options, name, os.path.abspath(getattr(options, name)))

    work = tempfile.mkdtemp(prefix="tzlaunch-")
    try:
        install = os.path.join(work, "Suite") + "/"
        shutil.copytree(options.suite, install)
        host = os.path.join(work, "Host")
        os.makedirs(host)
        link = os.path.join(host, "bricscad.exe")
        os.symlink(os.path.abspath(options.tzcad), link)
        registry = os.path.join(work, "registry.reg")
        with open(registry, "w") as f:
            f.write("Windows Registry Editor Version 5.00\n\n")
            f.write("[HKEY_CURRENT_USER\\SOFTWARE\\Veltrane\\Parcelix]\n")
            f.write('"Install_Dir"="%s"\n\n' % reg_string(install))
            f.write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrane\\TZroad]\n")
            f.write('"Install_Dir"="%s"\n\n' % reg_string(install))
            f.write("[HKEY_CLASSES_ROOT\\.dwg]\n")
            f.write('@="TZ.Drawing"\n\n')
            f.write("[HKEY_CLASSES_ROOT\\TZ.Drawing\\shell\\open\\command]\n")
            f.write('@="%s"\n' % reg_string('"%s" "%%1"' % link))
        env = dict(os.environ, TZ_REGISTRY=registry, HOME=work)

        session = "y\n(type dtmvar)\n(type tzkerfline)\n(arx)\n(ldtmopen \"site.dat\")\n(cadr (dtmvar))\n"
        with open(os.path.join(work, "site.dat"), "w") as f:
            f.write("0 0 1\n")
        run = subprocess.run([options.suitelaunch], cwd=work, env=env, input=session.encode(),
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=100)
        out = run.stdout.decode("utf-8", "replace")
        failures = []
        if run.returncode != 0:
            failures.append("suitelaunch exited with %d" % run.returncode)
        expected = [
            "Do you want to install the Veltrane menus in \n\"%s\"" % link,
            "Command: (LOAD \"%stzkivo\\\\aKivoPkgLoader.lsp\")\n" % install,
            "Command: (type dtmvar)\nEXRXSUBR",
            "Command: (type tzkerfline)\nEXRXSUBR",
            '("Terramod.so" "Nodex.so" "Kerfline.so" "ptgrab.so" "Slabvol.so")',
            '"site.dat"',
        ]
        for text in expected:
            if text not in out:
                failures.append("missing from the output: %r" % text)
        if "Could not load" in out:
            failures.append("a plug-in did not load")
        with open(os.path.join(install, "tzkivo", "gocad.scr"), "rb") as f:
            script = f.read()
        want = ('(LOAD "%stzkivo\\\\aKivoPkgLoader.lsp")\r\n;;End of script' % install).encode()
        if script != want:
            failures.append("gocad.scr is %r, expected %r" % (script, want))

        # The road launcher starts the same host without asking, its loader
        # bringing in the section tools.
        road = subprocess.run([options.roadlaunch], cwd=work, env=env, input=b"(arx)\n",
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=100)
        road_out = road.stdout.decode("utf-8", "replace")
        if road.returncode != 0:
            failures.append("roadlaunch exited with %d" % road.returncode)
        if '("Kerfline.so" "Slabvol.so" "ptgrab.so")' not in road_out:
            failures.append("the road product's plug-ins were not loaded:\n" + road_out)

        if failures:
            print("\n".join(failures))
            print("--- suitelaunch output ---\n" + out)
            return 1
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
