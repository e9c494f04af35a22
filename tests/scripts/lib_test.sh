#!/usr/bin/env bash
# shellcheck disable=SC2016  # the stand-ins expand their variables when they run
# scripts/lib.sh against stand-ins for dpkg-query, id, apt-get, dpkg-source and cmake: which
# packages it installs and how, and the cached Qt build (its folder, the build's steps, a
# failed step, --cached and --qt-only), all in a temporary folder.
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
show_prefix() { set_qt_options; qt_prefix; }
"\$@"
SCRIPT
run() { # function argument...: what it prints, then its status
    (cd "$tmp" && env PATH="$tmp/bin:$PATH" STUBS="$tmp" FAKE_UID="${FAKE_UID:-0}" \
        EXTRA_OPTION="${EXTRA_OPTION:-}" bash "$tmp/script" "$@" 2>&1) &&
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

if [[ $failures -ne 0 ]]; then
    echo "$failures checks of scripts/lib.sh failed" >&2
    exit 1
fi
echo "scripts/lib.sh: the installer and the cached Qt build behave"
