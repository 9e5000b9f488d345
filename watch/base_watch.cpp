#include "base_watch.h"
#include "change_notes.h"
#include "folder_poller.h"
#include "../platform/platform_text.h"
#include "../store/base_changes.h"

#include <condition_variable>
#include <iterator>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// A burst (a sync tool writing a folder) is handed over once it has been
// quiet this long, and at the latest after the longest wait.
const DWORD QUIET_MS = 150;
const DWORD LONGEST_WAIT_MS = 1000;
const DWORD BUFFER_BYTES = 64 * 1024;

struct Watch {
    std::mutex lock;
    ChangeNotes notes;
    std::string root;
    HWND window = NULL;
    UINT message = 0;
    HANDLE folder = INVALID_HANDLE_VALUE;
    HANDLE stop = NULL;
    HANDLE newlyShown = NULL;  // set when a dialog shows a folder not polled yet
    HANDLE ownChange = NULL;   // set when the program begins or ends a change of its own
    HANDLE armed = NULL;       // set by the thread once its first read of the tree is asked for
    std::thread thread;
    WatchMode mode = WATCH_OFF;
    std::map<HWND, std::set<std::string>> shown;  // what each open dialog shows
    // The folders the program is moving, renaming or removing now, as from
    // and to: nothing at or below from is held open or listed meanwhile, nor
    // are the folders that hold them listed, which would see the change half
    // made. Those done are looked at afresh by the watch's thread, so that
    // later polls compare with how they look after the program's change.
    std::vector<std::pair<std::string, std::string>> changing, changed;
    // The window's thread waits until the watch's thread has let go of
    // everything below a folder about to change: asked counts the requests,
    // done the last one seen through.
    std::condition_variable letGo;
    unsigned asked = 0, done = 0;
    std::set<std::string> lookedAt;  // the folders the poll has a look of
};

Watch& TheWatch()
{
    static Watch* watch = new Watch();  // lives as long as the process
    return *watch;
}

void Note(Watch& watch, const std::wstring& root, const FILE_NOTIFY_INFORMATION* info)
{
    std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
    std::lock_guard<std::mutex> hold(watch.lock);
    NoteChangedEntry(&watch.notes, root, name);
}

bool NotesWaiting(Watch& watch)
{
    std::lock_guard<std::mutex> hold(watch.lock);
    return watch.notes.lost || !watch.notes.folders.empty();
}

// Events were lost, or cannot be had: everything open is looked at once,
// and polled from here on.
void FallBackToPolling(Watch& watch)
{
    std::lock_guard<std::mutex> hold(watch.lock);
    NoteLostEvents(&watch.notes);
    watch.mode = WATCH_POLLING;
    // The thread wakes to let go of the folders' own watches and to hand the loss over.
    if (watch.newlyShown)
        SetEvent(watch.newlyShown);
}

