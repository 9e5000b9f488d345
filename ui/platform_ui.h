// Window, list box, message box and shell calls with Windows-1251 texts: the
// user-interface half of the platform boundary (platform_text.h is the other).
#pragma once
#include <windows.h>
#include "../platform/platform_text.h"

void SetWindowText1251(HWND window, const char* text);
void SetDlgItemText1251(HWND dialog, int id, const char* text);

// The control's whole text into out (capacity bytes with the terminator).
// TEXT_TOO_LONG or TEXT_NOT_1251 leave out unchanged.
TextFit GetDlgItemText1251(HWND dialog, int id, char* out, int capacity);

// The window's text as UTF-16, for tests and checks.
std::wstring WindowTextWide(HWND window);

int MessageBox1251(HWND owner, const char* text, const char* caption, UINT type);

// A complaint about the user's own action: owned by the dialog, caption
// "Ошибка", one OK button, no icon.
void Complain(HWND dialog, const char* text);

// A complaint whose text holds names from elsewhere (a file's, a folder's),
// which Windows-1251 may not hold.
void ComplainWide(HWND dialog, const std::wstring& text);

// List box entries.
int ListBoxInsert1251(HWND list, int index, const char* text);
int ListBoxInsertWide(HWND list, int index, const std::wstring& text);
TextFit ListBoxText1251(HWND list, int index, char* out, int capacity);

// Shows a folder in the system's file browser. Replaceable, because the
// shell's file browser is a process of its own that tests must not start.
typedef void (*OpenFolderFunction)(const char* path);
extern OpenFolderFunction OpenFolderInShell;
void OpenFolderWithShellExecute(const char* path);

// Creates a modeless dialog from the program's template and records it as
// the dialog whose keyboard the message loop serves; param reaches its
// WM_INITDIALOG.
HWND OpenDialog(int templateId, DLGPROC procedure, HWND owner, LPARAM param = 0);

// For a dialog the program keeps one of (search, the base check): the open
// one made the active dialog and brought forward (true), or, when open is no
// window, a new one opened (false).
bool RaiseOpenDialog(HWND open, int templateId, DLGPROC procedure, HWND owner);
