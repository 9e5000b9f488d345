// The copies sync tools keep beside a file when two people changed it at
// once (OneDrive, Dropbox, Nextcloud, Syncthing): the program finds them so
// that a person can decide which text wins. UI-free.
#pragma once
#include <string>

// Whether name is a conflict copy of original, both plain file names of one
// folder, compared as Windows compares names:
//   "Хеопс (конфликтующая копия Петя 2026-12-01).txt", "Хеопс (conflicted copy 2026-12-01).txt",
//   "Хеопс (Петя's conflicted copy 2026-12-01 101010).txt",
//   "Описание.sync-conflict-20261201-101010-ABCDEFG.txt", and OneDrive's
//   "Хеопс-COMPUTER.txt" (a computer name: capitals, digits and hyphens, one
//   capital at least).
bool IsConflictCopyOf(const std::wstring& name, const std::wstring& original);

// Whether the fact folder holds a conflict copy of one of its two files
// that stands beside that file. One listing of the folder.
bool FactHasConflictCopy(const std::string& factFolder);