std::string ParentOf(const std::string& path)
{
    size_t separator = path.rfind('\\');
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

bool PathAtOrBelow(const std::string& path, const std::string& folder)
{
    return WidePathAtOrBelow(WideFrom1251(path.c_str()), WideFrom1251(folder.c_str()));
}

// Whether a folder is at or below one of these changes (the handles that
// would stop it), or, with holders, one that a listing shows changed by
// it: the folders that hold it before and after, and the two above those,
// whose listings show their write times.
bool Touches(const std::vector<std::pair<std::string, std::string>>& changes, const std::string& folder,
             bool holders)
{
    for (const auto& change : changes) {
        if (PathAtOrBelow(folder, change.first))
            return true;
        if (!holders)
            continue;
        std::string from = ParentOf(change.first), to = ParentOf(change.second);
        if (folder == from || folder == ParentOf(from) || (!to.empty() && (folder == to || folder == ParentOf(to))) ||
            (!change.second.empty() && PathAtOrBelow(folder, change.second)))
            return true;
    }
    return false;
}

// Lists what is open again; a folder that looks different is noted. What
// the program is changing now is left as it was last seen.
void Poll(Watch& watch, std::map<std::string, unsigned long long>* seen)
{
    std::set<std::string> open;
    std::map<std::string, unsigned long long> kept;
    {
        std::lock_guard<std::mutex> hold(watch.lock);
        for (const auto& dialog : watch.shown)
            for (const std::string& folder : dialog.second) {
                if (!Touches(watch.changing, folder, true))
                    open.insert(folder);
                else if (seen->count(folder))
                    kept[folder] = (*seen)[folder];
            }
    }
    std::vector<std::string> changed = PollFolders(seen, open);
    seen->insert(kept.begin(), kept.end());
    std::lock_guard<std::mutex> hold(watch.lock);
    if (!watch.notes.lost)
        watch.notes.folders.insert(changed.begin(), changed.end());
    watch.lookedAt.clear();
    for (const auto& folder : *seen)
        watch.lookedAt.insert(folder.first);
}

bool Issue(HANDLE folder, BOOL subtree, std::vector<DWORD>* buffer, OVERLAPPED* overlapped)
{
    const DWORD filter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                         FILE_NOTIFY_CHANGE_LAST_WRITE;
    ResetEvent(overlapped->hEvent);
    return ReadDirectoryChangesW(folder, buffer->data(), (DWORD)(buffer->size() * sizeof(DWORD)), subtree, filter, NULL,
                                 overlapped, NULL) != FALSE;
}

bool Issue(Watch& watch, std::vector<DWORD>* buffer, OVERLAPPED* overlapped)
{
    return Issue(watch.folder, TRUE, buffer, overlapped);
}

HANDLE OpenForWatching(const std::wstring& folder)
{
    return CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       NULL, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, NULL);
}

// Wine 8's watch over the tree reports nothing from folders older than the
// watch, so each folder a dialog shows is also watched on its own: what the
// user looks at follows at once, not at the next poll. On Windows the two
// report the same change, which the notes gather into one.
struct ShownFolderWatch {
    std::wstring path;
    HANDLE folder;
    OVERLAPPED overlapped;
    std::vector<DWORD> buffer;
    bool reading;  // a read is issued and not yet taken
};
typedef std::map<std::string, ShownFolderWatch*> ShownWatches;
const size_t MOST_SHOWN_WATCHES = 56;  // WaitForMultipleObjects takes 64 handles

// Until a cancelled read has ended, Windows may still write into its
// buffer and OVERLAPPED; only then may they go. One that does not end in
// time is left where it is, never freed under the kernel's hands.
const DWORD CANCEL_WAIT_MS = 2000;

void StopWatching(ShownFolderWatch* shown)
{
    bool ended = !shown->reading || CancelWatchRead(shown->folder, &shown->overlapped);
    CloseHandle(shown->folder);
    if (!ended)
        return;
    CloseHandle(shown->overlapped.hEvent);
    delete shown;
}

void WatchShownFolders(Watch& watch, ShownWatches* watches)
{
    std::set<std::string> open;
    {
        std::lock_guard<std::mutex> hold(watch.lock);
        if (watch.mode == WATCH_EVENTS)
            for (const auto& dialog : watch.shown)
                for (const std::string& folder : dialog.second)
                    if (!Touches(watch.changing, folder, false))
                        open.insert(folder);
    }
    for (auto at = watches->begin(); at != watches->end();) {
        if (open.count(at->first)) {
            ++at;
            continue;
        }
        StopWatching(at->second);
        at = watches->erase(at);
    }
    for (const std::string& folder : open) {
        if (watches->count(folder) || watches->size() >= MOST_SHOWN_WATCHES)
            continue;
        ShownFolderWatch* shown = new ShownFolderWatch();
        shown->path = WideFrom1251(folder.c_str());
        shown->folder = OpenForWatching(shown->path);
        shown->overlapped.hEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
        shown->buffer.resize(4096 / sizeof(DWORD));
        shown->reading = true;
        if (shown->folder == INVALID_HANDLE_VALUE || !Issue(shown->folder, FALSE, &shown->buffer, &shown->overlapped)) {
            if (shown->folder != INVALID_HANDLE_VALUE)
                CloseHandle(shown->folder);
            CloseHandle(shown->overlapped.hEvent);
            delete shown;
            continue;
        }
        (*watches)[folder] = shown;
    }
}

