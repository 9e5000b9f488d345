// The search index kept between runs of the program, so that after a
// restart only what changed is read again. One file per base root in the
// user's local application data, never inside the base. The file is only a
// head start: what it says is checked against the base by the walk that
// follows (BuildFactIndex with KnowFacts of the loaded index), so a cache
// that is old, or from a base changed meanwhile, costs reading, never
// a wrong answer. UI-free.
#pragma once
#include "fact_index.h"
#include <string>

// Where the cache of the base at root is kept; empty when there is none to
// keep: FACTS_INDEX_CACHE=off, no local application data folder, or that
// folder inside the base itself.
std::wstring IndexCacheFile(const std::string& root);

// Writes index to file through a temporary file that replaces it when
// complete, making file's folder when it is missing. False when it could
// not be written; file is then as it was.
bool SaveIndexCache(const FactIndex& index, const std::wstring& file);

// Reads the index kept in file for the base at root. False, with index
// empty, for a file that is missing, unreadable, of another version or
// another root, cut short or damaged (its checksum does not match).
bool LoadIndexCache(const std::wstring& file, const std::string& root, FactIndex* index);
