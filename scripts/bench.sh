#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks into build/ (or $ZF_BUILD_DIR) and runs each of
# them; they print timings and never fail on them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZF_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DZF_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" --target benchmarks bench_startup -j"$(nproc)"
# The start-up measurement shows windows; offscreen it needs no display.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for bench in "$build"/bench/bench_*; do
  [ -f "$bench" ] && [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench"
done
