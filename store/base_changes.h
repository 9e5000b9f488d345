// The one channel for "the base changed here". Whoever changes the base
// announces what it did; whoever keeps a picture of the base (the search
// index, open dialogs) listens and follows. Announcements are made and heard
// on the thread that runs the windows: a background thread that learns of a
// change hands it to that thread first. UI-free: listeners are plain
// functions, so the store's own tests can listen too.
#pragma once

enum BaseChangeKind {
    BASE_FACT_CHANGED,    // a fact folder's files were written, or the fact was made or went
    BASE_FOLDER_CREATED,  // a new category or fact folder
    BASE_FOLDER_MOVED,    // a folder renamed or moved, with everything below it
    BASE_FOLDER_REMOVED,  // a folder gone, with everything below it
    // Seen by the watch, made by someone else: what changed is not known,
    // only where. Whoever shows that folder's entries or files looks again.
    BASE_FOLDER_CHANGED,  // the entries of this folder, or the files of this fact folder
    BASE_ANYTHING_CHANGED,  // events were lost: folder is the base root, and everything open is looked at again
    // The program itself is about to move, rename or remove folder (to
    // newFolder, or NULL when it goes), and then is done with it, whether it
    // succeeded or not. Whoever holds a handle at or below folder lets go
    // before the first returns (Windows refuses to move a folder with a
    // handle open inside it), and takes what the file system reports there
    // meanwhile as the program's own. The change itself is announced as
    // ever, after the second.
    BASE_CHANGE_COMING,
    BASE_CHANGE_OVER
};

struct BaseChange {
    BaseChangeKind kind;
    const char* folder;     // full Windows-1251 path: the fact folder, or the folder made, moved or removed
    const char* newFolder;  // BASE_FOLDER_MOVED: where it is now; BASE_CHANGE_*: where it goes; NULL otherwise
};

typedef void (*BaseChangeListener)(const BaseChange& change, void* context);

// At most MAX_BASE_LISTENERS at once; false when every slot is taken. The
// same listener and context twice is one listener.
const int MAX_BASE_LISTENERS = 16;
bool ListenToBaseChanges(BaseChangeListener listener, void* context);
void StopListeningToBaseChanges(BaseChangeListener listener, void* context);

// Tells every listener. A listener may stop listening (itself or another)
// while it is told; one that stopped is told no more.
void AnnounceBaseChange(const BaseChange& change);

void AnnounceFactChanged(const char* factFolder);
void AnnounceFolderCreated(const char* folder);
void AnnounceFolderMoved(const char* from, const char* to);
void AnnounceFolderRemoved(const char* folder);
void AnnounceFolderChanged(const char* folder);
void AnnounceAnythingChanged(const char* root);
void AnnounceChangeComing(const char* folder, const char* newFolder);
void AnnounceChangeOver(const char* folder, const char* newFolder);
