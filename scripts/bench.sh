#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks into build/ (or $ZF_BUILD_DIR) and runs each of
# them once; they print timings and never fail on them. At the end, every figure beside its floor
# (or its limit) and the ratio of the medians, as the benchmarks reported them in this run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZF_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DZF_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" --target benchmarks bench_startup -j"$(nproc)"
# The start-up measurement shows windows; offscreen it needs no display.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# The network and load benchmarks use the local Firebird server, started as for the tests when
# none runs (and stopped afterwards only then); without one they say so and measure nothing.
# shellcheck source=firebird-server.sh
source "$root/scripts/firebird-server.sh"
fb_server_start
results=$(mktemp)
trap 'fb_server_stop; rm -f "$results"' EXIT
for bench in "$build"/bench/bench_*; do
  [ -f "$bench" ] && [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  # A benchmark that fails still leaves the others to run; its figures are missing below.
  "$bench" | tee -a "$results" || echo "   $(basename "$bench") failed"
done
echo
echo "== Figures against their floors (medians; ratio = ours / floor)"
grep '^RESULT |' "$results" | sed 's/^RESULT | //' || echo "   no figures"
