// The one rule for typed names and the store's guard against paths that
// leave their place.
#include "../store/entry_name.h"
#include "../store/conflict_copy.h"
#include "../store/fact_store.h"
#include "../store/path_slot.h"
#include "../maintenance/rename_delete.h"
#include "../move/entry_move.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(NameRule, EveryRuleAndItsBoundaries)
{
    struct Case {
        std::string name;
        NameRule expected;
    };
    const Case cases[] = {
        { "", NAME_EMPTY },
        { "   ", NAME_EMPTY },
        { " Пробел впереди", NAME_OK },
        { ".", NAME_DOTS },
        { "..", NAME_DOTS },
        { "...", NAME_TRAILING },
        { ".скрытая", NAME_OK },
        { "a\\b", NAME_BAD_CHARACTERS },
        { "..\\Побег", NAME_BAD_CHARACTERS },
        { "a/b", NAME_BAD_CHARACTERS },
        { "a:b", NAME_BAD_CHARACTERS },
        { "a*", NAME_BAD_CHARACTERS },
        { "a?", NAME_BAD_CHARACTERS },
        { "\"a\"", NAME_BAD_CHARACTERS },
        { "<a>", NAME_BAD_CHARACTERS },
        { "a|b", NAME_BAD_CHARACTERS },
        { "tab\there", NAME_BAD_CHARACTERS },
        { "\x1F", NAME_BAD_CHARACTERS },
        { "a\x7F", NAME_BAD_CHARACTERS },
        { "a\x98", NAME_NOT_1251 },
        { "Точка.", NAME_TRAILING },
        { "Пробел ", NAME_TRAILING },
        { "Точка.txt", NAME_OK },
        { "CON", NAME_RESERVED },
        { "con", NAME_RESERVED },
        { "Prn", NAME_RESERVED },
        { "aux", NAME_RESERVED },
        { "nul.txt", NAME_RESERVED },
        { "NUL .txt", NAME_RESERVED },
        { "con.a.b", NAME_RESERVED },
        { "COM1", NAME_RESERVED },
        { "com9", NAME_RESERVED },
        { "LPT1", NAME_RESERVED },
        { "lpt9.doc", NAME_RESERVED },
        { "COM0", NAME_OK },
        { "COM10", NAME_OK },
        { "CONSOLE", NAME_OK },
        { "NULL", NAME_OK },
        { "Контакт", NAME_OK },
        { "ёЁ №1 «Ъ» — ok", NAME_OK },
        { std::string(255, 'x'), NAME_OK },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckNameText(c.name.c_str()), c.expected) << c.name;
}

TEST(NameRule, TakenAndTooLongAreJudgedAgainstTheFolder)
{
    std::string parent = NewTestFolder();
    MakeFolder(parent + "\\Факт");
    MakeFolder(parent + "\\Факт\\Вложенная");
    WriteBytes(parent + "\\Факт\\Факт.txt", "main");
    WriteBytes(parent + "\\Файл", "a file stands in the way too");
    const char* p = parent.c_str();
    EXPECT_EQ(CheckEntryName(p, "ФАКТ", ENTRY_FACT), NAME_TAKEN) << "case-blind, Cyrillic too";
    EXPECT_EQ(CheckEntryName(p, "файл", ENTRY_CATEGORY), NAME_TAKEN);
    EXPECT_EQ(CheckEntryName(p, "ФАКТ", ENTRY_FACT, "Факт"), NAME_OK) << "a rename that changes only the case";
    EXPECT_EQ(CheckEntryName(p, "Файл", ENTRY_FACT, "Факт"), NAME_TAKEN);
    EXPECT_EQ(CheckEntryName(p, "con", ENTRY_FACT), NAME_RESERVED) << "the text rules come first";

    // A new category: its own path only. A new fact: its main text file
    // ("\" name ".txt") or "\Описание.txt", whichever is longer.
    size_t room = 255 - parent.size() - 1;
    EXPECT_EQ(CheckEntryName(p, std::string(room, 'c').c_str(), ENTRY_CATEGORY), NAME_OK);
    EXPECT_EQ(CheckEntryName(p, std::string(room + 1, 'c').c_str(), ENTRY_CATEGORY), NAME_TOO_LONG);
    size_t factRoom = (room - 1 - 4) / 2;  // name + "\" + name + ".txt"
    EXPECT_EQ(CheckEntryName(p, std::string(factRoom, 'f').c_str(), ENTRY_FACT), NAME_OK);
    EXPECT_EQ(CheckEntryName(p, std::string(factRoom + 1, 'f').c_str(), ENTRY_FACT), NAME_TOO_LONG);
    // A rename counts the deepest path below the entry.
    size_t below = std::string("\\Вложенная").size();
    EXPECT_EQ(CheckEntryName(p, std::string(room - below, 'r').c_str(), ENTRY_CATEGORY, "Факт"), NAME_OK);
    EXPECT_EQ(CheckEntryName(p, std::string(room - below + 1, 'r').c_str(), ENTRY_CATEGORY, "Факт"), NAME_TOO_LONG);
}

