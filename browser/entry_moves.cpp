// Moving an entry of the browser's lists, through the move dialog or by
// Ctrl+X and Ctrl+V, and undoing the last renames, moves and imports.
#include "browser_state.h"
#include "../import/import_undo.h"
#include "../move/entry_move.h"
#include "../move/move_dialog.h"
#include "../move/undo_stack.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../store/base_changes.h"
#include "../ui/app_state.h"
#include "../ui/platform_ui.h"

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

// After a move or an undo: everything that pointed into the entry follows
// it, the others learn of it, and the lists show it at its new place. The
// text on show stays only when it is the moved fact's own.
void AfterMove(HWND dialog, const std::string& from, const std::string& to)
{
    BrowserState* state = StateOf(dialog);
    FollowEntry(dialog, from, to, false);
    AnnounceFolderMoved(from.c_str(), to.c_str());
    bool fact = LevelBelowRoot(state->root, to.c_str()) == FACT_LEVEL;
    if (state->ShownFileKind != SHOWN_NONE && !(fact && PathAtOrBelow(state->ShownFilePath, to.c_str())))
        ClearShownText(dialog);
    SelectFolder(dialog, to.c_str());
}

// A move through the store, its refusal told, its success followed.
bool MoveInto(HWND dialog, const char* folder, const char* target)
{
    std::string moved;
    MoveResult result = MoveEntry(StateOf(dialog)->root, folder, target, &moved);
    if (result != MOVE_DONE) {
        Complain(dialog, MoveComplaint(result));
        return false;
    }
    RememberStep(UNDO_MOVE, false, folder, moved.c_str());
    AfterMove(dialog, folder, moved);
    return true;
}

HWND ListWithFocus(HWND dialog, HWND focus, int* level)
{
    *level = LevelOfList(BrowserCascade(dialog), GetDlgCtrlID(focus));
    return *level && GetParent(focus) == dialog ? focus : NULL;
}

void CutSelectedEntry(HWND dialog, int level)
{
    char parent[SLOT_SIZE], name[SLOT_SIZE];
    if (!SelectedEntry(dialog, level, parent, name))
        return;
    if (level == 1) {
        Complain(dialog, Text::SectionCannotMove);
        return;
    }
    SlotJoin(StateOf(dialog)->CutFolder, parent, "\\", name);
    ShowMarksInLists(dialog);
}

// The marked entry goes into the folder whose entries the list shows.
void PasteCutEntry(HWND dialog, int level)
{
    BrowserState* state = StateOf(dialog);
    if (!state->CutFolder[0]) {
        Complain(dialog, Text::PasteNothingCut);
        return;
    }
    char target[SLOT_SIZE];
    SelectionPath composed = ComposeSelectionPath(dialog, BrowserCascade(dialog), level - 1, target);
    SetCurrentDirectory1251(state->root);
    if (composed != SELECTION_COMPOSED) {
        Complain(dialog, Text::MoveTargetMissing);
        return;
    }
    if (!MayLeaveText(dialog))
        return;
    // A refused paste keeps the mark, for another place.
    char cut[SLOT_SIZE];
    SlotCopy(cut, state->CutFolder);
    if (MoveInto(dialog, cut, target))
        state->CutFolder[0] = '\0';
    ShowMarksInLists(dialog);
}

bool ClearCutMark(HWND dialog)
{
    BrowserState* state = StateOf(dialog);
    if (!state->CutFolder[0])
        return false;
    state->CutFolder[0] = '\0';
    ShowMarksInLists(dialog);
    return true;
}

// What an import's undo left in place, one path a line, a dozen at most.
const size_t REFUSALS_SHOWN = 12;

std::string BelowRoot(const std::string& path, const char* root)
{
    size_t length = strlen(root);
    if (!PathAtOrBelow(path.c_str(), root) || path.size() <= length)
        return path;
    return path.substr(root[length - 1] == '\\' ? length : length + 1);
}

void AfterImportUndone(HWND dialog)
{
    BrowserState* state = StateOf(dialog);
    LookAgainAtLists(dialog);
    if (state->ShownFileKind != SHOWN_NONE && GetFileAttributes1251(state->ShownFilePath) == INVALID_FILE_ATTRIBUTES)
        ClearShownText(dialog);
    const std::vector<std::string>& refused = LastImportUndo().refused;
    if (refused.empty())
        return;
    std::string text = Text::UndoImportPartly;
    for (size_t i = 0; i < refused.size() && i < REFUSALS_SHOWN; i++)
        text += "\r\n" + BelowRoot(refused[i], state->root);
    if (refused.size() > REFUSALS_SHOWN) {
        char more[64];
        snprintf(more, sizeof more, Text::UndoImportMore, (int)(refused.size() - REFUSALS_SHOWN));
        text += std::string("\r\n") + more;
    }
    MessageBox1251(dialog, text.c_str(), Text::CaptionWarning, MB_OK);
}

}  // namespace

