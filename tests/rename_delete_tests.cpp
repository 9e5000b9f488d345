// Renaming and deleting entries of a base, on disk.
#include "../maintenance/rename_delete.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class RenameDelete : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = NewTestFolder();
        directive_ = root_ + "\\Раздел\\Тема\\Подтема\\Установка";
        for (const char* folder : { "\\Раздел", "\\Раздел\\Тема", "\\Раздел\\Тема\\Подтема", "\\Раздел\\Тема\\Подтема\\Установка",
                                    "\\Раздел\\Тема\\Подтема\\Установка\\Факт", "\\Раздел\\Тема\\Подтема\\Установка\\Другой",
                                    "\\Раздел\\Тема\\Подтема\\Установка\\Без текста" })
            MakeFolder(root_ + folder);
        WriteBytes(directive_ + "\\Факт\\Описание.txt", "d");
        WriteBytes(directive_ + "\\Факт\\Факт.txt", "main");
    }
    std::string root_, directive_;
};

TEST_F(RenameDelete, RefusedNamesAreToldApart)
{
    struct Case { const char* name; NameCheck expected; };
    const std::string longName(240, 'x');
    const Case cases[] = {
        { "", NAME_EMPTY }, { "Факт", NAME_UNCHANGED }, { "Другой", NAME_TAKEN }, { "ДРУГОЙ", NAME_TAKEN },
        { "а/б", NAME_BAD_CHARACTERS }, { "а:б", NAME_BAD_CHARACTERS }, { "a?", NAME_BAD_CHARACTERS },
        { "tab\there", NAME_BAD_CHARACTERS }, { "хвост ", NAME_TRAILING }, { "точка.", NAME_TRAILING },
        { longName.c_str(), NAME_TOO_LONG }, { "ФАКТ", NAME_OK }, { "Новое имя", NAME_OK },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckNewName(directive_.c_str(), "Факт", c.name, true), c.expected) << c.name;
    // A category's name counts every path below it, the deepest file included.
    std::string fits(255 - (root_.size() + 1) - std::string("\\Тема\\Подтема\\Установка\\Факт\\Описание.txt").size(), 'y');
    EXPECT_EQ(CheckNewName(root_.c_str(), "Раздел", fits.c_str(), false), NAME_OK);
    EXPECT_EQ(CheckNewName(root_.c_str(), "Раздел", (fits + "y").c_str(), false), NAME_TOO_LONG);
}

TEST_F(RenameDelete, RenamesMoveFoldersAndAFactsMainTextAsOne)
{
    ASSERT_EQ(RenameFact(directive_.c_str(), "Факт", "Пирамида"), RENAME_DONE);
    EXPECT_EQ(FolderEntries(directive_ + "\\Пирамида"), (std::vector<std::string>{ "Описание.txt", "Пирамида.txt" }));
    EXPECT_FALSE(PathExists(directive_ + "\\Факт"));
    ASSERT_EQ(RenameFact(directive_.c_str(), "Без текста", "Пустой"), RENAME_DONE);
    EXPECT_TRUE(FolderEntries(directive_ + "\\Пустой").empty());
    ASSERT_EQ(RenameCategory(root_.c_str(), "Раздел", "Глава"), RENAME_DONE);
    EXPECT_TRUE(PathExists(root_ + "\\Глава\\Тема\\Подтема\\Установка\\Пирамида\\Пирамида.txt"));

    // The folder cannot move (a file holds the new name): the main text gets its name back.
    std::string directive = root_ + "\\Глава\\Тема\\Подтема\\Установка";
    WriteBytes(directive + "\\Занято", "a file in the way");
    EXPECT_EQ(RenameFact(directive.c_str(), "Пирамида", "Занято"), RENAME_FAILED);
    EXPECT_EQ(FolderEntries(directive + "\\Пирамида"), (std::vector<std::string>{ "Описание.txt", "Пирамида.txt" }));
    EXPECT_EQ(RenameCategory(directive.c_str(), "Другой", "Занято"), RENAME_FAILED);
    EXPECT_TRUE(PathExists(directive + "\\Другой"));
}

TEST_F(RenameDelete, DeletingMovesToTheRecycleBinNeverForGood)
{
    EXPECT_EQ(CountFactsBelow((root_ + "\\Раздел").c_str(), 1), 3);
    std::string unique = "Удалить-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    ASSERT_EQ(RenameFact(directive_.c_str(), "Факт", unique.c_str()), RENAME_DONE);
    ASSERT_EQ(MoveToRecycleBin((directive_ + "\\" + unique).c_str()), RECYCLED);
    EXPECT_FALSE(PathExists(directive_ + "\\" + unique));
    // Wine's Recycle Bin is the desktop's trash below the Unix home.
    wchar_t home[MAX_PATH];
    if (GetEnvironmentVariableW(L"HOME", home, MAX_PATH)) {
        std::string trash = "Z:" + Cp1251(home) + "\\.local\\share\\Trash\\files\\" + unique;
        for (char& c : trash) if (c == '/') c = '\\';
        EXPECT_TRUE(PathExists(trash + "\\" + unique + ".txt")) << trash;
        RemoveTree(trash);
    }
    EXPECT_EQ(MoveToRecycleBin((directive_ + "\\нет такого").c_str()), RECYCLE_REFUSED);
    EXPECT_EQ(MoveToRecycleBin("\\\\server\\share\\Раздел"), RECYCLE_REFUSED);
    EXPECT_EQ(CountFactsBelow((root_ + "\\Раздел").c_str(), 1), 2);
}

} // namespace
