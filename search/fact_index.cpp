#include "fact_index.h"
#include "text_fold.h"
#include "../store/fact_shape.h"
#include "../store/fact_store.h"
#include "../store/folder_walk.h"
#include "../store/path_slot.h"
#include "../store/text_file.h"
#include "../platform/platform_text.h"

#include <windows.h>
#include <algorithm>
#include <atomic>
#include <functional>
#include <new>
#include <string_view>

// ---------------------------------------------------------------- the text block

struct FactText::Block {
    std::atomic<unsigned> references;
    unsigned foldedLength;
    unsigned short nameLength;
    // The name's bytes follow the block, then the folded texts'.
    char* bytes() { return (char*)(this + 1); }
};

FactText::FactText(const std::string& name, const char* folded, size_t foldedLength)
{
    void* memory = ::operator new(sizeof(Block) + name.size() + foldedLength);
    block_ = new (memory) Block();
    block_->references = 1;
    block_->nameLength = (unsigned short)name.size();
    block_->foldedLength = (unsigned)foldedLength;
    std::copy(name.begin(), name.end(), block_->bytes());
    std::copy(folded, folded + foldedLength, block_->bytes() + name.size());
}

FactText::FactText(const FactText& other) : block_(other.block_)
{
    if (block_)
        block_->references.fetch_add(1, std::memory_order_relaxed);
}

FactText& FactText::operator=(FactText other) noexcept
{
    std::swap(block_, other.block_);
    return *this;
}

FactText::~FactText()
{
    if (block_ && block_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        block_->~Block();
        ::operator delete(block_);
    }
}

const char* FactText::name() const
{
    return block_ ? block_->bytes() : "";
}

size_t FactText::nameLength() const
{
    return block_ ? block_->nameLength : 0;
}

const char* FactText::folded() const
{
    return block_ ? block_->bytes() + block_->nameLength : "";
}

size_t FactText::foldedLength() const
{
    return block_ ? block_->foldedLength : 0;
}

