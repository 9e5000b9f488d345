// Taking a text through the clipboard: the selection of the program in front,
// or what the clipboard holds, and giving the clipboard back what it held
// before. Window side: the clipboard belongs to a window.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// What a capture takes from the clipboard, before TakenText makes it a fact's text.
struct ClipboardText {
    std::wstring text;  // CF_UNICODETEXT as it stands, empty when there is none
    std::string html;   // "HTML Format" as it stands (UTF-8, header and all), empty when there is none
};

// The clipboard's formats whose data is plain memory (every text format,
// HTML, RTF, file lists and device-independent bitmaps), copied out so that
// they can be put back; formats held as GDI objects are left out.
struct ClipboardSnapshot {
    struct Format {
        UINT id;
        std::vector<char> bytes;
    };
    std::vector<Format> formats;
    bool read;  // false when the clipboard could not be opened: nothing to put back
};

// Opens the clipboard for window, trying again for a moment while another
// program still holds it open (the program that just copied, typically).
bool OpenClipboardPatiently(HWND window);

// The clipboard's text and HTML now; empty when it holds neither or cannot be opened.
ClipboardText ReadClipboardText(HWND window);

ClipboardSnapshot SaveClipboard(HWND window);
// Puts the snapshot back as the clipboard's whole content. False when the
// clipboard could not be opened.
bool RestoreClipboard(HWND window, const ClipboardSnapshot& snapshot);

// Sends the copy command to the program in front (Ctrl+C, with the keys of
// the capture's own shortcut let go first), or WM_COPY to the focused control
// when the window in front is this thread's own, and waits at most waitMs
// for the clipboard to change. True when it changed.
bool CopySelectionOf(HWND foreground, DWORD waitMs);

// The longest a capture waits for the program in front to copy its selection.
const DWORD COPY_WAIT_MS = 500;

// The selection of the program whose window is foreground: copied, read,
// and the clipboard given back what it held before. When nothing new
// arrives within COPY_WAIT_MS, the clipboard's text as it was; fresh tells
// which. window is this program's, for the clipboard calls.
struct GrabbedSelection {
    ClipboardText taken;
    bool fresh;
};
GrabbedSelection GrabSelection(HWND window, HWND foreground);
