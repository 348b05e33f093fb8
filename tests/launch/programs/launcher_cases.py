#!/usr/bin/env python3
"""Runs suitelaunch and roadlaunch as a user would and checks what they leave.

Each case builds a registry file (TZ_REGISTRY), install folders and a stand-in
"host": a small shell program that records the arguments it was started with.
The files the launchers write are compared byte for byte. They are text files
as the suite writes them everywhere: each line feed is stored as CR LF.

  launcher_cases.py --list
  launcher_cases.py --suitelaunch BIN --roadlaunch BIN CASE
"""
import argparse
import os
import shutil
import stat
import subprocess
import sys
import tempfile

HEADER = "Windows Registry Editor Version 5.00\r\n\r\n"
SUITE_KEY = r"HKEY_CURRENT_USER\SOFTWARE\Veltrane\Parcelix"
ROAD_KEY = r"HKEY_LOCAL_MACHINE\SOFTWARE\Veltrane\TZroad"
QUESTION_CAPTION = "Install Veltrane Menus"


def reg_text(value):
    """A value as a .reg file spells it: backslashes and quotes escaped."""
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'


def reg_section(key, values):
    lines = ["[%s]" % key]
    for name, value in values.items():
        lines.append("%s=%s" % ("@" if name == "" else reg_text(name), reg_text(value)))
    return "\r\n".join(lines) + "\r\n\r\n"


def ok_box(text):
    return "*** MESSAGE BOX [Error] (OK) ***\n%s\n*** END MESSAGE BOX ***\n" % text


def question_box(host_path, answer_lines):
    return ("*** MESSAGE BOX [%s] (Yes/No) ***\nDo you want to install the Veltrane menus in \n\"%s\"\n"
            "*** END MESSAGE BOX ***\n%s" % (QUESTION_CAPTION, host_path, answer_lines))


def runas_line(host_path):
    return ("*** RUNAS: %s is to start with elevated rights; there are none here, it starts normally ***\n"
            % host_path)


def suite_loader_lines(install_text):
    escaped = install_text.replace("\\", "\\\\")
    return ('(setq dpath "%s")\r\n(doPkgpath)\r\n' % escaped).encode()


def road_loader_lines(install_text):
    escaped = install_text.replace("\\", "\\\\")
    return ('(setq dpath "%s")\r\n(doroadpath)\r\n' % escaped).encode()


def script_bytes(loader_path_text):
    return ('(LOAD "%s")\r\n;;End of script' % loader_path_text.replace("\\", "\\\\")).encode()


class Failure(Exception):
    pass


class Fixture:
    """A temporary machine: registry file, folders, stand-in programs."""

    def __init__(self, programs):
        self.programs = programs
        self.root = tempfile.mkdtemp(prefix="tzlaunch-")
        self.registry_path = os.path.join(self.root, "registry.reg")
        self.record_path = os.path.join(self.root, "started.bin")

    def close(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def folder(self, *parts):
        folder = self.path(*parts)
        os.makedirs(folder, exist_ok=True)
        return folder

    def write_registry(self, text, utf16=False):
        if utf16:
            data = b"\xff\xfe" + text.encode("utf-16-le")
        else:
            data = text.encode("utf-8")
        with open(self.registry_path, "wb") as f:
            f.write(data)

    def recorder(self, *parts):
        """A program that records its arguments ($0 first) to started.bin."""
        path = self.path(*parts)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write("#!/bin/sh\n{ for a in \"$0\" \"$@\"; do printf '%%s\\0' \"$a\"; done; } > '%s'\n"
                    % self.record_path)
        os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR | stat.S_IXGRP | stat.S_IXOTH)
        return path

    def run(self, which, stdin=b"", cwd=None):
        env = dict(os.environ)
        env["TZ_REGISTRY"] = self.registry_path
        env["HOME"] = self.root
        result = subprocess.run([self.programs[which]], input=stdin, cwd=cwd or self.root, env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)
        return result.returncode, result.stdout.decode("utf-8", "replace"), result.stderr.decode("utf-8", "replace")

    def started(self):
        """The recorded argument vector, or None when nothing was started."""
        if not os.path.exists(self.record_path):
            return None
        with open(self.record_path, "rb") as f:
            data = f.read()
        os.remove(self.record_path)
        return [part.decode() for part in data.split(b"\0")[:-1]]


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def expect_equal(actual, expected, what):
    if actual != expected:
        raise Failure("%s:\n  actual   %r\n  expected %r" % (what, actual, expected))


