#include "category_editor_dialog.h"
#include "../store/fact_shape.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../ui/app_state.h"
#include "../store/base_changes.h"
#include "../store/fact_store.h"
#include "../ui/folder_list.h"
#include "../ui/name_complaint.h"
#include "../ui/platform_ui.h"
#include "../ui/following_lists.h"
#include "../watch/base_watch.h"

#include <string>

namespace {

// Everything that tells the four create buttons apart.
struct CategoryLevel {
    int listId;
    int nameId;
    int createId;
    const char* prompt;
    const char* nameMissing;
    const char* parentMissing[CATEGORY_LEVELS - 1];  // Section, Topic, Subtopic
};

const CategoryLevel LEVELS[CATEGORY_LEVELS] = {
    { IDC_EDITOR_SECTION_LIST,
      IDC_EDITOR_SECTION_NAME,
      IDC_EDITOR_CREATE_SECTION,
      Text::PromptSection,
      Text::SectionNameMissing,
      { nullptr, nullptr, nullptr } },
    { IDC_EDITOR_TOPIC_LIST,
      IDC_EDITOR_TOPIC_NAME,
      IDC_EDITOR_CREATE_TOPIC,
      Text::PromptTopic,
      Text::TopicNameMissing,
      { Text::TopicNoSection, nullptr, nullptr } },
    { IDC_EDITOR_SUBTOPIC_LIST,
      IDC_EDITOR_SUBTOPIC_NAME,
      IDC_EDITOR_CREATE_SUBTOPIC,
      Text::PromptSubtopic,
      Text::SubtopicNameMissing,
      { Text::SubtopicNoSection, Text::SubtopicNoTopic, nullptr } },
    { IDC_EDITOR_DIRECTIVE_LIST,
      IDC_EDITOR_DIRECTIVE_NAME,
      IDC_EDITOR_CREATE_DIRECTIVE,
      Text::PromptDirective,
      Text::DirectiveNameMissing,
      { Text::DirectiveNoSection, Text::DirectiveNoTopic, Text::DirectiveNoSubtopic } },
};

// Each open editor has its own.
struct EditorState {
    char root[SLOT_SIZE];  // base root, taken from the working directory when the editor opened
};

EditorState* StateOf(HWND dialog)
{
    return (EditorState*)GetWindowLongPtrW(dialog, DWLP_USER);
}

FolderCascade EditorCascade(HWND dialog)
{
    FolderCascade cascade = { { IDC_EDITOR_SECTION_LIST, IDC_EDITOR_TOPIC_LIST, IDC_EDITOR_SUBTOPIC_LIST,
                                IDC_EDITOR_DIRECTIVE_LIST, 0 },
                              CATEGORY_LEVELS,
                              StateOf(dialog)->root };
    return cascade;
}

// Others' changes to the folders the lists show.
void FollowElsewhere(const BaseChange& change, void* context)
{
    HWND dialog = (HWND)context;
    if (StateOf(dialog))
        FollowListsElsewhere(dialog, EditorCascade(dialog), change);
}

void OnInitDialog(HWND dialog)
{
    // The root first: everything after may send notifications.
    EditorState* state = new EditorState();
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)state);
    ListenToBaseChanges(FollowElsewhere, dialog);
    bool rootHeld = GetCurrentDirectory1251(state->root, SLOT_SIZE) == TEXT_FITS;
    if (rootHeld)
        SlotCopy(App.EditorRoot, state->root);
    else
        state->root[0] = '\0';
    for (int i = 0; i < CATEGORY_LEVELS; i++) {
        SendDlgItemMessageW(dialog, LEVELS[i].nameId, EM_SETLIMITTEXT, SLOT_CHARS, 0);
        SetDlgItemText1251(dialog, LEVELS[i].nameId, LEVELS[i].prompt);
    }
    // A base root that cannot be held leaves the lists empty and creates
    // nothing, rather than working in an older root.
    if (!rootHeld) {
        for (int i = 0; i < CATEGORY_LEVELS; i++)
            EnableWindow(GetDlgItem(dialog, LEVELS[i].createId), FALSE);
        return;
    }
    SetDlgItemText1251(dialog, IDC_EDITOR_ROOT_FIELD, state->root);
    FillFolderList(GetDlgItem(dialog, IDC_EDITOR_SECTION_LIST), state->root);
}