void MoveSelectedEntry(HWND dialog, int level)
{
    if (level == 1) {
        Complain(dialog, Text::SectionCannotMove);
        return;
    }
    char parent[SLOT_SIZE], name[SLOT_SIZE], folder[SLOT_SIZE];
    if (!SelectedEntry(dialog, level, parent, name) || !MayLeaveText(dialog) || !SlotJoin(folder, parent, "\\", name))
        return;
    MoveRequest request = { StateOf(dialog)->root, folder, "" };
    if (AskMove(dialog, &request) != IDOK)
        return;
    RememberStep(UNDO_MOVE, false, folder, request.newFolder);
    AfterMove(dialog, folder, request.newFolder);
}

std::string UndoMenuText()
{
    UndoStep step;
    if (!NewestStep(&step))
        return Text::MenuUndo;
    char text[SLOT_SIZE + 64];
    // An import's step is named by its source folder, a move's and a rename's by the entry's path.
    const char* name = step.kind == UNDO_IMPORT ? step.to : strrchr(step.to, '\\') + 1;
    const char* format = step.kind == UNDO_IMPORT ? Text::MenuUndoImport
                         : step.kind == UNDO_MOVE ? Text::MenuUndoMove
                                                  : Text::MenuUndoRename;
    snprintf(text, sizeof text, format, name);
    return text;
}

void UndoNewest(HWND dialog)
{
    if (!MayLeaveText(dialog))
        return;
    UndoStep step;
    const char* complaint = NULL;
    switch (UndoNewestStep(StateOf(dialog)->root, &step)) {
    case UNDO_DONE: break;
    case UNDO_PARTLY: break;
    case UNDO_NO_BIN: complaint = Text::UndoImportNoBin; break;
    case UNDO_NOTHING: complaint = Text::UndoNothing; break;
    case UNDO_ENTRY_GONE: complaint = Text::UndoEntryGone; break;
    case UNDO_PLACE_TAKEN: complaint = Text::UndoPlaceTaken; break;
    case UNDO_PLACE_GONE: complaint = Text::UndoPlaceGone; break;
    case UNDO_OUTSIDE: complaint = Text::OutsideBase; break;
    default: complaint = Text::UndoFailed; break;
    }
    if (complaint) {
        Complain(dialog, complaint);
        return;
    }
    if (step.kind == UNDO_IMPORT) {
        AfterImportUndone(dialog);
        return;
    }
    if (step.kind == UNDO_RENAME) {
        FollowEntry(dialog, step.to, step.from, step.fact);
        AnnounceFolderMoved(step.to, step.from);
        RefillAndSelect(dialog, LevelBelowRoot(StateOf(dialog)->root, step.from), ParentOf(step.from).c_str(),
                        strrchr(step.from, '\\') + 1);
        ShowMarksInLists(dialog);
        return;
    }
    AfterMove(dialog, step.to, step.from);
}

void ShowMarksInLists(HWND dialog)
{
    BrowserState* state = StateOf(dialog);
    MarkConflictCopies(dialog);
    if (!state->CutFolder[0] && !state->CutMarkShown)
        return;
    FolderCascade cascade = BrowserCascade(dialog);
    int cutLevel = state->CutFolder[0] ? LevelBelowRoot(state->root, state->CutFolder) : 0;
    for (int level = 1; level <= FACT_LEVEL; level++) {
        HWND list = GetDlgItem(dialog, cascade.listIds[level - 1]);
        char shown[SLOT_SIZE];
        bool showsParent = level == cutLevel &&
                           ComposeSelectionPath(dialog, cascade, level - 1, shown) == SELECTION_COMPOSED &&
                           ParentOf(state->CutFolder) == shown;
        ShowCutMark(list, showsParent ? strrchr(state->CutFolder, '\\') + 1 : NULL);
    }
    state->CutMarkShown = state->CutFolder[0] != '\0';
    SetCurrentDirectory1251(state->root);
}

BOOL OnDialogKey(HWND dialog, int key, bool control, HWND focus)
{
    if (key == VK_ESCAPE)
        return ClearCutMark(dialog);
    // The text view keeps its own Ctrl+X, Ctrl+V and Ctrl+Z.
    if (!control || GetDlgCtrlID(focus) == IDC_BROWSER_TEXT_VIEW || GetDlgCtrlID(focus) == IDC_BROWSER_ROOT_FIELD)
        return FALSE;
    int level = 0;
    HWND list = ListWithFocus(dialog, focus, &level);
    switch (key) {
    case 'Z': UndoNewest(dialog); return TRUE;
    case 'X':
        if (list)
            CutSelectedEntry(dialog, level);
        return list != NULL;
    case 'V':
        if (list && GetKeyState(VK_SHIFT) < 0)
            CaptureIntoSelectedDirective(dialog);
        else if (list)
            PasteCutEntry(dialog, level);
        return list != NULL;
    default: return FALSE;
    }
}
