#!/usr/bin/env bash
# Installs the sample product into a throwaway sandbox and shows what it did.
#
#   bash scripts/sample.sh [SETUP-ARGUMENT...]
#
# Sets up what a fresh Debian machine lacks, builds setup and mkmedium,
# makes the sample medium (build/sample-medium) and runs from it, inside a
# sandbox, `./setup preview install /opt` (what the installation would do),
# `./setup install /opt` and `./setup verify install /opt` (or
# `./setup` with the arguments given):
# an overlay over this machine in private namespaces, so nothing here
# changes. Then it prints what setup printed, its exit status, every path
# it created or changed, and the run log /tmp/setup.log. The sandbox's
# results stay in build/sample-run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/sample-medium.sh build/sample-medium >/dev/null
out=build/sample-run
if (($#)); then
  echo "== ./setup $*   (in a sandbox, from build/sample-medium)"
  command=(./setup "$@")
else
  echo "== ./setup preview install /opt; ./setup install /opt; ./setup verify install /opt"
  echo "   (in a sandbox, from build/sample-medium)"
  command=(/bin/sh -c './setup preview install /opt && echo && echo "== ./setup install /opt" &&
    ./setup install /opt && echo && echo "== ./setup verify install /opt" && ./setup verify install /opt')
fi
set +e
sh tests/scenario/sandbox.sh --out "$out" --medium build/sample-medium --timeout 120 -- "${command[@]}"
status=$?
set -e
echo
echo "== exit status: $status"
if [ "$status" = 125 ]; then
  echo "the sandbox could not be made here (it needs root, mount namespaces and overlayfs)"
  exit 1
fi
echo
echo "== what it changed (A added, M modified, D deleted)"
cat "$out/changes"
echo
echo "== modes and owners of the product tree"
if [ -d "$out/upper/opt/Vexla/vpxx" ]; then ls -la "$out/upper/opt/Vexla/vpxx"; fi
echo
echo "== /tmp/setup.log"
cat "$out/upper/tmp/setup.log" 2>/dev/null || echo "(no log)"
exit "$status"
