#!/usr/bin/env python3
"""Checks the program as it is installed: the desktop entry and the metainfo validate, a
staged install and the Debian package hold exactly the expected files, and the installed
binary opens Future in an X server.

    install_test.py CHECK --build DIR --source DIR --app-id ID --version VERSION
        [--cmake PATH] [--cpack PATH]

CHECK is validate, staged, deb or launch. Everything is written to temporary directories;
the build tree is left as it was (cmake --install and cpack both rewrite its
install_manifest.txt, which the README's uninstall steps rely on, so it is put back).
"""

import argparse
import contextlib
import filecmp
import os
import re
import select
import signal
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PROGRAM = "study-proposal"
DEPENDS = ["libqt6widgets6", "libqt6gui6", "libqt6core6", "libqt6svg6", "qt6-qpa-plugins",
           "fonts-liberation2"]


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(command, **kwargs):
    """Runs a command, returns its stdout and fails with its output if it fails."""
    kwargs.setdefault("timeout", 300)
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True, **kwargs)
    check(result.returncode == 0,
          f"{' '.join(command)} exited with {result.returncode}:\n{result.stdout}")
    return result.stdout


def expected_files(args):
    """Installed path below the prefix -> the source file it must equal (None: the binary)."""
    assets = os.path.join(args.source, "assets")
    icons = "share/icons/hicolor"
    return {
        f"bin/{PROGRAM}": None,
        f"share/applications/{args.app_id}.desktop":
            os.path.join(assets, f"{args.app_id}.desktop"),
        f"share/metainfo/{args.app_id}.metainfo.xml":
            os.path.join(assets, f"{args.app_id}.metainfo.xml"),
        f"{icons}/16x16/apps/{args.app_id}.png": os.path.join(assets, "future-16.png"),
        f"{icons}/scalable/apps/{args.app_id}.svg": os.path.join(assets, "future.svg"),
        f"share/doc/{PROGRAM}/copyright": os.path.join(args.source, "LICENSE"),
    }


def read_desktop_entry(path):
    entry, group = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("["):
                group = line
            elif group == "[Desktop Entry]" and "=" in line and not line.startswith("#"):
                key, value = line.split("=", 1)
                entry[key.strip()] = value.strip()
    return entry


def files_below(root):
    found = set()
    for folder, _, names in os.walk(root):
        for name in names:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


@contextlib.contextmanager
def build_tree_kept(build):
    """Puts back install_manifest.txt and fails if anything else appears in the build tree."""
    manifest = os.path.join(build, "install_manifest.txt")
    before = set(os.listdir(build))
    saved = None
    if os.path.exists(manifest):
        with open(manifest, "rb") as f:
            saved = f.read()
    try:
        yield manifest
    finally:
        if saved is None:
            with contextlib.suppress(FileNotFoundError):
                os.remove(manifest)
        else:
            with open(manifest, "wb") as f:
                f.write(saved)
    added = set(os.listdir(build)) - before
    check(not added, f"the build tree gained {sorted(added)}")


def staged_install(args, destdir):
    env = dict(os.environ, DESTDIR=destdir)
    run([args.cmake, "--install", args.build, "--prefix", "/usr"], env=env)
    return os.path.join(destdir, "usr")


