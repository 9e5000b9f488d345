#include "move_dialog.h"
#include "entry_move.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../store/fact_shape.h"
#include "../ui/app_state.h"
#include "../ui/folder_list.h"
#include "../ui/platform_ui.h"
#include "../ui/following_lists.h"
#include "../watch/base_watch.h"

#include <string.h>
#include <string>

namespace {

struct MoveState {
    MoveRequest* request;
    char root[SLOT_SIZE];
    int level;  // the moved entry's
};

MoveState* StateOf(HWND dialog)
{
    return (MoveState*)GetWindowLongPtrW(dialog, DWLP_USER);
}

// Only the levels above the entry: a fact goes into a Directive, a Directive
// into a Subtopic, and so on.
FolderCascade MoveCascade(HWND dialog)
{
    MoveState* state = StateOf(dialog);
    FolderCascade cascade = { { IDC_MOVE_SECTION_LIST, IDC_MOVE_TOPIC_LIST, IDC_MOVE_SUBTOPIC_LIST,
                                IDC_MOVE_DIRECTIVE_LIST, 0 },
                              state->level - 1,
                              state->root };
    return cascade;
}

// The chosen folder below the base root, as the static under the lists shows it.
void ShowTarget(HWND dialog)
{
    char target[SLOT_SIZE];
    MoveState* state = StateOf(dialog);
    bool chosen = ComposeSelectionPath(dialog, MoveCascade(dialog), state->level - 1, target) == SELECTION_COMPOSED;
    SetDlgItemText1251(dialog, IDC_MOVE_TARGET, chosen ? target + strlen(state->root) + 1 : "");
}

// Others' changes to the folders the lists show.
void FollowElsewhere(const BaseChange& change, void* context)
{
    HWND dialog = (HWND)context;
    if (StateOf(dialog)) {
        FollowListsElsewhere(dialog, MoveCascade(dialog), change);
        ShowTarget(dialog);
    }
}

void OnInitDialog(HWND dialog, MoveRequest* request)
{
    MoveState* state = new MoveState();
    state->request = request;
    state->level = LevelBelowRoot(request->root, request->folder);
    SlotCopy(state->root, request->root);
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)state);
    ListenToBaseChanges(FollowElsewhere, dialog);
    int listIds[CATEGORY_LEVELS] = { IDC_MOVE_SECTION_LIST, IDC_MOVE_TOPIC_LIST, IDC_MOVE_SUBTOPIC_LIST,
                                     IDC_MOVE_DIRECTIVE_LIST };
    for (int level = 1; level <= CATEGORY_LEVELS; level++)
        EnableWindow(GetDlgItem(dialog, listIds[level - 1]), level < state->level);
    FillFolderList(GetDlgItem(dialog, IDC_MOVE_SECTION_LIST), state->root);
    // Opened at the entry's present place.
    SelectPath(dialog, MoveCascade(dialog), request->folder, state->level - 1);
    ShowTarget(dialog);
    SetCurrentDirectory1251(state->root);
}

void OnDestroy(HWND dialog)
{
    StopListeningToBaseChanges(FollowElsewhere, dialog);
    ShowingFolders(dialog, std::set<std::string>());
    delete StateOf(dialog);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

void OnMove(HWND dialog)
{
    MoveState* state = StateOf(dialog);
    char target[SLOT_SIZE];
    if (ComposeSelectionPath(dialog, MoveCascade(dialog), state->level - 1, target) != SELECTION_COMPOSED) {
        Complain(dialog, Text::MoveTargetMissing);
        return;
    }
    SetCurrentDirectory1251(state->root);
    std::string moved;
    MoveResult result = MoveEntry(state->root, state->request->folder, target, &moved);
    if (result != MOVE_DONE) {
        Complain(dialog, MoveComplaint(result));
        return;
    }
    SlotCopy(state->request->newFolder, moved.c_str());
    EndDialog(dialog, IDOK);
}

void OnCommand(HWND dialog, int id, int notification)
{
    if (!StateOf(dialog))
        return;
    int level = LevelOfList(MoveCascade(dialog), id);
    if (level && notification == LBN_SELCHANGE) {
        FollowSelection(dialog, MoveCascade(dialog), level);
        ShowTarget(dialog);
        ReportListFolders(dialog, MoveCascade(dialog));
        return;
    }
    switch (id) {
    case IDOK: OnMove(dialog); break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
    default: break;
    }
}

INT_PTR CALLBACK MoveDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog, (MoveRequest*)lParam); return TRUE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    default: return FALSE;
    }
}

}  // namespace

const char* MoveComplaint(int moveResult)
{
    switch (moveResult) {
    case MOVE_SAME_PLACE: return Text::MoveSamePlace;
    case MOVE_WRONG_LEVEL: return Text::MoveWrongLevel;
    case MOVE_TAKEN: return Text::MoveTaken;
    case MOVE_TOO_LONG: return Text::MoveTooLong;
    case MOVE_OUTSIDE: return Text::OutsideBase;
    case MOVE_IN_USE: return Text::MoveInUse;
    case MOVE_OTHER_VOLUME: return Text::MoveOtherVolume;
    case MOVE_GONE: return Text::MoveGone;
    default: return Text::MoveFailed;
    }
}

INT_PTR AskMove(HWND owner, MoveRequest* request)
{
    return DialogBoxParamW(App.AppInstance, MAKEINTRESOURCEW(IDD_MOVE), owner, MoveDialog, (LPARAM)request);
}
