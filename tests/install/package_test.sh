#!/bin/sh
# Usage: package_test.sh BUILD_DIR VERSION SOURCE_DIR
# Builds the Debian package with CPack and checks its control fields, its file list, that
# lintian finds nothing, the manual pages, the completion, the AppStream metadata and the
# file type as installed, and that apt could install it on this system (simulated only).
set -eu
build="$1"
version="$2"
source="$3"
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
for page in man/man1/kavo-program.1.gz man/man1/kavo-olympiad.1.gz man/ru/man1/kavo-program.1.gz \
    man/ru/man1/kavo-olympiad.1.gz bash-completion/completions/kavo-olympiad \
    metainfo/org.kavo.program.metainfo.xml mime/packages/kavo-program.xml \
    doc/kavo-program/copyright doc/kavo-program/changelog.gz; do
    expect '-rw-r--r--' "share/$page"
done
# Nothing outside /usr, and every template in place.
! grep -v ' \./usr/\| \./$' "$tmp/list" || fail "files outside /usr"
shipped_count="$(grep -c ' \./usr/share/kavo-program/System_folder/.*[^/]$' "$tmp/list")"
source_count="$(find "$(dirname "$0")/../../System_folder" -type f | wc -l)"
[ "$shipped_count" -eq "$source_count" ] || fail "$shipped_count templates packed, $source_count shipped"

# ---- lintian: no error and no warning; the overrides in the package explain each one ----
lintian --fail-on error,warning --display-info "$deb" >"$tmp/lintian.log" 2>&1 ||
    { cat "$tmp/lintian.log"; fail "lintian"; }
grep -q '^[EW]: ' "$tmp/lintian.log" && { cat "$tmp/lintian.log"; fail "lintian"; }
# A native package: the changelog's version is the package's.
root="$tmp/root"
dpkg-deb -x "$deb" "$root"
usr="$root/usr/share"
[ "$(gzip -dc "$usr/doc/kavo-program/changelog.gz" | sed -n '1s/^kavo-program (\([^)]*\)).*/\1/p')" = "$version" ] ||
    fail "the changelog's first entry is not $version"

# ---- the manual pages, as man reads them (with the checks lintian makes) ----
# The options that kavo-olympiad's help and each command's help name.
usage=""
for command in "" check import export; do
    # shellcheck disable=SC2086 # no command word for the program's own help
    usage="$usage
$(HOME="$tmp" "$root/usr/bin/kavo-olympiad" $command --help --lang en)" || fail "kavo-olympiad $command --help"
done
options="$(printf '%s\n' "$usage" | grep -oE '(^|[ [,])--?[a-z][a-z-]*' | sed 's/[ [,]//g' | sort -u)"
[ -n "$options" ] || fail "no options in the help of kavo-olympiad: $usage"
for name in kavo-program kavo-olympiad; do
    for dir in man1 ru/man1; do
        page="$usr/man/$dir/$name.1.gz"
        warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=w -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)"
        [ -z "$warnings" ] || fail "$page: $warnings"
        LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$page" 2>/dev/null | col -b >"$tmp/page"
        grep -q "^KAVO-" "$tmp/page" || fail "$page does not render"
        if [ "$name" = kavo-olympiad ]; then
            for option in $options; do
                grep -q -e "$option" "$tmp/page" ||
                    fail "$page lacks $option, which the usage names"
            done
        fi
    done
    # The two languages have the same sections and items: none was left untranslated.
    for macro in SH TP; do
        count() { gzip -dc "$1" | grep -c "^\.$macro\b"; }
        [ "$(count "$usr/man/man1/$name.1.gz")" = "$(count "$usr/man/ru/man1/$name.1.gz")" ] ||
            fail "$name: the Russian page has other .$macro sections than the English one"
    done
    gzip -dc "$usr/man/ru/man1/$name.1.gz" | grep -q '^\.SH ИМЯ' || fail "$name: the Russian page is not Russian"
    # man finds each page by its name, the Russian one for a Russian reader.
    MANPATH="$usr/man" man -w "$name" | grep -qx "$usr/man/man1/$name.1.gz" || fail "man -w $name"
    MANPATH="$usr/man" man -L ru -w "$name" | grep -qx "$usr/man/ru/man1/$name.1.gz" ||
        fail "man -L ru -w $name"
done

# ---- the completion, from where bash-completion loads it ----
bash "$source/tests/install/completion_test.sh" "$usr/bash-completion/completions/kavo-olympiad" \
    "$root/usr/bin/kavo-olympiad" || fail "completion"

# ---- software centres: the metadata and the desktop entry it names ----
appstreamcli validate --no-net --explain "$usr/metainfo/org.kavo.program.metainfo.xml" ||
    fail "appstreamcli validate"
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"
desktop-file-validate "$usr/applications/kavo-program.desktop" || fail "desktop entry"

# ---- a .gift file is text/x-gift, a kind of plain text, and opens with the program ----
mkdir -p "$tmp/data/mime/packages" "$tmp/data/applications"
cp "$usr/mime/packages/kavo-program.xml" "$tmp/data/mime/packages/"
XDG_DATA_DIRS="$tmp/data" update-mime-database "$tmp/data/mime"
grep -qx 'text/x-gift text/plain' "$tmp/data/mime/subclasses" || fail "text/x-gift is no text/plain"
grep -q ':text/x-gift:\*\.gift$' "$tmp/data/mime/globs2" || fail "*.gift is not text/x-gift"
cp "$usr/applications/kavo-program.desktop" "$tmp/data/applications/"
update-desktop-database "$tmp/data/applications"
[ "$(env -i PATH="$PATH" HOME="$tmp" XDG_DATA_HOME="$tmp/none" XDG_CONFIG_HOME="$tmp/none" \
    XDG_DATA_DIRS="$tmp/data" xdg-mime query default text/x-gift)" = kavo-program.desktop ] ||
    fail "xdg-mime does not open text/x-gift with kavo-program.desktop"

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
