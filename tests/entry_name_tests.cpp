// The one rule for typed names and the store's guard against paths that
// leave their place.
#include "../store/entry_name.h"
#include "../store/conflict_copy.h"
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
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathPlainBelow(c.path, c.folder), c.plain) << c.path << " below " << c.folder;
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
