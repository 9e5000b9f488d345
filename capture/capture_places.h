// Where a quick capture puts its fact before the user says otherwise: the
// Directive used last in this run, or, after a start, the Directive of the
// newest fact, looked for once in the background. Window side: the look
// reports to a window.
#pragma once
#include <windows.h>

// Starts the one look for the newest fact below root on a thread of its
// own; message is posted to window when it is over.
void StartLookingForNewestPlace(const char* root, HWND window, UINT message);

// The newest fact's Directive, into directive (a 256-byte slot), once the
// look is over and found one; false (directive empty) before that, or when
// the base holds no fact.
bool NewestPlaceFound(char* directive);

// The place for a new capture below root, into directive: the Directive
// used last (AppState's LastDirective) while it is still a Directive of this
// base, else the newest fact's when it is known and still there. False,
// directive empty, when there is none yet.
bool PlaceForCapture(const char* root, char* directive);
