// The one rule for a name typed for an entry of the base (a category or a
// fact folder), and the last guard before anything on disk is created,
// renamed or removed. Every name stands for exactly one plain folder: no
// separators, no ".." that climbs out, nothing Windows would quietly change
// or take for a device. UI-free.
#pragma once
#include <string>

enum NameRule {
    NAME_OK,
    NAME_EMPTY,           // nothing typed, or blanks only
    NAME_DOTS,            // "." or "..": the folder itself or the one above it
    NAME_BAD_CHARACTERS,  // \ / : * ? " < > | or a control character
    NAME_NOT_1251,        // the one byte Windows-1251 leaves without a character (0x98)
    NAME_TRAILING,        // ends in a blank or a dot, which Windows would strip
    NAME_RESERVED,        // CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, in any case, also with an extension
    NAME_TAKEN,           // another entry of the folder answers to it, by its long name (as Windows compares names) or its 8.3 short name
    NAME_TOO_LONG         // a path at or below the entry would pass 255 characters
};

enum EntryKind {
    ENTRY_CATEGORY,
    ENTRY_FACT  // its folder holds "Описание.txt" and "<name>.txt", both counted in the length
};

// The rules that need no disk: everything but NAME_TAKEN and NAME_TOO_LONG.
NameRule CheckNameText(const char* name);

// Whether parent\name may be made (oldName NULL) or the entry parent\oldName
// renamed to name. A rename counts every path below the entry and lets the
// entry keep its own name in another case (the entry the name leads to on
// disk is the renamed one itself); a new fact counts its two files.
// The name is compared as typed: nothing is trimmed.
NameRule CheckEntryName(const char* parent, const char* name, EntryKind kind, const char* oldName = 0);

// Whether the entry folder may move into target under its own name: NAME_TAKEN
// when target holds that name already, NAME_TOO_LONG when a path at or below
// the entry (a fact's main text counted even where it is missing) would pass
// 255 characters there; NAME_OK otherwise.
NameRule CheckMovedEntry(const char* folder, const char* target, EntryKind kind);

// The guard: path is folder followed by one or more "\" + name segments, each
// of which passes CheckNameText. So path lies strictly below folder and can
// reach nothing beside it, whatever the segments were typed as. Bytes are
// compared as they are; a folder given with a trailing separator (a drive's
// top, "T:\") is followed by one more separator, as composed paths have it.
// A path spelled otherwise than folder (a "\\?\" prefix, a short name of a
// folder above) is refused, never taken for below it. A segment may still be
// the short name of an entry: that entry does lie below, and whether a
// name is free is for CheckEntryName and the creation itself to say.
bool PathPlainBelow(const char* path, const char* folder);

// What an entry is on disk, whatever its path was spelled as (short names,
// a "\\?\" prefix, "..", case, links): its volume and its file id. known is false when
// the entry cannot be opened.
struct EntryIdentity {
    bool known;
    unsigned long volume;
    unsigned long long file;
};
EntryIdentity IdentityOf(const std::wstring& path);
// Both known and the same entry.
bool SameEntry(const EntryIdentity& a, const EntryIdentity& b);
