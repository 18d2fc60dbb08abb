#!/bin/sh
# kavo-olympiad as a teacher and a school's script run it: the help, the version and every
# refusal of the command line (exit code, stream, language), then the commands: exit codes,
# the language of their messages, the author refusal, the question before replacing (a
# refusal without --replace), and the export, written whole or not at all.
# Usage: cli_test.sh KAVO_OLYMPIAD SOURCE_DIR VERSION
set -u
cli="$1"
source="$2"
version="$3"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cp -r "$source/System_folder" "$tmp/System_folder"
cd "$tmp" || exit 1
example="$source/examples/olympiad.gift"
cp -r System_folder English
printf 'En\r\n' >English/Language/Language.txt
ff="$(printf '\377')"
bel="$(printf '\007')"

run() { # expected exit code, then the arguments
    want="$1"
    shift
    "$cli" "$@" >out.txt 2>err.txt
    got=$?
    [ "$got" = "$want" ] || { cat out.txt err.txt; fail "$* exited $got, not $want"; }
}

# One row a case: the exit code; where the text goes ("out": standard output and nothing on
# standard error; "line": one line on standard error and nothing on standard output); an
# extended regular expression the text holds; the arguments.
t() {
    want="$1" stream="$2" pattern="$3"
    shift 3
    run "$want" "$@"
    case "$stream" in
    out) [ ! -s err.txt ] || fail "$*: wrote to standard error: $(cat err.txt)"
        text=out.txt ;;
    line) [ ! -s out.txt ] || fail "$*: wrote to standard output: $(cat out.txt)"
        [ "$(wc -l <err.txt)" -eq 1 ] || fail "$*: not one line: $(cat err.txt)"
        text=err.txt ;;
    *) cat out.txt err.txt >both.txt
        text=both.txt ;;
    esac
    grep -Eq -- "$pattern" "$text" || fail "$*: no '$pattern' in: $(cat "$text")"
}

t 0 out '^Usage: kavo-olympiad COMMAND \[OPTIONS\]$' --help --lang en
t 0 out '^Запуск: kavo-olympiad КОМАНДА \[ПАРАМЕТРЫ\]$' -h --lang ru
t 0 out '^  export DIR OUT --to gift\|moodle\|qti  ' --lang=en --help
t 0 out '^Usage: kavo-olympiad check FILE \[OPTIONS\]$' check --help --lang en
t 0 out '^  --replace +replaces the tasks written already$' import --lang en --help
t 0 out '^Запуск: kavo-olympiad export ПАПКА ВЫХОД --to gift\|moodle\|qti' export -h --lang ru
t 0 out "^kavo-olympiad $version\$" --version
t 0 out "^kavo-olympiad $version\$" check --version
t 0 out "^System_folder in use: $tmp/System_folder \(in the current folder\)$" --help --lang en
t 0 out "^System_folder in use: $tmp/English \(given by --system\)$" --help --system English
t 0 out '^Папка System_folder: .*/System_folder \(в текущей папке\)$' --help
t 0 out '^Options of every command:$' check --help --system English
t 0 out '^Usage:' --help --system English --lang en
t 0 out '^Запуск:' --help --system English --lang ru
t 0 out '^Usage:' --help --system Nowhere --lang en
t 0 out '^Запуск:' --help --system Nowhere
(mkdir Bare && cd Bare && "$cli" --help --lang en) | grep -qx \
    'No System_folder: there is none in the current folder; give one with --system' ||
    fail "--help without a System_folder"

