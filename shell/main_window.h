// The main window: wallpaper, menu bar, the keys F1 to F6, and the one message loop.
#pragma once
#include <windows.h>

bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs until the quit message; returns its exit code. Keyboard messages go to
// the active dialog first, then to the accelerators, then to the windows.
int RunMessageLoop(HWND mainWindow, HACCEL accelerators);

// Start-up, the loop and the exit code: everything WinMain does.
int AppMain(HINSTANCE instance);