namespace {

// ---------------------------------------------------------------- categories

// The size of a piece of the category names; a name is far shorter.
const unsigned NAME_PIECE = 1u << 16;

std::string_view NameOf(const FactIndex& index, const IndexedCategory& category)
{
    return std::string_view(index.categoryNames[category.nameAt / NAME_PIECE].data() + category.nameAt % NAME_PIECE,
                            category.nameLength);
}

// Where a new name of length bytes goes: the last piece, or a new one.
unsigned PlaceForName(FactIndex* index, size_t length)
{
    if (index->categoryNames.empty() || index->categoryNames.back().size() + length > NAME_PIECE) {
        index->categoryNames.emplace_back();
        index->categoryNames.back().reserve(NAME_PIECE);
    }
    return (unsigned)((index->categoryNames.size() - 1) * NAME_PIECE + index->categoryNames.back().size());
}

void SetName(FactIndex* index, IndexedCategory* category, std::string_view name)
{
    category->nameAt = PlaceForName(index, name.size());
    category->nameLength = (unsigned short)name.size();
    index->categoryNames.back().append(name.data(), name.size());
}

// Whether category is the one named names[0..count) from the Section down.
bool CategoryIs(const FactIndex& index, unsigned category, const std::string* names, int count)
{
    for (int level = count - 1; level >= 0; level--) {
        if (category == NO_CATEGORY || NameOf(index, index.categories[category]) != names[level])
            return false;
        category = index.categories[category].parent;
    }
    return category == NO_CATEGORY;
}

// The category named names[0..count), made (with what it lacks above it)
// when add is set; NO_CATEGORY when it is not there and add is not.
unsigned CategoryNamed(FactIndex* index, const std::string* names, int count, bool add)
{
    unsigned parent = NO_CATEGORY;
    for (int level = 0; level < count; level++) {
        unsigned found = NO_CATEGORY;
        for (unsigned i = 0; i < index->categories.size() && found == NO_CATEGORY; i++)
            if (index->categories[i].parent == parent && NameOf(*index, index->categories[i]) == names[level])
                found = i;
        if (found == NO_CATEGORY) {
            if (!add)
                return NO_CATEGORY;
            found = AddIndexedCategory(index, parent, names[level]);
        }
        parent = found;
    }
    return parent;
}

// The names below root of path's folders, Section first; false when path
// is not below root.
bool NamesBelow(const std::string& root, const std::string& path, std::vector<std::string>* names)
{
    names->clear();
    if (path.size() <= root.size() + 1 || path.compare(0, root.size(), root) != 0 || path[root.size()] != '\\')
        return false;
    size_t at = root.size() + 1;
    while (at <= path.size()) {
        size_t end = path.find('\\', at);
        if (end == std::string::npos)
            end = path.size();
        if (end == at)
            return false;
        names->push_back(path.substr(at, end - at));
        at = end + 1;
    }
    return true;
}

// ---------------------------------------------------------------- reading a fact

// The stamps of both files as one number. Kept in the cache of the index,
// so it is computed the same way by every build of the program.
unsigned long long StampsOf(const FileStamp& description, const FileStamp& mainText)
{
    unsigned long long hash = 14695981039346656037ull;
    const unsigned long long values[] = { description.exists, description.size, description.lastWrite,
                                          mainText.exists,    mainText.size,    mainText.lastWrite };
    for (unsigned long long value : values)
        for (int byte = 0; byte < 8; byte++) {
            hash ^= (value >> (8 * byte)) & 0xFF;
            hash *= 1099511628211ull;
        }
    return hash;
}

// A fact folder's two files are looked at by name, not listed: under Wine a
// look at a file costs a fraction of what opening a folder for a listing does.
unsigned long long StampsOfFact(const std::string& folder, const std::string& name, FileStamp* description,
                                FileStamp* mainText)
{
    *description = StampOfFile(WideFrom1251(DescriptionFileIn(folder).c_str()));
    *mainText = StampOfFile(WideFrom1251(MainTextFileIn(folder, name).c_str()));
    return StampsOf(*description, *mainText);
}

// The text of a fact's file, appended to all; nothing when it is missing or
// cannot be read whole (counted in unreadable), so the fact is still found
// by the rest.
void AppendText(std::string* all, const std::string& path, bool exists, char* buffer, int* unreadable)
{
    if (!exists)
        return;
    if (path.size() > (size_t)SLOT_CHARS || ReadTextFile(path.c_str(), buffer) != READ_OK) {
        ++*unreadable;
        return;
    }
    *all += buffer;
}

void ReadTexts(IndexedFact* fact, const std::string& folder, const std::string& name, const FileStamp& description,
               const FileStamp& mainText, char* buffer)
{
    int unreadable = 0;
    std::string all;
    AppendText(&all, DescriptionFileIn(folder), description.exists, buffer, &unreadable);
    all += '\n';
    AppendText(&all, MainTextFileIn(folder, name), mainText.exists, buffer, &unreadable);
    for (char& c : all)
        c = (char)FoldByte((unsigned char)c);
    fact->text = FactText(name, all.data(), all.size());
    fact->unreadable = (unsigned char)unreadable;
}

void ReadFact(IndexedFact* fact, const std::string& folder, const std::string& name)
{
    std::vector<char> buffer(TEXT_BUFFER_SIZE);
    FileStamp description, mainText;
    fact->stamps = StampsOfFact(folder, name, &description, &mainText);
    ReadTexts(fact, folder, name, description, mainText, buffer.data());
}

// The sub-folders the lists show, the parent entry left out.
std::vector<std::string> SubfoldersOf(const std::string& folder)
{
    std::vector<std::string> names;
    ListSubfolders(folder.c_str(), &names);
    names.erase(std::remove(names.begin(), names.end(), std::string("..")), names.end());
    return names;
}

// Where the fact at place is in the index, or npos.
size_t FindFact(const FactIndex& index, const FactPlace& place)
{
    for (size_t i = 0; i < index.facts.size(); i++) {
        const FactText& text = index.facts[i].text;
        if (std::string_view(text.name(), text.nameLength()) == place.name &&
            CategoryIs(index, index.facts[i].directive, place.categories, CATEGORY_LEVELS))
            return i;
    }
    return std::string::npos;
}

unsigned long long FolderHash(const std::string& folder)
{
    return std::hash<std::string>()(folder);
}

bool KnownBefore(const KnownFact& a, const KnownFact& b)
{
    return a.folder < b.folder;
}

// What was known of the fact in folder: the one with its folder's hash and
// its name, since two folders could share a hash.
const KnownFact* KnownAs(const std::vector<KnownFact>& known, const std::string& folder, const std::string& name)
{
    KnownFact key;
    key.folder = FolderHash(folder);
    auto at = std::lower_bound(known.begin(), known.end(), key, KnownBefore);
    for (; at != known.end() && at->folder == key.folder; ++at)
        if (std::string_view(at->text.name(), at->text.nameLength()) == name)
            return &*at;
    return nullptr;
}

}  // namespace

