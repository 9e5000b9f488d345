// The watch on the base: one ReadDirectoryChangesW over the whole tree, on a
// thread of its own, so that what other programs and other instances change
// reaches the program by itself. The thread only gathers notes (one per
// folder, see change_notes.h) and, once the base has been quiet for a moment,
// posts the given message to the window; the window's thread then calls
// AnnounceWatchedChanges, which hands every note to the change channel.
#pragma once
#include <windows.h>

#include <set>
#include <string>

enum WatchMode {
    WATCH_OFF,     // not started, or stopped
    WATCH_EVENTS,  // the file system reports changes, and what is open is polled too
    WATCH_POLLING  // only the folders dialogs show are listed again, every POLL_MS
};

// Polling shows a change within POLL_MS and the quiet moment after it.
const unsigned POLL_MS = 1500;

// Starts the watch on root; the notes go to window as message. It polls where the
// environment says FACTS_WATCH=poll (shares that lie about events, tests),
// where the watch cannot be set, and from the first loss of events on, and
// then refreshes everything open once. One watch at a time: a second start
// stops the first.
WatchMode StartBaseWatch(const char* root, HWND window, UINT message);
void StopBaseWatch();
WatchMode BaseWatchMode();

// What a dialog shows now: the folders its lists show, and the folder of its
// text on show. An empty set when it closes. Only these are ever polled.
void ShowingFolders(HWND dialog, const std::set<std::string>& folders);

// Whether the watch has taken its look at a folder shown, which later
// polls compare with.
bool WatchHasLookedAt(const char* folder);

// On the window's thread, for that message: announces every note.
void AnnounceWatchedChanges();

// What one completed read of the watch over the tree brought: bytes of
// FILE_NOTIFY_INFORMATION, or a loss (error ERROR_NOTIFY_ENUM_DIR when the
// buffer overflowed, or zero bytes), after which the base is polled and
// everything open is looked at once. The watch's thread calls it for each
// completion; a test may call it to stand for one.
void TakeTreeCompletion(const void* buffer, unsigned long bytes, unsigned long error);

// Cancels a ReadDirectoryChangesW issued with overlapped (whose event is
// set on completion) and waits until it has ended: only then may its
// buffer and OVERLAPPED be freed. False when it did not end in time; they
// must then be left alone.
bool CancelWatchRead(HANDLE folder, OVERLAPPED* overlapped);
