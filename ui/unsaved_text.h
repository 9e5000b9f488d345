// Dialogs that hold typed text are asked before the program ends. Each
// answers the message below; a window that does not know it answers 0, so
// only a dialog that wants to stay holds the end up.
#pragma once
#include <windows.h>
#include "app_messages.h"

const LRESULT CLOSE_QUERY_MAY_CLOSE = 0;  // nothing typed, or the user wrote or dropped it
const LRESULT CLOSE_QUERY_STAY = 1;       // the user chose to stay with the text

// Answers a WM_FACTS_CLOSE_QUERY from a dialog procedure.
INT_PTR AnswerCloseQuery(HWND dialog, bool mayClose);

// Asks every open dialog owned by owner, one after the other from the top
// of the window order down; false at the first that wants to stay (the rest
// are not asked).
bool DialogsMayClose(HWND owner);
