// Every listed fact of a base in memory, for search: its place, its name and
// the folded text of its name, categories, description and main text. UI-free
// and single-threaded: whoever shares an index across threads locks it.
#pragma once
#include "query.h"
#include "../store/fact_shape.h"
#include "../store/folder_walk.h"
#include <memory>
#include <string>
#include <vector>

struct IndexedFact {
    FactPlace place;  // as the lists show it
    // Name, categories, description, main text: folded, one line between.
    // Shared, never changed once made: a copy of the index (a refresh works
    // on one while queries use the other) copies no text.
    std::shared_ptr<const std::string> folded;
    FileStamp description;  // its files as they were when indexed: a refresh rereads only what differs
    FileStamp mainText;
    int unreadable;  // how many of its files are there but could not be read whole
};

struct FactIndex {
    std::string root;
    std::vector<IndexedFact> facts;  // in the browser's order
};

// Walks the base below root as the folder lists show it (folders the lists
// leave out are left out here too) and brings index up to date: facts added,
// facts gone dropped, and a fact's files reread only where their size or
// write time changed. Reads only. A first call builds the whole index.
// progress, when given, is called after each Directive with the facts so far.
typedef void (*IndexProgress)(const FactIndex& index, void* context);
void RefreshFactIndex(FactIndex* index, const std::string& root, IndexProgress progress = 0, void* context = 0);

// What a refresh needs of an index to reuse a fact's text: its folder as two
// hashes, its files' stamps and the shared text. A few dozen bytes a fact, so
// that it can be taken from an index in use while a new one is built beside it.
struct KnownFact {
    size_t folderHash;
    size_t checkHash;
    FileStamp description;
    FileStamp mainText;
    std::shared_ptr<const std::string> folded;
    int unreadable;
};
std::vector<KnownFact> KnowFacts(const FactIndex& index);

// Builds index anew from the base below root, taking the text of every fact
// whose files' stamps are as known, reading the rest. RefreshFactIndex is
// this with what the index itself knows.
void BuildFactIndex(FactIndex* index, const std::string& root, const std::vector<KnownFact>& known,
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

// The positions in index.facts of the facts that answer the query, in order.
std::vector<size_t> SearchFactIndex(const FactIndex& index, const SearchQuery& query);

// How many indexed files are there but could not be read whole (locked,
// access denied, too large). A missing file is not counted: that is the
// base check's finding, not a failed read.
int UnreadableFiles(const FactIndex& index);
