// What the watch on the base saw, gathered into one note per folder: a sync
// tool that writes hundreds of files at once costs the window side one
// refill per folder, not one per file. UI-free and not thread-safe: the
// watch thread fills it under its own lock.
#pragma once
#include <set>
#include <string>
#include <vector>

// A move, rename or removal the program itself makes and announces: what
// the file system reports of it is no change made elsewhere.
struct OwnChange {
    std::wstring from, to;      // full paths; to is empty when the folder goes
    bool over = false;          // done (or failed): kept a moment for the reports still on their way
    unsigned long overAt = 0;   // GetTickCount when it was over
};

struct ChangeNotes {
    std::set<std::string> folders;  // full Windows-1251 paths whose entries or files changed
    bool lost = false;              // events were lost (overflow): everything open must be looked at
    std::vector<OwnChange> own;     // the program's own changes under way or just over
};

// How long the reports of an own change that is over are still taken as its own.
const unsigned long OWN_CHANGE_MS = 2000;

// One changed entry, as the watch reports it: its path below root. Its
// folder is noted, which is what lists showing that folder must refill and
// what a fact folder's reader must read again; unless the entry is the
// program's own change: at or below what it moves, renames or removes, or
// one of the two folders that hold it before and after (whose own write
// time changes with it).
void NoteChangedEntry(ChangeNotes* notes, const std::wstring& root, const std::wstring& relativePath);

// The watch lost events: from here on only a look at everything open is right.
void NoteLostEvents(ChangeNotes* notes);

// The program's own changes: begun, over, and forgotten OWN_CHANGE_MS after.
void NoteOwnChange(ChangeNotes* notes, const std::wstring& from, const std::wstring& to);
void EndOwnChange(ChangeNotes* notes, const std::wstring& from, unsigned long now);
void ForgetOwnChanges(ChangeNotes* notes, unsigned long now);
bool IsOwnChange(const ChangeNotes& notes, const std::wstring& entry);

// Whether path is folder or lies below it, compared as Windows compares names.
bool WidePathAtOrBelow(const std::wstring& path, const std::wstring& folder);

// Hands the gathered notes over and starts afresh; the own changes stay. A
// loss makes single folders pointless, so they are dropped then.
ChangeNotes TakeNotes(ChangeNotes* notes);
