// Exporting from the browser: the save dialog, a refusal of a place inside
// the base, the document written with its progress shown and a way to
// cancel, and a word on how it went.
#pragma once
#include <windows.h>
#include <string>

// Asks where to save the document of the entry name: GetSaveFileNameW, in
// the user's Documents, the entry's name as the file's. False when the user
// cancelled. Replaceable, so that tests can answer it.
extern bool (*AskExportTarget)(HWND owner, const char* name, std::wstring* target);
bool AskWithSaveDialog(HWND owner, const char* name, std::wstring* target);

// The window that counts the facts written and offers to cancel.
INT_PTR CALLBACK ExportProgressDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Exports the branch at folder (root for the whole base), named name.
void ExportWithDialog(HWND owner, const char* root, const char* folder, const char* name);
