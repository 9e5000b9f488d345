// How fast a change made elsewhere reaches an open browser, and what the
// watch costs while nothing changes, in bases of 5,000 and 50,000 facts:
// the browser shows a Directive; another "program" (this one, behind the
// browser's back) adds a fact folder there, or a Section in the base root,
// and the time until the list holds the new entry is taken, with the watch
// and with polling (FACTS_WATCH=poll). Idle: the CPU the process uses in 60 s
// with the browser open and nothing changing. Targets: median at most 0.5 s
// and longest at most 2 s with the watch, at most 5 s polling; idle under 1 s.
//   watch_bench.exe [facts per Directive...] [--idle-seconds N]   (default: 5 50, 60)
#include "../browser/fact_base_dialog.h"
#include "../platform/platform_text.h"
#include "../resources/resource.h"
#include "../ui/app_messages.h"
#include "../ui/app_state.h"
#include "../ui/folder_list.h"
#include "../watch/base_watch.h"

#include "bench_files.h"
#include "timing.h"
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string PlainText(bool description)
{
    return description ? "Описание факта" : "Текст факта о пирамидах, строившихся двадцать лет";
}

// The watch's notes reach the browser the way they do in the program: the
// message to a window, whose procedure announces them.
LRESULT CALLBACK NoteWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_FACTS_BASE_CHANGED) {
        AnnounceWatchedChanges();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Pumps until the list holds (or no longer holds) name; the seconds that
// took, or a negative number after 10 s.
double UntilListed(HWND list, const char* name, bool listed)
{
    double start = Now();
    while (Now() - start < 10) {
        if ((EntryNamed(list, name) >= 0) == listed)
            return Now() - start;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
        Pump();
    }
    return -1;
}

void Select(HWND dialog, int listId, const char* name)
{
    HWND list = GetDlgItem(dialog, listId);
    SendMessageW(list, LB_SETCURSEL, (WPARAM)EntryNamed(list, name), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), (LPARAM)list);
    Pump();
}

struct Latency {
    double median, longest;
    int missed;
};

// Each round makes the entry, takes the time until the list shows it, then
// removes it and waits until the list lets it go (untimed).
Latency Measure(HWND list, const std::string& folder, int rounds)
{
    std::vector<double> times;
    int missed = 0;
    for (int round = 0; round < rounds; round++) {
        std::string name = "Новое " + std::to_string(round);
        std::string path = folder + "\\" + name;
        CreateDirectory1251(path.c_str());
        double took = UntilListed(list, name.c_str(), true);
        if (took < 0)
            missed++;
        else
            times.push_back(took);
        RemoveDirectoryW(WideFrom1251(path.c_str()).c_str());
        UntilListed(list, name.c_str(), false);
    }
    std::sort(times.begin(), times.end());
    Latency latency = { times.empty() ? -1 : times[times.size() / 2], times.empty() ? -1 : times.back(), missed };
    return latency;
}

double ProcessSeconds()
{
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    ULARGE_INTEGER k = { { kernel.dwLowDateTime, kernel.dwHighDateTime } };
    ULARGE_INTEGER u = { { user.dwLowDateTime, user.dwHighDateTime } };
    return (double)(k.QuadPart + u.QuadPart) / 1e7;
}

// The CPU the process uses while it waits for messages and nothing changes.
double IdleSeconds(int seconds)
{
    double cpu = ProcessSeconds(), start = Now();
    while (Now() - start < seconds) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 1000, QS_ALLINPUT);
        Pump();
    }
    return ProcessSeconds() - cpu;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    int idleSeconds = 60;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--idle-seconds") == 0 && i + 1 < argc)
            idleSeconds = atoi(argv[++i]);
        else
            sizes.push_back(atoi(argv[i]));
    }
    if (sizes.empty())
        sizes = { 5, 50 };
    std::string temp1251 = BenchTempFolder();

    INITCOMMONCONTROLSEX controls = { sizeof controls, ICC_STANDARD_CLASSES };
    InitCommonControlsEx(&controls);
    InitAppState(&App);
    App.AppInstance = GetModuleHandleW(NULL);
    WNDCLASSW noteClass = {};
    noteClass.lpfnWndProc = NoteWindow;
    noteClass.hInstance = App.AppInstance;
    noteClass.lpszClassName = L"WatchBenchNotes";
    RegisterClassW(&noteClass);
    HWND notes = CreateWindowExW(0, L"WatchBenchNotes", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    // The program's dialogs are owned by its main window.
    App.OwnerWindow = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL, NULL, NULL);

    bool met = true;
    std::printf("| facts | watch | change in | median s | longest s | missed | idle CPU s in %d s |\n", idleSeconds);
    std::printf("|---:|---|---|---:|---:|---:|---:|\n");
    for (int perDirective : sizes) {
        int facts = 1000 * perDirective;
        std::string root = temp1251 + "факты-наблюдение-" + std::to_string(facts);
        MakeBenchBase(root, perDirective, PlainText);
        std::string directive = root + "\\Раздел 3\\Тема 3\\Подтема 3\\Установка 3";
        for (const wchar_t* mode : { L"", L"poll" }) {
            SetEnvironmentVariableW(L"FACTS_WATCH", mode[0] ? mode : NULL);
            SetCurrentDirectory1251(root.c_str());
            WatchMode started = StartBaseWatch(root.c_str(), notes, WM_FACTS_BASE_CHANGED);
            HWND dialog = CreateDialogParamW(App.AppInstance, MAKEINTRESOURCEW(IDD_FACT_BASE), App.OwnerWindow,
                                             FactBaseDialog, 0);
            ShowWindow(dialog, SW_SHOW);
            Select(dialog, IDC_BROWSER_SECTION_LIST, "Раздел 3");
            Select(dialog, IDC_BROWSER_TOPIC_LIST, "Тема 3");
            Select(dialog, IDC_BROWSER_SUBTOPIC_LIST, "Подтема 3");
            Select(dialog, IDC_BROWSER_DIRECTIVE_LIST, "Установка 3");
            if (!dialog) {
                std::fprintf(stderr, "the browser could not be opened (no display?)\n");
                return 1;
            }
            const char* label = started == WATCH_EVENTS ? "events" : "polling";
            double longestAllowed = started == WATCH_EVENTS ? 2.0 : 5.0;
            double idle = IdleSeconds(idleSeconds);
            struct Place {
                const char* what;
                std::string folder;
                int listId;
            };
            for (const Place& place : { Place{ "the Directive shown", directive, IDC_BROWSER_FACT_LIST },
                                        Place{ "the base root", root, IDC_BROWSER_SECTION_LIST } }) {
                Latency latency = Measure(GetDlgItem(dialog, place.listId), place.folder, 10);
                std::printf("| %d | %s | %s | %.3f | %.3f | %d | %.2f |\n", facts, label, place.what, latency.median,
                            latency.longest, latency.missed, idle);
                met = met && latency.missed == 0 && latency.longest <= longestAllowed &&
                      (started != WATCH_EVENTS || latency.median <= 0.5);
            }
            met = met && idle < 1.0;
            DestroyWindow(dialog);
            StopBaseWatch();
        }
    }
    std::printf("targets (watch: median 0.5 s, longest 2 s; polling: 5 s; idle under 1 s): %s\n",
                met ? "met" : "MISSED");
    DestroyWindow(notes);
    return met ? 0 : 1;
}
