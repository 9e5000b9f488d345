#include "document_writer.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"
#include "../store/text_encoding.h"

#include <stdio.h>

namespace {

const size_t PIECE = 64 * 1024;

// Names and texts are data, never markup.
std::string Escaped(const std::string& utf8)
{
    std::string escaped;
    escaped.reserve(utf8.size() + 16);
    for (char c : utf8) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

// Lines as they stand in the text, whatever ends them (CR LF, LF or CR).
template <typename Line>
void EachLine(const std::string& text, Line line)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            line(text.substr(start));
            return;
        }
        line(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
}

std::string Anchor(const OutlineEntry& entry)
{
    std::string anchor = "n" + entry.number;
    for (char& c : anchor)
        if (c == '.')
            c = '-';
    return anchor;
}

std::string TitleOf(const BranchOutline& outline)
{
    return Utf8From1251(outline.title.empty() ? Text::ExportWholeBase : outline.title);
}

const char STYLE[] =
    "body { font-family: \"Times New Roman\", serif; font-size: 12pt; line-height: 1.35; margin: 2em auto; "
    "max-width: 48em; }\n"
    ".document-title { font-size: 20pt; font-weight: bold; margin-bottom: 1em; }\n"
    "nav ul { list-style: none; padding-left: 1.4em; margin: 0; }\n"
    "nav > ul { padding-left: 0; }\n"
    "nav a { text-decoration: none; }\n"
    ".description { font-style: italic; margin: 0.4em 0 0.8em 0; padding: 0.3em 0.8em; border-left: 3px solid #999; }\n"
    ".main-text { margin: 0 0 1.5em 0; }\n"
    ".note { color: #a00; }\n"
    ".summary { margin-top: 2em; color: #555; }\n"
    "h1, h2, h3, h4, h5 { page-break-after: avoid; break-after: avoid; }\n"
    "@media print {\n"
    "  body { margin: 0; max-width: none; }\n"
    "  h1 { page-break-before: always; break-before: page; }\n"
    "  .description, .main-text { orphans: 3; widows: 3; }\n"
    "}\n";

void HtmlText(DocumentOut* out, const char* cssClass, const std::string& text)
{
    Put(out, std::string("<div class=\"") + cssClass + "\">");
    bool first = true;
    EachLine(text, [&](const std::string& line) {
        Put(out, (first ? "" : "<br>\n") + Escaped(Utf8From1251(line)));
        first = false;
    });
    Put(out, "</div>\n");
}

std::string Note(const char* format, const std::string& name)
{
    char note[512];
    snprintf(note, sizeof note, format, name.c_str());
    return note;
}

void PlainText(DocumentOut* out, const std::string& text)
{
    EachLine(text, [&](const std::string& line) { Put(out, Utf8From1251(line) + "\r\n"); });
}

}  // namespace

bool FormatOfFileName(const std::string& fileName, ExportFormat* format)
{
    size_t dot = fileName.rfind('.');
    std::string ending = dot == std::string::npos ? std::string() : fileName.substr(dot + 1);
    for (char& c : ending)
        c = (char)tolower((unsigned char)c);
    if (ending == "html" || ending == "htm")
        *format = EXPORT_HTML;
    else if (ending == "txt")
        *format = EXPORT_TEXT;
    else
        return false;
    return true;
}

std::string Utf8From1251(const std::string& text)
{
    return EncodeText(WideFrom1251(text.c_str()), ENCODING_UTF8);
}

void Put(DocumentOut* out, const std::string& bytes)
{
    out->pending += bytes;
    if (out->pending.size() >= PIECE)
        Flush(out);
}

bool Flush(DocumentOut* out)
{
    if (out->error) {
        out->pending.clear();
        return false;
    }
    DWORD written = 0;
    if (!out->pending.empty() &&
        (!WriteFile(out->file, out->pending.data(), (DWORD)out->pending.size(), &written, NULL) ||
         written != out->pending.size()))
        out->error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    out->pending.clear();
    return out->error == 0;
}

void WriteDocumentStart(DocumentOut* out, ExportFormat format, const BranchOutline& outline)
{
    std::string title = TitleOf(outline);
    if (format == EXPORT_TEXT) {
        Put(out, "\xEF\xBB\xBF" + title + "\r\n\r\n");
        return;
    }
    Put(out, "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + Escaped(title) +
                 "</title>\n<style>\n" + STYLE + "</style>\n</head>\n<body>\n<div class=\"document-title\">" +
                 Escaped(title) + "</div>\n<nav>\n<div class=\"contents-title\">" + Utf8From1251(Text::ExportContents) +
                 "</div>\n");
    // The contents nest one list per level; an entry's list closes when a
    // shallower entry follows.
    int open = 0;
    for (const OutlineEntry& entry : outline.entries) {
        for (; open < entry.depth; open++)
            Put(out, "<ul>\n");
        for (; open > entry.depth; open--)
            Put(out, "</ul>\n");
        Put(out, "<li><a href=\"#" + Anchor(entry) + "\">" + Escaped(Utf8From1251(entry.name)) + "</a></li>\n");
    }
    for (; open > 0; open--)
        Put(out, "</ul>\n");
    Put(out, "</nav>\n");
}

void WriteHeading(DocumentOut* out, ExportFormat format, const OutlineEntry& entry)
{
    std::string name = Utf8From1251(entry.name);
    if (format == EXPORT_TEXT) {
        Put(out, entry.number + ". " + name + "\r\n");
        return;
    }
    std::string tag = "h" + std::to_string(entry.depth < 5 ? entry.depth : 5);
    Put(out, "<" + tag + " id=\"" + Anchor(entry) + "\">" + Escaped(name) + "</" + tag + ">\n");
}

void WriteFact(DocumentOut* out, ExportFormat format, const FactTexts& texts)
{
    struct Part {
        const char* cssClass;
        const std::string& text;
        const std::string& unreadable;
        const std::string& cut;
    };
    const Part parts[] = { { "description", texts.description, texts.unreadableDescription, texts.cutDescription },
                           { "main-text", texts.mainText, texts.unreadableMainText, texts.cutMainText } };
    for (const Part& part : parts) {
        // An unreadable file is a note in its place; a cut text is followed by one where it stops.
        std::string note = !part.unreadable.empty() ? Utf8From1251(Note(Text::ExportUnreadable, part.unreadable))
                           : !part.cut.empty()      ? Utf8From1251(Note(Text::ExportCutText, part.cut))
                                                    : std::string();
        bool textShown = part.unreadable.empty();
        if (format == EXPORT_TEXT) {
            if (textShown)
                PlainText(out, part.text);
            if (!note.empty())
                Put(out, note + "\r\n");
            Put(out, "\r\n");
            continue;
        }
        if (textShown)
            HtmlText(out, part.cssClass, part.text);
        if (!note.empty())
            Put(out, "<p class=\"note\">" + Escaped(note) + "</p>\n");
    }
}

void WriteDocumentEnd(DocumentOut* out, ExportFormat format, int facts, int unreadable)
{
    char summary[256];
    snprintf(summary, sizeof summary, Text::ExportSummary, facts, unreadable);
    if (format == EXPORT_TEXT)
        Put(out, Utf8From1251(summary) + "\r\n");
    else
        Put(out, "<p class=\"summary\">" + Escaped(Utf8From1251(summary)) + "</p>\n</body>\n</html>\n");
}
