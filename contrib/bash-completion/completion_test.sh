#!/usr/bin/env bash
# The completions of setup and mkmedium, asked as bash asks them: each case
# sets the words typed so far and compares what is offered.
#   completion_test.sh COMPLETION_DIR
set -u
dir=$1
if command -v shellcheck >/dev/null; then
  shellcheck -s bash "$dir/setup" "$dir/mkmedium" || exit 1
fi
# shellcheck source=/dev/null
source "$dir/setup"
# shellcheck source=/dev/null
source "$dir/mkmedium"
work=$(mktemp -d "${TMPDIR:-/tmp}/setup-completion-test.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir -p opt/Vexla product/pkg media
touch program key.key
failures=0
# expect FUNCTION "WORDS..." "OFFERED (sorted, one blank between)"
expect() {
  local fn=$1 typed=$2 want=$3
  read -r -a COMP_WORDS <<<"$typed"
  # A trailing blank starts a new, empty word.
  [[ $typed == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  "$fn"
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
  got=${got% }
  if [[ $got != "$want" ]]; then
    echo "completion_test: '$typed' offered '$got', expected '$want'" >&2
    failures=$((failures + 1))
  fi
}
expect _setup "setup pre" "preview"
expect _setup "setup r" "remove rollback"
expect _setup "setup install o" "opt"
expect _setup "setup install opt/V" "opt/Vexla"
expect _setup "setup verify --j" "--json"
expect _setup "setup preview p" ""            # preview is given already
expect _setup "setup install /opt ./m" "./media"
expect _mkmedium "mkmedium --s" "--sign"
expect _mkmedium "mkmedium --no-" "--no-db --no-password"
expect _mkmedium "mkmedium -o m" "media"
expect _mkmedium "mkmedium -p pro" "product program"
expect _mkmedium "mkmedium --generate-key k" "key.key"
expect _mkmedium "mkmedium -s 1" ""
expect _mkmedium "mkmedium -o media -p program pr" "product"
exit $((failures > 0))
