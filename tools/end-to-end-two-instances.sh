#!/usr/bin/env bash
# Two instances of the built program on one base, as two people on a share:
# A writes a fact's text back and renames a Section while B shows them; B
# then acts on what A made, which works only if B's browser followed.
#   end-to-end-two-instances.sh PROGRAM.exe LOCALE ARTIFACT_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/e2e-lib.sh"
e2e_setup "$@"
pid_b=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; [ -z "$pid_b" ] || kill "$pid_b" 2>/dev/null || true; rm -rf "$base"' EXIT

fact="$base/Раздел/Тема/Подтема/Установка/Факт"
write_1251 "$fact/Описание.txt" 'Описание'
write_1251 "$fact/Факт.txt" 'Текст'
mkdir -p "$base/Глава"
view_text() { [ -f "$1" ] && [ "$(iconv -f cp1251 -t utf-8 "$1")" = "$2" ]; }
browsers() { xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' 2>/dev/null || true; }
mains() { xdotool search --onlyvisible --name '^Сбор и систематизация фактов Тарвелии$' 2>/dev/null || true; }

# The Section list reads "..", "Глава", "Раздел". Each category list: its
# first entry clicked, then End selects its last folder; a double click on
# the fact (the second row) shows its main text.
walk_to_main_text() {
    for level in 1 2 3 4; do
        click_browser_row "$level" 0
        xdotool key End
    done
    click_browser_row 5 1 2
}
# The text view: a click in it, Ctrl+End, the typing (Latin: xdotool may
# drop letters it has to map to a key first); then ИЗМЕНИТЬ ФАКТ,
# whose confirmation has OK as its default button.
append_and_write() {
    click_browser 400 100
    xdotool key ctrl+End
    xdotool type --delay 20 "$1"
    click_browser 570 371
    wait_until 5 shown 'Внимание!' || fail "ИЗМЕНИТЬ ФАКТ did not ask for confirmation"
    xdotool key Return
}
rename_first_section() {
    for _ in 1 2 3; do
        xdotool mousemove $(browser_at 60 $((BROWSER_LIST_TOPS[0] + 5 + 8))) click 3
        sleep 0.3
        xdotool key Down Return
        wait_until 3 shown 'ПЕРЕИМЕНОВАНИЕ' && break
    done
    shown 'ПЕРЕИМЕНОВАНИЕ' || fail "the list menu did not offer the rename"
    xdotool type --delay 30 "$1"
    xdotool key Return
}

# What B's browser paints in a rectangle (dialog units X Y W H), as a digest
# of the screen's pixels there: B shows its lists to the screen only.
painted() {
    local x y right bottom
    read -r x y < <(browser_at "$1" "$2")
    read -r right bottom < <(browser_at $(($1 + $3)) $(($2 + $4)))
    import -window root -crop "$((right - x))x$((bottom - y))+$x+$y" rgb:- 2>/dev/null | md5sum
}
# B's Section list and the first line of its text view.
b_picture() { painted 8 12 259 36; painted 276 12 398 16; }
# Both differ from how B showed them before A began, and hold still (a
# window half painted after A's windows went is not yet what B shows).
b_followed() {
    local now again
    now=$(b_picture)
    [ "$(sed -n 1p <<<"$now")" != "$(sed -n 1p <<<"$b_before")" ] || return 1
    [ "$(sed -n 2p <<<"$now")" != "$(sed -n 2p <<<"$b_before")" ] || return 1
    sleep 0.3
    again=$(b_picture)
    [ "$now" = "$again" ]
}

b_steady() {
    local now
    now=$(b_picture)
    sleep 0.3
    [ "$now" = "$(b_picture)" ] && b_before=$now
}

# B opens its browser on the fact's main text first.
e2e_start_program
pid_b=$pid
press_on_main F1 shown 'БАЗА ФАКТОВ' || fail "F1 did not open B's browser"
browser_b=$(browsers | head -n 1)
browser_geometry "$browser_b"
walk_to_main_text
wait_until 5 b_steady || fail "B's browser did not hold still"

# A starts over it, writes the text back and renames the Section "Глава".
(cd "$base" && exec wine "$program" </dev/null >/dev/null 2>&1) &
pid=$!
two_mains() { [ "$(mains | wc -l)" -ge 2 ]; }
wait_until 30 two_mains || fail "the second instance did not show its main window"
a_browser_open() { [ "$(browsers | wc -l)" -ge 2 ]; }
press_on_main F1 a_browser_open || fail "F1 did not open A's browser"
walk_to_main_text
append_and_write ' from A'
wait_until 5 view_text "$fact/Факт.txt" 'Текст from A' || fail "A did not write the text back"
rename_first_section 'Glava'
wait_until 5 test -d "$base/Glava" || fail "A did not rename the Section"
press_on_main F4 program_ended || fail "A still runs after F4"
pid=$pid_b

# What B shows follows within the time a poll takes (Wine's watch misses
# changes in older sub-folders, so B may learn of the text by polling): the
# promise is 5 s, the bound of this wait on what B paints.
wait_until 5 b_followed || fail "B's browser did not show A's rename and text within 5 s"
import -window root "$artifacts/two-instances-${locale%%.*}.png"
# B's text view holds A's text: B's write-back asks nothing beyond the
# confirmation and keeps A's words.
append_and_write '!'
wait_until 5 view_text "$fact/Факт.txt" 'Текст from A!' || {
    shown 'Внимание' && fail "B's write-back found the file changed elsewhere: B did not show A's text"
    fail "B did not write the text back"
}
# B's Section list shows "Glava" where "Глава" stood: renaming it works.
rename_first_section 'Third'
wait_until 5 test -d "$base/Third" || fail "B's Section list did not follow A's rename"
echo "B followed A: A's text write-back and Section rename showed in B's open browser"
press_on_main F4 program_ended || fail "B still runs after F4"
