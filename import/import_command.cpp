#include "import_command.h"
#include "import_run.h"
#include "../platform/console_text.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"
#include "../store/path_slot.h"

#include <windows.h>
#include <initializer_list>
#include <string>

namespace {

enum ExitCode { EXIT_DONE = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

static_assert(sizeof Text::ImportOutcomeLines / sizeof *Text::ImportOutcomeLines == IMPORT_OUTCOMES,
              "a line for every outcome");
static_assert(sizeof Text::ImportSkipReasons / sizeof *Text::ImportSkipReasons == IMPORT_SKIPS,
              "a reason for every skip");
static_assert(sizeof Text::ImportEncodings / sizeof *Text::ImportEncodings == SOURCE_ENCODINGS,
              "a name for every encoding");

// The format's "%s" in turn replaced by parts: names from elsewhere may hold
// what Windows-1251 cannot, so lines are made wide.
std::wstring Fill(const char* format, std::initializer_list<std::wstring> parts)
{
    std::wstring line = WideFrom1251(format);
    auto part = parts.begin();
    for (size_t at = line.find(L"%s"); at != std::wstring::npos && part != parts.end();
         at = line.find(L"%s", at), ++part) {
        line.replace(at, 2, *part);
        at += part->size();
    }
    return line;
}

std::wstring Number(int n)
{
    return std::to_wstring(n);
}

std::wstring Wide(const std::string& text1251)
{
    return WideFrom1251(text1251.c_str());
}

// A path as the user reads it: below the folder it was chosen in.
std::wstring Below(const std::wstring& path, const std::wstring& top)
{
    if (path.size() > top.size() && path.compare(0, top.size(), top) == 0)
        return path.substr(top.size() + (path[top.size()] == L'\\' ? 1 : 0));
    return path;
}

std::wstring BelowRoot(const std::string& path, const std::string& root)
{
    return Below(Wide(path), Wide(root));
}

std::wstring LineFor(const ImportPlan& plan, const ImportFile& file, const ImportFileResult& result)
{
    std::wstring source = Below(file.source, plan.source);
    if (source.empty())
        source = file.source;
    const char* format = Text::ImportOutcomeLines[result.outcome];
    std::wstring directive = file.directive >= 0 ? BelowRoot(plan.directives[file.directive], plan.root) : L"";
    switch (result.outcome) {
    case OUTCOME_SKIPPED: return Fill(format, { source, Wide(Text::ImportSkipReasons[file.skip]) });
    case OUTCOME_DUPLICATE:
        return Fill(format, { source, BelowRoot(result.factFolder, plan.root), BelowRoot(result.sameAs, plan.root) });
    case OUTCOME_ALREADY_THERE: return Fill(format, { source, BelowRoot(result.factFolder, plan.root) });
    case OUTCOME_MISMATCH: return Fill(format, { source, BelowRoot(result.factFolder, plan.root) });
    default: return Fill(format, { source, directive });
    }
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
    case PLAN_NO_SOURCE: SayOnConsoleWide(Fill(Text::ImportNoSource, { argv[2] })); return EXIT_FAILED;
    case PLAN_BAD_PLACE: SayOnConsoleWide(Fill(Text::ImportBadPlace, { Wide(below) })); return EXIT_FAILED;
    }
    SayOnConsoleWide(Fill(Text::ImportHeader, { source, Wide(below), Number((int)plan.files.size()),
                                                Number(plan.taken), Number(plan.newCategories),
                                                Number(plan.existingCategories) }),
                     CONSOLE_OUTPUT);
    for (const ImportFile& file : plan.files)
        if (file.skip == IMPORT_TAKEN && file.guess.uncertain)
            SayOnConsoleWide(Fill(Text::ImportUncertain,
                                  { Below(file.source, plan.source), Wide(Text::ImportEncodings[file.guess.encoding]) }),
                             CONSOLE_OUTPUT);

    ImportReport report;
    ImportRecord record;
    RunImport(plan, NULL, NULL, &report, &record);
    for (size_t i = 0; i < plan.files.size(); i++) {
        ImportOutcome outcome = report.files[i].outcome;
        if (outcome == OUTCOME_IMPORTED)
            continue;
        bool failed = outcome != OUTCOME_SKIPPED && outcome != OUTCOME_ALREADY_THERE && outcome != OUTCOME_DUPLICATE;
        SayOnConsoleWide(LineFor(plan, plan.files[i], report.files[i]), failed ? CONSOLE_ERRORS : CONSOLE_OUTPUT);
    }
    int imported = report.count[OUTCOME_IMPORTED] + report.count[OUTCOME_DUPLICATE];
    int notImported = report.count[OUTCOME_NAME_REFUSED] + report.count[OUTCOME_PLACE_FAILED] +
                      report.count[OUTCOME_WRITE_FAILED] + report.count[OUTCOME_MISMATCH] +
                      report.count[OUTCOME_SOURCE_CHANGED] + report.count[OUTCOME_NOT_REACHED];
    SayOnConsoleWide(Fill(Text::ImportSummary, { Number(imported), Number(report.count[OUTCOME_DUPLICATE]),
                                                 Number(report.count[OUTCOME_ALREADY_THERE]),
                                                 Number(report.count[OUTCOME_SKIPPED]), Number(notImported) }),
                     CONSOLE_OUTPUT);
    return ImportSucceeded(report) ? EXIT_DONE : EXIT_FAILED;
}
