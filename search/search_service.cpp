#include "search_service.h"
#include "fact_index.h"

#include <algorithm>
#include <mutex>
#include <thread>

namespace {

struct SearchService {
    std::mutex lock;
    FactIndex index;          // what queries see
    bool complete = false;    // index holds a whole walk of index.root
    bool busy = false;
    std::vector<HWND> watchers;
};

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

struct Walk {
    size_t published;
    bool firstBuild;
};

// During a first build the facts read so far are handed over as the walk
// goes, so that a query finds them at once; a refresh hands over only its
// finished index, and queries meanwhile see the previous one.
void OnWalkProgress(const FactIndex& work, void* context)
{
    Walk* walk = (Walk*)context;
    if (!walk->firstBuild)
        return;
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    for (; walk->published < work.facts.size(); walk->published++)
        service.index.facts.push_back(work.facts[walk->published]);
    TellWatchers(service);
}

void WalkBase(std::string root)
{
    SearchService& service = Service();
    FactIndex work;
    Walk walk = { 0, true };
    {
        std::lock_guard<std::mutex> hold(service.lock);
        if (service.index.root == root && service.complete) {
            work = service.index;
            walk.firstBuild = false;
        } else {
            service.index = FactIndex();
            service.index.root = root;
            service.complete = false;
        }
    }
    RefreshFactIndex(&work, root, OnWalkProgress, &walk);
    std::lock_guard<std::mutex> hold(service.lock);
    service.index = std::move(work);
    service.complete = true;
    service.busy = false;
    TellWatchers(service);
}

} // namespace

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
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    if (service.busy)
        return;
    service.busy = true;
    std::thread(WalkBase, std::string(root)).detach();
}

SearchAnswer QuerySearchIndex(const SearchQuery& query)
{
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    SearchAnswer answer;
    for (size_t i : SearchFactIndex(service.index, query)) {
        const IndexedFact& fact = service.index.facts[i];
        FoundFact found;
        for (int level = 0; level < 4; level++)
            found.categories[level] = fact.categories[level];
        found.name = fact.name;
        answer.found.push_back(found);
    }
    answer.indexed = (int)service.index.facts.size();
    answer.unreadable = UnreadableFiles(service.index);
    answer.complete = service.complete && !service.busy;
    return answer;
}

void SearchIndexFactChanged(const char* factFolder)
{
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    std::string folder = factFolder;
    const std::string& root = service.index.root;
    if (root.empty() || folder.compare(0, root.size() + 1, root + "\\") != 0)
        return;
    UpdateIndexedFact(&service.index, folder);
    TellWatchers(service);
}

void SearchIndexFolderMoved(const char* oldFolder, const char* newFolder)
{
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    if (service.index.root.empty())
        return;
    MoveIndexedFolder(&service.index, oldFolder, newFolder);
    TellWatchers(service);
}

bool SearchIndexBusy()
{
    SearchService& service = Service();
    std::lock_guard<std::mutex> hold(service.lock);
    return service.busy;
}
