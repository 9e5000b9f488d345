// The fact base browser: five cascading folder lists, a fact's texts shown,
// edited and written back, and the doors to the category editor and the wizard.
#pragma once
#include <windows.h>

INT_PTR CALLBACK FactBaseDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
