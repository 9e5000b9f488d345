#include "page_layout.h"
#include "../export/document_writer.h"
#include "../export/export_file.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"

#include <stdio.h>
#include <vector>

namespace {

// Points for each kind of line; bold for the headings.
const int FONT_POINTS[LINE_KINDS] = { 9, 12, 11, 11, 9 };

struct Layout {
    HDC dc;
    const PageFonts* fonts;
    RECT area;
    std::wstring title;
    int pages;  // for the footers; 0 while unknown
    LineSink sink;
    void* context;
    int page;
    int y;  // where the next body line goes
};

int BodyTop(const Layout& layout)
{
    return layout.area.top + layout.fonts->lineHeight[LINE_HEADER] * 2;
}

int BodyBottom(const Layout& layout)
{
    return layout.area.bottom - layout.fonts->lineHeight[LINE_FOOTER] * 2;
}

void Place(Layout* layout, LineKind kind, int x, int y, const std::wstring& text, bool paragraphEnd)
{
    PlacedLine line = { layout->page, kind, x, y, text, paragraphEnd };
    layout->sink(line, layout->context);
}

void StartPage(Layout* layout)
{
    layout->page++;
    layout->y = BodyTop(*layout);
    Place(layout, LINE_HEADER, layout->area.left, layout->area.top, layout->title, true);
    char footer[64];
    snprintf(footer, sizeof footer, Text::PrintPageFooter, layout->page, layout->pages);
    Place(layout, LINE_FOOTER, layout->area.left, layout->area.bottom - layout->fonts->lineHeight[LINE_FOOTER],
          WideFrom1251(footer), true);
}

// Room for height more below the last line, on this page or a new one.
void MakeRoom(Layout* layout, int height)
{
    if (layout->page == 0 || (layout->y + height > BodyBottom(*layout) && layout->y > BodyTop(*layout)))
        StartPage(layout);
}

std::vector<std::wstring> Wrap(Layout* layout, LineKind kind, const std::wstring& text)
{
    SelectObject(layout->dc, layout->fonts->font[kind]);
    std::vector<std::wstring> lines = WrapLine(layout->dc, text, layout->area.right - layout->area.left);
    if (lines.empty())
        lines.push_back(std::wstring());
    return lines;
}

// keepBelow: the height that must follow on the same page (a heading's first lines).
void Paragraph(Layout* layout, LineKind kind, const std::wstring& text, int keepBelow = 0)
{
    std::vector<std::wstring> lines = Wrap(layout, kind, text);
    int height = layout->fonts->lineHeight[kind];
    for (size_t i = 0; i < lines.size(); i++) {
        MakeRoom(layout, height + (i + 1 == lines.size() ? keepBelow : 0));
        Place(layout, kind, layout->area.left, layout->y, lines[i], i + 1 == lines.size());
        layout->y += height;
    }
}

// Each line of a text as its own paragraph; tabs as four spaces.
void Text(Layout* layout, LineKind kind, const std::string& text1251)
{
    std::wstring text = WideFrom1251(text1251.c_str());
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        std::wstring line = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        for (size_t tab = line.find(L'\t'); tab != std::wstring::npos; tab = line.find(L'\t', tab))
            line.replace(tab, 1, L"    ");
        Paragraph(layout, kind, line);
        if (end == std::wstring::npos)
            break;
        start = end + (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n' ? 2 : 1);
    }
}

void Gap(Layout* layout)
{
    layout->y += layout->fonts->lineHeight[LINE_TEXT] / 2;
}

void Note(Layout* layout, const char* format, const std::string& fileName)
{
    char note[512];
    snprintf(note, sizeof note, format, fileName.c_str());
    Paragraph(layout, LINE_NOTE, WideFrom1251(note));
}

// The description, then the main text; a file that could not be read is a
// note in its place, a text shown cut is followed by one.
void FactTextsOn(Layout* layout, const FactTexts& texts)
{
    const std::string* parts[2][3] = { { &texts.description, &texts.unreadableDescription, &texts.cutDescription },
                                       { &texts.mainText, &texts.unreadableMainText, &texts.cutMainText } };
    for (const auto& part : parts) {
        if (!part[1]->empty()) {
            Note(layout, Text::ExportUnreadable, *part[1]);
        } else {
            Text(layout, LINE_TEXT, *part[0]);
            if (!part[2]->empty())
                Note(layout, Text::ExportCutText, *part[2]);
        }
        Gap(layout);
    }
}

}  // namespace

void MakePageFonts(HDC dc, PageFonts* fonts)
{
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    for (int kind = 0; kind < LINE_KINDS; kind++) {
        fonts->font[kind] =
            CreateFontW(-MulDiv(FONT_POINTS[kind], dpi, 72), 0, 0, 0, kind == LINE_HEADING ? FW_BOLD : FW_NORMAL,
                        kind == LINE_NOTE, FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, L"Times New Roman");
        HGDIOBJ old = SelectObject(dc, fonts->font[kind]);
        TEXTMETRICW metrics;
        GetTextMetricsW(dc, &metrics);
        fonts->lineHeight[kind] = metrics.tmHeight + metrics.tmExternalLeading;
        SelectObject(dc, old);
    }
}

void FreePageFonts(PageFonts* fonts)
{
    for (int kind = 0; kind < LINE_KINDS; kind++)
        DeleteObject(fonts->font[kind]);
}

std::vector<std::wstring> WrapLine(HDC dc, const std::wstring& text, int width)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        int fit = 0;
        SIZE size;
        GetTextExtentExPointW(dc, text.c_str() + start, (int)(text.size() - start), width, &fit, NULL, &size);
        size_t end = start + (fit > 0 ? (size_t)fit : 1);  // one character at least, however wide
        if (end < text.size()) {
            // At a space that did not fit, or back to the last one that did;
            // the space stays with its line.
            size_t space = text[end] == L' ' ? end : text.rfind(L' ', end - 1);
            if (space != std::wstring::npos && space >= start)
                end = space + 1;
        }
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

int LayOutBranch(HDC dc, const PageFonts& fonts, const RECT& area, const BranchOutline& outline,
                 const std::wstring& title, int pages, LineSink sink, void* context)
{
    HGDIOBJ old = SelectObject(dc, fonts.font[LINE_TEXT]);
    Layout layout = { dc, &fonts, area, title, pages, sink, context, 0, 0 };
    int headingHeight = fonts.lineHeight[LINE_HEADING], textHeight = fonts.lineHeight[LINE_TEXT];
    for (size_t i = 0; i < outline.entries.size(); i++) {
        const OutlineEntry& entry = outline.entries[i];
        // A heading keeps the headings below it and two lines of text with it.
        int keep = 2 * textHeight;
        for (size_t next = i + 1; next < outline.entries.size() && !outline.entries[next - 1].fact &&
                                  outline.entries[next].depth == outline.entries[next - 1].depth + 1;
             next++)
            keep += headingHeight;
        Paragraph(&layout, LINE_HEADING, WideFrom1251((entry.number + ". " + entry.name).c_str()), keep);
        if (entry.fact)
            FactTextsOn(&layout, ReadFactTexts(entry));
    }
    if (layout.page == 0)
        StartPage(&layout);
    SelectObject(dc, old);
    return layout.page;
}
