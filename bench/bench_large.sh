#!/bin/bash
# Time and peak memory of indexing, opening, searching and finding
# duplicates on large generated data, each beside the shell command it
# stands in for, run under the same UTF-8 locale (where sort -f and grep -i
# fold case as Unicode text, as the program does).
#
#   bench/bench_large.sh BUILD_DIR WORK_DIR [small|all|huge|huge-only|singles|viewall]
#
# BUILD_DIR is a Release build. The data is generated into WORK_DIR the
# first time (about 12 GB of free disk for "all", mostly the 1.2 GB catalog
# and the 10,000,000-entry library; the tree's files are sparse) and reused
# afterwards. "small" leaves out the million-file tree and the
# 10,000,000-entry library (and View All Catalogs on it in the window,
# with QT_QPA_PLATFORM=offscreen); "huge" adds a library of 50,000,000 entries in
# 2,500 catalogs (4.7 GB more, and as much memory to keep it cached);
# "huge-only" runs the searches and duplicates on that library alone.
# "singles" runs only the single-copy answers beside dupes, on the
# 2,000,000- and 10,000,000-entry libraries; "viewall" only View All
# Catalogs on the 10,000,000-entry library.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 BUILD_DIR WORK_DIR [small|all|huge|huge-only|singles|viewall]" >&2
    exit 2
fi
build=$(realpath "$1")
work=$(realpath -m "$2")
scope=${3:-all}
cli="$build/kestrovane-cli"
gen="$build/bench/bench_generate"
export LC_ALL=C.UTF-8
mkdir -p "$work"

mb() { awk -v b="$1" 'BEGIN { printf "%.0f", b / 1048576 }'; }

# Runs a command; sets secs, kb, cpu (user and system seconds, all threads)
# and outBytes (the size of its output).
measure() {
    if ! /usr/bin/time -f "%e %M %U %S" -o "$work/.time" "$@" > "$work/.out" 2> "$work/.err"; then
        echo "failed: $*" >&2
        cat "$work/.err" >&2
        exit 1
    fi
    local user sys
    read -r secs kb user sys < "$work/.time"
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')
    outBytes=$(stat -c %s "$work/.out")
    rm -f "$work/.out"
}

# what, data bytes (0: the size of our output), our command, reference
# command (a shell line), time target
compare() {
    local what=$1 bytes=$2 ours=$3 reference=$4 target=$5
    measure sh -c "$ours"
    local oursSecs=$secs oursKb=$kb oursCpu=$cpu
    [ "$bytes" != 0 ] || bytes=$outBytes
    measure sh -c "$reference"
    printf '%-44s ours %7.2f s %6d MB (%.2fx %s MB)   reference %7.2f s %6d MB   time %.2fx (target %s)   processor %.1f s beside %.1f s   load %s\n' \
        "$what" "$oursSecs" $((oursKb / 1024)) "$(awk -v k="$oursKb" -v b="$bytes" 'BEGIN { print k * 1024 / b }')" "$(mb "$bytes")" \
        "$secs" $((kb / 1024)) "$(awk -v a="$oursSecs" -v b="$secs" 'BEGIN { print a / b }')" "$target" \
        "$oursCpu" "$cpu" "$(cut -d' ' -f1 /proc/loadavg)"
}

# what, data bytes, our command: for work without a reference
alone() {
    measure sh -c "$3"
    printf '%-44s ours %7.2f s %6d MB (%.2fx %s MB)\n' "$1" "$secs" $((kb / 1024)) \
        "$(awk -v k="$kb" -v b="$2" 'BEGIN { print k * 1024 / b }')" "$(mb "$2")"
}

# View All Catalogs in the window: the program prints its own figures,
# beside `cat | sort -f` of the same catalog files.
viewAll() { # library, what
    local viewer="$build/bench/bench_viewall"
    if [ ! -x "$viewer" ]; then
        echo "View All, $2: skipped (a build without the window has no bench_viewall)"
        return
    fi
    warm "$work/$1"
    echo "View All Catalogs in the window, $2:"
    QT_QPA_PLATFORM=offscreen "$viewer" "$work/$1" 2> /dev/null | sed 's/^/    /'
}

tree() { # name files folders path-bytes
    [ -d "$work/$1" ] || "$gen" tree "$work/$1" "$2" --folders "$3" --path-bytes "$4" > /dev/null
}

library() { # name entries catalogs path-bytes
    [ -d "$work/$1/Catalogs" ] || "$gen" library "$work/$1" "$2" --catalogs "$3" --path-bytes "$4" > /dev/null
}

findSorted() {
    echo "find '$work/$1' -type f -printf '\"%f\",\"%s\",\"%Tm/%Td/%TY %TH:%TM\",\"%h/\",\"\"\\r\\n' | sort -f"
}

