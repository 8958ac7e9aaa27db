#!/usr/bin/env bash
# Builds setup and mkmedium, then makes the installation medium of the
# sample product (sample/product) with them; the medium carries the
# sample help (sample/setup.hlp) as setup.hlp.
#
#   scripts/sample-medium.sh [OUTPUT [MKMEDIUM-OPTION...]]
#
# OUTPUT defaults to build/sample-medium; options such as --diskette, --dos
# or --piece-size 64K are passed on to mkmedium. An OUTPUT that already
# holds a medium (a disks list) is replaced; any other non-empty OUTPUT is
# refused by mkmedium. BUILD names the build folder (default build/plain).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build/plain}
out=${1:-build/sample-medium}
shift || true

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target setup mkmedium

if [ -d "$out" ] && { [ -f "$out/disks" ] || [ -f "$out/DISKS" ]; }; then
  echo "replacing the earlier medium $out"
  rm -rf -- "$out"
fi
mkdir -p -- "$(dirname -- "$out")"
"$build/tools/mkmedium" -o "$out" -p "$build/installer/setup" --help-file sample/setup.hlp "$@" sample/product
echo
ls -l -- "$out"