def expect_run(result, code, stdout, what="run"):
    actual_code, actual_stdout, stderr = result
    expect_equal(actual_stdout, stdout, what + ": standard output")
    if actual_code != code:
        raise Failure("%s: exit code %d, expected %d\nstderr:\n%s" % (what, actual_code, code, stderr))


def expect_file(path, content, what):
    if not os.path.exists(path):
        raise Failure("%s: %s does not exist" % (what, path))
    expect_equal(read_bytes(path), content, what)


def expect_absent(path, what):
    if os.path.exists(path):
        raise Failure("%s: %s exists but should not" % (what, path))


# --- the suite launcher ------------------------------------------------------------

def suite_machine(fx, command, install=None, make_loader_folder=True, dwg_class="Host.Drawing", utf16=False):
    """Registry and folders of a machine with the suite installed; returns the install text."""
    if install is None:
        install = fx.folder("suite") + "/"
    if make_loader_folder:
        fx.folder("suite", "tzkivo")
    text = (HEADER + reg_section(SUITE_KEY, {"Install_Dir": install})
            + reg_section(r"HKEY_CLASSES_ROOT\.dwg", {"": dwg_class})
            + reg_section(r"HKEY_CLASSES_ROOT\%s\shell\open\command" % dwg_class, {"": command}))
    fx.write_registry(text, utf16)
    return install


def case_suite_quoted_command_yes_starts_host_elevated(fx):
    host = fx.recorder("Program Files", "Host", "bricscad.exe")
    install = suite_machine(fx, '"%s" "%%1"' % host)
    loader = fx.path("suite", "tzkivo", "aKivoPkgLoader.lsp")
    with open(loader, "wb") as f:
        f.write(b"(defun doPkgpath () (princ dpath))\n")
    expect_run(fx.run("suite", b"yes\n"), 0, question_box(host, "Yes/No? yes\n") + runas_line(host))
    expect_equal(fx.started(), [host, "/b", install + "tzkivo\\gocad.scr"], "started host and arguments")
    expect_file(loader, b"(defun doPkgpath () (princ dpath))\n" + suite_loader_lines(install), "loader")
    expect_file(fx.path("suite", "tzkivo", "gocad.scr"), script_bytes(install + "tzkivo\\aKivoPkgLoader.lsp"),
                "script")


def case_suite_unquoted_command_is_cut_at_its_first_blank(fx):
    host = fx.recorder("Host", "bricscad.exe")
    install = suite_machine(fx, "%s /p" % host)
    expect_run(fx.run("suite", b"y\n"), 0, question_box(host, "Yes/No? y\n") + runas_line(host))
    expect_equal(fx.started(), [host, "/b", install + "tzkivo\\gocad.scr"], "started host and arguments")


def case_suite_other_letter_case_is_not_the_host(fx):
    host = fx.recorder("Host", "BricsCAD.exe")
    install = suite_machine(fx, '"%s" "%%1"' % host)
    expect_run(fx.run("suite", b"yes\n"), 0, "")
    expect_equal(fx.started(), None, "started program")
    # The loader and the script are written all the same.
    expect_file(fx.path("suite", "tzkivo", "aKivoPkgLoader.lsp"), suite_loader_lines(install), "loader")
    expect_file(fx.path("suite", "tzkivo", "gocad.scr"), script_bytes(install + "tzkivo\\aKivoPkgLoader.lsp"),
                "script")


def case_suite_other_vendors_variants_are_not_served(fx):
    for vendor_path in (("Carlson", "bricscad.exe"), ("Tools", "myCarlsonHost", "bricscad.exe"),
                        ("MicroSurvey", "bricscad.exe")):
        host = fx.recorder(*vendor_path)
        suite_machine(fx, '"%s" "%%1"' % host)
        expect_run(fx.run("suite", b"yes\n"), 0, "", "host in " + "/".join(vendor_path))
        expect_equal(fx.started(), None, "started program for " + "/".join(vendor_path))


