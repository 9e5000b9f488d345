#include "fact_base_dialog.h"
#include "../store/fact_shape.h"
#include "../categories/category_editor_dialog.h"
#include "../wizard/fact_placement_dialog.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../ui/app_state.h"
#include "../store/entry_name.h"
#include "../store/fact_store.h"
#include "../ui/folder_list.h"
#include "../ui/platform_ui.h"
#include "../ui/unsaved_text.h"
#include "../search/query.h"
#include "../search/search_service.h"
#include "../search/text_fold.h"
#include "../maintenance/rename_delete.h"
#include "../maintenance/rename_dialog.h"
#include <stdio.h>

#include <string.h>
#include <string>
#include <vector>

namespace {

enum ShownFile { SHOWN_NONE = 0, SHOWN_DESCRIPTION = 1, SHOWN_MAIN_TEXT = 2 };

// Where search opens what it found: the browser opened or activated last.
HWND LastBrowser = NULL;

// Each open browser has its own; a second browser never sees the first one's.
struct BrowserState {
    ShownFile ShownFileKind;           // which of the fact's files is on show
    char ShownFilePath[SLOT_SIZE];
    FileState ShownFileState;          // the file on show as it was read or last written
    TextFormat ShownFormat;            // its encoding, and whether the view lost characters of it
    int Selection[FACT_LEVEL];         // each list's selection after the last handled step
    HMENU ListMenu;
    HMENU ListPopup;
};

FolderCascade BrowserCascade()
{
    FolderCascade cascade = {
        { IDC_BROWSER_SECTION_LIST, IDC_BROWSER_TOPIC_LIST, IDC_BROWSER_SUBTOPIC_LIST,
          IDC_BROWSER_DIRECTIVE_LIST, IDC_BROWSER_FACT_LIST },
        FACT_LEVEL, App.BrowseRoot };
    return cascade;
}

BrowserState* StateOf(HWND dialog)
{
    return (BrowserState*)GetWindowLongPtrW(dialog, DWLP_USER);
}

void OnInitDialog(HWND dialog)
{
    BrowserState* state = new BrowserState();
    state->ShownFileKind = SHOWN_NONE;
    state->ShownFilePath[0] = '\0';
    state->ShownFileState = FileState();
    state->ShownFormat = TextFormat();
    for (int level = 0; level < FACT_LEVEL; level++)
        state->Selection[level] = -1;
    state->ListMenu = LoadMenuW(App.AppInstance, L"MENU_LIST");
    state->ListPopup = GetSubMenu(state->ListMenu, 0);
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)state);

    // A text read for showing may be one character longer than the edit's default limit allows.
    SendDlgItemMessageW(dialog, IDC_BROWSER_TEXT_VIEW, EM_SETLIMITTEXT, SHOWN_TEXT_MAX, 0);

    // A base root that cannot be held (too long, or a name outside Windows-1251)
    // leaves the lists empty rather than showing the folders of an older root.
    if (GetCurrentDirectory1251(App.BrowseRoot, SLOT_SIZE) != TEXT_FITS)
        return;
    SetDlgItemText1251(dialog, IDC_BROWSER_ROOT_FIELD, App.BrowseRoot);
    FillFolderList(GetDlgItem(dialog, IDC_BROWSER_SECTION_LIST), App.BrowseRoot);
    SlotCopy(App.LastFolderPath, App.BrowseRoot);
    SetCurrentDirectory1251(App.BrowseRoot);
}

void OnDestroy(HWND dialog)
{
    BrowserState* state = StateOf(dialog);
    if (!state)
        return;
    if (LastBrowser == dialog)
        LastBrowser = NULL;
    DestroyMenu(state->ListMenu);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    delete state;
}

// ---------------------------------------------------------------- typed text

bool TextEdited(HWND dialog)
{
    return StateOf(dialog)->ShownFileKind != SHOWN_NONE &&
           SendDlgItemMessageW(dialog, IDC_BROWSER_TEXT_VIEW, EM_GETMODIFY, 0, 0) != 0;
}

