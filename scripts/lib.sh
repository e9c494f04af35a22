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
qt_source() { :; }      # what is done to the patched source (its qtbase folder) besides
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
    qt_source "$work/src/qtbase"
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

# -- A root of another Debian release --------------------------------------------------------
# What this release's packages cannot build is built in a minimal root of a later one, made
# with debootstrap from this machine's own mirror and kept in the cache.

# The Debian mirror this machine's apt uses (its deb822 or one-line entries), else Debian's.
debian_mirror() { # apt's configuration folder
    local etc=$1 mirror
    mirror=$( { cat "$etc"/sources.list.d/*.sources 2>/dev/null || true; } |
        sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\/debian\)\/\?\([[:space:]].*\)\?$/\1/p' |
        head -n 1)
    [[ -n $mirror ]] || mirror=$( {
        cat "$etc"/sources.list "$etc"/sources.list.d/*.list 2>/dev/null || true; } |
        sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\/debian\)\/\?[[:space:]].*/\2/p' |
        head -n 1)
    echo "${mirror:-http://deb.debian.org/debian}"
}

# The root's folder in the cache, keyed by its release, its packages and how it is made: a
# change of any of them makes a new root rather than patching an old one.
root_folder() { # release, package...
    local key
    key=$( { printf '%s\n' "$@"; declare -f make_root; } | sha256sum | cut -c1-12)
    echo "$cache/debian-$1-$key"
}

# What is mounted at DIR or below it, deepest first.
mounts_under() { # dir
    local mount
    findmnt -rn -o TARGET | while read -r mount; do
        mount=$(printf '%b' "$mount") # findmnt writes a space as \x20
        if [[ $mount == "$1" || $mount == "$1"/* ]]; then echo "$mount"; fi
    done | sort -r
}

# Unmounts all of it, lazily what is still busy; fails if anything stays mounted.
unmount_under() { # dir
    local mount
    while read -r mount; do
        umount "$mount" 2>/dev/null || umount -l "$mount" || true
    done < <(mounts_under "$1")
    [[ -z $(mounts_under "$1") ]]
}

# Removing a root with /dev or the source tree still bound into it would remove theirs:
# only an unmounted one is removed.
remove_root() { # dir
    if ! unmount_under "$1"; then
        log "could not unmount what is mounted in $1; remove it by hand"
        exit 1
    fi
    rm -rf --one-file-system "$1"
}

# One run at a time uses a root: another's unmounting would pull the mounts from under it.
lock_root() { # dir
    [[ -n ${root_lock:-} ]] && return 0
    mkdir -p "$(dirname "$1")"
    exec {root_lock}>"$1.lock"
    flock "$root_lock"
}

# Runs a command in the root DIR with /proc, /dev and the source tree (at its own path)
# mounted while it runs. They are unmounted on every way out, the script's too.
in_root() { # dir, command...
    local dir=$1 status=0
    shift
    lock_root "$dir"
    mounted_root=$dir
    trap 'unmount_under "$mounted_root" || log "still mounted in $mounted_root: $(mounts_under "$mounted_root")"' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    # Explicit checks, so that it never runs half mounted, even where the caller's `if`
    # turns errexit off.
    unmount_under "$dir" || return 1 # what a killed run left
    cp -L /etc/resolv.conf "$dir/etc/resolv.conf" 2>/dev/null || true
    if ! { mount -t proc proc "$dir/proc" && mount --rbind /dev "$dir/dev" &&
        mount --make-rslave "$dir/dev" && # so unmounting it leaves the machine's /dev alone
        mkdir -p "$dir$root" && mount --bind "$root" "$dir$root"; }; then
        unmount_under "$dir"
        log "could not mount /proc, /dev and $root in $dir"
        return 1
    fi
    chroot "$dir" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        DEBIAN_FRONTEND=noninteractive "${root_environment[@]}" "$@" || status=$?
    unmount_under "$dir" || return 1
    return "$status"
}
root_environment=() # VARIABLE=value for the commands in the root

# Makes the root of RELEASE with the packages given, once: only a root that got all of them
# is marked complete, and one that is not is made anew.
make_root() { # dir, release, package...
    local dir=$1 release=$2
    shift 2
    [[ -f $dir/.complete ]] && return 0
    lock_root "$dir"
    [[ -f $dir/.complete ]] && return 0 # made by the run that held the lock
    log "making a minimal Debian $release in $dir with debootstrap, then $# packages"
    remove_root "$dir"
    if ! debootstrap --variant=minbase "$release" "$dir" "$(debian_mirror /etc/apt)" \
        >"$dir.log" 2>&1; then
        tail -n 20 "$dir.log" >&2
        log "debootstrap failed; its log: $dir.log"
        exit 1
    fi
    # No daemons started by the packages' scripts; the release's sources for Qt's as well.
    printf '#!/bin/sh\nexit 101\n' >"$dir/usr/sbin/policy-rc.d"
    chmod 755 "$dir/usr/sbin/policy-rc.d"
    sed -n 's/^deb /deb-src /p' "$dir/etc/apt/sources.list" \
        >"$dir/etc/apt/sources.list.d/deb-src.list"
    if ! { in_root "$dir" apt-get update &&
        in_root "$dir" apt-get install -y --no-install-recommends "$@"; } >>"$dir.log" 2>&1; then
        tail -n 20 "$dir.log" >&2
        log "installing the packages in $dir failed; its log: $dir.log"
        exit 1
    fi
    touch "$dir/.complete"
}
