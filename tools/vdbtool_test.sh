#!/bin/sh
# Command-line tests of vdbtool: usage, errors, and make/list/get round trips.
# Usage: vdbtool_test.sh PATH_TO_VDBTOOL
set -u
tool=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/vdbtool-test.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS DESCRIPTION COMMAND...: runs the command, output in $work/out and $work/err.
expect() {
  want=$1 what=$2
  shift 2
  "$@" >"$work/out" 2>"$work/err"
  got=$?
  [ "$got" -eq "$want" ] || fail "$what: exit status $got, expected $want ($(cat "$work/err"))"
}
contains() {  # FILE TEXT DESCRIPTION
  grep -qF -- "$2" "$1" || fail "$3: '$2' not in: $(cat "$1")"
}

expect 0 "help" "$tool" --help
contains "$work/out" "Usage: vdbtool make [--headered|--plain] SOURCE OUT" "help"
contains "$work/out" "Escapes in values" "help"
expect 2 "no arguments" "$tool"
contains "$work/err" "vdbtool: no command given" "no arguments"
expect 2 "unknown command" "$tool" frobnicate
contains "$work/err" "unknown command frobnicate" "unknown command"
expect 2 "unknown option" "$tool" make --bogus a b
expect 2 "make without OUT" "$tool" make "$work/src.txt"
expect 2 "get without KEY" "$tool" get "$work/x.vdb"

tab=$(printf '\t')
cat >"$work/src.txt" <<SRC
# a comment
greeting${tab}Hello, %s!\\n
spaced  two blanks before
esc${tab}tab\\there back\\\\slash

SRC
# What list prints for that source.
cat >"$work/expected" <<LIST
greeting${tab}Hello, %s!\\n
spaced${tab} two blanks before
esc${tab}tab\\there back\\\\slash
LIST

for layout in --headered --plain; do
  db="$work/strings$layout.vdb"
  expect 0 "make $layout" "$tool" make $layout "$work/src.txt" "$db"
  expect 0 "list $layout" "$tool" list "$db"
  cmp -s "$work/out" "$work/expected" || fail "list $layout: $(cat "$work/out")"
  expect 0 "get $layout" "$tool" get "$db" greeting
  printf 'Hello, %%s!\n\n' | cmp -s - "$work/out" || fail "get $layout: $(od -c "$work/out")"
  expect 1 "get missing $layout" "$tool" get "$db" nothing
  contains "$work/err" "no record with key \"nothing\"" "get missing $layout"
done
head -c 6 "$work/strings--headered.vdb" | grep -q TVDBAA || fail "headered file lacks its magic"

# What list prints makes the same database again.
cp "$work/expected" "$work/again.txt"
expect 0 "make from list" "$tool" make "$work/again.txt" "$work/again.vdb"
cmp -s "$work/again.vdb" "$work/strings--headered.vdb" || fail "list output does not make the same database"

# A relative path, and a path without '.' that gets .vdb appended.
(cd "$work" && "$tool" get strings--headered.vdb esc >/dev/null) || fail "relative path"
expect 0 "get without extension" "$tool" get "$work/again" spaced

# Errors name the file and the line, and leave OUT untouched.
printf 'ok\tfine\nbad\tvalue \\q\n' >"$work/bad.txt"
expect 1 "bad source" "$tool" make "$work/bad.txt" "$work/bad.vdb"
contains "$work/err" "bad.txt: line 2: unknown escape \\q" "bad source"
[ ! -e "$work/bad.vdb" ] || fail "bad source left an output file"
expect 1 "missing source" "$tool" make "$work/none.txt" "$work/none.vdb"
contains "$work/err" "cannot read $work/none.txt" "missing source"
expect 1 "missing database" "$tool" list "$work/none.vdb"
contains "$work/err" "cannot read $work/none.vdb" "missing database"

# UTF-8 sources are stored as ISO 8859-1 and shown as UTF-8 again; a
# character that ISO 8859-1 lacks is refused with its line.
printf 'fr\tcaf\303\251 \302\253 %%s \302\273\n' >"$work/utf8.txt"
expect 0 "make utf-8" "$tool" make "$work/utf8.txt" "$work/utf8.vdb"
expect 0 "get latin-1" "$tool" get "$work/utf8.vdb" fr
printf 'caf\303\251 \302\253 %%s \302\273\n' | cmp -s - "$work/out" || fail "get utf-8: $(od -c "$work/out")"
expect 0 "list latin-1" "$tool" list "$work/utf8.vdb"
cmp -s "$work/out" "$work/utf8.txt" || fail "list utf-8: $(od -c "$work/out")"
printf 'ok\tfine\nbad\tc\305\223ur\n' >"$work/oe.txt"
expect 1 "outside latin-1" "$tool" make "$work/oe.txt" "$work/oe.vdb"
contains "$work/err" "oe.txt: line 2:" "outside latin-1"
contains "$work/err" "(U+0153) is not in ISO 8859-1" "outside latin-1"

# A cut file lists the records before the cut, then says where it is.
db="$work/strings--headered.vdb"
size=$(wc -c <"$db")
head -c $((size - 3)) "$db" >"$work/cut.vdb"
expect 1 "cut database" "$tool" list "$work/cut.vdb"
contains "$work/out" "greeting" "cut database"
contains "$work/err" "corrupt record at offset" "cut database"

[ "$failures" -eq 0 ] && echo "all vdbtool tests passed"
[ "$failures" -eq 0 ]
