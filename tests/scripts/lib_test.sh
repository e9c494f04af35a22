#!/usr/bin/env bash
# shellcheck disable=SC2016  # the stand-ins expand their variables when they run
# scripts/lib.sh against stand-ins for dpkg-query, id, apt-get, dpkg-source and cmake: which
# packages it installs and how, and the cached Qt build (its folder, the build's steps, a
# failed step, --cached and --qt-only); and against stand-ins for debootstrap, chroot, mount,
# umount and findmnt, the root of another Debian release (the mirror it comes from, its key,
# when it counts as made, and that nothing stays mounted in it, however a run ends); all in a
# temporary folder.
set -euo pipefail
lib=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/lib.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
expect() { # what, expected, actual
    [[ "$2" == "$3" ]] || fail "$1: expected [$2], got [$3]"
}

mkdir -p "$tmp/bin" "$tmp/tree/cmake"
stub() { # name, body
    printf '#!/usr/bin/env bash\n%s\n' "$2" >"$tmp/bin/$1"
    chmod +x "$tmp/bin/$1"
}
stub id 'echo "$FAKE_UID"'
stub dpkg-query '
case "$*" in
*Version*) echo 6.4.2+dfsg-10 ;;
*Status*) grep -qx "${!#}" "$STUBS/installed" && echo "install ok installed" || exit 1 ;;
*) for package in "${@:2}"; do grep -qx "$package" "$STUBS/installed" || exit 1; done ;;
esac'
stub apt-get '
echo "apt-get $*" >>"$STUBS/calls"
[[ $1 == source ]] && touch qt6-base_6.4.2+dfsg-10.dsc
if [[ $1 == install && -f $STUBS/install-fails ]]; then rm "$STUBS/install-fails"; exit 100; fi
exit 0'
stub dpkg-source '
mkdir -p "$3/LICENSES" "$3/src/corelib"
echo LGPL >"$3/LICENSES/LGPL-3.0-only.txt"
echo GPL >"$3/LICENSES/GPL-3.0-only.txt"
echo "Copyright me" >"$3/src/corelib/LICENSE.ZLIB"
echo "{\"Id\": \"zlib\", \"Name\": \"zlib\", \"License\": \"Zlib\"," \
    "\"LicenseFile\": \"LICENSE.ZLIB\", \"Copyright\": \"me\"}" \
    >"$3/src/corelib/qt_attribution.json"'
# Records each step, with whether the patch and the toolchain file were in place.
stub cmake '
case $1 in
-S) [[ -f $2/PATCHED ]] && patched=patched || patched=unpatched
    toolchain=$(printf "%s\n" "$@" | sed -n "s/^-DCMAKE_TOOLCHAIN_FILE=//p")
    echo "configure $patched $toolchain $([[ -f $toolchain ]] && echo present)" >>"$STUBS/calls"
    if [[ -f $STUBS/configure-fails ]]; then echo "configure: the last words"; exit 1; fi ;;
*) echo "$1" >>"$STUBS/calls" ;;
esac'
cat >"$tmp/patch" <<'PATCH'
--- /dev/null
+++ b/PATCHED
@@ -0,0 +1 @@
+patched
PATCH
echo "set(CMAKE_SYSTEM_NAME Windows)" >"$tmp/tree/cmake/toolchain.cmake"

# A script as scripts/windows sources the library; runs its remaining arguments.
cat >"$tmp/script" <<SCRIPT
set -euo pipefail
root=$tmp/tree
log() { printf 'test: %s\n' "\$*" >&2; }
source "$lib"
enable_sources() { :; } # the machine's own apt sources stay as they are
cache=$tmp/cache
packages=(cmake qt6-base-dev mingw)
key_packages=(qt6-base-dev)
qt_for="for Windows"
qt_minutes=20
qt_toolchain=$tmp/tree/cmake/toolchain.cmake
qt_licence_skip=""
qt_licence_how="for a test"
qt_licence_folders=()
set_qt_options() { qt_options=(-DFEATURE_sql=OFF "\${EXTRA_OPTION:-}"); }
qt_key() { cat "\$qt_toolchain"; }
qt_patches() { echo "$tmp/patch"; }
qt_source() { echo "source \$([[ -f \$1/PATCHED ]] && echo patched || echo unpatched)" >>"$tmp/calls"; }
show_prefix() { set_qt_options; qt_prefix; }
root_environment=(\${ROOT_ENV:-})
"\$@"
SCRIPT
run() { # function argument...: what it prints, then its status
    (cd "$tmp" && env PATH="$tmp/bin:$PATH" STUBS="$tmp" FAKE_UID="${FAKE_UID:-0}" \
        EXTRA_OPTION="${EXTRA_OPTION:-}" ROOT_ENV="${ROOT_ENV:-}" bash "$tmp/script" "$@" 2>&1) &&
        echo "status 0" || echo "status $?"
}
calls() {
    cat "$tmp/calls" 2>/dev/null
    rm -f "$tmp/calls"
}

