#!/usr/bin/env bash
# Installs what is missing, builds, and runs Kelvara: the desktop program without arguments,
# kelvara-cli with them.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" >/dev/null

if [ $# -gt 0 ]; then
  exec build/cli/kelvara-cli "$@"
fi
if [ -x build/app/kelvara ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/app/kelvara
fi
if [ -x build/app/kelvara ]; then
  echo "run.sh: no display found, so the desktop program cannot start; here is the command line instead." >&2
else
  echo "run.sh: the desktop program is not built yet; here is the command line instead." >&2
fi
build/cli/kelvara-cli --help
