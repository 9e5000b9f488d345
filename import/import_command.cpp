#include "import_command.h"
#include "import_lines.h"
#include "import_run.h"
#include "../platform/console_text.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"
#include "../store/path_slot.h"

#include <windows.h>
#include <string>

namespace {

enum ExitCode { EXIT_DONE = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

static_assert(sizeof Text::ImportOutcomeLines / sizeof *Text::ImportOutcomeLines == IMPORT_OUTCOMES,
              "a line for every outcome");
static_assert(sizeof Text::ImportSkipReasons / sizeof *Text::ImportSkipReasons == IMPORT_SKIPS,
              "a reason for every skip");
static_assert(sizeof Text::ImportEncodings / sizeof *Text::ImportEncodings == SOURCE_ENCODINGS,
              "a name for every encoding");

std::wstring Number(int n)
{
    return std::to_wstring(n);
}

std::wstring Wide(const std::string& text1251)
{
    return WideFrom1251(text1251.c_str());
}

bool Narrow(const wchar_t* wide, std::string* narrow)
{
    char slot[MAX_PATH * 2];
    if (TextTo1251(wide, -1, slot, sizeof slot) != TEXT_FITS)
        return false;
    *narrow = slot;
    return true;
}

// The full path of source as the command line gave it.
std::wstring FullPath(const wchar_t* source)
{
    wchar_t full[32768];
    DWORD size = GetFullPathNameW(source, 32768, full, NULL);
    return size > 0 && size < 32768 ? std::wstring(full) : std::wstring(source);
}

}  // namespace

bool AsksForImport(int argc, wchar_t** argv)
{
    return argc >= 2 && lstrcmpW(argv[1], L"--import") == 0;
}

int RunImportCommand(int argc, wchar_t** argv)
{
    std::string below;
    char current[SLOT_SIZE];
    if (argc != 4 || !Narrow(argv[3], &below)) {
        SayOnConsole(Text::ImportUsage);
        return EXIT_USAGE;
    }
    if (GetCurrentDirectory1251(current, SLOT_SIZE) != TEXT_FITS) {
        SayOnConsole(Text::ImportRootUnusable);
        return EXIT_FAILED;
    }
    std::string root = current;
    for (char& c : below)
        if (c == '/')
            c = '\\';
    while (!below.empty() && below.back() == '\\')
        below.pop_back();
    std::string place = below.empty() ? root : (root.back() == '\\' ? root : root + "\\") + below;

    std::wstring source = FullPath(argv[2]);
    ImportPlan plan;
    switch (PlanImport(root, place, source, &plan)) {
    case PLAN_READY: break;
    case PLAN_NO_SOURCE: SayOnConsoleWide(FillImportText(Text::ImportNoSource, { argv[2] })); return EXIT_FAILED;
    case PLAN_BAD_PLACE: SayOnConsoleWide(FillImportText(Text::ImportBadPlace, { Wide(below) })); return EXIT_FAILED;
    }
    SayOnConsoleWide(FillImportText(Text::ImportHeader, { source, Wide(below), Number((int)plan.files.size()),
                                                Number(plan.taken), Number(plan.newCategories),
                                                Number(plan.existingCategories) }),
                     CONSOLE_OUTPUT);
    for (const ImportFile& file : plan.files)
        if (file.skip == IMPORT_TAKEN && file.guess.uncertain)
            SayOnConsoleWide(FillImportText(Text::ImportUncertain,
                                  { SourceFileShown(plan, file), Wide(Text::ImportEncodings[file.guess.encoding]) }),
                             CONSOLE_OUTPUT);

    ImportReport report;
    ImportRecord record;
    RunImport(plan, NULL, NULL, &report, &record);
    for (size_t i = 0; i < plan.files.size(); i++) {
        ImportOutcome outcome = report.files[i].outcome;
        if (outcome == OUTCOME_IMPORTED)
            continue;
        bool failed = outcome != OUTCOME_SKIPPED && outcome != OUTCOME_ALREADY_THERE && outcome != OUTCOME_DUPLICATE;
        SayOnConsoleWide(ImportReportLine(plan, plan.files[i], report.files[i]),
                         failed ? CONSOLE_ERRORS : CONSOLE_OUTPUT);
    }
    SayOnConsoleWide(ImportSummaryLine(report), CONSOLE_OUTPUT);
    return ImportSucceeded(report) ? EXIT_DONE : EXIT_FAILED;
}
