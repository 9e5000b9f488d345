// The one way the program lists a folder: every caller that looks at what a
// folder holds (the folder lists, the name check, the search index, the base
// check) goes through VisitFolder, so a listing's quirks are handled once:
// "." never reaches a caller, nor ".." unless asked for, a drive's top works
// with or without its trailing separator, and an empty folder is listed, not
// an error.
#pragma once
#include <string>

// A file as a listing or a look at it found it: enough to tell later, cheaply,
// that it may have changed.
struct FileStamp {
    bool exists;
    unsigned long long size;
    unsigned long long lastWrite;  // FILETIME ticks
};

bool SameStamp(const FileStamp& a, const FileStamp& b);

// The stamp of one file; exists is false for a folder or nothing at all.
FileStamp StampOfFile(const std::wstring& path);

struct FolderEntry {
    const wchar_t* name;  // valid during the call only
    bool isFolder;
    FileStamp stamp;  // of a file; a folder's size is 0
    unsigned long long created;  // FILETIME ticks: when the file or folder was made
    unsigned long attributes;    // FILE_ATTRIBUTE_* as the listing gave them
};

// Called for each entry; false stops the listing there.
typedef bool (*EntryVisitor)(const FolderEntry& entry, void* context);

enum WalkHint {
    WALK_EVERYTHING,
    WALK_FOLDERS,            // files may still come: the file system takes this as a hint only
    WALK_FOLDERS_AND_PARENT  // the same, and ".." where the file system lists one (not at a drive's top)
};

// Visits folder's entries in the order the file system gives them. False
// when the folder cannot be listed (missing, not a folder, access denied).
bool VisitFolder(const std::wstring& folder, EntryVisitor visit, void* context, WalkHint hint = WALK_EVERYTHING);