// Writes the view over the file on show. A file changed or removed since it
// was shown is replaced only when the user says so. False when nothing was
// written; the text then stays in the view.
bool StoreShownText(HWND dialog)
{
    BrowserState* state = StateOf(dialog);
    // Characters the view could not hold are in the file only: never write over them.
    if (state->ShownFormat.lossy) {
        Complain(dialog, Text::LostCharactersNotWritten);
        return false;
    }
    // Nor over what follows a NUL or 0x1A that ended the text on show.
    if (state->ShownFormat.cut) {
        Complain(dialog, Text::CutTextNotWritten);
        return false;
    }
    // A file reached through ".." lies outside the base, or at another place
    // than its path says: it is shown, never written.
    if (!PathPlainBelow(state->ShownFilePath, App.BrowseRoot)) {
        Complain(dialog, Text::OutsideBase);
        return false;
    }
    // The view holds at most a whole shown text, so the fetch takes all of it.
    std::vector<char> text(TEXT_BUFFER_SIZE);
    TextFit fetched = GetDlgItemText1251(dialog, IDC_BROWSER_TEXT_VIEW, text.data(), TEXT_BUFFER_SIZE);
    if (fetched == TEXT_NOT_1251) {
        Complain(dialog, Text::TextNot1251);
        return false;
    }
    WriteResult result = WRITE_FAILED;
    if (fetched == TEXT_FITS) {
        FileState written;
        TextEncoding encoding = state->ShownFormat.encoding;
        result = ReplaceTextFile(state->ShownFilePath, text.data(), &state->ShownFileState, &written, encoding);
        if (result == WRITE_CHANGED_ELSEWHERE || result == WRITE_GONE) {
            const char* question = result == WRITE_GONE ? Text::GoneElsewhere : Text::ChangedElsewhere;
            if (MessageBox1251(dialog, question, Text::CaptionWarning, MB_YESNO) != IDYES)
                return false;
            result = ReplaceTextFile(state->ShownFilePath, text.data(), NULL, &written, encoding);
        }
        if (result == WRITE_DONE) {
            char factFolder[SLOT_SIZE];
            if (SlotCopy(factFolder, state->ShownFilePath) && strrchr(factFolder, '\\')) {
                *strrchr(factFolder, '\\') = '\0';
                SearchIndexFactChanged(factFolder);
            }
            state->ShownFileState = written;
            SendDlgItemMessageW(dialog, IDC_BROWSER_TEXT_VIEW, EM_SETMODIFY, FALSE, 0);
            return true;
        }
    }
    MessageBox1251(NULL, Text::FileNotWritten, Text::CaptionFile, MB_OK);
    return false;
}

// Before the view's text is replaced or closed: true when the browser may go
// on (nothing typed, written, or dropped by the user), false to stay.
bool MayLeaveText(HWND dialog)
{
    if (!TextEdited(dialog))
        return true;
    switch (MessageBox1251(dialog, Text::UnsavedFactText, Text::CaptionWarning, MB_YESNOCANCEL)) {
    case IDYES: return StoreShownText(dialog);
    case IDNO:  return true;
    default:    return false;
    }
}

// The list box moved its selection before it told the dialog: put it back.
void RestoreSelection(HWND dialog, int level)
{
    SendDlgItemMessageW(dialog, BrowserCascade().listIds[level - 1], LB_SETCURSEL,
                        (WPARAM)StateOf(dialog)->Selection[level - 1], 0);
}

void RememberSelections(HWND dialog)
{
    FolderCascade cascade = BrowserCascade();
    for (int level = 0; level < FACT_LEVEL; level++)
        StateOf(dialog)->Selection[level] =
            (int)SendDlgItemMessageW(dialog, cascade.listIds[level], LB_GETCURSEL, 0, 0);
}

// ---------------------------------------------------------------- lists

void OnCategoryList(HWND dialog, int level)
{
    if (!MayLeaveText(dialog)) {
        RestoreSelection(dialog, level);
        return;
    }
    SetDlgItemText1251(dialog, IDC_BROWSER_TEXT_VIEW, Text::TextViewCleared);
    FollowSelection(dialog, BrowserCascade(), level);
    StateOf(dialog)->ShownFileKind = SHOWN_NONE;
}

