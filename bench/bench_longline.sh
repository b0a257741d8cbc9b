#!/bin/bash
# Time and peak memory of reading commands when one line of a library file
# is huge: a catalog line, a Master.TXT line and an information line of
# SIZE_MB megabytes each (default 200). Peak memory is set beside the
# line's size; a long line should cost at most about three times that.
#
#   bench/bench_longline.sh BUILD_DIR WORK_DIR [SIZE_MB]
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 BUILD_DIR WORK_DIR [SIZE_MB]" >&2
    exit 2
fi
cli="$(realpath "$1")/kestrovane-cli"
work=$(realpath -m "$2")
size=$((${3:-200} * 1048576))
export LC_ALL=C.UTF-8

# A run of letters without a line break, size bytes long.
letters() { head -c "$size" /dev/zero | tr '\0' "$1"; }

# library name, how its one long line is placed
make_library() {
    local lib="$work/$1"
    [ -d "$lib" ] && return
    mkdir -p "$lib/Catalogs"
    local entry='"small.txt","1","01/01/2024 00:00","/p/",""'
    printf '"1","0Long","0Long"\r\n' > "$lib/Master.TXT"
    printf '%s\r\n' "$entry" > "$lib/Catalogs/Long.TXT"
    : > "$lib/Catalogs/Master"
    case $2 in
    catalog) # a damaged catalog line: one unquoted field
        { letters x; printf '\r\n'; } >> "$lib/Catalogs/Long.TXT" ;;
    comment) # an entry whose comment is the long field, of the small one's size and date
        { printf '"big.txt","1","01/01/2024 00:00","/p/","'; letters c; printf '"\r\n'; } \
            >> "$lib/Catalogs/Long.TXT" ;;
    tree) { letters t; printf '\r\n'; } >> "$lib/Master.TXT" ;;
    info) { printf 'Long\r\n"'; letters i; printf '"\r\n'; } > "$lib/Catalogs/Master" ;;
    esac
}

run() { # what, library, command...
    local what=$1 lib="$work/$2"
    shift 2
    if ! /usr/bin/time -f "%e %M" -o "$work/.time" "$cli" --library "$lib" "$@" > /dev/null 2> "$work/.err"; then
        echo "failed: $what" >&2
        cat "$work/.err" >&2
        exit 1
    fi
    read -r secs kb < "$work/.time"
    printf '%-36s %7.2f s %6d MB (%.2fx the line)\n' "$what" "$secs" $((kb / 1024)) \
        "$(awk -v k="$kb" -v b="$size" 'BEGIN { print k * 1024 / b }')"
}

echo "Generating what is missing in $work ..."
for kind in catalog comment tree info; do
    make_library "$kind" "$kind"
done
echo "One line of $((size / 1048576)) MB:"
run "show, damaged catalog line" catalog show Long
run "show --sort name, damaged line" catalog show Long --sort name
run "search, damaged catalog line" catalog search --word '*small*'
run "dupes, damaged catalog line" catalog dupes
run "dupes --no-name, damaged line" catalog dupes --no-name
run "show, long comment" comment show Long
run "dupes --no-name, long comment" comment dupes --no-name
run "tree, long Master.TXT line" tree tree
run "report, long information line" info report
