// The program's own window messages, one table, so that no two share a number.
#pragma once
#include <windows.h>

// To a dialog holding typed text, as the program ends: may it close? The
// answer is the dialog's DWLP_MSGRESULT (see unsaved_text.h).
const UINT WM_FACTS_CLOSE_QUERY = WM_APP + 1;
// To a search dialog, posted by the index's walk: more of the base is read.
const UINT WM_SEARCH_INDEX_PROGRESS = WM_APP + 2;
// To a browser: walk down to a fact and show it (a FactToShow in lParam).
const UINT WM_FACTS_SHOW_FACT = WM_APP + 3;
// To the base check dialog, posted by its walk: more findings are ready.
const UINT WM_BASE_CHECK_PROGRESS = WM_APP + 4;
// To the active dialog, from the message loop, before the dialog manager
// sees a key press: LOWORD(wParam) the virtual key, HIWORD(wParam) TRUE while
// Ctrl is held, lParam the window with the keyboard focus. The answer is the
// dialog's DWLP_MSGRESULT: TRUE when it took the key.
const UINT WM_FACTS_DIALOG_KEY = WM_APP + 5;
// To the window the watch on the base reports to, posted by the watch's
// thread: changes made elsewhere are noted (see watch/base_watch.h).
const UINT WM_FACTS_BASE_CHANGED = WM_APP + 6;
// To a quick capture window, posted by its look through the base: the same
// text is already a fact's (lParam a heap std::string with that fact's
// folder, "" when none, freed by the window).
const UINT WM_FACTS_CAPTURE_DUPLICATE = WM_APP + 7;
// To the main window, posted once after the start: the Directive of the
// newest fact is found (see capture/capture_places.h).
const UINT WM_FACTS_NEWEST_PLACE = WM_APP + 8;
