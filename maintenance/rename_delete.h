// Renaming and deleting the entries of a base: a category folder, or a fact
// as a unit (its folder and the main text file that carries its name). UI-free:
// full Windows-1251 paths in, results out; nothing is shown. Names are
// checked by the one name rule (store/entry_name.h) before these are called;
// each operation still refuses a path that does not lie plainly below the
// base root, so that nothing beside the base, nor the root itself, changes.
#pragma once

enum RenameResult {
    RENAME_DONE,
    RENAME_FAILED,  // nothing changed: a fact half renamed is put back
    RENAME_OUTSIDE  // nothing tried: the old or new path is not plainly below the base root
};

// A category: one move of its folder.
RenameResult RenameCategory(const char* root, const char* parent, const char* oldName, const char* newName);

// A fact: its main text file inside the folder first, then the folder; if
// the folder cannot be moved, the file's rename is undone. A fact without a
// main text file: only its folder.
RenameResult RenameFact(const char* root, const char* directive, const char* oldName, const char* newName);

enum RecycleResult {
    RECYCLED,           // the folder is gone: in the Recycle Bin, or deleted for good after the
                        // shell warned that it would be and the user agreed
    RECYCLE_NO_BIN,     // nothing deleted: a network share, a removable or unknown drive
    RECYCLE_FAILED,     // nothing deleted: missing, or the shell could not move it
    RECYCLE_CANCELLED,  // nothing deleted: the user said no to the shell's warning
    RECYCLE_OUTSIDE     // nothing tried: the path is not plainly below root
};

// Moves a folder or file with everything in it to the Recycle Bin. Where the
// drive has no Recycle Bin nothing is tried; where the shell finds that the
// Recycle Bin will not take it (switched off, too small) the shell asks the
// user before deleting for good. No other dialog of the shell's own.
RecycleResult MoveToRecycleBin(const char* root, const char* path);

// How many facts lie below a category folder of that level (1 Section … 4 Directive).
int CountFactsBelow(const char* folder, int level);
