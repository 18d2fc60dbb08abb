#!/bin/sh
# kavo-olympiad as a teacher runs it: exit codes, the language of its messages, the author
# refusal, the question before replacing (a refusal without --replace), and an export.
# Usage: cli_test.sh KAVO_OLYMPIAD SOURCE_DIR
set -u
cli="$1"
source="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cp -r "$source/System_folder" "$tmp/System_folder"
cd "$tmp" || exit 1
example="$source/examples/olympiad.gift"

run() { # expected exit code, then the arguments
    want="$1"
    shift
    "$cli" "$@" >out.txt 2>err.txt
    got=$?
    [ "$got" = "$want" ] || { cat out.txt err.txt; fail "$* exited $got, not $want"; }
}

run 2
grep -q 'kavo-olympiad check' err.txt || fail "no usage"
run 2 frobnicate x --lang en
run 0 check "$example" --lang en
grep -q '^0 errors' err.txt || fail "check of the example: $(cat err.txt)"
printf '::Q::{=a ~b\n' >bad.gift
run 1 check bad.gift --lang en
grep -q '^bad.gift:1:[0-9]*: error: ' err.txt || fail "no placed error: $(cat err.txt)"
run 1 check bad.gift --lang ru
grep -q 'ошибка' err.txt || fail "not Russian: $(cat err.txt)"
run 2 check missing.gift --lang en
grep -q 'Cannot open file' err.txt || fail "no report: $(cat err.txt)"

run 1 import "$example" --into Year --lang en
grep -q -- '--author' err.txt || fail "no author hint: $(cat err.txt)"
[ ! -e Year ] || fail "wrote without the author"
run 0 import "$example" --into Year --lang en --author 'Ivanova A., School 5'
grep -q 'Ivanova A., School 5' Year/PartA/1/task.xml || fail "no author line"
[ "$(cat System_folder/Authorisation/Tasks_in_view.txt)" = "$(printf '8\r')" ] ||
    fail "counter $(cat System_folder/Authorisation/Tasks_in_view.txt)"
cp Year/PartA/1/task.asp before.asp
run 1 import "$example" --into Year --lang en
grep -q 'PartA/1' err.txt || fail "no list of tasks to replace"
run 0 import "$example" --into Year --lang en --replace
cmp -s before.asp Year/PartA/1/task.asp || fail "rewritten task differs"

run 0 export Year --to gift out.gift --lang en
grep -q 'kavo: number=1' out.gift || fail "export lacks the tasks"
run 0 check out.gift --lang en
run 0 export Year --to qti qti --lang en
[ -f qti/imsmanifest.xml ] || fail "no QTI manifest"
run 2 export Year --to pdf out.pdf --lang en

# The check of a task tree: the picture the example asks for is missing; a number in two
# folders stops the export with nothing written; a device is no source.
run 1 check Year --lang en
grep -q '^error: Part./[0-9]*: the page shows a picture, but webfiles/picture.jpg is missing' \
    err.txt || fail "no missing picture: $(cat err.txt)"
grep -q '^Errors: 1, warnings: ' err.txt || fail "no summary: $(cat err.txt)"
cp -r Year/PartA/1 Year/PartB/1
run 1 check Year --lang ru
grep -q '^ошибка: PartB/1: номер 1 есть в нескольких папках (PartA/1, PartB/1)' err.txt ||
    fail "no duplicate: $(cat err.txt)"
run 1 export Year --to gift stopped.gift --lang en
[ ! -e stopped.gift ] || fail "exported a number held twice"
grep -q 'The export is stopped' err.txt || fail "no stop: $(cat err.txt)"
run 2 check /dev/null --lang en
grep -q 'neither a task tree' err.txt || fail "no refusal: $(cat err.txt)"
echo "kavo-olympiad: all cases passed"
