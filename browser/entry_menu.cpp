// The browser's right-click menus and the commands that act on one entry of
// its lists: rename and delete, with the paths that follow them; export and
// print of the entry's branch; an import of a folder of texts into it.
#include "browser_state.h"
#include "../maintenance/rename_delete.h"
#include "../maintenance/rename_dialog.h"
#include "../move/undo_stack.h"
#include "../export/export_dialog.h"
#include "../import/import_dialog.h"
#include "../print/print_dialog.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../store/base_changes.h"
#include "../store/entry_name.h"
#include "../ui/app_state.h"
#include "../ui/platform_ui.h"

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

void RenameEntry(HWND dialog, int level);
void DeleteEntry(HWND dialog, int level);
void ExportEntry(HWND dialog, int level);
void PrintEntry(HWND dialog, int level);
void ImportInto(HWND dialog, int level);

// The commands of the entry menu (IDR_ENTRY_MENU): each has one id per
// level, the Section's first.
struct EntryCommand {
    int firstId;
    void (*run)(HWND dialog, int level);
};

const EntryCommand ENTRY_COMMANDS[] = {
    { IDM_RENAME_SECTION, RenameEntry }, { IDM_MOVE_SECTION, MoveSelectedEntry },
    { IDM_DELETE_SECTION, DeleteEntry }, { IDM_EXPORT_SECTION, ExportEntry },
    { IDM_PRINT_SECTION, PrintEntry }, { IDM_IMPORT_SECTION, ImportInto },
};

// The Section list's menu also offers the whole base; it runs as level 0.
struct WholeBaseCommand {
    int id;
    void (*run)(HWND dialog, int level);
};
const WholeBaseCommand WHOLE_BASE_COMMANDS[] = {
    { IDM_EXPORT_BASE, ExportEntry },
    { IDM_PRINT_BASE, PrintEntry },
    { IDM_IMPORT_BASE, ImportInto },
};

// Every menu of the browser is a popup of its resources, opened here: at a
// screen point, chosen with the left button, its command sent back to the
// browser as WM_COMMAND.
void TrackMenu(HWND dialog, HMENU menu, POINT screen)
{
    TrackPopupMenu(menu, 0, screen.x, screen.y, 0, dialog, NULL);
}

// The popup of the list at level, its undo item naming the step it would undo.
HMENU EntryMenuOf(HWND dialog, int level)
{
    HMENU menu = GetSubMenu(StateOf(dialog)->EntryMenu, level - 1);
    std::string undo = UndoMenuText();
    ModifyMenuW(menu, IDM_UNDO, MF_BYCOMMAND | MF_STRING | (undo == Text::MenuUndo ? MF_GRAYED : MF_ENABLED),
                IDM_UNDO, WideFrom1251(undo.c_str()).c_str());
    return menu;
}

void RenameEntry(HWND dialog, int level)
{
    BrowserState* state = StateOf(dialog);
    char parent[SLOT_SIZE], name[SLOT_SIZE];
    if (!SelectedEntry(dialog, level, parent, name))
        return;
    RenameRequest request = { parent, name, level == FACT_LEVEL, "" };
    if (AskNewName(dialog, &request) != IDOK)
        return;
    RenameResult result = level == FACT_LEVEL ? RenameFact(state->root, parent, name, request.newName)
                                              : RenameCategory(state->root, parent, name, request.newName);
    if (result != RENAME_DONE) {
        Complain(dialog, result == RENAME_OUTSIDE ? Text::OutsideBase : Text::RenameFailed);
        return;
    }
    std::string from = std::string(parent) + "\\" + name, to = std::string(parent) + "\\" + request.newName;
    FollowEntry(dialog, from, to, level == FACT_LEVEL);
    RememberStep(UNDO_RENAME, level == FACT_LEVEL, from.c_str(), to.c_str());
    AnnounceFolderMoved(from.c_str(), to.c_str());
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
    switch (MoveToRecycleBin(StateOf(dialog)->root, folder.c_str())) {
    case RECYCLED: break;
    case RECYCLE_CANCELLED: return;  // the user said no to the shell's own warning
    case RECYCLE_NO_BIN: refusal = Text::RecycleRefused; break;
    case RECYCLE_OUTSIDE: refusal = Text::OutsideBase; break;
    default: refusal = Text::RecycleFailed; break;
    }
    if (refusal) {
        MessageBox1251(dialog, refusal, Text::CaptionDelete, MB_OK);
        return;
    }
    AnnounceFolderRemoved(folder.c_str());
    EmptyListsBelow(dialog, BrowserCascade(dialog), level);
    if (PathAtOrBelow(StateOf(dialog)->ShownFilePath, folder.c_str()))
        ClearShownText(dialog);
    RefillAndSelect(dialog, level, parent, NULL);
}

// A document is made from what is on disk: typed text is saved or dropped first.
bool BranchToTakeOut(HWND dialog, int level, std::string* folder, std::string* name)
{
    BrowserState* state = StateOf(dialog);
    if (!MayLeaveText(dialog))
        return false;
    char parent[SLOT_SIZE], entry[SLOT_SIZE];
    if (level == 0) {
        *folder = state->root;
        *name = Text::ExportWholeBase;
        return true;
    }
    if (!SelectedEntry(dialog, level, parent, entry))
        return false;
    *folder = std::string(parent) + "\\" + entry;
    *name = entry;
    return true;
}

