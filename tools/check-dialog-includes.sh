#!/usr/bin/env bash
# The rule of docs/layout.md on what a dialog's folder may include from
# another dialog's folder, checked over every source: the UI-free library of
# that folder (a source built into one of the fact* libraries other than the
# windows' own), or the header of a modal dialog that this folder owns, as
# listed below. Anything else opens a dialog through ui/dialog_doors.h.
#   check-dialog-includes.sh SOURCE_ROOT
set -euo pipefail
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root"

# Modal dialogs and the one folder that owns each: "owner:header".
owned_modal=(browser:maintenance/rename_dialog.h browser:move/move_dialog.h
             browser:export/export_dialog.h browser:print/print_dialog.h
             browser:import/import_dialog.h)

# A dialog's folder: its sources hold a dialog procedure or open one of the
# system's common dialogs. The shell and ui/ provide the doors and are none.
dialog_folders=$(grep -l 'INT_PTR CALLBACK\|PrintDlgExW(\|GetSaveFileNameW(' */*.cpp | cut -d/ -f1 | sort -u |
                 grep -vx 'shell\|ui\|tests\|bench')
# Sources of the UI-free libraries: every fact* library but the windows' own.
ui_free=$(awk '/^add_library\(fact[a-z]+ STATIC/ { take = ($1 != "add_library(factui") ; next }
               take && /\.cpp/ { gsub(/[ )]/, ""); print } /\)/ { take = 0 }' CMakeLists.txt)

failures=0
checked=0
for folder in $dialog_folders; do
    for file in "$folder"/*.cpp "$folder"/*.h; do
        [ -f "$file" ] || continue
        while read -r header; do
            other=${header%%/*}
            [ "$other" = "$folder" ] && continue
            echo "$dialog_folders" | grep -qx "$other" || continue
            checked=$((checked + 1))
            echo "$ui_free" | grep -qx "${header%.h}.cpp" && continue
            printf '%s\n' "${owned_modal[@]}" | grep -qx "$folder:$header" && continue
            echo "FAIL: $file includes $header, another dialog's folder's window side"
            failures=$((failures + 1))
        done < <(sed -n 's|^#include "\.\./\([^"]*\)".*|\1|p' "$file")
    done
done
[ -n "$dialog_folders" ] || { echo "FAIL: no dialog folder found"; exit 1; }
[ "$failures" -eq 0 ] || exit 1
echo "dialog folders: $(echo $dialog_folders); $checked includes of another dialog's folder, each allowed"