TEST(NameRule, OnlyPlainFoldersBelowTheirPlacePassTheGuard)
{
    struct Case {
        const char* path;
        const char* folder;
        bool plain;
    };
    const Case cases[] = {
        { "C:\\База\\Раздел", "C:\\База", true },
        { "C:\\База\\Р\\Т\\П\\У\\Факт\\Факт.txt", "C:\\База", true },
        { "C:\\База", "C:\\База", false },  // the base root itself
        { "C:\\База\\..", "C:\\База", false },
        { "C:\\База\\..\\База", "C:\\База", false },
        { "C:\\База\\Р\\..\\..\\Вне", "C:\\База", false },
        { "C:\\База\\.\\Р", "C:\\База", false },
        { "C:\\Базар\\Р", "C:\\База", false },   // beside it, not below
        { "C:\\База\\Р\\", "C:\\База", false },  // an empty segment
        { "C:\\База\\\\Р", "C:\\База", false },
        { "C:\\База\\Точка.", "C:\\База", false },
        { "C:\\База\\nul", "C:\\База", false },
        { "C:\\База\\a:b", "C:\\База", false },
        { "T:\\\\Раздел", "T:\\", true },  // a drive's top, as composed paths have it
        { "T:\\Раздел", "T:\\", true },
        { "T:\\", "T:\\", false },
        { "T:\\\\..", "T:\\", false },
        // Another spelling of the same place is refused, never taken for below.
        { "\\\\?\\C:\\База\\Р", "C:\\База", false },
        { "C:\\База\\Р", "\\\\?\\C:\\База", false },
        { "\\\\.\\C:\\База\\Р", "C:\\База", false },
        { "C:\\База\\Р\\\\?\\C:", "C:\\База", false },
        { "C:\\База\\Р::$DATA", "C:\\База", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathPlainBelow(c.path, c.folder), c.plain) << c.path << " below " << c.folder;
}


// ---------------------------------------------------------------- short names and the race

// The 8.3 name the file system gives path's last segment, in Windows-1251.
std::string ShortNameOf(const std::string& path)
{
    wchar_t shortPath[MAX_PATH];
    DWORD length = GetShortPathNameW(Wide(path).c_str(), shortPath, MAX_PATH);
    EXPECT_TRUE(length > 0 && length < MAX_PATH) << path;
    std::wstring full(shortPath, length > 0 && length < MAX_PATH ? length : 0);
    return Cp1251(full.substr(full.find_last_of(L'\\') + 1));
}

// A Directive holding a fact whose long name has a distinct short one, and a
// second Directive beside it for moves.
class ShortNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = NewTestFolder();
        std::string path = root_;
        for (const char* level : { "\\Р", "\\Т", "\\П" })
            MakeFolder(path += level);
        directive_ = path + "\\Д";
        other_ = path + "\\Другая";
        MakeFolder(directive_);
        MakeFolder(other_);
        fact_ = directive_ + "\\Longname fact one";
        MakeFolder(fact_);
        WriteBytes(fact_ + "\\Описание.txt", "чужое описание");
        WriteBytes(fact_ + "\\Longname fact one.txt", "чужой текст");
        short_ = ShortNameOf(fact_);
        ASSERT_FALSE(short_.empty());
        ASSERT_NE(short_, "Longname fact one") << "this drive gives no short names: the test needs one that does";
        MakeFolder(directive_ + "\\Другой");
    }
    // The fact that must come through every refusal as it was.
    void ExpectFactIntact()
    {
        EXPECT_EQ(FolderEntries(fact_), (std::vector<std::string>{ "Longname fact one.txt", "Описание.txt" }));
        std::string bytes;
        EXPECT_TRUE(ReadBytes(fact_ + "\\Описание.txt", &bytes));
        EXPECT_EQ(bytes, "чужое описание");
        EXPECT_EQ(FolderEntries(directive_), (std::vector<std::string>{ "Longname fact one", "Другой" }));
    }
    std::string root_, directive_, other_, fact_, short_;
};