def case_suite_windows_install_folder_is_escaped(fx):
    # C:\Suite\ names the folder "C:/Suite/" below the current folder here.
    fx.folder("C:", "Suite", "tzkivo")
    host = fx.recorder("Host", "bricscad.exe")
    suite_machine(fx, '"%s" "%%1"' % host, install="C:\\Suite\\", make_loader_folder=False)
    expect_run(fx.run("suite", b"yes\n"), 0, question_box(host, "Yes/No? yes\n") + runas_line(host))
    expect_file(fx.path("C:", "Suite", "tzkivo", "aKivoPkgLoader.lsp"),
                b'(setq dpath "C:\\\\Suite\\\\")\r\n(doPkgpath)\r\n', "loader")
    expect_file(fx.path("C:", "Suite", "tzkivo", "gocad.scr"),
                b'(LOAD "C:\\\\Suite\\\\tzkivo\\\\aKivoPkgLoader.lsp")\r\n;;End of script', "script")
    expect_equal(fx.started(), [host, "/b", "C:\\Suite\\tzkivo\\gocad.scr"], "started host and arguments")


def case_suite_three_runs_add_six_lines(fx):
    host = fx.recorder("Host", "bricscad.exe")
    install = suite_machine(fx, '"%s" "%%1"' % host)
    for run in range(3):
        expect_run(fx.run("suite", b"no\n"), 0, question_box(host, "Yes/No? no\n"), "run %d" % (run + 1))
    expect_file(fx.path("suite", "tzkivo", "aKivoPkgLoader.lsp"), suite_loader_lines(install) * 3, "loader")
    expect_file(fx.path("suite", "tzkivo", "gocad.scr"), script_bytes(install + "tzkivo\\aKivoPkgLoader.lsp"),
                "script (replaced, not grown)")
    expect_equal(fx.started(), None, "started program")


def case_suite_no_answer_starts_nothing(fx):
    host = fx.recorder("Host", "bricscad.exe")
    install = suite_machine(fx, '"%s" "%%1"' % host)
    expect_run(fx.run("suite", b"maybe\nNo\n"), 0, question_box(host, "Yes/No? maybe\nYes/No? No\n"))
    expect_equal(fx.started(), None, "started program")
    expect_file(fx.path("suite", "tzkivo", "aKivoPkgLoader.lsp"), suite_loader_lines(install), "loader")
    expect_file(fx.path("suite", "tzkivo", "gocad.scr"), script_bytes(install + "tzkivo\\aKivoPkgLoader.lsp"),
                "script")


def case_suite_end_of_input_answers_no(fx):
    host = fx.recorder("Host", "bricscad.exe")
    suite_machine(fx, '"%s" "%%1"' % host)
    expect_run(fx.run("suite", b""), 0, question_box(host, "Yes/No? *end of input*\n"))
    expect_equal(fx.started(), None, "started program")


def case_suite_install_key_failures(fx):
    loader = fx.path("suite", "tzkivo", "aKivoPkgLoader.lsp")
    fx.folder("suite", "tzkivo")
    # No registry file at all, then a file without the key.
    result = fx.run("suite", b"yes\n")
    expect_run(result, 1, ok_box("Could not open key"), "no registry file")
    # Standard error says which registry file was looked for.
    expect_equal(result[2], "registry file %s: does not exist, so no registry key exists\n" % fx.registry_path,
                 "standard error without a registry file")
    fx.write_registry(HEADER + reg_section(r"HKEY_CURRENT_USER\SOFTWARE\Veltrane", {"x": "y"}))
    expect_run(fx.run("suite", b"yes\n"), 1, ok_box("Could not open key"), "no install key")
    # The key without the value, and a value that does not fit 255 bytes.
    fx.write_registry(HEADER + reg_section(SUITE_KEY, {"Other": "x"}))
    expect_run(fx.run("suite", b"yes\n"), 1, ok_box("Could not get value"), "no install value")
    too_long = fx.root + "/" + "a" * (255 - len(fx.root) - 1)
    assert len(too_long) == 255
    fx.write_registry(HEADER + reg_section(SUITE_KEY, {"Install_Dir": too_long}))
    expect_run(fx.run("suite", b"yes\n"), 1, ok_box("Could not get value"), "install value of 255 bytes")
    fx.write_registry(HEADER + reg_section(SUITE_KEY, {"Install_Dir": ""}))
    expect_run(fx.run("suite", b"yes\n"), 1, ok_box("Could not get value"), "empty install value")
    expect_absent(loader, "loader after install key failures")
    expect_equal(os.listdir(fx.path("suite", "tzkivo")), [], "files in the loader folder")


