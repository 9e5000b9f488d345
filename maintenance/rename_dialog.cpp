#include "rename_dialog.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../ui/app_state.h"
#include "../ui/name_complaint.h"
#include "../ui/platform_ui.h"

namespace {

const NameComplaints RENAME_COMPLAINTS = { Text::NameEmpty, Text::NameTaken, Text::NameTooLong };

void OnOk(HWND dialog, RenameRequest* request)
{
    char typed[SLOT_SIZE];
    TextFit fit = GetDlgItemText1251(dialog, IDC_RENAME_NAME, typed, SLOT_SIZE);
    if (fit == TEXT_NOT_1251) {
        Complain(dialog, Text::NameNot1251);
        return;
    }
    if (fit == TEXT_FITS && SlotEquals(typed, request->oldName)) {
        EndDialog(dialog, IDCANCEL);
        return;
    }
    NameRule rule = fit == TEXT_FITS ? CheckEntryName(request->parent, typed,
                                                      request->isFact ? ENTRY_FACT : ENTRY_CATEGORY, request->oldName)
                                     : NAME_TOO_LONG;
    // The typed name stays in the edit, to be corrected.
    if (rule != NAME_OK) {
        Complain(dialog, ComplaintForName(rule, RENAME_COMPLAINTS));
        return;
    }
    SlotCopy(request->newName, typed);
    EndDialog(dialog, IDOK);
}

// The request is the dialog's state: its caller owns it, so nothing is freed here.
void OnInitDialog(HWND dialog, RenameRequest* request)
{
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)request);
    SendDlgItemMessageW(dialog, IDC_RENAME_NAME, EM_SETLIMITTEXT, SLOT_CHARS, 0);
    SetDlgItemText1251(dialog, IDC_RENAME_NAME, request->oldName);
    SetFocus(GetDlgItem(dialog, IDC_RENAME_NAME));
    SendDlgItemMessageW(dialog, IDC_RENAME_NAME, EM_SETSEL, 0, -1);
}

void OnCommand(HWND dialog, int id)
{
    RenameRequest* request = (RenameRequest*)GetWindowLongPtrW(dialog, DWLP_USER);
    switch (id) {
    case IDOK: OnOk(dialog, request); break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
    default: break;
    }
}

INT_PTR CALLBACK RenameDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog, (RenameRequest*)lParam); return FALSE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam)); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

INT_PTR AskNewName(HWND owner, RenameRequest* request)
{
    return DialogBoxParamW(App.AppInstance, MAKEINTRESOURCEW(IDD_RENAME), owner, RenameDialog, (LPARAM)request);
}