TEST_F(ShortNames, ANameThatIsAnotherEntrysShortNameIsTakenEverywhere)
{
    std::string lower = short_;
    for (char& c : lower)
        c = (char)tolower((unsigned char)c);
    const char* d = directive_.c_str();
    for (const std::string& name : { short_, lower }) {
        SCOPED_TRACE(name);
        EXPECT_EQ(CheckEntryName(d, name.c_str(), ENTRY_FACT), NAME_TAKEN);
        EXPECT_EQ(CheckEntryName(d, name.c_str(), ENTRY_CATEGORY), NAME_TAKEN);
        EXPECT_EQ(CheckEntryName(d, name.c_str(), ENTRY_FACT, "Другой"), NAME_TAKEN) << "a rename of another entry";
        char folder[SLOT_SIZE];
        EXPECT_EQ(CreateFactFolder(d, name.c_str(), folder), FOLDER_EXISTS);
        EXPECT_EQ(CreateCategoryFolder(root_.c_str(), d, name.c_str()), FOLDER_EXISTS);
        // Rename and move with the check behind them: the file system's own refusal holds.
        EXPECT_EQ(RenameFact(root_.c_str(), d, "Другой", name.c_str()), RENAME_FAILED);
        EXPECT_EQ(RenameCategory(root_.c_str(), d, "Другой", name.c_str()), RENAME_FAILED);
        EXPECT_TRUE(PathExists(directive_ + "\\Другой"));
    }
    // An entry keeps its own name in another case, or its own short name.
    EXPECT_EQ(CheckEntryName(d, "LONGNAME FACT ONE", ENTRY_FACT, "Longname fact one"), NAME_OK);
    EXPECT_EQ(CheckEntryName(d, short_.c_str(), ENTRY_FACT, "Longname fact one"), NAME_OK);
    EXPECT_EQ(CheckEntryName(d, "Новый", ENTRY_FACT), NAME_OK);

    // A fact whose name is that short name cannot move in beside the long one.
    std::string mover = other_ + "\\" + short_;
    MakeFolder(mover);
    WriteBytes(mover + "\\Описание.txt", "переезжает");
    EXPECT_EQ(CheckMovedEntry(mover.c_str(), d, ENTRY_FACT), NAME_TAKEN);
    std::string moved;
    EXPECT_EQ(MoveEntry(root_.c_str(), mover.c_str(), d, &moved), MOVE_TAKEN);
    EXPECT_TRUE(PathExists(mover + "\\Описание.txt"));
    ExpectFactIntact();
}

