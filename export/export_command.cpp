#include "export_command.h"
#include "export_file.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"
#include "../store/path_slot.h"
#include "../store/text_encoding.h"

#include <windows.h>
#include <stdio.h>
#include <string>

namespace {

enum ExitCode { EXIT_DONE = 0, EXIT_USAGE = 2, EXIT_FAILED = 1 };

// A program without a console of its own writes to its parent's: to a
// console as text, to a pipe or file as UTF-8. The parent's console, once
// attached, is opened for each message and closed after it.
void Say(const char* text1251, DWORD which = STD_ERROR_HANDLE)
{
    HANDLE out = GetStdHandle(which);
    HANDLE opened = INVALID_HANDLE_VALUE;
    if (!out || out == INVALID_HANDLE_VALUE) {
        if (AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED)  // attached already
            opened = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
        out = opened;
    }
    if (!out || out == INVALID_HANDLE_VALUE)
        return;
    std::wstring wide = WideFrom1251(text1251) + L"\r\n";
    DWORD mode, written;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, wide.c_str(), (DWORD)wide.size(), &written, NULL);
    } else {
        std::string utf8 = EncodeText(wide, ENCODING_UTF8);
        WriteFile(out, utf8.data(), (DWORD)utf8.size(), &written, NULL);
    }
    if (opened != INVALID_HANDLE_VALUE)
        CloseHandle(opened);
}

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
        Say(Text::ExportUsage);
        return EXIT_USAGE;
    }
    if (!FormatOfFileName(target, &format)) {
        Say(Text::ExportBadFormat);
        return EXIT_USAGE;
    }
    if (GetCurrentDirectory1251(current, SLOT_SIZE) != TEXT_FITS) {
        Say(Text::ExportRootUnusable);
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
        Say(text, STD_OUTPUT_HANDLE);
        return EXIT_DONE;
    case EXPORT_NO_BRANCH: Say(Text::ExportNoBranch); return EXIT_FAILED;
    case EXPORT_INSIDE_BASE: Say(Text::ExportInsideBase); return EXIT_FAILED;
    case EXPORT_CANCELLED:
    case EXPORT_WRITE_FAILED:
        snprintf(text, sizeof text, Text::ExportFailed, report.error);
        Say(text);
        return EXIT_FAILED;
    }
    return EXIT_FAILED;
}
