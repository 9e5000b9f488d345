// The code-page boundary: Windows-1251 bytes in the program, UTF-16 at the platform.
#include "../platform/platform_text.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage, EveryWindows1251ByteHasOneCharacterAndComesBack)
{
    for (int b = 1; b < 256; b++) {
        char in[2] = { (char)b, 0 };
        std::wstring wide = WideFrom1251(in);
        ASSERT_EQ(wide.size(), 1u) << b;
        char out[4] = "";
        ASSERT_EQ(TextTo1251(wide.c_str(), -1, out, sizeof out), TEXT_FITS) << b;
        EXPECT_EQ((unsigned char)out[0], b);
    }
    EXPECT_EQ(WideFrom1251("\xDF\xE0"), L"Яа");
    EXPECT_EQ(WideFrom1251("Сбор"), L"Сбор") << "narrow literals are Windows-1251 bytes";
}

TEST(CodePage, CharactersOutsideWindows1251AreRefusedNotReplaced)
{
    char out[16] = "kept";
    EXPECT_EQ(TextTo1251(L"caf\u00e9", -1, out, sizeof out), TEXT_NOT_1251);
    EXPECT_STREQ(out, "kept");
    EXPECT_EQ(TextTo1251(L"\u65e5\u672c", -1, out, sizeof out), TEXT_NOT_1251);
    EXPECT_EQ(TextTo1251(L"?", -1, out, sizeof out), TEXT_FITS) << "a real question mark is fine";
    EXPECT_STREQ(out, "?");
}

TEST(CodePage, TooLongForTheCapacityLeavesTheOutputAlone)
{
    char out[4] = "abc";
    EXPECT_EQ(TextTo1251(L"Привет", -1, out, sizeof out), TEXT_TOO_LONG);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(TextTo1251(L"При", -1, out, sizeof out), TEXT_FITS);
    EXPECT_STREQ(out, "При");
}

TEST(CodePage, CyrillicFolderNamesReachTheFileSystem)
{
    std::string folder = NewTestFolder() + "\\Папка Ёж";
    ASSERT_TRUE(CreateDirectory1251(folder.c_str()));
    EXPECT_NE(GetFileAttributesW(Wide(folder).c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(SetCurrentDirectory1251(folder.c_str()));
    char current[256];
    ASSERT_EQ(GetCurrentDirectory1251(current, sizeof current), TEXT_FITS);
    EXPECT_EQ(std::string(current), folder);
    SetCurrentDirectoryW(L"C:\\");
    EXPECT_TRUE(RemoveDirectory1251(folder.c_str()));
}

}  // namespace
