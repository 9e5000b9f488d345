#!/usr/bin/env bash
# The built program's export from the command line, as a script or a backup
# runs it: the exit code, the document and the reason on failure. Then the
# browser's list menu: "Экспорт…" through the real save dialog, and
# "Печать…", which says that no printer is installed (Wine has none here).
#   end-to-end-export.sh PROGRAM.exe LOCALE ARTIFACT_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/e2e-lib.sh"
e2e_setup "$@"

write_1251 "$base/Раздел/Тема/Подтема/Установка/Факт/Описание.txt" 'Описание'
write_1251 "$base/Раздел/Тема/Подтема/Установка/Факт/Факт.txt" 'Текст <факта>'
out=$(mktemp -d /tmp/facts-export.XXXXXX)
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$base" "$out"' EXIT
out_win="Z:$(printf '%s' "$out" | tr / '\\')"

# export_run ARGUMENTS...: the program run in the base with --export and
# them; sets code, and said (its console text).
export_run() {
    set +e
    said=$(cd "$base" && timeout 60 wine "$program" --export "$@" 2>&1 </dev/null)
    code=$?
    set -e
}
expect_code() { [ "$code" "$1" 0 ] || fail "$2: exit code $code, said '$said'"; }

export_run '' "$out_win\\вся.html"
expect_code -eq "the whole base"
grep -q '<h5 id="n1-1-1-1-1">Факт</h5>' "$out/вся.html" || fail "the web page lacks the fact"
grep -q 'Текст &lt;факта&gt;' "$out/вся.html" || fail "the web page does not escape the text"
export_run 'Раздел\Тема' "$out_win\\тема.txt"
expect_code -eq "a Topic"
[ "$(head -c 3 "$out/тема.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "the text has no BOM"
grep -q '^1.1.1. Факт' "$out/тема.txt" || fail "the text lacks the numbered fact"

export_run 'Нет такого' "$out_win\\нет.txt"
expect_code -ne "a branch that is not there"
[ ! -e "$out/нет.txt" ] || fail "a file was written for a missing branch"
echo "$said" | grep -q 'экспортировать нечего' || fail "no reason given: '$said'"
export_run '' "$out_win\\вся.doc"
expect_code -ne "an unknown format"
export_run '' 'в базе.html'
expect_code -ne "a target inside the base"
[ ! -e "$base/в базе.html" ] || fail "a file was written into the base"
export_run ''
expect_code -ne "a missing argument"
echo "$said" | grep -q 'Использование: facts.exe --export' || fail "no usage given: '$said'"
echo "the command line exported the base and a Topic, and refused a missing branch, a format and a place in the base"

# The Section list holds "..", "Раздел"; its menu: rename, move (greyed),
# delete, export, print, then the whole base's two.
e2e_start_program
press_on_main F1 shown 'БАЗА ФАКТОВ' || fail "F1 did not open the browser"
browser=$(xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' | head -n 1)
browser_geometry "$browser"
section_menu() {
    right_click_menu $(browser_at 60 $((BROWSER_LIST_TOPS[0] + 5 + 8))) || return 1
    xdotool key "$@"
}
for _ in 1 2 3; do
    section_menu Down Down Down Down Return || continue
    wait_until 5 shown 'ЭКСПОРТ' && break
done
shown 'ЭКСПОРТ' || fail "the list menu did not open the save dialog"
import -window root "$artifacts/export-dialog-${locale%%.*}.png"
# The file name field has the keyboard; a full path typed over the suggested name.
xdotool key ctrl+a
xdotool type --delay 20 "$out_win\\menu.html"
xdotool key Return
wait_until 20 test -s "$out/menu.html" || fail "the save dialog's file was not written"
grep -q '<h1 id="n1">Тема</h1>' "$out/menu.html" || fail "the menu's document does not start below the Section"
# The word on how it went, then the print command: no printer here.
wait_until 5 shown 'ЭКСПОРТ' || fail "no word on the export"
xdotool key Return
for _ in 1 2 3; do
    section_menu Down Down Down Down Down Return || continue
    wait_until 5 shown 'Внимание' && break
done
shown 'Внимание' || fail "the print command did not say that no printer is installed"
xdotool key Return
echo "the list menu exported the Section through the save dialog and said that no printer is installed"
press_on_main F4 program_ended || fail "the program still runs after F4"
