#include "query.h"
#include "text_fold.h"

SearchQuery ParseQuery(const std::string& text)
{
    SearchQuery query;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            i++;
        if (i >= text.size())
            break;
        QueryTerm term = { std::string(), false };
        if (text[i] == '-' && i + 1 < text.size() && text[i + 1] != ' ') {
            term.excluded = true;
            i++;
        }
        if (text[i] == '"') {
            size_t close = text.find('"', i + 1);
            size_t end = close == std::string::npos ? text.size() : close;
            term.folded = FoldText(text.substr(i + 1, end - i - 1));
            i = close == std::string::npos ? end : close + 1;
        } else {
            size_t end = i;
            while (end < text.size() && text[end] != ' ' && text[end] != '\t')
                end++;
            term.folded = FoldText(text.substr(i, end - i));
            i = end;
        }
        if (!term.folded.empty())
            query.terms.push_back(term);
    }
    return query;
}

bool QueryMatches(const SearchQuery& query, const std::string& folded)
{
    bool wanted = false;
    for (const QueryTerm& term : query.terms) {
        bool found = folded.find(term.folded) != std::string::npos;
        if (found == term.excluded)
            return false;
        wanted = wanted || !term.excluded;
    }
    return wanted;
}

size_t FirstMatch(const SearchQuery& query, const std::string& folded, size_t* length)
{
    size_t first = std::string::npos;
    for (const QueryTerm& term : query.terms) {
        if (term.excluded)
            continue;
        size_t at = folded.find(term.folded);
        if (at < first) {
            first = at;
            *length = term.folded.size();
        }
    }
    return first;
}
