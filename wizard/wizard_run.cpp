#include "wizard_run.h"
#include "../ui/app_state.h"

namespace {

// Handed on with the fact folder it belongs to: a later run that finds
// another folder in AppState has written nothing.
char handedFolder[SLOT_SIZE];
UnfinishedFact handedMade;

}  // namespace

WizardRun* AttachWizardRun(HWND dialog)
{
    WizardRun* run = new WizardRun();
    SlotCopy(run->root, App.CaptureRoot);
    SlotCopy(run->DirectivePath, App.DirectivePath);
    SlotCopy(run->FactFolderPath, App.FactFolderPath);
    SlotCopy(run->FactNameSegment, App.FactName);
    run->made = UnfinishedFact();
    if (SlotEquals(handedFolder, run->FactFolderPath))
        run->made = handedMade;
    handedFolder[0] = '\0';
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)run);
    return run;
}

WizardRun* WizardRunOf(HWND dialog)
{
    return (WizardRun*)GetWindowLongPtrW(dialog, DWLP_USER);
}

void DetachWizardRun(HWND dialog)
{
    WizardRun* run = WizardRunOf(dialog);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    delete run;
}

void HandOverWizardRun(const WizardRun* run)
{
    SlotCopy(App.CaptureRoot, run->root);
    SlotCopy(App.DirectivePath, run->DirectivePath);
    SlotCopy(App.FactFolderPath, run->FactFolderPath);
    SlotCopy(App.FactName, run->FactNameSegment);
    SlotCopy(handedFolder, run->FactFolderPath);
    handedMade = run->made;
}
