#!/usr/bin/env bash
# The built program, started for real: F5 opens the search, typing finds a
# fact, Enter on the result opens it in a browser.
#   end-to-end-search.sh PROGRAM.exe LOCALE ARTIFACT_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/e2e-lib.sh"
e2e_setup "$@"

for fact in "Пирамида" "Мост"; do
    write_1251 "$base/Раздел/Тема/Подтема/Установка/$fact/Описание.txt" 'Описание'
done
printf 'Great pyramid\r\nof stone' > "$base/Раздел/Тема/Подтема/Установка/Пирамида/Пирамида.txt"
printf 'A bridge' > "$base/Раздел/Тема/Подтема/Установка/Мост/Мост.txt"

e2e_start_program
press_on_main F5 xdotool search --onlyvisible --name '^ПОИСК ФАКТОВ$' >/dev/null || fail "F5 did not open the search"
search=$(xdotool search --onlyvisible --name '^ПОИСК ФАКТОВ$' | head -n 1)
# The query has the focus when the dialog opens.
xdotool type --delay 30 'pyram'
shot="$artifacts/search-${locale%%.*}.png"
import -window root "$shot"
# Tab to the results, Down selects the one found, Enter opens it.
xdotool key Tab Down Return
wait_until 10 xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' >/dev/null || fail "Enter did not open the result in a browser"
browser_open() { import -window root "$artifacts/search-opened-${locale%%.*}.png"; }
browser_open
echo "search found the fact and opened it: $shot"
press_on_main F4 program_ended || fail "the program still runs after F4"
