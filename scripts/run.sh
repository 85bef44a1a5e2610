#!/usr/bin/env bash
# Installs what is missing, builds and starts the program; arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
exec "${ZF_BUILD_DIR:-$root/build}/bin/zefirant" "$@"
