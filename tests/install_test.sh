#!/bin/sh
# Installs the build into a DESTDIR in a temporary folder, with a prefix,
# and runs each installed program's --help from there; checks that the
# manual pages and string databases landed beside them.
#   install_test.sh CMAKE BUILD_DIR
set -u
cmake=$1
build=$2
root=$(mktemp -d "${TMPDIR:-/tmp}/setup-install-test.XXXXXX") || exit 1
trap 'rm -rf "$root"' EXIT
fail() {
  echo "install_test: $*" >&2
  exit 1
}
prefix=/opt/vexla-tools
DESTDIR=$root "$cmake" --install "$build" --prefix "$prefix" >"$root/install.out" 2>&1 ||
  fail "cmake --install failed: $(tail -n 5 "$root/install.out")"
tree=$root$prefix
for program in sbin/setup bin/mkmedium bin/vdbtool bin/helpview; do
  [ -x "$tree/$program" ] || fail "$program was not installed"
  # From the installed tree, in a folder of its own: --help must not need
  # anything of the build.
  out=$(cd "$root" && "$tree/$program" --help 2>&1) || fail "$program --help failed: $out"
  echo "$out" | grep -qi "usage" || fail "$program --help printed no usage: $out"
done
for page in man8/setup.8 man1/mkmedium.1 man1/vdbtool.1 man1/helpview.1 man5/setup-medium.5; do
  [ -f "$tree/share/man/$page" ] || fail "the manual page $page was not installed"
done
for db in drvcore.vdb fr_FR/drvcore.vdb; do
  [ -f "$tree/share/setup/db/$db" ] || fail "the string database $db was not installed"
done
for completion in setup mkmedium; do
  [ -f "$tree/share/bash-completion/completions/$completion" ] ||
    fail "the bash completion of $completion was not installed"
done
# Nothing outside the prefix.
extra=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name opt ! -name install.out)
[ -z "$extra" ] || fail "installed outside the prefix: $extra"
exit 0
