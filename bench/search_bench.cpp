// How fast the search index is built, kept and queried, against the floor
// of walking the base and reading every file with plain Win32 calls, on two
// shapes of base: "regular", 5 Sections x 5 Topics x 5 Subtopics x
// 8 Directives with distinct Russian texts of about 600 bytes (words from a
// fixed list, a fixed seed), and "collection", shaped like a real collection
// of short texts. Reports medians of five runs: the floor, the first answer
// with no cache and with a valid one, a refresh of an unchanged base, three
// queries, the index's memory against the text's bytes, the process's peak
// working set and the base check beside them; checks the targets.
//   search_bench.exe <regular|collection> <facts> [--runs N] [--no-header]
// One base a run, so that the peak working set is that base's.
#include "../check/base_check.h"
#include "../search/fact_index.h"
#include "../search/index_cache.h"
#include "../store/folder_walk.h"
#include "../search/query.h"
#include "../platform/platform_text.h"

#include "bench_files.h"
#include "search_bases.h"
#include "timing.h"
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "heap_count.h"

namespace {

std::string BenchText(bool description)
{
    return Sentence(description ? 100 : 600);
}

// Queries asked while a refresh builds its new index beside the one in use,
// as the search dialog asks them: their memory is part of the peak.
struct QueriesMeanwhile {
    const FactIndex* inUse;
    SearchQuery query;
    int directives;
};

void QueryMeanwhile(const FactIndex&, void* context)
{
    QueriesMeanwhile* meanwhile = (QueriesMeanwhile*)context;
    if (++meanwhile->directives % 500 == 0)
        SearchFactIndex(*meanwhile->inUse, meanwhile->query);
}

double Megabytes(size_t bytes)
{
    return bytes / 1048576.0;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* shape = "regular";
    int facts = 5000, runs = 5;
    bool header = true;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = atoi(argv[++i]);
        else if (strcmp(argv[i], "--no-header") == 0)
            header = false;
        else if (strcmp(argv[i], "regular") == 0 || strcmp(argv[i], "collection") == 0)
            shape = argv[i];
        else
            facts = atoi(argv[i]);
    }
    bool collection = strcmp(shape, "collection") == 0;
    if (facts <= 0 || (!collection && facts % 1000 != 0)) {
        fprintf(stderr, "a regular base holds a multiple of 1,000 facts\n");
        return 2;
    }
    if (header) {
        printf("| shape | facts | floor s | first s | first/floor | cached answer s | cached/floor | cache checked s | "
               "checked/floor | refresh s | "
               "two words ms | prefix ms | phrase ms | text MB | index MB | peak MB | peak allowed MB | "
               "working set MB | check s | check/floor |\n");
        printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    }
    std::string temp1251 = BenchTempFolder();
    std::string root = temp1251 + (collection ? "факты-собрание-" : "факты-поиск-") + std::to_string(facts);
    Seed = 12345;
    if (collection)
        MakeCollectionBase(root, facts);
    else
        MakeBenchBase(root, facts / 1000, BenchText);
    std::wstring wideRoot = WideFrom1251(root.c_str());
    std::vector<char> buffer(1 << 16);
    size_t textBytes = 0;
    double floor = Median(runs, [&] { textBytes = Walk(wideRoot, true, &buffer); });

    // Memory first, on a heap that holds nothing else yet: the index built
    // afresh, then refreshed the way the search service does it while
    // queries go on, a new index built beside the one in use from what that
    // one knows; the peak counts both.
    FactIndex index;
    size_t before = HeapNow;
    HeapPeak = HeapNow;
    RefreshFactIndex(&index, root);
    size_t settled = HeapNow - before;
    {
        QueriesMeanwhile meanwhile = { &index, ParseQuery("каменный мост"), 0 };
        std::vector<KnownFact> known = KnowFacts(index);
        FactIndex work;
        BuildFactIndex(&work, root, known, QueryMeanwhile, &meanwhile);
        known.clear();
        index = std::move(work);
    }
    // And a start with a cache: the file read, then checked by the walk.
    std::wstring cacheFile = IndexCacheFile(root);
    bool saved = !cacheFile.empty() && SaveIndexCache(index, cacheFile);
    {
        FactIndex kept = FactIndex();
        index = FactIndex();
        saved = LoadIndexCache(cacheFile, root, &kept) && saved;
            std::vector<KnownFact> known = KnowFacts(kept);
        BuildFactIndex(&index, root, known);
    }
    size_t peak = HeapPeak - before;

    double first = Median(runs, [&] {
        index = FactIndex();
        RefreshFactIndex(&index, root);
    });
    // After a restart the cache answers as soon as it is read; the walk
    // that checks it against the base follows, and its end is timed too.
    SearchQuery twoWords = ParseQuery("каменный мост");
    bool answeredRight = saved;
    std::vector<double> answers;
    double cached = Median(runs, [&] {
        double start = Now();
        FactIndex kept;
        if (!LoadIndexCache(cacheFile, root, &kept) || SearchFactIndex(kept, twoWords).empty()) {
            fprintf(stderr, "the cache was not read\n");
            answeredRight = false;
        }
        answers.push_back(Now() - start);
        index = FactIndex();
        BuildFactIndex(&index, root, KnowFacts(kept));
    });
    std::sort(answers.begin(), answers.end());
    double answered = answers[answers.size() / 2];
    double refresh = Median(runs, [&] { RefreshFactIndex(&index, root); });
    const char* queries[] = { "каменный мост", "пирам", "\"древний город\"" };
    double queryTimes[3];
    for (int q = 0; q < 3; q++) {
        SearchQuery query = ParseQuery(queries[q]);
        size_t found = 0;
        queryTimes[q] = Median(runs, [&] { found = SearchFactIndex(index, query).size(); }) * 1000;
        if (found == 0) {
            fprintf(stderr, "query %d found nothing\n", q);
            answeredRight = false;
        }
    }
    // The base check reads every file of the base whole, as the floor does.
    size_t findings = 0;
    double check = Median(std::min(runs, 3), [&] {
        BaseCheck result;
        CheckBase(root, &result);
        findings = result.findings.size();
    });
    if (findings != 0)
        fprintf(stderr, "the generated base gave %d findings\n", (int)findings);
    PROCESS_MEMORY_COUNTERS counters;
    ZeroMemory(&counters, sizeof counters);
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    size_t allowed = 2 * textBytes + 200 * index.facts.size();
    printf("| %s | %d | %.2f | %.2f | %.2f | %.2f | %.3f | %.2f | %.2f | %.2f | %.1f | %.1f | %.1f | %.1f | %.1f | "
           "%.1f | %.1f | %.1f | %.2f | %.2f |\n",
           shape, (int)index.facts.size(), floor, first, first / floor, answered, answered / floor, cached,
           cached / floor, refresh, queryTimes[0],
           queryTimes[1], queryTimes[2], Megabytes(textBytes), Megabytes(settled), Megabytes(peak),
           Megabytes(allowed), Megabytes(counters.PeakWorkingSetSize), check, check / floor);
    double queryLimit = facts <= 5000 ? 20 : 200;
    // A cache that was not written or read, or a query that found nothing,
    // would make every figure meaningless.
    bool met = answeredRight && first <= 1.25 * floor && answered <= 0.6 * floor &&
               *std::max_element(queryTimes, queryTimes + 3) <= queryLimit && peak <= allowed;
    fflush(stdout);
    if (!met)
        fprintf(stderr, "%s %d: a target was missed\n", shape, facts);
    return met ? 0 : 1;
}
