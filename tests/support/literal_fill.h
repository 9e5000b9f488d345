// The folder-list fill done the long way, message by message: LB_DIR lists the
// working directory as "[name]" entries, then every entry is selected, read,
// stripped of its brackets and put back at its index. The program fills its
// lists another way; this is the yardstick the tests and the benchmark hold
// it against.
#pragma once
#include <windows.h>

void LiteralFolderFill(HWND list);

// A visible single-selection folder list (sorting, notifying) on a popup of its own.
HWND CreateFolderListWindow(HWND* frame);
