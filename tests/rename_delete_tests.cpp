// Renaming and deleting entries of a base, on disk.
#include "../maintenance/rename_delete.h"
#include "../store/base_changes.h"
#include "../store/text_file.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <thread>

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

// Another program's handle that shares no delete (a listing holds a folder
// so, a scanner a file), until released or for at most ms.
struct HeldOpen {
    HeldOpen(const std::string& path, DWORD ms)
    {
        handle = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, NULL);
        release = CreateEventW(NULL, TRUE, FALSE, NULL);
        holder = std::thread([this, ms] {
            WaitForSingleObject(release, ms);
            CloseHandle(handle);
        });
    }
    ~HeldOpen()
    {
        SetEvent(release);
        holder.join();
        CloseHandle(release);
    }
    HANDLE handle;
    HANDLE release;
    std::thread holder;
};

void HeardKind(const BaseChange& change, void* context)
{
    ((std::vector<std::string>*)context)->push_back(std::to_string(change.kind) + " " + change.folder);
}

// A moment's use by another program is waited out; a use that lasts is
// refused after about a second, with nothing changed. Before touching the
// disk each one says on the change channel what it is about to change, and
// after that it is over.
TEST_F(RenameDelete, AnEntryInUseForAMomentIsTriedAgainAndOneHeldOnIsRefused)
{
    struct Case {
        const char* what;
        std::string held;  // below the Directive
        std::function<bool(const std::string& root, const std::string& directive)> change;
        std::string arrives, stays;  // below the Directive: there after a change, and after a refusal
        bool announced;
    };
    const Case cases[] = {
        { "a category renamed", "Другой",
          [](const std::string& root, const std::string& directive) {
              return RenameCategory(root.c_str(), directive.c_str(), "Другой", "Иной") == RENAME_DONE;
          },
          "Иной", "Другой", true },
        { "a fact renamed", "Факт",
          [](const std::string& root, const std::string& directive) {
              return RenameFact(root.c_str(), directive.c_str(), "Факт", "Пирамида") == RENAME_DONE;
          },
          "Пирамида\\Пирамида.txt", "Факт\\Факт.txt", true },
        { "a fact's text replaced", "Факт\\Факт.txt",
          [](const std::string&, const std::string& directive) {
              return ReplaceTextFile((directive + "\\Факт\\Факт.txt").c_str(), "новый текст", NULL, NULL) ==
                     WRITE_DONE;
          },
          "Факт\\Факт.txt", "Факт\\Факт.txt", false },
    };
    for (const Case& c : cases) {
        for (bool heldOn : { false, true }) {
            SCOPED_TRACE(std::string(c.what) + (heldOn ? ", held on" : ", for a moment"));
            RemoveTree(root_);
            SetUp();
            std::vector<std::string> heard;
            ListenToBaseChanges(HeardKind, &heard);
            bool done;
            DWORD took;
            {
                HeldOpen other(directive_ + "\\" + c.held, heldOn ? 10000 : 200);
                ASSERT_NE(other.handle, INVALID_HANDLE_VALUE);
                DWORD start = GetTickCount();
                done = c.change(root_, directive_);
                took = GetTickCount() - start;
            }
            StopListeningToBaseChanges(HeardKind, &heard);
            EXPECT_EQ(done, !heldOn);
            if (heldOn) {
                EXPECT_GE(took, 500u) << "tried again for about a second";
                EXPECT_LE(took, 3000u);
                EXPECT_TRUE(PathExists(directive_ + "\\" + c.stays));
            } else {
                EXPECT_TRUE(PathExists(directive_ + "\\" + c.arrives));
            }
            std::vector<std::string> expected;
            if (c.announced)
                expected = { std::to_string(BASE_CHANGE_COMING) + " " + directive_ + "\\" + c.held,
                             std::to_string(BASE_CHANGE_OVER) + " " + directive_ + "\\" + c.held };
            EXPECT_EQ(heard, expected);
        }
    }
}

}  // namespace
