#include "import_dialog.h"
#include "import_lines.h"
#include "import_plan.h"
#include "import_run.h"
#include "import_undo.h"
#include "../platform/platform_text.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../ui/app_state.h"
#include "../ui/platform_ui.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <string>
#include <vector>

bool (*AskImportFolder)(HWND owner, std::wstring* folder) = AskWithFolderDialog;

namespace {

// The window's part of the request: the plan it shows and may change the
// encodings of, and whether the run wrote anything.
struct ImportRequest {
    ImportPlan* plan;
    bool wrote;
};

enum Phase { PREVIEW, RUNNING, REPORTED };

struct ImportState {
    ImportRequest* request;
    Phase phase;
    bool cancelled;
    DWORD lastShown;
};

// The encodings a user may choose for a file whose guess is uncertain: the
// guess is only ever uncertain among the single-byte code pages.
const SourceEncoding CHOOSABLE[] = { SOURCE_1251, SOURCE_KOI8R, SOURCE_866 };

ImportState* StateOf(HWND dialog)
{
    return (ImportState*)GetWindowLongPtrW(dialog, DWLP_USER);
}

std::wstring Wide(const char* text1251)
{
    return WideFrom1251(text1251);
}

std::wstring Number(int n)
{
    return std::to_wstring(n);
}

std::wstring PreviewLine(const ImportPlan& plan, const ImportFile& file)
{
    std::wstring source = SourceFileShown(plan, file);
    if (file.skip != IMPORT_TAKEN)
        return FillImportText(Text::ImportPreviewSkipped, { source, Wide(Text::ImportSkipReasons[file.skip]) });
    std::wstring target = PathBelowRoot(plan.directives[file.directive], plan.root);
    std::wstring encoding = Wide(Text::ImportEncodings[file.guess.encoding]);
    if (file.guess.uncertain)
        encoding = Wide(Text::ImportUncertainMark) + encoding;
    return FillImportText(Text::ImportPreviewLine, { source, target, encoding });
}

void ShowPreviewCounts(HWND dialog, const ImportPlan& plan)
{
    int skipped = 0;
    for (int reason = 0; reason < IMPORT_SKIPS; reason++)
        skipped += plan.skipped[reason];
    std::wstring reasons;
    for (int reason = 0; reason < IMPORT_SKIPS; reason++) {
        if (!plan.skipped[reason])
            continue;
        if (!reasons.empty())
            reasons += Wide(Text::ImportPreviewSkipJoint);
        reasons += FillImportText(Text::ImportPreviewSkip,
                                  { Wide(Text::ImportSkipReasons[reason]), Number(plan.skipped[reason]) });
    }
    if (!reasons.empty())
        reasons = FillImportText(Text::ImportPreviewSkips, { reasons });
    std::wstring counts = FillImportText(Text::ImportPreviewCounts,
                                         { Number(plan.taken), Number(plan.newCategories),
                                           Number(plan.existingCategories), Number(skipped), reasons });
    SetDlgItemTextW(dialog, IDC_IMPORT_COUNTS, counts.c_str());
}

void FillPreview(HWND dialog, const ImportPlan& plan)
{
    HWND list = GetDlgItem(dialog, IDC_IMPORT_FILES);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    bool uncertain = false;
    for (const ImportFile& file : plan.files) {
        ListBoxInsertWide(list, -1, PreviewLine(plan, file));
        uncertain = uncertain || (file.skip == IMPORT_TAKEN && file.guess.uncertain);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
    const char* note = plan.taken == 0 ? Text::ImportNothingTaken : uncertain ? Text::ImportChooseEncoding : "";
    SetDlgItemText1251(dialog, IDC_IMPORT_PROGRESS, note);
}

// The first line of the file as encoding reads it, so that a wrong guess shows.
std::wstring SampleOf(const ImportFile& file, SourceEncoding encoding, bool* readable)
{
    std::string bytes;
    std::wstring text;
    bool tooLarge;
    *readable = ReadSourceFile(file.source, SourceBytesMax(), &bytes, &tooLarge) &&
                JudgeSourceText(bytes, encoding, &text) == IMPORT_TAKEN;
    return *readable ? DescriptionOf(text, file.markdown) : std::wstring();
}

int SelectedFile(HWND dialog)
{
    return (int)SendDlgItemMessageW(dialog, IDC_IMPORT_FILES, LB_GETCURSEL, 0, 0);
}

// The encoding box and the sample follow the selected file.
void OnFileSelected(HWND dialog)
{
    ImportState* state = StateOf(dialog);
    const ImportPlan& plan = *state->request->plan;
    int selected = SelectedFile(dialog);
    bool taken = state->phase == PREVIEW && selected >= 0 && selected < (int)plan.files.size() &&
                 plan.files[selected].skip == IMPORT_TAKEN;
    HWND box = GetDlgItem(dialog, IDC_IMPORT_ENCODING);
    int chosen = -1;
    std::wstring sample;
    if (taken) {
        const ImportFile& file = plan.files[selected];
        for (int i = 0; i < (int)(sizeof CHOOSABLE / sizeof *CHOOSABLE); i++)
            if (CHOOSABLE[i] == file.guess.encoding)
                chosen = i;
        bool readable;
        sample = SampleOf(file, file.guess.encoding, &readable);
        taken = file.guess.uncertain;
    }
    SendMessageW(box, CB_SETCURSEL, (WPARAM)chosen, 0);
    EnableWindow(box, taken && chosen >= 0);
    SetDlgItemTextW(dialog, IDC_IMPORT_SAMPLE, sample.c_str());
}

void OnEncodingChosen(HWND dialog)
{
    ImportState* state = StateOf(dialog);
    ImportPlan& plan = *state->request->plan;
    int selected = SelectedFile(dialog);
    int chosen = (int)SendDlgItemMessageW(dialog, IDC_IMPORT_ENCODING, CB_GETCURSEL, 0, 0);
    if (state->phase != PREVIEW || selected < 0 || selected >= (int)plan.files.size() || chosen < 0 ||
        chosen >= (int)(sizeof CHOOSABLE / sizeof *CHOOSABLE) || plan.files[selected].skip != IMPORT_TAKEN)
        return;
    ImportFile& file = plan.files[selected];
    bool readable;
    SampleOf(file, CHOOSABLE[chosen], &readable);
    if (!readable) {
        ComplainWide(dialog, FillImportText(Text::ImportEncodingRefused, { Wide(Text::ImportEncodings[CHOOSABLE[chosen]]) }));
        OnFileSelected(dialog);
        return;
    }
    file.guess.encoding = CHOOSABLE[chosen];
    HWND list = GetDlgItem(dialog, IDC_IMPORT_FILES);
    SendMessageW(list, LB_DELETESTRING, (WPARAM)selected, 0);
    ListBoxInsertWide(list, selected, PreviewLine(plan, file));
    SendMessageW(list, LB_SETCURSEL, (WPARAM)selected, 0);
    OnFileSelected(dialog);
}

void OnInitDialog(HWND dialog, ImportRequest* request)
{
    ImportState* state = new ImportState();
    state->request = request;
    state->phase = PREVIEW;
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)state);
    const ImportPlan& plan = *request->plan;
    std::wstring place = plan.place == plan.root ? Wide(Text::ImportIntoBase) : PathBelowRoot(plan.place, plan.root);
    SetDlgItemTextW(dialog, IDC_IMPORT_SOURCE, FillImportText(Text::ImportSourceLine, { plan.source, place }).c_str());
    // The file, its Directive and its encoding in columns (dialog units).
    int stops[] = { 170, 350 };
    SendDlgItemMessageW(dialog, IDC_IMPORT_FILES, LB_SETTABSTOPS, 2, (LPARAM)stops);
    HWND box = GetDlgItem(dialog, IDC_IMPORT_ENCODING);
    for (SourceEncoding encoding : CHOOSABLE)
        SendMessageW(box, CB_ADDSTRING, 0, (LPARAM)Wide(Text::ImportEncodings[encoding]).c_str());
    ShowPreviewCounts(dialog, plan);
    FillPreview(dialog, plan);
    EnableWindow(GetDlgItem(dialog, IDOK), plan.taken > 0);
}

