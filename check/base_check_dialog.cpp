#include "base_check_dialog.h"
#include "base_check.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../store/base_changes.h"
#include "../ui/app_state.h"
#include "../store/path_slot.h"
#include "../ui/platform_ui.h"

#include <stdio.h>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// What the walk hands over to its dialog. Shared by the two, so that a
// dialog closed mid-walk leaves the thread something valid to stop at.
struct CheckRun {
    std::mutex lock;
    HWND dialog;                      // NULL once nobody listens
    std::vector<Finding> handedOver;  // not yet taken by the dialog
    size_t published;                 // of the walk's findings, how many were handed over
    int factsChecked;
    bool done;
    std::vector<std::string> folders;  // to walk again; empty: the whole base
};

struct CheckState {
    char root[SLOT_SIZE];
    std::shared_ptr<CheckRun> run;
    std::vector<Finding> findings;  // what the list shows, line by line
    int factsChecked;
    bool done;                         // the walk of the whole base ended
    bool rechecking;                   // the run walks changed folders again
    std::vector<std::string> changed;  // folders changed since the run began
    bool everythingChanged;
};

HWND OpenCheck = NULL;  // the one F6 brings forward

static_assert(sizeof Text::CheckKinds / sizeof *Text::CheckKinds == FINDING_KINDS, "a text for every kind of finding");

CheckState* StateOf(HWND dialog)
{
    return (CheckState*)GetWindowLongPtrW(dialog, DWLP_USER);
}

// Under the run's lock.
bool HandOver(CheckRun* run, const BaseCheck& check)
{
    if (!run->dialog)
        return false;
    for (; run->published < check.findings.size(); run->published++)
        run->handedOver.push_back(check.findings[run->published]);
    run->factsChecked = check.factsChecked;
    PostMessageW(run->dialog, WM_BASE_CHECK_PROGRESS, 0, 0);
    return true;
}

bool OnWalkProgress(const BaseCheck& check, void* context)
{
    CheckRun* run = (CheckRun*)context;
    std::lock_guard<std::mutex> hold(run->lock);
    return HandOver(run, check);
}

void WalkBase(std::shared_ptr<CheckRun> run, std::string root)
{
    BaseCheck check;
    if (run->folders.empty()) {
        CheckBase(root, &check, OnWalkProgress, run.get());
    } else {
        check.factsChecked = 0;
        for (const std::string& folder : run->folders)
            CheckFolder(root, folder, &check, OnWalkProgress, run.get());
    }
    std::lock_guard<std::mutex> hold(run->lock);
    run->done = true;
    HandOver(run.get(), check);
}

std::wstring RepeatLine(const Finding& finding)
{
    std::wstring line = WideFrom1251(Text::CheckRepeatLine);
    size_t first = line.find(L"%s");
    line.replace(first, 2, finding.below);
    line.replace(line.find(L"%s", first + finding.below.size()), 2, finding.sameAs);
    return line;
}

std::wstring FindingLine(const Finding& finding)
{
    if (finding.kind == FINDING_REPEAT)
        return RepeatLine(finding);
    char kind[128];
    if (finding.kind == FINDING_NOT_1251)
        snprintf(kind, sizeof kind, finding.fixable ? Text::CheckNot1251 : Text::CheckNot1251Lossy,
                 Text::CheckEncodings[finding.encoding]);
    else
        snprintf(kind, sizeof kind, "%s", Text::CheckKinds[finding.kind]);
    std::wstring line = WideFrom1251(kind) + L": " + finding.below;
    if (finding.kind == FINDING_CONFLICT_COPY)
        line += WideFrom1251(Text::CheckConflictBeside) + finding.original;
    return line;
}

void ShowStatus(HWND dialog)
{
    CheckState* state = StateOf(dialog);
    char status[160];
    if (state->done)
        snprintf(status, sizeof status, Text::CheckDone, state->factsChecked, (int)state->findings.size());
    else
        snprintf(status, sizeof status, Text::CheckRunning, state->factsChecked);
    SetDlgItemText1251(dialog, IDC_CHECK_STATUS, status);
}

