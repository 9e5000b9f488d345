#!/usr/bin/env bash
# Quick start, first command: installs what is missing, builds, and starts
# the program on a fresh copy of the demo fact base (demo/base stays clean).
# With a display the program runs there until you close it; without one it
# runs under Xvfb, opens the fact base browser (F1), saves a screenshot, says
# where, and ends the program with F4. Safe to run again.
set -euo pipefail
source "$(dirname "$0")/prepare.sh"

# The copy lives on the prefix's drive C:, so the program shows the neutral
# base root "C:\Факты" rather than a path of this machine.
base="$WINEPREFIX/drive_c/Факты"
rm -rf "$base"
cp -r "$root/demo/base" "$base"
find "$base" -name .keep -delete  # git's placeholder for an empty folder is no part of a base
cd "$base"
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8

if [ -z "${FACTS_XVFB_PID:-}" ]; then
    echo "Starting the program on $base, C:\\Факты in Wine (close it with F4 or ВЫХОД)."
    wine "$FACTS_BUILD/facts.exe"
    exit 0
fi

wine "$FACTS_BUILD/facts.exe" </dev/null >/dev/null 2>&1 &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name 'Сбор и систематизация фактов Тарвелии' | head -n 1)
xdotool windowfocus "$window" 2>/dev/null || true
xdotool key F1
timeout 10 xdotool search --sync --onlyvisible --name '^БАЗА ФАКТОВ$' >/dev/null || true
shot="$FACTS_BUILD/demo-screenshot.png"
import -window root "$shot"
echo "No display here: the program ran under Xvfb on $base (C:\\Факты in Wine)."
echo "Screenshot of the main window with the fact base browser: $shot"
xdotool windowfocus "$window" 2>/dev/null || true
xdotool key F4
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill "$pid" 2>/dev/null || true