// A click shows the fact's description, a double click its main text file.
// Quiet, a file that cannot be read is not reported. True when shown.
bool ShowFactFile(HWND dialog, ShownFile kind, bool quiet = false)
{
    BrowserState* state = StateOf(dialog);
    // Nothing is on show from here on until the new text is: a write-back
    // pressed meanwhile must not store the blanks over the old file.
    state->ShownFileKind = SHOWN_NONE;
    SetDlgItemText1251(dialog, IDC_BROWSER_TEXT_VIEW, Text::TextViewCleared);

    FolderCascade cascade = BrowserCascade();
    char factFolder[SLOT_SIZE];
    if (ComposeSelectionPath(dialog, cascade, FACT_LEVEL, factFolder) != SELECTION_COMPOSED)
        return false;
    SetCurrentDirectory1251(factFolder);
    SlotCopy(App.LastFolderPath, factFolder);

    char path[SLOT_SIZE];
    bool composed;
    if (kind == SHOWN_DESCRIPTION) {
        composed = DescriptionFilePath(factFolder, path);
    } else {
        HWND list = GetDlgItem(dialog, IDC_BROWSER_FACT_LIST);
        char factName[SLOT_SIZE];
        int selected = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
        composed = ListBoxText1251(list, selected, factName, SLOT_SIZE) == TEXT_FITS &&
                   MainTextFilePath(factFolder, factName, path);
    }
    std::vector<char> text(TEXT_BUFFER_SIZE);
    FileState fileState;
    TextFormat format;
    bool read = composed && ReadTextFile(path, text.data(), &fileState, &format) == READ_OK;
    SetCurrentDirectory1251(App.BrowseRoot);
    if (!read) {
        if (!quiet)
            MessageBox1251(NULL, kind == SHOWN_DESCRIPTION ? Text::DescriptionNotFound : Text::MainTextNotFound,
                           Text::CaptionOpeningFile, MB_OK);
        return false;
    }
    SlotCopy(state->ShownFilePath, path);
    state->ShownFileState = fileState;
    state->ShownFormat = format;
    SetDlgItemText1251(dialog, IDC_BROWSER_TEXT_VIEW, text.data());
    state->ShownFileKind = kind;
    if (format.cut)
        MessageBox1251(dialog, Text::CutTextShown, Text::CaptionWarning, MB_OK);
    else if (format.lossy)
        MessageBox1251(dialog, Text::LostCharactersShown, Text::CaptionWarning, MB_OK);
    return true;
}

void OnFactList(HWND dialog, int notification)
{
    if (notification != LBN_SELCHANGE && notification != LBN_DBLCLK)
        return;
    if (!MayLeaveText(dialog)) {
        RestoreSelection(dialog, FACT_LEVEL);
        return;
    }
    if (notification == LBN_SELCHANGE)
        ShowFactFile(dialog, SHOWN_DESCRIPTION);
    else if (notification == LBN_DBLCLK)
        ShowFactFile(dialog, SHOWN_MAIN_TEXT);
}

void WriteBack(HWND dialog)
{
    BrowserState* state = StateOf(dialog);
    if (state->ShownFileKind == SHOWN_NONE) {
        MessageBox1251(dialog, Text::SelectFactFirst, Text::CaptionChangeFact, MB_OK);
        return;
    }
    if (MessageBox1251(dialog, Text::ConfirmChange, Text::CaptionAttention, MB_OKCANCEL) != IDOK)
        return;
    StoreShownText(dialog);
}

void Close(HWND dialog)
{
    if (!MayLeaveText(dialog))
        return;
    SetCurrentDirectory1251(App.BrowseRoot);
    StateOf(dialog)->ShownFileKind = SHOWN_NONE;
    DestroyWindow(dialog);
}

// The browser gives way to another dialog, which starts from the same base root.
void ReplaceBy(HWND dialog, int templateId, DLGPROC procedure)
{
    if (!MayLeaveText(dialog))
        return;
    DestroyWindow(dialog);
    OpenDialog(templateId, procedure, App.OwnerWindow);
}

