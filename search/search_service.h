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

struct SearchAnswer {
    std::vector<FactPlace> found;  // in the browser's order
    int indexed;                   // facts read so far
    int unreadable;                // files that could not be read whole
    bool complete;                 // the walk over the whole base is done
};

// The dialog is told of progress until it unwatches.
void WatchSearchIndex(HWND dialog);
void UnwatchSearchIndex(HWND dialog);

// Starts bringing the index up to date with the base below root in the
// background, unless a walk is under way already. From the first call on,
// the index follows every change announced on the base's change channel
// (base_changes.h) at once.
void RefreshSearchIndex(const char* root);

SearchAnswer QuerySearchIndex(const SearchQuery& query);

// Whether a background walk is under way (for tests that wait for its end).
bool SearchIndexBusy();

// How many walks over the whole base have begun since the program started:
// a change of the program's own is followed without one.
int SearchWalksStarted();

// Called on the walk's own thread after each Directive, when set: lets a
// test hold a walk halfway and change the base meanwhile.
extern void (*SearchWalkStep)();
