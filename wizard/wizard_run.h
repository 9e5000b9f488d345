// What one run of the fact wizard has chosen so far. AppState carries these
// values from one step to the next, but two wizards open at once would
// overwrite each other there; so each step takes its own copy when it opens
// and acts only on that, and hands its copy on through AppState right before
// it opens the next step.
#pragma once
#include <windows.h>
#include "../store/path_slot.h"
#include "../store/fact_store.h"

struct WizardRun {
    char root[SLOT_SIZE];  // base root: AppState's CaptureRoot, taken by the placement from the working directory
    char DirectivePath[SLOT_SIZE];
    char FactFolderPath[SLOT_SIZE];
    char FactNameSegment[SLOT_SIZE];  // AppState's FactName: "\" and the fact's name, ready to follow the folder
    UnfinishedFact made;              // what this run wrote into FactFolderPath, all it may take back
};

// Gives the dialog its own copy of the wizard members of AppState.
WizardRun* AttachWizardRun(HWND dialog);
WizardRun* WizardRunOf(HWND dialog);
void DetachWizardRun(HWND dialog);

// Writes the run's values back into AppState, for the step about to open.
// What the run wrote goes along beside AppState, and only the step that
// opens on the same fact folder takes it.
void HandOverWizardRun(const WizardRun* run);
