#!/bin/sh
# Usage: package_test.sh BUILD_DIR VERSION
# Builds the Debian package with CPack and checks its control fields, its file list and
# that apt could install it on this system (simulated only).
set -eu
build="$1"
version="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack -G DEB -B "$tmp" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log"; fail "cpack"; }
deb="$tmp/kavo-program_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$tmp"; fail "no $deb"; }

dpkg-deb -I "$deb" >"$tmp/info"
field() { sed -n "s/^ $1: //p" "$tmp/info"; }
[ "$(field Package)" = kavo-program ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = education ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends="$(field Depends)"
for needed in qt6-qpa-plugins fonts-dejavu-extra qt6-translations-l10n libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
    echo "$depends" | tr ',' '\n' | grep -q "^ *$needed\( \|$\)" || fail "Depends lacks $needed: $depends"
done
echo "$(field Recommends)" | grep -q 'xdg-utils' || fail "Recommends: $(field Recommends)"

dpkg-deb -c "$deb" | awk '{print $1, $6}' >"$tmp/list"
expect() {
    grep -qx -e "$1 ./usr/$2" "$tmp/list" || { cat "$tmp/list"; fail "package lacks $1 $2"; }
}
expect '-rwxr-xr-x' bin/kavo-program
expect '-rwxr-xr-x' bin/kavo-olympiad
expect '-rwxr-xr-x' libexec/kavo-program/Kavo_Program
expect '-rwxr-xr-x' libexec/kavo-program/prepare-workdir
expect '-rw-r--r--' share/applications/kavo-program.desktop
expect '-rw-r--r--' share/icons/hicolor/48x48/apps/kavo-program.png
expect '-rw-r--r--' share/icons/hicolor/256x256/apps/kavo-program.png
expect '-rw-r--r--' share/kavo-program/System_folder/Language/Language.txt
expect '-rw-r--r--' share/kavo-program/System_folder/file_for_edits/task1.asp
expect 'drwxr-xr-x' share/kavo-program/System_folder/Del/
# Nothing outside /usr, and every template in place.
! grep -v ' \./usr/\| \./$' "$tmp/list" || fail "files outside /usr"
shipped_count="$(grep -c ' \./usr/share/kavo-program/System_folder/.*[^/]$' "$tmp/list")"
source_count="$(find "$(dirname "$0")/../../System_folder" -type f | wc -l)"
[ "$shipped_count" -eq "$source_count" ] || fail "$shipped_count templates packed, $source_count shipped"

# Simulated installs need no network. On this machine every dependency is installed
# already (it built the program).
(cd "$tmp" && apt-get install -s "./$(basename "$deb")") >"$tmp/apt.log" 2>&1 ||
    { cat "$tmp/apt.log"; fail "apt-get install -s"; }
grep -q '^Inst kavo-program ' "$tmp/apt.log" || { cat "$tmp/apt.log"; fail "apt would not install it"; }

# A fresh system: no package installed, everything from the archive's package lists
# (present when apt-get update has run here).
if apt-cache show libqt6widgets6 >/dev/null 2>&1; then
    : >"$tmp/empty-status"
    (cd "$tmp" && apt-get install -s -o Dir::State::status="$tmp/empty-status" \
        "./$(basename "$deb")") >"$tmp/fresh.log" 2>&1 ||
        { cat "$tmp/fresh.log"; fail "apt-get install -s on a fresh system"; }
    for pulled in kavo-program qt6-qpa-plugins libqt6widgets6; do
        grep -q "^Inst $pulled " "$tmp/fresh.log" || { cat "$tmp/fresh.log"; fail "a fresh install lacks $pulled"; }
    done
else
    echo "no package lists: fresh-system install not simulated"
fi
echo "package test passed"
