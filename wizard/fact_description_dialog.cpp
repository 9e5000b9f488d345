#include "fact_description_dialog.h"
#include "fact_text_dialog.h"
#include "wizard_run.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../ui/app_state.h"
#include "../store/entry_name.h"
#include "../store/fact_store.h"
#include "../ui/name_complaint.h"
#include "../ui/platform_ui.h"
#include "../ui/unsaved_text.h"
#include "../store/base_changes.h"

#include <string>
#include <vector>

namespace {

void OnInitDialog(HWND dialog)
{
    AttachWizardRun(dialog);
    SendDlgItemMessageW(dialog, IDC_DESCRIPTION_NAME, EM_SETLIMITTEXT, SLOT_CHARS, 0);
    SendDlgItemMessageW(dialog, IDC_DESCRIPTION_TEXT, EM_SETLIMITTEXT, EDIT_TEXT_MAX, 0);
    SetDlgItemText1251(dialog, IDC_DESCRIPTION_NAME, Text::DefaultFactName);
}

const NameComplaints FACT_NAME_COMPLAINTS = { Text::FactNameEmpty, Text::FactNameTaken, Text::FactPathTooLong };

void OnNext(HWND dialog, WizardRun* run)
{
    char name[SLOT_SIZE];
    char segment[SLOT_SIZE];
    std::vector<char> description(TEXT_BUFFER_SIZE);
    TextFit typedName = GetDlgItemText1251(dialog, IDC_DESCRIPTION_NAME, name, SLOT_SIZE);
    TextFit typedText = GetDlgItemText1251(dialog, IDC_DESCRIPTION_TEXT, description.data(), EDIT_TEXT_MAX + 1);

    // Everything is checked before anything is created.
    if (typedName == TEXT_NOT_1251) {
        Complain(dialog, Text::NameNot1251);
        return;
    }
    if (typedText == TEXT_NOT_1251) {
        Complain(dialog, Text::TextNot1251);
        return;
    }
    if (typedName != TEXT_FITS || typedText != TEXT_FITS) {
        Complain(dialog, Text::FactPathTooLong);
        return;
    }
    // A Directive reached through ".." lies outside the base.
    if (!PathPlainBelow(run->DirectivePath, run->root)) {
        Complain(dialog, Text::OutsideBase);
        return;
    }
    NameRule rule = CheckEntryName(run->DirectivePath, name, ENTRY_FACT);
    // The typed name and text stay, to be corrected.
    if (rule != NAME_OK) {
        Complain(dialog, ComplaintForName(rule, FACT_NAME_COMPLAINTS));
        return;
    }
    SlotJoin(segment, "\\", name);

    // Only a folder this step has just made is written into: one that is
    // there already, by its name or its short name, belongs to another fact,
    // whatever the check above found a moment before.
    char factFolder[SLOT_SIZE];
    FolderResult created = CreateFactFolder(run->DirectivePath, name, factFolder);
    if (created == FOLDER_EXISTS) {
        Complain(dialog, Text::FactNameTaken);
        return;
    }
    char descriptionFile[SLOT_SIZE];
    FileState written;
    if (created != FOLDER_CREATED || !DescriptionFilePath(factFolder, descriptionFile) ||
        ReplaceTextFile(descriptionFile, description.data(), NULL, &written) != WRITE_DONE) {
        // Nothing of the failed attempt stays behind.
        if (created == FOLDER_CREATED)
            RemoveDirectory1251(factFolder);
        MessageBox1251(NULL, Text::DescriptionNotWritten, Text::CaptionFile, MB_OK);
        return;
    }
    SlotCopy(run->FactNameSegment, segment);
    SlotCopy(App.FactName, segment);
    SlotCopy(run->FactFolderPath, factFolder);
    SlotCopy(App.FactFolderPath, factFolder);
    run->made.folderMade = true;
    run->made.description = written;
    AnnounceFactChanged(run->FactFolderPath);
    HandOverWizardRun(run);
    DestroyWindow(dialog);
    OpenDialog(IDD_FACT_TEXT, FactTextDialog, App.OwnerWindow);
}

// The name counts as typed once the user changed the proposed one; the
// description as soon as it holds anything. An untouched step closes at once.
bool MayDropTyping(HWND dialog)
{
    HWND name = GetDlgItem(dialog, IDC_DESCRIPTION_NAME);
    bool typed = (SendMessageW(name, EM_GETMODIFY, 0, 0) && GetWindowTextLengthW(name) > 0) ||
                 GetWindowTextLengthW(GetDlgItem(dialog, IDC_DESCRIPTION_TEXT)) > 0;
    if (!typed)
        return true;
    return MessageBox1251(dialog, Text::TypedTextWillBeLost, Text::CaptionWarning, MB_OKCANCEL) == IDOK;
}

void OnCommand(HWND dialog, int id)
{
    WizardRun* run = WizardRunOf(dialog);
    if (!run)
        return;
    switch (id) {
    case IDOK: OnNext(dialog, run); break;
    case IDCANCEL:
        if (!MayDropTyping(dialog))
            break;
        SetCurrentDirectory1251(run->root);
        DestroyWindow(dialog);
        break;
    default: break;
    }
}

}  // namespace

INT_PTR CALLBACK FactDescriptionDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return FALSE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam)); return TRUE;
    case WM_DESTROY: DetachWizardRun(dialog); return FALSE;
    case WM_FACTS_CLOSE_QUERY: return AnswerCloseQuery(dialog, MayDropTyping(dialog));
    default: return FALSE;
    }
}
