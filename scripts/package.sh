#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package of the program with CPack.
#
#   scripts/package.sh [--no-build] [OUTPUT_FOLDER]
#
# The package goes into OUTPUT_FOLDER (default: build/package) and its path is printed last.
# --no-build packages the build folder as it is (used by the tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZF_BUILD_DIR:-$root/build}
out=
no_build=0
for arg in "$@"; do
  case $arg in
    --no-build) no_build=1 ;;
    -*) echo "unknown option: $arg" >&2; exit 2 ;;
    *) out=$arg ;;
  esac
done
out=${out:-$build/package}

if [ "$no_build" = 0 ]; then
  "$root/scripts/setup.sh"
  "$root/scripts/build.sh"
fi
[ -f "$build/CPackConfig.cmake" ] || { echo "no configured build in $build" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)
(cd "$build" && cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1) || {
  cat "$out/cpack.log" >&2
  exit 1
}
deb=$(ls -t "$out"/zefirant_*.deb | head -1)
echo "$deb"
