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

const unsigned POLL_MS = 3000;

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

// On the window's thread, for that message: announces every note.
void AnnounceWatchedChanges();
