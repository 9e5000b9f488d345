#!/usr/bin/env bash
# Builds, starts the program on the demo base under a private Xvfb, walks the
# browser down to a fact with real clicks, shows its main text and saves the
# picture the README shows: docs/screenshot.png (or the path given).
set -euo pipefail
unset DISPLAY  # always a private display, of a known size
source "$(dirname "$0")/prepare.sh"
out=${1:-$root/docs/screenshot.png}
base="$WINEPREFIX/drive_c/Факты"
rm -rf "$base"
cp -r "$root/demo/base" "$base"
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
source "$root/tools/e2e-lib.sh"

(cd "$base" && exec wine "$FACTS_BUILD/facts.exe" </dev/null >/dev/null 2>&1) &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; facts_session_cleanup' EXIT
timeout 30 xdotool search --sync --onlyvisible --name 'Сбор и систематизация фактов Тарвелии' >/dev/null
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
press_on_main F1 xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' >/dev/null || fail "F1 did not open the browser"
browser_geometry "$(xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' | head -n 1)"

# Города › Столица › Районы › Старый город › Ратуша (rows below "..").
click_browser_row 1 1
click_browser_row 2 2
click_browser_row 3 1
click_browser_row 4 1
click_browser_row 5 2
click_browser_row 5 2 2
shot=$(mktemp --suffix=.png)
shows_text() {
    import -window root "$shot"
    # the text view's first line is dark once the text is drawn
    [ "$(convert "$shot" -crop "200x10+$(browser_at 280 13 | tr ' ' '+')" -format '%[fx:minima.r<0.3]' info:)" = 1 ]
}
wait_until 10 shows_text || fail "the main text did not show"
convert "$shot" -crop 1100x720+0+0 +repage "$out"
rm -f "$shot"
echo "saved $out"
press_on_main F4 bash -c "! kill -0 $pid 2>/dev/null" || true
