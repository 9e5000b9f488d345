// Texts written by other editors: each encoding read, shown in Windows-1251
// and written back byte for byte in its own encoding.
#include "../store/fact_store.h"
#include "../store/text_encoding.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

const std::string BOM = "\xEF\xBB\xBF";

struct Case {
    const char* name;
    std::string file;
    std::string shown;  // Windows-1251, as the view gets it
    TextEncoding encoding;
    bool lossy;
    std::string writtenBack;  // the bytes of the shown text written back; "" = the file itself
};

TEST(TextEncodings, EachIsShownRightAndWrittenBackInItsOwnEncoding)
{
    const Case cases[] = {
        { "UTF-8 as Notepad saves it", u8"Строилась\r\n20 лет", "Строилась\r\n20 лет", ENCODING_UTF8, false, "" },
        { "UTF-8 with a BOM", BOM + u8"Страж", "Страж", ENCODING_UTF8_BOM, false, "" },
        { "UTF-16 LE", Utf16Bytes(L"Ёж\r\nї", true), "Ёж\r\nї", ENCODING_UTF16LE, false, "" },
        { "UTF-16 BE", Utf16Bytes(L"Ёж\r\nї", false), "Ёж\r\nї", ENCODING_UTF16BE, false, "" },
        { "plain ASCII stays 1251", "plain\r\ntext", "plain\r\ntext", ENCODING_1251, false, "" },
        { "Russian in 1251", "Строилась 20 лет", "Строилась 20 лет", ENCODING_1251, false, "" },
        { "a UTF-8 look-alike that breaks off stays 1251", u8"ж" + std::string("ж"), "\xD0\xB6ж", ENCODING_1251, false,
          "" },
        { "a lone LF in UTF-8 goes back as CR LF", u8"а\nб", "а\r\nб", ENCODING_UTF8, false, u8"а\r\nб" },
        { "a lone CR in UTF-16 stays", Utf16Bytes(L"а\rб", true), "а\rб", ENCODING_UTF16LE, false, "" },
        { "NUL ends a UTF-16 text", Utf16Bytes(std::wstring(L"аб\0в", 4), true), "аб", ENCODING_UTF16LE, false,
          Utf16Bytes(L"аб", true) },
        { "a BOM alone is an empty text", BOM, "", ENCODING_UTF8_BOM, false, "" },
        { "an arrow is marked", u8"a→b", "a¤b", ENCODING_UTF8, true, "" },
        { "a Greek letter in UTF-16 is marked", Utf16Bytes(L"αβ", false), "¤¤", ENCODING_UTF16BE, true, "" },
        { "invalid bytes after a BOM",
          BOM + "a\xFF"
                "b",
          "a¤b", ENCODING_UTF8_BOM, true, "" },
        { "odd-length UTF-16", Utf16Bytes(L"A", true) + "B", "A¤", ENCODING_UTF16LE, true, "" },
        { "a lone surrogate in UTF-16", Utf16Bytes(std::wstring(1, (wchar_t)0xD800) + L"x", true), "¤x",
          ENCODING_UTF16LE, true, "" },
    };
    std::string folder = NewTestFolder();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = folder + "\\Факт.txt";
        WriteBytes(path, c.file);
        std::vector<char> text(TEXT_BUFFER_SIZE);
        TextFormat format;
        ASSERT_EQ(ReadTextFile(path.c_str(), text.data(), NULL, &format), READ_OK);
        EXPECT_EQ(std::string(text.data()), c.shown);
        EXPECT_EQ(format.encoding, c.encoding);
        EXPECT_EQ(format.lossy, c.lossy);
        if (c.lossy)
            continue;
        ASSERT_EQ(ReplaceTextFile(path.c_str(), text.data(), NULL, NULL, format.encoding), WRITE_DONE);
        std::string bytes;
        ReadBytes(path, &bytes);
        EXPECT_EQ(bytes, c.writtenBack.empty() ? c.file : c.writtenBack);
    }
}

}  // namespace
