#!/usr/bin/env bash
# Builds into build-asan with clang, AddressSanitizer, UndefinedBehaviorSanitizer
# and the libFuzzer targets, runs every test there headless, then runs each
# fuzz target on a copy of its seed corpus. Any report or finding fails the run.
#   scripts/sanitize.sh [SECONDS]   seconds per fuzz target (default 30, or
#                                   $RYDEX_FUZZ_SECONDS); 0 skips the fuzzing
# Findings (crash-*, leak-*, timeout-*, oom-* reproducers and the log) are kept
# in build-asan/fuzz-findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${RYDEX_FUZZ_SECONDS:-30}}
bash scripts/setup.sh

# A build directory configured with another compiler cannot be switched over.
if [ -f build-asan/CMakeCache.txt ] &&
   ! grep -q '^CMAKE_CXX_COMPILER:.*clang++' build-asan/CMakeCache.txt; then
    rm -rf build-asan
fi
# -O1 keeps the fuzzers quick; Debug keeps Qt's and the project's assertions.
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DRYDEX_WARNINGS_AS_ERRORS=ON -DRYDEX_FUZZ=ON \
    -DCMAKE_CXX_FLAGS="-O1 $sanitizers" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-asan -j"$(nproc)"

# The tests' PostgreSQL server, should ctest itself be killed.
work=""
cleanup() {
    bash scripts/test-server.sh stop build-asan/tests/test-server || true
    [ -z "$work" ] || rm -rf "$work"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/sanitizer-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-asan && ctest --output-on-failure --timeout 600 -j"$(nproc)")

[ "$seconds" -gt 0 ] || exit 0
findings=$PWD/build-asan/fuzz-findings
work=$(mktemp -d /tmp/rydex-fuzz-XXXXXX)
rm -rf "$findings"

# Runs one target for $seconds on a copy of its seeds; the copy grows with
# what the fuzzer finds interesting, the committed seeds stay as they are.
fuzz() {
    local name=$1 out=$findings/$1
    mkdir -p "$out" "$work/$name"
    cp -r "tests/fuzz/corpus/$name/." "$work/$name/"
    # abort_on_error would bypass libFuzzer's own reporting of the reproducer.
    if ASAN_OPTIONS="detect_leaks=1" \
       "build-asan/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 \
           -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/" \
           "$work/$name" >"$out/log.txt" 2>&1; then
        echo "fuzz_$name: ${seconds}s, $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$out/log.txt" | grep -o '[0-9]*$') runs, no finding"
        rm -rf "$out"
    else
        echo "fuzz_$name: FINDING, see $out/"
        tail -n 40 "$out/log.txt"
        return 1
    fi
}

# Two targets at a time: each fuzzer is one process on one core.
failed=0
running=0
for source in tests/fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    fuzz "${name#fuzz_}" &
    running=$((running + 1))
    if [ "$running" -ge 2 ]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=1
    running=$((running - 1))
done
[ "$failed" -eq 0 ] || { echo "fuzzing found faults"; exit 1; }
