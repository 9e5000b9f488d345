// The search dialog: a query typed, the facts of the whole base that answer
// it listed as the typing goes, one opened in the browser.
#pragma once
#include <windows.h>

INT_PTR CALLBACK SearchDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// F5: the open search dialog brought to the front with its query selected,
// or a new one.
void OpenOrRaiseSearch(HWND owner);
