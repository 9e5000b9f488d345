#include "platform_ui.h"
#include "app_state.h"
#include "../resources/ui_strings.h"
#include <shellapi.h>

void SetWindowText1251(HWND window, const char* text)
{
    SetWindowTextW(window, WideFrom1251(text).c_str());
}

void SetDlgItemText1251(HWND dialog, int id, const char* text)
{
    SetDlgItemTextW(dialog, id, WideFrom1251(text).c_str());
}

std::wstring WindowTextWide(HWND window)
{
    int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    int got = GetWindowTextW(window, &text[0], length + 1);
    text.resize(got);
    return text;
}

TextFit GetDlgItemText1251(HWND dialog, int id, char* out, int capacity)
{
    std::wstring text = WindowTextWide(GetDlgItem(dialog, id));
    return TextTo1251(text.c_str(), (int)text.size(), out, capacity);
}

int MessageBox1251(HWND owner, const char* text, const char* caption, UINT type)
{
    return MessageBoxW(owner, WideFrom1251(text).c_str(), WideFrom1251(caption).c_str(), type);
}

void Complain(HWND dialog, const char* text)
{
    MessageBox1251(dialog, text, Text::CaptionError, MB_OK);
}

void ComplainWide(HWND dialog, const std::wstring& text)
{
    MessageBoxW(dialog, text.c_str(), WideFrom1251(Text::CaptionError).c_str(), MB_OK);
}

int ListBoxInsert1251(HWND list, int index, const char* text)
{
    return (int)SendMessageW(list, LB_INSERTSTRING, (WPARAM)index, (LPARAM)WideFrom1251(text).c_str());
}

int ListBoxInsertWide(HWND list, int index, const std::wstring& text)
{
    return (int)SendMessageW(list, LB_INSERTSTRING, (WPARAM)index, (LPARAM)text.c_str());
}

TextFit ListBoxText1251(HWND list, int index, char* out, int capacity)
{
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, (WPARAM)index, 0);
    if (length == LB_ERR)
        return TEXT_TOO_LONG;
    std::wstring text(length + 1, L'\0');
    length = SendMessageW(list, LB_GETTEXT, (WPARAM)index, (LPARAM)&text[0]);
    if (length == LB_ERR)
        return TEXT_TOO_LONG;
    return TextTo1251(text.c_str(), (int)length, out, capacity);
}

void OpenFolderWithShellExecute(const char* path)
{
    ShellExecuteW(NULL, NULL, WideFrom1251(path).c_str(), NULL, NULL, SW_SHOW);
}

OpenFolderFunction OpenFolderInShell = OpenFolderWithShellExecute;

HWND OpenDialog(int templateId, DLGPROC procedure, HWND owner, LPARAM param)
{
    HWND dialog = CreateDialogParamW(App.AppInstance, MAKEINTRESOURCEW(templateId), owner, procedure, param);
    App.ActiveDialog = dialog;
    return dialog;
}

bool RaiseOpenDialog(HWND open, int templateId, DLGPROC procedure, HWND owner)
{
    if (!IsWindow(open)) {
        OpenDialog(templateId, procedure, owner);
        return false;
    }
    App.ActiveDialog = open;
    SetActiveWindow(open);
    return true;
}
