// Undoing an import as one step: the facts and categories it made go to the
// Recycle Bin, except those that changed since, which stay and are named.
// UI-free.
#pragma once
#include "import_run.h"
#include <string>
#include <vector>

enum ImportUndoResult {
    IMPORT_UNDONE,         // everything the import made is in the Recycle Bin
    IMPORT_UNDONE_PARTLY,  // some of it stays: changed since, or refused by the shell (see refused)
    IMPORT_UNDO_NO_BIN     // nothing touched: the base's drive has no Recycle Bin
};

struct ImportUndo {
    int factsRemoved;
    int categoriesRemoved;
    // What stays, full paths: a fact whose files changed or that holds more
    // than the import wrote, a category that holds something it did not make.
    std::vector<std::string> refused;
};

ImportUndoResult UndoImport(const ImportRecord& record, ImportUndo* undo);

// Makes the import the newest step of the program's undo (move/undo_stack.h),
// named by its source folder; nothing when it made nothing.
void RememberImportStep(const ImportRecord& record);

// What the last undo of such a step did: who stays, and why.
const ImportUndo& LastImportUndo();
