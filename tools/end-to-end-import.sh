#!/usr/bin/env bash
# The built program's import from the command line: a folder of texts in
# mixed encodings into a Section, the report on the console, the exit codes,
# and a second run that adds nothing.
#   end-to-end-import.sh PROGRAM.exe LOCALE ARTIFACT_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/e2e-lib.sh"
e2e_setup "$@"

mkdir -p "$base/Раздел"
outside=$(mktemp -d /tmp/facts-import.XXXXXX)
trap 'rm -rf "$base" "$outside"' EXIT
source_dir="$outside/Заметки"
mkdir -p "$source_dir/Поездки/Казань"
printf 'Кремль и мечеть\nна берегу Казанки.\n' | iconv -f utf-8 -t cp1251 > "$source_dir/Поездки/Казань/день1.txt"
printf 'Набережная вечером, огни моста.\n' | iconv -f utf-8 -t koi8-r > "$source_dir/Поездки/Казань/день2.txt"
printf '# Борщ\n\nСвёкла и капуста.\n' > "$source_dir/Поездки/борщ.md"
printf 'Из DOS: пельмени варят в подсоленной воде.\r\n' | iconv -f utf-8 -t cp866 > "$source_dir/ПЕЛЬМЕНИ.TXT"
: > "$source_dir/пусто.txt"
source_win="Z:$(printf '%s' "$source_dir" | tr / '\\')"

import_run() {
    set +e
    said=$(cd "$base" && timeout 60 wine "$program" --import "$@" 2>&1 </dev/null)
    code=$?
    set -e
}

import_run "$source_win" 'Раздел'
[ "$code" -eq 0 ] || fail "the import: exit code $code, said '$said'"
echo "$said" | grep -q 'Импортировано фактов: 4 (из них повторов: 0), уже были: 0, пропущено файлов: 1' ||
    fail "the report does not count four facts and one skipped file: '$said'"
echo "$said" | grep -q 'Пропущен «пусто.txt»: пустой файл' || fail "the empty file's reason is missing: '$said'"
fact="$base/Раздел/Заметки/Поездки/Казань/день2"
[ "$(iconv -f cp1251 -t utf-8 "$fact/день2.txt")" = "$(printf 'Набережная вечером, огни моста.\r\n')" ] ||
    fail "the KOI8-R text was not written in Windows-1251"
[ "$(iconv -f cp1251 -t utf-8 "$base/Раздел/Заметки/Заметки/Поездки/борщ/Описание.txt")" = 'Борщ' ] ||
    fail "the Markdown heading is not the description"
[ "$(stat -c %Y "$fact/день2.txt")" = "$(stat -c %Y "$source_dir/Поездки/Казань/день2.txt")" ] ||
    fail "the main text lost its source's date"

before=$(find "$base" | sort)
import_run "$source_win" 'Раздел'
[ "$code" -eq 0 ] || fail "the second run: exit code $code, said '$said'"
echo "$said" | grep -q 'Импортировано фактов: 0 (из них повторов: 0), уже были: 4' ||
    fail "the second run imported again: '$said'"
[ "$(find "$base" | sort)" = "$before" ] || fail "the second run changed the base"

import_run "$source_win" 'Нет раздела'
[ "$code" -eq 1 ] || fail "a missing place: exit code $code"
echo "$said" | grep -q 'В базе нет такого раздела' || fail "no reason for a missing place: '$said'"
import_run "$source_win"
[ "$code" -eq 2 ] || fail "a missing argument: exit code $code"
echo "$said" | grep -q 'Использование: facts.exe --import' || fail "no usage given: '$said'"
echo "the command line imported four texts in three encodings, skipped an empty one, added nothing the second time and refused a missing place"
