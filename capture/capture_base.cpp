#include "capture_base.h"
#include "capture_text.h"
#include "../platform/platform_text.h"
#include "../store/base_changes.h"
#include "../store/entry_name.h"
#include "../store/fact_shape.h"
#include "../store/fact_store.h"
#include "../store/folder_walk.h"
#include "../store/path_slot.h"
#include "../store/same_text.h"
#include "../store/text_file.h"

#include <windows.h>
#include <string.h>

// ---------------------------------------------------------------- the walk

namespace {

// Held shared while a walk has a folder listed or a file open, and
// exclusively while the program moves, renames or removes a folder: a
// handle open inside a folder makes Windows refuse to move it.
SRWLOCK walkGate = SRWLOCK_INIT;
int changesUnderWay;  // on the windows' thread only
}  // namespace

void PauseFactWalks();
void ResumeFactWalks();

namespace {

void GiveWayToOwnChanges(const BaseChange& change, void*)
{
    if (change.kind == BASE_CHANGE_COMING)
        PauseFactWalks();
    else if (change.kind == BASE_CHANGE_OVER)
        ResumeFactWalks();
}

struct Walk {
    FactVisitor visit;
    void* context;
    bool stopped;
};

// One level's listing: the sub-folders a slot can carry, as full paths.
struct Listing {
    const char* folder;
    std::vector<std::string> paths;
    std::vector<std::string> names;
    std::vector<unsigned long long> created;
};

bool ListFolder(const FolderEntry& entry, void* context)
{
    Listing* listing = (Listing*)context;
    char name[SLOT_SIZE];
    char path[SLOT_SIZE];
    if (!entry.isFolder || TextTo1251(entry.name, -1, name, SLOT_SIZE) != TEXT_FITS ||
        !SlotJoin(path, listing->folder, "\\", name))
        return true;
    listing->paths.push_back(path);
    listing->names.push_back(name);
    listing->created.push_back(entry.created);
    return true;
}

// folder is at level (1 for a Section); its sub-folders are one deeper.
void WalkBelow(const char* folder, int level, Walk* walk)
{
    Listing listing = { folder, {}, {}, {} };
    AcquireSRWLockShared(&walkGate);
    VisitFolder(WideFrom1251(folder), ListFolder, &listing, WALK_FOLDERS);
    ReleaseSRWLockShared(&walkGate);
    for (size_t i = 0; i < listing.paths.size() && !walk->stopped; i++) {
        if (level + 1 < FACT_LEVEL) {
            WalkBelow(listing.paths[i].c_str(), level + 1, walk);
            continue;
        }
        SeenFact fact = { listing.paths[i].c_str(), folder, listing.names[i].c_str(), listing.created[i] };
        walk->stopped = !walk->visit(fact, walk->context);
    }
}

}  // namespace

void PauseFactWalks()
{
    if (changesUnderWay++ == 0)
        AcquireSRWLockExclusive(&walkGate);
}

void ResumeFactWalks()
{
    if (changesUnderWay > 0 && --changesUnderWay == 0)
        ReleaseSRWLockExclusive(&walkGate);
}

void LetWalksGiveWay()
{
    static bool listening = false;
    if (!listening)
        listening = ListenToBaseChanges(GiveWayToOwnChanges, NULL);
}

bool WalkFactFolders(const char* root, FactVisitor visit, void* context)
{
    Walk walk = { visit, context, false };
    WalkBelow(root, 0, &walk);
    return !walk.stopped;
}

// ---------------------------------------------------------------- the place

namespace {

struct Newest {
    std::string directive;
    unsigned long long created;
    bool found;
};

bool KeepNewest(const SeenFact& fact, void* context)
{
    Newest* newest = (Newest*)context;
    if (!newest->found || fact.created > newest->created) {
        newest->directive = fact.directive;
        newest->created = fact.created;
        newest->found = true;
    }
    return true;
}

bool IsFolder(const char* path)
{
    DWORD attributes = GetFileAttributes1251(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool NewestFactDirective(const char* root, char* directive)
{
    directive[0] = '\0';
    Newest newest = { std::string(), 0, false };
    WalkFactFolders(root, KeepNewest, &newest);
    return newest.found && SlotCopy(directive, newest.directive.c_str());
}

bool IsDirectiveOf(const char* root, const char* path)
{
    return path && path[0] && LevelBelowRoot(root, path) == DIRECTIVE_LEVEL && PathPlainBelow(path, root) &&
           IsFolder(path);
}

bool ChooseCapturePlace(const char* root, const char* lastUsed, char* directive)
{
    if (IsDirectiveOf(root, lastUsed) && SlotCopy(directive, lastUsed))
        return true;
    return NewestFactDirective(root, directive);
}

// ---------------------------------------------------------------- duplicates

const KnownText* FindSameText(const std::wstring& key, const std::vector<KnownText>& texts)
{
    for (const KnownText& known : texts)
        if (known.key == key)
            return &known;
    return NULL;
}


bool ReadMainText(const char* factFolder, const char* factName, std::wstring* text)
{
    char path[SLOT_SIZE];
    std::string bytes;
    // The read for showing would turn every character outside Windows-1251
    // into a mark: a text kept as UTF-8 by an earlier capture could then
    // never be found again.
    if (!MainTextFilePath(factFolder, factName, path) || ReadWholeFile(path, &bytes) != READ_OK)
        return false;
    *text = TextOfFactFile(bytes);
    return true;
}

namespace {

struct SameTextLook {
    std::wstring key;
    std::string found;
    bool (*goOn)(void*);
    void* context;
};

bool LookForSameText(const SeenFact& fact, void* context)
{
    SameTextLook* look = (SameTextLook*)context;
    if (look->goOn && !look->goOn(look->context))
        return false;
    std::wstring text;
    AcquireSRWLockShared(&walkGate);
    bool read = ReadMainText(fact.folder, fact.name, &text);
    ReleaseSRWLockShared(&walkGate);
    if (!read || DuplicateKey(text) != look->key)
        return true;
    look->found = fact.folder;
    return false;
}

}  // namespace

bool FindDuplicateFact(const char* root, const std::wstring& text, char* factFolder, bool (*goOn)(void*),
                       void* context)
{
    factFolder[0] = '\0';
    SameTextLook look = { DuplicateKey(text), std::string(), goOn, context };
    WalkFactFolders(root, LookForSameText, &look);
    return !look.found.empty() && SlotCopy(factFolder, look.found.c_str());
}
