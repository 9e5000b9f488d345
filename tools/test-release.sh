#!/usr/bin/env bash
# The release archive as a user gets it: unpacked into an empty folder, its
# entries, its guide, the DLLs the program imports, and a second build of
# the same commit giving the same bytes. Leaves the unpacked folder in
# BUILD/release-check for the test that starts the program from there.
#   test-release.sh BUILD_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
fail() { echo "FAIL: $*"; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
archive="$build/facts-$version-win64.zip"
[ -f "$archive" ] || fail "no $archive: tools/package.sh makes it"

unpacked="$build/release-check"
rm -rf "$unpacked"
mkdir -p "$unpacked"
unzip -q "$archive" -d "$unpacked"

# Exactly the program, the demo base (without git's placeholders), the guide and the licence.
expected=$( { printf '%s\n' Факты Факты/facts.exe Факты/Руководство.txt Факты/Лицензия.txt
              (cd "$root/demo/base" && find . -mindepth 1 ! -name .keep | sed 's|^\.|Факты|'); } | LC_ALL=C sort)
actual=$(cd "$unpacked" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || { diff <(echo "$expected") <(echo "$actual") || true; fail "the archive's entries differ"; }

# The guide and the licence open right in Notepad: a BOM, CR LF line ends.
for text in Руководство.txt Лицензия.txt; do
    file="$unpacked/Факты/$text"
    [ "$(head -c 3 "$file" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "$text has no UTF-8 BOM"
    [ "$(grep -c $'\r$' "$file")" = "$(wc -l < "$file")" ] || fail "$text has lines without CR LF"
done
grep -q "Версия программы: $version" "$unpacked/Факты/Руководство.txt" || fail "the guide does not name version $version"

# Only DLLs every Windows has (COMDLG32: the save and print dialogs; BCRYPT:
# SHA-256, since Vista; OLE32: text dropped from another program).
imports=$(x86_64-w64-mingw32-objdump -p "$unpacked/Факты/facts.exe" | sed -n 's/^\s*DLL Name: //p' | tr a-z A-Z | sort)
for dll in $imports; do
    case "$dll" in
        KERNEL32.DLL|USER32.DLL|GDI32.DLL|SHELL32.DLL|COMCTL32.DLL|COMDLG32.DLL|BCRYPT.DLL|OLE32.DLL|MSVCRT.DLL) ;;
        *) fail "the program imports $dll, which Windows does not have" ;;
    esac
done

# A second build of the same commit, from nothing in a folder of its own: the same bytes.
rm -rf "$build/reproduce"
FACTS_SKIP_SETUP=1 "$root/tools/package.sh" "$build/reproduce" >/dev/null
cmp "$archive" "$build/reproduce/facts-$version-win64.zip" || fail "two builds of one commit differ"
echo "the archive holds $(echo "$actual" | wc -l) entries, imports $(echo $imports), and builds the same twice"
