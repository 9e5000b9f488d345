// The browser's procedure: opening, closing, and the dispatch of its
// messages to the part that handles them (browser_state.h).
#include "fact_base_dialog.h"
#include "browser_state.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../ui/text_drop.h"
#include "../ui/app_messages.h"
#include "../ui/app_state.h"
#include "../ui/dialog_doors.h"
#include "../ui/platform_ui.h"
#include "../ui/unsaved_text.h"
#include "../watch/base_watch.h"

namespace {

// Where search opens what it found: the browser opened or activated last.
HWND LastBrowser = NULL;

void OnInitDialog(HWND dialog)
{
    BrowserState* state = new BrowserState();
    state->ShownFileKind = SHOWN_NONE;
    for (int level = 0; level < FACT_LEVEL; level++)
        state->Selection[level] = -1;
    state->ListMenu = LoadMenuW(App.AppInstance, L"MENU_LIST");
    state->ListPopup = GetSubMenu(state->ListMenu, 0);
    state->EntryMenu = LoadMenuW(App.AppInstance, MAKEINTRESOURCEW(IDR_ENTRY_MENU));
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)state);
    ListenToBaseChanges(FollowChangesElsewhere, dialog);
    AcceptTextDrops(GetDlgItem(dialog, IDC_BROWSER_FACT_LIST), OnTextDroppedOnFacts, dialog, OnFilesDroppedOnFacts);

    // A text read for showing may be one character longer than the edit's default limit allows.
    SendDlgItemMessageW(dialog, IDC_BROWSER_TEXT_VIEW, EM_SETLIMITTEXT, SHOWN_TEXT_MAX, 0);

    // A base root that cannot be held (too long, or a name outside Windows-1251)
    // leaves the lists empty rather than showing the folders of an older root.
    if (GetCurrentDirectory1251(state->root, SLOT_SIZE) != TEXT_FITS) {
        state->root[0] = '\0';
        return;
    }
    SlotCopy(App.BrowseRoot, state->root);
    SetDlgItemText1251(dialog, IDC_BROWSER_ROOT_FIELD, state->root);
    FillFolderList(GetDlgItem(dialog, IDC_BROWSER_SECTION_LIST), state->root);
    SlotCopy(App.LastFolderPath, state->root);
    SetCurrentDirectory1251(state->root);
}

void OnDestroy(HWND dialog)
{
    BrowserState* state = StateOf(dialog);
    if (!state)
        return;
    if (LastBrowser == dialog)
        LastBrowser = NULL;
    StopListeningToBaseChanges(FollowChangesElsewhere, dialog);
    StopTextDrops(GetDlgItem(dialog, IDC_BROWSER_FACT_LIST));
    ShowingFolders(dialog, std::set<std::string>());
    DestroyMenu(state->ListMenu);
    DestroyMenu(state->EntryMenu);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    delete state;
}

void Close(HWND dialog)
{
    if (!MayLeaveText(dialog))
        return;
    SetCurrentDirectory1251(StateOf(dialog)->root);
    StateOf(dialog)->ShownFileKind = SHOWN_NONE;
    DestroyWindow(dialog);
}

// The browser gives way to another dialog, which starts from the same base root.
void ReplaceBy(HWND dialog, HWND (*open)(HWND owner))
{
    if (!MayLeaveText(dialog))
        return;
    DestroyWindow(dialog);
    open(App.OwnerWindow);
}

void OnCommand(HWND dialog, int id, int notification)
{
    if (!StateOf(dialog))
        return;
    switch (id) {
    case IDC_BROWSER_SECTION_LIST:
    case IDC_BROWSER_TOPIC_LIST:
    case IDC_BROWSER_SUBTOPIC_LIST:
    case IDC_BROWSER_DIRECTIVE_LIST:
        if (notification == LBN_SELCHANGE)
            OnCategoryList(dialog, LevelOfList(BrowserCascade(dialog), id));
        break;
    case IDC_BROWSER_FACT_LIST: OnFactList(dialog, notification); break;
    case IDC_BROWSER_OPEN_FOLDER: OpenFolderInShell(App.LastFolderPath); return;
    case IDC_BROWSER_CHANGE_FACT: WriteBack(dialog); return;
    case IDCANCEL: Close(dialog); return;
    case IDC_BROWSER_CREATE:
    case IDM_CREATE_CATEGORY: ReplaceBy(dialog, OpenCategoryEditor); return;
    case IDM_CREATE_FACT: ReplaceBy(dialog, OpenFactWizard); return;
    case IDM_UNDO: UndoNewest(dialog); return;
    case IDM_CAPTURE_FROM_CLIPBOARD: CaptureIntoSelectedDirective(dialog); return;
    default: RunEntryCommand(dialog, id); return;
    }
    // Every list notification, acted on or not, leaves the base root current.
    SetCurrentDirectory1251(StateOf(dialog)->root);
    RememberSelections(dialog);
    ShowMarksInLists(dialog);
}

INT_PTR OnKey(HWND dialog, WPARAM wParam, HWND focus)
{
    if (!StateOf(dialog))
        return FALSE;
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, OnDialogKey(dialog, LOWORD(wParam), HIWORD(wParam) != 0, focus));
    return TRUE;
}

INT_PTR OnShowFact(HWND dialog, const FactToShow* fact)
{
    if (!StateOf(dialog))
        return FALSE;
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, ShowFoundFact(dialog, fact));
    return TRUE;
}

}  // namespace

BrowserState* StateOf(HWND dialog)
{
    return (BrowserState*)GetWindowLongPtrW(dialog, DWLP_USER);
}

FolderCascade BrowserCascade(HWND dialog)
{
    FolderCascade cascade = { { IDC_BROWSER_SECTION_LIST, IDC_BROWSER_TOPIC_LIST, IDC_BROWSER_SUBTOPIC_LIST,
                                IDC_BROWSER_DIRECTIVE_LIST, IDC_BROWSER_FACT_LIST },
                              FACT_LEVEL,
                              StateOf(dialog)->root };
    return cascade;
}

HWND MostRecentBrowser()
{
    return IsWindow(LastBrowser) ? LastBrowser : NULL;
}

INT_PTR CALLBACK FactBaseDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        LastBrowser = dialog;
        OnInitDialog(dialog);
        return FALSE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            LastBrowser = dialog;
        return FALSE;
    case WM_FACTS_SHOW_FACT: return OnShowFact(dialog, (const FactToShow*)lParam);
    case WM_FACTS_DIALOG_KEY: return OnKey(dialog, wParam, (HWND)lParam);
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_RBUTTONDOWN:
        if (StateOf(dialog))
            OnBackgroundClick(dialog, lParam);
        return FALSE;
    case WM_CONTEXTMENU:
        if (StateOf(dialog))
            OnContextMenu(dialog, (HWND)wParam, lParam);
        return TRUE;
    case WM_TIMER:
        if (wParam != CONFLICT_TIMER)
            return FALSE;
        KillTimer(dialog, wParam);
        if (StateOf(dialog))
            MarkConflictCopies(dialog);
        return TRUE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    case WM_FACTS_CLOSE_QUERY: return StateOf(dialog) ? AnswerCloseQuery(dialog, MayLeaveText(dialog)) : FALSE;
    default: return FALSE;
    }
}
