// The capture's global key, Ctrl+Alt+F: it works while any other program is
// in front, and reaches the window that registered it as WM_HOTKEY.
#pragma once
#include <windows.h>

const int CAPTURE_HOTKEY_ID = 1;

// Registers the key for window; false when another program (or another
// instance of this one) holds it already. No polling: the system tells.
bool RegisterCaptureKey(HWND window);
void UnregisterCaptureKey(HWND window);

// The main menu's item says so while the key is taken.
void ShowCaptureKeyInMenu(HWND window, bool taken);