void ExportEntry(HWND dialog, int level)
{
    std::string folder, name;
    if (BranchToTakeOut(dialog, level, &folder, &name))
        ExportWithDialog(dialog, StateOf(dialog)->root, folder.c_str(), name.c_str());
    SetCurrentDirectory1251(StateOf(dialog)->root);
}

void PrintEntry(HWND dialog, int level)
{
    std::string folder, name;
    if (BranchToTakeOut(dialog, level, &folder, &name))
        PrintWithDialog(dialog, StateOf(dialog)->root, folder.c_str(), name.c_str());
    SetCurrentDirectory1251(StateOf(dialog)->root);
}

// Texts come into a category, never into a fact; the lists then show what
// came, as they would show a change made elsewhere.
void ImportInto(HWND dialog, int level)
{
    std::string folder, name;
    if (level > CATEGORY_LEVELS || !BranchToTakeOut(dialog, level, &folder, &name))
        return;
    bool wrote = ImportWithDialog(dialog, StateOf(dialog)->root, folder.c_str());
    // The program may have ended meanwhile, the browser with it.
    if (!StateOf(dialog))
        return;
    SetCurrentDirectory1251(StateOf(dialog)->root);
    if (wrote)
        LookAgainAtLists(dialog);
}

}  // namespace

void OnFilesDroppedOnFacts(HWND list, const std::vector<std::wstring>& paths, void* context)
{
    (void)list;
    HWND dialog = (HWND)context;
    if (!StateOf(dialog) || !MayLeaveText(dialog))
        return;
    char directive[SLOT_SIZE];
    bool selected = ComposeSelectionPath(dialog, BrowserCascade(dialog), CATEGORY_LEVELS, directive) ==
                    SELECTION_COMPOSED;
    SetCurrentDirectory1251(StateOf(dialog)->root);
    if (!selected) {
        Complain(dialog, Text::PlaceNoDirective);
        return;
    }
    bool wrote = ImportDroppedWithDialog(dialog, StateOf(dialog)->root, directive, paths);
    if (!StateOf(dialog))
        return;
    SetCurrentDirectory1251(StateOf(dialog)->root);
    if (wrote)
        LookAgainAtLists(dialog);
}

// The entry selected at level (1-5) and the folder that holds it; false,
// with a complaint, when nothing or ".." is selected there, or when the
// entry was reached through ".." and lies outside the base (the base root
// itself among such entries): only what lies below the base root changes.
bool SelectedEntry(HWND dialog, int level, char* parent, char* name)
{
    FolderCascade cascade = BrowserCascade(dialog);
    HWND list = GetDlgItem(dialog, cascade.listIds[level - 1]);
    int selected = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
    char entry[SLOT_SIZE];
    bool chosen = selected >= 0 && FolderNameAt(list, selected, name) == TEXT_FITS && strcmp(name, "..") != 0 &&
                  ComposeSelectionPath(dialog, cascade, level - 1, parent) == SELECTION_COMPOSED;
    SetCurrentDirectory1251(StateOf(dialog)->root);
    if (!chosen) {
        Complain(dialog, Text::SelectEntryFirst);
        return false;
    }
    if (!SlotJoin(entry, parent, "\\", name) || !PathPlainBelow(entry, StateOf(dialog)->root)) {
        Complain(dialog, Text::OutsideBase);
        return false;
    }
    return true;
}

void FollowEntry(HWND dialog, const std::string& from, const std::string& to, bool fact)
{
    BrowserState* state = StateOf(dialog);
    if (fact) {
        // A fact's main text file carries its name: renamed inside the folder.
        std::string oldMain = MainTextFileIn(from, from.substr(from.rfind('\\') + 1));
        if (oldMain == state->ShownFilePath)
            SlotCopy(state->ShownFilePath, MainTextFileIn(from, to.substr(to.rfind('\\') + 1)).c_str());
    }
    char* followers[] = { state->ShownFilePath, state->CutFolder, App.LastFolderPath, App.DirectivePath,
                          App.FactFolderPath };
    for (char* slot : followers)
        if (PathAtOrBelow(slot, from.c_str()))
            SlotCopy(slot, (to + (slot + from.size())).c_str());
}

void OnBackgroundClick(HWND dialog, LPARAM lParam)
{
    // Client coordinates as unsigned 16-bit values: the background lies right and below the origin.
    POINT point = { (LONG)LOWORD(lParam), (LONG)HIWORD(lParam) };
    ClientToScreen(dialog, &point);
    TrackMenu(dialog, StateOf(dialog)->ListPopup, point);
}

void OnContextMenu(HWND dialog, HWND window, LPARAM lParam)
{
    // Over the background, the menu opened on the button's press already.
    FolderCascade cascade = BrowserCascade(dialog);
    int level = LevelOfList(cascade, GetDlgCtrlID(window));
    if (!level || GetDlgItem(dialog, cascade.listIds[level - 1]) != window)
        return;
    HWND list = window;
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
    TrackMenu(dialog, EntryMenuOf(dialog, level), point);
}

bool RunEntryCommand(HWND dialog, int id)
{
    for (const WholeBaseCommand& command : WHOLE_BASE_COMMANDS) {
        if (id == command.id) {
            command.run(dialog, 0);
            return true;
        }
    }
    for (const EntryCommand& command : ENTRY_COMMANDS) {
        if (id >= command.firstId && id < command.firstId + FACT_LEVEL) {
            command.run(dialog, id - command.firstId + 1);
            return true;
        }
    }
    return false;
}
