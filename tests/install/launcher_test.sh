#!/bin/sh
# Usage: launcher_test.sh BUILD_DIR SOURCE_DIR
# Installs the build into a DESTDIR and starts the installed launcher twice with a fresh
# HOME under the offscreen platform: the working folder gets the shipped System_folder,
# the executable started is the installed one (the target of the language restart) with
# the working folder as its working directory, the window comes up, and a second start
# keeps the user's files while bringing back a deleted template.
set -eu
build="$1"
source="$2"
tmp="$(mktemp -d)"
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR="$tmp/dest" cmake --install "$build" --prefix /usr >"$tmp/install.log" ||
    { cat "$tmp/install.log"; fail "cmake --install"; }
root="$tmp/dest/usr"

# ---- the layout ------------------------------------------------------------------------
for f in bin/kavo-program bin/kavo-olympiad libexec/kavo-program/Kavo_Program \
    libexec/kavo-program/prepare-workdir; do
    [ -f "$root/$f" ] && [ -x "$root/$f" ] || fail "$f missing or not executable"
done
shipped="$root/share/kavo-program/System_folder"
diff -r "$source/System_folder" "$shipped" || fail "installed System_folder differs from the source"
bad="$(find "$shipped" \( -type f ! -perm 0644 \) -o \( -type d ! -perm 0755 \))"
[ -z "$bad" ] || fail "wrong permissions: $bad"
desktop-file-validate "$root/share/applications/kavo-program.desktop" ||
    fail "desktop entry does not validate"
grep -qx 'Exec=kavo-program %f' "$root/share/applications/kavo-program.desktop" ||
    fail "Exec is not the launcher's plain name with one file"
grep -qx 'MimeType=text/x-gift;' "$root/share/applications/kavo-program.desktop" ||
    fail "the desktop entry does not open GIFT files"
for size in 48 256; do
    icon="$root/share/icons/hicolor/${size}x${size}/apps/kavo-program.png"
    file "$icon" | grep -q "PNG image data, $size x $size" || fail "icon $icon"
done

# ---- starts ----------------------------------------------------------------------------
export HOME="$tmp/home"
mkdir -p "$HOME"
export QT_QPA_PLATFORM=offscreen
# Qt's paint log names each window it draws: the main window Form1 when the start
# succeeds, only an error box when it fails.
export QT_LOGGING_RULES="qt.widgets.painting=true"
workdir="$HOME/Kavo_Program"
exe="$root/libexec/kavo-program/Kavo_Program"

# Starts the launcher given as $1 with the arguments after it, waits until the program's
# main window exists (and the window named by $window, when set), checks which executable
# runs and where, and ends it.
start_and_end() {
    # Emptied here, not by the background job's redirection: that one may come after the
    # first look, which would then read the previous start's log.
    : >"$tmp/run.log"
    "$@" >>"$tmp/run.log" 2>&1 &
    pid=$!
    waited=0
    until grep -q 'Syncing .* of TForm1(.*name="Form1")' "$tmp/run.log" 2>/dev/null &&
        grep -q "Syncing .* of ${window:-TForm1}(" "$tmp/run.log"; do
        kill -0 "$pid" 2>/dev/null || { cat "$tmp/run.log"; fail "the program ended at start"; }
        ! grep -q 'QMessageBox' "$tmp/run.log" || fail "a message box came up at start"
        [ "$waited" -lt 200 ] || { cat "$tmp/run.log"; fail "no main window within 20 s"; }
        sleep 0.1
        waited=$((waited + 1))
    done
    [ "$(readlink "/proc/$pid/exe")" = "$exe" ] ||
        fail "running $(readlink "/proc/$pid/exe"), not $exe"
    [ "$(readlink "/proc/$pid/cwd")" = "$(cd "$workdir" && pwd -P)" ] ||
        fail "working directory $(readlink "/proc/$pid/cwd"), not $workdir"
    kill -TERM "$pid"
    wait "$pid" || true
    pid=""
}

start_and_end "$root/bin/kavo-program"
diff -r "$source/System_folder" "$workdir/System_folder" || fail "working folder is not a full copy"
unwritable="$(find "$workdir/System_folder" ! -perm -u+rw)"
[ -z "$unwritable" ] || fail "copies not writable: $unwritable"

# The user's choices and a deleted template between the runs; the second start goes
# through a symbolic link to the launcher, as from a menu or a local bin folder.
printf 'En\r\n' >"$workdir/System_folder/Language/Language.txt"
printf 'Ivanova\r\n' >"$workdir/System_folder/Authorisation/Author_2.txt"
rm "$workdir/System_folder/file_for_edit/TASK.txt"
mkdir -p "$tmp/links"
ln -s "$root/bin/kavo-program" "$tmp/links/kavo-program"
start_and_end "$tmp/links/kavo-program"

