#include "literal_fill.h"

void LiteralFolderFill(HWND list)
{
    SendMessageW(list, LB_DIR, 0x8010, (LPARAM)L"*.*");
    int count = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        wchar_t text[512];
        SendMessageW(list, LB_SETCURSEL, i, 0);
        int length = (int)SendMessageW(list, LB_GETTEXT, i, (LPARAM)text);
        text[length - 1] = L'\0';
        SendMessageW(list, LB_DELETESTRING, i, 0);
        SendMessageW(list, LB_INSERTSTRING, i, (LPARAM)(text + 1));
    }
}

HWND CreateFolderListWindow(HWND* frame)
{
    *frame = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, NULL, NULL, NULL, NULL);
    return CreateWindowExW(0, L"ListBox", L"",
                           WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT |
                               LBS_NOINTEGRALHEIGHT,
                           0, 0, 400, 300, *frame, (HMENU)1000, NULL, NULL);
}
