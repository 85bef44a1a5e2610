#!/usr/bin/env bash
# Builds one libFuzzer target with clang, AddressSanitizer and UndefinedBehaviorSanitizer into a
# build folder of its own and runs it over its seed corpus for a while.
#   scripts/fuzz.sh NAME [seconds]     NAME: csv ini configdat script tips calendar planfile
#                                            planeditor template
# New inputs the fuzzer finds go to the build folder, never into the repository's seeds; a
# failing input is kept there as crash-* / leak-* and the script ends with the fuzzer's status.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
name=${1:?usage: scripts/fuzz.sh NAME [seconds]}
seconds=${2:-60}
build=${ZF_FUZZ_BUILD_DIR:-$root/../build-fuzz}
ZF_SETUP_FUZZ=1 "$root/scripts/setup.sh"
# Configured every time: a target added since the last run must be known to the build.
cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZF_FUZZ=ON -DZF_BUILD_TESTS=OFF \
  -DZF_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target "fuzz_$name" -j"$(nproc)"
seeds="$root/fuzz/corpus/$name"
work="$build/fuzz/corpus-$name"
mkdir -p "$work" "$build/fuzz/artifacts-$name"
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build/fuzz"
exec "./fuzz_$name" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -artifact_prefix="$build/fuzz/artifacts-$name/" "$work" "$seeds"