# -- the package installer ---------------------------------------------------------------------

printf '%s\n' cmake qt6-base-dev >"$tmp/installed"
expect "all installed" "status 0" "$(run install_packages cmake qt6-base-dev)"
expect "all installed: apt-get left alone" "" "$(calls)"

expect "missing, without root" \
    "test: these Debian packages are missing; install them and run this again:
test:   sudo apt-get install mingw zip
status 1" "$(FAKE_UID=1000 run install_packages mingw cmake zip)"
expect "missing, without root: apt-get left alone" "" "$(calls)"

expect "missing, as root" "status 0" "$(run install_packages mingw cmake zip)"
expect "missing, as root: only the missing installed" \
    "apt-get install -y --no-install-recommends mingw zip" "$(calls)"

touch "$tmp/install-fails"
expect "an old package list" "status 0" "$(run install_packages zip)"
expect "an old package list: updated, then installed" \
    "apt-get install -y --no-install-recommends zip
apt-get update
apt-get install -y --no-install-recommends zip" "$(calls)"

# -- the cached Qt -------------------------------------------------------------------------

prefix=$(run show_prefix | sed -n 1p)
# The key of caches built so far: a change of how it is computed rebuilds every cached Qt,
# an hour each.
key=$( { printf '%s\n' -DFEATURE_sql=OFF ""; cat "$tmp/tree/cmake/toolchain.cmake"; } |
    sha256sum | cut -c1-12)
expect "the cache folder" "$tmp/cache/qt-6.4.2_dfsg-10-$key" "$prefix"
other=$(EXTRA_OPTION=-DFEATURE_gif=OFF run show_prefix | sed -n 1p)
[[ $other != "$prefix" ]] || fail "another option keeps the cache folder $prefix"

expect "--cached before the build" "status 1" "$(run cached_qt --cached)"
[[ ! -e $tmp/cache ]] || fail "--cached made $tmp/cache"

printf '%s\n' cmake qt6-base-dev mingw >"$tmp/installed"
touch "$tmp/configure-fails"
output=$(run cached_qt --qt-only)
failed="the Qt configure step failed; its log: $prefix.work/configure.log"
[[ $output == *"configure: the last words"*"$failed"*"status 1" ]] ||
    fail "a failed configure says: $output"
[[ ! -e $prefix/.complete ]] || fail "a failed build is marked complete"
calls >/dev/null
rm "$tmp/configure-fails"

expect "--qt-only" "$prefix
status 0" "$(run cached_qt --qt-only 2>/dev/null | grep -v '^test: ')"
expect "the build's steps" "apt-get source --download-only qt6-base=6.4.2+dfsg-10
source patched
configure patched $prefix/toolchain.cmake present
--build
--install" "$(calls)"
for file in .complete toolchain.cmake licenses/qtbase/LGPL-3.0-only.txt \
    licenses/qtbase/zlib-LICENSE.ZLIB; do
    [[ -f $prefix/$file ]] || fail "the cached Qt lacks $file"
done
grep -q "built for a test" "$prefix/licenses/qtbase/SOURCE.txt" ||
    fail "SOURCE.txt does not say how Qt was built"
[[ ! -e $prefix.work ]] || fail "the build's work folder is left behind"

# --cached installs nothing, even what the build would need.
printf '%s\n' cmake qt6-base-dev >"$tmp/installed"
expect "--cached after the build" "status 0" "$(run cached_qt --cached)"
expect "--cached installs nothing" "" "$(calls)"
printf '%s\n' cmake qt6-base-dev mingw >"$tmp/installed"
expect "--qt-only again" "status 0" "$(run cached_qt --qt-only | tail -n 1)"
expect "--qt-only again builds nothing" "" "$(calls)"

# -- a root of another release -------------------------------------------------------------

# The mirror, from deb822 entries (the security archive's is not it), one-line ones, or none.
mkdir -p "$tmp/apt/sources.list.d" "$tmp/apt-old/sources.list.d" "$tmp/apt-none"
printf '%s\n' "Types: deb" "URIs: http://security.example.org/debian-security" "" \
    "Types: deb" "URIs: http://mirror.example.org/debian/" "Suites: bookworm" \
    >"$tmp/apt/sources.list.d/debian.sources"