def case_suite_install_folder_with_a_quote_is_refused(fx):
    # A quote in the folder's name would end the quoted names in the loader
    # and on the host's command line early: refused before either is written.
    base = fx.folder("suite")
    install = base + '/Road "A"/'
    os.makedirs(os.path.join(install, "tzkivo"))
    host = fx.recorder("Host", "bricscad.exe")
    suite_machine(fx, '"%s" "%%1"' % host, install=install)
    expect_run(fx.run("suite", b"yes\n"), 1,
               ok_box("The install folder's name holds a double quote, which the start-up script cannot name"))
    expect_equal(os.listdir(os.path.join(install, "tzkivo")), [], "files in the loader folder")
    expect_equal(fx.started(), None, "started program")


def case_suite_longest_install_value_fits(fx):
    # 254 characters and the terminator fill the 255-byte buffer exactly.
    base = fx.folder("suite")
    install = base + "/" + "d" * (254 - len(base) - 2) + "/"
    assert len(install) == 254
    os.makedirs(os.path.join(install, "tzkivo"))
    host = fx.recorder("Host", "acad.exe")
    suite_machine(fx, '"%s" "%%1"' % host, install=install)
    expect_run(fx.run("suite", b""), 0, "")
    expect_file(os.path.join(install, "tzkivo", "aKivoPkgLoader.lsp"), suite_loader_lines(install), "loader")


def case_suite_drawing_program_failures(fx):
    install = fx.folder("suite") + "/"
    fx.folder("suite", "tzkivo")
    loader = fx.path("suite", "tzkivo", "aKivoPkgLoader.lsp")
    script = fx.path("suite", "tzkivo", "gocad.scr")
    install_section = reg_section(SUITE_KEY, {"Install_Dir": install})
    steps = [
        ("", "Could not open key2"),
        (reg_section(r"HKEY_CLASSES_ROOT\.dwg", {"Content Type": "application/acad"}), "Could not get value2"),
        (reg_section(r"HKEY_CLASSES_ROOT\.dwg", {"": "Host.Drawing"}), "Could not open key3"),
        (reg_section(r"HKEY_CLASSES_ROOT\.dwg", {"": "Host.Drawing"})
         + reg_section(r"HKEY_CLASSES_ROOT\Host.Drawing\shell\open\command", {"x": "y"}), "Could not get value3"),
        # An empty class name must not reach a key at the root of the classes.
        (reg_section(r"HKEY_CLASSES_ROOT\.dwg", {"": ""})
         + reg_section(r"HKEY_CLASSES_ROOT\shell\open\command", {"": "/bin/true"}), "Could not open key3"),
    ]
    for number, (sections, message) in enumerate(steps, 1):
        fx.write_registry(HEADER + install_section + sections)
        expect_run(fx.run("suite", b"yes\n"), 1, ok_box(message), message)
        # The loader was appended to before the drawing program was looked up.
        expect_file(loader, suite_loader_lines(install) * number, "loader after " + message)
        expect_absent(script, "script after " + message)


def case_suite_missing_loader_folder(fx):
    host = fx.recorder("Host", "bricscad.exe")
    install = suite_machine(fx, '"%s" "%%1"' % host, make_loader_folder=False)
    fx.folder("suite")
    expect_run(fx.run("suite", b"yes\n"), 1, ok_box("Could not open file %stzkivo\\aKivoPkgLoader.lsp" % install))
    expect_equal(fx.started(), None, "started program")
    expect_equal(os.listdir(fx.path("suite")), [], "files in the install folder")


