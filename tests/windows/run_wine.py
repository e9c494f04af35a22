#!/usr/bin/python3
"""The Windows program under Wine, in a private X server under a window manager, driven and
checked as the end-to-end scenarios drive and check the Linux program: the portable zip
unpacked and started, presses on both windows, the saved file against the very bytes the
Linux program writes, a study opened from the command line; then the installer, silent,
the installed program, and the uninstaller.

    run_wine.py --zip build-windows/study-proposal-VERSION-win64.zip
                --installer build-windows/study-proposal-VERSION-win64-setup.exe
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

sys.dont_write_bytecode = True  # keep the source tree clean
TESTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path[:0] = [os.path.join(TESTS, ".."), os.path.join(TESTS, "e2e")]

import run_e2e  # noqa: E402
from harness import Failure, xsession  # noqa: E402
from harness.program import CLIENT_SIZE  # noqa: E402
from harness.xsession import TALLY, wait_for  # noqa: E402

xsession.TOOLS.update({"wine": "wine", "x86_64-w64-mingw32-objdump": "binutils-mingw-w64-x86-64"})
INSTALL_DIR = "Program Files/Study proposal"
SHORTCUT = "ProgramData/Microsoft/Windows/Start Menu/Programs/Study proposal/Study proposal.lnk"
OPEN_WITH = r"HKLM\Software\Classes\Applications\study-proposal.exe\shell\open\command"
# What the installer writes into the registry; the uninstaller must take all of it away.
REGISTRY_KEYS = [OPEN_WITH, r"HKLM\Software\The study-proposal developers",
                 r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Study proposal"]


class Wine:
    """One Wine prefix for the whole run; its programs see the X server of the session."""

    def __init__(self, root):
        self.prefix = os.path.join(root, "prefix")
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": root,
            "WINEPREFIX": self.prefix,
            "WINEDEBUG": "-all",
            # No prompts to fetch Wine's Mono and Gecko: the program needs neither.
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "LANG": "C.UTF-8",
        }
        started = time.monotonic()
        self.run(["wineboot", "-i"], timeout=180)
        # A program that crashes ends with Wine's backtrace on its standard error, where a
        # test shows it, rather than waiting behind a dialog until the test times out.
        self.run(["reg", "add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog",
                  "/t", "REG_DWORD", "/d", "0", "/f"])
        print(f"-- a fresh Wine prefix in {time.monotonic() - started:.0f} s", flush=True)

    def run(self, args, display=None, check=True, timeout=120):
        env = dict(self.env, **({"DISPLAY": display} if display else {}))
        result = subprocess.run(["wine", *args], env=env, capture_output=True, text=True,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise Failure(f"wine {' '.join(args)} failed ({result.returncode}): "
                          f"{result.stderr.strip()[-400:]}")
        return result

    def drive_c(self, path):
        return os.path.join(self.prefix, "drive_c", path)

    def launcher(self, exe, folder):
        """A command that starts the Windows program `exe` like a double-click would, with
        the arguments it is given."""
        path = os.path.join(folder, "run-" + os.path.basename(exe) + ".sh")
        with open(path, "w", encoding="utf-8") as f:
            f.write("#!/bin/sh\n")
            for name, value in self.env.items():
                if name not in ("PATH", "HOME"):
                    f.write(f"export {name}='{value}'\n")
            f.write(f"exec wine '{exe}' \"$@\"\n")
        os.chmod(path, 0o755)
        return path

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True, timeout=30)


class WineSession(xsession.Session):
    """Wine raises a window the program brings to the front but leaves the window manager's
    focus where it was, which Windows moves along: the window in front is the top one."""

    def active_name(self):
        stacking = self.run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"], check=False).stdout
        ids = re.findall(r"0x[0-9a-f]+", stacking)
        if not ids:
            return ""
        return self.run(["xdotool", "getwindowname", str(int(ids[-1], 16))],
                        check=False).stdout.strip()


def windows_date(day):
    """The system's short date under Wine (its locale is English, United States): the date
    line is the one line of the file that differs from the Linux program's."""
    return f"{day.month}/{day.day}/{day.year}"


