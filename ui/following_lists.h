// For a dialog whose picture of the base is its cascading lists (the
// category editor, the wizard's placement, the move dialog): following what
// others change, and telling the watch which folders it shows.
#pragma once
#include <windows.h>
#include "folder_list.h"
#include "../store/base_changes.h"

#include <set>
#include <string>

// The lists showing a folder that changed elsewhere are filled again,
// selection and scroll kept (FollowFolderChange). The program's own
// announcements are left to the dialog that made them.
void FollowListsElsewhere(HWND dialog, const FolderCascade& cascade, const BaseChange& change);

// The folders the lists show now, for the watch's poll; call after every
// list step, and with an empty cascade (levels 0) when the dialog closes.
void ReportListFolders(HWND dialog, const FolderCascade& cascade);

// The folders whose entries the lists show now, top first.
std::set<std::string> FoldersShownBy(HWND dialog, const FolderCascade& cascade);
