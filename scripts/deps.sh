#!/usr/bin/env bash
# Installs what building and testing setup needs on a fresh Debian machine.
# Does nothing for packages that are already there.
set -euo pipefail
pkgs=(g++ cmake make libgtest-dev libgmock-dev libbenchmark-dev libncurses-dev
      ncompress tar sed procps coreutils util-linux tmux shellcheck
      groff-base man-db strace)
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
