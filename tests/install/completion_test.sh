#!/bin/bash
# Usage: completion_test.sh COMPLETION_FILE KAVO_OLYMPIAD
# Completes kavo-olympiad command lines with bash-completion and the given completion file,
# in a folder of sample files, and checks that every command and option of the program's
# own usage text is offered.
set -u
completion="$(readlink -f "$1")"
program="$(readlink -f "$2")"
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
touch olympiad.gift bank.xml notes.txt photo.png

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
kavo-olympiad --|--help --lang --system --version
kavo-olympiad -|--help --lang --system --version -h
kavo-olympiad check --|--first-answer --help --lang --shuffle --skip-unfit --system --version
kavo-olympiad import --|--author --first-answer --help --into --lang --replace --save-author --shuffle --skip-unfit --system --version
kavo-olympiad import --s|--save-author --shuffle --skip-unfit --system
kavo-olympiad export Year --|--help --lang --system --to --version
kavo-olympiad --lang=e|en
kavo-olympiad export Year out --to=m|moodle
kavo-olympiad --lang=en export |System_folder Year
kavo-olympiad check |System_folder Year bank.xml notes.txt olympiad.gift
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
kavo-olympiad export Year --to gift |System_folder Year bank.xml notes.txt olympiad.gift photo.png
kavo-olympiad export --to moodle Year p|photo.png
kavo-olympiad export Year o|olympiad.gift
kavo-olympiad export Year out.xml |
EOF
[ "$failures" -eq 0 ] || fail "$failures completions differ"

# Every command and option of the help texts (the program's and each command's) is offered.
usage="$("$program" --help --lang en)" || fail "$program --help"
for command in check import export; do
    usage="$usage
$("$program" "$command" --help --lang en)" || fail "$program $command --help"
done
all="$(offered 'kavo-olympiad ') $(offered 'kavo-olympiad -')"
for command in check import export; do
    all="$all $(offered "kavo-olympiad $command --")"
done
for word in $(printf '%s\n' "$usage" | grep -oE -e '(^|[ [,])--?[a-z][a-z-]*' -e '^  [a-z]+ ' |
    sed 's/[ [,]//g' | sort -u); do
    case " $all " in
    *" $word "*) ;;
    *) fail "the usage names $word, the completion does not offer it" ;;
    esac
done
echo "completion test passed"
