#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (also under AddressSanitizer and UBSan).
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
JOBS=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$JOBS"
ctest --test-dir build --output-on-failure -j "$JOBS"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVARA_SANITIZE=ON \
  -DKELVARA_BUILD_BENCH=OFF -DKELVARA_BUILD_GUI=OFF >/dev/null
cmake --build build-asan -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$JOBS"

if [ -x fuzz/run.sh ] && [ "${KELVARA_SKIP_FUZZ:-0}" != 1 ]; then
  fuzz/run.sh all "${KELVARA_FUZZ_SECONDS:-20}"
fi
echo "test.sh: all tests passed"
