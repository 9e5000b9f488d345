#!/usr/bin/env bash
# Builds, starts the program on the demo base under a private Xvfb, walks the
# browser down to a fact with real clicks, shows its main text and saves the
# picture the README shows: docs/screenshot.png (or the path given); then the
# search (F5) and the base check (F6) for the user guide, into docs/guide
# (or the folder given second).
# FACTS_DPI=144 takes it at 150 % scaling, on a display large enough.
set -euo pipefail
unset DISPLAY  # always a private display, of a known size
dpi=${FACTS_DPI:-96}
[ "$dpi" = 96 ] || export FACTS_SCREEN=${FACTS_SCREEN:-$((1280 * dpi / 96))x$((1024 * dpi / 96))}
source "$(dirname "$0")/prepare.sh"
out=${1:-$root/docs/screenshot.png}
guide=${2:-$root/docs/guide}
mkdir -p "$guide"
base="$WINEPREFIX/drive_c/Факты"
rm -rf "$base"
cp -r "$root/demo/base" "$base"
find "$base" -name .keep -delete  # git's placeholder for an empty folder is no part of a base
# Wine's scaling, for this picture only.
set_dpi() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
set_dpi "$dpi"
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
source "$root/tools/e2e-lib.sh"

(cd "$base" && exec wine "$FACTS_BUILD/facts.exe" </dev/null >/dev/null 2>&1) &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; set_dpi 96; facts_session_cleanup' EXIT
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
convert "$shot" -crop $((1100 * dpi / 96))x$((720 * dpi / 96))+0+0 +repage "$out"
rm -f "$shot"
echo "saved $out"

# The search, with a word typed (xdotool types Cyrillic through a keymap of its own).
# window_shot TITLE FILE: the window once its picture has stopped changing.
window_shot() {
    settled_shot "$2" "$(xdotool search --onlyvisible --name "^$1\$" | head -n 1)" 10 || fail "'$1' kept changing"
    echo "saved $2"
}
press_on_main F5 xdotool search --onlyvisible --name '^ПОИСК ФАКТОВ$' >/dev/null || fail "F5 did not open the search"
xdotool type --delay 300 'город'
# The list fills as the typing goes: its picture settles once the last word's search is in.
window_shot 'ПОИСК ФАКТОВ' "$guide/search.png"
press_on_main F6 xdotool search --onlyvisible --name '^ПРОВЕРКА БАЗЫ$' >/dev/null || fail "F6 did not open the check"
window_shot 'ПРОВЕРКА БАЗЫ' "$guide/check.png"
press_on_main F4 bash -c "! kill -0 $pid 2>/dev/null" || true
