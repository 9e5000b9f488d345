// Renaming and deleting the entries of a base: a category folder, or a fact
// as a unit (its folder and the main text file that carries its name). UI-free:
// full Windows-1251 paths in, results out; nothing is shown.
#pragma once

enum NameCheck {
    NAME_OK,
    NAME_EMPTY,
    NAME_UNCHANGED,
    NAME_TAKEN,            // another entry of the folder has it, compared as Windows compares names
    NAME_BAD_CHARACTERS,   // \ / : * ? " < > | or a control character
    NAME_TRAILING,         // ends in a blank or a dot, which Windows would strip
    NAME_TOO_LONG          // a path below would pass 255 characters (a fact's main text file counted)
};

// Whether folder parent\oldName may be called newName. isFact: the folder is
// a fact, whose main text file carries its name.
NameCheck CheckNewName(const char* parent, const char* oldName, const char* newName, bool isFact);

enum RenameResult {
    RENAME_DONE,
    RENAME_FAILED   // nothing changed: a fact half renamed is put back
};

// A category: one move of its folder.
RenameResult RenameCategory(const char* parent, const char* oldName, const char* newName);

// A fact: its main text file inside the folder first, then the folder; if
// the folder cannot be moved, the file's rename is undone. A fact without a
// main text file: only its folder.
RenameResult RenameFact(const char* directive, const char* oldName, const char* newName);

enum RecycleResult {
    RECYCLED,          // the folder is in the Recycle Bin
    RECYCLE_REFUSED    // nothing deleted: no Recycle Bin there, or the move failed
};

// Moves a folder with everything in it to the Recycle Bin, never deleting it
// for good, with no dialog of the shell's own.
RecycleResult MoveToRecycleBin(const char* path);

// How many facts lie below a category folder of that level (1 Section … 4 Directive).
int CountFactsBelow(const char* folder, int level);
