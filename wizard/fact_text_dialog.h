// Last step of the fact wizard: the main text file, or the unfinished fact discarded.
#pragma once
#include <windows.h>

INT_PTR CALLBACK FactTextDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
