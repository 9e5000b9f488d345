// What the user types into the search: words separated by blanks, each to be
// found somewhere in a fact; "…" in double quotes a phrase, blanks and all;
// a leading "-" excludes the facts holding the word or phrase.
#pragma once
#include <string>
#include <vector>

struct QueryTerm {
    std::string folded;  // the word or phrase, folded (text_fold.h)
    bool excluded;
};

struct SearchQuery {
    std::vector<QueryTerm> terms;
};

// Parses a Windows-1251 query. An unclosed quote runs to the end.
SearchQuery ParseQuery(const std::string& text);

// Whether a folded text answers the query: every wanted term occurs in it,
// no excluded one does. A query with no wanted term answers nothing.
bool QueryMatches(const SearchQuery& query, const std::string& folded);

// Where the first wanted term occurs in a folded text, or npos.
size_t FirstMatch(const SearchQuery& query, const std::string& folded, size_t* length);
