# Sourced by scripts/windows and scripts/web, which build Qt for another platform from
# Debian's own source of the qtbase Debian ships. The sourcing script defines log().

qt_version() { dpkg-query -W -f='${Version}' qt6-base-dev; }
qt_upstream() { qt_version | sed 's/[+-].*//; s/^[0-9]*://'; }

# Debian's source of qtbase needs a deb-src entry: the machine's own Debian entries, as
# deb-src, in a file of their own.
enable_sources() {
    local list=/etc/apt/sources.list.d/study-proposal-sources.sources
    if grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return 0
    fi
    [[ $(id -u) -eq 0 ]] || { log "needs root to add a deb-src entry for Qt's source"; exit 1; }
    if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
        sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$list"
    else
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
            >"${list%.sources}.list"
    fi
    apt-get update
}

# Unpacks Debian's qtbase source of the installed version as DIR/qtbase.
fetch_qt_source() { # dir
    (cd "$1" && apt-get source --download-only "qt6-base=$(qt_version)" >/dev/null &&
        dpkg-source -x ./qt6-base_*.dsc qtbase >/dev/null)
}

# Qt's licence (used under the LGPL 3, which builds on the GPL 3) and the licences of the
# libraries bundled into the modules the program uses, from their attribution files: those
# of Core, Gui and Widgets, the folders given for the platform, and the bundled libraries;
# QT_LICENCE_SKIP names folders of features left out.
collect_qt_licences() { # source, destination, Debian version, how built, folder...
    local source=$1 destination=$2 version=$3 how=$4
    shift 4
    mkdir -p "$destination"
    cp "$source/LICENSES/LGPL-3.0-only.txt" "$source/LICENSES/GPL-3.0-only.txt" "$destination/"
    cat >"$destination/SOURCE.txt" <<SOURCE
These Qt libraries are Debian's qtbase $version (source package qt6-base), built $how
(features left out).
SOURCE
    python3 - "$source" "$destination" "${QT_LICENCE_SKIP:-}" "$@" <<'PY'
import json, os, shutil, sys
source, destination, skipped = sys.argv[1:4]
folders = ["src/corelib", "src/gui", "src/widgets"] + sys.argv[4:] + [
    "src/3rdparty/" + name for name in (
        "blake2", "double-conversion", "easing", "harfbuzz-ng", "icc", "libpng", "md4",
        "md4c", "md5", "pcre2", "rfc6234", "sha1", "sha3", "tinycbor", "zlib")]
skip = set(skipped.split())
lines = []
for folder in folders:
    for here, dirs, files in os.walk(os.path.join(source, folder)):
        if os.path.relpath(here, source) in skip or "qt_attribution.json" not in files:
            continue
        with open(os.path.join(here, "qt_attribution.json"), encoding="utf-8") as f:
            entries = json.loads(f.read(), strict=False)  # some hold raw tabs
        for entry in entries if isinstance(entries, list) else [entries]:
            files_ = entry.get("LicenseFiles") or [entry.get("LicenseFile")]
            for name in filter(None, files_):
                target = f"{entry['Id']}-{os.path.basename(name)}"
                shutil.copyfile(os.path.join(here, name), os.path.join(destination, target))
            notice = entry.get("Copyright", "")  # one string, or a list of lines (Qt 6.8)
            notice = "\n  ".join(notice) if isinstance(notice, list) else notice.strip()
            lines.append(f"{entry['Name']} {entry.get('Version', '')}".rstrip() +
                         f"\n  {notice}\n  {entry['License']}\n")
with open(os.path.join(destination, "THIRD-PARTY.txt"), "w", encoding="utf-8") as f:
    f.write("Libraries bundled into the Qt libraries shipped with this program:\n\n")
    f.write("\n".join(lines))
PY
}

