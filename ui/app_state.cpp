#include "app_state.h"
#include "../resources/ui_strings.h"

AppState App;

void InitAppState(AppState* state)
{
    state->AppInstance = NULL;
    state->OwnerWindow = NULL;
    state->ActiveDialog = NULL;
    SlotCopy(state->BrowseRoot, Text::UnsetPath);
    SlotCopy(state->EditorRoot, Text::UnsetPath);
    SlotCopy(state->CaptureRoot, Text::UnsetPath);
    SlotCopy(state->DirectivePath, Text::UnsetPath);
    SlotCopy(state->FactFolderPath, Text::UnsetPath);
    SlotCopy(state->FactName, "");
    SlotCopy(state->LastFolderPath, Text::UnsetLastFolder);
    SlotCopy(state->LastDirective, "");
}