void EnableButtons(HWND dialog)
{
    CheckState* state = StateOf(dialog);
    int selected = (int)SendDlgItemMessageW(dialog, IDC_CHECK_FINDINGS, LB_GETCURSEL, 0, 0);
    bool any = selected >= 0 && selected < (int)state->findings.size();
    EnableWindow(GetDlgItem(dialog, IDC_CHECK_FIX), any && state->findings[selected].fixable);
    EnableWindow(GetDlgItem(dialog, IDC_CHECK_OPEN_FOLDER), any);
}

// Long paths scroll sideways instead of being cut at the list's edge.
void WidenList(HWND list, const std::wstring& line)
{
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageW(list, WM_GETFONT, 0, 0));
    SIZE size = { 0, 0 };
    GetTextExtentPoint32W(dc, line.c_str(), (int)line.size(), &size);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    if (size.cx + 8 > (LONG)SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0))
        SendMessageW(list, LB_SETHORIZONTALEXTENT, (WPARAM)(size.cx + 8), 0);
}

void Detach(CheckState* state)
{
    if (!state->run)
        return;
    std::lock_guard<std::mutex> hold(state->run->lock);
    state->run->dialog = NULL;
}

void StartRun(HWND dialog, const std::vector<std::string>& folders)
{
    CheckState* state = StateOf(dialog);
    state->run = std::make_shared<CheckRun>();
    state->run->dialog = dialog;
    state->run->published = 0;
    state->run->factsChecked = 0;
    state->run->done = false;
    state->run->folders = folders;
    std::thread(WalkBase, state->run, std::string(state->root)).detach();
}

void StartCheck(HWND dialog)
{
    CheckState* state = StateOf(dialog);
    Detach(state);
    state->run.reset();
    state->findings.clear();
    state->factsChecked = 0;
    state->done = false;
    state->rechecking = false;
    state->changed.clear();
    state->everythingChanged = false;
    SendDlgItemMessageW(dialog, IDC_CHECK_FINDINGS, LB_RESETCONTENT, 0, 0);
    EnableButtons(dialog);
    // A base root that cannot be held is not walked.
    if (GetCurrentDirectory1251(state->root, SLOT_SIZE) != TEXT_FITS) {
        state->done = true;
        SetDlgItemText1251(dialog, IDC_CHECK_STATUS, Text::CheckRootUnusable);
        return;
    }
    ShowStatus(dialog);
    StartRun(dialog, std::vector<std::string>());
}

// What changed since the walk is walked again once the walk has ended: the
// findings there go, and what is found there now is added.
void CheckChangedFolders(HWND dialog)
{
    CheckState* state = StateOf(dialog);
    if (!state->done || state->rechecking || !state->root[0] || (state->changed.empty() && !state->everythingChanged))
        return;
    if (state->everythingChanged) {
        SetCurrentDirectory1251(state->root);
        StartCheck(dialog);
        return;
    }
    HWND list = GetDlgItem(dialog, IDC_CHECK_FINDINGS);
    for (size_t i = state->findings.size(); i-- > 0;) {
        for (const std::string& folder : state->changed) {
            if (FindingWithin(state->findings[i], folder)) {
                state->findings.erase(state->findings.begin() + i);
                SendMessageW(list, LB_DELETESTRING, (WPARAM)i, 0);
                break;
            }
        }
    }
    std::vector<std::string> folders;
    folders.swap(state->changed);
    state->rechecking = true;
    EnableButtons(dialog);
    StartRun(dialog, folders);
}

void OnBaseChange(const BaseChange& change, void* context)
{
    HWND dialog = (HWND)context;
    CheckState* state = StateOf(dialog);
    if (!state || change.kind == BASE_CHANGE_COMING || change.kind == BASE_CHANGE_OVER)
        return;
    if (change.kind == BASE_ANYTHING_CHANGED)
        state->everythingChanged = true;
    else
        state->changed.push_back(change.folder);
    if (change.kind == BASE_FOLDER_MOVED)
        state->changed.push_back(change.newFolder);
    CheckChangedFolders(dialog);
}