t 2 line '^kavo-olympiad: unknown option --frob \(see kavo-olympiad --help\)$' --frob --lang en
t 2 line '^kavo-olympiad: неизвестный параметр --frob \(справка: kavo-olympiad --help\)$' --frob
t 2 line '^kavo-olympiad: unknown option -x ' check -x f.gift --system English
t 2 line 'unknown option --frob' --frob --help --lang en
t 2 line '^kavo-olympiad: unknown command frob; the commands are check, import, export \(see kavo-olympiad --help\)$' frob x --lang en
t 2 line '^kavo-olympiad: no command given' --lang en
t 2 line 'unknown value pdf of --to \(it takes gift, moodle, qti\) \(see kavo-olympiad export --help\)$' export Year --to pdf out.pdf --lang en
t 2 line 'недопустимое значение pdf параметра --to' export Year --to pdf out.pdf --lang ru
t 2 line '^kavo-olympiad: unknown value de of --lang \(it takes ru, en\)' --lang de --help --system English
t 2 line '^kavo-olympiad: --into needs a value' import f.gift --lang en --into
t 2 line '^kavo-olympiad: --replace takes no value' import f.gift --into Y --replace=yes --lang en
t 2 line '^kavo-olympiad: --into is given twice' import f.gift --into Y --into Z --lang en
t 2 line '^kavo-olympiad: --into does not apply to the command check \(see kavo-olympiad check --help\)$' check f.gift --into Y --lang en
t 2 line '^kavo-olympiad: the command import needs --into DIR ' import f.gift --lang en
t 2 line '^kavo-olympiad: the command import needs FILE ' import --into Y --lang en
t 2 line '^kavo-olympiad: the command export needs OUT ' export Year --to gift --lang en
t 2 line '^kavo-olympiad: unexpected argument extra.gift ' check f.gift extra.gift --lang en
t 2 line '^kavo-olympiad: --author is not UTF-8 text: A\\xFF ' import "$example" --into Y --author "A$ff" --lang en
t 2 line '^kavo-olympiad: FILE is not UTF-8 text: x\\xFF.gift ' check "x$ff.gift" --lang en
t 2 line '^kavo-olympiad: ПАПКА не в кодировке UTF-8' export "$ff" out.gift --to gift
t 2 line '^--author holds a character a task description cannot hold: U\+0007$' import "$example" --into Y --author "A${bel}B" --lang en
# The author line's rule of the core: a reference judged by what it names, no TAB.
t 2 line '^--author holds a character a task description cannot hold: &#0; \(U\+0000\)$' import "$example" --into Y --author 'A&#0;B' --lang en
t 2 line '^--author holds a character a task description cannot hold: U\+0009$' import "$example" --into Y --author "A	B" --lang en
[ ! -e Y ] || fail "a refused command line wrote"
# After "--" a word that begins with "-" is a file.
t 2 any '^Cannot open file -weird.gift$' check --lang en -- -weird.gift
run 0 check "$example" --lang en
grep -q '^0 errors' err.txt || fail "check of the example: $(cat err.txt)"
printf '::Q::{=a ~b\n' >bad.gift
run 1 check bad.gift --lang en
grep -q '^bad.gift:1:[0-9]*: error: ' err.txt || fail "no placed error: $(cat err.txt)"
run 1 check bad.gift --lang ru
grep -q 'ошибка' err.txt || fail "not Russian: $(cat err.txt)"
t 2 any '^Cannot open file .*missing.gift' check missing.gift --lang en
grep -q 'No such file or folder' err.txt || fail "no reason line: $(cat err.txt)"
t 2 any '^Не удаётся открыть файл .*missing.gift' check missing.gift --lang ru
grep -q 'Нет такого файла или папки' err.txt || fail "no reason line: $(cat err.txt)"

run 1 import "$example" --into Year --lang en
grep -q -- '--author .*--save-author' err.txt || fail "no author hint: $(cat err.txt)"
[ ! -e Year ] || fail "wrote without the author"
# An author given for one run goes into every description it writes and is not saved;
# --save-author saves it as the author dialog does.
cp -r System_folder/file headers.before
run 0 import "$example" --into Year --lang en --author 'Ivanova A., School 5'
[ "$(find Year -name task.xml | wc -l)" -eq 8 ] || fail "not 8 tasks: $(find Year -name task.xml)"
lacking="$(find Year -name task.xml ! -exec grep -q 'Ivanova A., School 5' {} \; -print)"
[ -z "$lacking" ] || fail "no author line in $lacking"
diff -r headers.before System_folder/file || fail "the author of one run was saved"
grep -q 1 System_folder/Authorisation/save.txt || fail "the author flag changed"
[ "$(cat System_folder/Authorisation/Tasks_in_view.txt)" = "$(printf '8\r')" ] ||
    fail "counter $(cat System_folder/Authorisation/Tasks_in_view.txt)"
