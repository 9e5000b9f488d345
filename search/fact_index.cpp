#include "fact_index.h"
#include "../store/fact_shape.h"
#include "text_fold.h"
#include "../store/fact_store.h"
#include "../store/folder_walk.h"
#include "../store/path_slot.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"

#include <windows.h>
#include <algorithm>
#include <functional>

namespace {

FileStamp StampOf(const std::string& path)
{
    return StampOfFile(WideFrom1251(path.c_str()));
}

// Both files of a fact folder from one listing of it: a refresh of an
// unchanged base then costs what walking it does.
struct FactFiles {
    std::wstring descriptionName;
    std::wstring mainName;
    FileStamp* description;
    FileStamp* mainText;
};

bool StampFactFile(const FolderEntry& entry, void* context)
{
    FactFiles* files = (FactFiles*)context;
    if (entry.isFolder)
        return true;
    if (lstrcmpiW(entry.name, files->descriptionName.c_str()) == 0)
        *files->description = entry.stamp;
    else if (lstrcmpiW(entry.name, files->mainName.c_str()) == 0)
        *files->mainText = entry.stamp;
    return true;
}

void StampsOfFact(const std::string& folder, const std::string& name, FileStamp* description, FileStamp* mainText)
{
    const FileStamp missing = { false, 0, 0 };
    *description = *mainText = missing;
    FactFiles files = { DescriptionFileNameW(), WideFrom1251(MainTextFileName(name).c_str()), description, mainText };
    VisitFolder(WideFrom1251(folder.c_str()), StampFactFile, &files);
}

// The text of a fact's file for the index; empty when it is missing, or
// cannot be read whole (counted in unreadable), so the fact is still found
// by the rest.
std::string IndexedText(const std::string& path, bool exists, int* unreadable)
{
    if (!exists)
        return std::string();
    std::vector<char> text(TEXT_BUFFER_SIZE);
    if (path.size() > (size_t)SLOT_CHARS || ReadTextFile(path.c_str(), text.data()) != READ_OK) {
        ++*unreadable;
        return std::string();
    }
    return std::string(text.data());
}

// The first lines of a fact's folded text: its name, then its categories.
const int HEADER_LINES = 1 + CATEGORY_LEVELS;

std::string HeaderOf(const FactPlace& place)
{
    std::string header = place.name;
    for (int level = 0; level < CATEGORY_LEVELS; level++)
        header += "\n" + place.categories[level];
    return header;
}

// A fact's folded text at a new place: the same texts under a new header,
// so that a move reads no file. Names hold no line break, so the header
// ends at its last line's.
void Rehead(IndexedFact* fact, const FactPlace& place)
{
    const std::string& folded = *fact->folded;
    size_t body = 0;
    for (int line = 0; line < HEADER_LINES && body != std::string::npos; line++)
        body = folded.find('\n', body + (line > 0 ? 1 : 0));
    std::string moved = FoldText(HeaderOf(place)) + (body == std::string::npos ? std::string() : folded.substr(body));
    fact->place = place;
    fact->folded = std::make_shared<const std::string>(std::move(moved));
}

void ReadFact(IndexedFact* fact, const std::string& folder)
{
    std::string description = DescriptionFileIn(folder);
    std::string mainText = MainTextFileIn(folder, fact->place.name);
    fact->description = StampOf(description);
    fact->mainText = StampOf(mainText);
    fact->unreadable = 0;
    std::string all = HeaderOf(fact->place);
    all += "\n" + IndexedText(description, fact->description.exists, &fact->unreadable);
    all += "\n" + IndexedText(mainText, fact->mainText.exists, &fact->unreadable);
    std::string folded = FoldText(all);
    folded.shrink_to_fit();
    fact->folded = std::make_shared<const std::string>(std::move(folded));
}

// The sub-folders the lists show, the parent entry left out.
std::vector<std::string> SubfoldersOf(const std::string& folder)
{
    std::vector<std::string> names;
    ListSubfolders(folder.c_str(), &names);
    names.erase(std::remove(names.begin(), names.end(), std::string("..")), names.end());
    return names;
}

std::string FolderOf(const FactIndex& index, const IndexedFact& fact)
{
    return FactFolderOf(index.root, fact.place);
}

}  // namespace

namespace {

// Two independent 64-bit hashes of the folder path stand for the path: a
// refresh then needs a few bytes per fact, not a copy of every path.
void FolderKey(const std::string& folder, KnownFact* known)
{
    std::hash<std::string> hashOf;
    known->folderHash = hashOf(folder);
    known->checkHash = hashOf("\x01" + folder);
}

bool KeyBefore(const KnownFact& a, const KnownFact& b)
{
    return a.folderHash != b.folderHash ? a.folderHash < b.folderHash : a.checkHash < b.checkHash;
}

}  // namespace

