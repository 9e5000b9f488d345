// Taking a branch out of the base as one document: the exact web page and
// text for a planted base, and nothing half-written after a cancel or a failure.
#include "../export/export_file.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base_ = NewTestFolder();
        out_ = NewTestFolder();
        directive_ = base_ + "\\Раздел\\Тема\\Подтема\\Установка";
        MakeFolder(base_ + "\\Раздел");
        MakeFolder(base_ + "\\Раздел\\Тема");
        MakeFolder(base_ + "\\Раздел\\Тема\\Подтема");
        MakeFolder(directive_);
        MakeFolder(base_ + "\\Раздел 2");
        MakeFolder(base_ + "\\Раздел 2\\Тема 2");
        // Names and texts that look like markup; a fact without its main
        // text; a main text another editor saved in UTF-8.
        MakeFolder(directive_ + "\\Б & В");
        WriteBytes(directive_ + "\\Б & В\\Описание.txt", "Описание <b>жирно</b>");
        WriteBytes(directive_ + "\\Б & В\\Б & В.txt", "Строка 1\r\nСтрока \"2\"\nстрока 3");
        MakeFolder(directive_ + "\\Без текста");
        WriteBytes(directive_ + "\\Без текста\\Описание.txt", "Только описание");
        MakeFolder(directive_ + "\\Юникод");
        WriteBytes(directive_ + "\\Юникод\\Описание.txt", "Описание");
        WriteBytes(directive_ + "\\Юникод\\Юникод.txt", u8"\xEF\xBB\xBFТекст в UTF-8: ёж");
    }
    std::string Exported(const std::string& branch, ExportFormat format, ExportReport* report = NULL)
    {
        ExportReport ignored;
        std::string target = out_ + (format == EXPORT_HTML ? "\\док.html" : "\\док.txt");
        EXPECT_EQ(ExportBranch(base_, branch, target, format, report ? report : &ignored), EXPORT_DONE);
        std::string bytes;
        EXPECT_TRUE(ReadBytes(target, &bytes));
        return bytes;
    }
    std::string base_, out_, directive_;
};

TEST_F(ExportTest, TheTextDocumentHoldsEveryFactInListOrderWithNumberedHeadings)
{
    ExportReport report;
    // The lists put "Раздел 2" before "Раздел", and so does the document.
    EXPECT_EQ(Exported(base_, EXPORT_TEXT, &report), u8"\xEF\xBB\xBF"
                                                     u8"База фактов\r\n\r\n"
                                                     u8"1. Раздел 2\r\n"
                                                     u8"1.1. Тема 2\r\n"
                                                     u8"2. Раздел\r\n"
                                                     u8"2.1. Тема\r\n"
                                                     u8"2.1.1. Подтема\r\n"
                                                     u8"2.1.1.1. Установка\r\n"
                                                     u8"2.1.1.1.1. Б & В\r\n"
                                                     u8"Описание <b>жирно</b>\r\n\r\n"
                                                     u8"Строка 1\r\nСтрока \"2\"\r\nстрока 3\r\n\r\n"
                                                     u8"2.1.1.1.2. Без текста\r\n"
                                                     u8"Только описание\r\n\r\n"
                                                     u8"[Файл «Без текста.txt» не удалось прочитать]\r\n\r\n"
                                                     u8"2.1.1.1.3. Юникод\r\n"
                                                     u8"Описание\r\n\r\n"
                                                     u8"Текст в UTF-8: ёж\r\n\r\n"
                                                     u8"Фактов: 3. Не удалось прочитать файлов: 1.\r\n");
    EXPECT_EQ(report.facts, 3);
    EXPECT_EQ(report.unreadable, 1);
}