void OnDestroy(HWND dialog)
{
    StopListeningToBaseChanges(FollowElsewhere, dialog);
    ShowingFolders(dialog, std::set<std::string>());
    delete StateOf(dialog);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

// A name the rule refuses is named in a complaint and nothing is made; a
// taken name goes on to the file system, which refuses it in silence, as
// any other refusal of a valid name does. A folder that is there already
// (by its short name, or made by another program since the check) is
// taken: nothing is made and nothing announced.
void CreateNamed(HWND dialog, const CategoryLevel& level, const char* parent, const char* name)
{
    const NameComplaints complaints = { level.nameMissing, NULL, Text::CategoryPathTooLong };
    const char* complaint = ComplaintForName(CheckEntryName(parent, name, ENTRY_CATEGORY), complaints);
    if (complaint) {
        Complain(dialog, complaint);
        return;
    }
    switch (CreateCategoryFolder(StateOf(dialog)->root, parent, name)) {
    case FOLDER_PATH_TOO_LONG: Complain(dialog, Text::CategoryPathTooLong); return;
    case FOLDER_OUTSIDE: Complain(dialog, Text::OutsideBase); return;
    case FOLDER_CREATED: AnnounceFolderCreated((std::string(parent) + "\\" + name).c_str()); break;
    case FOLDER_EXISTS:
    case FOLDER_NOT_CREATED: break;
    }
    // The list shows what is really there, whether or not the folder was made.
    HWND list = GetDlgItem(dialog, level.listId);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SetCurrentDirectory1251(parent);
    FillFolderList(list, parent);
}

// The checks, the folder and the refill for one level (index 0 = Section).
// The typed name is discarded whatever the outcome.
void CreateCategory(HWND dialog, int index)
{
    const CategoryLevel& level = LEVELS[index];
    FolderCascade cascade = EditorCascade(dialog);
    char name[SLOT_SIZE];
    char parent[SLOT_SIZE];
    TextFit typed = GetDlgItemText1251(dialog, level.nameId, name, SLOT_SIZE);

    if (typed == TEXT_NOT_1251) {
        Complain(dialog, Text::NameNot1251);
    } else if (typed == TEXT_TOO_LONG) {
        Complain(dialog, Text::CategoryPathTooLong);
    } else if (SlotEquals(name, level.prompt)) {
        Complain(dialog, level.nameMissing);
    } else {
        const char* missing = nullptr;
        for (int above = 0; above < index && !missing; above++) {
            if (SendDlgItemMessageW(dialog, cascade.listIds[above], LB_GETCURSEL, 0, 0) < 0)
                missing = level.parentMissing[above];
        }
        if (missing) {
            Complain(dialog, missing);
        } else if (ComposeSelectionPath(dialog, cascade, index, parent) != SELECTION_COMPOSED) {
            Complain(dialog, Text::CategoryPathTooLong);
        } else {
            CreateNamed(dialog, level, parent, name);
        }
    }
    SetCurrentDirectory1251(StateOf(dialog)->root);
    SetDlgItemText1251(dialog, level.nameId, level.prompt);
}

int LevelOfCreateButton(int id)
{
    for (int i = 0; i < CATEGORY_LEVELS; i++) {
        if (LEVELS[i].createId == id)
            return i;
    }
    return -1;
}

void OnCommand(HWND dialog, int id, int notification)
{
    if (!StateOf(dialog))
        return;
    switch (id) {
    case IDC_EDITOR_SECTION_LIST:
    case IDC_EDITOR_TOPIC_LIST:
    case IDC_EDITOR_SUBTOPIC_LIST:
        // A selection under a list without one (after a create refilled it)
        // only empties the lists below: no path is built from a missing name.
        if (notification == LBN_SELCHANGE)
            FollowSelection(dialog, EditorCascade(dialog), LevelOfList(EditorCascade(dialog), id));
        ReportListFolders(dialog, EditorCascade(dialog));
        break;
    case IDC_EDITOR_CREATE_SECTION:
    case IDC_EDITOR_CREATE_TOPIC:
    case IDC_EDITOR_CREATE_SUBTOPIC:
    case IDC_EDITOR_CREATE_DIRECTIVE: CreateCategory(dialog, LevelOfCreateButton(id)); break;
    case IDCANCEL:
        SetCurrentDirectory1251(StateOf(dialog)->root);
        DestroyWindow(dialog);
        return;
    case IDC_EDITOR_DIRECTIVE_LIST: break;
    default: return;  // the edits' notifications
    }
    SetCurrentDirectory1251(StateOf(dialog)->root);
}

}  // namespace

INT_PTR CALLBACK CategoryEditorDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return FALSE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    default: return FALSE;
    }
}
