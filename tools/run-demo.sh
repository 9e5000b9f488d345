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

source "$root/tools/e2e-lib.sh"
wine "$FACTS_BUILD/facts.exe" </dev/null >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; facts_session_cleanup' EXIT
timeout 30 xdotool search --sync --onlyvisible --name 'Сбор и систематизация фактов Тарвелии' >/dev/null \
    || fail "the main window did not show"
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
press_on_main F1 shown 'БАЗА ФАКТОВ' || fail "F1 did not open the fact base browser"
browser_geometry "$(xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' | head -n 1)"
# The picture is taken once the browser has drawn its lists and its last
# control, and the screen has stopped changing.
shot="$FACTS_BUILD/demo-screenshot.png"
painted_and_settled() { settled_shot "$shot" root 3 && browser_painted "$shot"; }
wait_until 20 painted_and_settled || fail "the browser did not finish drawing within 20 s"
echo "No display here: the program ran under Xvfb on $base (C:\\Факты in Wine)."
echo "Screenshot of the main window with the fact base browser: $shot"
press_on_main F4 program_ended || fail "the program still runs after F4"
