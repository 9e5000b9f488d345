// Cascading folder lists: one list box per level, each showing the
// sub-folders of the entry selected in the list above it. The working
// directory is the dialog's root between messages; a selection step enters
// the chosen folder and always returns to the root before it ends.
#pragma once
#include <windows.h>
#include "../store/fact_shape.h"
#include "../platform/platform_text.h"

// One dialog's lists, top level first, and the base root in its state.
struct FolderCascade {
    int listIds[FACT_LEVEL];
    int levels;
    char* root;
};

// The level (1-based) of the cascade's list with that control id, 0 for none.
int LevelOfList(const FolderCascade& cascade, int listId);

// Adds the sub-folders of folder to an empty list as plain names, in the
// order a directory listing of the list control would give, with no entry
// selected. Redrawing is held off meanwhile, so that a large folder fills at
// once. False when the folder could not be listed (the list is then empty).
bool FillFolderList(HWND list, const char* folder);

// The marks an entry's item data holds; an entry shows the visible ones
// around its folder name ("[name]", "name (!)").
const LRESULT ENTRY_CUT = 1;        // cut, to be pasted elsewhere
const LRESULT ENTRY_CONFLICT = 2;   // the fact has a sync tool's conflict copy
const LRESULT ENTRY_LOOKED_AT = 4;  // the conflict copy was looked for
LRESULT EntryMarks(HWND list, int index);

// Gives the entry these marks, its text rewritten to show them.
void SetEntryMarks(HWND list, int index, LRESULT marks);

// The folder name of a list entry: its text without the marks it shows.
// TEXT_FITS when it fits a 256-byte slot.
TextFit FolderNameAt(HWND list, int index, char* name);

// The position of the entry whose folder name is exactly name, -1 for none.
int EntryNamed(HWND list, const char* name);

// Selects, list by list from the top, the entries that name folder's first
// `levels` segments below the cascade's root, each followed as a click would.
// Returns how many were selected; it stops at a name a list does not hold.
int SelectPath(HWND dialog, const FolderCascade& cascade, const char* folder, int levels);

// The entry of list whose folder name is name shows the cut mark ("[name]");
// every other entry of the list shows its plain name. name NULL: none marked.
void ShowCutMark(HWND list, const char* name);

enum SelectionPath {
    SELECTION_COMPOSED,  // path holds root + one segment per level
    SELECTION_MISSING,   // a list on the way has no selected entry: nothing composed
    SELECTION_TOO_LONG   // the path would not fit 255 characters: nothing composed
};

// The root followed by "\" + the selected entry of each list from level 1 to
// level `levels`, into path (a 256-byte slot). Makes the root the working
// directory.
SelectionPath ComposeSelectionPath(HWND dialog, const FolderCascade& cascade, int levels, char* path);

// Empties every list below `level` (1-based), top-down.
void EmptyListsBelow(HWND dialog, const FolderCascade& cascade, int level);

enum StepResult {
    STEP_FILLED,       // the folder was entered and the next list filled
    STEP_NOT_ENTERED,  // the folder could not be entered (or its path not composed): next list left empty
    STEP_IGNORED       // a list above had no selection: the lists below were emptied, nothing else
};

// The selection step for a selection change in the list of `level`: empties
// the lists below, composes the path, enters the folder, records it in
// LastFolderPath, fills the next list, and returns to the root.
StepResult FollowSelection(HWND dialog, const FolderCascade& cascade, int level);

// A folder changed elsewhere (folder NULL: anything may have): every list
// showing it is filled again, its selection and scroll position kept by
// name. Where the selected entry is gone, the lists below are emptied, as
// if nothing had been selected, and that level (1-based) is returned; 0 when
// every selection stayed.
int FollowFolderChange(HWND dialog, const FolderCascade& cascade, const char* folder);
