#!/bin/bash
# Usage: completion_test.sh COMPLETION_FILE KAVO_OLYMPIAD
# Completes kavo-olympiad command lines with bash-completion and the given completion file,
# in a folder of sample files, and checks that every command and option of the program's
# own usage text is offered.
set -u
completion="$1"
program="$2"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ -r /usr/share/bash-completion/bash_completion ] || fail "bash-completion is not installed"
# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
source "$completion"

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
cd "$tmp" || exit 1
mkdir Year System_folder
touch olympiad.gift notes.txt photo.png

# The words offered for LINE (the cursor at its end), sorted, on one line.
offered() {
    local line=$1
    COMP_LINE=$line
    COMP_POINT=${#line}
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _kavo_olympiad kavo-olympiad "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort | paste -sd ' '
}

failures=0
# A command line | what is offered
while IFS='|' read -r line expected; do
    [ -z "$line" ] && continue
    got="$(offered "$line")"
    if [ "$got" != "$expected" ]; then
        echo "'$line': offered '$got', expected '$expected'" >&2
        failures=$((failures + 1))
    fi
done <<'EOF'
kavo-olympiad |check export import
kavo-olympiad ex|export
kavo-olympiad i|import
kavo-olympiad --|--lang --system
kavo-olympiad check --|--lang --system
kavo-olympiad import --|--author --into --lang --replace --system
kavo-olympiad export Year --|--lang --system --to
kavo-olympiad check |System_folder Year notes.txt olympiad.gift
kavo-olympiad import olympiad.gift --into |System_folder Year
kavo-olympiad import olympiad.gift --into Y|Year
kavo-olympiad import olympiad.gift --author |
kavo-olympiad import olympiad.gift --replace --author "A B" --into S|System_folder
kavo-olympiad --lang |en ru
kavo-olympiad --system System_folder --lang e|en
kavo-olympiad --system System_folder check o|olympiad.gift
kavo-olympiad export |System_folder Year
kavo-olympiad export Year --to |gift moodle qti
kavo-olympiad export Year --to q|qti
kavo-olympiad export Year --to gift |System_folder Year notes.txt olympiad.gift photo.png
kavo-olympiad export --to moodle Year p|photo.png
EOF
[ "$failures" -eq 0 ] || fail "$failures completions differ"

# Every command and option of the usage text is offered somewhere.
usage="$("$program" --help 2>&1)"
[ -n "$usage" ] || fail "no usage text from $program --help"
all="$(offered 'kavo-olympiad ') $(offered 'kavo-olympiad --')"
for command in check import export; do
    all="$all $(offered "kavo-olympiad $command --")"
done
for word in $(printf '%s\n' "$usage" | grep -o -e '--[a-z][a-z-]*' -e 'kavo-olympiad [a-z]\+' |
    sed 's/^kavo-olympiad //' | sort -u); do
    [ "$word" = --help ] && continue
    case " $all " in
    *" $word "*) ;;
    *) fail "the usage names $word, the completion does not offer it" ;;
    esac
done
echo "completion test passed"
