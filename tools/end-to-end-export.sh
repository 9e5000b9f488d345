#!/usr/bin/env bash
# The built program's export from the command line, as a script or a backup
# runs it: the exit code, the document and the reason on failure.
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

# export BELOW TARGET: the program run in the base; sets code, said (its console text).
export_run() {
    set +e
    said=$(cd "$base" && timeout 60 wine "$program" --export "$1" "$2" 2>&1 </dev/null)
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
echo "the command line exported the base and a Topic, and refused a missing branch, a format and a place in the base"