void OnDestroy(HWND dialog)
{
    delete StateOf(dialog);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

// Between facts the windows keep answering, and ОТМЕНА can be pressed.
bool OnProgress(int done, int total, void* context)
{
    HWND dialog = (HWND)context;
    ImportState* state = StateOf(dialog);
    if (!state)
        return false;
    DWORD now = GetTickCount();
    if (done == 0 || now - state->lastShown >= 50) {
        state->lastShown = now;
        SetDlgItemTextW(dialog, IDC_IMPORT_PROGRESS,
                        FillImportText(Text::ImportProgress, { Number(done), Number(total) }).c_str());
    }
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage((int)message.wParam);
            if (StateOf(dialog))
                StateOf(dialog)->cancelled = true;
            break;
        }
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The window may have gone with its owner meanwhile.
    state = StateOf(dialog);
    return state && !state->cancelled;
}

void ShowReport(HWND dialog, const ImportPlan& plan, const ImportReport& report)
{
    SetDlgItemTextW(dialog, IDC_IMPORT_COUNTS, ImportSummaryLine(report).c_str());
    std::wstring progress =
        FillImportText(report.cancelled ? Text::ImportCancelledAt : Text::ImportProgress,
                       { Number(report.reached), Number(plan.taken) });
    SetDlgItemTextW(dialog, IDC_IMPORT_PROGRESS, progress.c_str());
    HWND list = GetDlgItem(dialog, IDC_IMPORT_FILES);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < plan.files.size(); i++)
        ListBoxInsertWide(list, -1, ImportReportLine(plan, plan.files[i], report.files[i]));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
    SetDlgItemText1251(dialog, IDC_IMPORT_SAMPLE, "");
    SetDlgItemText1251(dialog, IDCANCEL, Text::ImportClose);
}

