#include "fact_text_dialog.h"
#include "wizard_run.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../ui/app_state.h"
#include "../store/entry_name.h"
#include "../store/fact_store.h"
#include "../ui/platform_ui.h"
#include "../ui/unsaved_text.h"
#include "../store/base_changes.h"

#include <vector>

namespace {

void OnInitDialog(HWND dialog)
{
    WizardRun* run = AttachWizardRun(dialog);
    SendDlgItemMessageW(dialog, IDC_TEXT_MAIN_TEXT, EM_SETLIMITTEXT, EDIT_TEXT_MAX, 0);
    SetDlgItemText1251(dialog, IDC_TEXT_FOLDER_PATH, run->FactFolderPath);
}

// Both exits end the wizard: nothing is in the making any more.
void EndWizard(HWND dialog, WizardRun* run)
{
    SlotCopy(App.FactFolderPath, Text::UnsetPath);
    SetCurrentDirectory1251(run->root);
    DestroyWindow(dialog);
}

void OnSave(HWND dialog, WizardRun* run)
{
    std::vector<char> text(TEXT_BUFFER_SIZE);
    TextFit typed = GetDlgItemText1251(dialog, IDC_TEXT_MAIN_TEXT, text.data(), EDIT_TEXT_MAX + 1);
    if (typed == TEXT_NOT_1251) {
        Complain(dialog, Text::TextNot1251);
        return;
    }
    char path[SLOT_SIZE];
    // Without a fact folder of its own the text has nowhere to go: never the
    // root of drive C.
    if (typed != TEXT_FITS || SlotEquals(run->FactFolderPath, Text::UnsetPath) || run->FactNameSegment[0] != '\\' ||
        !MainTextFilePath(run->FactFolderPath, run->FactNameSegment + 1, path) ||
        !PathPlainBelow(path, run->DirectivePath) || !WriteTextFile(path, text.data())) {
        // The dialog stays open with the typed text, so nothing is lost:
        // the user can try again or give the fact up.
        MessageBox1251(NULL, Text::MainTextNotWritten, Text::CaptionFile, MB_OK);
        return;
    }
    AnnounceFactChanged(run->FactFolderPath);
    EndWizard(dialog, run);
}

// A typed main text goes only when the user agrees; an empty step closes at once.
bool MayDropText(HWND dialog)
{
    if (GetWindowTextLengthW(GetDlgItem(dialog, IDC_TEXT_MAIN_TEXT)) == 0)
        return true;
    return MessageBox1251(dialog, Text::TypedTextWillBeLost, Text::CaptionWarning, MB_OKCANCEL) == IDOK;
}

void OnDiscard(HWND dialog, WizardRun* run)
{
    if (!MayDropText(dialog))
        return;
    // Only this wizard's own fact folder is touched.
    DeleteUnfinishedFact(run->DirectivePath, run->FactFolderPath, run->made);
    AnnounceFactChanged(run->FactFolderPath);
    EndWizard(dialog, run);
}

void OnOpenFolder(HWND dialog, WizardRun* run)
{
    if (SlotEquals(run->FactFolderPath, Text::UnsetPath))
        Complain(dialog, Text::FactFolderNotChosen);
    else
        OpenFolderInShell(run->FactFolderPath);
}

void OnCommand(HWND dialog, int id)
{
    WizardRun* run = WizardRunOf(dialog);
    if (!run)
        return;
    switch (id) {
    case IDOK: OnSave(dialog, run); break;
    case IDCANCEL: OnDiscard(dialog, run); break;
    case IDC_TEXT_OPEN_FOLDER: OnOpenFolder(dialog, run); break;
    default: break;
    }
}

}  // namespace

INT_PTR CALLBACK FactTextDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return FALSE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam)); return TRUE;
    case WM_DESTROY: DetachWizardRun(dialog); return FALSE;
    case WM_FACTS_CLOSE_QUERY: return AnswerCloseQuery(dialog, MayDropText(dialog));
    default: return FALSE;
    }
}
