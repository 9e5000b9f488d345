// The search index kept between runs: written and read back whole, checked
// against the base at start, and ignored (never trusted) when it is not
// this base's, not this version's or not whole.
#include "../search/index_cache.h"
#include "../search/fact_index.h"
#include "../search/search_service.h"
#include "../store/base_changes.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

typedef std::vector<std::string> Names;

class IndexCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = NewTestFolder() + "\\база";
        appData_ = NewTestFolder() + "\\Local";
        MakeFolder(appData_);
        MakeFolder(root_);
        SetEnvironmentVariableW(L"LOCALAPPDATA", Wide(appData_).c_str());
        SetEnvironmentVariableW(L"FACTS_INDEX_CACHE", NULL);
        directive_ = root_ + "\\Раздел\\Тема\\Подтема\\Установка";
        Fact(directive_, "Пирамиды", "Древние пирамиды", "Строились двадцать лет");
        Fact(directive_, "Ёлка", "зелёная", nullptr);
        Fact(root_ + "\\Раздел\\Тема\\Подтема\\Реки", "Волга", "река", "Течёт в Каспий");
        Fact(root_ + "\\Другой раздел\\Тема\\Подтема\\Установка", "Сфинкс", "лев", "Гиза");
    }
    void TearDown() override { SetEnvironmentVariableW(L"FACTS_INDEX_CACHE", L"off"); }
    void Fact(const std::string& directive, const std::string& name, const char* description, const char* text)
    {
        std::string folder = directive + "\\" + name;
        for (size_t at = root_.size() + 1; at <= folder.size(); at++)
            if (at == folder.size() || folder[at] == '\\')
                CreateDirectoryW(Wide(folder.substr(0, at)).c_str(), NULL);
        WriteBytes(folder + "\\Описание.txt", description);
        if (text)
            WriteBytes(folder + "\\" + name + ".txt", text);
    }
    static Names Found(const FactIndex& index, const char* query)
    {
        Names names;
        for (size_t i : SearchFactIndex(index, ParseQuery(query)))
            names.push_back(PlaceOfIndexedFact(index, i).name);
        return names;
    }
    // What the program finds in an index, from the categories down.
    static void ExpectSameAnswers(const FactIndex& index, const FactIndex& expected)
    {
        const char* queries[] = { "пирамид",      "\"двадцать лет\"", "елка",   "раздел -другой", "реки каспий",
                                  "другой гиза", "установка",       "течет",  "лев -гиза",       "тема подтема" };
        for (const char* query : queries)
            EXPECT_EQ(Found(index, query), Found(expected, query)) << query;
        ASSERT_EQ(index.facts.size(), expected.facts.size());
        for (size_t i = 0; i < index.facts.size(); i++) {
            FactPlace a = PlaceOfIndexedFact(index, i), b = PlaceOfIndexedFact(expected, i);
            EXPECT_EQ(a.name, b.name);
            for (int level = 0; level < CATEGORY_LEVELS; level++)
                EXPECT_EQ(a.categories[level], b.categories[level]);
            EXPECT_EQ(index.facts[i].stamps, expected.facts[i].stamps);
        }
    }
    std::string CacheBytes()
    {
        std::string bytes;
        ReadBytes(Cp1251(IndexCacheFile(root_)), &bytes);
        return bytes;
    }
    std::string root_, appData_, directive_;
};

TEST_F(IndexCache, ARoundTripAnswersEveryQueryAsTheIndexItWasMadeFrom)
{
    FactIndex built, loaded;
    RefreshFactIndex(&built, root_);
    std::wstring file = IndexCacheFile(root_);
    ASSERT_FALSE(file.empty());
    ASSERT_TRUE(SaveIndexCache(built, file));
    ASSERT_TRUE(LoadIndexCache(file, root_, &loaded));
    ExpectSameAnswers(loaded, built);
    EXPECT_EQ(Found(loaded, "другой гиза"), Names{ "Сфинкс" }) << "a Section's name, then the main text";
    EXPECT_EQ(FolderEntries(Cp1251(file.substr(0, file.rfind(L'\\')))).size(), 1u) << "no temporary file left";
}

