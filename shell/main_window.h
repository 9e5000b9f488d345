// The main window: wallpaper, menu bar, the keys F1 to F6, and the one message loop.
#pragma once
#include <windows.h>

bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs until the quit message; returns its exit code. Keyboard messages go to
// the active dialog first, then to the accelerators, then to the windows.
int RunMessageLoop(HWND mainWindow, HACCEL accelerators);

// What starts once the main window is shown, none of which it waits for:
// the watch on the base below root, the capture's key and its look for the
// newest fact, and the search index's first walk, so that F5 later answers
// at once. False (nothing started but the key) when root is NULL.
void StartBackgroundWork(HWND mainWindow, const char* root);
// Its end, before the program goes.
void StopBackgroundWork(HWND mainWindow);

// Start-up, the loop and the exit code: everything WinMain does.
int AppMain(HINSTANCE instance);
