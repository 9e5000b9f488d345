#!/usr/bin/env bash
# Builds the project and runs the folder-list benchmark under Wine (Russian
# code page). The folders it makes stay in the build's Wine prefix, so a
# second run starts at once.
set -euo pipefail
source "$(dirname "$0")/prepare.sh"
FACTS_LANG=ru_RU.UTF-8 "$root/tools/wine-run" "$FACTS_BUILD/bench/folder_list_bench.exe"
