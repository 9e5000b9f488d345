#include "folder_list.h"
#include "app_state.h"
#include "../store/fact_store.h"
#include "../store/path_slot.h"
#include "platform_ui.h"

#include <string>
#include <vector>

int LevelOfList(const FolderCascade& cascade, int listId)
{
    for (int level = 0; level < cascade.levels; level++)
        if (cascade.listIds[level] == listId)
            return level + 1;
    return 0;
}

bool FillFolderList(HWND list, const char* folder)
{
    std::vector<std::string> names;
    bool listed = ListSubfolders(folder, &names);
    // Each insertion would otherwise repaint and scroll the list: thousands
    // of folders took seconds that way.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_INITSTORAGE, names.size(), names.size() * 32);
    // Inserting at the end keeps the listing's order in a sorting list box.
    for (size_t i = 0; i < names.size(); i++)
        ListBoxInsert1251(list, -1, names[i].c_str());
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
    return listed;
}

SelectionPath ComposeSelectionPath(HWND dialog, const FolderCascade& cascade, int levels, char* path)
{
    SetCurrentDirectory1251(cascade.root);
    char composed[SLOT_SIZE];
    if (!SlotCopy(composed, cascade.root))
        return SELECTION_TOO_LONG;
    for (int level = 0; level < levels; level++) {
        HWND list = GetDlgItem(dialog, cascade.listIds[level]);
        int selected = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
        if (selected < 0)
            return SELECTION_MISSING;
        char name[SLOT_SIZE];
        if (ListBoxText1251(list, selected, name, SLOT_SIZE) != TEXT_FITS)
            return SELECTION_TOO_LONG;
        if (!SlotJoin(composed, composed, "\\", name))
            return SELECTION_TOO_LONG;
    }
    SlotCopy(path, composed);
    return SELECTION_COMPOSED;
}

void EmptyListsBelow(HWND dialog, const FolderCascade& cascade, int level)
{
    for (int below = level; below < cascade.levels; below++)
        SendDlgItemMessageW(dialog, cascade.listIds[below], LB_RESETCONTENT, 0, 0);
}

StepResult FollowSelection(HWND dialog, const FolderCascade& cascade, int level)
{
    EmptyListsBelow(dialog, cascade, level);
    char path[SLOT_SIZE];
    SelectionPath composed = ComposeSelectionPath(dialog, cascade, level, path);
    StepResult result = STEP_NOT_ENTERED;
    if (composed == SELECTION_MISSING) {
        result = STEP_IGNORED;
    } else if (composed == SELECTION_COMPOSED) {
        bool entered = SetCurrentDirectory1251(path);
        SlotCopy(App.LastFolderPath, path);
        // A folder removed since it was listed leaves the next list empty:
        // never show another folder's entries in its place.
        if (entered && level < cascade.levels) {
            FillFolderList(GetDlgItem(dialog, cascade.listIds[level]), path);
            result = STEP_FILLED;
        }
    }
    SetCurrentDirectory1251(cascade.root);
    return result;
}