unsigned AddIndexedCategory(FactIndex* index, unsigned parent, std::string_view name)
{
    IndexedCategory category = { parent, 0, 0 };
    SetName(index, &category, name);
    index->categories.push_back(category);
    return (unsigned)index->categories.size() - 1;
}

std::string_view NameOfCategory(const FactIndex& index, unsigned category)
{
    return NameOf(index, index.categories[category]);
}

FactPlace PlaceOfIndexedFact(const FactIndex& index, size_t fact)
{
    FactPlace place;
    const IndexedFact& indexed = index.facts[fact];
    place.name.assign(indexed.text.name(), indexed.text.nameLength());
    unsigned category = indexed.directive;
    for (int level = CATEGORY_LEVELS - 1; level >= 0 && category != NO_CATEGORY; level--) {
        place.categories[level] = std::string(NameOf(index, index.categories[category]));
        category = index.categories[category].parent;
    }
    return place;
}

std::vector<KnownFact> KnowFacts(const FactIndex& index)
{
    std::vector<KnownFact> known(index.facts.size());
    for (size_t i = 0; i < index.facts.size(); i++) {
        const IndexedFact& fact = index.facts[i];
        known[i].folder = FolderHash(FactFolderOf(index.root, PlaceOfIndexedFact(index, i)));
        known[i].stamps = fact.stamps;
        known[i].text = fact.text;
        known[i].unreadable = fact.unreadable;
    }
    std::sort(known.begin(), known.end(), KnownBefore);
    return known;
}