TEST_F(ExportTest, TheWebPageEscapesEveryNameAndTextAndLinksItsContents)
{
    std::string page = Exported(base_, EXPORT_HTML);
    std::string head = u8"<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                       u8"<title>База фактов</title>\n";
    EXPECT_EQ(page.substr(0, head.size()), head);
    EXPECT_NE(page.find("h1 { page-break-before: always; break-before: page; }"), std::string::npos);
    EXPECT_NE(page.find("h1, h2, h3, h4, h5 { page-break-after: avoid; break-after: avoid; }"), std::string::npos);
    size_t body = page.find("<body>");
    ASSERT_NE(body, std::string::npos);
    EXPECT_EQ(page.substr(body),
              u8"<body>\n<div class=\"document-title\">База фактов</div>\n<nav>\n"
              u8"<div class=\"contents-title\">Содержание</div>\n"
              u8"<ul>\n<li><a href=\"#n1\">Раздел 2</a></li>\n"
              u8"<ul>\n<li><a href=\"#n1-1\">Тема 2</a></li>\n</ul>\n"
              u8"<li><a href=\"#n2\">Раздел</a></li>\n"
              u8"<ul>\n<li><a href=\"#n2-1\">Тема</a></li>\n"
              u8"<ul>\n<li><a href=\"#n2-1-1\">Подтема</a></li>\n"
              u8"<ul>\n<li><a href=\"#n2-1-1-1\">Установка</a></li>\n"
              u8"<ul>\n<li><a href=\"#n2-1-1-1-1\">Б &amp; В</a></li>\n"
              u8"<li><a href=\"#n2-1-1-1-2\">Без текста</a></li>\n"
              u8"<li><a href=\"#n2-1-1-1-3\">Юникод</a></li>\n"
              u8"</ul>\n</ul>\n</ul>\n</ul>\n</ul>\n</nav>\n"
              u8"<h1 id=\"n1\">Раздел 2</h1>\n<h2 id=\"n1-1\">Тема 2</h2>\n"
              u8"<h1 id=\"n2\">Раздел</h1>\n<h2 id=\"n2-1\">Тема</h2>\n<h3 id=\"n2-1-1\">Подтема</h3>\n"
              u8"<h4 id=\"n2-1-1-1\">Установка</h4>\n"
              u8"<h5 id=\"n2-1-1-1-1\">Б &amp; В</h5>\n"
              u8"<div class=\"description\">Описание &lt;b&gt;жирно&lt;/b&gt;</div>\n"
              u8"<div class=\"main-text\">Строка 1<br>\nСтрока &quot;2&quot;<br>\nстрока 3</div>\n"
              u8"<h5 id=\"n2-1-1-1-2\">Без текста</h5>\n"
              u8"<div class=\"description\">Только описание</div>\n"
              u8"<p class=\"note\">[Файл «Без текста.txt» не удалось прочитать]</p>\n"
              u8"<h5 id=\"n2-1-1-1-3\">Юникод</h5>\n"
              u8"<div class=\"description\">Описание</div>\n"
              u8"<div class=\"main-text\">Текст в UTF-8: ёж</div>\n"
              u8"<p class=\"summary\">Фактов: 3. Не удалось прочитать файлов: 1.</p>\n</body>\n</html>\n");
}

// A branch's headings start below the exported entry; a fact alone is a branch too.
TEST_F(ExportTest, ABranchIsHeadedFromTheLevelBelowIt)
{
    struct Case {
        std::string branch;
        const char* start;  // the text document up to its first fact's texts
    };
    const Case cases[] = {
        { directive_, u8"\xEF\xBB\xBFУстановка\r\n\r\n1. Б & В\r\nОписание" },
        { base_ + "\\Раздел\\Тема", u8"\xEF\xBB\xBFТема\r\n\r\n1. Подтема\r\n1.1. Установка\r\n1.1.1. Б & В\r\n" },
        { directive_ + "\\Юникод", u8"\xEF\xBB\xBFЮникод\r\n\r\n1. Юникод\r\nОписание\r\n\r\nТекст в UTF-8" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.branch);
        std::string start = c.start;
        EXPECT_EQ(Exported(c.branch, EXPORT_TEXT).substr(0, start.size()), start);
    }
}

