// The process-wide handles and paths that the main window and the dialogs
// share. One instance for the whole run, initialised before the main window
// exists and never freed. Paths are 256-byte Windows-1251 slots.
#pragma once
#include <windows.h>
#include "../store/path_slot.h"

struct AppState {
    HINSTANCE AppInstance;  // where dialog templates and MENU_LIST are loaded from
    HWND OwnerWindow;       // the main window: owner of every dialog a dialog opens
    HWND ActiveDialog;      // the dialog opened last; the message loop serves its keyboard

    char BrowseRoot[SLOT_SIZE];      // base root of the fact base browser
    char EditorRoot[SLOT_SIZE];      // base root of the category editor
    char CaptureRoot[SLOT_SIZE];     // base root of the fact capture wizard
    char DirectivePath[SLOT_SIZE];   // the Directive chosen for a new fact; "C:\" while none was
    char FactFolderPath[SLOT_SIZE];  // the fact folder being made; "C:\" while none is
    char FactName[SLOT_SIZE];        // not the bare name: "\" and the name of the fact being made, a path segment
    char LastFolderPath[SLOT_SIZE];  // the folder a list selection entered last
    char LastDirective[SLOT_SIZE];   // the Directive used last in this run (a capture, the wizard, the browser); "" for none
};

extern AppState App;

// Puts every member back to its value at program start.
void InitAppState(AppState* state);
