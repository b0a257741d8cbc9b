#!/bin/sh
# Builds the libFuzzer targets of tests/fuzz with clang in build-fuzz and runs
# each for a bounded time (seconds, first argument, default 30). A crash or a
# broken invariant fails the script and leaves the input in
# build-fuzz/artifacts; copy it into tests/fuzz/regressions/<target>/ so the
# regular test suite replays it from then on.
set -e
cd "$(dirname "$0")/.."
SECONDS_EACH="${1:-30}"
TARGETS="zip commatext mastertree settings date"

CXX=clang++ cmake -S . -B build-fuzz -DKESTROVANE_FUZZ=ON -DKESTROVANE_WIDGETS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target kestrovane_fuzzers

mkdir -p build-fuzz/artifacts
for target in $TARGETS; do
    # New inputs go to the scratch folder (the first one), never into the
    # committed seeds.
    scratch="build-fuzz/corpus/$target"
    mkdir -p "$scratch" "tests/fuzz/regressions/$target"
    echo "fuzzing $target for ${SECONDS_EACH}s"
    if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "build-fuzz/tests/fuzz/fuzz_$target" -max_total_time="$SECONDS_EACH" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$target-" \
        "$scratch" "tests/fuzz/corpus/$target" "tests/fuzz/regressions/$target" \
        >"build-fuzz/$target.log" 2>&1; then
        tail -n 60 "build-fuzz/$target.log"
        echo "fuzz target $target failed; the input is in build-fuzz/artifacts/" >&2
        exit 1
    fi
    grep -E '^stat::number_of_executed_units|^Done' "build-fuzz/$target.log" || true
done