WINE_SYSTEM_DLLS = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"
OBJDUMP = "x86_64-w64-mingw32-objdump"


def imports(path):
    dump = subprocess.run([OBJDUMP, "-p", path], capture_output=True, text=True, check=True)
    return dump.stdout, {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump.stdout)}


def package_contents(folder):
    """The zip's folder: a GUI program (no console beside it), exactly the DLLs that it and
    its plugins import, each found there or among the system's, and their licences."""
    dump, _ = imports(os.path.join(folder, "study-proposal.exe"))
    if not re.search(r"Subsystem\s+00000002", dump):
        raise Failure("study-proposal.exe is not a GUI (Windows subsystem) program")
    plugins = ["platforms/qwindows.dll"] + \
        ["styles/" + name for name in os.listdir(os.path.join(folder, "styles"))]
    # Windows matches DLL names without regard to case.
    files = {name.lower(): name for name in os.listdir(folder) if name.lower().endswith(".dll")}
    shipped = set(files)
    needed, queue = set(), ["study-proposal.exe", *plugins]
    while queue:
        for name in imports(os.path.join(folder, queue.pop()))[1]:
            if name in shipped and name not in needed:
                needed.add(name)
                queue.append(files[name])
            elif name not in shipped and not name.startswith("api-ms-") and \
                    not os.path.exists(os.path.join(WINE_SYSTEM_DLLS, name)):
                raise Failure(f"{name} is imported but neither shipped nor a system DLL")
    if needed != shipped:
        raise Failure(f"DLLs nothing imports: {sorted(shipped - needed)}")
    for licence in ("study-proposal.txt", "qtbase/LGPL-3.0-only.txt", "qtbase/THIRD-PARTY.txt",
                    "mingw-w64-gcc-runtime.txt", "mingw-w64-runtime.txt"):
        if not os.path.isfile(os.path.join(folder, "licenses", licence)):
            raise Failure(f"the licence {licence} is missing")


def command_line(wine, exe, folder):
    """Run from a terminal, the GUI program still answers there, with the Linux statuses."""
    version = wine.run([exe, "--version"])
    if version.stdout != "study-proposal 1.0.0\n":
        raise Failure(f"--version printed {version.stdout!r}")
    missing = wine.run([exe, os.path.join(folder, "no-such-study.txt")], check=False)
    if missing.returncode != 1 or len(missing.stderr.strip().splitlines()) != 1:
        raise Failure(f"a missing FILE: status {missing.returncode}, {missing.stderr!r}")


def exports(session, launcher, make_study):
    """The Windows program exports the same document, checked as the Linux program's is:
    LibreOffice converts it, poppler reads its text, tables and pictures."""
    env = dict(os.environ, DISPLAY=session.display, XAUTHORITY=session.env["XAUTHORITY"])
    result = subprocess.run(
        [sys.executable, os.path.join(TESTS, "proposal", "export_libreoffice.py"),
         "--program", launcher, "--make-study", make_study, "--document-only"],
        env=env, capture_output=True, text=True, timeout=600)
    if result.returncode != 0:
        raise Failure("the exported document of the Windows program:\n" +
                      (result.stdout + result.stderr)[:3000])


def client_size(session):
    """The first window comes up with its client area, below the menu bar, at the layout's
    size, its rows in their colours (the Program start checks every cell)."""
    p = run_e2e.Program(session)
    size = p.future.client_size  # below the menu bar
    if size != CLIENT_SIZE:
        raise Failure(f"the client area of Future is {size[0]}x{size[1]}, "
                      f"not {CLIENT_SIZE[0]}x{CLIENT_SIZE[1]}")
    session.close_window(p.future)
    p.expect_exit()


