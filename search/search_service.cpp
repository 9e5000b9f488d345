#include "search_service.h"
#include "fact_index.h"
#include "index_cache.h"
#include "../store/base_changes.h"
#include "../store/path_slot.h"

#include <algorithm>
#include <mutex>
#include <thread>

namespace {

// One of the program's own changes, as it was announced.
struct OwnChange {
    std::string folder;
    bool factChanged;  // true: the fact folder was written; false: folder moved or removed
    bool removed;
    std::string newFolder;
};

struct SearchService {
    std::mutex lock;
    FactIndex index;        // what queries see
    bool complete = false;  // index holds a whole walk of index.root
    // index holds every fact of the base as a walk or the kept index found
    // them, the program's own changes applied since: a walk may start from it.
    bool whole = false;
    bool busy = false;
    std::vector<HWND> watchers;
    // The program's own changes made while a walk runs. The walk may have
    // passed their folders already, so they are applied again to its result
    // before that replaces what queries see.
    std::vector<OwnChange> duringWalk;
    // Someone else changed the base while a walk ran, past where the walk
    // may have been: one more walk follows it.
    bool walkAgain = false;
    // The program moved or removed a category while a walk ran. The walk may
    // have listed the category's old place and not yet reached its new one,
    // and the replay cannot add what it never met: its result is not taken,
    // and one more walk starts from the index in use, which followed the move.
    bool categoryMoved = false;
    int walks = 0;  // walks started over the program's life
};

void Apply(FactIndex* index, const OwnChange& change)
{
    if (change.factChanged)
        UpdateIndexedFact(index, change.folder);
    else
        MoveIndexedFolder(index, change.folder, change.removed ? NULL : change.newFolder.c_str());
}

SearchService& Service()
{
    static SearchService* service = new SearchService();  // lives as long as the process
    return *service;
}

void TellWatchers(SearchService& service)
{
    for (HWND dialog : service.watchers)
        PostMessageW(dialog, WM_SEARCH_INDEX_PROGRESS, 0, 0);
}

// The walk's result may predate any of the changes, so each is taken again,
// from the disk as it is now: the moves first, then every written fact at
// the place the later moves took it to (none, when a later one removed it).
void ReplayOwnChanges(FactIndex* work, const std::vector<OwnChange>& changes)
{
    for (const OwnChange& change : changes)
        if (!change.factChanged)
            Apply(work, change);
    for (size_t i = 0; i < changes.size(); i++) {
        if (!changes[i].factChanged)
            continue;
        std::string folder = changes[i].folder;
        for (size_t later = i + 1; later < changes.size() && !folder.empty(); later++) {
            const OwnChange& move = changes[later];
            if (move.factChanged || !PathAtOrBelow(folder.c_str(), move.folder.c_str()))
                continue;
            folder = move.removed ? std::string() : move.newFolder + folder.substr(move.folder.size());
        }
        if (!folder.empty())
            UpdateIndexedFact(work, folder);
    }
}

struct Walk {
    size_t published;           // facts handed over so far
    std::vector<unsigned> as;   // each category of the walk's index, as it is in the one queries see
    bool firstBuild;
    DWORD handedOver;           // when facts were last handed over (GetTickCount)
};

// A base of short texts has a Directive for every fact or two: told after
// each, an open search dialog would run its query and redraw its status
// tens of thousands of times, and the walk would wait on the lock it holds.
const DWORD HAND_OVER_EVERY_MS = 200;

// During a first build the facts read so far are handed over as the walk
// goes, so that a query finds them at once; a refresh hands over only its
// finished index, and queries meanwhile see the previous one (or what the
// cache held).
void OnWalkProgress(const FactIndex& work, void* context)
{
    Walk* walk = (Walk*)context;
    if (SearchWalkStep)
        SearchWalkStep();
    if (!walk->firstBuild)
        return;
    DWORD now = GetTickCount();
    if (walk->handedOver != 0 && now - walk->handedOver < HAND_OVER_EVERY_MS)
        return;
    walk->handedOver = now;
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    // The program's own changes may have added categories to the index in
    // use meanwhile, so the walk's categories are added there anew.
    for (size_t c = walk->as.size(); c < work.categories.size(); c++) {
        const IndexedCategory& category = work.categories[c];
        unsigned parent = category.parent == NO_CATEGORY ? NO_CATEGORY : walk->as[category.parent];
        walk->as.push_back(AddIndexedCategory(
            &service.index, parent, NameOfCategory(work, (unsigned)c)));
    }
    for (; walk->published < work.facts.size(); walk->published++) {
        service.index.facts.push_back(work.facts[walk->published]);
        service.index.facts.back().directive = walk->as[work.facts[walk->published].directive];
    }
    TellWatchers(service);
}

void WalkBase(std::string root)
{
    // The windows come first: a walk at the start must not slow them down.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    SearchService& service = Service();
    FactIndex work;
    std::vector<KnownFact> known;
    Walk walk = { 0, std::vector<unsigned>(), true, 0 };
    {
        // Queries go on with the index in use; the walk builds a new one
        // beside it, sharing every unchanged text.
        std::lock_guard<std::mutex> hold(service.lock);
        service.categoryMoved = false;
        if (service.index.root == root && service.whole) {
            known = KnowFacts(service.index);
            walk.firstBuild = false;
        } else {
            service.index = FactIndex();
            service.index.root = root;
            service.complete = service.whole = false;
        }
    }
    // After a start, what the last run knew answers at once, and the walk
    // rereads only what changed since.
    std::wstring cacheFile = IndexCacheFile(root);
    if (walk.firstBuild && !cacheFile.empty()) {
        FactIndex cached;
        if (LoadIndexCache(cacheFile, root, &cached)) {
            known = KnowFacts(cached);
            std::lock_guard<std::mutex> hold(service.lock);
            service.index = std::move(cached);
            service.whole = true;
            walk.firstBuild = false;
            // Written meanwhile: taken again on the cached index.
            ReplayOwnChanges(&service.index, service.duringWalk);
            TellWatchers(service);
        }
    }
    size_t read = BuildFactIndex(&work, root, known, OnWalkProgress, &walk);
    bool changed = read > 0 || work.facts.size() != known.size();
    known.clear();
    FactIndex kept;
    bool keep = false;
    {
        std::lock_guard<std::mutex> hold(service.lock);
        if (!service.categoryMoved || walk.firstBuild) {
            ReplayOwnChanges(&work, service.duringWalk);
            service.index = std::move(work);
            service.complete = service.whole = true;
            keep = changed && !cacheFile.empty() && !service.categoryMoved;
            if (keep)
                kept = service.index;
        }
        service.duringWalk.clear();
        service.busy = service.walkAgain;
        TellWatchers(service);
        if (service.walkAgain) {
            service.walkAgain = false;
            service.walks++;
            std::thread(WalkBase, root).detach();
        }
    }
    // Written after the answer is complete, from a copy that shares the
    // texts, so that neither queries nor the windows wait for the disk.
    if (keep)
        SaveIndexCache(kept, cacheFile);
}

void FactChanged(const char* factFolder)
{
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    std::string folder = factFolder;
    const std::string& root = service.index.root;
    if (root.empty() || folder.compare(0, root.size() + 1, root + "\\") != 0)
        return;
    OwnChange change = { folder, true, false, std::string() };
    Apply(&service.index, change);
    if (service.busy)
        service.duringWalk.push_back(change);
    TellWatchers(service);
}

void FolderMoved(const char* oldFolder, const char* newFolder)
{
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    if (service.index.root.empty())
        return;
    OwnChange change = { oldFolder, false, newFolder == NULL, newFolder ? newFolder : "" };
    Apply(&service.index, change);
    if (service.busy) {
        service.duringWalk.push_back(change);
        if (LevelBelowRoot(service.index.root.c_str(), oldFolder) < FACT_LEVEL)
            service.categoryMoved = service.walkAgain = true;
    }
    TellWatchers(service);
}

// One walk at a time. One asked for while a walk runs is dropped, or, when
// again is set (the base changed past where the walk may be), done next.
void StartWalk(const std::string& root, bool again)
{
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    if (service.busy) {
        service.walkAgain = service.walkAgain || again;
        return;
    }
    service.busy = true;
    service.walks++;
    std::thread(WalkBase, root).detach();
}

// A change seen by the watch: a fact folder is read again at once; a change
// among the categories is found by a walk, which rereads only what changed.
void ChangedElsewhere(const char* folder)
{
    SearchService& service = Service();
    std::string root;
    {
        std::lock_guard<std::mutex> hold(service.lock);
        root = service.index.root;
    }
    FactPlace place;
    if (!root.empty() && PlaceOfFactFolder(root, folder, &place)) {
        FactChanged(folder);
        return;
    }
    if (!root.empty())
        StartWalk(root, true);
}

void OnBaseChange(const BaseChange& change, void*)
{
    switch (change.kind) {
    case BASE_FOLDER_CHANGED:
    case BASE_ANYTHING_CHANGED: ChangedElsewhere(change.folder); break;
    case BASE_FACT_CHANGED:
    case BASE_FOLDER_CREATED: FactChanged(change.folder); break;  // only a fact folder is taken
    case BASE_FOLDER_MOVED: FolderMoved(change.folder, change.newFolder); break;
    case BASE_FOLDER_REMOVED: FolderMoved(change.folder, NULL); break;
    case BASE_CHANGE_COMING:
    case BASE_CHANGE_OVER: break;  // the change itself follows
    }
}

}  // namespace

void (*SearchWalkStep)() = NULL;

void WatchSearchIndex(HWND dialog)
{
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    service.watchers.push_back(dialog);
}

void UnwatchSearchIndex(HWND dialog)
{
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    service.watchers.erase(std::remove(service.watchers.begin(), service.watchers.end(), dialog),
                           service.watchers.end());
}

void RefreshSearchIndex(const char* root)
{
    ListenToBaseChanges(OnBaseChange, NULL);
    StartWalk(root, false);
}

SearchAnswer QuerySearchIndex(const SearchQuery& query)
{
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    SearchAnswer answer;
    for (size_t i : SearchFactIndex(service.index, query))
        answer.found.push_back(PlaceOfIndexedFact(service.index, i));
    answer.indexed = (int)service.index.facts.size();
    answer.unreadable = UnreadableFiles(service.index);
    answer.complete = service.complete && !service.busy;
    return answer;
}

bool SearchIndexBusy()
{
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    return service.busy;
}

int SearchWalksStarted()
{
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    return service.walks;
}
