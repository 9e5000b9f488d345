#include "dialog_driver.h"
#include "test_files.h"
#include "../../ui/platform_ui.h"

#include <gtest/gtest.h>

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void SelectEntry(HWND dialog, int listId, int index)
{
    HWND list = GetDlgItem(dialog, listId);
    SendMessageW(list, LB_SETCURSEL, (WPARAM)index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), (LPARAM)list);
}

void SelectNamed(HWND dialog, int listId, const std::string& name)
{
    std::vector<std::string> entries = ListEntries(dialog, listId);
    for (size_t i = 0; i < entries.size(); i++) {
        if (entries[i] == name) {
            SelectEntry(dialog, listId, (int)i);
            return;
        }
    }
    ADD_FAILURE() << "no entry " << name << " in list " << listId;
}

void DoubleClickEntry(HWND dialog, int listId, int index)
{
    HWND list = GetDlgItem(dialog, listId);
    SendMessageW(list, LB_SETCURSEL, (WPARAM)index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_DBLCLK), (LPARAM)list);
}

void ClickButton(HWND dialog, int id)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

void PressEscape(HWND dialog, int controlId)
{
    MSG escape = { GetDlgItem(dialog, controlId), WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, { 0, 0 } };
    EXPECT_TRUE(IsDialogMessageW(dialog, &escape));
    PumpMessages();
}

void CloseByCaptionBox(HWND dialog)
{
    SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
}

std::vector<std::string> ListEntries(HWND dialog, int listId)
{
    HWND list = GetDlgItem(dialog, listId);
    std::vector<std::string> entries;
    int count = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        char text[1024];
        if (ListBoxText1251(list, i, text, sizeof text) != TEXT_FITS)
            text[0] = '\0';
        entries.push_back(text);
    }
    return entries;
}

int SelectedIndex(HWND dialog, int listId)
{
    return (int)SendDlgItemMessageW(dialog, listId, LB_GETCURSEL, 0, 0);
}

std::wstring ControlTextWide(HWND dialog, int id)
{
    return WindowTextWide(GetDlgItem(dialog, id));
}

std::string ControlText(HWND dialog, int id)
{
    return Cp1251(ControlTextWide(dialog, id));
}

void TypeText(HWND dialog, int id, const std::string& text)
{
    SetDlgItemTextW(dialog, id, Wide(text).c_str());
}

void TypeTextWide(HWND dialog, int id, const std::wstring& text)
{
    SetDlgItemTextW(dialog, id, text.c_str());
}

void TypeAsUser(HWND dialog, int id, const std::string& text)
{
    SendDlgItemMessageW(dialog, id, EM_SETSEL, 0, -1);
    SendDlgItemMessageW(dialog, id, EM_REPLACESEL, TRUE, (LPARAM)Wide(text).c_str());
}
