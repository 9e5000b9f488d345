#include "following_lists.h"
#include "platform_ui.h"
#include "../store/path_slot.h"
#include "../watch/base_watch.h"

#include <set>
#include <string>

void FollowListsElsewhere(HWND dialog, const FolderCascade& cascade, const BaseChange& change)
{
    if (change.kind == BASE_FOLDER_CHANGED)
        FollowFolderChange(dialog, cascade, change.folder);
    else if (change.kind == BASE_ANYTHING_CHANGED)
        FollowFolderChange(dialog, cascade, NULL);
    ReportListFolders(dialog, cascade);
}

void ReportListFolders(HWND dialog, const FolderCascade& cascade)
{
    ShowingFolders(dialog, FoldersShownBy(dialog, cascade));
}

std::set<std::string> FoldersShownBy(HWND dialog, const FolderCascade& cascade)
{
    std::set<std::string> shown;
    for (int level = 1; level <= cascade.levels; level++) {
        char folder[SLOT_SIZE];
        if (ComposeSelectionPath(dialog, cascade, level - 1, folder) != SELECTION_COMPOSED)
            break;
        shown.insert(folder);
    }
    if (cascade.levels > 0)
        SetCurrentDirectory1251(cascade.root);
    return shown;
}
