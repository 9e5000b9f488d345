#!/usr/bin/env bash
# Quick start, second command: installs what is missing, builds, and runs
# every test under Wine, in the Russian and in the English code page.
# Exits non-zero on any failure. Safe to run again.
# FACTS_TEST_REPEAT=N runs the whole suite N times in one go.
set -euo pipefail
source "$(dirname "$0")/prepare.sh"

# The release archive, which the release tests unpack and start.
FACTS_SKIP_SETUP=1 "$root/tools/package.sh" "$FACTS_BUILD" >/dev/null

# A tiny file system that is full, for the test of a write that cannot finish.
FACTS_FULL_DISK_DIR="$FACTS_BUILD/full-disk"
mkdir -p "$FACTS_FULL_DISK_DIR"
umount "$FACTS_FULL_DISK_DIR" 2>/dev/null || true
if mount -t tmpfs -o size=64k tmpfs "$FACTS_FULL_DISK_DIR" 2>/dev/null; then
    printf 'old content\r\n' | iconv -f utf-8 -t cp1251 > "$FACTS_FULL_DISK_DIR/Описание.txt"
    dd if=/dev/zero of="$FACTS_FULL_DISK_DIR/filler" bs=1k count=1000 >/dev/null 2>&1 || true
    export FACTS_FULL_DISK="Z:$(printf '%s' "$FACTS_FULL_DISK_DIR" | tr / '\\')"
else
    echo "note: no tmpfs could be mounted; the full-disk test will be skipped"
    FACTS_FULL_DISK_DIR=
fi

# FACTS_TEST_REPEAT=N runs every test up to N times, stopping at its first failure.
repeat=()
if [ -n "${FACTS_TEST_REPEAT:-}" ]; then
    repeat=(--repeat "until-fail:$FACTS_TEST_REPEAT")
fi
cd "$FACTS_BUILD"
ctest --output-on-failure --timeout 600 "${repeat[@]}"
