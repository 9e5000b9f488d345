// The check of a whole base: what the lists cannot show, what the browser
// would show wrong or not at all, and what interrupted work left behind.
// UI-free. The walk only reads; each fix is one deliberate change that the
// user picks, and it looks again at the disk before it changes anything.
#pragma once
#include "../store/text_encoding.h"
#include <string>
#include <vector>

enum FindingKind {
    FINDING_NO_DESCRIPTION,  // a fact folder without "Описание.txt"
    FINDING_NO_MAIN_TEXT,    // a fact folder without "<name>.txt"; fixable when one other .txt is there
    FINDING_LEFTOVER,        // a temporary file of an interrupted save; fix: to the Recycle Bin
    FINDING_EMPTY_FACT,      // a fact folder holding nothing; fix: removed
    FINDING_UNLISTED_NAME,   // a folder name no list can show, so all below it is invisible
    FINDING_TEXT_TOO_LONG,   // more than the browser's text view holds
    FINDING_TEXT_HIDDEN,     // a NUL or 0x1A hides most of the text
    FINDING_FOLDER_IN_FACT,  // a folder inside a fact folder, a level no list shows
    FINDING_STRAY_FILE,      // a file among the category folders, where only folders belong
    FINDING_NOT_1251,        // a text another editor wrote in UTF-8 or UTF-16; fixable when all fits 1251
    FINDING_CONFLICT_COPY,   // a sync tool's copy beside a fact's file: a person decides which text wins
    FINDING_REPEAT,          // a fact whose main text a fact met before in the walk has too; a person decides
    FINDING_KINDS
};

struct Finding {
    FindingKind kind;
    std::wstring target;     // the full path of the file or folder concerned
    std::wstring below;      // the same below the base root, as the user reads it
    std::string folder;      // the folder that shows the finding in the shell, Windows-1251
    std::string factFolder;  // the fact folder concerned, empty for a category; Windows-1251
    TextEncoding encoding;   // FINDING_NOT_1251: the text's encoding
    bool fixable;            // a safe fix exists as the walk found it
    std::wstring original;   // FINDING_CONFLICT_COPY: the name of the file the copy stands beside
    std::wstring sameAs;     // FINDING_REPEAT: the fact with the same text, below the base root
    std::string sameAsFolder;  // FINDING_REPEAT: that fact's folder, Windows-1251
};

struct BaseCheck {
    int factsChecked;
    std::vector<Finding> findings;  // in the order of the walk
};

// Called after each Directive with what was found so far; returning false
// ends the walk there.
typedef bool (*CheckProgress)(const BaseCheck& check, void* context);

// Whether the walk compares the facts' main texts (store/same_text.h): a
// repeat is told only by a walk of the whole base.
enum RepeatSearch { REPEATS_FOUND, REPEATS_LEFT_OUT };

// Walks every folder below root, the ones the lists leave out included.
void CheckBase(const std::string& root, BaseCheck* check, CheckProgress progress = 0, void* context = 0,
               RepeatSearch repeats = REPEATS_FOUND);

// Walks folder, at or below root, again as CheckBase would, adding what it
// finds to check. A folder inside a fact walks its fact again; a folder
// that is gone adds nothing. Repeats are not looked for: the rest of the
// base is not walked.
void CheckFolder(const std::string& root, const std::string& folder, BaseCheck* check, CheckProgress progress = 0,
                 void* context = 0);

// Whether CheckFolder of folder would find this finding again, if it still
// holds; for a repeat, whether either of its two facts lies in folder, since
// a change there may have ended it.
bool FindingWithin(const Finding& finding, const std::string& folder);

enum FixResult {
    FIX_DONE,
    FIX_NOT_APPLICABLE,  // the disk no longer looks as the walk found it, or there is no safe fix
    FIX_FAILED           // tried and refused by the system; nothing changed
};

// A fix changes only what lies below root: a finding whose target leads
// elsewhere (another folder, "..", a "\\?\" or other spelling) is
// FIX_NOT_APPLICABLE and nothing is touched.
FixResult FixFinding(const std::string& root, const Finding& finding);
