// The modal rename dialog: the current name selected, a new one checked
// before the dialog closes.
#pragma once
#include <windows.h>
#include "../store/path_slot.h"

struct RenameRequest {
    const char* parent;  // the folder holding the entry
    const char* oldName;
    bool isFact;
    char newName[SLOT_SIZE];  // filled when the dialog ends with IDOK
};

// IDOK with request->newName set to a name that may be used; IDCANCEL when
// the user gave up or kept the name.
INT_PTR AskNewName(HWND owner, RenameRequest* request);
