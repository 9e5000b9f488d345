// "МЕСТО" (template 6510): the four lists of the placement, for a capture
// to choose another Directive. Modal, owned by the capture window.
#pragma once
#include <windows.h>

// Opens at current (a Directive's full path, or "" for none) and returns
// true with the chosen Directive in chosen (a 256-byte slot), false when
// the user cancelled.
bool AskCapturePlace(HWND owner, const char* root, const char* current, char* chosen);
