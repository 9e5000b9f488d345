// Carrying out an import plan: each taken file becomes a fact in a folder
// the store has just made, in the wizard's Windows-1251 or, where that
// cannot hold every character, UTF-8 with a BOM; it keeps its source's
// last-write time on the main text, is read back and compared, and is
// remembered for the undo. One file at a time: only the text being
// written is held. UI-free; the window's thread hears of every new fact and
// category on the change channel, so a background thread hands the run over
// to it (or runs it where nothing listens, as the command line does).
#pragma once
#include "import_plan.h"
#include "../store/text_file.h"
#include <string>
#include <vector>

enum ImportOutcome {
    OUTCOME_SKIPPED,         // the plan left the file out (ImportFile::skip says why)
    OUTCOME_IMPORTED,        // a new fact
    OUTCOME_DUPLICATE,       // a new fact whose text another fact of the base has (factFolder: that one)
    OUTCOME_ALREADY_THERE,   // not written: a fact of its Directive has that text already (factFolder: that one)
    OUTCOME_NAME_REFUSED,    // not written: no name the place allows
    OUTCOME_PLACE_FAILED,    // not written: a category could not be made, or its path would leave no room
    OUTCOME_WRITE_FAILED,    // not written: the fact's files could not be written; nothing of it stays
    OUTCOME_MISMATCH,        // written, read back other than its source, and removed again
    OUTCOME_SOURCE_CHANGED,  // not written: the file no longer reads as the plan found it
    OUTCOME_NOT_REACHED,     // not written: the import was cancelled before it
    IMPORT_OUTCOMES
};

struct ImportFileResult {
    ImportOutcome outcome;
    std::string factFolder;  // IMPORTED: the new fact; DUPLICATE: the new one; ALREADY_THERE: the fact that has it
    std::string sameAs;      // DUPLICATE: the fact elsewhere with the same text
};

struct ImportReport {
    std::vector<ImportFileResult> files;  // one for each of the plan's files, in its order
    int count[IMPORT_OUTCOMES];
    bool cancelled;
    int reached;  // taken files dealt with before the cancel (all of them when not cancelled)
};

// A fact the import made, as it made it.
struct ImportedFact {
    std::string folder;
    std::string name;
    FileState description;
    FileState mainText;
};

// What an import made, for undoing it as one step.
struct ImportRecord {
    std::string root;
    std::string place;
    std::wstring sourceName;
    std::vector<std::string> categories;  // made by the import, each after the one that holds it
    std::vector<ImportedFact> facts;
};

// Called before each taken file: done of total written or passed over so
// far. Returning false cancels: the fact being written is finished, no
// further one is begun.
typedef bool (*ImportProgress)(int done, int total, void* context);

void RunImport(const ImportPlan& plan, ImportProgress progress, void* context, ImportReport* report,
               ImportRecord* record);

// Whether nothing failed: every file was imported, or skipped or passed
// over for a reason the report states.
bool ImportSucceeded(const ImportReport& report);
