// Search without a window: case folding, what a query means, and the index
// built, refreshed and searched over a small base on disk.
#include "../search/fact_index.h"
#include "../search/query.h"
#include "../search/text_fold.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(TextFold, EveryCapitalOfTheCodePageFoldsAsWindowsLowersIt)
{
    for (int byte = 1; byte < 256; byte++) {
        wchar_t wide = Wide(std::string(1, (char)byte))[0];
        wchar_t lower = (wchar_t)(UINT_PTR)CharLowerW((LPWSTR)(UINT_PTR)wide);
        std::string expected = Cp1251(std::wstring(1, lower));
        if (expected == "ё")
            expected = "е";
        EXPECT_EQ(std::string(1, (char)FoldByte((unsigned char)byte)), expected) << "byte " << byte;
    }
}

class Search : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = NewTestFolder();
        directive_ = root_ + "\\Раздел\\Тема\\Подтема\\Установка";
        Fact(directive_, "Пирамиды", "Древние ПИРАМИДЫ", "Строились двадцать лет");
        Fact(directive_, "Ёлка", "зелёная", nullptr);
        Fact(directive_, "Gold", "gold", u8"Золото Ґ");
        Fact(directive_, "Длинный", "длинное описание", nullptr);
        WriteBytes(directive_ + "\\Длинный\\Длинный.txt", std::string(120000, 'x'));
        Fact(root_ + "\\Раздел\\Тема\\Подтема\\Реки", "Волга", "река", "Течёт в Каспий");
        // A folder the lists leave out (é is not in Windows-1251): never found.
        std::wstring hidden = Wide(directive_) + L"\\Caf\u00e9";
        CreateDirectoryW(hidden.c_str(), NULL);
        CreateFileW((hidden + L"\\Описание.txt").c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
    }
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
    std::vector<std::string> Found(const std::string& query)
    {
        std::vector<std::string> names;
        for (size_t i : SearchFactIndex(index_, ParseQuery(query)))
            names.push_back(PlaceOfIndexedFact(index_, i).name);
        return names;
    }
    std::string root_, directive_;
    FactIndex index_;
};

typedef std::vector<std::string> Names;

TEST_F(Search, QueriesFindTheFactsThatHoldEveryWord)
{
    RefreshFactIndex(&index_, root_);
    struct Case {
        const char* query;
        Names expected;
    };
    const Case cases[] = {
        { "пирамид", { "Пирамиды" } },           // inside a longer word, any case
        { "ПИРАМИДЫ древние", { "Пирамиды" } },  // every word, name and description
        { "елка", { "Ёлка" } },                  // ё is е, in the name
        { "ЗЕЛЕНАЯ", { "Ёлка" } },               // and in the description
        { "\"двадцать лет\"", { "Пирамиды" } },  // a phrase in the main text
        { "\"лет двадцать\"", {} },
        { "установка -пирамид", { "Gold", "Длинный", "Ёлка" } },  // exclusion; in the browser's order
        { "реки", { "Волга" } },                                  // a category's name
        { "золото ґ", { "Gold" } },                               // a UTF-8 main text, a Ukrainian capital
        { "каспий течет", { "Волга" } },
        { "длинное", { "Длинный" } },  // found by what could be read
        { "xxxx", {} },                // the text too long to show is not read
        { "caf", {} },                 // the folder the lists leave out
        { "", {} },
        { "  -пирамид ", {} },  // nothing wanted, nothing found
    };
    for (const Case& c : cases)
        EXPECT_EQ(Found(c.query), c.expected) << c.query;
    // More terms than a query's bits hold: the wanted word comes after them.
    std::string many;
    for (int i = 0; i < 70; i++)
        many += "-щ ";
    EXPECT_EQ(Found(many + "пирамид"), Names{ "Пирамиды" });
    EXPECT_EQ(Found(many + "пирамид -строились"), Names{});
    EXPECT_EQ(index_.facts.size(), 5u);
    EXPECT_EQ(UnreadableFiles(index_), 1) << "the long one; Ёлка's missing main text is not a failed read";
}

TEST_F(Search, AWordIsFoundInEveryEncodingOtherEditorsSave)
{
    std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF";
    for (wchar_t c : std::wstring(L"Ёжик")) {
        utf16le += (char)(c & 0xFF);
        utf16le += (char)(c >> 8);
        utf16be += (char)(c >> 8);
        utf16be += (char)(c & 0xFF);
    }
    struct Case {
        const char* fact;
        std::string text;
    };
    const Case cases[] = {
        { "Utf8", u8"ёжик" },   { "Utf8Bom", "\xEF\xBB\xBF" + std::string(u8"ЁЖИК") },
        { "Utf16le", utf16le }, { "Utf16be", utf16be },
        { "Cp1251", "ежик" },
    };
    std::string directive = root_ + "\\Раздел\\Тема\\Подтема\\Ежи";
    for (const Case& c : cases) {
        Fact(directive, c.fact, "", nullptr);
        WriteBytes(directive + "\\" + c.fact + "\\" + c.fact + ".txt", c.text);
    }
    RefreshFactIndex(&index_, root_);
    EXPECT_EQ(Found("ежик"), (Names{ "Cp1251", "Utf16be", "Utf16le", "Utf8", "Utf8Bom" }));
}

