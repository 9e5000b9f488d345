// What the watch on the base saw, gathered into one note per folder: a sync
// tool that writes hundreds of files at once costs the window side one
// refill per folder, not one per file. UI-free and not thread-safe: the
// watch thread fills it under its own lock.
#pragma once
#include <set>
#include <string>
#include <vector>

struct ChangeNotes {
    std::set<std::string> folders;  // full Windows-1251 paths whose entries or files changed
    bool lost = false;              // events were lost (overflow): everything open must be looked at
};

// One changed entry, as the watch reports it: its path below root. Its
// folder is noted, which is what lists showing that folder must refill and
// what a fact folder's reader must read again.
void NoteChangedEntry(ChangeNotes* notes, const std::wstring& root, const std::wstring& relativePath);

// The watch lost events: from here on only a look at everything open is right.
void NoteLostEvents(ChangeNotes* notes);

// Hands the gathered notes over and starts afresh. A loss makes single
// folders pointless, so they are dropped then.
ChangeNotes TakeNotes(ChangeNotes* notes);
