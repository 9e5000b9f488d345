// Second step of the fact wizard: the fact's name, its folder and its description file.
#pragma once
#include <windows.h>

INT_PTR CALLBACK FactDescriptionDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
