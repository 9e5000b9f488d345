// The two documents a branch is exported as: a web page (UTF-8, its CSS
// inside, a linked table of contents, h1…h5 by depth) and a plain text
// (UTF-8 with a BOM, CR LF, numbered headings). Written as a stream: the
// outline first, then one fact's texts at a time. UI-free.
#pragma once
#include "branch_outline.h"
#include <windows.h>
#include <string>

enum ExportFormat { EXPORT_HTML, EXPORT_TEXT };

// The format a file name asks for by its ending (.html, .htm, .txt); false
// for any other.
bool FormatOfFileName(const std::string& fileName, ExportFormat* format);

// Bytes on their way to a file, in 64 KB pieces. The first failure is kept
// and everything after it is dropped.
struct DocumentOut {
    HANDLE file;
    std::string pending;
    DWORD error;  // 0 while every write succeeded
};
void Put(DocumentOut* out, const std::string& bytes);
bool Flush(DocumentOut* out);

// A fact's two texts as the browser shows them (Windows-1251); a file that
// could not be read has its name in unreadable instead, and a file whose text
// the browser shows cut (it stops at a NUL or 0x1A) has its name in cut.
struct FactTexts {
    std::string description, mainText;
    std::string unreadableDescription, unreadableMainText;  // file names, empty when read
    std::string cutDescription, cutMainText;                // file names, empty when read whole
};

void WriteDocumentStart(DocumentOut* out, ExportFormat format, const BranchOutline& outline);
void WriteHeading(DocumentOut* out, ExportFormat format, const OutlineEntry& entry);
void WriteFact(DocumentOut* out, ExportFormat format, const FactTexts& texts);
void WriteDocumentEnd(DocumentOut* out, ExportFormat format, int facts, int unreadable);

// Windows-1251 to UTF-8.
std::string Utf8From1251(const std::string& text);
