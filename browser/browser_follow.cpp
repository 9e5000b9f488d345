// The browser following changes made elsewhere (by another program or
// another instance, as the watch on the base reports them): the lists that
// show a changed folder are filled again with their selection and scroll
// position kept, and the text on show is replaced when nothing was typed.
#include "browser_state.h"
#include "../resources/resource.h"
#include "../store/base_changes.h"
#include "../resources/ui_strings.h"
#include "../ui/platform_ui.h"

#include <string.h>
#include <vector>

namespace {

// The text on show, read again when its file changed and nothing was typed;
// typed text is never replaced (the write-back then asks, as it always does).
void FollowShownFile(HWND dialog)
{
    BrowserState* state = StateOf(dialog);
    if (state->ShownFileKind == SHOWN_NONE ||
        CompareFileState(state->ShownFilePath, state->ShownFileState) == FILE_UNCHANGED)
        return;
    HWND view = GetDlgItem(dialog, IDC_BROWSER_TEXT_VIEW);
    if (SendMessageW(view, EM_GETMODIFY, 0, 0) != 0) {
        SetDlgItemText1251(dialog, IDC_BROWSER_NOTE, Text::ChangedElsewhereNote);
        return;
    }
    std::vector<char> text(TEXT_BUFFER_SIZE);
    FileState read;
    TextFormat format;
    if (ReadTextFile(state->ShownFilePath, text.data(), &read, &format) != READ_OK) {
        ClearShownText(dialog);
        return;
    }
    state->ShownFileState = read;
    state->ShownFormat = format;
    SetDlgItemText1251(dialog, IDC_BROWSER_TEXT_VIEW, text.data());
}

bool ShownFileIn(const BrowserState* state, const char* folder)
{
    const char* separator = strrchr(state->ShownFilePath, '\\');
    size_t length = separator ? (size_t)(separator - state->ShownFilePath) : 0;
    return state->ShownFileKind != SHOWN_NONE && strlen(folder) == length &&
           strncmp(state->ShownFilePath, folder, length) == 0;
}

}  // namespace

void FollowChangesElsewhere(const BaseChange& change, void* context)
{
    HWND dialog = (HWND)context;
    BrowserState* state = StateOf(dialog);
    if (!state || (change.kind != BASE_FOLDER_CHANGED && change.kind != BASE_ANYTHING_CHANGED))
        return;
    bool everything = change.kind == BASE_ANYTHING_CHANGED;
    FolderCascade cascade = BrowserCascade(dialog);
    int emptied = FollowFolderChange(dialog, cascade, everything ? NULL : change.folder);
    // The selected entry went elsewhere: its text goes too, unless typed into.
    char gone[SLOT_SIZE];
    if (emptied && ComposeSelectionPath(dialog, cascade, emptied - 1, gone) == SELECTION_COMPOSED &&
        state->ShownFileKind != SHOWN_NONE && PathAtOrBelow(state->ShownFilePath, gone) &&
        SendDlgItemMessageW(dialog, IDC_BROWSER_TEXT_VIEW, EM_GETMODIFY, 0, 0) == 0 &&
        GetFileAttributes1251(state->ShownFilePath) == INVALID_FILE_ATTRIBUTES)
        ClearShownText(dialog);
    SetCurrentDirectory1251(state->root);
    RememberSelections(dialog);
    if (state->CutFolder[0])
        ShowCutMarkInLists(dialog);
    if (everything || ShownFileIn(state, change.folder))
        FollowShownFile(dialog);
}
