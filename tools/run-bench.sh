#!/usr/bin/env bash
# Builds the project and runs the benchmarks under Wine (Russian code page):
# the folder-list fill, then the search index. The bases they make stay in
# the build's Wine prefix, so a second run starts at once.
#   tools/run-bench.sh [folders|search|move|watch|export|capture|import|search-program]
# (default: all but search-program, which starts the program a few times on
# a base of 20,000 facts; FACTS_SEARCH_PROGRAM_RUNS sets how many of each)
set -euo pipefail
source "$(dirname "$0")/prepare.sh"
which=${1:-all}
status=0
if [ "$which" = all ] || [ "$which" = folders ]; then
    FACTS_LANG=ru_RU.UTF-8 "$root/tools/wine-run" "$FACTS_BUILD/bench/folder_list_bench.exe"
fi
if [ "$which" = all ] || [ "$which" = search ]; then
    # One process a base, so that each row's peak working set is its own.
    header=
    for base in ${FACTS_SEARCH_BENCH_BASES:-regular:5000 collection:5000 regular:20000 collection:20000}; do
        FACTS_LANG=ru_RU.UTF-8 "$root/tools/wine-run" "$FACTS_BUILD/bench/search_bench.exe" \
            "${base%%:*}" "${base##*:}" $header || status=1
        header=--no-header
    done
fi
if [ "$which" = all ] || [ "$which" = move ]; then
    FACTS_LANG=ru_RU.UTF-8 "$root/tools/wine-run" "$FACTS_BUILD/bench/move_bench.exe"
fi
if [ "$which" = all ] || [ "$which" = watch ]; then
    FACTS_LANG=ru_RU.UTF-8 "$root/tools/wine-run" "$FACTS_BUILD/bench/watch_bench.exe" ${FACTS_WATCH_BENCH_SIZES:-5 50}
fi
if [ "$which" = all ] || [ "$which" = export ]; then
    FACTS_LANG=ru_RU.UTF-8 "$root/tools/wine-run" "$FACTS_BUILD/bench/export_bench.exe"
fi
if [ "$which" = all ] || [ "$which" = capture ]; then
    FACTS_LANG=ru_RU.UTF-8 "$root/tools/wine-run" "$FACTS_BUILD/bench/capture_bench.exe"
fi
if [ "$which" = all ] || [ "$which" = import ]; then
    FACTS_LANG=ru_RU.UTF-8 "$root/tools/wine-run" "$FACTS_BUILD/bench/import_bench.exe" ${FACTS_IMPORT_BENCH_FILES:-10000}
fi
if [ "$which" = search-program ]; then
    FACTS_LANG=ru_RU.UTF-8 "$root/tools/wine-run" "$FACTS_BUILD/bench/search_program_bench.exe" \
        ${FACTS_SEARCH_PROGRAM_RUNS:-3} || status=1
fi
exit $status