def installer(session, wine, setup):
    """Silent install, the installed program and its shortcut, silent uninstall."""
    started = time.monotonic()
    wine.run([setup, "/S"], display=session.display, timeout=300)
    exe = wine.drive_c(f"{INSTALL_DIR}/study-proposal.exe")
    for path in (exe, wine.drive_c(SHORTCUT), wine.drive_c(f"{INSTALL_DIR}/platforms/qwindows.dll")):
        if not os.path.isfile(path):
            raise Failure(f"the installer did not install {path}")
    for key in REGISTRY_KEYS:
        wine.run(["reg", "query", key])
    print(f"-- installed in {time.monotonic() - started:.0f} s", flush=True)

    session.binary = wine.launcher(exe, session.tmp)
    run_e2e.lifetime(session)

    uninstaller = wine.drive_c(f"{INSTALL_DIR}/Uninstall.exe")
    wine.run([uninstaller, "/S"], display=session.display, timeout=300)
    # The uninstaller finishes from a copy of itself in the background.
    wait_for("the uninstaller to remove the program",
             lambda: not os.path.exists(wine.drive_c(INSTALL_DIR)) or
             xsession.Detail(", ".join(sorted(os.listdir(wine.drive_c(INSTALL_DIR))))),
             timeout=120)
    if os.path.exists(os.path.dirname(wine.drive_c(SHORTCUT))):
        raise Failure("the uninstaller left the program's Start menu folder")
    for key in REGISTRY_KEYS:
        if wine.run(["reg", "query", key], check=False).returncode == 0:
            raise Failure(f"the uninstaller left {key} in the registry")


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--zip", required=True, help="the portable zip")
    parser.add_argument("--installer", required=True, help="the NSIS installer")
    parser.add_argument("--make-study", required=True,
                        help="the test program that writes a saved study to export")
    parser.add_argument("--artefacts", default=os.getcwd(),
                        help="where a screenshot of a failure is kept")
    args = parser.parse_args(argv)
    for path in (args.zip, args.installer):
        if not os.path.isfile(path):
            print(f"FAIL set-up: {path} is missing; build it with scripts/windows",
                  file=sys.stderr)
            return 1

    run_e2e.short_date = windows_date
    started = time.monotonic()
    root = tempfile.mkdtemp(prefix="sp-wine-")
    wine = session = None
    current = "set-up"
    try:
        xsession.require_tools()
        wine = Wine(root)
        with zipfile.ZipFile(args.zip) as archive:
            archive.extractall(root)
        folder = os.path.join(root, os.path.basename(args.zip)[:-len(".zip")])
        exe = os.path.join(folder, "study-proposal.exe")
        current = "package_contents"
        package_contents(folder)
        current = "command_line"
        command_line(wine, exe, folder)
        TALLY.scenarios += 2
        session = WineSession(wine.launcher(exe, root), args.artefacts,
                                  run_e2e.NON_LATIN_HORIZON[:3])
        scenarios = [("client_size", client_size),
                     ("keyword_index", run_e2e.keyword_index),
                     ("saved_study", run_e2e.saved_study),
                     ("exports", lambda s: exports(s, s.binary, args.make_study)),
                     ("installer", lambda s: installer(s, wine, os.path.abspath(args.installer)))]
        for current, scenario in scenarios:
            print(f"-- {current}", flush=True)
            scenario(session)
            TALLY.scenarios += 1
    except (Failure, OSError, subprocess.SubprocessError) as failure:
        xsession.report_failure(session, "wine-" + current, failure)
        return 1
    finally:
        if session:
            session.stop_app()
        if wine:
            wine.stop()
        if session:
            session.close()
        shutil.rmtree(root, ignore_errors=True)
    print(f"windows: {TALLY.scenarios} scenarios run under Wine, {TALLY.pixels} pixels checked, "
          f"{TALLY.bytes} bytes compared in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