void TakeProgress(HWND dialog)
{
    CheckState* state = StateOf(dialog);
    if (!state->run)
        return;
    std::vector<Finding> arrived;
    bool ended;
    {
        std::lock_guard<std::mutex> hold(state->run->lock);
        arrived.swap(state->run->handedOver);
        ended = state->run->done;
        // A walk of changed folders adds findings, not facts: the count is the whole base's.
        if (state->run->folders.empty()) {
            state->factsChecked = state->run->factsChecked;
            state->done = ended;
        }
    }
    HWND list = GetDlgItem(dialog, IDC_CHECK_FINDINGS);
    for (const Finding& finding : arrived) {
        std::wstring line = FindingLine(finding);
        SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)line.c_str());
        WidenList(list, line);
        state->findings.push_back(finding);
    }
    if (ended) {
        state->rechecking = false;
        CheckChangedFolders(dialog);
    }
    ShowStatus(dialog);
}

void FixSelected(HWND dialog)
{
    CheckState* state = StateOf(dialog);
    HWND list = GetDlgItem(dialog, IDC_CHECK_FINDINGS);
    int selected = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected < 0 || selected >= (int)state->findings.size() || !state->findings[selected].fixable)
        return;
    Finding finding = state->findings[selected];
    switch (FixFinding(state->root, finding)) {
    case FIX_DONE:
        state->findings.erase(state->findings.begin() + selected);
        SendMessageW(list, LB_DELETESTRING, (WPARAM)selected, 0);
        if (selected >= (int)state->findings.size())
            selected = (int)state->findings.size() - 1;
        SendMessageW(list, LB_SETCURSEL, (WPARAM)selected, 0);
        // Whoever follows the base learns of a fact whose files changed or that went.
        if (!finding.factFolder.empty())
            AnnounceFactChanged(finding.factFolder.c_str());
        ShowStatus(dialog);
        break;
    case FIX_NOT_APPLICABLE: Complain(dialog, Text::CheckFixOutdated); break;
    case FIX_FAILED: Complain(dialog, Text::CheckFixFailed); break;
    }
    EnableButtons(dialog);
}

void OpenSelectedFolder(HWND dialog)
{
    CheckState* state = StateOf(dialog);
    int selected = (int)SendDlgItemMessageW(dialog, IDC_CHECK_FINDINGS, LB_GETCURSEL, 0, 0);
    if (selected >= 0 && selected < (int)state->findings.size())
        OpenFolderInShell(state->findings[selected].folder.c_str());
}

void OnInitDialog(HWND dialog)
{
    CheckState* state = new CheckState();
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)state);
    OpenCheck = dialog;
    ListenToBaseChanges(OnBaseChange, dialog);
    StartCheck(dialog);
}

void OnDestroy(HWND dialog)
{
    CheckState* state = StateOf(dialog);
    if (OpenCheck == dialog)
        OpenCheck = NULL;
    if (!state)
        return;
    StopListeningToBaseChanges(OnBaseChange, dialog);
    Detach(state);
    delete state;
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

void OnCommand(HWND dialog, int id, int notification)
{
    if (!StateOf(dialog))
        return;
    switch (id) {
    case IDC_CHECK_FINDINGS:
        if (notification == LBN_SELCHANGE)
            EnableButtons(dialog);
        break;
    case IDC_CHECK_FIX: FixSelected(dialog); break;
    case IDC_CHECK_OPEN_FOLDER: OpenSelectedFolder(dialog); break;
    case IDCANCEL: DestroyWindow(dialog); break;
    default: break;
    }
}

}  // namespace

void OpenOrRaiseBaseCheck(HWND owner)
{
    if (RaiseOpenDialog(OpenCheck, IDD_BASE_CHECK, BaseCheckDialog, owner) && StateOf(OpenCheck)->done)
        StartCheck(OpenCheck);
}

bool BaseCheckDone(HWND dialog)
{
    CheckState* state = StateOf(dialog);
    return state && state->done && !state->rechecking;
}

INT_PTR CALLBACK BaseCheckDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return TRUE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_BASE_CHECK_PROGRESS: TakeProgress(dialog); return TRUE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    default: return FALSE;
    }
}
