// The category editor: creates Sections, Topics, Subtopics and Directives.
#pragma once
#include <windows.h>

INT_PTR CALLBACK CategoryEditorDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
