// Pages of a branch laid out with GDI on whatever device context is given:
// a printer's, or a memory or metafile DC for a preview or a test. The
// layout only measures and places; what is done with each placed line (drawn,
// counted, checked) is the caller's, so the same code serves every device.
#pragma once
#include "../export/branch_outline.h"
#include <windows.h>
#include <string>
#include <vector>

enum LineKind {
    LINE_HEADER,   // the branch name at the top of each page
    LINE_HEADING,  // a category or fact name, with its number
    LINE_TEXT,     // a line of a description or main text
    LINE_NOTE,     // a file that could not be read
    LINE_FOOTER,   // "стр. N из M"
    LINE_KINDS
};

struct PlacedLine {
    int page;  // from 1
    LineKind kind;
    int x, y;  // device units, the line's top left
    std::wstring text;
    bool paragraphEnd;  // the last line of its paragraph (a text line's own end, not a wrap)
};

// The fonts of the layout on a device: one per kind of line, sized by the
// device's resolution. Made with MakePageFonts, released with FreePageFonts.
struct PageFonts {
    HFONT font[LINE_KINDS];
    int lineHeight[LINE_KINDS];
};
void MakePageFonts(HDC dc, PageFonts* fonts);
void FreePageFonts(PageFonts* fonts);

typedef void (*LineSink)(const PlacedLine& line, void* context);

// Lays the branch out on pages whose printable area is `area` (device units,
// margins already taken off), calling sink for each placed line, page by
// page. title heads every page; pages: the count for the footers (0 while it
// is not known yet). A heading is never the last thing on its page: it moves
// to the next page with its first lines. Returns the number of pages.
int LayOutBranch(HDC dc, const PageFonts& fonts, const RECT& area, const BranchOutline& outline,
                 const std::wstring& title, int pages, LineSink sink, void* context);

// Splits text into lines no wider than width on dc with its selected font:
// at spaces where it can, inside a word only where the word alone is wider.
// Every character of text is in exactly one line, the breaking spaces in the
// line they end.
std::vector<std::wstring> WrapLine(HDC dc, const std::wstring& text, int width);