[ "$(cat "$workdir/System_folder/Language/Language.txt")" = "$(printf 'En\r')" ] ||
    fail "the language setting was overwritten"
[ "$(cat "$workdir/System_folder/Authorisation/Author_2.txt")" = "$(printf 'Ivanova\r')" ] ||
    fail "a changed template was overwritten"
cmp "$source/System_folder/file_for_edit/TASK.txt" "$workdir/System_folder/file_for_edit/TASK.txt" ||
    fail "the deleted template did not come back"

# A GIFT file named from another folder, as the file manager names it: the program starts
# in the working folder with the file's import report open. Unknown options are refused.
mkdir -p "$tmp/files"
cp "$source/examples/olympiad.gift" "$tmp/files/my olympiad.gift"
cd "$tmp/files"
window=TOlympiadReport
start_and_end "$root/bin/kavo-program" "my olympiad.gift"
window=""
cd "$tmp"
code=0
"$root/bin/kavo-program" --no-such-option >"$tmp/refused.log" 2>&1 || code=$?
[ "$code" -eq 2 ] && grep -q 'unknown option --no-such-option' "$tmp/refused.log" ||
    { cat "$tmp/refused.log"; fail "an unknown option gave $code"; }

# ---- kavo-olympiad, installed ------------------------------------------------------------
# Run where the teacher is, from a fresh HOME: it works in the launcher's working folder,
# prepared the same way, takes --author for one run, and never writes the installed folder.
export HOME="$tmp/home2"
mkdir -p "$HOME"
cd "$HOME"
olympiad="$root/bin/kavo-olympiad"
example="$source/examples/olympiad.gift"
workdir="$HOME/Kavo_Program"
"$olympiad" --help --lang en >"$tmp/help.txt" || fail "kavo-olympiad --help"
grep -qx "System_folder in use: $workdir/System_folder (the working folder of the installed program; each missing file is copied from $shipped)" "$tmp/help.txt" ||
    { cat "$tmp/help.txt"; fail "--help does not name the working folder"; }
[ ! -e "$workdir" ] || fail "--help made the working folder"
"$olympiad" import "$example" --into Year --author 'Ivanova A.' --lang en >"$tmp/out.txt" 2>&1 ||
    { cat "$tmp/out.txt"; fail "installed import in the home folder"; }
diff -r -x Tasks_in_view.txt "$shipped" "$workdir/System_folder" || fail "working folder is not the shipped copy"
grep -q 'Ivanova A.' Year/PartA/1/task.xml || fail "no author line in the imported task"
printf 'En\r\n' >"$workdir/System_folder/Language/Language.txt"
"$olympiad" import "$example" --into Year --author 'Ivanova A.' --replace >"$tmp/out.txt" 2>&1 ||
    { cat "$tmp/out.txt"; fail "second installed import"; }
grep -q '^Tasks written: 8' "$tmp/out.txt" || { cat "$tmp/out.txt"; fail "not English from the working folder's language"; }
[ "$(cat "$workdir/System_folder/Language/Language.txt")" = "$(printf 'En\r')" ] ||
    fail "the language setting was overwritten"

# The installed folder is never written, whatever names it; a link to the program still
# finds its installation.
for case in "import $example --into Year2 --author X --system $shipped" \
    "import $example --into $shipped/../Year --author X" "export Year --to gift $shipped/out.gift"; do
    # shellcheck disable=SC2086 # the words of each case are split on purpose
    "$olympiad" $case --lang en >"$tmp/out.txt" 2>"$tmp/err.txt" && fail "$case: wrote"
    grep -q -- '--system' "$tmp/err.txt" || { cat "$tmp/err.txt"; fail "$case: no word of --system"; }
done
diff -r "$source/System_folder" "$shipped" || fail "the installed System_folder changed"
[ -z "$(find "$root/share/kavo-program" -name 'Year*' -o -name 'out.gift')" ] || fail "wrote in the installed folder"
ln -s "$olympiad" "$tmp/links/kavo-olympiad"
"$tmp/links/kavo-olympiad" --help | grep -q "^System_folder in use: $workdir/System_folder " ||
    fail "through a link: not the working folder"
mkdir -p "$tmp/here"
cp -r "$source/System_folder" "$tmp/here/"
(cd "$tmp/here" && "$olympiad" --help --lang en) | grep -qx "System_folder in use: $tmp/here/System_folder (in the current folder)" ||
    fail "./System_folder does not come first"
echo "launcher test passed"