// A main text the browser shows cut (a NUL or 0x1A with more after it) is
// exported as far as it is shown, with a note where it stops.
TEST_F(ExportTest, ATextShownCutCarriesANoteWhereItStops)
{
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        { "a NUL", std::string("Начало\r\nтекста") + '\0' + "конец, которого не видно" },
        { "a 0x1A", std::string("Начало\r\nтекста") + '\x1A' + "конец, которого не видно" },
    };
    const std::string note = u8"[Файл «Обрыв.txt» прочитан не до конца: дальше в нём недопустимый символ]";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string fact = directive_ + "\\Обрыв";
        if (!PathExists(fact))
            MakeFolder(fact);
        WriteBytes(fact + "\\Описание.txt", "Описание");
        WriteBytes(fact + "\\Обрыв.txt", c.bytes);
        ASSERT_NE(c.bytes.find_first_of(std::string("\0\x1A", 2)), std::string::npos);

        EXPECT_EQ(Exported(fact, EXPORT_TEXT), u8"\xEF\xBB\xBFОбрыв\r\n\r\n1. Обрыв\r\nОписание\r\n\r\n"
                                               u8"Начало\r\nтекста\r\n" +
                                                   note + u8"\r\n\r\nФактов: 1. Не удалось прочитать файлов: 0.\r\n");
        std::string page = Exported(fact, EXPORT_HTML);
        std::string expected = u8"<div class=\"main-text\">Начало<br>\nтекста</div>\n<p class=\"note\">" + note + "</p>\n";
        EXPECT_NE(page.find(expected), std::string::npos) << page.substr(page.find("<h1"));
        EXPECT_EQ(page.find(u8"конец"), std::string::npos);
    }
    // A text that only ends in such bytes is shown whole, and has no note.
    WriteBytes(directive_ + "\\Обрыв\\Обрыв.txt", std::string("Весь текст") + '\x1A' + '\0' + '\0');
    EXPECT_EQ(Exported(directive_ + "\\Обрыв", EXPORT_TEXT).find(u8"прочитан не до конца"), std::string::npos);
}

bool CancelAtSecond(int done, int, void*)
{
    return done < 2;
}

// Whatever stops an export, an earlier file of that name stays as it was,
// and no temporary file is left beside it.
TEST_F(ExportTest, ACancelOrAFailureLeavesNoFileAndTheOldOneUntouched)
{
    std::string target = out_ + "\\док.txt";
    WriteBytes(target, "прежний файл");
    ExportReport report;
    EXPECT_EQ(ExportBranch(base_, base_, target, EXPORT_TEXT, &report, CancelAtSecond, NULL), EXPORT_CANCELLED);
    EXPECT_EQ(FolderEntries(out_), std::vector<std::string>{ "док.txt" });
    std::string bytes;
    ASSERT_TRUE(ReadBytes(target, &bytes));
    EXPECT_EQ(bytes, "прежний файл");

    // A target that cannot be replaced (a folder of that name): the system's reason, nothing else changed.
    MakeFolder(out_ + "\\папка.txt");
    EXPECT_EQ(ExportBranch(base_, base_, out_ + "\\папка.txt", EXPORT_TEXT, &report), EXPORT_WRITE_FAILED);
    EXPECT_NE(report.error, 0u);
    EXPECT_EQ(FolderEntries(out_), (std::vector<std::string>{ "док.txt", "папка.txt" }));
    EXPECT_TRUE(FolderEntries(out_ + "\\папка.txt").empty());

    // A folder that is not there, and a place inside the base.
    EXPECT_EQ(ExportBranch(base_, base_, out_ + "\\нет\\док.txt", EXPORT_TEXT, &report), EXPORT_WRITE_FAILED);
    EXPECT_EQ(ExportBranch(base_, base_, directive_ + "\\док.html", EXPORT_HTML, &report), EXPORT_INSIDE_BASE);
    EXPECT_EQ(ExportBranch(base_, base_, base_ + "\\РАЗДЕЛ\\док.html", EXPORT_HTML, &report), EXPORT_INSIDE_BASE);
    EXPECT_FALSE(PathExists(directive_ + "\\док.html"));
    EXPECT_EQ(ExportBranch(base_, base_ + "\\Нет такого", out_ + "\\x.txt", EXPORT_TEXT, &report), EXPORT_NO_BRANCH);
    EXPECT_EQ(ExportBranch(base_, out_, out_ + "\\x.txt", EXPORT_TEXT, &report), EXPORT_NO_BRANCH);
    // A path typed on the command line leads nowhere outside the base.
    EXPECT_EQ(ExportBranch(base_, base_ + "\\Раздел\\..\\..", out_ + "\\x.txt", EXPORT_TEXT, &report),
              EXPORT_NO_BRANCH);
    EXPECT_FALSE(PathExists(out_ + "\\x.txt"));
}

}  // namespace

