#!/usr/bin/env bash
# The built program, started for real: F6 lists an empty fact folder and
# its fix removes it; a right click on a Section renames it; Ctrl+X and
# Ctrl+V move a Topic into it and Ctrl+Z back; then the Section goes to the
# Recycle Bin. Each step is proved on disk.
#   end-to-end-maintenance.sh PROGRAM.exe LOCALE ARTIFACT_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/e2e-lib.sh"
e2e_setup "$@"

directive="$base/Раздел/Тема/Подтема/Установка"
write_1251 "$directive/Факт/Описание.txt" 'Описание'
write_1251 "$directive/Факт/Факт.txt" 'Текст'
mkdir -p "$directive/Пустой" "$base/Раздел 2"

e2e_start_program
gone() { [ ! -e "$1" ]; }

# The check: the one finding is the first row of its list (template 420 x 240).
press_on_main F6 shown 'ПРОВЕРКА БАЗЫ' || fail "F6 did not open the check"
check=$(xdotool search --onlyvisible --name '^ПРОВЕРКА БАЗЫ$' | head -n 1)
dialog_geometry "$check"
for _ in 1 2 3; do
    xdotool mousemove $(dialog_at 420 240 60 11) click 1
    wait_until 3 selected_at $(dialog_at 420 240 9 10) || continue
    xdotool mousemove $(dialog_at 420 240 73 226) click 1
    wait_until 3 gone "$directive/Пустой" && break
done
gone "$directive/Пустой" || fail "the fix did not remove the empty fact folder"
import -window root "$artifacts/check-${locale%%.*}.png"
xdotool key Escape

# The Section list: "..", "Раздел 2", "Раздел" (the list sorts "[Раздел 2]"
# before "[Раздел]"). A right click on "Раздел 2",
# the menu's first item, a new name typed over the selected old one.
press_on_main F1 shown 'БАЗА ФАКТОВ' || fail "F1 did not open the browser"
browser=$(xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' | head -n 1)
browser_geometry "$browser"
context_menu() {  # ROW KEYS...: right click on that Section row, then the keys
    local row=$1; shift
    right_click_menu $(browser_at 60 $((BROWSER_LIST_TOPS[0] + 5 + row * 8))) || return 1
    xdotool key "$@"
}
for _ in 1 2 3; do
    context_menu 1 Down Return || continue
    wait_until 3 shown 'ПЕРЕИМЕНОВАНИЕ' && break
done
shown 'ПЕРЕИМЕНОВАНИЕ' || fail "the list menu did not offer the rename"
xdotool type --delay 30 'Glava'
xdotool key Return
wait_until 5 test -d "$base/Glava" || fail "the Section was not renamed"
gone "$base/Раздел 2" || fail "the old Section is still there"

# Now "..", "Glava", "Раздел". Ctrl+X on the Topic "Тема" of "Раздел", then
# Ctrl+V in the Topic list of "Glava" moves it there; Ctrl+Z moves it back.
moved="$base/Glava/Тема/Подтема/Установка/Факт/Факт.txt"
for _ in 1 2 3; do
    # Each click waits for its selection to show; the keys go to the list
    # that has the keyboard, in the order X delivers them.
    click_browser_row 1 2
    wait_until 3 browser_row_selected 1 2 || continue
    click_browser_row 2 1
    wait_until 3 browser_row_selected 2 1 || continue
    xdotool key ctrl+x
    click_browser_row 1 1
    wait_until 3 browser_row_selected 1 1 || continue
    wait_until 3 browser_row_empty 2 1 || continue  # Glava has no Topic yet
    click_browser_row 2 0
    wait_until 3 browser_row_selected 2 0 || continue
    xdotool key ctrl+v
    wait_until 3 test -f "$moved" && break
done
test -f "$moved" || fail "Ctrl+X and Ctrl+V did not move the Topic"
gone "$base/Раздел/Тема" || fail "the moved Topic is still at its old place"
xdotool key ctrl+z
wait_until 5 test -f "$directive/Факт/Факт.txt" || fail "Ctrl+Z did not move the Topic back"

# The menu: rename, move (greyed for a Section), delete: the third deletes, after a question,
# into Wine's Recycle Bin, the desktop's trash below the home folder.
trash="$HOME/.local/share/Trash/files"
in_trash() { ls "$trash" 2>/dev/null | grep -c '^Glava' || true; }
trashed_before=$(in_trash)
for _ in 1 2 3; do
    context_menu 1 Down Down Down Return || continue
    wait_until 3 shown 'Удаление' && break
done
shown 'Удаление' || fail "the list menu did not ask before deleting"
import -window root "$artifacts/delete-question-${locale%%.*}.png"
xdotool key Return
wait_until 10 gone "$base/Glava" || fail "the Section was not deleted"
[ -d "$directive/Факт" ] || fail "the other Section was touched"
[ "$(in_trash)" -gt "$trashed_before" ] || fail "the Section is not in the Recycle Bin"
echo "the check fixed its finding; the Section was renamed, a Topic moved in and back, the Section recycled"
press_on_main F4 program_ended || fail "the program still runs after F4"
