// The one index of the program, shared by every search dialog and kept for
// the life of the program. It is built and refreshed in a background thread
// so that no dialog freezes; the watching dialogs are told of progress by a
// posted message and query what has been read so far.
#pragma once
#include "query.h"
#include "../store/fact_shape.h"
#include <windows.h>
#include "../ui/app_messages.h"
#include <string>
#include <vector>

struct FoundFact {
    std::string categories[CATEGORY_LEVELS];
    std::string name;
};

struct SearchAnswer {
    std::vector<FoundFact> found;  // in the browser's order
    int indexed;                   // facts read so far
    int unreadable;                // files that could not be read whole
    bool complete;                 // the walk over the whole base is done
};

// The dialog is told of progress until it unwatches.
void WatchSearchIndex(HWND dialog);
void UnwatchSearchIndex(HWND dialog);

// Starts bringing the index up to date with the base below root in the
// background, unless a walk is under way already.
void RefreshSearchIndex(const char* root);

SearchAnswer QuerySearchIndex(const SearchQuery& query);

// The program's own change to one fact folder (written, created, renamed
// away or deleted), taken into the index at once.
void SearchIndexFactChanged(const char* factFolder);

// A folder renamed (newFolder given) or deleted (NULL) by the program.
void SearchIndexFolderMoved(const char* oldFolder, const char* newFolder);

// Whether a background walk is under way (for tests that wait for its end).
bool SearchIndexBusy();

// Called on the walk's own thread after each Directive, when set: lets a
// test hold a walk halfway and change the base meanwhile.
extern void (*SearchWalkStep)();
