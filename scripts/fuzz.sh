#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer too) and runs one of them on its seed corpus:
#   bash scripts/fuzz.sh HARNESS [SECONDS [RUNS]]
# (default 60 seconds; with RUNS it also stops after that many executions,
# whichever comes first)
#   bash scripts/fuzz.sh --list
# New inputs go to build/fuzz/corpus/HARNESS (the seeds in
# tests/fuzz/corpus/HARNESS are only read); a finding is written to
# build/fuzz/findings/. Installs clang and libFuzzer where missing. The
# harnesses never run a host command and write only below their own
# temporary directory.
set -euo pipefail
cd "$(dirname "$0")/.."
harnesses=$(sed -n 's/^set(harnesses \(.*\))$/\1/p' tests/fuzz/CMakeLists.txt)
if [ "${1:-}" = --list ] || [ $# -lt 1 ]; then
  echo "harnesses: $harnesses"
  [ $# -ge 1 ] && exit 0 || { echo "usage: scripts/fuzz.sh HARNESS [SECONDS [RUNS]]" >&2; exit 2; }
fi
harness=$1
seconds=${2:-60}
runs=${3:--1}
case " $harnesses " in
  *" $harness "*) ;;
  *) echo "no harness $harness (harnesses: $harnesses)" >&2; exit 2 ;;
esac

bash scripts/deps.sh
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "installing: clang libclang-rt-dev"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang libclang-rt-dev >/dev/null 2>&1 ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang >/dev/null
fi

# Absolute paths: a harness works in a scratch directory of its own.
dir=$PWD/build/fuzz
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DSETUP_FUZZ=ON -DSETUP_BENCHMARKS=OFF >/dev/null
cmake --build "$dir" -j"${JOBS:-2}" --target "fuzz_$harness"
mkdir -p "$dir/corpus/$harness" "$dir/findings"
# Standard output and error of the harness are closed (-close_fd_mask=3):
# the menus it drives print a great deal; libFuzzer's own report stays. A
# small quarantine keeps the resident size near 100 MB instead of 500.
ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=32 "$dir/tests/fuzz/fuzz_$harness" \
  -max_total_time="$seconds" -runs="$runs" -close_fd_mask=3 -max_len=8192 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$dir/findings/$harness-" \
  "$dir/corpus/$harness" "$PWD/tests/fuzz/corpus/$harness"
