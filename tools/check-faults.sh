#!/bin/sh
# Puts each deliberate fault of tests/faults into a scratch copy of the tree
# in turn, builds the test programs that should catch it and runs them, and
# prints one line per fault: "caught" (and by which test) or "MISSED".
#
#   tools/check-faults.sh [--sample N] [FAULT ...]
#
# With FAULT files only those are checked; with --sample N, N faults chosen
# by today's date (so every run of a day checks the same ones). The working
# tree is never changed: the scratch copy and its one build folder live in
# build-faults/. Exits 1 when a fault is missed or cannot be applied.
set -e
cd "$(dirname "$0")/.."
ROOT=$(pwd)
SCRATCH="$ROOT/build-faults/tree"
BUILD="$ROOT/build-faults/build"

sample=0
if [ "$1" = "--sample" ]; then
    sample="$2"
    shift 2
fi
if [ $# -gt 0 ]; then
    faults="$*"
elif [ "$sample" -gt 0 ]; then
    faults=$(ls tests/faults/*.fault | python3 -c "
import sys, random, datetime
faults = sys.stdin.read().split()
random.Random(datetime.date.today().toordinal()).shuffle(faults)
print(' '.join(sorted(faults[:$sample])))")
else
    faults=$(ls tests/faults/*.fault)
fi

# The scratch tree mirrors the sources. A file is copied only when its
# content differs, and then with a fresh time, so the build redoes exactly what
# changed since the last run (a fault's file included).
mkdir -p "$SCRATCH"
(cd "$ROOT" && find src tests bench packaging tools CMakeLists.txt -type f) | while read -r f; do
    if ! cmp -s "$ROOT/$f" "$SCRATCH/$f"; then
        mkdir -p "$SCRATCH/$(dirname "$f")"
        cp "$ROOT/$f" "$SCRATCH/$f"
    fi
done
(cd "$SCRATCH" && find src tests bench packaging tools -type f) | while read -r f; do
    [ -e "$ROOT/$f" ] || rm -f "$SCRATCH/$f"
done
# Configured on every run, so test programs added since the last one exist
# before a fault's build names them.
cmake -S "$SCRATCH" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKESTROVANE_WIDGETS="${KESTROVANE_WIDGETS:-ON}" >/dev/null

missed=0
for fault in $faults; do
    name=$(basename "$fault" .fault)
    file=$(sed -n 's/^file: //p' "$fault")
    tests=$(sed -n 's/^tests: //p' "$fault")
    cp "$ROOT/$file" "$SCRATCH/$file"
    if ! python3 "$ROOT/tools/apply-fault.py" "$fault" "$SCRATCH/$file"; then
        echo "$name: CANNOT APPLY (the text to find is not in $file once)"
        missed=$((missed + 1))
        continue
    fi
    targets=$(echo "$tests" | tr ' /' '\n_' | grep . || true)
    caught=""
    if ! cmake --build "$BUILD" -j"$(nproc)" --target kestrovane-cli $targets >"$BUILD/$name.log" 2>&1; then
        caught="the build"
    else
        for test in $tests; do
            if ! QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 TZ=UTC timeout -k 10 300 \
                "$BUILD/tests/$(echo "$test" | tr / _)" >>"$BUILD/$name.log" 2>&1; then
                caught="$caught $test"
            fi
        done
    fi
    cp "$ROOT/$file" "$SCRATCH/$file"
    if [ -n "$caught" ]; then
        echo "$name: caught by$caught"
    else
        echo "$name: MISSED ($(sed -n 's/^rule: //p' "$fault"))"
        missed=$((missed + 1))
    fi
done
[ "$missed" -eq 0 ]