size_t BuildFactIndex(FactIndex* index, const std::string& root, const std::vector<KnownFact>& known,
                      IndexProgress progress, void* context)
{
    index->root = root;
    index->categories.clear();
    index->categoryNames.clear();
    index->facts.clear();
    index->facts.reserve(known.size());
    std::vector<char> buffer(TEXT_BUFFER_SIZE);
    size_t read = 0;
    // A base that did not change costs one listing per category folder and
    // one look at each fact's two files; what the walk does not meet is gone.
    // A category enters the index with its first fact.
    std::string path[CATEGORY_LEVELS], names[CATEGORY_LEVELS];
    unsigned made[CATEGORY_LEVELS];
    for (const std::string& section : SubfoldersOf(root)) {
        names[0] = section;
        path[0] = root + "\\" + section;
        made[0] = NO_CATEGORY;
        for (const std::string& topic : SubfoldersOf(path[0])) {
            names[1] = topic;
            path[1] = path[0] + "\\" + topic;
            made[1] = NO_CATEGORY;
            for (const std::string& subtopic : SubfoldersOf(path[1])) {
                names[2] = subtopic;
                path[2] = path[1] + "\\" + subtopic;
                made[2] = NO_CATEGORY;
                for (const std::string& directive : SubfoldersOf(path[2])) {
                    names[3] = directive;
                    path[3] = path[2] + "\\" + directive;
                    made[3] = NO_CATEGORY;
                    for (const std::string& name : SubfoldersOf(path[3])) {
                        std::string folder = path[3] + "\\" + name;
                        for (int level = 0; level < CATEGORY_LEVELS; level++)
                            if (made[level] == NO_CATEGORY)
                                made[level] = AddIndexedCategory(index, level ? made[level - 1] : NO_CATEGORY, names[level]);
                        IndexedFact fact;
                        fact.directive = made[CATEGORY_LEVELS - 1];
                        FileStamp description, mainText;
                        fact.stamps = StampsOfFact(folder, name, &description, &mainText);
                        const KnownFact* before = known.empty() ? nullptr : KnownAs(known, folder, name);
                        // A file that could not be read last time (locked, say) is
                        // tried again though its stamp is the same.
                        if (before && before->stamps == fact.stamps && before->unreadable == 0) {
                            fact.text = before->text;
                            fact.unreadable = before->unreadable;
                        } else {
                            ReadTexts(&fact, folder, name, description, mainText, buffer.data());
                            read++;
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
    return read;
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
    FactPlace place;
    if (!PlaceOfFactFolder(index->root, factFolder, &place))
        return;
    size_t at = FindFact(*index, place);
    bool gone = GetFileAttributes1251(factFolder.c_str()) == INVALID_FILE_ATTRIBUTES;
    if (at != std::string::npos) {
        if (gone)
            index->facts.erase(index->facts.begin() + at);
        else
            ReadFact(&index->facts[at], factFolder, place.name);
        return;
    }
    if (gone)
        return;
    // A new fact: the next refresh puts it in its place; until then it is
    // found at the end.
    IndexedFact fact;
    fact.directive = CategoryNamed(index, place.categories, CATEGORY_LEVELS, true);
    ReadFact(&fact, factFolder, place.name);
    index->facts.push_back(std::move(fact));
}

namespace {

// Facts below any of the categories marked in below, dropped.
void DropFactsBelow(FactIndex* index, const std::vector<bool>& below)
{
    std::vector<IndexedFact> kept;
    kept.reserve(index->facts.size());
    for (IndexedFact& fact : index->facts) {
        bool dropped = false;
        for (unsigned c = fact.directive; c != NO_CATEGORY && !dropped; c = index->categories[c].parent)
            dropped = below[c];
        if (!dropped)
            kept.push_back(std::move(fact));
    }
    index->facts.swap(kept);
}

void MoveIndexedFact(FactIndex* index, const std::string& oldFolder, const char* newFolder)
{
    FactPlace from, to;
    if (!PlaceOfFactFolder(index->root, oldFolder, &from))
        return;
    size_t at = FindFact(*index, from);
    if (at == std::string::npos)
        return;
    if (!newFolder || !PlaceOfFactFolder(index->root, newFolder, &to)) {
        index->facts.erase(index->facts.begin() + at);  // gone, or no longer a fact folder
        return;
    }
    // A fact renamed took its main text file's name: that one is read anew.
    if (to.name != from.name) {
        index->facts.erase(index->facts.begin() + at);
        UpdateIndexedFact(index, newFolder);
        return;
    }
    index->facts[at].directive = CategoryNamed(index, to.categories, CATEGORY_LEVELS, true);
}

}  // namespace

void MoveIndexedFolder(FactIndex* index, const std::string& oldFolder, const char* newFolder)
{
    std::vector<std::string> from, to;
    if (!NamesBelow(index->root, oldFolder, &from) || from.size() > (size_t)FACT_LEVEL)
        return;
    if (from.size() == (size_t)FACT_LEVEL) {
        MoveIndexedFact(index, oldFolder, newFolder);
        return;
    }
    // A category moves with everything below it by being given its new name
    // and parent: its facts keep their texts and are not touched at all.
    int count = (int)from.size();
    std::vector<unsigned> moved;
    for (unsigned i = 0; i < index->categories.size(); i++)
        if (CategoryIs(*index, i, from.data(), count))
            moved.push_back(i);
    bool sameLevel = newFolder && NamesBelow(index->root, newFolder, &to) && to.size() == from.size();
    if (!sameLevel) {
        // Deleted, or no longer at a category's level: nothing below it is a fact now.
        std::vector<bool> below(index->categories.size(), false);
        for (unsigned i : moved)
            below[i] = true;
        DropFactsBelow(index, below);
        return;
    }
    unsigned parent = count == 1 ? NO_CATEGORY : CategoryNamed(index, to.data(), count - 1, true);
    for (unsigned i : moved) {
        IndexedCategory& category = index->categories[i];
        category.parent = parent;
        if (NameOf(*index, category) != to.back())
            SetName(index, &category, to.back());
    }
}

namespace {

const size_t MASKED_TERMS = 64;

// The terms (their bits) found in a text, folded first when it is not.
unsigned long long TermsIn(const SearchQuery& query, std::string_view text, unsigned long long already)
{
    unsigned long long found = already;
    for (size_t t = 0; t < query.terms.size() && t < MASKED_TERMS; t++)
        if (!(found >> t & 1) && text.find(query.terms[t].folded) != std::string_view::npos)
            found |= 1ull << t;
    return found;
}

std::string_view Folded(std::string_view text, std::string* buffer)
{
    buffer->assign(text.data(), text.size());
    for (char& c : *buffer)
        c = (char)FoldByte((unsigned char)c);
    return *buffer;
}

}  // namespace

std::vector<size_t> SearchFactIndex(const FactIndex& index, const SearchQuery& query)
{
    std::vector<size_t> found;
    bool anyWanted = false;
    unsigned long long wanted = 0, excluded = 0;
    for (size_t t = 0; t < query.terms.size(); t++) {
        anyWanted = anyWanted || !query.terms[t].excluded;
        if (t < MASKED_TERMS)
            (query.terms[t].excluded ? excluded : wanted) |= 1ull << t;
    }
    if (!anyWanted)
        return found;
    // Names are held as the lists show them and folded here: a category's
    // once for the query, each fact's own as it is met.
    std::string buffer;
    std::vector<unsigned long long> own(index.categories.size());
    for (size_t c = 0; c < index.categories.size(); c++)
        own[c] = TermsIn(query, Folded(NameOf(index, index.categories[c]), &buffer), 0);
    // A query of more terms than the bits hold is rare enough to be checked
    // the plain way, on the whole fact's folded text.
    bool plain = query.terms.size() > MASKED_TERMS;
    for (size_t i = 0; i < index.facts.size(); i++) {
        const IndexedFact& fact = index.facts[i];
        if (plain) {
            FactPlace place = PlaceOfIndexedFact(index, i);
            std::string all = place.name;
            for (const std::string& category : place.categories)
                all += "\n" + category;
            all = FoldText(all) + "\n" + std::string(fact.text.folded(), fact.text.foldedLength());
            if (QueryMatches(query, all))
                found.push_back(i);
            continue;
        }
        unsigned long long terms = 0;
        for (unsigned c = fact.directive; c != NO_CATEGORY; c = index.categories[c].parent)
            terms |= own[c];
        terms = TermsIn(query, Folded(std::string_view(fact.text.name(), fact.text.nameLength()), &buffer), terms);
        terms = TermsIn(query, std::string_view(fact.text.folded(), fact.text.foldedLength()), terms);
        if ((terms & wanted) == wanted && !(terms & excluded))
            found.push_back(i);
    }
    return found;
}

int UnreadableFiles(const FactIndex& index)
{
    int count = 0;
    for (const IndexedFact& fact : index.facts)
        count += fact.unreadable;
    return count;
}
