#!/usr/bin/env python3
"""Checks the program as it is installed: the desktop entry and the metainfo validate and the
manual page renders, a staged install and the Debian package hold exactly the expected
files, the package depends on what dpkg-shlibdeps finds and passes lintian, and the
installed binary opens Future in an X server.

    install_test.py CHECK --build DIR --source DIR --app-id ID --version VERSION
        --homepage URL [--cmake PATH] [--cpack PATH]

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
# What the program loads at run time, which dpkg-shlibdeps cannot see in the binary.
RUNTIME_DEPENDS = ["qt6-qpa-plugins", "fonts-liberation2"]


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
    """Installed path below the prefix -> the file it must equal (None: the binary)."""
    assets = os.path.join(args.source, "assets")
    generated = os.path.join(args.build, "assets")  # filled in from the project's identity
    icons = "share/icons/hicolor"
    # Every size of Future's pixel icon, in the theme folder of its size.
    sized = {}
    for name in os.listdir(assets):
        size = re.fullmatch(r"future-(\d+)\.png", name)
        if size:
            folder = f"{icons}/{size[1]}x{size[1]}/apps"
            sized[f"{folder}/{args.app_id}.png"] = os.path.join(assets, name)
    check(sized, f"no pixel icons of Future in {assets}")
    return {
        **sized,
        f"bin/{PROGRAM}": None,
        f"share/applications/{args.app_id}.desktop":
            os.path.join(generated, f"{args.app_id}.desktop"),
        f"share/metainfo/{args.app_id}.metainfo.xml":
            os.path.join(generated, f"{args.app_id}.metainfo.xml"),
        f"share/man/man1/{PROGRAM}.1.gz": os.path.join(generated, f"{PROGRAM}.1.gz"),
        f"{icons}/scalable/apps/{args.app_id}.svg": os.path.join(assets, "future.svg"),
        f"share/doc/{PROGRAM}/copyright": os.path.join(args.source, "LICENSE"),
        f"share/doc/{PROGRAM}/changelog.gz": os.path.join(generated, "changelog.gz"),
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
    icons = [p for p in expected if p.startswith("share/icons/hicolor/")]
    check(all(os.path.splitext(os.path.basename(p))[0] == icon for p in icons),
          f"Icon={icon} does not name the installed icons")
    launchable = ET.parse(os.path.join(prefix, f"share/metainfo/{args.app_id}.metainfo.xml")
                          ).getroot().findtext("launchable")
    check(os.path.isfile(os.path.join(prefix, "share/applications", launchable or "")),
          f"the metainfo launches {launchable}, which is not installed")
    return binary


def validate(args):
    metainfo = os.path.join(args.build, "assets", f"{args.app_id}.metainfo.xml")
    desktop = os.path.join(args.build, "assets", f"{args.app_id}.desktop")
    # It fails on warnings too, and each release of appstreamcli adds some.
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
    check(component.findtext("url[@type='homepage']") == args.homepage,
          f"the metainfo's homepage is not {args.homepage}")
    developer = component.find("developer")
    check(developer is not None and developer.get("id") and developer.findtext("name"),
          "the metainfo names no developer with an id")
    manual_page(args)


def manual_page(args):
    """The manual page renders without a groff warning and covers the command line."""
    page = os.path.join(args.build, "assets", f"{PROGRAM}.1.gz")
    env = dict(os.environ, LC_ALL="C.UTF-8", MANROFFSEQ="", MANWIDTH="80")
    checked = subprocess.run(["man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", page],
                             env=env, capture_output=True, text=True, timeout=60)
    check(checked.returncode == 0 and not checked.stderr.strip(),
          f"man -l {page} warns: {checked.stderr.strip()}")
    text = run(["man", "-l", page], env=dict(env, MANWIDTH="200"))
    print(text)
    for needed in ["SYNOPSIS", "FILE", "--help", "--version", "StudyProposal.txt", "EXIT STATUS",
                   f"{PROGRAM} {args.version}", args.homepage]:
        check(needed in text, f"the manual page does not mention {needed!r}")


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
                     "Homepage", "Description", "Depends"]:
            fields[name] = run(["dpkg-deb", "-f", package, name]).strip()
        print("\n".join(f"{k}: {v}" for k, v in fields.items()))
        check(fields["Package"] == PROGRAM, f"package name {fields['Package']}")
        check(fields["Version"] == args.version, f"package version {fields['Version']}")
        check(fields["Architecture"] == arch, f"architecture {fields['Architecture']}")
        check(re.fullmatch(r"[^<>]+ <[^<>@\s]+@[^<>@\s]+>", fields["Maintainer"]),
              f"maintainer {fields['Maintainer']!r} is not: name <e-mail>")
        check(fields["Section"], "no section")
        check(fields["Homepage"] == args.homepage, f"homepage {fields['Homepage']}")
        summary, *body = fields["Description"].splitlines()
        check(summary and body and all(len(line) <= 80 for line in body),
              "the description needs a summary and a body of short lines")
        unpacked = os.path.join(tmp, "root")
        run(["dpkg-deb", "-x", package, unpacked])
        binary = check_tree(args, os.path.join(unpacked, "usr"))
        kind = run(["file", "-b", binary])
        check("not stripped" not in kind, f"the packaged binary is not stripped: {kind}")

        # Library package names differ between releases (libqt6core6t64 on Debian 13):
        # the package must name exactly what this system's dpkg-shlibdeps finds.
        depends = split_items(fields["Depends"])
        wanted = shlibs_depends(binary, tmp) | set(RUNTIME_DEPENDS)
        check(depends == wanted, f"Depends lacks {sorted(wanted - depends)} and has "
                                 f"{sorted(depends - wanted)} beyond what the binary needs")

        print(run(["lintian", "--fail-on", "error,warning", "--tag-display-limit", "0",
                   package]))


def split_items(field):
    return {" ".join(item.split()) for item in field.split(",") if item.strip()}


def shlibs_depends(binary, tmp):
    """The Depends items dpkg-shlibdeps gives for the binary (it wants a debian/control)."""
    work = os.path.join(tmp, "shlibdeps")
    os.makedirs(os.path.join(work, "debian"))
    with open(os.path.join(work, "debian", "control"), "w", encoding="utf-8") as f:
        f.write(f"Source: {PROGRAM}\n\nPackage: {PROGRAM}\nArchitecture: any\n")
    output = run(["dpkg-shlibdeps", "-O", binary], cwd=work)
    found = [line.split("=", 1)[1] for line in output.splitlines()
             if line.startswith("shlibs:Depends=")]
    check(found and split_items(found[0]), f"dpkg-shlibdeps found no libraries:\n{output}")
    return split_items(found[0])


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
    parser.add_argument("--homepage", required=True)
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