def check_tree(args, prefix):
    """The files below an installed /usr: exactly the expected ones, equal to their sources."""
    expected = expected_files(args)
    found = files_below(prefix)
    check(found == set(expected),
          f"installed {sorted(found)}, expected {sorted(expected)}")
    for path, source in expected.items():
        if source is not None:
            check(filecmp.cmp(os.path.join(prefix, path), source, shallow=False),
                  f"{path} differs from {source}")

    binary = os.path.join(prefix, "bin", PROGRAM)
    with open(binary, "rb") as f:
        check(f.read(4) == b"\x7fELF", f"{binary} is not an ELF executable")
    check(os.stat(binary).st_mode & 0o111 == 0o111, f"{binary} is not executable by all")

    # What the desktop entry and the metainfo name must be there under those names.
    entry = read_desktop_entry(os.path.join(prefix, f"share/applications/{args.app_id}.desktop"))
    command = entry.get("Exec", "").split()[0] if entry.get("Exec") else ""
    check(os.path.isfile(os.path.join(prefix, "bin", command)),
          f"Exec={entry.get('Exec')} is not an installed program")
    icon = entry.get("Icon", "")
    icons = [p for p in expected if p.startswith("share/icons/hicolor/")
             and os.path.splitext(os.path.basename(p))[0] == icon]
    check(len(icons) == 2, f"Icon={icon} does not name the installed icons")
    launchable = ET.parse(os.path.join(prefix, f"share/metainfo/{args.app_id}.metainfo.xml")
                          ).getroot().findtext("launchable")
    check(os.path.isfile(os.path.join(prefix, "share/applications", launchable or "")),
          f"the metainfo launches {launchable}, which is not installed")
    return binary


def validate(args):
    metainfo = os.path.join(args.source, "assets", f"{args.app_id}.metainfo.xml")
    desktop = os.path.join(args.source, "assets", f"{args.app_id}.desktop")
    print(run(["appstreamcli", "validate", "--no-net", metainfo]))
    output = run(["desktop-file-validate", desktop])
    print(output)
    # It exits with 0 on warnings too.
    check(not re.search(r": (error|warning):", output), "desktop-file-validate complains")

    # Software centres pair the metainfo with the entry of the same id (the installed
    # names are checked with the staged install).
    component = ET.parse(metainfo).getroot()
    check(component.findtext("id") == args.app_id, f"metainfo id is not {args.app_id}")
    releases = [r.get("version") for r in component.iterfind("releases/release")]
    check(releases and releases[0] == args.version,
          f"the newest release in the metainfo is {releases[:1]}, the project is {args.version}")


def staged(args):
    with tempfile.TemporaryDirectory() as tmp, build_tree_kept(args.build) as manifest:
        prefix = staged_install(args, tmp)
        binary = check_tree(args, prefix)
        # The README uninstalls by this list: it must name exactly the installed files.
        with open(manifest, encoding="utf-8") as f:
            listed = {line.strip() for line in f if line.strip()}
        wanted = {"/usr/" + path for path in expected_files(args)}
        check(listed == wanted, f"install_manifest.txt lists {sorted(listed)}")
        # Neither a path into this build nor $ORIGIN belongs in a binary of /usr/bin.
        dynamic = run(["readelf", "-d", binary])
        for line in dynamic.splitlines():
            if "RPATH" in line or "RUNPATH" in line:
                check(not re.search(r"\$ORIGIN|" + re.escape(args.build) + "|"
                                    + re.escape(args.source), line),
                      f"the installed binary keeps {line.strip()}")