catalogBytes() { du -cb "$1"/Catalogs/*.TXT | tail -1 | cut -f1; }

warm() { cat "$1"/Catalogs/*.TXT > /dev/null; }

queries() { # library, what[, targets of many hits, few hits, duplicates]
    local lib="$work/$1" bytes
    bytes=$(catalogBytes "$lib")
    warm "$lib"
    # A search's memory is set beside the results it keeps (its output).
    compare "search many hits, $2" 0 \
        "'$cli' --library '$lib' search --word '*report*'" "grep -hi report '$lib'/Catalogs/*.TXT | sort -f" "${3:-<= 1.2}"
    compare "search few hits, $2" 0 \
        "'$cli' --library '$lib' search --word '*readme*'" "grep -ci readme '$lib'/Catalogs/*.TXT" "${4:-<= 1.5}"
    compare "duplicates, $2" "$bytes" \
        "'$cli' --library '$lib' dupes" "sort -f '$lib'/Catalogs/*.TXT | uniq -i -D -w 30" "${5:-<= 0.7}"
    [ "$scope" = huge-only ] || singles "$1" "$2"
}

# single-copies and only-in (one catalog against all the others) beside
# dupes on the same catalogs: each should take at most its time and its
# peak memory. single-copies writes most of the library where dupes writes
# a twentieth of it, so its output goes to /dev/null, as dupes' does here.
singles() { # library, what
    local lib="$work/$1" dupesSecs dupesKb
    warm "$lib"
    measure sh -c "'$cli' --library '$lib' dupes > /dev/null"
    dupesSecs=$secs dupesKb=$kb
    printf '%-44s      %7.2f s %6d MB\n' "dupes, $2" "$dupesSecs" $((dupesKb / 1024))
    for run in single-copies "only-in 'Volume 000'"; do
        measure sh -c "'$cli' --library '$lib' $run > /dev/null"
        printf '%-44s ours %7.2f s %6d MB   beside dupes: time %.2fx, memory %.2fx (target <= 1, <= 1)\n' \
            "${run%% *}, $2" "$secs" $((kb / 1024)) "$(awk -v a="$secs" -v b="$dupesSecs" 'BEGIN { print a / b }')" \
            "$(awk -v a="$kb" -v b="$dupesKb" 'BEGIN { print a / b }')"
    done
}

if [ "$scope" = viewall ]; then
    library lib10M 10000000 500 20
    viewAll lib10M "10,000,000 entries"
    exit 0
fi

if [ "$scope" = singles ]; then
    library lib2M 2000000 100 20
    library lib10M 10000000 500 20
    singles lib2M "2,000,000 entries"
    singles lib10M "10,000,000 entries"
    exit 0
fi

if [ "$scope" = huge-only ]; then
    library lib50M 50000000 2500 20
    queries lib50M "50,000,000 entries" "<= 0.6" "<= 0.5" "<= 0.5"
    exit 0
fi

echo "Generating what is missing in $work ..."
tree tree200k 200000 2000 80
tree tree100k-deep 100000 5000 260
library lib2M 2000000 100 20
library lib150k-1KB 150000 1 900
if [ "$scope" != small ]; then
    tree tree1M-deep 1000000 5000 1100
    library lib10M 10000000 500 20
fi
if [ "$scope" = huge ]; then
    library lib50M 50000000 2500 20
fi
echo "Peak memory is given beside the size of the catalog files involved."

# The tree's folders and file records in the cache before either run, so
# that the first of the two does not pay for reading them from the disk.
warmTree() { find "$1" -printf '%s\n' > /dev/null; }

indexTree() { # tree, what[, time target]
    local lib="$work/lib-$1"
    rm -rf "$lib"
    warmTree "$work/$1"
    measure sh -c "'$cli' --library '$lib' index '$work/$1' --name '$1' --category Bench"
    local oursSecs=$secs oursKb=$kb bytes
    bytes=$(stat -c %s "$lib/Catalogs/$1.TXT")
    measure sh -c "$(findSorted "$1")"
    printf '%-44s ours %7.2f s %6d MB (%.2fx catalog of %s MB)   reference %7.2f s %6d MB   time %.2fx (target %s)\n' \
        "index $2" "$oursSecs" $((oursKb / 1024)) "$(awk -v k="$oursKb" -v b="$bytes" 'BEGIN { print k * 1024 / b }')" \
        "$(mb "$bytes")" "$secs" $((kb / 1024)) "$(awk -v a="$oursSecs" -v b="$secs" 'BEGIN { print a / b }')" \
        "${3:-<= 1.5}"
    alone "show $2" "$bytes" "'$cli' --library '$lib' show '$1'"
}

indexTree tree200k "200,000 files"
indexTree tree100k-deep "100,000 files, 5,000 deep folders"
alone "show 150,000 lines of 1 KB" "$(catalogBytes "$work/lib150k-1KB")" \
    "'$cli' --library '$work/lib150k-1KB' show 'Volume 000'"
for how in "" --no-name; do
    compare "duplicates $how, 150,000 lines of 1 KB" "$(catalogBytes "$work/lib150k-1KB")" \
        "'$cli' --library '$work/lib150k-1KB' dupes $how" \
        "sort -f '$work/lib150k-1KB'/Catalogs/*.TXT | uniq -i -D -w 30" "<= 0.7, memory <= 2x"
done
queries lib2M "2,000,000 entries"
if [ "$scope" != small ]; then
    indexTree tree1M-deep "1,000,000 files, deep paths" "<= 0.4"
    lib="$work/lib-tree1M-deep"
    compare "search many hits, 1.2 GB catalog" 0 \
        "'$cli' --library '$lib' search --word '*report*'" "grep -hi report '$lib'/Catalogs/*.TXT | sort -f" "<= 1.2"
    queries lib10M "10,000,000 entries"
    viewAll lib10M "10,000,000 entries"
fi
if [ "$scope" = huge ]; then
    queries lib50M "50,000,000 entries" "<= 0.6" "<= 0.5" "<= 0.5"
fi
