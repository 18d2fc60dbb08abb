#!/bin/sh
# Two and three kavo-olympiad imports with --replace started together into one task tree:
# one writer at a time, so every run either writes all its tasks or waits and gives up (exit
# 2, naming the busy folder, nothing written); the tree ends with every task whole, no
# leftover of the program, and the counter raised once per task of a run that succeeded.
# Usage: tree_race_test.sh KAVO_OLYMPIAD SOURCE_DIR
set -u
cli="$1"
source="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cp -r "$source/System_folder" "$tmp/System_folder"
cd "$tmp" || exit 1

# Thirty single-choice tasks, ten a part.
{
    echo '$CATEGORY: kavo/parts/10,10,10'
    i=1
    while [ "$i" -le 30 ]; do
        echo "::Task $i::Question $i? {=a$i ~b ~c ~d}"
        echo
        i=$((i + 1))
    done
} >thirty.gift
"$cli" import thirty.gift --into Warm --lang en --author 'Race R.' --save-author >/dev/null ||
    fail "the first import failed"
counter() { tr -d '\r\n' <System_folder/Authorisation/Tasks_in_view.txt; }

# A tree another program holds: the import waits a few seconds, then stops with exit 2,
# naming the folder, with nothing written and the counter as it was.
mkdir Held
before="$(counter)"
exec 9<Held
flock -n 9 || fail "cannot lock Held"
started="$(date +%s)"
"$cli" import thirty.gift --into Held --lang en >out.txt 2>err.txt 9<&-
code=$?
waited=$(($(date +%s) - started))
exec 9<&-
[ "$code" -eq 2 ] || fail "a held tree: exit $code: $(cat err.txt)"
grep -q "^Another program is writing the folder Held; nothing was written" err.txt ||
    fail "a held tree: $(cat err.txt)"
[ "$waited" -ge 3 ] && [ "$waited" -le 15 ] || fail "waited $waited s"
[ -z "$(ls Held)" ] || fail "wrote into a held tree: $(ls Held)"
[ "$(counter)" -eq "$before" ] || fail "the counter rose for a held tree"

for runs in 2 3 3; do
    rm -rf Y
    before="$(counter)"
    i=1
    pids=""
    while [ "$i" -le "$runs" ]; do
        "$cli" import thirty.gift --into Y --replace --lang en >"out$i.txt" 2>"err$i.txt" &
        pids="$pids $!"
        i=$((i + 1))
    done
    succeeded=0
    i=1
    for pid in $pids; do
        wait "$pid"
        code=$?
        case "$code" in
        0) succeeded=$((succeeded + 1))
            grep -q 30 "out$i.txt" || fail "run $i: $(cat "out$i.txt")" ;;
        2) grep -q 'Another program is writing the folder' "err$i.txt" ||
                fail "run $i failed otherwise: $(cat "err$i.txt")" ;;
        *) fail "run $i exited $code: $(cat "err$i.txt")" ;;
        esac
        i=$((i + 1))
    done
    [ "$succeeded" -ge 1 ] || fail "no run of $runs succeeded"
    [ "$(counter)" -eq $((before + 30 * succeeded)) ] ||
        fail "counter $(counter), from $before with $succeeded runs of 30 tasks"
    leftovers="$(find Y System_folder -name '*.kavo-*')"
    [ -z "$leftovers" ] || fail "leftovers: $leftovers"
    [ "$(find Y -name task.asp | wc -l)" -eq 30 ] || fail "not 30 pages: $(find Y | sort)"
    for folder in $(find Y -name task.asp -exec dirname {} \;); do
        for file in TASK.CFG task.out task.xml; do
            [ -s "$folder/$file" ] || fail "$folder lacks $file"
        done
    done
    "$cli" export Y --to gift back.gift --lang en >out.txt 2>err.txt ||
        fail "the tree does not read back: $(cat err.txt)"
    [ "$(grep -c '^::Task' back.gift)" -eq 30 ] || fail "not 30 tasks read back"
done
echo "race: all rounds passed"