TEST_F(IndexCache, AtStartOnlyTheFactsChangedSinceAreRead)
{
    FactIndex last;
    RefreshFactIndex(&last, root_);
    ASSERT_TRUE(SaveIndexCache(last, IndexCacheFile(root_)));
    // Meanwhile, elsewhere: one fact changed, one added, one removed.
    WriteBytes(root_ + "\\Раздел\\Тема\\Подтема\\Реки\\Волга\\Описание.txt", "большая река");
    Fact(directive_, "Колизей", "арена", "Рим");
    RemoveTree(directive_ + "\\Ёлка");

    FactIndex cached, started, walked;
    ASSERT_TRUE(LoadIndexCache(IndexCacheFile(root_), root_, &cached));
    EXPECT_EQ(BuildFactIndex(&started, root_, KnowFacts(cached)), 2u) << "the changed and the added fact";
    RefreshFactIndex(&walked, root_);
    ExpectSameAnswers(started, walked);
    EXPECT_EQ(Found(started, "большая"), Names{ "Волга" });
    EXPECT_EQ(Found(started, "арена рим"), Names{ "Колизей" });
    EXPECT_EQ(Found(started, "елка"), Names{});
}

TEST_F(IndexCache, ACacheNotWhollyThisBasesIsIgnored)
{
    FactIndex built;
    RefreshFactIndex(&built, root_);
    std::wstring file = IndexCacheFile(root_);
    ASSERT_TRUE(SaveIndexCache(built, file));
    std::string whole = CacheBytes();
    ASSERT_GT(whole.size(), 100u);

    // Another version, its checksum made right so that only the version differs.
    std::string otherVersion = whole;
    otherVersion[8] = (char)(otherVersion[8] + 1);
    unsigned long long checksum = 14695981039346656037ull;
    for (size_t i = 0; i + 8 < otherVersion.size(); i++) {
        checksum ^= (unsigned char)otherVersion[i];
        checksum *= 1099511628211ull;
    }
    memcpy(&otherVersion[otherVersion.size() - 8], &checksum, 8);
    std::string flipped = whole;
    flipped[whole.size() / 2] ^= 0x20;
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        { "another version", otherVersion },
        { "cut short", whole.substr(0, whole.size() - 3) },
        { "cut to its header", whole.substr(0, 16) },
        { "a flipped byte", flipped },
        { "empty", std::string() },
    };
    for (const Case& c : cases) {
        WriteBytes(Cp1251(file), c.bytes);
        FactIndex loaded;
        loaded.facts.resize(1);  // whatever it held before is not kept
        EXPECT_FALSE(LoadIndexCache(file, root_, &loaded)) << c.what;
        EXPECT_TRUE(loaded.facts.empty() && loaded.categories.empty()) << c.what;
    }
    WriteBytes(Cp1251(file), whole);
    FactIndex loaded;
    EXPECT_FALSE(LoadIndexCache(file, root_ + "2", &loaded)) << "another base root";
    EXPECT_TRUE(LoadIndexCache(file, root_, &loaded)) << "the same bytes, this root";
    EXPECT_NE(IndexCacheFile(root_), IndexCacheFile(directive_)) << "one file per root";
}

TEST_F(IndexCache, TheCacheIsNeverKeptInsideTheBaseAndCanBeTurnedOff)
{
    std::wstring file = IndexCacheFile(root_);
    EXPECT_EQ(file.compare(0, Wide(appData_).size(), Wide(appData_)), 0);
    SetEnvironmentVariableW(L"FACTS_INDEX_CACHE", L"off");
    EXPECT_TRUE(IndexCacheFile(root_).empty());
    SetEnvironmentVariableW(L"FACTS_INDEX_CACHE", NULL);
    // A base whose root holds the local application data folder itself.
    std::string inside = root_ + "\\Раздел";
    SetEnvironmentVariableW(L"LOCALAPPDATA", Wide(inside + "\\Тема").c_str());
    EXPECT_TRUE(IndexCacheFile(root_).empty());
    EXPECT_TRUE(IndexCacheFile(inside).empty());
    // The root as another spelling of the same folder gives: other case, a
    // trailing separator.
    std::wstring upper = Wide(root_);
    CharUpperBuffW(&upper[0], (DWORD)upper.size());
    EXPECT_TRUE(IndexCacheFile(Cp1251(upper)).empty()) << Cp1251(upper);
    EXPECT_TRUE(IndexCacheFile(root_ + "\\").empty());
    EXPECT_FALSE(IndexCacheFile(root_ + "\\Раз").empty()) << "a root that only begins the same";
}

// The program after a restart: what the cache holds answers while the walk
// that checks it is still under way, and the walk leaves the cache current.
HANDLE WalkReached, WalkResume;