t 2 line '^kavo-olympiad: --save-author needs --author \(see kavo-olympiad import --help\)$' import "$example" --into Saved --save-author --lang en
run 0 import "$example" --into Saved --lang en --author 'Petrov P.' --save-author
grep -q 'Petrov P.' System_folder/file/task_xml.txt || fail "the author was not saved"
grep -q 0 System_folder/Authorisation/save.txt || fail "the author flag says missing"
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

# An export writes nothing when it cannot run (2) or finds no task (1); a QTI folder keeps
# files of other names, and its package is replaced whole.
mkdir Empty
t 2 any '^The task tree NoSuchDir is not a folder; nothing was exported.$' export NoSuchDir --to gift none.gift --lang en
t 2 any 'out.gift is not a folder' export out.gift --to qti none --lang en
t 1 any '^The task tree Empty holds no task to export.$' export Empty --to qti none --lang en
t 1 any 'В папке задач Empty нет ни одной задачи' export Empty --to gift none.gift --lang ru
if [ -e none.gift ] || [ -e none ]; then fail "a refused export wrote"; fi
# A pipe where a task file should be is named and skipped at once: a reader that waited for
# a writer on it would hang the export for ever.
mkdir -p Piped/PartA
cp -r Year/PartA/1 Piped/PartA/1
rm Piped/PartA/1/task.asp
mkfifo Piped/PartA/1/task.asp
t 1 any 'PartA/1.*task.asp' export Piped --to gift piped.gift --lang en
[ ! -e piped.gift ] || fail "an export of no task wrote"
echo keep >qti/notes.txt
run 0 export Year --to qti qti --lang en
[ "$(cat qti/notes.txt)" = keep ] || fail "the QTI export lost a file of another name"
[ ! -e qti/webfiles ] || fail "a QTI package got a webfiles folder"
[ -z "$(find . -maxdepth 1 -name '*.kavo-*')" ] || fail "leftovers beside the export: $(ls -a)"

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
# A bank with questions no task can hold: refused whole (1) unless --skip-unfit, which writes
# the choice questions under the numbers listed; Moodle XML the same, chosen by its content.
printf 'Q1 {=a ~b}\n\nHow much? {#1..5}\n\nWhy? {}\n\nPair {=a -> 1 =b -> 2}\n\nQ2 {~c =d}\n' >bank.gift
t 1 any 'bank.gift:3:11: left out: ' check bank.gift --lang en
t 1 any '^Task 2: the question at line 9$' import bank.gift --into Bank --lang en
grep -q -- '--skip-unfit' err.txt || fail "no hint of --skip-unfit: $(cat err.txt)"
[ ! -e Bank ] || fail "wrote a bank with questions left out"
t 0 any '^Tasks written: 2' import bank.gift --into Bank --lang en --skip-unfit
[ -f Bank/2/task.out ] && [ ! -e Bank/3 ] || fail "the tasks that fit: $(ls Bank)"
cat >bank.txt <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<quiz>
<question type="essay"><name><text>E</text></name><questiontext format="html"><text>Why?</text></questiontext></question>
<question type="truefalse"><name><text>T</text></name><questiontext format="html"><text>Round?</text></questiontext><answer fraction="100"><text>true</text></answer><answer fraction="0"><text>false</text></answer></question>
</quiz>
XML
t 1 any 'bank.txt:3:1: left out: an essay cannot become a task' check bank.txt --lang en
t 0 any '^Tasks written: 1' import bank.txt --into Xml --lang en --skip-unfit
printf '<?xml version="1.0"?>\n<!DOCTYPE quiz [<!ENTITY x SYSTEM "file:///etc/passwd">]>\n<quiz>&x;</quiz>\n' >evil.xml
t 1 any 'evil.xml:2:1: error: The file declares a document type' import evil.xml --into Evil --lang en --skip-unfit
[ ! -e Evil ] || fail "wrote from a file with a document type"
echo "kavo-olympiad: all cases passed"