// Two instances: the check passed, then the other made the same name before
// this one did. Creating is the test that counts: taken, nothing written.
TEST_F(ShortNames, AFolderMadeElsewhereAfterTheCheckIsTakenAndLeftAlone)
{
    const char* d = directive_.c_str();
    ASSERT_EQ(CheckEntryName(d, "Гонка", ENTRY_FACT), NAME_OK);
    ASSERT_EQ(CheckEntryName(d, "Гонка", ENTRY_CATEGORY), NAME_OK);
    MakeFolder(directive_ + "\\Гонка");
    WriteBytes(directive_ + "\\Гонка\\Описание.txt", "другой экземпляр");
    char folder[SLOT_SIZE];
    EXPECT_EQ(CreateFactFolder(d, "Гонка", folder), FOLDER_EXISTS);
    EXPECT_EQ(CreateFactFolder(d, "гонка", folder), FOLDER_EXISTS);
    EXPECT_EQ(CreateCategoryFolder(root_.c_str(), d, "Гонка"), FOLDER_EXISTS);
    // An empty folder left there is no more ours than a full one.
    MakeFolder(directive_ + "\\Пустая");
    EXPECT_EQ(CreateFactFolder(d, "Пустая", folder), FOLDER_EXISTS);
    EXPECT_EQ(FolderEntries(directive_ + "\\Гонка"), std::vector<std::string>{ "Описание.txt" });
    std::string bytes;
    ReadBytes(directive_ + "\\Гонка\\Описание.txt", &bytes);
    EXPECT_EQ(bytes, "другой экземпляр");

    // A rename that lost the race neither replaces the folder nor, for a
    // fact, its main text file inside it.
    WriteBytes(directive_ + "\\Другой\\Другой.txt", "мой текст");
    WriteBytes(directive_ + "\\Другой\\Гонка.txt", "уже был");
    EXPECT_EQ(RenameFact(root_.c_str(), d, "Другой", "Гонка"), RENAME_FAILED);
    EXPECT_EQ(RenameCategory(root_.c_str(), d, "Другой", "Гонка"), RENAME_FAILED);
    EXPECT_EQ(FolderEntries(directive_ + "\\Другой"), (std::vector<std::string>{ "Гонка.txt", "Другой.txt" }));
    ReadBytes(directive_ + "\\Другой\\Гонка.txt", &bytes);
    EXPECT_EQ(bytes, "уже был");
    EXPECT_EQ(FolderEntries(directive_ + "\\Гонка"), std::vector<std::string>{ "Описание.txt" });
}

TEST(EntryIdentity, OneEntryWhateverItsSpelling)
{
    std::string folder = NewTestFolder();
    MakeFolder(folder + "\\Longname folder two");
    MakeFolder(folder + "\\Другая");
    std::wstring wide = Wide(folder + "\\Longname folder two");
    EntryIdentity identity = IdentityOf(wide);
    ASSERT_TRUE(identity.known);
    const std::wstring spellings[] = {
        L"\\\\?\\" + wide,
        Wide(folder + "\\" + ShortNameOf(folder + "\\Longname folder two")),
        Wide(folder + "\\Другая\\..\\LONGNAME FOLDER TWO"),
    };
    for (const std::wstring& spelling : spellings)
        EXPECT_TRUE(SameEntry(IdentityOf(spelling), identity)) << Cp1251(spelling);
    EXPECT_FALSE(SameEntry(IdentityOf(Wide(folder + "\\Другая")), identity));
    EXPECT_FALSE(SameEntry(IdentityOf(Wide(folder + "\\нет")), IdentityOf(Wide(folder + "\\нет"))))
        << "nothing is no entry";
}

}  // namespace

// Every pattern the sync tools use is found once, and an ordinary name never.
TEST(ConflictCopies, EachToolsPatternIsACopyAndOrdinaryNamesAreNot)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* original;
        bool copy;
    };
    const Case cases[] = {
        { L"Хеопс (конфликтующая копия Петя 2026-12-01).txt", L"Хеопс.txt", true },
        { L"Хеопс (conflicted copy 2026-12-01).txt", L"Хеопс.txt", true },
        { L"Хеопс (conflicted copy 2026-12-01 101010).txt", L"Хеопс.txt", true },
        { L"Хеопс (Петя's Conflicted Copy 2026-12-01).TXT", L"Хеопс.txt", true },
        { L"Описание.sync-conflict-20261201-101010-ABCDEFG.txt", L"Описание.txt", true },
        { L"Хеопс-DESKTOP-7QK2M.txt", L"Хеопс.txt", true },
        { L"Хеопс.txt", L"Хеопс.txt", false },
        { L"Хеопс (копия).txt", L"Хеопс.txt", false },
        { L"Хеопс-2.txt", L"Хеопс.txt", false },
        { L"Хеопс-Pro.txt", L"Хеопс.txt", false },
        { L"Хеопс 2 (conflicted copy 2026-12-01).txt", L"Хеопс.txt", false },
        { L"Хеопс (conflicted copy 2026-12-01).doc", L"Хеопс.txt", false },
        { L"Описание.sync-conflict-2026-ABCDEFG.txt", L"Описание.txt", false },
        { L"Описание (conflicted copy 2026-12-01).txt", L"Хеопс.txt", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsConflictCopyOf(c.name, c.original), c.copy) << Cp1251(c.name);
}