def case_suite_script_that_cannot_be_written(fx):
    host = fx.recorder("Host", "bricscad.exe")
    install = suite_machine(fx, '"%s" "%%1"' % host)
    fx.folder("suite", "tzkivo", "gocad.scr")  # a folder where the script belongs
    expect_run(fx.run("suite", b"yes\n"), 1, ok_box("Could not open file %stzkivo\\gocad.scr" % install))
    expect_equal(fx.started(), None, "started program")
    expect_file(fx.path("suite", "tzkivo", "aKivoPkgLoader.lsp"), suite_loader_lines(install), "loader")


def case_suite_script_write_error_is_reported(fx):
    # A script that opens but cannot take its text (a full disk) is no success.
    if not os.path.exists("/dev/full"):
        return
    host = fx.recorder("Host", "bricscad.exe")
    install = suite_machine(fx, '"%s" "%%1"' % host)
    os.symlink("/dev/full", fx.path("suite", "tzkivo", "gocad.scr"))
    expect_run(fx.run("suite", b"yes\n"), 1, ok_box("Could not write file %stzkivo\\gocad.scr" % install))
    expect_equal(fx.started(), None, "started program")


def case_suite_install_folder_without_separator(fx):
    host = fx.recorder("Host", "bricscad.exe")
    folder = fx.folder("suite")
    suite_machine(fx, '"%s" "%%1"' % host, install=folder)
    expect_run(fx.run("suite", b"yes\n"), 0, question_box(host, "Yes/No? yes\n") + runas_line(host))
    expect_file(fx.path("suite", "tzkivo", "aKivoPkgLoader.lsp"), suite_loader_lines(folder + "/"), "loader")
    expect_file(fx.path("suite", "tzkivo", "gocad.scr"), script_bytes(folder + "/tzkivo\\aKivoPkgLoader.lsp"),
                "script")
    expect_equal(fx.started(), [host, "/b", folder + "/tzkivo\\gocad.scr"], "started host and arguments")


def case_suite_host_that_cannot_start(fx):
    host = fx.path("Gone", "bricscad.exe")
    suite_machine(fx, '"%s" "%%1"' % host)
    expect_run(fx.run("suite", b"yes\n"), 1,
               question_box(host, "Yes/No? yes\n") + runas_line(host)
               + ok_box('Cannot start "%s": No such file or directory.' % host))


def case_suite_reads_a_regedit_export(fx):
    # UTF-16 with CR LF, the classes stored where an export of the machine puts them.
    host = fx.recorder("Program Files", "Host", "bricscad.exe")
    install = fx.folder("suite") + "/"
    fx.folder("suite", "tzkivo")
    text = (HEADER + "; exported\r\n" + reg_section(SUITE_KEY, {"Install_Dir": install, "Version": "9"})
            + reg_section(r"HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.dwg", {"": "Host.Drawing.22"})
            + reg_section(r"HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Host.Drawing.22\shell\open\command",
                          {"": '"%s" "%%1"' % host}))
    fx.write_registry(text, utf16=True)
    expect_run(fx.run("suite", b"yes\n"), 0, question_box(host, "Yes/No? yes\n") + runas_line(host))
    expect_equal(fx.started(), [host, "/b", install + "tzkivo\\gocad.scr"], "started host and arguments")


# --- the road launcher -------------------------------------------------------------

def road_machine(fx, command, install=None, hive_key=ROAD_KEY):
    if install is None:
        install = fx.folder("road") + "/"
    text = (HEADER + reg_section(hive_key, {"Install_Dir": install})
            + reg_section(r"HKEY_CLASSES_ROOT\.dwg", {"": "Other.Drawing"})
            + reg_section(r"HKEY_CLASSES_ROOT\Other.Drawing\shell\open\command", {"": command}))
    fx.write_registry(text)
    return install


def case_road_starts_any_drawing_program_without_asking(fx):
    program = fx.recorder("apps", "otherprog")
    install = road_machine(fx, '"%s" "%%1"' % program)
    expect_run(fx.run("road", b"no\n"), 0, "")
    expect_equal(fx.started(), [program, "/b", install + "gocad.scr"], "started program and arguments")
    expect_file(fx.path("road", "aRoadLoader.lsp"), road_loader_lines(install), "loader")
    expect_file(fx.path("road", "gocad.scr"), script_bytes(install + "aRoadLoader.lsp"), "script")


