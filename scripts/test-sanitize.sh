#!/usr/bin/env bash
# Builds everything with clang, AddressSanitizer and UndefinedBehaviorSanitizer into a build
# folder of its own (build-sanitize/, or $ZF_SANITIZE_BUILD_DIR) and runs every test through
# CTest again, with the local Firebird server as scripts/test.sh starts it. A test fails on the
# first sanitizer finding and on a leak at its exit; the suppressions come from fuzz/lsan.supp.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZF_SANITIZE_BUILD_DIR:-$root/build-sanitize}
ZF_SETUP_CLANG=1 "$root/scripts/setup.sh"

# ccache speeds up a rebuild where it is installed; nothing needs it.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# The benchmarks are not tests, and the normal build already compiles them.
cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DZF_SANITIZE=ON -DZF_WERROR=ON -DZF_BUILD_BENCHMARKS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"

# shellcheck source=firebird-server.sh
source "$root/scripts/firebird-server.sh"
fb_server_start
trap fb_server_stop EXIT

# Stacks with every undefined-behaviour report, which stops the test (-fno-sanitize-recover).
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
