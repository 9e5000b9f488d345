// Moving an entry of the base (a Topic, Subtopic, Directive or fact) with
// everything below it to another place one level up: one rename of its
// folder, never a copy, so it is done whole or not at all, and costs the
// same whatever the folder holds. UI-free.
#pragma once
#include "../store/fact_shape.h"
#include <string>

enum MoveResult {
    MOVE_DONE,
    MOVE_SAME_PLACE,    // the target is where the entry is now
    MOVE_WRONG_LEVEL,   // the target is not a folder of the level right above the entry's; a Section has none
    MOVE_TAKEN,         // the target holds an entry of that name, compared as Windows compares names
    MOVE_TOO_LONG,      // a path at or below the moved entry would pass 255 characters there
    MOVE_OUTSIDE,       // the entry or the target does not lie plainly below the base root
    MOVE_IN_USE,        // the file system refused: a file in it is open elsewhere, or access is denied
    MOVE_OTHER_VOLUME,  // the target lies on another volume (through a junction, say)
    MOVE_GONE,          // the entry or the target is no longer there
    MOVE_FAILED         // refused for another reason
};

// The folder that holds path: all before its last separator.
std::string ParentOf(const char* path);
// Whether a folder is there.
bool IsFolder(const char* path);

// Every refusal that can be known before trying, in this order: outside,
// wrong level, same place, taken, too long. MOVE_DONE when the move may go.
MoveResult CheckMove(const char* root, const char* folder, const char* target);

// Checks, then moves folder into target under its own name with one
// MoveFileExW (no copy allowed). newFolder receives the new path when done.
// Nothing changes on any other result.
MoveResult MoveEntry(const char* root, const char* folder, const char* target, std::string* newFolder);

// The one move of a folder on disk that MoveEntry and the undo make: the
// change channel hears that it is coming (so that the program's own handles
// inside let go) and that it is over, and a moment's sharing violation is
// tried again. 0 when moved, or the error of the last try.
unsigned long MoveFolderOnDisk(const char* from, const char* to);

// What a failed MoveFileExW's error means for the user.
MoveResult MoveResultOfError(unsigned long error);
