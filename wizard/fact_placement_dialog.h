// First step of the fact wizard: the Directive that will hold the new fact.
#pragma once
#include <windows.h>

INT_PTR CALLBACK FactPlacementDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
