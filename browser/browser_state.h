// What the parts of one open browser share: its state, hung on DWLP_USER,
// and the calls each part offers the others. Private to browser/.
#pragma once
#include <windows.h>
#include "../store/fact_shape.h"
#include "../store/base_changes.h"
#include "../store/fact_store.h"
#include "../store/path_slot.h"
#include "../ui/dialog_doors.h"
#include "../ui/folder_list.h"

#include <string>
#include <vector>

enum ShownFile { SHOWN_NONE = 0, SHOWN_DESCRIPTION = 1, SHOWN_MAIN_TEXT = 2 };

// Each open browser has its own; a second browser never sees the first one's.
struct BrowserState {
    char root[SLOT_SIZE];     // base root, taken from the working directory when the browser opened
    ShownFile ShownFileKind;  // which of the fact's files is on show
    char ShownFilePath[SLOT_SIZE];
    FileState ShownFileState;   // the file on show as it was read or last written
    TextFormat ShownFormat;     // its encoding, and whether the view lost characters of it
    int Selection[FACT_LEVEL];  // each list's selection after the last handled step
    char CutFolder[SLOT_SIZE];  // the entry Ctrl+X marked, "" for none
    bool CutMarkShown;          // some list may still show a cut mark
    HMENU ListMenu;             // MENU_LIST, for a right click on the background
    HMENU ListPopup;
    HMENU EntryMenu;            // IDR_ENTRY_MENU: its popup of each level, for a right click on a list
};

BrowserState* StateOf(HWND dialog);
FolderCascade BrowserCascade(HWND dialog);

// ---- browser_lists.cpp: walking the lists
void OnCategoryList(HWND dialog, int level);
void OnFactList(HWND dialog, int notification);
// The list box moved its selection before it told the dialog: put it back.
void RestoreSelection(HWND dialog, int level);
void RememberSelections(HWND dialog);
// The Directive selected in the lists is the one a quick capture suggests next.
void NoteDirectiveInUse(HWND dialog);
// A quick capture of the clipboard's text (or of dropped text) into the
// Directive selected in the lists (the last used one when none is).
void CaptureIntoSelectedDirective(HWND dialog, const std::wstring* dropped = NULL);
// Text dropped on the fact list (context: the browser).
void OnTextDroppedOnFacts(HWND list, const std::wstring& text, void* context);
// Files and folders dropped on the fact list from Explorer: imported into
// the Directive the list shows (context: the browser).
void OnFilesDroppedOnFacts(HWND list, const std::vector<std::wstring>& paths, void* context);
// The list of level filled anew from parent, the entry name selected (none when NULL).
void RefillAndSelect(HWND dialog, int level, const char* parent, const char* name);
// Walks the lists down to a fact as clicks would and shows it, the query's
// first match selected. TRUE when the fact is on show.
BOOL ShowFoundFact(HWND dialog, const FactToShow* fact);
// Walks the lists down to the entry at folder, as clicks would, and selects
// it, the lists below it empty; the text view is left as it is.
void SelectFolder(HWND dialog, const char* folder);

// ---- shown_text.cpp: the text on show and its write-back
// A click shows the fact's description, a double click its main text file.
// Quiet, a file that cannot be read is not reported. True when shown.
bool ShowFactFile(HWND dialog, ShownFile kind, bool quiet = false);
// The view emptied; nothing is on show.
void ClearShownText(HWND dialog);
// Before the view's text is replaced or closed: true when the browser may go
// on (nothing typed, written, or dropped by the user), false to stay.
bool MayLeaveText(HWND dialog);
void WriteBack(HWND dialog);

// ---- entry_menu.cpp: the right-click menus and what acts on one entry
// A right click on the background (WM_RBUTTONDOWN, client coordinates).
void OnBackgroundClick(HWND dialog, LPARAM lParam);
// WM_CONTEXTMENU: a right click on a list entry selects it as a left click
// would, then offers what can be done with it.
void OnContextMenu(HWND dialog, HWND window, LPARAM lParam);
// A command of the entry menu (rename, move, delete, at one level): false for any other id.
bool RunEntryCommand(HWND dialog, int id);
// The entry selected at level (1-5) and the folder that holds it; false, with
// a complaint, when nothing or ".." is selected there or it lies outside the base.
bool SelectedEntry(HWND dialog, int level, char* parent, char* name);
// The path slots that pointed into from (the text on show, AppState's) follow
// it to to; for a fact, the main text file that carries its name too.
void FollowEntry(HWND dialog, const std::string& from, const std::string& to, bool fact);

// ---- browser_follow.cpp: changes made elsewhere
// A listener on the change channel (context: the browser): the lists showing
// a folder that changed elsewhere are filled again, selection and scroll
// kept; the text on show is read again when nothing was typed.
void FollowChangesElsewhere(const BaseChange& change, void* context);
// Every list filled again, selections kept, as after a change made
// elsewhere: after an import or its undo, which touch many folders.
void LookAgainAtLists(HWND dialog);
// Looks for conflict copies in the fact folders the fact list shows, once
// per entry, and marks the facts that have one. Past CONFLICT_LOOKS_AT_ONCE
// entries it goes on at CONFLICT_TIMER.
const int CONFLICT_LOOKS_AT_ONCE = 200;
const UINT_PTR CONFLICT_TIMER = 1;
void MarkConflictCopies(HWND dialog);

// ---- entry_moves.cpp: moving, cut and paste, and undo
void MoveSelectedEntry(HWND dialog, int level);
void UndoNewest(HWND dialog);
// "Отменить: перемещение «name»" (or its rename, its import), or a plain
// "Отменить" when nothing can be undone.
std::string UndoMenuText();
// The cut mark and the conflict-copy marks, shown where they belong after
// the lists changed.
void ShowMarksInLists(HWND dialog);

// WM_FACTS_DIALOG_KEY: Ctrl+X, Ctrl+V and Ctrl+Z in the lists, Esc while an
// entry is marked. TRUE when the browser took the key.
BOOL OnDialogKey(HWND dialog, int key, bool control, HWND focus);
