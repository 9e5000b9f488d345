#include "place_dialog.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../store/base_changes.h"
#include "../store/entry_name.h"
#include "../store/fact_shape.h"
#include "../store/path_slot.h"
#include "../ui/app_state.h"
#include "../ui/folder_list.h"
#include "../ui/following_lists.h"
#include "../watch/base_watch.h"
#include "../ui/platform_ui.h"

#include <string.h>
#include <set>
#include <string>

namespace {

struct PlaceRequest {
    const char* root;
    const char* current;
    char* chosen;
};

struct PlaceState {
    PlaceRequest* request;
    char root[SLOT_SIZE];
};

PlaceState* StateOf(HWND dialog)
{
    return (PlaceState*)GetWindowLongPtrW(dialog, DWLP_USER);
}

FolderCascade PlaceCascade(HWND dialog)
{
    FolderCascade cascade = { { IDC_CAPTURE_PLACE_SECTION_LIST, IDC_CAPTURE_PLACE_TOPIC_LIST,
                                IDC_CAPTURE_PLACE_SUBTOPIC_LIST, IDC_CAPTURE_PLACE_DIRECTIVE_LIST, 0 },
                              CATEGORY_LEVELS,
                              StateOf(dialog)->root };
    return cascade;
}

void ShowChosen(HWND dialog)
{
    char chosen[SLOT_SIZE];
    PlaceState* state = StateOf(dialog);
    bool composed = ComposeSelectionPath(dialog, PlaceCascade(dialog), CATEGORY_LEVELS, chosen) == SELECTION_COMPOSED;
    SetDlgItemText1251(dialog, IDC_CAPTURE_PLACE_CHOSEN, composed ? chosen + strlen(state->root) + 1 : "");
}

void FollowElsewhere(const BaseChange& change, void* context)
{
    HWND dialog = (HWND)context;
    if (StateOf(dialog)) {
        FollowListsElsewhere(dialog, PlaceCascade(dialog), change);
        ShowChosen(dialog);
    }
}

void OnInitDialog(HWND dialog, PlaceRequest* request)
{
    PlaceState* state = new PlaceState();
    state->request = request;
    SlotCopy(state->root, request->root);
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)state);
    ListenToBaseChanges(FollowElsewhere, dialog);
    FillFolderList(GetDlgItem(dialog, IDC_CAPTURE_PLACE_SECTION_LIST), state->root);
    if (request->current[0])
        SelectPath(dialog, PlaceCascade(dialog), request->current, CATEGORY_LEVELS);
    ShowChosen(dialog);
    ReportListFolders(dialog, PlaceCascade(dialog));
    SetCurrentDirectory1251(state->root);
}

void OnDestroy(HWND dialog)
{
    StopListeningToBaseChanges(FollowElsewhere, dialog);
    ShowingFolders(dialog, std::set<std::string>());
    delete StateOf(dialog);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

// The complaint for the first list without a choice, top down.
const char* MissingChoice(HWND dialog)
{
    const char* complaints[CATEGORY_LEVELS] = { Text::PlaceNoSection, Text::PlaceNoTopic, Text::PlaceNoSubtopic,
                                                Text::PlaceNoDirective };
    FolderCascade cascade = PlaceCascade(dialog);
    for (int level = 1; level <= CATEGORY_LEVELS; level++)
        if (SendDlgItemMessageW(dialog, cascade.listIds[level - 1], LB_GETCURSEL, 0, 0) < 0)
            return complaints[level - 1];
    return NULL;
}

void OnChoose(HWND dialog)
{
    PlaceState* state = StateOf(dialog);
    const char* missing = MissingChoice(dialog);
    if (missing) {
        Complain(dialog, missing);
        return;
    }
    char chosen[SLOT_SIZE];
    SelectionPath composed = ComposeSelectionPath(dialog, PlaceCascade(dialog), CATEGORY_LEVELS, chosen);
    SetCurrentDirectory1251(state->root);
    if (composed != SELECTION_COMPOSED) {
        Complain(dialog, Text::DirectivePathTooLong);
        return;
    }
    // A Directive reached through ".." lies outside the base.
    if (!PathPlainBelow(chosen, state->root)) {
        Complain(dialog, Text::OutsideBase);
        return;
    }
    SlotCopy(state->request->chosen, chosen);
    EndDialog(dialog, IDOK);
}

void OnCommand(HWND dialog, int id, int notification)
{
    if (!StateOf(dialog))
        return;
    int level = LevelOfList(PlaceCascade(dialog), id);
    if (level && notification == LBN_SELCHANGE) {
        FollowSelection(dialog, PlaceCascade(dialog), level);
        ShowChosen(dialog);
        ReportListFolders(dialog, PlaceCascade(dialog));
        return;
    }
    if (level == CATEGORY_LEVELS && notification == LBN_DBLCLK) {
        OnChoose(dialog);
        return;
    }
    switch (id) {
    case IDOK: OnChoose(dialog); break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
    default: break;
    }
}

INT_PTR CALLBACK PlaceDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog, (PlaceRequest*)lParam); return TRUE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    default: return FALSE;
    }
}

}  // namespace

bool AskCapturePlace(HWND owner, const char* root, const char* current, char* chosen)
{
    PlaceRequest request = { root, current, chosen };
    return DialogBoxParamW(App.AppInstance, MAKEINTRESOURCEW(IDD_CAPTURE_PLACE), owner, PlaceDialog,
                           (LPARAM)&request) == IDOK;
}
