#!/usr/bin/env bash
# Builds and runs the fuzz targets.
#   fuzz/run.sh TARGET SECONDS     one target (standard_scan, advanced_scan, snapshot_load, ...)
#   fuzz/run.sh all SECONDS        each in turn
# Fails on any finding (crash, sanitizer report, leak, timeout). Findings land in fuzz/out/.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 2 ] || { echo "usage: fuzz/run.sh TARGET|all SECONDS" >&2; exit 2; }
target=$1
seconds=$2
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKELVARA_FUZZ=ON -DKELVARA_BUILD_TESTS=OFF -DKELVARA_BUILD_BENCH=OFF -DKELVARA_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

all_targets=$(sed -n 's/^kelvara_fuzz_target(fuzz_\(.*\))$/\1/p' fuzz/CMakeLists.txt)
if [ "$target" = all ]; then targets=$all_targets; else targets=$target; fi

seeds=$build/seeds
rm -rf "$seeds"
"$build/fuzz/make_seeds" "$seeds"
mkdir -p fuzz/out

for t in $targets; do
  corpus=$build/corpus/$t
  mkdir -p "$corpus"
  [ -d "$seeds/$t" ] && cp -n "$seeds/$t"/* "$corpus"/ 2>/dev/null || true
  [ -d "tests/regressions/$t" ] && cp -n "tests/regressions/$t"/* "$corpus"/ 2>/dev/null || true
  max_len=65536
  # Saving writes every recovered file: keep those inputs small enough to stay quick.
  [ "$t" = extract ] && max_len=16384
  echo "fuzz: $t for ${seconds}s" >&2
  # A scan must end in time proportional to the image: inputs are at most 64 KiB, so 10 s is a hang.
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$build/fuzz/fuzz_$t" "$corpus" -max_total_time="$seconds" -max_len=$max_len -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="fuzz/out/$t-" -print_final_stats=1 2>"$build/fuzz-$t.log" \
    || { tail -60 "$build/fuzz-$t.log" >&2; echo "fuzz: $t found a problem (see fuzz/out/)" >&2; exit 1; }
  grep -E "stat::number_of_executed_units|stat::average_exec_per_sec|cov:" "$build/fuzz-$t.log" | tail -3 >&2
done
