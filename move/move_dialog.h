// The move dialog (template 6300, modal, owned by the browser): the levels
// above the entry as cascading lists, opened at the entry's present place;
// "ПЕРЕМЕСТИТЬ" moves it below the folder chosen there.
#pragma once
#include <windows.h>
#include "../store/path_slot.h"

struct MoveRequest {
    const char* root;           // the browser's base root
    const char* folder;         // the entry's folder: 2 (Topic) to 5 (fact) levels below root
    char newFolder[SLOT_SIZE];  // where it is now, when the answer is IDOK
};

// IDOK when the entry was moved; IDCANCEL when the user gave up. Every
// refusal is told by the dialog itself, which then stays open.
INT_PTR AskMove(HWND owner, MoveRequest* request);

// The message for a refused or failed move.
const char* MoveComplaint(int moveResult);
