#!/usr/bin/env bash
# Installs what building and testing setup needs on a fresh Debian machine.
# Does nothing for packages that are already there.
set -euo pipefail
# The compiler and build tools (pkgconf finds terminfo), GoogleTest, the
# terminfo library, libsodium (linked into setup statically: the signature
# check), and the host tools the tests run: the archive tools,
# ps, the sandbox's namespaces, the terminal of the terminal tests, the
# checker of the generated scripts, the renderer of the manual pages,
# ansible-playbook for the scenarios of the Ansible collection (with sshd
# and sudo on the fleet's hosts) and ansible-lint for its check, the stock
# minisign that the signature tests check against (setup itself needs none
# of it). (The install benchmark, run by hand, also needs strace.)
pkgs=(g++ cmake make pkgconf libgtest-dev libncurses-dev libsodium-dev
      ncompress tar sed procps coreutils util-linux tmux shellcheck
      groff-base man-db ansible-core ansible-lint openssh-server sudo minisign)
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