// Every report of a shown folder's watch is a change of that folder; an
// overflow there loses nothing more than that folder's details.
void TakeShownEvents(Watch& watch, ShownFolderWatch* shown)
{
    DWORD bytes = 0;
    bool read = GetOverlappedResult(shown->folder, &shown->overlapped, &bytes, FALSE) && bytes > 0;
    shown->reading = false;
    {
        std::lock_guard<std::mutex> hold(watch.lock);
        if (!read)
            NoteChangedEntry(&watch.notes, shown->path, L"*");
        for (const BYTE* at = (const BYTE*)shown->buffer.data(); read;) {
            const FILE_NOTIFY_INFORMATION* info = (const FILE_NOTIFY_INFORMATION*)at;
            NoteChangedEntry(&watch.notes, shown->path,
                             std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t)));
            if (!info->NextEntryOffset)
                break;
            at += info->NextEntryOffset;
        }
    }
    shown->reading = Issue(shown->folder, FALSE, &shown->buffer, &shown->overlapped);
}

// The program's own changes: everything at or below a folder about to
// change is let go of, and those over are looked at afresh.
void TakeOwnChanges(Watch& watch, ShownWatches* watches, std::map<std::string, unsigned long long>* seen)
{
    unsigned asked;
    std::vector<std::pair<std::string, std::string>> changed;
    {
        std::lock_guard<std::mutex> hold(watch.lock);
        asked = watch.asked;
        changed.swap(watch.changed);
    }
    WatchShownFolders(watch, watches);
    for (auto& folder : *seen)
        if (Touches(changed, folder.first, true))
            folder.second = FolderSignature(folder.first);
    std::lock_guard<std::mutex> hold(watch.lock);
    watch.done = asked;
    watch.letGo.notify_all();
}

// A read that failed to start, or a loss: everything open is looked at
// at once, and polled from here on.
bool IssueOrFallBack(Watch& watch, std::vector<DWORD>* buffer, OVERLAPPED* overlapped)
{
    if (BaseWatchMode() != WATCH_EVENTS)
        return false;
    if (Issue(watch, buffer, overlapped))
        return true;
    FallBackToPolling(watch);
    return false;
}

void WatchThread(Watch* watch)
{
    // On the heap: a read that does not end when cancelled keeps them.
    struct TreeRead {
        std::vector<DWORD> buffer;
        OVERLAPPED overlapped;
    }* tree = new TreeRead();
    tree->buffer.resize(BUFFER_BYTES / sizeof(DWORD));
    std::vector<DWORD>& buffer = tree->buffer;
    OVERLAPPED& overlapped = tree->overlapped;
    overlapped.hEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
    bool reading = IssueOrFallBack(*watch, &buffer, &overlapped);
    SetEvent(watch->armed);
    std::map<std::string, unsigned long long> seen;
    DWORD firstNote = GetTickCount(), lastPoll = GetTickCount();
    bool pending = NotesWaiting(*watch);
    ShownWatches shownWatches;
    enum { STOP, NEWLY_SHOWN, OWN_CHANGE, TREE, FIRST_SHOWN };
    for (;;) {
        // What is open is polled with events too: a share may drop some.
        DWORD timeout = pending ? QUIET_MS : POLL_MS;
        std::vector<HANDLE> waits = { watch->stop, watch->newlyShown, watch->ownChange, overlapped.hEvent };
        if (!reading)
            ResetEvent(overlapped.hEvent);  // stays quiet without a read on the tree
        for (const auto& shown : shownWatches)
            waits.push_back(shown.second->overlapped.hEvent);
        DWORD woke = WaitForMultipleObjects((DWORD)waits.size(), waits.data(), FALSE, timeout) - WAIT_OBJECT_0;
        if (woke == STOP)
            break;
        if (woke == OWN_CHANGE)
            TakeOwnChanges(*watch, &shownWatches, &seen);
        // A folder's first look is what later polls compare with: taken at
        // once, a change made right after the dialog listed it is not missed.
        if (woke == NEWLY_SHOWN) {
            Poll(*watch, &seen);
            WatchShownFolders(*watch, &shownWatches);
        }
        if (woke == TREE) {
            DWORD bytes = 0;
            bool read = GetOverlappedResult(watch->folder, &overlapped, &bytes, FALSE) != FALSE;
            TakeTreeCompletion(buffer.data(), bytes, read ? 0 : GetLastError());
            reading = IssueOrFallBack(*watch, &buffer, &overlapped);
        }
        if (woke >= FIRST_SHOWN && woke < waits.size()) {
            auto shown = shownWatches.begin();
            std::advance(shown, woke - FIRST_SHOWN);
            TakeShownEvents(*watch, shown->second);
        }
        if (GetTickCount() - lastPoll >= POLL_MS) {
            lastPoll = GetTickCount();
            Poll(*watch, &seen);
            WatchShownFolders(*watch, &shownWatches);
        }
        bool waiting = NotesWaiting(*watch);
        if (waiting && !pending)
            firstNote = GetTickCount();
        pending = waiting;
        // Handed over once the base is quiet, or when a burst goes on too long.
        if (pending && (woke == WAIT_TIMEOUT - WAIT_OBJECT_0 || GetTickCount() - firstNote >= LONGEST_WAIT_MS)) {
            PostMessageW(watch->window, watch->message, 0, 0);
            pending = false;
        }
    }
    for (const auto& shown : shownWatches)
        StopWatching(shown.second);
    if (!reading || CancelWatchRead(watch->folder, &overlapped)) {
        CloseHandle(overlapped.hEvent);
        delete tree;
    }
}

