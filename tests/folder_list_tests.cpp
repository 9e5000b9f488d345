// The folder lists: the program's fill shows exactly what the list control's
// own directory listing shows, and the store's listing says the same.
#include "../store/fact_store.h"
#include "../ui/folder_list.h"
#include "support/dialog_driver.h"
#include "support/literal_fill.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace {

std::vector<std::string> Entries(HWND list)
{
    return ListEntries(GetParent(list), GetDlgCtrlID(list));
}

class FolderListFill : public ::testing::Test {
protected:
    void SetUp() override
    {
        list_ = CreateFolderListWindow(&frame_);
    }
    void TearDown() override
    {
        DestroyWindow(frame_);
        SetCurrentDirectoryW(L"C:\\");
    }
    // The literal fill lists the working directory.
    std::vector<std::string> LiteralListing(const std::string& folder)
    {
        SendMessageW(list_, LB_RESETCONTENT, 0, 0);
        SetCurrentDirectoryW(Wide(folder).c_str());
        LiteralFolderFill(list_);
        SetCurrentDirectoryW(L"C:\\");
        return Entries(list_);
    }
    std::vector<std::string> ProgramListing(const std::string& folder)
    {
        SendMessageW(list_, LB_RESETCONTENT, 0, 0);
        EXPECT_TRUE(FillFolderList(list_, folder.c_str()));
        EXPECT_EQ(SendMessageW(list_, LB_GETCURSEL, 0, 0), LB_ERR) << "nothing selected after a fill";
        return Entries(list_);
    }
    HWND frame_ = NULL;
    HWND list_ = NULL;
};

TEST_F(FolderListFill, ShowsWhatTheListControlsOwnListingShowsAndSoDoesTheStore)
{
    std::string base = NewTestFolder();
    const std::vector<std::string> names = {
        "alpha",     "Alpha2",   "BETA",    "beta-1", "beta 1", "beta_1", "beta.1",   "Beta1",
        "1",         "10",       "2",       "007",    "_x",     "__y",    "(скобки)", "[квадратные]",
        "a&b",       "a'b",      "a-b",     "a+b",    "a,b",    "a;b",    "a=b",      "a@b",
        "a#b",       "a$b",      "a%b",     "a!b",    "a~b",    "a{b}",   "a^b",      "a`b",
        "Ёж",        "ёлка",     "Ель",     "яблоко", "Я",      "абв",    "АБВ2",     "Раздел 1",
        "раздел 10", "Раздел 2", ".hidden", " lead",  "a  b",   "z",      "ZZ",       std::string(LISTED_NAME_MAX, 'w'),
    };
    for (const std::string& name : names)
        MakeFolder(base + "\\" + name);
    WriteBytes(base + "\\file.txt", "files are never listed");

    std::vector<std::string> literal = LiteralListing(base);
    std::vector<std::string> program = ProgramListing(base);
    std::vector<std::string> store;
    ASSERT_TRUE(ListSubfolders(base.c_str(), &store));

    EXPECT_EQ(literal.size(), names.size() + 1) << "every folder and the parent entry";
    EXPECT_EQ(program, literal);
    EXPECT_EQ(store, literal);
    // The parent entry comes before every name that begins with a letter or a digit.
    size_t parent = std::find(literal.begin(), literal.end(), "..") - literal.begin();
    for (size_t i = 0; i < parent; i++)
        EXPECT_FALSE(IsCharAlphaNumericW(Wide(literal[i])[0])) << literal[i];
}

TEST_F(FolderListFill, AFolderWithoutSubfoldersShowsOnlyTheParentEntry)
{
    std::string base = NewTestFolder();
    WriteBytes(base + "\\Описание.txt", "");
    EXPECT_EQ(LiteralListing(base), std::vector<std::string>{ ".." });
    EXPECT_EQ(ProgramListing(base), std::vector<std::string>{ ".." });
}

TEST_F(FolderListFill, TheTopOfADriveHasNoParentEntry)
{
    std::string alias = EmptyDriveT();
    if (alias.empty())
        FAIL() << "drive T: is not mapped: tools/wine-run, the test command, maps it";
    MakeFolder(alias + "\\Раздел");
    EXPECT_EQ(LiteralListing("T:\\"), std::vector<std::string>{ "Раздел" });
    EXPECT_EQ(ProgramListing("T:\\"), std::vector<std::string>{ "Раздел" });
    EmptyDriveT();
}

// Names that Windows-1251 cannot hold could be neither shown truly nor
// opened again through a Windows-1251 path: such folders are left out, and
// nothing else is disturbed.
TEST_F(FolderListFill, FoldersNamedOutsideWindows1251AreLeftOut)
{
    std::string base = NewTestFolder();
    std::wstring wideBase = Wide(base);
    for (const wchar_t* name : { L"caf\u00e9", L"\u65e5\u672c", L"\u0130stanbul" })
        ASSERT_TRUE(CreateDirectoryW((wideBase + L"\\" + name).c_str(), NULL));
    MakeFolder(base + "\\Обычная");
    EXPECT_EQ(ProgramListing(base), (std::vector<std::string>{ "..", "Обычная" }));
}

TEST_F(FolderListFill, AMissingFolderLeavesTheListEmpty)
{
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    EXPECT_FALSE(FillFolderList(list_, (NewTestFolder() + "\\удалена").c_str()));
    EXPECT_EQ(SendMessageW(list_, LB_GETCOUNT, 0, 0), 0);
}

}  // namespace
