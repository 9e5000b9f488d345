#include "import_undo.h"
#include "../capture/capture_text.h"
#include "../maintenance/rename_delete.h"
#include "../move/undo_stack.h"
#include "../platform/platform_text.h"
#include "../store/base_changes.h"
#include "../store/fact_store.h"
#include "../store/folder_walk.h"
#include "../store/path_slot.h"

#include <map>
#include <set>

namespace {

std::vector<std::string> EntriesOf(const std::string& folder)
{
    std::vector<std::string> names;
    VisitFolder(
        WideFrom1251(folder.c_str()),
        [](const FolderEntry& entry, void* context) {
            char name[SLOT_SIZE];
            // A name no slot can carry is surely not the import's.
            if (TextTo1251(entry.name, -1, name, SLOT_SIZE) != TEXT_FITS)
                name[0] = '\0';
            ((std::vector<std::string>*)context)->push_back(name);
            return true;
        },
        &names);
    return names;
}

// The fact holds exactly the two files the import wrote, as it wrote them.
bool Untouched(const ImportedFact& fact)
{
    char description[SLOT_SIZE], mainText[SLOT_SIZE];
    return EntriesOf(fact.folder).size() == 2 && DescriptionFilePath(fact.folder.c_str(), description) &&
           MainTextFilePath(fact.folder.c_str(), fact.name.c_str(), mainText) &&
           CompareFileState(description, fact.description) == FILE_UNCHANGED &&
           CompareFileState(mainText, fact.mainText) == FILE_UNCHANGED;
}

std::string ParentOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\'));
}

}  // namespace

ImportUndoResult UndoImport(const ImportRecord& record, ImportUndo* undo)
{
    *undo = ImportUndo();
    std::set<std::string> untouchedFacts;
    for (const ImportedFact& fact : record.facts) {
        if (Untouched(fact))
            untouchedFacts.insert(fact.folder);
        else if (GetFileAttributes1251(fact.folder.c_str()) != INVALID_FILE_ATTRIBUTES)
            undo->refused.push_back(fact.folder);
    }
    // A category goes whole when all it holds is the import's and untouched;
    // its own categories were made after it, so they are judged first.
    std::map<std::string, bool> whole;
    for (size_t i = record.categories.size(); i-- > 0;) {
        const std::string& category = record.categories[i];
        bool all = GetFileAttributes1251(category.c_str()) != INVALID_FILE_ATTRIBUTES;
        for (const std::string& name : EntriesOf(category)) {
            std::string path = category + "\\" + name;
            all = all && !name.empty() && (untouchedFacts.count(path) || (whole.count(path) && whole[path]));
        }
        whole[category] = all;
    }
    std::vector<std::string> going;
    for (const std::string& category : record.categories) {
        if (!whole[category]) {
            if (GetFileAttributes1251(category.c_str()) != INVALID_FILE_ATTRIBUTES)
                undo->refused.push_back(category);
        } else if (!whole.count(ParentOf(category)) || !whole[ParentOf(category)]) {
            going.push_back(category);
        }
    }
    for (const ImportedFact& fact : record.facts) {
        if (!untouchedFacts.count(fact.folder))
            continue;
        // Inside a category that goes whole, it goes with it.
        bool inside = false;
        for (const std::string& category : going)
            inside = inside || PathAtOrBelow(fact.folder.c_str(), category.c_str());
        if (!inside)
            going.push_back(fact.folder);
    }
    bool refusedByShell = false;
    for (const std::string& path : going) {
        RecycleResult result = MoveToRecycleBin(record.root.c_str(), path.c_str());
        if (result == RECYCLE_NO_BIN)
            return IMPORT_UNDO_NO_BIN;
        if (result == RECYCLED) {
            AnnounceFolderRemoved(path.c_str());
            continue;
        }
        refusedByShell = true;
        undo->refused.push_back(path);
    }
    for (const std::string& category : record.categories)
        if (whole[category] && GetFileAttributes1251(category.c_str()) == INVALID_FILE_ATTRIBUTES)
            undo->categoriesRemoved++;
    for (const ImportedFact& fact : record.facts)
        if (untouchedFacts.count(fact.folder) && GetFileAttributes1251(fact.folder.c_str()) == INVALID_FILE_ATTRIBUTES)
            undo->factsRemoved++;
    return undo->refused.empty() && !refusedByShell ? IMPORT_UNDONE : IMPORT_UNDONE_PARTLY;
}

namespace {

// The records of the steps the undo may still reach: it keeps no more
// steps than this, so a slot taken again belongs to a forgotten step.
ImportRecord Kept[UNDO_DEPTH];
int NextKept = 0;
ImportUndo Last;

UndoResult UndoKeptImport(const char* root, int record)
{
    if (record < 0 || record >= UNDO_DEPTH || Kept[record].root != root)
        return UNDO_OUTSIDE;
    switch (UndoImport(Kept[record], &Last)) {
    case IMPORT_UNDONE: return UNDO_DONE;
    case IMPORT_UNDONE_PARTLY: return UNDO_PARTLY;
    case IMPORT_UNDO_NO_BIN: return UNDO_NO_BIN;
    }
    return UNDO_FAILED;
}

// The menu's name for the step: the source folder's name as Windows-1251 can
// show it, short enough for the menu.
const size_t STEP_NAME_MAX = 100;

std::string StepName(const std::wstring& sourceName)
{
    std::wstring shown = ReplaceOutside1251(sourceName.substr(0, STEP_NAME_MAX), NULL);
    char name[SLOT_SIZE];
    if (TextTo1251(shown.c_str(), (int)shown.size(), name, SLOT_SIZE) != TEXT_FITS)
        return std::string();
    return name;
}

}  // namespace

void RememberImportStep(const ImportRecord& record)
{
    if (record.facts.empty() && record.categories.empty())
        return;
    int slot = NextKept;
    NextKept = (NextKept + 1) % UNDO_DEPTH;
    Kept[slot] = record;
    RememberActionStep(UNDO_IMPORT, record.place.c_str(), StepName(record.sourceName).c_str(), UndoKeptImport, slot);
}

const ImportUndo& LastImportUndo()
{
    return Last;
}
