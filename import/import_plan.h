// What an import of a folder (or one file) of texts will do, found before
// anything is written: which files become facts and in which Directive,
// which are left out and why, and how many categories it makes or finds.
// Every file is read once here and let go: no text is kept. UI-free.
#pragma once
#include "source_text.h"
#include <string>
#include <vector>

enum ImportSkip {
    IMPORT_TAKEN,     // becomes a fact
    SKIP_HIDDEN,      // a hidden or system file, or such a folder with everything in it (one entry)
    SKIP_OTHER_KIND,  // an extension other than .txt, .text, .md and .markdown
    SKIP_EMPTY,       // nothing in it, or only blanks and line ends
    SKIP_NOT_TEXT,    // a NUL outside UTF-16, another control character, or bytes no encoding of it holds
    SKIP_TOO_LONG,    // more than a fact's main text may hold (EDIT_TEXT_MAX characters with CR LF line ends)
    SKIP_UNREADABLE,  // could not be opened or read
    IMPORT_SKIPS
};

struct ImportFile {
    std::wstring source;  // the file's full path (a hidden folder's, for SKIP_HIDDEN)
    std::wstring name;    // its name without the extension: the fact's name before the name rule
    bool markdown;
    ImportSkip skip;
    SourceGuess guess;             // IMPORT_TAKEN: how it will be read (the preview may change the encoding)
    int directive;                 // IMPORT_TAKEN: index into ImportPlan::directives; -1 otherwise
    unsigned long long lastWrite;  // FILETIME ticks, kept on the fact's main text
};

struct ImportPlan {
    std::string root;         // the base root
    std::string place;        // the category the import goes into, or root itself
    int placeLevel;           // 0 for the root, 1 Section … 4 Directive
    std::wstring source;      // the folder or file chosen
    std::wstring sourceName;  // its folder's own name
    std::vector<ImportFile> files;        // in the order they will be imported
    std::vector<std::string> directives;  // the Directives the facts go into, full paths
    int taken;
    int skipped[IMPORT_SKIPS];  // by reason; skipped[IMPORT_TAKEN] is 0
    int newCategories;          // category folders the import will make
    int existingCategories;     // category folders it will put facts below that are there already
};

enum PlanResult {
    PLAN_READY,
    PLAN_NO_SOURCE,  // the source is neither a folder nor a file that can be listed
    PLAN_BAD_PLACE   // place is not root nor a category folder plainly below it
};

// Looks at source and maps it onto the levels below place. A folder that
// holds files that are taken becomes a Directive; the levels missing above
// it take the source folder's own name; a tree deeper than the levels left
// joins its deeper folder names into one, " - " between them. Into a
// Directive, every file goes into it.
PlanResult PlanImport(const std::string& root, const std::string& place, const std::wstring& source, ImportPlan* plan);

// Several sources dropped together (files and folders out of one Explorer
// window) as one plan: each looked at as PlanImport does, their files one
// after another, shown below the folder that holds the first (one source
// alone is PlanImport's plan, shown below itself). The first
// refusal of one of them is the result.
PlanResult PlanImportOfMany(const std::string& root, const std::string& place, const std::vector<std::wstring>& sources,
                            ImportPlan* plan);

// The Directive a folder's files go into, as names of the levels below the
// place: relative holds the folder's names below the source folder, levelsLeft
// how many category levels lie below the place. Names are made valid by the
// one name rule. Empty when levelsLeft is 0.
std::vector<std::string> CategoriesFor(const std::vector<std::wstring>& relative, const std::wstring& sourceName,
                                       int levelsLeft);

// The fact's description from its text: the first line that is not blank (a
// Markdown heading without its # marks), cut at a word boundary to about
// DESCRIPTION_LENGTH characters.
const size_t DESCRIPTION_LENGTH = 200;
std::wstring DescriptionOf(const std::wstring& text, bool markdown);

// text with every line end (a lone LF, a lone CR) as CR LF.
std::wstring WithCrLf(const std::wstring& text);

// Reads a source file's bytes; false when it cannot be read or holds more
// than limit bytes (tooLarge then set).
bool ReadSourceFile(const std::wstring& path, size_t limit, std::string* bytes, bool* tooLarge);

// The most bytes a file may have whose text could still fit a fact.
size_t SourceBytesMax();

// Whether a file's text fits a fact: encoding applied, its decoded text in
// text (with CR LF line ends) on IMPORT_TAKEN.
ImportSkip JudgeSourceText(const std::string& bytes, SourceEncoding encoding, std::wstring* text);
