// Export and print from the browser's list menu, and the pages the print
// layout makes: counted, wrapped and kept together without a printer.
#include "../browser/fact_base_dialog.h"
#include "../export/export_dialog.h"
#include "../platform/platform_text.h"
#include "../print/page_layout.h"
#include "../print/print_dialog.h"
#include "../resources/resource.h"
#include "support/dialog_driver.h"
#include "support/dialog_fixture.h"
#include "support/test_files.h"

#include <windows.h>
#include <map>

namespace {

std::wstring ChosenTarget;

bool AnswerSaveDialog(HWND, const char*, std::wstring* target)
{
    *target = ChosenTarget;
    return !ChosenTarget.empty();
}

bool NoPrinter()
{
    return false;
}

class ExportFromBrowser : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        AskExportTarget = AnswerSaveDialog;
        PrinterInstalled = NoPrinter;
        out_ = NewTestFolder();
    }
    void TearDown() override
    {
        AskExportTarget = AskWithSaveDialog;
        PrinterInstalled = DefaultPrinterExists;
        DialogTest::TearDown();
    }
    std::string out_;
};

// Each menu command takes its own branch; a place in the base and a missing
// printer are refused with the browser's own message, and nothing is written.
TEST_F(ExportFromBrowser, TheListMenuExportsTheSelectedBranchOrTheWholeBase)
{
    BuildFactBase();
    HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
    WalkBrowserTo(browser, "Раздел\\Тема\\Подтема\\Установка\\Факт");

    // A document is made from the disk: typed text is saved or dropped first.
    TypeAsUser(browser, IDC_BROWSER_TEXT_VIEW, "набрано");
    ChosenTarget = Wide(out_ + "\\первый.txt");
    boxes_.AnswerNext(IDYES);
    SendMessageW(browser, WM_COMMAND, MAKEWPARAM(IDM_EXPORT_FACT, 0), 0);
    ASSERT_EQ(boxes_.Seen().size(), 2u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Текст факта изменён и не записан. Записать изменения?");
    std::string first;
    ASSERT_TRUE(ReadBytes(out_ + "\\первый.txt", &first));
    EXPECT_NE(first.find(u8"набрано"), std::string::npos) << "the saved text is in the document";
    struct Case {
        int command;
        const char* target;  // below out_, or below the base with a leading "*"
        const wchar_t* message;
        const char* start;  // the document's first bytes after the BOM, "" for no file
    };
    // Unreadable: both files of "Без описания" and the main text of "Gold".
    const Case cases[] = {
        { IDM_EXPORT_SECTION + 3, "уст.txt", L"Экспорт завершён: фактов 3, не удалось прочитать файлов: 3.",
          u8"Установка\r\n\r\n1. Gold\r\n" },
        { IDM_EXPORT_FACT, "факт.html", L"Экспорт завершён: фактов 1, не удалось прочитать файлов: 0.",
          u8"<!DOCTYPE html>" },
        { IDM_EXPORT_BASE, "вся.txt", L"Экспорт завершён: фактов 3, не удалось прочитать файлов: 3.",
          u8"База фактов\r\n\r\n1. Раздел 2\r\n" },
        { IDM_EXPORT_SECTION, "*Раздел\\раздел.html",
          L"Файл нельзя сохранить внутри базы фактов: он оказался бы лишним файлом среди категорий. Выберите "
          L"другую папку :)",
          "" },
        { IDM_PRINT_SECTION + 3, "", L"Принтер не установлен - печатать не на чем :)", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        std::string target = c.target[0] == '*' ? base_ + "\\" + (c.target + 1) : out_ + "\\" + c.target;
        ChosenTarget = c.target[0] ? Wide(target) : std::wstring();
        boxes_.Clear();
        SendMessageW(browser, WM_COMMAND, MAKEWPARAM(c.command, 0), 0);
        ASSERT_EQ(boxes_.Seen().size(), 1u);
        EXPECT_EQ(boxes_.Seen()[0].text, c.message);
        EXPECT_EQ(boxes_.Seen()[0].owner, browser);
        std::string bytes;
        EXPECT_EQ(ReadBytes(target, &bytes), c.start[0] != '\0');
        std::string start = c.start[0] == '<' ? c.start : std::string("\xEF\xBB\xBF") + c.start;
        if (c.start[0]) {
            EXPECT_EQ(bytes.substr(0, start.size()), start);
        }
    }
}

// The progress window's ОТМЕНА, pressed by a timer while the export pumps.
BOOL CALLBACK CancelProgress(HWND window, LPARAM)
{
    if ((DLGPROC)GetWindowLongPtrW(window, DWLP_DLGPROC) == ExportProgressDialog)
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}

void CALLBACK PressCancel(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    EnumThreadWindows(GetCurrentThreadId(), CancelProgress, 0);
}

// A long export keeps the windows answering between facts, and its ОТМЕНА
// leaves no file and an earlier one untouched.
TEST_F(ExportFromBrowser, CancellingALongExportLeavesNoFile)
{
    BuildFactBase();
    for (int f = 0; f < 1500; f++) {
        std::string fact = DirectivePath() + "\\Ф " + std::to_string(f);
        MakeFolder(fact);
        WriteBytes(fact + "\\Описание.txt", "Описание");
    }
    HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
    std::string target = out_ + "\\вся.html";
    WriteBytes(target, "прежний");
    ChosenTarget = Wide(target);
    SetTimer(NULL, 0, 20, PressCancel);
    SendMessageW(browser, WM_COMMAND, MAKEWPARAM(IDM_EXPORT_BASE, 0), 0);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Экспорт отменён - файл не создан.");
    EXPECT_EQ(FolderEntries(out_), std::vector<std::string>{ "вся.html" });
    std::string bytes;
    ASSERT_TRUE(ReadBytes(target, &bytes));
    EXPECT_EQ(bytes, "прежний");
    EXPECT_TRUE(IsWindowEnabled(browser)) << "the browser answers again";
}

struct Collected {
    HDC dc;
    const PageFonts* fonts;
    std::vector<PlacedLine> lines;
};

void Collect(const PlacedLine& line, void* context)
{
    Collected* collected = (Collected*)context;
    SelectObject(collected->dc, collected->fonts->font[line.kind]);
    TextOutW(collected->dc, line.x, line.y, line.text.c_str(), (int)line.text.size());
    collected->lines.push_back(line);
}

// Laid out into a metafile, as a preview would be: every page has its
// header and footer, no line is wider than the page, a heading never ends
// a page, and the text's every character comes out once and in order.
TEST(PageLayout, PagesHoldEveryCharacterWithinTheirWidthAndKeepHeadingsWithText)
{
    std::string base = NewTestFolder();
    std::string directive = base + "\\Раздел\\Тема\\Подтема\\Установка";
    MakeFolder(base + "\\Раздел");
    MakeFolder(base + "\\Раздел\\Тема");
    MakeFolder(base + "\\Раздел\\Тема\\Подтема");
    MakeFolder(directive);
    std::string paragraph;
    for (int i = 0; i < 120; i++)
        paragraph += "Пирамида номер " + std::to_string(i) + " строилась двадцать лет; ";
    paragraph += std::string(300, 'Ж');  // a word wider than the page
    for (int f = 0; f < 12; f++) {
        std::string name = "Факт " + std::to_string(f);
        MakeFolder(directive + "\\" + name);
        WriteBytes(directive + "\\" + name + "\\Описание.txt", "Описание\r\nв две строки");
        WriteBytes(directive + "\\" + name + "\\" + name + ".txt", paragraph);
    }
    BranchOutline outline;
    ASSERT_TRUE(OutlineBranch(base, base, &outline));

    HDC dc = CreateEnhMetaFileW(NULL, NULL, NULL, NULL);
    PageFonts fonts;
    MakePageFonts(dc, &fonts);
    RECT area = { 40, 40, 440, 640 };
    Collected counted = { dc, &fonts, {} };
    int pages = LayOutBranch(dc, fonts, area, outline, L"Вся база", 0, Collect, &counted);
    Collected laid = { dc, &fonts, {} };
    EXPECT_EQ(LayOutBranch(dc, fonts, area, outline, L"Вся база", pages, Collect, &laid), pages);
    EXPECT_GT(pages, 12);

    std::map<int, int> headers, footers;
    std::map<int, LineKind> lastBody;
    std::wstring text;
    for (const PlacedLine& line : laid.lines) {
        ASSERT_GE(line.page, 1);
        ASSERT_LE(line.page, pages);
        EXPECT_GE(line.y, area.top);
        EXPECT_LE(line.y + fonts.lineHeight[line.kind], area.bottom);
        SelectObject(dc, fonts.font[line.kind]);
        std::wstring shown = line.text.substr(0, line.text.find_last_not_of(L' ') + 1);
        SIZE size;
        GetTextExtentPoint32W(dc, shown.c_str(), (int)shown.size(), &size);
        EXPECT_LE(size.cx, area.right - area.left) << Cp1251(line.text);
        if (line.kind == LINE_FOOTER) {
            EXPECT_EQ(line.text, L"стр. " + std::to_wstring(line.page) + L" из " + std::to_wstring(pages));
        }
        if (line.kind == LINE_HEADER)
            headers[line.page]++;
        else if (line.kind == LINE_FOOTER)
            footers[line.page]++;
        else
            lastBody[line.page] = line.kind;
        if (line.kind == LINE_TEXT && text.size() < paragraph.size() + 100)
            text += line.text + (line.paragraphEnd ? L"\n" : L"");
    }
    for (int page = 1; page <= pages; page++) {
        EXPECT_EQ(headers[page], 1) << page;
        EXPECT_EQ(footers[page], 1) << page;
        EXPECT_NE(lastBody[page], LINE_HEADING) << "a heading left alone at the foot of page " << page;
    }
    EXPECT_EQ(text.substr(0, text.find(L"\n", text.find(L"\n", text.find(L"\n") + 1) + 1)),
              Wide("Описание\nв две строки\n" + paragraph));
    FreePageFonts(&fonts);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
}

}  // namespace
