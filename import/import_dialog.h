// Importing from the browser: the folder dialog, then the import window
// (template 6600, modal, owned by the browser): the preview of what the
// folder's files will become, where an uncertain encoding can be changed;
// "ИМПОРТ" with its progress and a way to cancel; and the report, kept in
// the window until it is closed. The import becomes a step of the undo.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Asks for the folder of texts: IFileDialog picking folders, or
// SHBrowseForFolderW where that is missing. False when the user cancelled.
// Replaceable, so that tests can answer it.
extern bool (*AskImportFolder)(HWND owner, std::wstring* folder);
bool AskWithFolderDialog(HWND owner, std::wstring* folder);

INT_PTR CALLBACK ImportDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Imports a folder the user chooses into place (a category folder, or root
// itself). True when the base changed: the owner's lists should look again.
bool ImportWithDialog(HWND owner, const char* root, const char* place);
// The same for files and folders dropped from Explorer: no folder is asked for.
bool ImportDroppedWithDialog(HWND owner, const char* root, const char* place, const std::vector<std::wstring>& paths);
