#!/usr/bin/env bash
# Makes the release archive that a Windows user unpacks and runs:
#   tools/package.sh [BUILD_FOLDER]   -> BUILD_FOLDER/facts-<version>-win64.zip
# The archive holds one folder, "Факты": the program, the demo base beside it
# (so that a double click opens it: the working directory is the program's
# own folder), the user guide and the licence as texts Notepad reads.
# Two runs on one commit give the same bytes: the program is linked without
# a time stamp, every entry carries the commit's time (or SOURCE_DATE_EPOCH)
# and the entries go in in a fixed order.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)
[ -n "${FACTS_SKIP_SETUP:-}" ] || "$root/tools/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target facts -j"$(nproc)" >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1767225600)}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder="$stage/Факты"
mkdir "$folder"
cp "$build/facts.exe" "$folder/"
cp -r "$root/demo/base/." "$folder/"
find "$folder" -name .keep -delete  # git's placeholder for an empty folder is no part of a base
# UTF-8 with a BOM and CR LF: what Notepad on every Windows from 7 on reads right.
# The guide's pictures stay behind: a text file cannot show them.
for_notepad() { printf '\xEF\xBB\xBF'; grep -v '^!\[' "$1" | sed 's/$/\r/'; }
{ head -n 1 "$root/docs/guide-ru.md"; printf '\nВерсия программы: %s\n' "$version"; tail -n +2 "$root/docs/guide-ru.md"; } > "$stage/guide.md"
for_notepad "$stage/guide.md" > "$folder/Руководство.txt"
for_notepad "$root/LICENSE" > "$folder/Лицензия.txt"
find "$folder" -type d -exec chmod 755 {} +
find "$folder" -type f -exec chmod 644 {} +
chmod 755 "$folder/facts.exe"
find "$folder" -exec touch -h -d "@$epoch" {} +

archive="$build/facts-$version-win64.zip"
rm -f "$archive"
# -X: no owner or Unix times in the entries. A UTF-8 locale makes zip mark
# the names as UTF-8, which Explorer then shows in Cyrillic.
(cd "$stage" && find Факты -print | LC_ALL=C sort | TZ=UTC LC_ALL=C.UTF-8 zip -X -q -@ "$archive")
echo "$archive"
