# shellcheck shell=bash disable=SC2154  # the recipe's variables are the sourcing script's
# Sourced by the scripts that set up the machine: installing the Debian packages a command
# needs (scripts/setup, scripts/windows, scripts/web), and building a Qt for another
# platform from Debian's own source of the qtbase Debian ships, cached outside the source
# tree (scripts/windows, scripts/web). The sourcing script sets root and defines log().

# Installs the packages of those given that are not installed; safe to run again. Without
# root it names them and stops, since nothing can work without them.
install_packages() { # package...
    local missing=() package status
    for package in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [[ "$status" == "install ok installed" ]] || missing+=("$package")
    done
    [[ ${#missing[@]} -eq 0 ]] && return 0
    if [[ $(id -u) -ne 0 ]]; then
        log "these Debian packages are missing; install them and run this again:"
        log "  sudo apt-get install ${missing[*]}"
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    # A package list too old for the mirror fails the first try.
    if ! apt-get install -y --no-install-recommends "${missing[@]}"; then
        apt-get update
        apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

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


# The cached Qt of the sourcing script's recipe. That script sets
#   cache              the folder of its cached builds
#   packages           the Debian packages it needs (an array)
#   key_packages       those that computing the cache key reads (an array)
#   qt_for             what the Qt is for ("for Windows"), as the log says it
#   qt_minutes         about how long the first build takes on 2 cores
#   qt_toolchain       the CMake toolchain file Qt is configured with
#   qt_licence_skip, qt_licence_how, qt_licence_folders (an array): as collect_qt_licences
#                      takes them
# and defines set_qt_options (setting the array qt_options) and qt_key (printing what else
# of the recipe keys the cache besides the options). It may define these two as well:
qt_patches() { :; }     # the patch files for Qt's source, one a line
qt_environment() { :; } # what the build needs set up before it starts

# The cache is keyed by Debian's version of qtbase and by everything of the recipe.
qt_prefix() {
    local key
    key=$( { printf '%s\n' "${qt_options[@]}"; qt_key; } | sha256sum | cut -c1-12)
    echo "$cache/qt-$(qt_version | tr '+:~' '___')-$key"
}

build_qt() { # prefix
    local prefix=$1 work=$1.work toolchain=$qt_toolchain version patch step
    [[ -f $prefix/.complete ]] && return 0
    version=$(qt_version)
    log "building Qt $version $qt_for in $work (about $qt_minutes minutes on 2 cores; cached after)"
    rm -rf "$work" "$prefix"
    mkdir -p "$work/src" "$prefix"
    fetch_qt_source "$work/src"
    while read -r patch; do
        patch -d "$work/src/qtbase" -p1 --forward <"$patch" >/dev/null
    done < <(qt_patches)
    # A toolchain file of the source tree is kept in the cache: Qt's own toolchain file
    # chains to it, long after this source tree may have moved.
    if [[ $toolchain == "$root"/* ]]; then
        toolchain=$prefix/$(basename "$toolchain")
        cp "$qt_toolchain" "$toolchain"
    fi
    for step in configure build install; do
        case $step in
        configure) set -- cmake -S "$work/src/qtbase" -B "$work/build" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
            "${qt_options[@]}" ;;
        build) set -- cmake --build "$work/build" -j "$(nproc)" ;;
        install) set -- cmake --install "$work/build" ;;
        esac
        if ! "$@" >"$work/$step.log" 2>&1; then
            tail -n 30 "$work/$step.log" >&2
            log "the Qt $step step failed; its log: $work/$step.log"
            exit 1
        fi
    done
    QT_LICENCE_SKIP=$qt_licence_skip collect_qt_licences "$work/src/qtbase" \
        "$prefix/licenses/qtbase" "$version" "$qt_licence_how" "${qt_licence_folders[@]}"
    touch "$prefix/.complete"
    rm -rf "$work"
}

# What scripts/windows and scripts/web do first, given their first argument: --cached
# succeeds only if their Qt is cached, and builds or installs nothing; otherwise the
# packages are installed, the Qt is built once and its folder set in prefix, and --qt-only
# prints that folder and stops.
cached_qt() { # the script's first argument
    if [[ "$1" == "--cached" ]]; then
        command -v dpkg-query >/dev/null && dpkg-query -W "${key_packages[@]}" >/dev/null 2>&1 &&
            set_qt_options && [[ -f $(qt_prefix)/.complete ]]
        exit
    fi
    install_packages "${packages[@]}"
    enable_sources
    qt_environment
    set_qt_options
    prefix=$(qt_prefix)
    build_qt "$prefix"
    if [[ "$1" == "--qt-only" ]]; then
        echo "$prefix"
        exit 0
    fi
}