echo "deb [signed-by=/k.gpg] http://ftp.example.org/debian bookworm main" >"$tmp/apt-old/sources.list"
expect "the deb822 mirror" "http://mirror.example.org/debian
status 0" "$(run debian_mirror "$tmp/apt")"
expect "the one-line mirror" "http://ftp.example.org/debian
status 0" "$(run debian_mirror "$tmp/apt-old")"
expect "no mirror" "http://deb.debian.org/debian
status 0" "$(run debian_mirror "$tmp/apt-none")"
mirror=$(run debian_mirror /etc/apt | sed -n 1p)

# Mounts are lines of $STUBS/mounts, which findmnt lists (a real findmnt shows more than
# the root's). A target in $STUBS/busy unmounts only lazily; one in $STUBS/stuck not at all;
# a mount whose target is in $STUBS/mount-fails fails.
echo / >"$tmp/mounts"
touch "$tmp/busy" "$tmp/stuck" "$tmp/mount-fails"
stub findmnt 'cat "$STUBS/mounts"'
stub mount '
[[ $1 == --make-rslave ]] && exit 0
target=${!#}
grep -qxF "$target" "$STUBS/mount-fails" && { echo "mount: $target: failed" >&2; exit 32; }
echo "$target" >>"$STUBS/mounts"
[[ $1 == --rbind ]] && echo "$target/pts" >>"$STUBS/mounts"
exit 0'
stub umount '
lazy=; [[ $1 == -l ]] && { lazy=1; shift; }
grep -qxF "$1" "$STUBS/stuck" && exit 32
[[ -z $lazy ]] && grep -qxF "$1" "$STUBS/busy" && exit 32
grep -qxF "$1" "$STUBS/mounts" || exit 32
awk -v t="$1" '"'"'$0 == t && !done { done = 1; next } 1'"'"' "$STUBS/mounts" >"$STUBS/mounts.new"
mv "$STUBS/mounts.new" "$STUBS/mounts"
[[ -n $lazy ]] && echo "lazily $1" >>"$STUBS/calls"
exit 0'
# Records the command and what was mounted in the root while it ran; $STUBS/chroot-fails
# names a command that fails, and one named in $STUBS/chroot-kills ends the script instead.
stub chroot '
dir=$1; shift
shift 7 # env -i and its settings of the root
echo "chroot $*" >>"$STUBS/calls"
grep -F "$dir" "$STUBS/mounts" | sed "s|^$dir|  mounted |" | sort >>"$STUBS/calls"
grep -qxF "$*" "$STUBS/chroot-kills" 2>/dev/null && { kill -TERM "$PPID"; exit 1; }
grep -qxF "$*" "$STUBS/chroot-fails" 2>/dev/null && exit 3
exit 0'
# Leaves a root with the files make_root edits; $STUBS/debootstrap-fails makes it fail halfway.
stub debootstrap '
echo "debootstrap $*" >>"$STUBS/calls"
mkdir -p "$3/usr/sbin" "$3/etc/apt/sources.list.d" "$3/proc" "$3/dev"
[[ -f $STUBS/debootstrap-fails ]] && { echo "debootstrap: the last words"; exit 1; }
echo "deb $4 $2 main" >"$3/etc/apt/sources.list"'

dir=$(run root_folder trixie emscripten qt6-base-dev | sed -n 1p)
[[ $dir == "$tmp/cache/debian-trixie-"????????????  ]] || fail "the root's folder is $dir"
expect "the same root for the same packages" "$dir" \
    "$(run root_folder trixie emscripten qt6-base-dev | sed -n 1p)"
[[ $(run root_folder trixie emscripten qt6-base-dev zip | sed -n 1p) != "$dir" ]] ||
    fail "another package keeps the root's folder $dir"
[[ $(run root_folder forky emscripten qt6-base-dev | sed -n 1p) != "$dir" ]] ||
    fail "another release keeps the root's folder $dir"

mounted_while() { # what chroot saw mounted in the root for a command
    echo "chroot $1"
    printf '  mounted %s\n' "$tree" /dev /dev/pts /proc | sort
}
tree=$tmp/tree
expect "the root made" "status 0" \
    "$(run make_root "$dir" trixie emscripten qt6-base-dev | grep -v "^test: making")"
expect "the root made: debootstrap, then the packages, with everything mounted" \
    "debootstrap --variant=minbase trixie $dir $mirror
$(mounted_while "apt-get update")
$(mounted_while "apt-get install -y --no-install-recommends emscripten qt6-base-dev")" "$(calls)"
expect "the root made: nothing stays mounted" "/" "$(cat "$tmp/mounts")"
[[ -f $dir/.complete ]] || fail "a made root is not marked complete"
expect "the root's sources" "deb-src $mirror trixie main" \
    "$(cat "$dir/etc/apt/sources.list.d/deb-src.list")"
[[ -x $dir/usr/sbin/policy-rc.d ]] || fail "the root lets packages start daemons"
expect "a made root is kept" "status 0" "$(run make_root "$dir" trixie emscripten qt6-base-dev)"
expect "a made root is kept: nothing done" "" "$(calls)"

# A root whose making stopped halfway is never taken as made, and is made anew.
rm "$dir/.complete"
echo "apt-get install -y --no-install-recommends emscripten" >"$tmp/chroot-fails"
output=$(run make_root "$dir" trixie emscripten)
[[ $output == *"installing the packages in $dir failed"*"status 1" ]] ||
    fail "failed packages say: $output"
[[ ! -e $dir/.complete ]] || fail "a root without its packages is marked complete"
expect "failed packages: nothing stays mounted" "/" "$(cat "$tmp/mounts")"
rm "$tmp/chroot-fails"
touch "$dir/left-over" "$tmp/debootstrap-fails"
output=$(run make_root "$dir" trixie emscripten)
[[ $output == *"debootstrap: the last words"*"debootstrap failed"*"status 1" ]] ||
    fail "a failed debootstrap says: $output"
[[ ! -e $dir/left-over ]] || fail "a half-made root was built on, not made anew"
[[ ! -e $dir/.complete ]] || fail "a half-made root is marked complete"
rm "$tmp/debootstrap-fails"
calls >/dev/null
expect "a root made after a failure" "status 0" \
    "$(run make_root "$dir" trixie emscripten | grep -v "^test: making")"
[[ -f $dir/.complete ]] || fail "a root made after a failure is not marked complete"
calls >/dev/null

# A command in the root: its status and its environment; nothing stays mounted, however the
# run ends, and what a killed run left mounted is not mounted twice.
ROOT_ENV=SP_TEST=1
echo "SP_TEST=1 sh -c false" >"$tmp/chroot-fails"
expect "a command's status" "status 3" "$(run in_root "$dir" sh -c false)"
expect "a failing command: nothing stays mounted" "/" "$(cat "$tmp/mounts")"
expect "a failing command ran with everything mounted" "$(mounted_while "SP_TEST=1 sh -c false")" \
    "$(calls)"
echo "SP_TEST=1 sh -c kill" >"$tmp/chroot-kills"
expect "a run ended by a signal" "status 143" "$(run in_root "$dir" sh -c kill)"
expect "a run ended by a signal: nothing stays mounted" "/" "$(cat "$tmp/mounts")"
calls >/dev/null
printf '%s\n' "$dir/proc" "$dir/dev" "$dir/dev/pts" >>"$tmp/mounts"
echo "$dir/dev" >"$tmp/busy"
expect "after a killed run" "status 0" "$(run in_root "$dir" true)"
expect "after a killed run: mounted once, and the busy /dev lazily" \
    "lazily $dir/dev
$(mounted_while "SP_TEST=1 true")
lazily $dir/dev" "$(calls)"
: >"$tmp/busy"
expect "after a killed run: nothing stays mounted" "/" "$(cat "$tmp/mounts")"
echo "$dir$tree" >"$tmp/mount-fails"
output=$(run in_root "$dir" true)
[[ $output == *"could not mount"*"status 1" ]] || fail "a failed mount says: $output"
expect "a failed mount: the command never ran" "" "$(calls)"
expect "a failed mount: nothing stays mounted" "/" "$(cat "$tmp/mounts")"
: >"$tmp/mount-fails"

# A root that cannot be unmounted is not removed: that would remove what is bound into it.
echo "$dir/dev" | tee -a "$tmp/mounts" >"$tmp/stuck"
rm "$dir/.complete"
output=$(run make_root "$dir" trixie emscripten)
[[ $output == *"could not unmount what is mounted in $dir"*"status 1" ]] ||
    fail "a stuck mount says: $output"
[[ -e $dir/etc/apt/sources.list ]] || fail "a root with something mounted in it was removed"
expect "a stuck mount: nothing else done" "" "$(calls)"

if [[ $failures -ne 0 ]]; then
    echo "$failures checks of scripts/lib.sh failed" >&2
    exit 1
fi
echo "scripts/lib.sh: the installer, the cached Qt build and the root of another release behave"
