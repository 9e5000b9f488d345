// Every listed fact of a base in memory, for search: its place, its name and
// the folded text of its description and main text. UI-free and
// single-threaded: whoever shares an index across threads locks it.
//
// Small on purpose: a collection of twenty thousand quotations holds a few
// megabytes of text, and the index is meant to cost little more. A category
// is held once for all the facts below it; a fact is a few words and one
// block of the heap with its name and its texts.
#pragma once
#include "query.h"
#include "../store/fact_shape.h"
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// A fact's name as the lists show it and its folded texts (description, a
// line break, main text) in one block, shared by every index that holds the
// fact: a refresh builds a new index beside the one queries use and copies
// no text. Never changed once made; copies may be dropped on any thread.
class FactText {
public:
    FactText() : block_(nullptr) {}
    FactText(const std::string& name, const char* folded, size_t foldedLength);
    FactText(const FactText& other);
    FactText(FactText&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    FactText& operator=(FactText other) noexcept;
    ~FactText();
    bool empty() const { return block_ == nullptr; }
    const char* name() const;
    size_t nameLength() const;
    const char* folded() const;
    size_t foldedLength() const;

private:
    struct Block;
    Block* block_;
};

const unsigned NO_CATEGORY = 0xFFFFFFFFu;

struct IndexedCategory {
    unsigned parent;  // one level up; NO_CATEGORY for a Section
    unsigned nameAt;  // where its name is among FactIndex::categoryNames (NameOfCategory reads it)
    unsigned short nameLength;
};

struct IndexedFact {
    unsigned directive;        // in FactIndex::categories
    unsigned char unreadable;  // how many of its files are there but could not be read whole
    // Its files' sizes and write times as they were when indexed, as one
    // number: a refresh rereads a fact only where it differs.
    unsigned long long stamps;
    FactText text;
};

struct FactIndex {
    std::string root;
    // Only categories with facts below them, a few categories perhaps more
    // than once (a fact added outside a walk); a walk makes them anew. Held
    // in pieces that never move, so that growing never copies what is held.
    std::deque<IndexedCategory> categories;
    std::vector<std::string> categoryNames;
    std::vector<IndexedFact> facts;  // in the browser's order
};

// A category added below parent (NO_CATEGORY for a Section): its position.
// A walk adds each category with its first fact; whoever copies facts from
// one index into another adds their categories with this.
unsigned AddIndexedCategory(FactIndex* index, unsigned parent, std::string_view name);
std::string_view NameOfCategory(const FactIndex& index, unsigned category);

// Where a fact of the index is, as the lists show it.
FactPlace PlaceOfIndexedFact(const FactIndex& index, size_t fact);

// Walks the base below root as the folder lists show it (folders the lists
// leave out are left out here too) and brings index up to date: facts added,
// facts gone dropped, and a fact's files reread only where their size or
// write time changed. Reads only. A first call builds the whole index.
// progress, when given, is called after each Directive with the facts so far.
typedef void (*IndexProgress)(const FactIndex& index, void* context);
void RefreshFactIndex(FactIndex* index, const std::string& root, IndexProgress progress = 0, void* context = 0);

// What a refresh needs of an index to reuse a fact's text: its folder as a
// hash, its files' stamps and the shared text, a few dozen bytes a fact, so
// that it can be taken from an index in use while a new one is built beside it.
struct KnownFact {
    unsigned long long folder;
    unsigned long long stamps;
    FactText text;
    unsigned char unreadable;
};
std::vector<KnownFact> KnowFacts(const FactIndex& index);

// Builds index anew from the base below root, taking the text of every fact
// whose files' stamps are as known, reading the rest. RefreshFactIndex is
// this with what the index itself knows. Returns how many facts were read.
size_t BuildFactIndex(FactIndex* index, const std::string& root, const std::vector<KnownFact>& known,
                      IndexProgress progress = 0, void* context = 0);

// Rereads the one fact whose folder is factFolder (a full path below the
// index's root), adding it when it is new and dropping it when it is gone:
// the program's own changes reach the index at once.
void UpdateIndexedFact(FactIndex* index, const std::string& factFolder);

// A folder of the base renamed or moved (newFolder given) or deleted
// (newFolder NULL): every fact at or below it follows at once. A moved fact
// keeps its texts and reads no file; only a fact whose own name changed
// (its main text file renamed with it) is read anew.
void MoveIndexedFolder(FactIndex* index, const std::string& oldFolder, const char* newFolder);

// The positions in index.facts of the facts that answer the query, in order:
// every wanted term in the fact's name, its categories' names, its
// description or its main text, no excluded term in any of them.
std::vector<size_t> SearchFactIndex(const FactIndex& index, const SearchQuery& query);

// How many indexed files are there but could not be read whole (locked,
// access denied, too large). A missing file is not counted: that is the
// base check's finding, not a failed read.
int UnreadableFiles(const FactIndex& index);