void ShowListPopup(HWND dialog, LPARAM lParam)
{
    POINT point = { (LONG)LOWORD(lParam), (LONG)HIWORD(lParam) };
    ClientToScreen(dialog, &point);
    TrackPopupMenu(StateOf(dialog)->ListPopup, 0, point.x, point.y, 0, dialog, NULL);
}

void RenameEntry(HWND dialog, int level);
void DeleteEntry(HWND dialog, int level);

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
            OnCategoryList(dialog, LevelOfList(BrowserCascade(), id));
        break;
    case IDC_BROWSER_FACT_LIST:   OnFactList(dialog, notification); break;
    case IDC_BROWSER_OPEN_FOLDER: OpenFolderInShell(App.LastFolderPath); return;
    case IDC_BROWSER_CHANGE_FACT: WriteBack(dialog); return;
    case IDCANCEL:                Close(dialog); return;
    case IDC_BROWSER_CREATE:
    case IDM_CREATE_CATEGORY:     ReplaceBy(dialog, IDD_CATEGORY_EDITOR, CategoryEditorDialog); return;
    case IDM_CREATE_FACT:         ReplaceBy(dialog, IDD_FACT_PLACEMENT, FactPlacementDialog); return;
    default:
        if (id >= IDM_RENAME_SECTION && id <= IDM_RENAME_FACT)
            RenameEntry(dialog, id - IDM_RENAME_SECTION + 1);
        else if (id >= IDM_DELETE_SECTION && id <= IDM_DELETE_FACT)
            DeleteEntry(dialog, id - IDM_DELETE_SECTION + 1);
        return;
    }
    // Every list notification, acted on or not, leaves the base root current.
    SetCurrentDirectory1251(App.BrowseRoot);
    RememberSelections(dialog);
}

// ---------------------------------------------------------------- a fact found by search

int EntryNamed(HWND list, const char* name)
{
    int count = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        char entry[SLOT_SIZE];
        if (ListBoxText1251(list, i, entry, SLOT_SIZE) == TEXT_FITS && strcmp(entry, name) == 0)
            return i;
    }
    return -1;
}

BOOL ShowFoundFact(HWND dialog, const FactToShow* fact)
{
    if (!MayLeaveText(dialog))
        return FALSE;
    FolderCascade cascade = BrowserCascade();
    BOOL shown = FALSE;
    for (int level = 1; level <= FACT_LEVEL; level++) {
        HWND list = GetDlgItem(dialog, cascade.listIds[level - 1]);
        int entry = EntryNamed(list, level < FACT_LEVEL ? fact->categories[level - 1] : fact->name);
        if (entry < 0)
            break;
        SendMessageW(list, LB_SETCURSEL, (WPARAM)entry, 0);
        if (level < FACT_LEVEL) {
            SetDlgItemText1251(dialog, IDC_BROWSER_TEXT_VIEW, Text::TextViewCleared);
            StateOf(dialog)->ShownFileKind = SHOWN_NONE;
            FollowSelection(dialog, cascade, level);
        } else {
            shown = ShowFactFile(dialog, SHOWN_MAIN_TEXT, true) || ShowFactFile(dialog, SHOWN_DESCRIPTION, true);
        }
    }
    SetCurrentDirectory1251(App.BrowseRoot);
    RememberSelections(dialog);
    if (shown) {
        HWND view = GetDlgItem(dialog, IDC_BROWSER_TEXT_VIEW);
        std::vector<char> text(TEXT_BUFFER_SIZE);
        size_t length = 0;
        size_t at = std::string::npos;
        if (GetDlgItemText1251(dialog, IDC_BROWSER_TEXT_VIEW, text.data(), TEXT_BUFFER_SIZE) == TEXT_FITS)
            at = FirstMatch(ParseQuery(fact->query), FoldText(text.data()), &length);
        if (at != std::string::npos) {
            // The view shows its selection only while it has the keyboard.
            SetFocus(view);
            SendMessageW(view, EM_SETSEL, (WPARAM)at, (LPARAM)(at + length));
            SendMessageW(view, EM_SCROLLCARET, 0, 0);
        }
    }
    return shown;
}

