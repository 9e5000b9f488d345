// The base check dialog (F6): the findings of a walk over the whole base, as
// they come in from a background thread, and the fix of the one selected.
#pragma once
#include <windows.h>
#include "../ui/app_messages.h"

INT_PTR CALLBACK BaseCheckDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// F6: the open check brought to the front and run again once its walk is
// done, or a new one.
void OpenOrRaiseBaseCheck(HWND owner);

// Whether the dialog's walk is over and all its findings are listed (for
// tests that wait for the end).
bool BaseCheckDone(HWND dialog);
