#!/usr/bin/env bash
# The built program, started for real: a fact's main text edited in the
# browser, F4 pressed, the question answered Yes; the bytes must be on disk.
#   end-to-end-unsaved.sh PROGRAM.exe LOCALE ARTIFACT_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/e2e-lib.sh"
e2e_setup "$@"

fact="$base/Раздел/Тема/Подтема/Установка/Факт"
write_1251 "$fact/Описание.txt" 'Описание'
write_1251 "$fact/Факт.txt" 'Текст'

e2e_start_program

press_on_main F1 xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' >/dev/null || fail "F1 did not open the browser"
browser=$(xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' | head -n 1)
browser_geometry "$browser"
view_text() { [ -f "$1" ] && [ "$(iconv -f cp1251 -t utf-8 "$1")" = "$2" ]; }

# Each category list: a click on its first entry (".."), then End selects
# its one folder and notifies the dialog. (A click on the fact list's ".."
# would ask for a description that is not there.)
for level in 1 2 3 4; do
    click_browser_row "$level" 0
    xdotool key End
done
# A double click on the fact (the second row) shows its main text.
click_browser_row 5 1 2
shot="$artifacts/unsaved-${locale%%.*}.png"
# The view: a click in it, Ctrl+End, and the typing.
click_browser 400 100
xdotool key ctrl+End
xdotool type --delay 20 ' e2e'
import -window root "$shot"

press_on_main F4 xdotool search --onlyvisible --name '^Внимание$' >/dev/null || fail "F4 did not ask about the edited text"
box=$(xdotool search --onlyvisible --name '^Внимание$' | head -n 1)
import -window root "$artifacts/unsaved-question-${locale%%.*}.png"
# Yes is the default button of the question.
box_answered() { ! xdotool search --onlyvisible --name '^Внимание$' >/dev/null; }
for _ in 1 2 3; do
    xdotool windowfocus "$box" 2>/dev/null || true
    xdotool key Return
    wait_until 3 box_answered && break
done
wait_until 10 program_ended || fail "the program still runs after Yes"
view_text "$fact/Факт.txt" "Текст e2e" || fail "the main text holds '$(iconv -f cp1251 -t utf-8 "$fact/Факт.txt")'"
echo "the edited text was written on F4: $(iconv -f cp1251 -t utf-8 "$fact/Факт.txt")"
