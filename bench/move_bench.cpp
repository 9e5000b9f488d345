// How long a move takes, with the search index following it and the
// browser's lists refilled: a Directive of 5 facts against one of 5,000,
// moved by Ctrl+X and Ctrl+V in a real browser and moved back by Ctrl+Z.
// The target is at most 50 ms at both sizes: a move renames one folder.
// The watch runs as in the program, its notes announced between moves; the
// walks over the whole base that the moves started are counted.
#include "../browser/fact_base_dialog.h"
#include "../platform/platform_text.h"
#include "../resources/resource.h"
#include "../search/query.h"
#include "../search/search_service.h"
#include "../ui/app_messages.h"
#include "../ui/app_state.h"
#include "../watch/base_watch.h"

#include "bench_files.h"
#include "timing.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <vector>
#include <string>

namespace {

void MakeDirective(const std::string& folder, int facts)
{
    CreateDirectory1251(folder.c_str());
    char name[64];
    for (int f = 0; f < facts; f++) {
        snprintf(name, sizeof name, "Факт %05d", f);
        std::string fact = folder + "\\" + name;
        CreateDirectory1251(fact.c_str());
        WriteFile1251(fact + "\\Описание.txt", "Описание факта о пирамидах");
        WriteFile1251(fact + "\\" + name + ".txt", "Текст факта о пирамидах, строившихся двадцать лет");
    }
}

// Makes the base once; a second run finds it made (the marker file is last).
void MakeBase(const std::string& root)
{
    std::string marker = root + "\\готово";
    if (GetFileAttributes1251(marker.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    for (const char* folder : { "", "\\Раздел", "\\Раздел\\Тема", "\\Раздел\\Тема\\Откуда", "\\Раздел\\Тема\\Куда" })
        CreateDirectory1251((root + folder).c_str());
    MakeDirective(root + "\\Раздел\\Тема\\Откуда\\Малая", 5);
    MakeDirective(root + "\\Раздел\\Тема\\Откуда\\Большая", 5000);
    WriteFile1251(marker, "");
}

void Select(HWND dialog, int listId, const char* name)
{
    HWND list = GetDlgItem(dialog, listId);
    LRESULT at = SendMessageW(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)WideFrom1251(name).c_str());
    SendMessageW(list, LB_SETCURSEL, (WPARAM)at, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), (LPARAM)list);
}

// The median of what each run measured itself: the set-up around it is left out.
template <typename Work>
double MedianOfRuns(int runs, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; i++)
        times.push_back(work());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

LRESULT CALLBACK NoteWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_FACTS_BASE_CHANGED) {
        AnnounceWatchedChanges();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The watch's notes reach the index between moves, as the window's
// messages would bring them.
void PumpFor(DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
        MSG message;
        while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
}

void Key(HWND dialog, int key, int listId)
{
    HWND focus = GetDlgItem(dialog, listId);
    SetFocus(focus);
    SendMessageW(dialog, WM_FACTS_DIALOG_KEY, MAKEWPARAM(key, 1), (LPARAM)focus);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string root = argc > 1 ? argv[1] : "C:\\facts-move-bench";
    MakeBase(root);
    InitAppState(&App);
    App.AppInstance = GetModuleHandleW(NULL);
    SetCurrentDirectory1251(root.c_str());
    RefreshSearchIndex(root.c_str());
    while (SearchIndexBusy())
        Sleep(10);
    int indexed = QuerySearchIndex(ParseQuery("пирамидах")).indexed;
    WNDCLASSW noteClass = {};
    noteClass.lpfnWndProc = NoteWindow;
    noteClass.hInstance = App.AppInstance;
    noteClass.lpszClassName = L"MoveBenchNotes";
    RegisterClassW(&noteClass);
    HWND notes = CreateWindowExW(0, L"MoveBenchNotes", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    WatchMode watching = StartBaseWatch(root.c_str(), notes, WM_FACTS_BASE_CHANGED);
    int walks = SearchWalksStarted();
    HWND dialog = CreateDialogParamW(App.AppInstance, MAKEINTRESOURCEW(IDD_FACT_BASE), NULL, FactBaseDialog, 0);
    ShowWindow(dialog, SW_SHOW);

    bool met = true;
    std::printf("| facts in the Directive | move ms | undo ms |\n|---:|---:|---:|\n");
    struct Size {
        const char* directive;
        int facts;
    };
    for (Size size : { Size{ "Малая", 5 }, Size{ "Большая", 5000 } }) {
        const char* directive = size.directive;
        std::string from = root + "\\Раздел\\Тема\\Откуда\\" + directive;
        std::string to = root + "\\Раздел\\Тема\\Куда\\" + directive;
        double move = MedianOfRuns(5, [&] {
            Select(dialog, IDC_BROWSER_SECTION_LIST, "Раздел");
            Select(dialog, IDC_BROWSER_TOPIC_LIST, "Тема");
            Select(dialog, IDC_BROWSER_SUBTOPIC_LIST, "Откуда");
            Select(dialog, IDC_BROWSER_DIRECTIVE_LIST, directive);
            Key(dialog, 'X', IDC_BROWSER_DIRECTIVE_LIST);
            Select(dialog, IDC_BROWSER_SUBTOPIC_LIST, "Куда");
            double start = Now();
            Key(dialog, 'V', IDC_BROWSER_DIRECTIVE_LIST);
            double took = Now() - start;
            if (GetFileAttributes1251(to.c_str()) == INVALID_FILE_ATTRIBUTES) {
                std::fprintf(stderr, "%s was not moved\n", directive);
                met = false;
            }
            Key(dialog, 'Z', IDC_BROWSER_DIRECTIVE_LIST);
            PumpFor(POLL_MS + 500);
            return took;
        });
        double undo = MedianOfRuns(5, [&] {
            Select(dialog, IDC_BROWSER_SUBTOPIC_LIST, "Откуда");
            Select(dialog, IDC_BROWSER_DIRECTIVE_LIST, directive);
            Key(dialog, 'X', IDC_BROWSER_DIRECTIVE_LIST);
            Select(dialog, IDC_BROWSER_SUBTOPIC_LIST, "Куда");
            Key(dialog, 'V', IDC_BROWSER_DIRECTIVE_LIST);
            double start = Now();
            Key(dialog, 'Z', IDC_BROWSER_DIRECTIVE_LIST);
            double took = Now() - start;
            PumpFor(POLL_MS + 500);
            return took;
        });
        if (GetFileAttributes1251(from.c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::fprintf(stderr, "%s was not moved back\n", directive);
            met = false;
        }
        std::printf("| %d | %.1f | %.1f |\n", size.facts, move * 1000, undo * 1000);
        met = met && move <= 0.050 && undo <= 0.050;
    }
    while (SearchIndexBusy())
        PumpFor(10);
    SearchAnswer answer = QuerySearchIndex(ParseQuery("пирамидах"));
    std::printf("watch: %s; walks over the whole base the moves started: %d\n",
                watching == WATCH_EVENTS ? "events" : "polling", SearchWalksStarted() - walks);
    std::printf("index: %d facts before, %d after, %d found\n", indexed, answer.indexed, (int)answer.found.size());
    std::printf("move of either size at most 50 ms: %s\n", met ? "met" : "MISSED");
    DestroyWindow(dialog);
    StopBaseWatch();
    DestroyWindow(notes);
    return met ? 0 : 1;
}
