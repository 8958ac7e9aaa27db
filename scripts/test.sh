#!/usr/bin/env bash
# Builds setup twice (plain, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs the whole test suite on each build.
# Scenario tests run the real program inside a throwaway sandbox; under
# CI=true a sandbox that cannot be made fails them instead of skipping.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=${JOBS:-2}
for variant in plain asan; do
  dir=build/$variant
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
  # The benchmarks are run by hand on a plain build; sanitized timings
  # would tell nothing.
  [ "$variant" = asan ] && flags+=(-DSETUP_SANITIZE=ON -DSETUP_BENCHMARKS=OFF)
  echo "== $variant build"
  cmake -S . -B "$dir" "${flags[@]}" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "== $variant tests"
  # No leak check: what the program keeps for the whole run it leaves to
  # the exit, and a leak report at exit is not what the tests look at.
  ASAN_OPTIONS=detect_leaks=0 ctest --test-dir "$dir" -j"$jobs" --output-on-failure --timeout 300
done
