#include "unsaved_text.h"
#include <vector>

INT_PTR AnswerCloseQuery(HWND dialog, bool mayClose)
{
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, mayClose ? CLOSE_QUERY_MAY_CLOSE : CLOSE_QUERY_STAY);
    return TRUE;
}

bool DialogsMayClose(HWND owner)
{
    // Collected first: a dialog's question runs a message loop of its own.
    struct Collect {
        HWND owner;
        std::vector<HWND> dialogs;
    } collect = { owner, {} };
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            Collect* c = (Collect*)param;
            if (GetWindow(window, GW_OWNER) == c->owner)
                c->dialogs.push_back(window);
            return TRUE;
        },
        (LPARAM)&collect);
    for (size_t i = 0; i < collect.dialogs.size(); i++) {
        HWND dialog = collect.dialogs[i];
        if (IsWindow(dialog) && SendMessageW(dialog, WM_FACTS_CLOSE_QUERY, 0, 0) == CLOSE_QUERY_STAY)
            return false;
    }
    return true;
}
