// The quick capture window, "БЫСТРЫЙ ФАКТ" (template 6500): a taken text
// made a fact in one step. Modeless; each capture opens a window of its own.
#pragma once
#include <windows.h>
#include <string>

// What a capture window opens with.
struct CaptureOpening {
    std::wstring text;      // as it came from the clipboard: TakenText is applied by the window
    std::wstring source;    // the description suggested: the page's address or the window's title
    const char* directive;  // the place asked for (the browser's Directive); NULL or "": the last used or the newest
    HWND returnTo;          // gets the focus back when the window closes (the program in front); NULL: none
    const char* took;       // the note's first part: what was taken from where (Windows-1251), NULL for none
};

INT_PTR CALLBACK CaptureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens a capture window owned by owner, with the working directory as its
// base root.
HWND OpenCaptureWindow(HWND owner, const CaptureOpening& opening);

// The global key's road: the selection of the program in front, copied and
// the clipboard given back, in a new window brought to the front; the main
// window is neither raised nor restored.
HWND CaptureSelectionInFront(HWND mainWindow);

// F7, the main menu and the browser's command: the clipboard's text, in
// directive when given. returnTo gets the focus back afterwards.
HWND CaptureClipboard(HWND owner, HWND returnTo, const char* directive);

// Text dropped on the browser's fact list, in directive when given.
HWND CaptureDroppedText(HWND owner, HWND returnTo, const char* directive, const std::wstring& text);

// The newest fact's Directive is known: windows still without a place take it.
void OfferNewestPlaceToCaptures();

// Whether another program holds the capture's global key; the windows say so.
void NoteCaptureKeyTaken(bool taken);
