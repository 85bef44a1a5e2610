#!/usr/bin/env bash
# Configures and builds into build/ (or $ZF_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZF_BUILD_DIR:-$root/build}
werror=OFF
if [ "${CI:-}" = true ]; then werror=ON; fi
cmake -S "$root" -B "$build" -DZF_WERROR=$werror >/dev/null
cmake --build "$build" -j"$(nproc)"
