#!/usr/bin/env bash
# The built program, started for real: three text files of a folder outside
# the base, selected in Wine's own Explorer window and dragged with the
# mouse onto the browser's fact list, open the import window for the
# Directive shown; ИМПОРТ files them there, each main text in Windows-1251
# with CR LF line ends whatever its encoding was, and the list shows them.
#   end-to-end-import-drop.sh PROGRAM.exe LOCALE ARTIFACT_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/e2e-lib.sh"
e2e_setup "$@"

directive="$base/Раздел/Тема/Подтема/Установка"
write_1251 "$directive/Факт/Описание.txt" 'Описание'
write_1251 "$directive/Факт/Факт.txt" 'Текст'

source_folder=$(mktemp -d /tmp/facts-drop-source.XXXXXX)
launcher= explorer=
finish() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    [ -z "$explorer" ] || kill "$explorer" 2>/dev/null || true
    [ -z "$launcher" ] || kill "$launcher" 2>/dev/null || true
    rm -rf "$base" "$source_folder"
}
trap finish EXIT
# One text per encoding the import tells apart, each as the program should
# store it (UTF-8 here, CR LF line ends): Windows-1251 with CR LF, UTF-8
# without a byte order mark and with lone LFs, UTF-8 with a mark and
# letters beyond the Russian alphabet's 33 (« » — №).
pyramids='Пирамиды Гизы стоят на западном берегу Нила.\r\nИх строили больше двадцати лет.'
bridge='Мост через реку построили весной.\r\nОн выдержал первый паводок.'
note='Ёлка, «кавычки» — и тире.\r\nЗаметка № 3 о том, что было.'
printf "$pyramids" | iconv -f utf-8 -t cp1251 > "$source_folder/Пирамиды.txt"
printf "$bridge" | tr -d '\r' > "$source_folder/Мост.txt"
{ printf '\xef\xbb\xbf'; printf "$note"; } > "$source_folder/Заметка.txt"