TEST_F(Search, ARefreshFollowsChangesMadeOutsideAndRereadsOnlyWhatChanged)
{
    RefreshFactIndex(&index_, root_);
    std::string volga = root_ + "\\Раздел\\Тема\\Подтема\\Реки\\Волга\\Описание.txt";
    WriteBytes(volga, "озеро");
    RemoveTree(directive_ + "\\Ёлка");
    Fact(directive_, "Сфинкс", "лев", nullptr);
    // Same size and write time: a refresh trusts the stamp and keeps the old text.
    std::string gold = directive_ + "\\Gold\\Описание.txt";
    HANDLE file = CreateFileW(Wide(gold).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    FILETIME written;
    GetFileTime(file, NULL, NULL, &written);
    CloseHandle(file);
    WriteBytes(gold, "lead");
    file = CreateFileW(Wide(gold).c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
    SetFileTime(file, NULL, NULL, &written);
    CloseHandle(file);

    // A main text another program holds locked while the walk passes.
    std::string volgaText = root_ + "\\Раздел\\Тема\\Подтема\\Реки\\Волга\\Волга.txt";
    HANDLE locked = CreateFileW(Wide(volgaText).c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    RefreshFactIndex(&index_, root_);
    EXPECT_EQ(UnreadableFiles(index_), 2) << "the long one and the locked one";
    EXPECT_EQ(Found("каспий"), Names{});
    CloseHandle(locked);

    RefreshFactIndex(&index_, root_);
    EXPECT_EQ(Found("каспий"), Names{ "Волга" }) << "read again once it could be, its stamp unchanged";
    EXPECT_EQ(Found("озеро"), Names{ "Волга" });
    EXPECT_EQ(Found("река"), Names{});
    EXPECT_EQ(Found("елка"), Names{});
    EXPECT_EQ(Found("лев"), Names{ "Сфинкс" });
    EXPECT_EQ(Found("gold"), Names{ "Gold" }) << "an unchanged stamp is not reread";

    // The program's own change reaches the index at once, without a walk.
    WriteBytes(gold, "silver");
    UpdateIndexedFact(&index_, directive_ + "\\Gold");
    EXPECT_EQ(Found("silver"), Names{ "Gold" });
    Fact(directive_, "Новый", "свежий", nullptr);
    UpdateIndexedFact(&index_, directive_ + "\\Новый");
    EXPECT_EQ(Found("свежий"), Names{ "Новый" });
    RemoveTree(directive_ + "\\Новый");
    UpdateIndexedFact(&index_, directive_ + "\\Новый");
    EXPECT_EQ(Found("свежий"), Names{});
}

}  // namespace

// A move reads no file: what the index found before is found at the new
// place, by the new categories, even where the file itself changed since.
TEST_F(Search, AMovedFolderKeepsItsTextsUnderItsNewPlaceAndAFactRenamedIsReadAgain)
{
    RefreshFactIndex(&index_, root_);
    std::string moved = root_ + "\\Раздел\\Тема\\Подтема\\Египет";
    ASSERT_TRUE(MoveFileW(Wide(directive_).c_str(), Wide(moved).c_str()));
    WriteBytes(moved + "\\Пирамиды\\Описание.txt", "переписано");
    MoveIndexedFolder(&index_, directive_, moved.c_str());
    EXPECT_EQ(Found("египет древние"), Names{ "Пирамиды" });
    EXPECT_EQ(Found("установка"), Names{});
    EXPECT_EQ(Found("переписано"), Names{}) << "nothing was read";
    EXPECT_EQ(Found("\"двадцать лет\" египет"), Names{ "Пирамиды" }) << "the main text after the header";

    ASSERT_TRUE(MoveFileW(Wide(moved + "\\Пирамиды").c_str(), Wide(moved + "\\Сфинкс").c_str()));
    MoveIndexedFolder(&index_, moved + "\\Пирамиды", (moved + "\\Сфинкс").c_str());
    EXPECT_EQ(Found("переписано сфинкс"), Names{ "Сфинкс" }) << "a fact's own new name: read anew";
    MoveIndexedFolder(&index_, moved, NULL);
    EXPECT_EQ(index_.facts.size(), 1u) << "only Волга is left";
}