std::vector<KnownFact> KnowFacts(const FactIndex& index)
{
    std::vector<KnownFact> known(index.facts.size());
    for (size_t i = 0; i < index.facts.size(); i++) {
        const IndexedFact& fact = index.facts[i];
        FolderKey(FolderOf(index, fact), &known[i]);
        known[i].description = fact.description;
        known[i].mainText = fact.mainText;
        known[i].folded = fact.folded;
        known[i].unreadable = fact.unreadable;
    }
    std::sort(known.begin(), known.end(), KeyBefore);
    return known;
}

void BuildFactIndex(FactIndex* index, const std::string& root, const std::vector<KnownFact>& known,
                    IndexProgress progress, void* context)
{
    index->root = root;
    index->facts.clear();
    index->facts.reserve(known.size());
    // A base that did not change costs one listing per folder and one look
    // at each file's size and time; what the walk does not meet is gone.
    std::string path[5];
    for (const std::string& section : SubfoldersOf(root)) {
        path[0] = root + "\\" + section;
        for (const std::string& topic : SubfoldersOf(path[0])) {
            path[1] = path[0] + "\\" + topic;
            for (const std::string& subtopic : SubfoldersOf(path[1])) {
                path[2] = path[1] + "\\" + subtopic;
                for (const std::string& directive : SubfoldersOf(path[2])) {
                    path[3] = path[2] + "\\" + directive;
                    for (const std::string& name : SubfoldersOf(path[3])) {
                        std::string folder = path[3] + "\\" + name;
                        IndexedFact fact;
                        fact.place.categories[0] = section;
                        fact.place.categories[1] = topic;
                        fact.place.categories[2] = subtopic;
                        fact.place.categories[3] = directive;
                        fact.place.name = name;
                        KnownFact key;
                        FolderKey(folder, &key);
                        auto before = std::lower_bound(known.begin(), known.end(), key, KeyBefore);
                        bool wasKnown = before != known.end() && !KeyBefore(key, *before);
                        if (wasKnown)
                            StampsOfFact(folder, name, &fact.description, &fact.mainText);
                        if (wasKnown && SameStamp(before->description, fact.description) &&
                            SameStamp(before->mainText, fact.mainText)) {
                            fact.folded = before->folded;
                            fact.unreadable = before->unreadable;
                        } else {
                            ReadFact(&fact, folder);
                        }
                        index->facts.push_back(std::move(fact));
                    }
                    if (progress)
                        progress(*index, context);
                }
            }
        }
    }
    index->facts.shrink_to_fit();
}

void RefreshFactIndex(FactIndex* index, const std::string& root, IndexProgress progress, void* context)
{
    std::vector<KnownFact> known;
    if (index->root == root)
        known = KnowFacts(*index);
    BuildFactIndex(index, root, known, progress, context);
}

void UpdateIndexedFact(FactIndex* index, const std::string& factFolder)
{
    for (size_t i = 0; i < index->facts.size(); i++) {
        if (FolderOf(*index, index->facts[i]) == factFolder) {
            if (GetFileAttributes1251(factFolder.c_str()) == INVALID_FILE_ATTRIBUTES)
                index->facts.erase(index->facts.begin() + i);
            else
                ReadFact(&index->facts[i], factFolder);
            return;
        }
    }
    // A new fact: the next refresh puts it in its place; until then it is
    // found at the end.
    IndexedFact fact;
    if (!PlaceOfFactFolder(index->root, factFolder, &fact.place))
        return;
    ReadFact(&fact, factFolder);
    index->facts.push_back(std::move(fact));
}

void MoveIndexedFolder(FactIndex* index, const std::string& oldFolder, const char* newFolder)
{
    std::vector<std::string> renamedFacts;
    std::vector<IndexedFact> kept;
    kept.reserve(index->facts.size());
    for (IndexedFact& fact : index->facts) {
        std::string folder = FolderOf(*index, fact);
        if (!PathAtOrBelow(folder.c_str(), oldFolder.c_str())) {
            kept.push_back(std::move(fact));
            continue;
        }
        FactPlace place;
        std::string moved = newFolder ? newFolder + folder.substr(oldFolder.size()) : std::string();
        if (!newFolder || !PlaceOfFactFolder(index->root, moved, &place))
            continue;  // gone, or no longer a fact folder
        // A fact renamed took its main text file's name: that one is read anew.
        if (place.name != fact.place.name) {
            renamedFacts.push_back(moved);
            continue;
        }
        Rehead(&fact, place);
        kept.push_back(std::move(fact));
    }
    index->facts.swap(kept);
    for (const std::string& folder : renamedFacts)
        UpdateIndexedFact(index, folder);
}

std::vector<size_t> SearchFactIndex(const FactIndex& index, const SearchQuery& query)
{
    std::vector<size_t> found;
    for (size_t i = 0; i < index.facts.size(); i++)
        if (QueryMatches(query, *index.facts[i].folded))
            found.push_back(i);
    return found;
}

int UnreadableFiles(const FactIndex& index)
{
    int count = 0;
    for (const IndexedFact& fact : index.facts)
        count += fact.unreadable;
    return count;
}
