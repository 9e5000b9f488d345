#include "import_lines.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"

namespace {

std::wstring Number(int n)
{
    return std::to_wstring(n);
}

}  // namespace

std::wstring FillImportText(const char* format, std::initializer_list<std::wstring> parts)
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

std::wstring PathBelow(const std::wstring& path, const std::wstring& top)
{
    if (path.size() > top.size() && path.compare(0, top.size(), top) == 0)
        return path.substr(top.size() + (path[top.size()] == L'\\' ? 1 : 0));
    return path;
}

std::wstring PathBelowRoot(const std::string& path, const std::string& root)
{
    return PathBelow(WideFrom1251(path.c_str()), WideFrom1251(root.c_str()));
}

std::wstring SourceFileShown(const ImportPlan& plan, const ImportFile& file)
{
    std::wstring source = PathBelow(file.source, plan.source);
    return source.empty() ? file.source : source;
}

std::wstring ImportReportLine(const ImportPlan& plan, const ImportFile& file, const ImportFileResult& result)
{
    std::wstring source = SourceFileShown(plan, file);
    const char* format = Text::ImportOutcomeLines[result.outcome];
    std::wstring directive = file.directive >= 0 ? PathBelowRoot(plan.directives[file.directive], plan.root) : L"";
    switch (result.outcome) {
    case OUTCOME_SKIPPED:
        return FillImportText(format, { source, WideFrom1251(Text::ImportSkipReasons[file.skip]) });
    case OUTCOME_DUPLICATE:
        return FillImportText(format, { source, PathBelowRoot(result.factFolder, plan.root),
                                        PathBelowRoot(result.sameAs, plan.root) });
    case OUTCOME_ALREADY_THERE:
    case OUTCOME_MISMATCH: return FillImportText(format, { source, PathBelowRoot(result.factFolder, plan.root) });
    default: return FillImportText(format, { source, directive });
    }
}

std::wstring ImportSummaryLine(const ImportReport& report)
{
    int imported = report.count[OUTCOME_IMPORTED] + report.count[OUTCOME_DUPLICATE];
    int notImported = report.count[OUTCOME_NAME_REFUSED] + report.count[OUTCOME_PLACE_FAILED] +
                      report.count[OUTCOME_WRITE_FAILED] + report.count[OUTCOME_MISMATCH] +
                      report.count[OUTCOME_SOURCE_CHANGED] + report.count[OUTCOME_NOT_REACHED];
    return FillImportText(Text::ImportSummary,
                          { Number(imported), Number(report.count[OUTCOME_DUPLICATE]),
                            Number(report.count[OUTCOME_ALREADY_THERE]), Number(report.count[OUTCOME_SKIPPED]),
                            Number(notImported) });
}
