// What a quick capture looks up in the base before its window is filled:
// the place to suggest and whether the text is there already. Reads only,
// touches no window and keeps nothing between calls, so it runs on a
// background thread while the window's thread goes on.
#pragma once
#include <string>
#include <vector>

// A fact folder as the walk of the base meets it; the texts are valid
// during the call only.
struct SeenFact {
    const char* folder;          // the fact folder's full path, Windows-1251
    const char* directive;       // its Directive's full path
    const char* name;            // the fact's name: the folder's own name
    unsigned long long created;  // FILETIME ticks
};

// Called for each fact folder; false stops the walk there.
typedef bool (*FactVisitor)(const SeenFact& fact, void* context);

// From now on every walk below stops before its next folder or file while
// the program moves, renames or removes a folder (announced as coming on
// the change channel), and holds nothing open meanwhile. Called on the
// windows' thread, before the first walk on another thread starts.
void LetWalksGiveWay();
// The same for a while of the caller's own (saving a fact, where every file
// the walks open would slow the write down): nothing is open below the root
// by a walk from Pause to Resume. Pairs nest; the windows' thread only.
void PauseFactWalks();
void ResumeFactWalks();

// Walks the base below root: the four category levels, then the fact folders
// of each Directive, one listing per folder, in the order the file system
// gives them. Folders no slot could carry (too long a path, characters
// outside Windows-1251) are left out with everything below them, and so are
// files among the folders. False when the walk was stopped by the visitor.
bool WalkFactFolders(const char* root, FactVisitor visit, void* context);

// The Directive (a 256-byte slot) of the fact folder made last, by creation
// time; of two made at the same tick, the one met first. False, directive
// empty, when the base holds no fact.
bool NewestFactDirective(const char* root, char* directive);

// Whether path is a Directive folder below root, there now.
bool IsDirectiveOf(const char* root, const char* path);

// The place a capture suggests, into directive (a 256-byte slot): lastUsed,
// the Directive used last in this run, when it is given and is still a
// Directive folder of the base below root; otherwise the Directive of the
// newest fact. False, directive empty, when there is neither.
bool ChooseCapturePlace(const char* root, const char* lastUsed, char* directive);

// A fact's main text as the duplicate check knows it: where it is and the
// DuplicateKey of its text. A search index that holds every text could keep
// these beside its own and answer without reading the base.
struct KnownText {
    std::string factFolder;
    std::wstring key;
};

// The first of texts whose key is key; NULL when none is.
const KnownText* FindSameText(const std::wstring& key, const std::vector<KnownText>& texts);

// The text of a fact's main text file, whatever its encoding (Windows-1251,
// UTF-8, UTF-16), every character kept, ending where a read for showing
// ends (at a NUL or 0x1A); false when it cannot be read.
bool ReadMainText(const char* factFolder, const char* factName, std::wstring* text);

// Whether text is already a fact's main text somewhere below root (compared
// by DuplicateKey); factFolder (a 256-byte slot) receives the first fact
// folder found, and is empty when there is none.
// goOn, when given, is asked before each fact: false gives the look up
// (the window that asked is gone), and nothing is found.
bool FindDuplicateFact(const char* root, const std::wstring& text, char* factFolder, bool (*goOn)(void*) = NULL,
                       void* context = NULL);
