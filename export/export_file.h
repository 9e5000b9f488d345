// A branch of the base written out as one document file, safely: into a
// temporary file beside the target, which replaces the target only once the
// document is complete. A cancel or a failure leaves no partial file and any
// earlier target untouched. UI-free.
#pragma once
#include "document_writer.h"
#include <string>

enum ExportResult {
    EXPORT_DONE,
    EXPORT_CANCELLED,
    EXPORT_NO_BRANCH,    // the branch is not a category or fact of the base, or is gone
    EXPORT_INSIDE_BASE,  // the target lies in the base, where it would be a stray file
    EXPORT_WRITE_FAILED  // the file could not be made or written (error says why)
};

struct ExportReport {
    int facts;       // facts written
    int unreadable;  // files that could not be read, each noted in its place
    DWORD error;     // EXPORT_WRITE_FAILED: the system's error code
};

// Called after each fact; false cancels the export.
typedef bool (*ExportProgress)(int done, int total, void* context);

// Whether path is the base root or lies below it, judged by what the folders
// are on disk, not by how path is spelled (a "\\?\" prefix, short names,
// "..", case, links): path and each folder above it, up to its volume's top,
// is compared with the root by identity. A path whose folders are not there
// yet is judged by the nearest folder above it that is.
bool InsideBase(const std::string& root, const std::string& path);

ExportResult ExportBranch(const std::string& root, const std::string& branch, const std::string& target,
                          ExportFormat format, ExportReport* report, ExportProgress progress = 0, void* context = 0);

// Reads a fact's two texts as the browser shows them.
FactTexts ReadFactTexts(const OutlineEntry& fact);
