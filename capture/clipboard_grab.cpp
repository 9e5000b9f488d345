#include "clipboard_grab.h"

#include <string.h>

namespace {

// What a snapshot keeps at most: a picture of a few screens, not a film.
const size_t SNAPSHOT_MAX_BYTES = 64u << 20;
const DWORD OPEN_PATIENCE_MS = 250;

UINT HtmlFormat()
{
    static UINT id = RegisterClipboardFormatW(L"HTML Format");
    return id;
}

// Formats whose handle is not a block of memory: a GDI object, or data
// only its owner can draw.
bool HeldAsObject(UINT format)
{
    switch (format) {
    case CF_BITMAP:
    case CF_METAFILEPICT:
    case CF_PALETTE:
    case CF_ENHMETAFILE:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE: return true;
    default: return (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST) ||
                    (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST);
    }
}

bool CopyOut(HANDLE data, std::vector<char>* bytes)
{
    SIZE_T size = GlobalSize(data);
    const void* memory = size ? GlobalLock(data) : NULL;
    if (!memory)
        return false;
    bytes->assign((const char*)memory, (const char*)memory + size);
    GlobalUnlock(data);
    return true;
}

// The clipboard must be open.
std::wstring UnicodeTextNow()
{
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* text = data ? (const wchar_t*)GlobalLock(data) : NULL;
    if (!text)
        return std::wstring();
    size_t most = GlobalSize(data) / sizeof(wchar_t);
    std::wstring copy(text, wcsnlen(text, most));
    GlobalUnlock(data);
    return copy;
}

std::string HtmlNow()
{
    HANDLE data = GetClipboardData(HtmlFormat());
    const char* html = data ? (const char*)GlobalLock(data) : NULL;
    if (!html)
        return std::string();
    std::string copy(html, strnlen(html, GlobalSize(data)));
    GlobalUnlock(data);
    return copy;
}

void AddKey(std::vector<INPUT>* keys, WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys->push_back(input);
}

bool Held(int key)
{
    return GetAsyncKeyState(key) < 0;
}

// Ctrl+C to whatever has the keyboard. Alt, Shift and the Windows keys of
// the shortcut may still be down: with them Ctrl+C would be another
// command, so they are let go first; Ctrl stays down while Alt goes, so
// that the program in front does not take the Alt alone as its menu key.
void SendCopyKeys()
{
    std::vector<INPUT> keys;
    bool control = Held(VK_CONTROL);
    if (!control)
        AddKey(&keys, VK_CONTROL, false);
    const int released[] = { VK_MENU, VK_SHIFT, VK_LWIN, VK_RWIN };
    for (int key : released)
        if (Held(key))
            AddKey(&keys, (WORD)key, true);
    AddKey(&keys, 'C', false);
    AddKey(&keys, 'C', true);
    if (!control)
        AddKey(&keys, VK_CONTROL, true);
    SendInput((UINT)keys.size(), keys.data(), sizeof(INPUT));
}

bool OwnWindow(HWND window)
{
    return window && GetWindowThreadProcessId(window, NULL) == GetCurrentThreadId();
}

// Waits for the clipboard's sequence number to move from before, waking on
// messages only (the clipboard listener's among them), never spinning.
bool WaitForClipboardChange(DWORD before, DWORD waitMs)
{
    HWND listener = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    bool listening = listener && AddClipboardFormatListener(listener);
    DWORD start = GetTickCount();
    bool changed = GetClipboardSequenceNumber() != before;
    while (!changed) {
        DWORD spent = GetTickCount() - start;
        if (spent >= waitMs)
            break;
        // Without a listener, a short slice stands in for its message.
        DWORD slice = listening ? waitMs - spent : std::min<DWORD>(waitMs - spent, 15);
        MsgWaitForMultipleObjects(0, NULL, FALSE, slice, QS_POSTMESSAGE | QS_SENDMESSAGE);
        MSG message;
        while (listener && PeekMessageW(&message, listener, 0, 0, PM_REMOVE))
            ;
        changed = GetClipboardSequenceNumber() != before;
    }
    if (listening)
        RemoveClipboardFormatListener(listener);
    if (listener)
        DestroyWindow(listener);
    return changed;
}

}  // namespace

bool OpenClipboardPatiently(HWND window)
{
    DWORD start = GetTickCount();
    while (!OpenClipboard(window)) {
        if (GetTickCount() - start >= OPEN_PATIENCE_MS)
            return false;
        Sleep(5);
    }
    return true;
}

ClipboardText ReadClipboardText(HWND window)
{
    ClipboardText taken;
    if (!OpenClipboardPatiently(window))
        return taken;
    taken.text = UnicodeTextNow();
    taken.html = HtmlNow();
    CloseClipboard();
    return taken;
}

ClipboardSnapshot SaveClipboard(HWND window)
{
    ClipboardSnapshot snapshot;
    snapshot.read = OpenClipboardPatiently(window);
    if (!snapshot.read)
        return snapshot;
    size_t total = 0;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        if (HeldAsObject(format))
            continue;
        HANDLE data = GetClipboardData(format);
        ClipboardSnapshot::Format saved = { format, {} };
        if (!data || !CopyOut(data, &saved.bytes) || total + saved.bytes.size() > SNAPSHOT_MAX_BYTES)
            continue;
        total += saved.bytes.size();
        snapshot.formats.push_back(saved);
    }
    CloseClipboard();
    return snapshot;
}

bool RestoreClipboard(HWND window, const ClipboardSnapshot& snapshot)
{
    if (!OpenClipboardPatiently(window))
        return false;
    EmptyClipboard();
    for (const ClipboardSnapshot::Format& format : snapshot.formats) {
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, format.bytes.size() ? format.bytes.size() : 1);
        void* memory = data ? GlobalLock(data) : NULL;
        if (!memory) {
            if (data)
                GlobalFree(data);
            continue;
        }
        memcpy(memory, format.bytes.data(), format.bytes.size());
        GlobalUnlock(data);
        if (!SetClipboardData(format.id, data))
            GlobalFree(data);
    }
    CloseClipboard();
    return true;
}

bool CopySelectionOf(HWND foreground, DWORD waitMs)
{
    DWORD before = GetClipboardSequenceNumber();
    if (OwnWindow(foreground)) {
        // Keys sent to this thread would wait in its queue until the capture
        // is over; its own focused control copies at once.
        HWND focus = GetFocus();
        if (focus)
            SendMessageW(focus, WM_COPY, 0, 0);
        return GetClipboardSequenceNumber() != before;
    }
    SendCopyKeys();
    return WaitForClipboardChange(before, waitMs);
}

GrabbedSelection GrabSelection(HWND window, HWND foreground)
{
    GrabbedSelection grabbed;
    ClipboardSnapshot before = SaveClipboard(window);
    // What the clipboard held could not be read: a copy now would replace
    // it for good, so the clipboard's own text is taken instead.
    grabbed.fresh = before.read && CopySelectionOf(foreground, COPY_WAIT_MS);
    grabbed.taken = ReadClipboardText(window);
    if (grabbed.fresh)
        RestoreClipboard(window, before);
    return grabbed;
}