void OnImport(HWND dialog)
{
    ImportState* state = StateOf(dialog);
    if (state->phase != PREVIEW)
        return;
    ImportRequest* request = state->request;
    state->phase = RUNNING;
    EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_IMPORT_ENCODING), FALSE);
    // As the window's owner is: nothing else of the program is used meanwhile.
    bool mainWasEnabled = App.OwnerWindow && IsWindowEnabled(App.OwnerWindow);
    if (App.OwnerWindow)
        EnableWindow(App.OwnerWindow, FALSE);
    ImportReport report;
    ImportRecord record;
    RunImport(*request->plan, OnProgress, dialog, &report, &record);
    if (App.OwnerWindow && IsWindow(App.OwnerWindow))
        EnableWindow(App.OwnerWindow, mainWasEnabled);
    RememberImportStep(record);
    request->wrote = !record.facts.empty() || !record.categories.empty();
    state = StateOf(dialog);
    if (!state)
        return;
    state->phase = REPORTED;
    ShowReport(dialog, *request->plan, report);
    SetFocus(GetDlgItem(dialog, IDCANCEL));
}

// ОТМЕНА closes the preview and the report; during the run it stops the
// import after the fact being written.
void OnCancel(HWND dialog)
{
    ImportState* state = StateOf(dialog);
    if (state->phase == RUNNING)
        state->cancelled = true;
    else
        EndDialog(dialog, IDCANCEL);
}

void OnCommand(HWND dialog, int id, int notification)
{
    if (!StateOf(dialog))
        return;
    switch (id) {
    case IDC_IMPORT_FILES:
        if (notification == LBN_SELCHANGE)
            OnFileSelected(dialog);
        break;
    case IDC_IMPORT_ENCODING:
        if (notification == CBN_SELCHANGE)
            OnEncodingChosen(dialog);
        break;
    case IDOK: OnImport(dialog); break;
    case IDCANCEL: OnCancel(dialog); break;
    default: break;
    }
}

bool AskWithBrowseForFolder(HWND owner, std::wstring* folder)
{
    std::wstring title = Wide(Text::ImportFolderTitle);
    BROWSEINFOW browse = {};
    browse.hwndOwner = owner;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
    if (!chosen)
        return false;
    wchar_t path[MAX_PATH];
    bool got = SHGetPathFromIDListW(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    if (got)
        *folder = path;
    return got;
}

}  // namespace

INT_PTR CALLBACK ImportDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog, (ImportRequest*)lParam); return TRUE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    default: return FALSE;
    }
}

bool AskWithFolderDialog(HWND owner, std::wstring* folder)
{
    IFileDialog* dialog = NULL;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, NULL, CLSCTX_INPROC_SERVER, IID_IFileDialog,
                                (void**)&dialog)))
        return AskWithBrowseForFolder(owner, folder);
    DWORD options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    std::wstring title = Wide(Text::ImportFolderTitle);
    dialog->SetTitle(title.c_str());
    bool chosen = false;
    IShellItem* item = NULL;
    if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(&item))) {
        PWSTR path = NULL;
        if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
            *folder = path;
            CoTaskMemFree(path);
            chosen = true;
        }
        item->Release();
    }
    dialog->Release();
    return chosen;
}

bool ImportWithDialog(HWND owner, const char* root, const char* place)
{
    std::wstring source;
    if (!AskImportFolder(owner, &source))
        return false;
    return ImportDroppedWithDialog(owner, root, place, { source });
}

bool ImportDroppedWithDialog(HWND owner, const char* root, const char* place, const std::vector<std::wstring>& paths)
{
    ImportPlan plan;
    // Every file is read once for the preview: a large folder takes a moment.
    HCURSOR was = SetCursor(LoadCursorW(NULL, (LPCWSTR)IDC_WAIT));
    PlanResult planned = PlanImportOfMany(root, place, paths, &plan);
    SetCursor(was);
    SetCurrentDirectory1251(root);
    switch (planned) {
    case PLAN_READY: break;
    case PLAN_NO_SOURCE:
        ComplainWide(owner, FillImportText(Text::ImportNoSource, { paths.empty() ? std::wstring() : paths[0] }));
        return false;
    case PLAN_BAD_PLACE:
        ComplainWide(owner, FillImportText(Text::ImportBadPlace, { PathBelowRoot(place, root) }));
        return false;
    }
    ImportRequest request = { &plan, false };
    DialogBoxParamW(App.AppInstance, MAKEINTRESOURCEW(IDD_IMPORT), owner, ImportDialog, (LPARAM)&request);
    SetCurrentDirectory1251(root);
    return request.wrote;
}