namespace {

std::string ShortPathOf(const std::string& path)
{
    wchar_t shortPath[MAX_PATH];
    DWORD length = GetShortPathNameW(Wide(path).c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? Cp1251(std::wstring(shortPath, length)) : std::string();
}

// However a place in the base is spelled, it is the base: refused, and not
// a byte written there; a place outside, however spelled, is written.
TEST_F(ExportTest, ThePlaceIsJudgedByWhatItIsOnDiskNotByItsSpelling)
{
    MakeFolder(base_ + "\\Longname section");
    std::string shortDirective = ShortPathOf(directive_);
    std::string shortSection = ShortPathOf(base_ + "\\Longname section");
    std::string shortOut = ShortPathOf(out_);
    ASSERT_NE(shortSection, base_ + "\\Longname section") << "this drive gives no short names: the test needs one";
    ASSERT_FALSE(shortDirective.empty());
    ASSERT_FALSE(shortOut.empty());
    std::string baseLeaf = base_.substr(base_.find_last_of('\\') + 1);
    struct Case {
        std::string target;
        ExportResult expected;
    };
    const Case cases[] = {
        { "\\\\?\\" + directive_ + "\\док.html", EXPORT_INSIDE_BASE },
        { "\\\\?\\" + base_ + "\\док.html", EXPORT_INSIDE_BASE },
        { shortDirective + "\\док.html", EXPORT_INSIDE_BASE },
        { shortSection + "\\док.html", EXPORT_INSIDE_BASE },
        { out_ + "\\..\\" + baseLeaf + "\\Раздел\\док.html", EXPORT_INSIDE_BASE },
        { "\\\\?\\" + shortSection + "\\док.html", EXPORT_INSIDE_BASE },
        { base_ + "\\Нет такой\\ещё\\док.html", EXPORT_INSIDE_BASE },  // not there yet, but in the base
        { "\\\\?\\" + out_ + "\\1.html", EXPORT_DONE },
        { shortOut + "\\2.html", EXPORT_DONE },
        { base_ + "\\..\\" + out_.substr(out_.find_last_of('\\') + 1) + "\\3.html", EXPORT_DONE },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        ExportReport report;
        EXPECT_EQ(ExportBranch(base_, directive_, c.target, EXPORT_HTML, &report), c.expected);
    }
    EXPECT_TRUE(FolderEntries(directive_ + "\\..") == std::vector<std::string>{ "Установка" });
    EXPECT_EQ(FolderEntries(base_), (std::vector<std::string>{ "Longname section", "Раздел", "Раздел 2" }));
    EXPECT_EQ(FolderEntries(directive_), (std::vector<std::string>{ "Б & В", "Без текста", "Юникод" }));
    EXPECT_TRUE(FolderEntries(base_ + "\\Longname section").empty());
    EXPECT_EQ(FolderEntries(out_), (std::vector<std::string>{ "1.html", "2.html", "3.html" }));
}

}  // namespace

