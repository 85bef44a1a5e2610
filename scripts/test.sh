#!/usr/bin/env bash
# Installs what is missing, builds, starts a local Firebird server for the shared-database tests
# when none is running (and stops only the one it started), and runs every test through CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZF_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

# shellcheck source=firebird-server.sh
source "$root/scripts/firebird-server.sh"
fb_server_start
trap fb_server_stop EXIT

cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
