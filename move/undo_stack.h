// The last renames and moves of this program run, to be undone one by one,
// newest first. An undo is a move back: it needs the entry still where the
// step put it and its old place free; otherwise nothing changes. Nothing is
// written to the base for it, and it ends with the program. There is no redo.
// UI-free.
#pragma once
#include "../store/path_slot.h"

enum UndoKind {
    UNDO_MOVE,
    UNDO_RENAME,
    UNDO_IMPORT  // everything an import made, undone by the import's own action
};

enum UndoResult {
    UNDO_DONE,
    UNDO_NOTHING,      // no step is kept
    UNDO_ENTRY_GONE,   // the entry is no longer where the step put it
    UNDO_PLACE_TAKEN,  // the old place holds an entry of that name again
    UNDO_PLACE_GONE,   // the folder that held the entry is gone
    UNDO_OUTSIDE,      // a path no longer lies plainly below root
    UNDO_FAILED,       // the file system refused; nothing changed
    UNDO_PARTLY,       // an action's step: done where nothing changed since, the rest stays (its module says which)
    UNDO_NO_BIN        // an action's step: nothing done, the base's drive has no Recycle Bin
};

// A step that its own module undoes (an import): record is that module's
// number for what the step needs.
typedef UndoResult (*UndoAction)(const char* root, int record);

struct UndoStep {
    UndoKind kind;
    bool fact;             // a fact's rename renamed its main text file too
    char from[SLOT_SIZE];  // where the entry was; an action's step: the place it changed
    char to[SLOT_SIZE];    // where the step put it; an action's step: the name the menu gives it
    UndoAction action;     // NULL for a move or a rename
    int record;
};

// At least this many steps are kept; an older one is forgotten.
const int UNDO_DEPTH = 20;

void RememberStep(UndoKind kind, bool fact, const char* from, const char* to);
void RememberActionStep(UndoKind kind, const char* place, const char* name, UndoAction action, int record);
// The newest step, false when there is none.
bool NewestStep(UndoStep* step);
void ForgetAllSteps();

// Undoes the newest step; undone receives it. The step is forgotten when it
// is undone (also UNDO_PARTLY: what stays changed since, and is the user's)
// and when its entry is gone (UNDO_ENTRY_GONE), so that the next undo
// reaches the step before it; a step refused for a reason that may pass (a
// place taken, a folder in use) stays the newest.
UndoResult UndoNewestStep(const char* root, UndoStep* undone);