// Every walk of the service stops after each Directive until WalkResume is
// set; let sets it at once, so that only a walk begun after a reset stops.
void HoldWalksAtEachDirective(bool let)
{
    WalkReached = CreateEventW(NULL, TRUE, FALSE, NULL);
    WalkResume = CreateEventW(NULL, TRUE, let ? TRUE : FALSE, NULL);
    SearchWalkStep = [] {
        SetEvent(WalkReached);
        WaitForSingleObject(WalkResume, 10000);
    };
}

TEST_F(IndexCache, AfterARestartTheCacheAnswersBeforeTheWalkEndsAndTheWalkKeepsItCurrent)
{
    FactIndex last;
    RefreshFactIndex(&last, root_);
    ASSERT_TRUE(SaveIndexCache(last, IndexCacheFile(root_)));
    Fact(directive_, "Колизей", "арена", "Рим");
    HoldWalksAtEachDirective(false);
    RefreshSearchIndex(root_.c_str());
    ASSERT_EQ(WaitForSingleObject(WalkReached, 10000), WAIT_OBJECT_0);
    // Held after its first Directive, in "Другой раздел": "Раздел" is not reached yet.
    SearchAnswer early = QuerySearchIndex(ParseQuery("пирамид"));
    EXPECT_FALSE(early.complete);
    EXPECT_EQ(early.found.size(), 1u) << "found in the cache";
    SetEvent(WalkResume);
    for (int i = 0; i < 1000 && SearchIndexBusy(); i++)
        Sleep(10);
    SearchWalkStep = NULL;
    CloseHandle(WalkReached);
    CloseHandle(WalkResume);
    ASSERT_FALSE(SearchIndexBusy());
    EXPECT_EQ(QuerySearchIndex(ParseQuery("арена")).found.size(), 1u);

    // The new fact was read, so the cache was written again, after the answer.
    FactIndex cached;
    for (int i = 0; i < 500 && !(LoadIndexCache(IndexCacheFile(root_), root_, &cached) && cached.facts.size() == 5);
         i++)
        Sleep(10);
    EXPECT_EQ(cached.facts.size(), 5u);
    EXPECT_EQ(Found(cached, "арена"), Names{ "Колизей" });
}

}  // namespace

namespace {

// A category the program moves while a walk runs may leave the walk with
// its facts under the old place only, or under both: the walk's result is
// not taken then, and the index in use, which followed the move, is kept.
class OwnMovesDuringAWalk : public IndexCache {
protected:
    void HoldTheNextWalk()
    {
        ResetEvent(WalkReached);
        ResetEvent(WalkResume);
        RefreshSearchIndex(root_.c_str());
        ASSERT_EQ(WaitForSingleObject(WalkReached, 10000), WAIT_OBJECT_0);
    }
    void Move(const std::string& from, const std::string& to)
    {
        ASSERT_TRUE(MoveFileW(Wide(root_ + from).c_str(), Wide(root_ + to).c_str()));
        AnnounceFolderMoved((root_ + from).c_str(), (root_ + to).c_str());
    }
    static std::vector<FactPlace> AfterTheWalk(const char* query)
    {
        SetEvent(WalkResume);
        for (int i = 0; i < 1000 && SearchIndexBusy(); i++)
            Sleep(10);
        return QuerySearchIndex(ParseQuery(query)).found;
    }
};

TEST_F(OwnMovesDuringAWalk, FactsAreNeitherLostNorDoubled)
{
    HoldWalksAtEachDirective(true);
    RefreshSearchIndex(root_.c_str());
    for (int i = 0; i < 1000 && SearchIndexBusy(); i++)
        Sleep(10);

    // Held in "Другой раздел": "Раздел", listed but not reached, is renamed.
    HoldTheNextWalk();
    Move("\\Раздел", "\\Юг");
    std::vector<FactPlace> found = AfterTheWalk("пирамид");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].categories[0], "Юг");

    // A Topic the walk has passed moves into the Section it has yet to reach.
    HoldTheNextWalk();
    Move("\\Другой раздел\\Тема", "\\Юг\\Тема 2");
    found = AfterTheWalk("гиза");
    ASSERT_EQ(found.size(), 1u) << "once, not at both places";
    EXPECT_EQ(found[0].categories[0], "Юг");
    EXPECT_EQ(found[0].categories[1], "Тема 2");
    EXPECT_EQ(QuerySearchIndex(ParseQuery("тема")).found.size(), 4u);

    SearchWalkStep = NULL;
    CloseHandle(WalkReached);
    CloseHandle(WalkResume);
}

}  // namespace
