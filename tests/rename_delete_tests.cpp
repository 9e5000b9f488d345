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
        for (const char* folder :
             { "\\Раздел", "\\Раздел\\Тема", "\\Раздел\\Тема\\Подтема", "\\Раздел\\Тема\\Подтема\\Установка",
               "\\Раздел\\Тема\\Подтема\\Установка\\Факт", "\\Раздел\\Тема\\Подтема\\Установка\\Другой",
               "\\Раздел\\Тема\\Подтема\\Установка\\Без текста" })
            MakeFolder(root_ + folder);
        WriteBytes(directive_ + "\\Факт\\Описание.txt", "d");
        WriteBytes(directive_ + "\\Факт\\Факт.txt", "main");
    }
    std::string root_, directive_;
};

TEST_F(RenameDelete, RenamesMoveFoldersAndAFactsMainTextAsOne)
{
    ASSERT_EQ(RenameFact(root_.c_str(), directive_.c_str(), "Факт", "Пирамида"), RENAME_DONE);
    EXPECT_EQ(FolderEntries(directive_ + "\\Пирамида"), (std::vector<std::string>{ "Описание.txt", "Пирамида.txt" }));
    EXPECT_FALSE(PathExists(directive_ + "\\Факт"));
    ASSERT_EQ(RenameFact(root_.c_str(), directive_.c_str(), "Без текста", "Пустой"), RENAME_DONE);
    EXPECT_TRUE(FolderEntries(directive_ + "\\Пустой").empty());
    ASSERT_EQ(RenameCategory(root_.c_str(), root_.c_str(), "Раздел", "Глава"), RENAME_DONE);
    EXPECT_TRUE(PathExists(root_ + "\\Глава\\Тема\\Подтема\\Установка\\Пирамида\\Пирамида.txt"));

    // The folder cannot move (a file holds the new name): the main text gets its name back.
    std::string directive = root_ + "\\Глава\\Тема\\Подтема\\Установка";
    WriteBytes(directive + "\\Занято", "a file in the way");
    EXPECT_EQ(RenameFact(root_.c_str(), directive.c_str(), "Пирамида", "Занято"), RENAME_FAILED);
    EXPECT_EQ(FolderEntries(directive + "\\Пирамида"), (std::vector<std::string>{ "Описание.txt", "Пирамида.txt" }));
    EXPECT_EQ(RenameCategory(root_.c_str(), directive.c_str(), "Другой", "Занято"), RENAME_FAILED);
    EXPECT_TRUE(PathExists(directive + "\\Другой"));
}

TEST_F(RenameDelete, DeletingMovesToTheRecycleBinNeverForGood)
{
    EXPECT_EQ(CountFactsBelow((root_ + "\\Раздел").c_str(), 1), 3);
    std::string unique = "Удалить-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    ASSERT_EQ(RenameFact(root_.c_str(), directive_.c_str(), "Факт", unique.c_str()), RENAME_DONE);
    ASSERT_EQ(MoveToRecycleBin(root_.c_str(), (directive_ + "\\" + unique).c_str()), RECYCLED);
    EXPECT_FALSE(PathExists(directive_ + "\\" + unique));
    // Wine's Recycle Bin is the desktop's trash below the Unix home.
    wchar_t home[MAX_PATH];
    if (GetEnvironmentVariableW(L"HOME", home, MAX_PATH)) {
        std::string trash = "Z:" + Cp1251(home) + "\\.local\\share\\Trash\\files\\" + unique;
        for (char& c : trash)
            if (c == '/')
                c = '\\';
        EXPECT_TRUE(PathExists(trash + "\\" + unique + ".txt")) << trash;
        RemoveTree(trash);
    }
    EXPECT_EQ(MoveToRecycleBin(root_.c_str(), (directive_ + "\\нет такого").c_str()), RECYCLE_FAILED);
    EXPECT_EQ(CountFactsBelow((root_ + "\\Раздел").c_str(), 1), 2);
}

// Nothing beside the base root, nor the root itself, is renamed or deleted,
// whatever path a caller composes.
TEST_F(RenameDelete, NothingOutsideTheBaseChanges)
{
    std::string outside = root_ + "\\..\\" + "Рядом-" + std::to_string(GetCurrentProcessId());
    MakeFolder(outside);
    std::string up = root_ + "\\Раздел\\..";
    EXPECT_EQ(RenameCategory(root_.c_str(), (root_ + "\\..").c_str(), outside.substr(outside.rfind('\\') + 1).c_str(),
                             "Взято"),
              RENAME_OUTSIDE);
    EXPECT_EQ(RenameCategory(root_.c_str(), up.c_str(), "Раздел", "Взято"), RENAME_OUTSIDE);
    EXPECT_EQ(RenameCategory(root_.c_str(), root_.c_str(), "Раздел", "..\\Взято"), RENAME_OUTSIDE);
    EXPECT_EQ(RenameFact(root_.c_str(), directive_.c_str(), "Факт", "Точка."), RENAME_OUTSIDE);
    EXPECT_EQ(MoveToRecycleBin(root_.c_str(), outside.c_str()), RECYCLE_OUTSIDE);
    EXPECT_EQ(MoveToRecycleBin(root_.c_str(), root_.c_str()), RECYCLE_OUTSIDE);
    EXPECT_EQ(MoveToRecycleBin(root_.c_str(), up.c_str()), RECYCLE_OUTSIDE);
    EXPECT_TRUE(PathExists(outside));
    EXPECT_TRUE(PathExists(directive_ + "\\Факт\\Факт.txt"));
    EXPECT_EQ(FolderEntries(root_), std::vector<std::string>{ "Раздел" });
    RemoveTree(outside);
}

// Drive N: is a network drive of the test prefix (tools/wine-session.sh):
// the shell would delete there for good, so nothing is even tried.
TEST(RecycleBin, ADriveWithoutOneIsRefusedBeforeTheShellIsAsked)
{
    const char* alias = getenv("FACTS_DRIVE_N_ALIAS");
    ASSERT_TRUE(alias && *alias) << "drive N: is not mapped: tools/wine-run, the test command, maps it";
    ASSERT_EQ(GetDriveTypeW(L"N:\\"), (UINT)DRIVE_REMOTE)
        << "drive N: is not a network drive: tools/wine-session.sh and tools/wine-run register it before Wine starts";
    std::string folder = "N:\\Раздел-" + std::to_string(GetCurrentProcessId());
    MakeFolder(folder);
    MakeFolder(folder + "\\Тема");
    EXPECT_EQ(MoveToRecycleBin("N:\\", folder.c_str()), RECYCLE_NO_BIN);
    EXPECT_TRUE(PathExists(folder + "\\Тема")) << "still there, not deleted for good";
    RemoveTree(folder);
}

}  // namespace
