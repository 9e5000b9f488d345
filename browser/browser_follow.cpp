// The browser following changes made elsewhere (by another program or
// another instance, as the watch on the base reports them): the lists that
// show a changed folder are filled again with their selection and scroll
// position kept, and the text on show is replaced when nothing was typed.
#include "browser_state.h"
#include "../resources/resource.h"
#include "../store/base_changes.h"
#include "../store/conflict_copy.h"
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

// The fact folder changed: its conflict copy is looked for again.
void LookAgainAtFact(HWND dialog, const char* factFolder)
{
    FolderCascade cascade = BrowserCascade(dialog);
    char directive[SLOT_SIZE];
    const char* name = strrchr(factFolder, '\\');
    if (!name || ComposeSelectionPath(dialog, cascade, DIRECTIVE_LEVEL, directive) != SELECTION_COMPOSED ||
        strlen(directive) != (size_t)(name - factFolder) || strncmp(directive, factFolder, name - factFolder) != 0)
        return;
    HWND list = GetDlgItem(dialog, IDC_BROWSER_FACT_LIST);
    int entry = EntryNamed(list, name + 1);
    if (entry >= 0)
        SetEntryMarks(list, entry, EntryMarks(list, entry) & ~ENTRY_LOOKED_AT);
}

}  // namespace

void MarkConflictCopies(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_BROWSER_FACT_LIST);
    int count = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    char directive[SLOT_SIZE] = "";
    int looked = 0;
    for (int i = 0; i < count; i++) {
        LRESULT marks = EntryMarks(list, i);
        if (marks & ENTRY_LOOKED_AT)
            continue;
        // A Directive of thousands of facts is looked through a share at a
        // time, the windows answering in between (each fact is a listing).
        if (looked == CONFLICT_LOOKS_AT_ONCE) {
            SetTimer(dialog, CONFLICT_TIMER, 1, NULL);
            break;
        }
        if (!directive[0] &&
            ComposeSelectionPath(dialog, BrowserCascade(dialog), DIRECTIVE_LEVEL, directive) != SELECTION_COMPOSED)
            break;
        char name[SLOT_SIZE];
        bool copy =
            FolderNameAt(list, i, name) == TEXT_FITS && FactHasConflictCopy(std::string(directive) + "\\" + name);
        SetEntryMarks(list, i, (copy ? marks | ENTRY_CONFLICT : marks & ~ENTRY_CONFLICT) | ENTRY_LOOKED_AT);
        looked++;
    }
    SetCurrentDirectory1251(StateOf(dialog)->root);
}

void FollowChangesElsewhere(const BaseChange& change, void* context)
{
    HWND dialog = (HWND)context;
    BrowserState* state = StateOf(dialog);
    if (!state || (change.kind != BASE_FOLDER_CHANGED && change.kind != BASE_ANYTHING_CHANGED))
        return;
    bool everything = change.kind == BASE_ANYTHING_CHANGED;
    if (!everything)
        LookAgainAtFact(dialog, change.folder);
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
    ShowMarksInLists(dialog);
    if (everything || ShownFileIn(state, change.folder))
        FollowShownFile(dialog);
}

void LookAgainAtLists(HWND dialog)
{
    BaseChange everything = { BASE_ANYTHING_CHANGED, StateOf(dialog)->root, NULL };
    FollowChangesElsewhere(everything, dialog);
}
