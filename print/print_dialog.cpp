#include "print_dialog.h"
#include "page_layout.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"
#include "../ui/platform_ui.h"

#include <commdlg.h>
#include <stdio.h>
#include <vector>

bool (*PrinterInstalled)() = DefaultPrinterExists;
HRESULT(WINAPI* ShowPrintDialog)(LPPRINTDLGEXW dialog) = PrintDlgExW;

namespace {

// Branches up to this many facts are laid out on the default printer before
// the dialog opens, so that it shows the page count.
const int FACTS_COUNTED_AHEAD = 300;

// The printable area less a margin of 15 mm (LOGPIXELS count per inch, 25.4 mm).
RECT PrintableArea(HDC dc)
{
    int marginX = MulDiv(GetDeviceCaps(dc, LOGPIXELSX), 150, 254);
    int marginY = MulDiv(GetDeviceCaps(dc, LOGPIXELSY), 150, 254);
    RECT area = { marginX, marginY, GetDeviceCaps(dc, HORZRES) - marginX, GetDeviceCaps(dc, VERTRES) - marginY };
    return area;
}

struct Printing {
    HDC dc;
    const PageFonts* fonts;
    int page;  // the page started on the printer, 0 before the first
    bool failed;
    const PRINTPAGERANGE* ranges;
    DWORD rangeCount;
};

bool Wanted(const Printing& printing, int page)
{
    if (!printing.rangeCount)
        return true;
    for (DWORD i = 0; i < printing.rangeCount; i++)
        if ((DWORD)page >= printing.ranges[i].nFromPage && (DWORD)page <= printing.ranges[i].nToPage)
            return true;
    return false;
}

void DrawLine(const PlacedLine& line, void* context)
{
    Printing* printing = (Printing*)context;
    if (printing->failed || !Wanted(*printing, line.page))
        return;
    if (line.page != printing->page) {
        if (printing->page && EndPage(printing->dc) <= 0)
            printing->failed = true;
        if (StartPage(printing->dc) <= 0)
            printing->failed = true;
        printing->page = line.page;
    }
    SelectObject(printing->dc, printing->fonts->font[line.kind]);
    TextOutW(printing->dc, line.x, line.y, line.text.c_str(), (int)line.text.size());
}

void CountOnly(const PlacedLine&, void*) {}

int CountPages(HDC dc, const BranchOutline& outline, const std::wstring& title)
{
    PageFonts fonts;
    MakePageFonts(dc, &fonts);
    int pages = LayOutBranch(dc, fonts, PrintableArea(dc), outline, title, 0, CountOnly, NULL);
    FreePageFonts(&fonts);
    return pages;
}

// The default printer's DC, for counting pages before the dialog; NULL when
// there is none. The print dialog's "return the default" asks nothing.
HDC DefaultPrinterDc()
{
    PRINTDLGW asked = {};
    asked.lStructSize = sizeof asked;
    asked.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgW(&asked))
        return NULL;
    if (asked.hDevMode)
        GlobalFree(asked.hDevMode);
    if (asked.hDevNames)
        GlobalFree(asked.hDevNames);
    return asked.hDC;
}

// What the print dialog hands back, whatever the user ended it with.
void ReleasePrintSettings(PRINTDLGEXW* dialog)
{
    if (dialog->hDC)
        DeleteDC(dialog->hDC);
    if (dialog->hDevMode)
        GlobalFree(dialog->hDevMode);
    if (dialog->hDevNames)
        GlobalFree(dialog->hDevNames);
    dialog->hDC = NULL;
    dialog->hDevMode = dialog->hDevNames = NULL;
}

}  // namespace

bool DefaultPrinterExists()
{
    HDC dc = DefaultPrinterDc();
    if (dc)
        DeleteDC(dc);
    return dc != NULL;
}

void PrintWithDialog(HWND owner, const char* root, const char* folder, const char* name)
{
    if (!PrinterInstalled()) {
        MessageBox1251(owner, Text::NoPrinter, Text::CaptionWarning, MB_OK);
        return;
    }
    BranchOutline outline;
    if (!OutlineBranch(root, folder, &outline)) {
        Complain(owner, Text::ExportNoBranch);
        return;
    }
    std::wstring title = WideFrom1251(name);
    int pagesAhead = 0;
    if (outline.facts <= FACTS_COUNTED_AHEAD) {
        if (HDC counting = DefaultPrinterDc()) {
            pagesAhead = CountPages(counting, outline, title);
            DeleteDC(counting);
        }
    }
    PRINTPAGERANGE ranges[10] = {};
    PRINTDLGEXW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOCURRENTPAGE | PD_USEDEVMODECOPIESANDCOLLATE;
    dialog.nPageRanges = 0;
    dialog.nMaxPageRanges = 10;
    dialog.lpPageRanges = ranges;
    dialog.nMinPage = 1;
    dialog.nMaxPage = pagesAhead ? (DWORD)pagesAhead : 0xFFFF;
    dialog.nCopies = 1;
    dialog.nStartPage = START_PAGE_GENERAL;
    HRESULT shown = ShowPrintDialog(&dialog);
    if (shown != S_OK || dialog.dwResultAction != PD_RESULT_PRINT || !dialog.hDC) {
        // Apply then Cancel still hands back the settings and the DC.
        ReleasePrintSettings(&dialog);
        return;
    }
    HDC dc = dialog.hDC;
    PageFonts fonts;
    MakePageFonts(dc, &fonts);
    RECT area = PrintableArea(dc);
    int pages = LayOutBranch(dc, fonts, area, outline, title, 0, CountOnly, NULL);
    DOCINFOW document = { sizeof document, title.c_str(), NULL, NULL, 0 };
    Printing printing = { dc, &fonts, 0, false, ranges, (dialog.Flags & PD_PAGENUMS) ? dialog.nPageRanges : 0 };
    DWORD error = 0;
    if (StartDocW(dc, &document) <= 0) {
        error = GetLastError();
    } else {
        LayOutBranch(dc, fonts, area, outline, title, pages, DrawLine, &printing);
        if (printing.page && EndPage(dc) <= 0)
            printing.failed = true;
        if (printing.failed) {
            error = GetLastError();
            AbortDoc(dc);
        } else {
            EndDoc(dc);
        }
    }
    FreePageFonts(&fonts);
    ReleasePrintSettings(&dialog);
    if (error || printing.failed) {
        char text[256];
        snprintf(text, sizeof text, Text::PrintFailed, error);
        Complain(owner, text);
    }
}
