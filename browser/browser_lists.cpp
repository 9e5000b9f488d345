// Walking the browser's five lists: a selection step per click, and the walk
// down to a fact that search found.
#include "browser_state.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../search/query.h"
#include "../search/text_fold.h"
#include "../move/entry_move.h"
#include "../store/entry_name.h"
#include "../ui/app_state.h"
#include "../ui/platform_ui.h"
#include "../ui/following_lists.h"
#include "../watch/base_watch.h"

#include <set>
#include <string.h>
#include <string>
#include <vector>

void RestoreSelection(HWND dialog, int level)
{
    SendDlgItemMessageW(dialog, BrowserCascade(dialog).listIds[level - 1], LB_SETCURSEL,
                        (WPARAM)StateOf(dialog)->Selection[level - 1], 0);
}

// The folders the lists show and the folder of the text on show: what a
// poll looks at when change events cannot be had.
void ReportShownFolders(HWND dialog)
{
    BrowserState* state = StateOf(dialog);
    std::set<std::string> shown = FoldersShownBy(dialog, BrowserCascade(dialog));
    if (state->ShownFileKind != SHOWN_NONE && strrchr(state->ShownFilePath, '\\'))
        shown.insert(std::string(state->ShownFilePath, strrchr(state->ShownFilePath, '\\')));
    ShowingFolders(dialog, shown);
}

void RememberSelections(HWND dialog)
{
    FolderCascade cascade = BrowserCascade(dialog);
    for (int level = 0; level < FACT_LEVEL; level++)
        StateOf(dialog)->Selection[level] =
            (int)SendDlgItemMessageW(dialog, cascade.listIds[level], LB_GETCURSEL, 0, 0);
    ReportShownFolders(dialog);
}

void OnCategoryList(HWND dialog, int level)
{
    if (!MayLeaveText(dialog)) {
        RestoreSelection(dialog, level);
        return;
    }
    ClearShownText(dialog);
    if (FollowSelection(dialog, BrowserCascade(dialog), level) == STEP_FILLED && level == CATEGORY_LEVELS)
        NoteDirectiveInUse(dialog);
}

void NoteDirectiveInUse(HWND dialog)
{
    char directive[SLOT_SIZE];
    if (ComposeSelectionPath(dialog, BrowserCascade(dialog), CATEGORY_LEVELS, directive) == SELECTION_COMPOSED &&
        PathPlainBelow(directive, StateOf(dialog)->root))
        SlotCopy(App.LastDirective, directive);
    SetCurrentDirectory1251(StateOf(dialog)->root);
}

void CaptureIntoSelectedDirective(HWND dialog, const std::wstring* dropped)
{
    char directive[SLOT_SIZE];
    bool selected = ComposeSelectionPath(dialog, BrowserCascade(dialog), CATEGORY_LEVELS, directive) ==
                    SELECTION_COMPOSED;
    SetCurrentDirectory1251(StateOf(dialog)->root);
    OpenQuickCapture(dialog, selected ? directive : NULL, dropped);
}

void OnTextDroppedOnFacts(HWND list, const std::wstring& text, void* context)
{
    (void)list;
    HWND dialog = (HWND)context;
    if (StateOf(dialog))
        CaptureIntoSelectedDirective(dialog, &text);
}

void OnFactList(HWND dialog, int notification)
{
    if (notification != LBN_SELCHANGE && notification != LBN_DBLCLK)
        return;
    if (!MayLeaveText(dialog)) {
        RestoreSelection(dialog, FACT_LEVEL);
        return;
    }
    ShowFactFile(dialog, notification == LBN_SELCHANGE ? SHOWN_DESCRIPTION : SHOWN_MAIN_TEXT);
}

void RefillAndSelect(HWND dialog, int level, const char* parent, const char* name)
{
    HWND list = GetDlgItem(dialog, BrowserCascade(dialog).listIds[level - 1]);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    FillFolderList(list, parent);
    SendMessageW(list, LB_SETCURSEL, (WPARAM)(name ? EntryNamed(list, name) : -1), 0);
    RememberSelections(dialog);
}

namespace {

// The view shows its selection only while it has the keyboard.
void SelectFirstMatch(HWND dialog, const char* query)
{
    HWND view = GetDlgItem(dialog, IDC_BROWSER_TEXT_VIEW);
    std::vector<char> text(TEXT_BUFFER_SIZE);
    if (GetDlgItemText1251(dialog, IDC_BROWSER_TEXT_VIEW, text.data(), TEXT_BUFFER_SIZE) != TEXT_FITS)
        return;
    size_t length = 0;
    size_t at = FirstMatch(ParseQuery(query), FoldText(text.data()), &length);
    if (at == std::string::npos)
        return;
    SetFocus(view);
    SendMessageW(view, EM_SETSEL, (WPARAM)at, (LPARAM)(at + length));
    SendMessageW(view, EM_SCROLLCARET, 0, 0);
}

}  // namespace

BOOL ShowFoundFact(HWND dialog, const FactToShow* fact)
{
    if (!MayLeaveText(dialog))
        return FALSE;
    FolderCascade cascade = BrowserCascade(dialog);
    BOOL shown = FALSE;
    for (int level = 1; level <= FACT_LEVEL; level++) {
        HWND list = GetDlgItem(dialog, cascade.listIds[level - 1]);
        const std::string& name = level < FACT_LEVEL ? fact->place.categories[level - 1] : fact->place.name;
        int entry = EntryNamed(list, name.c_str());
        if (entry < 0)
            break;
        SendMessageW(list, LB_SETCURSEL, (WPARAM)entry, 0);
        if (level < FACT_LEVEL) {
            ClearShownText(dialog);
            FollowSelection(dialog, cascade, level);
        } else {
            shown = ShowFactFile(dialog, SHOWN_MAIN_TEXT, true) || ShowFactFile(dialog, SHOWN_DESCRIPTION, true);
        }
    }
    SetCurrentDirectory1251(StateOf(dialog)->root);
    RememberSelections(dialog);
    ShowMarksInLists(dialog);
    if (shown)
        SelectFirstMatch(dialog, fact->query);
    return shown;
}

void SelectFolder(HWND dialog, const char* folder)
{
    BrowserState* state = StateOf(dialog);
    FolderCascade cascade = BrowserCascade(dialog);
    int level = LevelBelowRoot(state->root, folder);
    char parent[SLOT_SIZE];
    if (level > 0 && SelectPath(dialog, cascade, folder, level - 1) == level - 1 &&
        ComposeSelectionPath(dialog, cascade, level - 1, parent) == SELECTION_COMPOSED) {
        // The list that holds the entry is filled afresh: it is new there.
        RefillAndSelect(dialog, level, parent, strrchr(folder, '\\') + 1);
        // What lies below it is shown by a click, as after a rename: a
        // move then costs the same whatever the entry holds.
        EmptyListsBelow(dialog, cascade, level);
    }
    SetCurrentDirectory1251(state->root);
    RememberSelections(dialog);
}