e2e_start_program
press_on_main F1 shown 'БАЗА ФАКТОВ' || fail "F1 did not open the browser"
browser=$(xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' | head -n 1)
browser_geometry "$browser"
# Down to the Directive, each level's one entry below "..": the fact list
# then shows "Факт".
for level in 1 2 3 4; do
    for _ in 1 2 3; do
        click_browser_row "$level" 1
        wait_until 3 browser_row_selected "$level" 1 && break
    done
    browser_row_selected "$level" 1 || fail "the browser did not select the entry of level $level"
done
fact_row_shows() { ! browser_row_empty 5 "$1"; }
wait_until 5 fact_row_shows 1 || fail "the fact list does not show the Directive's fact"

# Wine's Explorer on the source folder; its window is named after the folder.
(cd / && exec wine explorer.exe "Z:$(printf '%s' "$source_folder" | tr / '\\')" </dev/null >/dev/null 2>&1) &
launcher=$!
folder_name=$(basename "$source_folder")
timeout 30 xdotool search --sync --onlyvisible --name "^$folder_name\$" >/dev/null || fail "Explorer did not show the source folder"
window=$(xdotool search --onlyvisible --name "^$folder_name\$" | head -n 1)
explorer=$(xdotool getwindowpid "$window")
read -r explorer_x explorer_y explorer_w explorer_h < <(xdotool getwindowgeometry --shell "$window" |
    sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=//p' | paste -sd ' ')
# Wine's Explorer (8.0) opens its window at the screen's top left, over
# the browser's upper lists and the top of its fact list. It stays there:
# once moved by its caption, it still took a button pressed on a file but
# no pointer motion after it, and never began a drag. Its places inside,
# measured on that layout: its caption (above the browser, so a click there
# brings it to the front), the first row's name, rows 17 pixels apart, and
# an empty spot of its file list.
explorer_at() { echo $((explorer_x + $1)) $((explorer_y + $2)); }
caption=(320 10) first_name=(190 107) row_height=17 empty_spot=(400 300)

# The three files, selected from the keyboard in the file list: Wine 8's
# Explorer does nothing on Ctrl+A, while Home and Shift+End select the rows
# from the first to the last.
explorer_row_selected() {
    local x y
    read -r x y < <(explorer_at $((first_name[0] - 18)) $((first_name[1] - 3 + $1 * row_height)))
    selected_at "$x" "$y"
}
all_three_selected() { explorer_row_selected 0 && explorer_row_selected 1 && explorer_row_selected 2; }
for _ in 1 2 3; do
    xdotool mousemove $(explorer_at "${caption[@]}") click 1
    xdotool mousemove $(explorer_at "${empty_spot[@]}") click 1
    xdotool key Home shift+End
    wait_until 3 all_three_selected && break
done
all_three_selected || fail "the three files were not selected in Explorer"
explorer_row_selected 3 && fail "Explorer shows a fourth row selected"
import -window root "$artifacts/drop-selected-${locale%%.*}.png"

# The drag: the button held on the first selected name, the pointer moved
# in steps, released over the fact list (template 7, 218, 261 x 144) below
# its rows in use and below Explorer's window.
read -r target_x target_y < <(browser_at 137 320)
[ "$target_y" -ge $((explorer_y + explorer_h)) ] || [ "$target_x" -ge $((explorer_x + explorer_w)) ] \
    || fail "the drop point $target_x,$target_y lies under Explorer's window"
imported_shown() { shown 'ИМПОРТ'; }
for _ in 1 2 3; do
    read -r from_x from_y < <(explorer_at "${first_name[@]}")
    xdotool mousemove "$from_x" "$from_y" mousedown 1
    for step in $(seq 1 12); do
        xdotool mousemove --sync $((from_x + (target_x - from_x) * step / 12)) $((from_y + (target_y - from_y) * step / 12))
    done
    xdotool mouseup 1
    wait_until 5 imported_shown && break
done
imported_shown || fail "the drop on the fact list did not open the import window"
[ ! -e "$directive/Пирамиды" ] && [ ! -e "$directive/Мост" ] && [ ! -e "$directive/Заметка" ] \
    || fail "the preview wrote something"

# ИМПОРТ (template 440 x 300: ИМПОРТ at 7, 277; ОТМЕНА, in the report
# ЗАКРЫТЬ, at 223, 277, 210 x 15). The report is up once that button's
# caption is no longer the preview's.
importer=$(xdotool search --onlyvisible --name '^ИМПОРТ$' | head -n 1)
dialog_geometry "$importer"
read -r close_x close_y < <(dialog_at 440 300 235 279)
read -r close_right close_bottom < <(dialog_at 440 300 421 290)
close_button() {  # [SHOT]: the pixels of that button, on a new screenshot by default
    local shot=${1:-}
    [ -n "$shot" ] || { shot=$(mktemp --suffix=.png); import -window root "$shot"; }
    convert "$shot" -crop "$((close_right - close_x))x$((close_bottom - close_y))+$close_x+$close_y" +repage rgb:- | md5sum
    [ -n "${1:-}" ] || rm -f "$shot"
}
preview="$artifacts/drop-preview-${locale%%.*}.png"
settled_shot "$preview" || fail "the import window did not finish painting"
preview_button=$(close_button "$preview")
report_shown() { [ "$(close_button)" != "$preview_button" ]; }
for _ in 1 2 3; do
    xdotool mousemove $(dialog_at 440 300 112 284) click 1
    wait_until 10 report_shown && break
done
report_shown || { find "$base" >&2; fail "ИМПОРТ did not lead to the report"; }
import -window root "$artifacts/drop-report-${locale%%.*}.png"

# Each fact's main text, byte for byte, and its description, the text's first line.
in_1251() { printf "$1" | iconv -f utf-8 -t cp1251 | od -An -tx1; }
first_line() { printf "$1" | sed -n '1s/\r$//p' | tr -d '\n'; }
for fact in Пирамиды Мост Заметка; do
    case $fact in
        Пирамиды) text=$pyramids ;;
        Мост) text=$bridge ;;
        Заметка) text=$note ;;
    esac
    [ -f "$directive/$fact/$fact.txt" ] || { find "$base" >&2; fail "no fact $fact in the Directive"; }
    [ "$(od -An -tx1 < "$directive/$fact/$fact.txt")" = "$(in_1251 "$text")" ] \
        || fail "the main text of $fact is not its source in Windows-1251 with CR LF"
    [ "$(od -An -tx1 < "$directive/$fact/Описание.txt")" = "$(in_1251 "$(first_line "$text")")" ] \
        || fail "the description of $fact is not its first line"
done
[ "$(find "$directive" -mindepth 1 -maxdepth 1 | wc -l)" = 4 ] || { find "$base" >&2; fail "the Directive holds more than the three facts and the old one"; }

report_closed() { ! shown 'ИМПОРТ'; }
for _ in 1 2 3; do
    xdotool mousemove $(dialog_at 440 300 328 284) click 1
    wait_until 3 report_closed && break
done
report_closed || fail "the report did not close"
# "..", Заметка, Мост, Пирамиды, Факт.
browser_geometry "$browser"
wait_until 5 fact_row_shows 4 || fail "the fact list does not show the imported facts"
import -window root "$artifacts/drop-done-${locale%%.*}.png"

# Explorer, back from its drag once the import window closed, closes on Alt+F4.
explorer_closed() { ! xdotool search --onlyvisible --name "^$folder_name\$" >/dev/null; }
for _ in 1 2 3; do
    xdotool mousemove $(explorer_at "${caption[@]}") click 1
    xdotool key alt+F4
    wait_until 3 explorer_closed && break
done
explorer_closed || fail "Explorer did not close after the drag"
echo "three files dragged from Explorer onto the fact list, imported into its Directive in Windows-1251"
press_on_main F4 program_ended || fail "the program still runs after F4"
