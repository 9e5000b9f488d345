#!/usr/bin/env bash
# The built program, started for real: the Section list's "Импорт в базу…",
# the real folder dialog answered by typing the source's path, the preview,
# ИМПОРТ, the report; the facts on disk in Windows-1251 (one source was
# KOI8-R); then Ctrl+Z in the browser takes the whole import back.
#   end-to-end-import-window.sh PROGRAM.exe LOCALE ARTIFACT_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/e2e-lib.sh"
e2e_setup "$@"

mkdir -p "$base/Раздел"
source_folder=$(mktemp -d /tmp/facts-import-source.XXXXXX)
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$base" "$source_folder"' EXIT
mkdir -p "$source_folder/Заметки/Поездки"
printf 'Sphinx и пирамиды\r\nГизы' | iconv -f utf-8 -t cp1251 > "$source_folder/Заметки/Поездки/Египет.txt"
printf 'Мост через реку' | iconv -f utf-8 -t koi8-r > "$source_folder/Заметки/Поездки/Мост.txt"
# Into the base itself: the two missing levels above "Заметки" take the
# source folder's own name.
leaf=$(basename "$source_folder")
directive="$base/$leaf/$leaf/Заметки/Поездки"

e2e_start_program
press_on_main F1 shown 'БАЗА ФАКТОВ' || fail "F1 did not open the browser"
browser=$(xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' | head -n 1)
browser_geometry "$browser"
# The Section list's menu ends "Импорт в базу…", "Отменить" (greyed), a
# separator and "Открыть папку": three steps up from the top reach the import.
for _ in 1 2 3; do
    right_click_menu $(browser_at 60 $((BROWSER_LIST_TOPS[0] + 5 + 1 * 8))) || continue
    xdotool key Up Up Up Return
    wait_until 5 shown 'Папка с текстами для импорта' && break
done
shown 'Папка с текстами для импорта' || fail "the list menu did not open the folder dialog"
xdotool type --delay 20 "Z:$(printf '%s' "$source_folder" | tr / '\\')"
# The typed folder is entered by the first Enter and chosen by the second.
for _ in 1 2 3; do
    xdotool key Return
    wait_until 3 shown 'ИМПОРТ' && break
done
shown 'ИМПОРТ' || fail "the folder dialog did not lead to the preview"
import -window root "$artifacts/import-preview-${locale%%.*}.png"
[ ! -e "$directive" ] || fail "the preview wrote something"
xdotool key Return
both_written() { [ -f "$directive/Египет/Египет.txt" ] && [ -f "$directive/Мост/Мост.txt" ]; }
wait_until 10 both_written || { find "$base" >&2; fail "ИМПОРТ did not write the two facts"; }
[ "$(od -An -tx1 < "$directive/Мост/Мост.txt")" = "$(printf 'Мост через реку' | iconv -f utf-8 -t cp1251 | od -An -tx1)" ] \
    || fail "the KOI8-R text is not in Windows-1251"
[ "$(od -An -tx1 < "$directive/Египет/Египет.txt")" = "$(printf 'Sphinx и пирамиды\r\nГизы' | iconv -f utf-8 -t cp1251 | od -An -tx1)" ] \
    || fail "the Windows-1251 text changed"
import -window root "$artifacts/import-report-${locale%%.*}.png"
# The report stays until closed: ЗАКРЫТЬ (template 440 x 300).
report=$(xdotool search --onlyvisible --name '^ИМПОРТ$' | head -n 1)
dialog_geometry "$report"
report_closed() { ! shown 'ИМПОРТ'; }
for _ in 1 2 3; do
    xdotool mousemove $(dialog_at 440 300 328 284) click 1
    wait_until 3 report_closed && break
done
report_closed || fail "the report did not close"

# Ctrl+Z in the browser's Section list takes the whole import back.
for _ in 1 2 3; do
    xdotool mousemove $(browser_at 60 $((BROWSER_LIST_TOPS[0] + 5 + 2 * 8))) click 1
    xdotool key ctrl+z
    wait_until 5 test ! -e "$base/$leaf" && break
done
[ ! -e "$base/$leaf" ] || fail "Ctrl+Z did not take the import back"
[ -d "$base/Раздел" ] || fail "the undo took more than the import"
echo "imported through the list menu and the folder dialog, and undone"
press_on_main F4 program_ended || fail "the program still runs after F4"
