#include "search_dialog.h"
#include "search_service.h"
#include "text_fold.h"
#include "fact_index.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../ui/app_messages.h"
#include "../ui/dialog_doors.h"
#include "../store/fact_store.h"
#include "../store/path_slot.h"
#include "../ui/platform_ui.h"

#include <stdio.h>
#include <string>
#include <vector>

namespace {

const int QUERY_MAX = 255;

struct SearchState {
    char root[SLOT_SIZE];
    char query[SLOT_SIZE];
    std::vector<FactPlace> found;  // what the list shows, entry by entry
};

HWND OpenSearch = NULL;  // the one F5 brings forward

SearchState* StateOf(HWND dialog)
{
    return (SearchState*)GetWindowLongPtrW(dialog, DWLP_USER);
}

// Runs the query over what the index holds now and shows the answer.
void RunQuery(HWND dialog)
{
    SearchState* state = StateOf(dialog);
    HWND list = GetDlgItem(dialog, IDC_SEARCH_RESULTS);
    // A query Windows-1251 cannot hold finds nothing, without a word.
    bool typed = GetDlgItemText1251(dialog, IDC_SEARCH_QUERY, state->query, SLOT_SIZE) == TEXT_FITS;
    SearchQuery query = ParseQuery(typed ? state->query : "");
    SearchAnswer answer = QuerySearchIndex(query);
    if (!typed)
        answer.found.clear();
    bool empty = typed && state->query[strspn(state->query, " ")] == '\0';

    int selected = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
    std::string selectedFolder = selected >= 0 && selected < (int)state->found.size()
                                     ? FactFolderOf(state->root, state->found[selected])
                                     : std::string();
    state->found = answer.found;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    int keep = -1;
    for (size_t i = 0; i < state->found.size(); i++) {
        const FactPlace& fact = state->found[i];
        std::string entry = fact.name + "\t" + fact.categories[0];
        for (int level = 1; level < CATEGORY_LEVELS; level++)
            entry += Text::SearchPathSeparator + fact.categories[level];
        ListBoxInsert1251(list, -1, entry.c_str());
        if (FactFolderOf(state->root, fact) == selectedFolder)
            keep = (int)i;
    }
    SendMessageW(list, LB_SETCURSEL, (WPARAM)keep, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);

    char status[128];
    if (!answer.complete)
        snprintf(status, sizeof status, Text::SearchReading, answer.indexed);
    else if (empty)
        snprintf(status, sizeof status, "%s", Text::SearchPrompt);
    else {
        int length = snprintf(status, sizeof status, Text::SearchFound, (int)state->found.size());
        if (answer.unreadable > 0)
            snprintf(status + length, sizeof status - length, Text::SearchUnread, answer.unreadable);
    }
    SetDlgItemText1251(dialog, IDC_SEARCH_STATUS, status);
    if (keep < 0)
        SetDlgItemText1251(dialog, IDC_SEARCH_PREVIEW, "");
}

// The description, then each line of the main text that answers the query;
// the first match selected.
void ShowPreview(HWND dialog)
{
    SearchState* state = StateOf(dialog);
    int selected = (int)SendDlgItemMessageW(dialog, IDC_SEARCH_RESULTS, LB_GETCURSEL, 0, 0);
    if (selected < 0 || selected >= (int)state->found.size())
        return;
    std::string folder = FactFolderOf(state->root, state->found[selected]);
    SearchQuery query = ParseQuery(state->query);
    std::vector<char> text(TEXT_BUFFER_SIZE);
    std::string preview;
    char path[SLOT_SIZE];
    if (DescriptionFilePath(folder.c_str(), path) && ReadTextFile(path, text.data()) == READ_OK)
        preview = text.data();
    if (MainTextFilePath(folder.c_str(), state->found[selected].name.c_str(), path) &&
        ReadTextFile(path, text.data()) == READ_OK) {
        std::string main = text.data();
        for (size_t start = 0; start < main.size();) {
            size_t end = main.find("\r\n", start);
            if (end == std::string::npos)
                end = main.size();
            std::string line = main.substr(start, end - start);
            size_t length;
            if (FirstMatch(query, FoldText(line), &length) != std::string::npos)
                preview += "\r\n" + line;
            start = end + 2;
        }
    }
    if (preview.size() > (size_t)SHOWN_TEXT_MAX)
        preview.resize(SHOWN_TEXT_MAX);
    SetDlgItemText1251(dialog, IDC_SEARCH_PREVIEW, preview.c_str());
    size_t length = 0;
    size_t at = FirstMatch(query, FoldText(preview), &length);
    if (at != std::string::npos)
        SendDlgItemMessageW(dialog, IDC_SEARCH_PREVIEW, EM_SETSEL, (WPARAM)at, (LPARAM)(at + length));
}

// The selected fact in the browser used last, or in a new one.
void OpenResult(HWND dialog)
{
    SearchState* state = StateOf(dialog);
    int selected = (int)SendDlgItemMessageW(dialog, IDC_SEARCH_RESULTS, LB_GETCURSEL, 0, 0);
    if (selected < 0 || selected >= (int)state->found.size())
        return;
    FactToShow show = { state->found[selected], state->query };
    ShowFactInBrowser(state->root, show);
}

void OnInitDialog(HWND dialog)
{
    SearchState* state = new SearchState();
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)state);
    OpenSearch = dialog;
    SendDlgItemMessageW(dialog, IDC_SEARCH_QUERY, EM_SETLIMITTEXT, QUERY_MAX, 0);
    INT tabStop = 130;
    SendDlgItemMessageW(dialog, IDC_SEARCH_RESULTS, LB_SETTABSTOPS, 1, (LPARAM)&tabStop);
    SetFocus(GetDlgItem(dialog, IDC_SEARCH_QUERY));
    WatchSearchIndex(dialog);
    // A base root that cannot be held searches nothing.
    if (GetCurrentDirectory1251(state->root, SLOT_SIZE) == TEXT_FITS)
        RefreshSearchIndex(state->root);
    RunQuery(dialog);
}

void OnDestroy(HWND dialog)
{
    UnwatchSearchIndex(dialog);
    if (OpenSearch == dialog)
        OpenSearch = NULL;
    delete StateOf(dialog);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

void OnCommand(HWND dialog, int id, int notification)
{
    if (!StateOf(dialog))
        return;
    switch (id) {
    case IDC_SEARCH_QUERY:
        if (notification == EN_CHANGE)
            RunQuery(dialog);
        break;
    case IDC_SEARCH_RESULTS:
        if (notification == LBN_SELCHANGE)
            ShowPreview(dialog);
        else if (notification == LBN_DBLCLK)
            OpenResult(dialog);
        break;
    case IDOK: OpenResult(dialog); break;
    case IDCANCEL: DestroyWindow(dialog); break;
    default: break;
    }
}

}  // namespace

void OpenOrRaiseSearch(HWND owner)
{
    if (!RaiseOpenDialog(OpenSearch, IDD_SEARCH, SearchDialog, owner))
        return;
    HWND query = GetDlgItem(OpenSearch, IDC_SEARCH_QUERY);
    SetFocus(query);
    SendMessageW(query, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK SearchDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return FALSE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_SEARCH_INDEX_PROGRESS: RunQuery(dialog); return TRUE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    default: return FALSE;
    }
}
