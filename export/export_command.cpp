#include "export_command.h"
#include "export_file.h"
#include "../platform/console_text.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"
#include "../store/path_slot.h"

#include <windows.h>
#include <stdio.h>
#include <string>

namespace {

enum ExitCode { EXIT_DONE = 0, EXIT_USAGE = 2, EXIT_FAILED = 1 };

bool Narrow(const wchar_t* wide, std::string* narrow)
{
    char slot[MAX_PATH * 2];
    if (TextTo1251(wide, -1, slot, sizeof slot) != TEXT_FITS)
        return false;
    *narrow = slot;
    return true;
}

}  // namespace

bool AsksForExport(int argc, wchar_t** argv)
{
    return argc >= 2 && lstrcmpW(argv[1], L"--export") == 0;
}

int RunExportCommand(int argc, wchar_t** argv)
{
    std::string below, target, root;
    ExportFormat format;
    char current[SLOT_SIZE];
    if (argc != 4 || !Narrow(argv[2], &below) || !Narrow(argv[3], &target)) {
        SayOnConsole(Text::ExportUsage);
        return EXIT_USAGE;
    }
    if (!FormatOfFileName(target, &format)) {
        SayOnConsole(Text::ExportBadFormat);
        return EXIT_USAGE;
    }
    if (GetCurrentDirectory1251(current, SLOT_SIZE) != TEXT_FITS) {
        SayOnConsole(Text::ExportRootUnusable);
        return EXIT_FAILED;
    }
    root = current;
    for (char& c : below)
        if (c == '/')
            c = '\\';
    while (!below.empty() && below.back() == '\\')
        below.pop_back();
    std::string branch = below.empty() ? root : (root.back() == '\\' ? root : root + "\\") + below;
    ExportReport report;
    char text[512];
    switch (ExportBranch(root, branch, target, format, &report)) {
    case EXPORT_DONE:
        snprintf(text, sizeof text, Text::ExportDone, report.facts, report.unreadable);
        SayOnConsole(text, CONSOLE_OUTPUT);
        return EXIT_DONE;
    case EXPORT_NO_BRANCH: SayOnConsole(Text::ExportNoBranch); return EXIT_FAILED;
    case EXPORT_INSIDE_BASE: SayOnConsole(Text::ExportInsideBase); return EXIT_FAILED;
    case EXPORT_CANCELLED:
    case EXPORT_WRITE_FAILED:
        snprintf(text, sizeof text, Text::ExportFailed, report.error);
        SayOnConsole(text);
        return EXIT_FAILED;
    }
    return EXIT_FAILED;
}
