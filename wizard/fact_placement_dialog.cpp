#include "fact_placement_dialog.h"
#include "../store/fact_shape.h"
#include "fact_description_dialog.h"
#include "wizard_run.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../ui/app_state.h"
#include "../store/entry_name.h"
#include "../ui/folder_list.h"
#include "../ui/platform_ui.h"
#include "../ui/following_lists.h"
#include "../watch/base_watch.h"

namespace {

FolderCascade PlacementCascade(WizardRun* run)
{
    FolderCascade cascade = { { IDC_PLACE_SECTION_LIST, IDC_PLACE_TOPIC_LIST, IDC_PLACE_SUBTOPIC_LIST,
                                IDC_PLACE_DIRECTIVE_LIST, 0 },
                              DIRECTIVE_LEVEL,
                              run->root };
    return cascade;
}

// Others' changes to the folders the lists show.
void FollowElsewhere(const BaseChange& change, void* context)
{
    HWND dialog = (HWND)context;
    if (WizardRun* run = WizardRunOf(dialog))
        FollowListsElsewhere(dialog, PlacementCascade(run), change);
}

void OnInitDialog(HWND dialog)
{
    WizardRun* run = AttachWizardRun(dialog);
    ListenToBaseChanges(FollowElsewhere, dialog);
    // A base root that cannot be held leaves the lists empty rather than
    // placing the fact below an older root.
    if (GetCurrentDirectory1251(run->root, SLOT_SIZE) != TEXT_FITS) {
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        return;
    }
    SlotCopy(App.CaptureRoot, run->root);
    FillFolderList(GetDlgItem(dialog, IDC_PLACE_SECTION_LIST), run->root);
    ReportListFolders(dialog, PlacementCascade(run));
}

void OnDestroy(HWND dialog)
{
    StopListeningToBaseChanges(FollowElsewhere, dialog);
    ShowingFolders(dialog, std::set<std::string>());
    DetachWizardRun(dialog);
}

// The Directive list composes the path of the chosen Directive, without
// entering it.
void OnDirectiveSelected(HWND dialog, WizardRun* run)
{
    char path[SLOT_SIZE];
    SelectionPath composed = ComposeSelectionPath(dialog, PlacementCascade(run), DIRECTIVE_LEVEL, path);
    if (composed == SELECTION_COMPOSED) {
        SlotCopy(run->DirectivePath, path);
        SlotCopy(App.DirectivePath, path);
        SlotCopy(App.LastDirective, path);
        SetDlgItemText1251(dialog, IDC_PLACE_DIRECTIVE_PATH, path);
    } else if (composed == SELECTION_TOO_LONG) {
        // No selection stays behind that "ВЫБРАТЬ" could take for this Directive.
        SendDlgItemMessageW(dialog, IDC_PLACE_DIRECTIVE_LIST, LB_SETCURSEL, (WPARAM)-1, 0);
        Complain(dialog, Text::DirectivePathTooLong);
    }
}

void OnChoose(HWND dialog, WizardRun* run)
{
    static const int lists[DIRECTIVE_LEVEL] = { IDC_PLACE_SECTION_LIST, IDC_PLACE_TOPIC_LIST, IDC_PLACE_SUBTOPIC_LIST,
                                                IDC_PLACE_DIRECTIVE_LIST };
    static const char* const missing[DIRECTIVE_LEVEL] = { Text::PlaceNoSection, Text::PlaceNoTopic,
                                                          Text::PlaceNoSubtopic, Text::PlaceNoDirective };
    for (int i = 0; i < DIRECTIVE_LEVEL; i++) {
        if (SendDlgItemMessageW(dialog, lists[i], LB_GETCURSEL, 0, 0) < 0) {
            Complain(dialog, missing[i]);
            return;
        }
    }
    // A Directive reached through ".." lies outside the base: no fact goes there.
    if (!PathPlainBelow(run->DirectivePath, run->root)) {
        Complain(dialog, Text::OutsideBase);
        return;
    }
    HandOverWizardRun(run);
    DestroyWindow(dialog);
    OpenDialog(IDD_FACT_DESCRIPTION, FactDescriptionDialog, App.OwnerWindow);
}

void OnOpenDirective(HWND dialog, WizardRun* run)
{
    if (SlotEquals(run->DirectivePath, Text::UnsetPath))
        Complain(dialog, Text::DirectiveNotChosen);
    else
        OpenFolderInShell(run->DirectivePath);
}

void OnCommand(HWND dialog, int id, int notification)
{
    WizardRun* run = WizardRunOf(dialog);
    if (!run)
        return;
    char root[SLOT_SIZE];
    SlotCopy(root, run->root);  // the run is gone once the dialog is
    switch (id) {
    case IDC_PLACE_SECTION_LIST:
    case IDC_PLACE_TOPIC_LIST:
    case IDC_PLACE_SUBTOPIC_LIST:
        if (notification == LBN_SELCHANGE)
            FollowSelection(dialog, PlacementCascade(run), LevelOfList(PlacementCascade(run), id));
        ReportListFolders(dialog, PlacementCascade(run));
        break;
    case IDC_PLACE_DIRECTIVE_LIST:
        if (notification == LBN_SELCHANGE)
            OnDirectiveSelected(dialog, run);
        break;
    case IDC_PLACE_OPEN_DIRECTIVE: OnOpenDirective(dialog, run); break;
    case IDOK: OnChoose(dialog, run); break;
    case IDCANCEL:
        SetCurrentDirectory1251(root);
        DestroyWindow(dialog);
        break;
    default: return;  // the path field's notifications
    }
    SetCurrentDirectory1251(root);
}

}  // namespace

INT_PTR CALLBACK FactPlacementDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return FALSE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    default: return FALSE;
    }
}