def deb(args):
    with tempfile.TemporaryDirectory() as tmp, build_tree_kept(args.build):
        out = os.path.join(tmp, "out")
        run([args.cpack, "-G", "DEB", "-B", out,
             "--config", os.path.join(args.build, "CPackConfig.cmake")], cwd=args.build)
        arch = run(["dpkg", "--print-architecture"]).strip()
        packages = [n for n in os.listdir(out) if n.endswith(".deb")]
        check(packages == [f"{PROGRAM}_{args.version}_{arch}.deb"], f"cpack made {packages}")
        package = os.path.join(out, packages[0])

        # Nothing but the files and the folders that hold them, all owned by root.
        files, folders = set(), set()
        for line in run(["dpkg-deb", "-c", package]).splitlines():
            mode, owner, *_, path = line.split(None, 5)
            check(owner == "root/root", f"{path} belongs to {owner}")
            path = path.removeprefix("./").rstrip("/")
            (folders if mode.startswith("d") else files).add(path)
        wanted = {"usr/" + path for path in expected_files(args)}
        check(files == wanted, f"the package holds {sorted(files)}")
        parents = set()
        for path in wanted:
            while path := os.path.dirname(path):
                parents.add(path)
        check(folders == parents, f"the package makes the folders {sorted(folders)}")

        fields = {}
        for name in ["Package", "Version", "Architecture", "Maintainer", "Section",
                     "Description", "Depends"]:
            fields[name] = run(["dpkg-deb", "-f", package, name]).strip()
        print("\n".join(f"{k}: {v}" for k, v in fields.items()))
        check(fields["Package"] == PROGRAM, f"package name {fields['Package']}")
        check(fields["Version"] == args.version, f"package version {fields['Version']}")
        check(fields["Architecture"] == arch, f"architecture {fields['Architecture']}")
        check(re.fullmatch(r"[^<>]+ <[^<>@\s]+@[^<>@\s]+>", fields["Maintainer"]),
              f"maintainer {fields['Maintainer']!r} is not: name <e-mail>")
        check(fields["Section"], "no section")
        summary, *body = fields["Description"].splitlines()
        check(summary and body and all(len(line) <= 80 for line in body),
              "the description needs a summary and a body of short lines")
        depends = {re.split(r"[\s(:]", alternative.strip())[0]
                   for item in fields["Depends"].split(",") for alternative in item.split("|")}
        missing = [name for name in DEPENDS if name not in depends]
        check(not missing, f"Depends lacks {missing}")

        unpacked = os.path.join(tmp, "root")
        run(["dpkg-deb", "-x", package, unpacked])
        binary = check_tree(args, os.path.join(unpacked, "usr"))
        kind = run(["file", "-b", binary])
        check("not stripped" not in kind, f"the packaged binary is not stripped: {kind}")


@contextlib.contextmanager
def x_server():
    """A private Xvfb; yields its DISPLAY."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                               "-screen", "0", "1280x1024x24"],
                              pass_fds=[write_end], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        number = b""
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], 30)
            chunk = os.read(read_end, 16) if ready else b""
            check(chunk, "Xvfb did not start")
            number += chunk
        yield f":{number.decode().strip()}"
    finally:
        os.close(read_end)
        stop(server)


def stop(process):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def launch(args):
    with tempfile.TemporaryDirectory() as tmp, build_tree_kept(args.build):
        prefix = staged_install(args, os.path.join(tmp, "root"))
        runtime = os.path.join(tmp, "runtime")
        os.mkdir(runtime, 0o700)
        with x_server() as display:
            env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb",
                       XDG_RUNTIME_DIR=runtime)
            log = open(os.path.join(tmp, "program.log"), "w+", encoding="utf-8")
            program = subprocess.Popen([os.path.join(prefix, "bin", PROGRAM)], cwd=tmp,
                                       env=env, stdout=log, stderr=subprocess.STDOUT)
            try:
                try:
                    windows = subprocess.run(
                        ["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Future$"],
                        env=env, stdout=subprocess.PIPE, text=True, timeout=60).stdout.split()
                except subprocess.TimeoutExpired:
                    windows = []
                check(program.poll() is None, "the program ended before showing Future")
                check(len(windows) == 1, f"{len(windows)} windows named Future are shown")
                # Desktops on X11 match the window to the entry by its WM_CLASS.
                wm_class = run(["xprop", "-id", windows[0], "WM_CLASS"], env=env)
                entry = read_desktop_entry(
                    os.path.join(prefix, f"share/applications/{args.app_id}.desktop"))
                wanted = entry.get("StartupWMClass", args.app_id)
                check(f'"{wanted}"' in wm_class,
                      f"the window's {wm_class.strip()} does not match the entry's {wanted}")
            finally:
                stop(program)
                log.seek(0)
                print(log.read(), end="")
                log.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("check", choices=["validate", "staged", "deb", "launch"])
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--app-id", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--cmake", default="cmake")
    parser.add_argument("--cpack", default="cpack")
    args = parser.parse_args()
    args.build = os.path.realpath(args.build)
    args.source = os.path.realpath(args.source)
    try:
        {"validate": validate, "staged": staged, "deb": deb, "launch": launch}[args.check](args)
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    print(f"{args.check}: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