// The program's own moves, renames and removals, heard on the window's
// thread: the watch lets go below the folder before it changes.
void OnOwnChange(const BaseChange& change, void*)
{
    if (change.kind != BASE_CHANGE_COMING && change.kind != BASE_CHANGE_OVER)
        return;
    Watch& watch = TheWatch();
    std::pair<std::string, std::string> folders(change.folder, change.newFolder ? change.newFolder : "");
    std::unique_lock<std::mutex> hold(watch.lock);
    if (watch.mode == WATCH_OFF)
        return;
    if (change.kind == BASE_CHANGE_OVER) {
        EndOwnChange(&watch.notes, WideFrom1251(change.folder), GetTickCount());
        for (auto at = watch.changing.begin(); at != watch.changing.end(); ++at)
            if (*at == folders) {
                watch.changing.erase(at);
                break;
            }
        watch.changed.push_back(folders);
        SetEvent(watch.ownChange);
        return;
    }
    ForgetOwnChanges(&watch.notes, GetTickCount());
    NoteOwnChange(&watch.notes, WideFrom1251(folders.first.c_str()), WideFrom1251(folders.second.c_str()));
    watch.changing.push_back(folders);
    unsigned asked = ++watch.asked;
    SetEvent(watch.ownChange);
    // Bounded: a watch thread that cannot answer leaves the move to its
    // retries rather than freezing the window.
    watch.letGo.wait_for(hold, std::chrono::milliseconds(CANCEL_WAIT_MS + 1000),
                         [&] { return watch.done - asked < 0x80000000u || watch.mode == WATCH_OFF; });
}

}  // namespace

WatchMode StartBaseWatch(const char* root, HWND window, UINT message)
{
    StopBaseWatch();
    Watch& watch = TheWatch();
    wchar_t asked[16] = L"";
    GetEnvironmentVariableW(L"FACTS_WATCH", asked, 16);
    HANDLE folder = INVALID_HANDLE_VALUE;
    if (lstrcmpiW(asked, L"poll") != 0)
        folder = OpenForWatching(WideFrom1251(root));
    {
        std::lock_guard<std::mutex> hold(watch.lock);
        watch.root = root;
        watch.window = window;
        watch.message = message;
        watch.notes = ChangeNotes();
        watch.changing.clear();
        watch.changed.clear();
        watch.lookedAt.clear();
        watch.folder = folder;
        watch.mode = folder == INVALID_HANDLE_VALUE ? WATCH_POLLING : WATCH_EVENTS;
    }
    watch.stop = CreateEventW(NULL, TRUE, FALSE, NULL);
    if (!watch.newlyShown)
        watch.newlyShown = CreateEventW(NULL, FALSE, FALSE, NULL);
    if (!watch.ownChange)
        watch.ownChange = CreateEventW(NULL, FALSE, FALSE, NULL);
    if (!watch.armed)
        watch.armed = CreateEventW(NULL, FALSE, FALSE, NULL);
    ListenToBaseChanges(OnOwnChange, NULL);
    watch.thread = std::thread(WatchThread, &watch);
    // What changes right after the start is seen: the first read is asked
    // for before the program goes on (Wine reports nothing from before it).
    WaitForSingleObject(watch.armed, 2000);
    return BaseWatchMode();
}

