// Printing from the browser: a word when no printer is installed, the
// standard print dialog with the page count where it is cheap to know, and
// the pages laid out by page_layout on the chosen printer.
#pragma once
#include <windows.h>

// Whether the system has a printer to print on (a default one).
// Replaceable, so that tests decide whether a printer exists.
extern bool (*PrinterInstalled)();
bool DefaultPrinterExists();

// The system's print dialog. Replaceable, so that tests answer it as a user
// would and see what the program does with what it hands back.
#include <commdlg.h>
extern HRESULT(WINAPI* ShowPrintDialog)(LPPRINTDLGEXW dialog);

// Prints the branch at folder (root for the whole base), named name.
void PrintWithDialog(HWND owner, const char* root, const char* folder, const char* name);