def case_road_starts_the_host_with_open_not_runas(fx):
    host = fx.recorder("Host", "bricscad.exe")
    install = road_machine(fx, '"%s" "%%1"' % host)
    expect_run(fx.run("road"), 0, "")
    expect_equal(fx.started(), [host, "/b", install + "gocad.scr"], "started host and arguments")


def case_road_reads_the_machine_wide_hive_only(fx):
    program = fx.recorder("apps", "otherprog")
    fx.folder("road")
    road_machine(fx, '"%s" "%%1"' % program, hive_key=r"HKEY_CURRENT_USER\SOFTWARE\Veltrane\TZroad")
    expect_run(fx.run("road"), 1, ok_box("Could not open key"))
    expect_equal(fx.started(), None, "started program")
    expect_equal(os.listdir(fx.path("road")), [], "files in the install folder")


def case_road_two_runs_add_four_lines(fx):
    program = fx.recorder("apps", "otherprog")
    install = road_machine(fx, '"%s" "%%1"' % program)
    for run in range(2):
        expect_run(fx.run("road"), 0, "", "run %d" % (run + 1))
        expect_equal(fx.started(), [program, "/b", install + "gocad.scr"], "run %d started" % (run + 1))
    expect_file(fx.path("road", "aRoadLoader.lsp"), road_loader_lines(install) * 2, "loader")
    expect_file(fx.path("road", "gocad.scr"), script_bytes(install + "aRoadLoader.lsp"), "script")


def case_road_windows_install_folder_is_escaped(fx):
    fx.folder("D:", "Road")
    program = fx.recorder("apps", "otherprog")
    road_machine(fx, "%s %%1" % program, install="D:\\Road\\")
    expect_run(fx.run("road"), 0, "")
    expect_file(fx.path("D:", "Road", "aRoadLoader.lsp"), b'(setq dpath "D:\\\\Road\\\\")\r\n(doroadpath)\r\n', "loader")
    expect_file(fx.path("D:", "Road", "gocad.scr"), b'(LOAD "D:\\\\Road\\\\aRoadLoader.lsp")\r\n;;End of script',
                "script")
    expect_equal(fx.started(), [program, "/b", "D:\\Road\\gocad.scr"], "started program and arguments")


def case_road_unquoted_command_with_blanks_is_cut(fx):
    # "apps/other prog.exe %1" names the program "apps/other", as the command reads.
    program = fx.recorder("apps", "other")
    install = road_machine(fx, "%s prog.exe %%1" % program)
    expect_run(fx.run("road"), 0, "")
    expect_equal(fx.started(), [program, "/b", install + "gocad.scr"], "started program and arguments")


def case_road_registry_and_file_failures(fx):
    install = fx.folder("road") + "/"
    fx.write_registry(HEADER + reg_section(ROAD_KEY, {"Install_Dir": install}))
    expect_run(fx.run("road"), 1, ok_box("Could not open key2"), "no .dwg class")
    expect_file(fx.path("road", "aRoadLoader.lsp"), road_loader_lines(install), "loader after key2")
    expect_absent(fx.path("road", "gocad.scr"), "script after key2")
    missing = fx.path("nowhere") + "/"
    program = fx.recorder("apps", "otherprog")
    road_machine(fx, '"%s" "%%1"' % program, install=missing)
    expect_run(fx.run("road"), 1, ok_box("Could not open file %saRoadLoader.lsp" % missing), "missing folder")
    expect_equal(fx.started(), None, "started program")


CASES = {name[len("case_"):]: function for name, function in globals().items() if name.startswith("case_")}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--suitelaunch")
    parser.add_argument("--roadlaunch")
    parser.add_argument("case", nargs="?")
    options = parser.parse_args()
    if options.list:
        print("\n".join(sorted(CASES)))
        return 0
    if options.case not in CASES:
        print("unknown case %r" % options.case, file=sys.stderr)
        return 2
    fx = Fixture({"suite": options.suitelaunch, "road": options.roadlaunch})
    try:
        CASES[options.case](fx)
    except Failure as failure:
        print("FAILED %s: %s" % (options.case, failure), file=sys.stderr)
        print("(work folder kept: %s)" % fx.root, file=sys.stderr)
        return 1
    fx.close()
    print("passed %s" % options.case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