INT_PTR OnShowFact(HWND dialog, const FactToShow* fact)
{
    if (!StateOf(dialog))
        return FALSE;
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, ShowFoundFact(dialog, fact));
    return TRUE;
}

// ---------------------------------------------------------------- rename and delete

// The entry selected at level (1-5) and the folder that holds it; false,
// with a complaint, when nothing or ".." is selected there, or when the
// entry was reached through ".." and lies outside the base (the base root
// itself among such entries): only what lies below the base root changes.
bool SelectedEntry(HWND dialog, int level, char* parent, char* name)
{
    FolderCascade cascade = BrowserCascade();
    HWND list = GetDlgItem(dialog, cascade.listIds[level - 1]);
    int selected = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
    char entry[SLOT_SIZE];
    bool chosen = selected >= 0 && ListBoxText1251(list, selected, name, SLOT_SIZE) == TEXT_FITS &&
                  strcmp(name, "..") != 0 &&
                  ComposeSelectionPath(dialog, cascade, level - 1, parent) == SELECTION_COMPOSED;
    SetCurrentDirectory1251(App.BrowseRoot);
    if (!chosen) {
        Complain(dialog, Text::SelectEntryFirst);
        return false;
    }
    if (!SlotJoin(entry, parent, "\\", name) || !PathPlainBelow(entry, App.BrowseRoot)) {
        Complain(dialog, Text::OutsideBase);
        return false;
    }
    return true;
}

// A path slot that pointed into the renamed folder follows it.
void FollowRename(char* slot, const std::string& from, const std::string& to)
{
    if (PathAtOrBelow(slot, from.c_str()))
        SlotCopy(slot, (to + (slot + from.size())).c_str());
}

void RefillAndSelect(HWND dialog, int level, const char* parent, const char* name)
{
    HWND list = GetDlgItem(dialog, BrowserCascade().listIds[level - 1]);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    FillFolderList(list, parent);
    SendMessageW(list, LB_SETCURSEL, (WPARAM)(name ? EntryNamed(list, name) : -1), 0);
    RememberSelections(dialog);
}

void RenameEntry(HWND dialog, int level)
{
    char parent[SLOT_SIZE], name[SLOT_SIZE];
    if (!SelectedEntry(dialog, level, parent, name))
        return;
    RenameRequest request = { parent, name, level == FACT_LEVEL, "" };
    if (AskNewName(dialog, &request) != IDOK)
        return;
    RenameResult result = level == FACT_LEVEL ? RenameFact(App.BrowseRoot, parent, name, request.newName)
                                              : RenameCategory(App.BrowseRoot, parent, name, request.newName);
    if (result != RENAME_DONE) {
        Complain(dialog, result == RENAME_OUTSIDE ? Text::OutsideBase : Text::RenameFailed);
        return;
    }
    std::string from = std::string(parent) + "\\" + name, to = std::string(parent) + "\\" + request.newName;
    BrowserState* state = StateOf(dialog);
    if (level == FACT_LEVEL) {
        // The main text file took the new name inside the folder.
        std::string oldMain = from + "\\" + MainTextFileName(name);
        if (oldMain == state->ShownFilePath)
            SlotCopy(state->ShownFilePath, (from + "\\" + MainTextFileName(request.newName)).c_str());
    }
    char* followers[] = { state->ShownFilePath, App.LastFolderPath, App.DirectivePath, App.FactFolderPath };
    for (char* slot : followers)
        FollowRename(slot, from, to);
    SearchIndexFolderMoved(from.c_str(), to.c_str());
    RefillAndSelect(dialog, level, parent, request.newName);
}

