#include "base_watch.h"
#include "change_notes.h"
#include "folder_poller.h"
#include "../platform/platform_text.h"
#include "../store/base_changes.h"

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
    std::thread thread;
    WatchMode mode = WATCH_OFF;
    std::map<HWND, std::set<std::string>> shown;  // what each open dialog shows
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
}

// Lists what is open again; a folder that looks different is noted.
void Poll(Watch& watch, std::map<std::string, unsigned long long>* seen)
{
    std::set<std::string> open;
    {
        std::lock_guard<std::mutex> hold(watch.lock);
        for (const auto& dialog : watch.shown)
            open.insert(dialog.second.begin(), dialog.second.end());
    }
    std::vector<std::string> changed = PollFolders(seen, open);
    std::lock_guard<std::mutex> hold(watch.lock);
    if (!watch.notes.lost)
        watch.notes.folders.insert(changed.begin(), changed.end());
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
};
typedef std::map<std::string, ShownFolderWatch*> ShownWatches;
const size_t MOST_SHOWN_WATCHES = 56;  // WaitForMultipleObjects takes 64 handles

void StopWatching(ShownFolderWatch* shown)
{
    CancelIo(shown->folder);
    CloseHandle(shown->folder);
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
                open.insert(dialog.second.begin(), dialog.second.end());
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
    Issue(shown->folder, FALSE, &shown->buffer, &shown->overlapped);
}

void TakeEvents(Watch& watch, const std::wstring& root, const std::vector<DWORD>& buffer, OVERLAPPED* overlapped)
{
    DWORD bytes = 0;
    // Zero bytes, or ERROR_NOTIFY_ENUM_DIR: the buffer overflowed. Such a
    // base loses events again: it is polled from here on.
    if (!GetOverlappedResult(watch.folder, overlapped, &bytes, FALSE) || bytes == 0) {
        FallBackToPolling(watch);
        return;
    }
    const BYTE* at = (const BYTE*)buffer.data();
    for (;;) {
        const FILE_NOTIFY_INFORMATION* info = (const FILE_NOTIFY_INFORMATION*)at;
        Note(watch, root, info);
        if (!info->NextEntryOffset)
            break;
        at += info->NextEntryOffset;
    }
}

void WatchThread(Watch* watch)
{
    std::wstring root = WideFrom1251(watch->root.c_str());
    std::vector<DWORD> buffer(BUFFER_BYTES / sizeof(DWORD));
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
    bool reading = BaseWatchMode() == WATCH_EVENTS && Issue(*watch, &buffer, &overlapped);
    if (!reading && BaseWatchMode() == WATCH_EVENTS)
        FallBackToPolling(*watch);
    std::map<std::string, unsigned long long> seen;
    DWORD firstNote = GetTickCount(), lastPoll = GetTickCount();
    bool pending = NotesWaiting(*watch);
    ShownWatches shownWatches;
    for (;;) {
        // What is open is polled with events too: a share may drop some.
        DWORD timeout = pending ? QUIET_MS : POLL_MS;
        std::vector<HANDLE> waits = { watch->stop, watch->newlyShown, overlapped.hEvent };
        if (!reading)
            ResetEvent(overlapped.hEvent);  // stays quiet without a read on the tree
        for (const auto& shown : shownWatches)
            waits.push_back(shown.second->overlapped.hEvent);
        DWORD woke = WaitForMultipleObjects((DWORD)waits.size(), waits.data(), FALSE, timeout);
        if (woke == WAIT_OBJECT_0)
            break;
        // A folder's first look is what later polls compare with: taken at
        // once, a change made right after the dialog listed it is not missed.
        if (woke == WAIT_OBJECT_0 + 1) {
            Poll(*watch, &seen);
            WatchShownFolders(*watch, &shownWatches);
        }
        if (woke == WAIT_OBJECT_0 + 2) {
            TakeEvents(*watch, root, buffer, &overlapped);
            reading = BaseWatchMode() == WATCH_EVENTS && Issue(*watch, &buffer, &overlapped);
            if (!reading && BaseWatchMode() == WATCH_EVENTS)
                FallBackToPolling(*watch);
        }
        if (woke >= WAIT_OBJECT_0 + 3 && woke < WAIT_OBJECT_0 + waits.size()) {
            auto shown = shownWatches.begin();
            std::advance(shown, woke - WAIT_OBJECT_0 - 3);
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
        if (pending && (woke == WAIT_TIMEOUT || GetTickCount() - firstNote >= LONGEST_WAIT_MS)) {
            PostMessageW(watch->window, watch->message, 0, 0);
            pending = false;
        }
    }
    for (const auto& shown : shownWatches)
        StopWatching(shown.second);
    if (watch->folder != INVALID_HANDLE_VALUE)
        CancelIo(watch->folder);
    CloseHandle(overlapped.hEvent);
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
        watch.folder = folder;
        watch.mode = folder == INVALID_HANDLE_VALUE ? WATCH_POLLING : WATCH_EVENTS;
    }
    watch.stop = CreateEventW(NULL, TRUE, FALSE, NULL);
    if (!watch.newlyShown)
        watch.newlyShown = CreateEventW(NULL, FALSE, FALSE, NULL);
    watch.thread = std::thread(WatchThread, &watch);
    return BaseWatchMode();
}

void StopBaseWatch()
{
    Watch& watch = TheWatch();
    if (!watch.thread.joinable())
        return;
    SetEvent(watch.stop);
    watch.thread.join();
    CloseHandle(watch.stop);
    if (watch.folder != INVALID_HANDLE_VALUE)
        CloseHandle(watch.folder);
    std::lock_guard<std::mutex> hold(watch.lock);
    watch.folder = INVALID_HANDLE_VALUE;
    watch.mode = WATCH_OFF;
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
