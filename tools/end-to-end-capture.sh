#!/usr/bin/env bash
# The built program, started for real: a text selected in another program
# (Wine's Notepad) becomes a fact by Ctrl+Alt+F and Enter, lands on disk in
# the Directive of the newest fact, and the search finds it.
#   end-to-end-capture.sh PROGRAM.exe LOCALE ARTIFACT_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/e2e-lib.sh"
e2e_setup "$@"

directive="$base/Раздел/Тема/Подтема/Установка"
write_1251 "$directive/Старый факт/Описание.txt" 'Описание'
write_1251 "$directive/Старый факт/Старый факт.txt" 'Текст'
# A newer fact elsewhere makes its Directive the suggested place.
newest="$base/Раздел/Тема/Подтема/Новая установка"
write_1251 "$newest/Новый факт/Описание.txt" 'Описание'
write_1251 "$newest/Новый факт/Новый факт.txt" 'Текст'

source_file="$base/../facts-e2e-source-$$.txt"
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; [ -z "${notepad:-}" ] || kill "$notepad" 2>/dev/null || true; rm -rf "$base" "$source_file"' EXIT
printf '\xef\xbb\xbf\r\nSphinx и пирамиды Гизы\r\nстоят у Нила.\r\n\r\n' > "$source_file"

e2e_start_program
(exec wine notepad "Z:$(printf '%s' "$source_file" | tr / '\\')" </dev/null >/dev/null 2>&1) &
notepad=$!
name=$(basename "$source_file")
timeout 30 xdotool search --sync --onlyvisible --name "$name" >/dev/null || fail "Notepad did not show the file"
editor=$(xdotool search --onlyvisible --name "$name" | head -n 1)

# The key reaches the program only while Notepad is in front; it is sent
# again when no window opened, since X may have had the focus elsewhere.
captured=
for _ in 1 2 3; do
    xdotool windowactivate --sync "$editor" 2>/dev/null || xdotool windowfocus --sync "$editor"
    xdotool key ctrl+a
    xdotool key ctrl+alt+f
    if wait_until 5 shown 'БЫСТРЫЙ ФАКТ'; then captured=1; break; fi
done
[ -n "$captured" ] || fail "Ctrl+Alt+F in Notepad did not open the capture window"
import -window root "$artifacts/capture-${locale%%.*}.png"
capture=$(xdotool search --onlyvisible --name '^БЫСТРЫЙ ФАКТ$' | head -n 1)
xdotool windowfocus --sync "$capture" 2>/dev/null || true
xdotool key Return

fact="$newest/Sphinx и пирамиды Гизы"
fact_written() { [ -f "$fact/Sphinx и пирамиды Гизы.txt" ] && [ -f "$fact/Описание.txt" ]; }
wait_until 10 fact_written || { ls -R "$base" >&2; fail "Enter did not file the fact in the newest fact's Directive"; }
expected=$(printf 'Sphinx и пирамиды Гизы\r\nстоят у Нила.' | iconv -f utf-8 -t cp1251 | od -An -tx1)
[ "$(od -An -tx1 < "$fact/Sphinx и пирамиды Гизы.txt")" = "$expected" ] || fail "the main text is not the selection in Windows-1251"
capture_closed() { ! shown 'БЫСТРЫЙ ФАКТ'; }
wait_until 5 capture_closed || fail "the capture window stayed open after saving"

press_on_main F5 xdotool search --onlyvisible --name '^ПОИСК ФАКТОВ$' >/dev/null || fail "F5 did not open the search"
xdotool type --delay 30 'sphinx'
xdotool key Tab Down Return
wait_until 10 xdotool search --onlyvisible --name '^БАЗА ФАКТОВ$' >/dev/null || fail "the search did not find the captured fact"
echo "captured from Notepad, filed in the newest Directive, found by the search"
press_on_main F4 program_ended || fail "the program still runs after F4"
