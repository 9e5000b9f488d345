#include "folder_list.h"
#include "app_state.h"
#include "../store/entry_name.h"
#include "../store/fact_store.h"
#include "../store/path_slot.h"
#include "platform_ui.h"
#include "../resources/ui_strings.h"

#include <string.h>
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

namespace {

// The entry's text replaced in place, its selection and marks as given.
void ReplaceEntry(HWND list, int index, const char* text, LRESULT marks)
{
    int selected = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
    SendMessageW(list, LB_DELETESTRING, (WPARAM)index, 0);
    ListBoxInsert1251(list, index, text);
    SendMessageW(list, LB_SETITEMDATA, (WPARAM)index, marks);
    if (selected == index)
        SendMessageW(list, LB_SETCURSEL, (WPARAM)index, 0);
}

}  // namespace

LRESULT EntryMarks(HWND list, int index)
{
    LRESULT marks = SendMessageW(list, LB_GETITEMDATA, (WPARAM)index, 0);
    return marks == LB_ERR ? 0 : marks;
}

TextFit FolderNameAt(HWND list, int index, char* name)
{
    TextFit fit = ListBoxText1251(list, index, name, SLOT_SIZE);
    LRESULT marks = EntryMarks(list, index);
    if (fit != TEXT_FITS)
        return fit;
    size_t length = strlen(name);
    size_t suffix = strlen(Text::ConflictMark);
    if ((marks & ENTRY_CONFLICT) && length >= suffix && strcmp(name + length - suffix, Text::ConflictMark) == 0)
        name[length -= suffix] = '\0';
    if ((marks & ENTRY_CUT) && length >= 2) {
        memmove(name, name + 1, length - 2);
        name[length - 2] = '\0';
    }
    return fit;
}

void SetEntryMarks(HWND list, int index, LRESULT marks)
{
    LRESULT before = EntryMarks(list, index);
    const LRESULT shown = ENTRY_CUT | ENTRY_CONFLICT;
    char name[SLOT_SIZE];
    if ((before & shown) == (marks & shown) || FolderNameAt(list, index, name) != TEXT_FITS) {
        SendMessageW(list, LB_SETITEMDATA, (WPARAM)index, marks);
        return;
    }
    std::string text = (marks & ENTRY_CUT) ? "[" + std::string(name) + "]" : std::string(name);
    if (marks & ENTRY_CONFLICT)
        text += Text::ConflictMark;
    ReplaceEntry(list, index, text.c_str(), marks);
}

int EntryNamed(HWND list, const char* name)
{
    int count = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        char entry[SLOT_SIZE];
        if (FolderNameAt(list, i, entry) == TEXT_FITS && strcmp(entry, name) == 0)
            return i;
    }
    return -1;
}

void ShowCutMark(HWND list, const char* name)
{
    int count = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        char entry[SLOT_SIZE];
        if (FolderNameAt(list, i, entry) != TEXT_FITS)
            continue;
        LRESULT marks = EntryMarks(list, i);
        bool mark = name && strcmp(entry, name) == 0;
        SetEntryMarks(list, i, mark ? marks | ENTRY_CUT : marks & ~ENTRY_CUT);
    }
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
        if (FolderNameAt(list, selected, name) != TEXT_FITS)
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

namespace {

// False when the entry selected before is gone.
bool RefillKeepingSelection(HWND list, const char* folder)
{
    int selected = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
    int top = (int)SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    char name[SLOT_SIZE] = "";
    bool hadSelection = selected >= 0 && FolderNameAt(list, selected, name) == TEXT_FITS;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    FillFolderList(list, folder);
    int again = hadSelection ? EntryNamed(list, name) : -1;
    SendMessageW(list, LB_SETCURSEL, (WPARAM)again, 0);
    SendMessageW(list, LB_SETTOPINDEX, (WPARAM)top, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
    return !hadSelection || again >= 0;
}

}  // namespace

int FollowFolderChange(HWND dialog, const FolderCascade& cascade, const char* folder)
{
    int emptied = 0;
    for (int level = 1; level <= cascade.levels; level++) {
        char shown[SLOT_SIZE];
        if (ComposeSelectionPath(dialog, cascade, level - 1, shown) != SELECTION_COMPOSED)
            break;
        if (folder && strcmp(shown, folder) != 0)
            continue;
        if (!RefillKeepingSelection(GetDlgItem(dialog, cascade.listIds[level - 1]), shown)) {
            EmptyListsBelow(dialog, cascade, level);
            emptied = level;
            break;
        }
    }
    SetCurrentDirectory1251(cascade.root);
    return emptied;
}

int SelectPath(HWND dialog, const FolderCascade& cascade, const char* folder, int levels)
{
    size_t length = strlen(cascade.root);
    if (length == 0 || !PathPlainBelow(folder, cascade.root))
        return 0;
    // A drive's top ends in the separator that starts the first segment.
    std::string rest = folder + length + (cascade.root[length - 1] == '\\' ? 0 : 1);
    int level = 0;
    while (level < levels && level < cascade.levels && !rest.empty()) {
        size_t separator = rest.find('\\');
        std::string name = rest.substr(0, separator);
        rest = separator == std::string::npos ? std::string() : rest.substr(separator + 1);
        HWND list = GetDlgItem(dialog, cascade.listIds[level]);
        int entry = EntryNamed(list, name.c_str());
        if (entry < 0)
            break;
        SendMessageW(list, LB_SETCURSEL, (WPARAM)entry, 0);
        FollowSelection(dialog, cascade, ++level);
    }
    SetCurrentDirectory1251(cascade.root);
    return level;
}
