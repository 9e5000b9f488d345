// The lines an import tells the user, on the console or in its window:
// names from elsewhere may hold what Windows-1251 cannot, so they are wide.
// UI-free.
#pragma once
#include "import_run.h"
#include <initializer_list>
#include <string>

// The format's "%s" in turn replaced by parts.
std::wstring FillImportText(const char* format, std::initializer_list<std::wstring> parts);

// A path as the user reads it: below top (the folder it was chosen in, or
// the base root); the path itself when it lies elsewhere.
std::wstring PathBelow(const std::wstring& path, const std::wstring& top);
std::wstring PathBelowRoot(const std::string& path, const std::string& root);

// A file of the plan below the source the user chose.
std::wstring SourceFileShown(const ImportPlan& plan, const ImportFile& file);

// What became of one file of the plan.
std::wstring ImportReportLine(const ImportPlan& plan, const ImportFile& file, const ImportFileResult& result);

// The counts of the whole run: imported (duplicates among them), already
// there, skipped, not imported.
std::wstring ImportSummaryLine(const ImportReport& report);
