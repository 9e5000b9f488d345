#include "export_dialog.h"
#include "export_file.h"
#include "../platform/platform_text.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../ui/app_state.h"
#include "../ui/platform_ui.h"

#include <commdlg.h>
#include <shlobj.h>
#include <stdio.h>

bool (*AskExportTarget)(HWND owner, const char* name, std::wstring* target) = AskWithSaveDialog;

namespace {

// While a document is written, the windows keep answering: the progress
// window's messages and everyone's paints are handled between facts.
struct ExportRun {
    HWND progress;
    DWORD started;
    DWORD lastShown;
    bool cancelled;
};

}  // namespace

INT_PTR CALLBACK ExportProgressDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: SetWindowLongPtrW(dialog, DWLP_USER, lParam); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            ((ExportRun*)GetWindowLongPtrW(dialog, DWLP_USER))->cancelled = true;
        return TRUE;
    default: return FALSE;
    }
}

namespace {

bool OnProgress(int done, int total, void* context)
{
    ExportRun* run = (ExportRun*)context;
    DWORD now = GetTickCount();
    if (now - run->lastShown < 50 && done < total)
        return !run->cancelled;
    run->lastShown = now;
    // A short export never shows the window.
    if (now - run->started >= 300 && !IsWindowVisible(run->progress))
        ShowWindow(run->progress, SW_SHOW);
    char text[128];
    snprintf(text, sizeof text, Text::ExportProgress, done, total);
    SetDlgItemText1251(run->progress, IDC_EXPORT_PROGRESS, text);
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage((int)message.wParam);
            run->cancelled = true;
            break;
        }
        if (!IsDialogMessageW(run->progress, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return !run->cancelled;
}

void SayHowItWent(HWND owner, ExportResult result, const ExportReport& report)
{
    char text[512];
    switch (result) {
    case EXPORT_DONE:
        snprintf(text, sizeof text, Text::ExportDone, report.facts, report.unreadable);
        MessageBox1251(owner, text, Text::ExportDialogTitle, MB_OK);
        return;
    case EXPORT_CANCELLED: MessageBox1251(owner, Text::ExportCancelled, Text::ExportDialogTitle, MB_OK); return;
    case EXPORT_NO_BRANCH: Complain(owner, Text::ExportNoBranch); return;
    case EXPORT_INSIDE_BASE: Complain(owner, Text::ExportInsideBase); return;
    case EXPORT_WRITE_FAILED:
        snprintf(text, sizeof text, Text::ExportFailed, report.error);
        Complain(owner, text);
        return;
    }
}

}  // namespace

bool AskWithSaveDialog(HWND owner, const char* name, std::wstring* target)
{
    wchar_t file[MAX_PATH * 2] = L"";
    std::wstring suggested = WideFrom1251(name);
    lstrcpynW(file, suggested.c_str(), MAX_PATH);
    wchar_t documents[MAX_PATH] = L"";
    SHGetFolderPathW(NULL, CSIDL_PERSONAL, NULL, SHGFP_TYPE_CURRENT, documents);
    // Two file types, each "label\0pattern\0", the list ending in one more "\0".
    std::wstring filter = WideFrom1251(Text::ExportHtmlFilter) + L'\0' + L"*.html" + L'\0' +
                          WideFrom1251(Text::ExportTextFilter) + L'\0' + L"*.txt" + L'\0' + L'\0';
    std::wstring title = WideFrom1251(Text::ExportDialogTitle);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH * 2;
    dialog.lpstrInitialDir = documents[0] ? documents : NULL;
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = L"html";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&dialog))
        return false;
    *target = file;
    // The type chosen in the list gives the ending where the name has none of its own.
    std::string narrow(target->size() * 2 + 1, '\0');
    ExportFormat format;
    TextTo1251(target->c_str(), -1, &narrow[0], (int)narrow.size());
    if (!FormatOfFileName(narrow.c_str(), &format))
        *target += dialog.nFilterIndex == 2 ? L".txt" : L".html";
    return true;
}

void ExportWithDialog(HWND owner, const char* root, const char* folder, const char* name)
{
    std::wstring wideTarget;
    if (!AskExportTarget(owner, name, &wideTarget))
        return;
    char target[MAX_PATH * 2];
    ExportFormat format = EXPORT_HTML;
    if (TextTo1251(wideTarget.c_str(), -1, target, sizeof target) != TEXT_FITS || !FormatOfFileName(target, &format)) {
        Complain(owner, Text::ExportBadFormat);
        return;
    }
    ExportRun run = { NULL, GetTickCount(), 0, false };
    run.progress = CreateDialogParamW(App.AppInstance, MAKEINTRESOURCEW(IDD_EXPORT_PROGRESS), owner,
                                      ExportProgressDialog, (LPARAM)&run);
    // As a modal dialog would: nothing else of the program is used meanwhile.
    bool ownerWasEnabled = IsWindowEnabled(owner) != FALSE;
    bool mainWasEnabled = App.OwnerWindow && IsWindowEnabled(App.OwnerWindow);
    EnableWindow(owner, FALSE);
    if (App.OwnerWindow && App.OwnerWindow != owner)
        EnableWindow(App.OwnerWindow, FALSE);
    ExportReport report;
    ExportResult result = ExportBranch(root, folder, target, format, &report, OnProgress, &run);
    if (App.OwnerWindow && App.OwnerWindow != owner)
        EnableWindow(App.OwnerWindow, mainWasEnabled);
    EnableWindow(owner, ownerWasEnabled);
    DestroyWindow(run.progress);
    SetActiveWindow(owner);
    SayHowItWent(owner, result, report);
}
