// The doors from one dialog to another. The shell provides them, so that no
// dialog's folder includes another dialog's folder. Each new dialog takes the
// working directory as its base root, and is owned by owner.
#pragma once
#include <windows.h>
#include "../store/fact_shape.h"
#include <string>

HWND OpenFactBase(HWND owner);
HWND OpenCategoryEditor(HWND owner);
HWND OpenFactWizard(HWND owner);  // its first step, the placement
// A quick capture of the clipboard's text, or of dropped text when given,
// placed in directive (NULL: the Directive used last); returnTo gets the
// focus back when it closes.
HWND OpenQuickCapture(HWND returnTo, const char* directive, const std::wstring* dropped = NULL);

// What WM_FACTS_SHOW_FACT carries in lParam.
struct FactToShow {
    FactPlace place;
    const char* query;  // Windows-1251, as typed into the search: its first match is selected
};

// Shows the fact in the browser used last, or in a new one opened on root
// when none is open, and makes that browser the active dialog. The browser
// walks its lists down as clicks would, its unsaved-text question first, and
// shows the main text (the description when the main text cannot be read).
// True when the fact is on show.
bool ShowFactInBrowser(const char* root, const FactToShow& fact);
