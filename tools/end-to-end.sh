#!/usr/bin/env bash
# The built program, started for real: found by its Russian title, shown
# maximised with the wallpaper stretched over it, ended by F4 with exit code 0.
#   end-to-end.sh PROGRAM.exe LOCALE ARTIFACT_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

source "$root/tools/e2e-lib.sh"
e2e_setup "$@"

cp "$root/demo/base/rus.bmp" "$base/"
mkdir "$base/Раздел"

(cd "$base" && exec wine "$program" </dev/null >/dev/null 2>&1) &
pid=$!

window=$(timeout 30 xdotool search --sync --onlyvisible --name 'Сбор и систематизация фактов Тарвелии' | head -n 1) \
    || fail "no visible window titled 'Сбор и систематизация фактов Тарвелии'"
title=$(xdotool getwindowname "$window")
[ "$title" = "Сбор и систематизация фактов Тарвелии" ] || fail "title reads '$title'"

# Maximised: the window covers the screen.
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -ge $((screen_w - 16)) ] && [ "$HEIGHT" -ge $((screen_h - 64)) ] \
    || fail "window is ${WIDTH}x${HEIGHT} on a ${screen_w}x${screen_h} screen"

shot="$artifacts/main-window-${locale%%.*}.png"
# The wallpaper's three bands, white, blue and red, fill the client area
# from top to bottom (the caption and the menu bar take the first pixels).
pixel() { convert "$shot" -crop "1x1+$1+$2" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]\n' info:; }
x=$((screen_w / 2))
bands_painted() {
    import -window root "$shot"
    local r g b
    read -r r g b < <(pixel "$x" $((screen_h * 30 / 100)))
    [ "$r" -gt 180 ] && [ "$g" -gt 180 ] && [ "$b" -gt 180 ] || { band="upper band is $r,$g,$b, not white"; return 1; }
    read -r r g b < <(pixel "$x" $((screen_h * 55 / 100)))
    [ "$b" -gt 100 ] && [ "$r" -lt 60 ] || { band="middle band is $r,$g,$b, not blue"; return 1; }
    read -r r g b < <(pixel "$x" $((screen_h * 90 / 100)))
    [ "$r" -gt 150 ] && [ "$g" -lt 80 ] || { band="lower band is $r,$g,$b, not red"; return 1; }
}
band=
wait_until 10 bands_painted || fail "$band"
echo "screenshot: $shot"

# F1 opens the browser, and the picture of it once the screen has settled
# shows it whole: its Section list's entry and its last control drawn, as
# the quick start's screenshot takes it.
press_on_main F1 shown 'БАЗА ФАКТОВ' || fail "F1 did not open 'БАЗА ФАКТОВ'"
browser_geometry "$(xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' | head -n 1)"
browser_shot="$artifacts/browser-${locale%%.*}.png"
painted_and_settled() { settled_shot "$browser_shot" root 3 && browser_painted "$browser_shot"; }
wait_until 20 painted_and_settled || fail "the browser did not finish drawing"
! near_uniform "$browser_shot" || fail "the settled picture of the browser is nearly one colour"
echo "screenshot: $browser_shot"

# F1, F2 and F3 open the browser, the category editor and the wizard's first
# step. The keys reach the main window only while it has the focus (the
# active dialog takes them otherwise), so each is pressed after a click on
# the wallpaper, where no dialog stands.
for key_and_title in "F1:БАЗА ФАКТОВ" "F2:CОЗДАНИЕ" "F3:Создание Факта - выбор папки"; do
    key=${key_and_title%%:*}
    title=${key_and_title#*:}
    press_on_main "$key" xdotool search --onlyvisible --name "^$title\$" >/dev/null \
        || fail "$key did not open '$title'"
done
import -window root "$artifacts/dialogs-${locale%%.*}.png"

# F4 ends the program with exit code 0, dialogs open or not.
press_on_main F4 program_ended || fail "the program still runs after F4"
code=0
wait "$pid" || code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