void StopBaseWatch()
{
    Watch& watch = TheWatch();
    if (!watch.thread.joinable())
        return;
    StopListeningToBaseChanges(OnOwnChange, NULL);
    SetEvent(watch.stop);
    watch.thread.join();
    CloseHandle(watch.stop);
    if (watch.folder != INVALID_HANDLE_VALUE)
        CloseHandle(watch.folder);
    std::lock_guard<std::mutex> hold(watch.lock);
    watch.folder = INVALID_HANDLE_VALUE;
    watch.mode = WATCH_OFF;
    watch.letGo.notify_all();
}

WatchMode BaseWatchMode()
{
    Watch& watch = TheWatch();
    std::lock_guard<std::mutex> hold(watch.lock);
    return watch.mode;
}

void ShowingFolders(HWND dialog, const std::set<std::string>& folders)
{
    Watch& watch = TheWatch();
    std::lock_guard<std::mutex> hold(watch.lock);
    bool added = false;
    std::set<std::string>& before = watch.shown[dialog];
    for (const std::string& folder : folders)
        added = added || before.count(folder) == 0;
    if (folders.empty())
        watch.shown.erase(dialog);
    else
        before = folders;
    if (added && watch.newlyShown)
        SetEvent(watch.newlyShown);
}

bool WatchHasLookedAt(const char* folder)
{
    Watch& watch = TheWatch();
    std::lock_guard<std::mutex> hold(watch.lock);
    return watch.lookedAt.count(folder) != 0;
}

void AnnounceWatchedChanges()
{
    Watch& watch = TheWatch();
    ChangeNotes notes;
    std::string root;
    {
        std::lock_guard<std::mutex> hold(watch.lock);
        notes = TakeNotes(&watch.notes);
        root = watch.root;
    }
    if (notes.lost) {
        AnnounceAnythingChanged(root.c_str());
        return;
    }
    for (const std::string& folder : notes.folders)
        AnnounceFolderChanged(folder.c_str());
}

void TakeTreeCompletion(const void* buffer, unsigned long bytes, unsigned long error)
{
    Watch& watch = TheWatch();
    // Zero bytes, or ERROR_NOTIFY_ENUM_DIR: the buffer overflowed. Such a
    // base loses events again: it is polled from here on.
    if (error != 0 || bytes == 0) {
        FallBackToPolling(watch);
        return;
    }
    std::wstring root;
    {
        std::lock_guard<std::mutex> hold(watch.lock);
        root = WideFrom1251(watch.root.c_str());
    }
    for (const BYTE* at = (const BYTE*)buffer;;) {
        const FILE_NOTIFY_INFORMATION* info = (const FILE_NOTIFY_INFORMATION*)at;
        Note(watch, root, info);
        if (!info->NextEntryOffset)
            break;
        at += info->NextEntryOffset;
    }
}

bool CancelWatchRead(HANDLE folder, OVERLAPPED* overlapped)
{
    if (HasOverlappedIoCompleted(overlapped))
        return true;
    CancelIoEx(folder, overlapped);
    if (WaitForSingleObject(overlapped->hEvent, CANCEL_WAIT_MS) != WAIT_OBJECT_0)
        return HasOverlappedIoCompleted(overlapped);
    DWORD bytes = 0;
    return GetOverlappedResult(folder, overlapped, &bytes, FALSE) || GetLastError() != ERROR_IO_INCOMPLETE;
}
