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

// What the print dialog handed back, whatever the user ended it with, is
// the program's to release: Apply then Cancel hands back the settings and
// a DC too, and a print that fails must release them as a finished one does.
struct HandedBack {
    DWORD action;  // how the user ends the dialog
    HDC dc;
    HGLOBAL devMode, devNames;
};
HandedBack handed;

HRESULT WINAPI AnswerPrintDialog(LPPRINTDLGEXW dialog)
{
    handed.dc = CreateCompatibleDC(NULL);
    handed.devMode = GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVMODEW));
    handed.devNames = GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVNAMES) + 64);
    dialog->hDC = handed.dc;
    dialog->hDevMode = handed.devMode;
    dialog->hDevNames = handed.devNames;
    dialog->dwResultAction = handed.action;
    return S_OK;
}

bool APrinter()
{
    return true;
}

TEST_F(ExportFromBrowser, WhatThePrintDialogHandsBackIsReleasedHoweverItEnds)
{
    BuildFactBase();
    HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
    PrinterInstalled = APrinter;
    ShowPrintDialog = AnswerPrintDialog;
    const DWORD endings[] = { PD_RESULT_CANCEL, PD_RESULT_APPLY, PD_RESULT_PRINT };
    for (DWORD action : endings) {
        SCOPED_TRACE(action);
        handed = { action, NULL, NULL, NULL };
        boxes_.Clear();
        SendMessageW(browser, WM_COMMAND, MAKEWPARAM(IDM_PRINT_BASE, 0), 0);
        ASSERT_TRUE(handed.dc != NULL) << "the dialog was shown";
        EXPECT_EQ(GetObjectType(handed.dc), 0u) << "the DC is deleted";
        EXPECT_EQ(GlobalFlags(handed.devMode), (UINT)GMEM_INVALID_HANDLE) << "the settings are freed";
        EXPECT_EQ(GlobalFlags(handed.devNames), (UINT)GMEM_INVALID_HANDLE);
        if (action != PD_RESULT_PRINT) {
            EXPECT_TRUE(boxes_.Seen().empty()) << "nothing printed, nothing said";
        }
    }
    ShowPrintDialog = PrintDlgExW;
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

// One fact of a description and `lines` short lines of main text, below
// its four categories: the base at base.
void PlantFactOfLines(const std::string& base, int lines, const std::string& descriptionBytes = "Описание")
{
    std::string directive = base + "\\Раздел\\Тема\\Подтема\\Установка";
    for (const std::string& folder : { base + "\\Раздел", base + "\\Раздел\\Тема", base + "\\Раздел\\Тема\\Подтема",
                                       directive, directive + "\\Факт" })
        MakeFolder(folder);
    std::string text;
    for (int i = 1; i <= lines; i++)
        text += (i > 1 ? "\r\n" : "") + ("строка " + std::to_string(i));
    WriteBytes(directive + "\\Факт\\Описание.txt", descriptionBytes);
    WriteBytes(directive + "\\Факт\\Факт.txt", text);
}

// The page count from the heights measured on the device: the first page
// holds the five headings, the description, half a line's gap and as many
// main text lines as fit above the footer; every later page holds as many
// lines as its body is high. Texts filling a page to its last line and one
// line past it tell an early or a late page break.
TEST(PageLayout, ThePageCountIsWhatTheLinesAndTheBodyHeightGive)
{
    HDC dc = CreateEnhMetaFileW(NULL, NULL, NULL, NULL);
    PageFonts fonts;
    MakePageFonts(dc, &fonts);
    RECT area = { 40, 40, 440, 640 };
    int heading = fonts.lineHeight[LINE_HEADING], line = fonts.lineHeight[LINE_TEXT];
    int bodyTop = area.top + 2 * fonts.lineHeight[LINE_HEADER];
    int bodyBottom = area.bottom - 2 * fonts.lineHeight[LINE_FOOTER];
    int firstTextTop = bodyTop + 5 * heading + line + line / 2;
    int onFirst = (bodyBottom - firstTextTop) / line;
    int perPage = (bodyBottom - bodyTop) / line;
    ASSERT_GT(onFirst, 2);
    ASSERT_GT(perPage, onFirst);
    struct Case {
        int lines, pages;
    };
    const Case cases[] = {
        { 1, 1 },
        { onFirst, 1 },
        { onFirst + 1, 2 },
        { onFirst + perPage, 2 },
        { onFirst + perPage + 1, 3 },
        { onFirst + 5 * perPage + 3, 7 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lines) + " lines");
        std::string base = NewTestFolder();
        PlantFactOfLines(base, c.lines);
        BranchOutline outline;
        ASSERT_TRUE(OutlineBranch(base, base, &outline));
        Collected laid = { dc, &fonts, {} };
        EXPECT_EQ(LayOutBranch(dc, fonts, area, outline, L"Вся база", 0, Collect, &laid), c.pages);
        int lastTextPage = 0;
        for (const PlacedLine& placed : laid.lines)
            if (placed.kind == LINE_TEXT)
                lastTextPage = placed.page;
        EXPECT_EQ(lastTextPage, c.pages) << "the last page holds text";
    }
    FreePageFonts(&fonts);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
}

// A text the browser shows cut is printed as far as it is shown, with a note.
TEST(PageLayout, ATextShownCutIsFollowedByANote)
{
    std::string base = NewTestFolder();
    PlantFactOfLines(base, 3, std::string("Описание") + '\0' + "дальше");
    BranchOutline outline;
    ASSERT_TRUE(OutlineBranch(base, base, &outline));
    HDC dc = CreateEnhMetaFileW(NULL, NULL, NULL, NULL);
    PageFonts fonts;
    MakePageFonts(dc, &fonts);
    RECT area = { 40, 40, 440, 640 };
    Collected laid = { dc, &fonts, {} };
    LayOutBranch(dc, fonts, area, outline, L"Вся база", 0, Collect, &laid);
    // Wrapped lines keep their breaking spaces: joined, they give each paragraph whole.
    std::wstring body;
    bool paragraphStart = true;
    for (const PlacedLine& placed : laid.lines) {
        if (placed.kind != LINE_TEXT && placed.kind != LINE_NOTE)
            continue;
        body += (placed.kind == LINE_NOTE && paragraphStart ? L"note: " : L"") + placed.text +
                (placed.paragraphEnd ? L"\n" : L"");
        paragraphStart = placed.paragraphEnd;
    }
    EXPECT_EQ(body, L"Описание\n"
                    L"note: [Файл «Описание.txt» прочитан не до конца: дальше в нём недопустимый символ]\n"
                    L"строка 1\nстрока 2\nстрока 3\n");
    FreePageFonts(&fonts);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
}

}  // namespace