void DeleteEntry(HWND dialog, int level)
{
    char parent[SLOT_SIZE], name[SLOT_SIZE];
    if (!SelectedEntry(dialog, level, parent, name) || !MayLeaveText(dialog))
        return;
    std::string folder = std::string(parent) + "\\" + name;
    char question[SLOT_SIZE + 256];
    if (level == FACT_LEVEL)
        snprintf(question, sizeof question, Text::ConfirmDeleteFact, name);
    else
        snprintf(question, sizeof question, Text::ConfirmDeleteCategory, name, CountFactsBelow(folder.c_str(), level));
    if (MessageBox1251(dialog, question, Text::CaptionDelete, MB_OKCANCEL) != IDOK)
        return;
    const char* refusal = NULL;
    switch (MoveToRecycleBin(App.BrowseRoot, folder.c_str())) {
    case RECYCLED:          break;
    case RECYCLE_CANCELLED: return;  // the user said no to the shell's own warning
    case RECYCLE_NO_BIN:    refusal = Text::RecycleRefused; break;
    case RECYCLE_OUTSIDE:   refusal = Text::OutsideBase; break;
    default:                refusal = Text::RecycleFailed; break;
    }
    if (refusal) {
        MessageBox1251(dialog, refusal, Text::CaptionDelete, MB_OK);
        return;
    }
    SearchIndexFolderMoved(folder.c_str(), NULL);
    EmptyListsBelow(dialog, BrowserCascade(), level);
    if (PathAtOrBelow(StateOf(dialog)->ShownFilePath, folder.c_str())) {
        SetDlgItemText1251(dialog, IDC_BROWSER_TEXT_VIEW, Text::TextViewCleared);
        StateOf(dialog)->ShownFileKind = SHOWN_NONE;
    }
    RefillAndSelect(dialog, level, parent, NULL);
}

// A right click on a list entry selects it as a left click would, then offers
// what can be done with it.
void OnListContextMenu(HWND dialog, HWND list, LPARAM lParam)
{
    FolderCascade cascade = BrowserCascade();
    int level = LevelOfList(cascade, GetDlgCtrlID(list));
    if (!level || GetDlgItem(dialog, cascade.listIds[level - 1]) != list)
        return;
    POINT point = { (short)LOWORD(lParam), (short)HIWORD(lParam) };
    POINT client = point;
    ScreenToClient(list, &client);
    LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    int entry = HIWORD(hit) ? -1 : (int)LOWORD(hit);
    if (entry >= 0 && entry != (int)SendMessageW(list, LB_GETCURSEL, 0, 0)) {
        SendMessageW(list, LB_SETCURSEL, (WPARAM)entry, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cascade.listIds[level - 1], LBN_SELCHANGE), (LPARAM)list);
        if ((int)SendMessageW(list, LB_GETCURSEL, 0, 0) != entry)
            return;  // the user chose to stay with an edited text
    }
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, IDM_RENAME_SECTION + level - 1, WideFrom1251(Text::MenuRename).c_str());
    AppendMenuW(menu, MF_STRING, IDM_DELETE_SECTION + level - 1, WideFrom1251(Text::MenuDelete).c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuW(menu, MF_STRING, IDC_BROWSER_OPEN_FOLDER, WideFrom1251(Text::MenuOpenFolder).c_str());
    TrackPopupMenu(menu, 0, point.x, point.y, 0, dialog, NULL);
    DestroyMenu(menu);
}

} // namespace

HWND MostRecentBrowser()
{
    return IsWindow(LastBrowser) ? LastBrowser : NULL;
}

INT_PTR CALLBACK FactBaseDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:  LastBrowser = dialog; OnInitDialog(dialog); return FALSE;
    case WM_ACTIVATE:    if (LOWORD(wParam) != WA_INACTIVE) LastBrowser = dialog; return FALSE;
    case WM_FACTS_SHOW_FACT: return OnShowFact(dialog, (const FactToShow*)lParam);
    case WM_COMMAND:     OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_RBUTTONDOWN: ShowListPopup(dialog, lParam); return FALSE;
    case WM_CONTEXTMENU: OnListContextMenu(dialog, (HWND)wParam, lParam); return TRUE;
    case WM_DESTROY:     OnDestroy(dialog); return FALSE;
    case WM_FACTS_CLOSE_QUERY: return StateOf(dialog) ? AnswerCloseQuery(dialog, MayLeaveText(dialog)) : FALSE;
    default:             return FALSE;
    }
}
