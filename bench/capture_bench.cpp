// The quick capture benchmark, from outside the program: facts.exe runs on a
// base of 5,000 facts with the browser open and the search index built;
// this process stands for the program in front, with a selected text in an
// edit of its own, and presses Ctrl+Alt+F (SendInput). Timed: from the key
// to the capture window in front holding the text. Then saving: Enter in the
// window until the fact is on disk and the window gone, and the store's save
// alone, in a Directive of 5 facts and of 2,000. Last, the CPU the waiting
// program uses in 30 s. Goals: 300 ms to the window, 50 ms to save, idle ~0.
//   capture_bench.exe [runs]   (default 11)
#include "bench_files.h"
#include "timing.h"
#include "../capture/capture_save.h"
#include "../resources/resource.h"
#include "../store/path_slot.h"

#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string BenchText(bool description)
{
    return description ? "Описание факта для замера" : "Основной текст факта: несколько слов для поиска.";
}

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Serves this process's windows (its edit must answer the copy) until the
// condition holds; false after seconds.
template <typename Condition>
bool ServeUntil(Condition condition, double seconds)
{
    double end = Now() + seconds;
    while (!condition()) {
        if (Now() > end)
            return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 1, QS_ALLINPUT);
        Pump();
    }
    return true;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 512, (LPARAM)text, SMTO_ABORTIFHUNG, 1000, NULL);
    return text;
}

HWND CaptureWindowInFront()
{
    HWND front = GetForegroundWindow();
    wchar_t title[64] = {};
    // The title without a message to the program: it is busy filling the window.
    if (!front || !GetWindowTextW(front, title, 64) || lstrcmpW(title, L"БЫСТРЫЙ ФАКТ") != 0)
        return NULL;
    HWND text = GetDlgItem(front, IDC_CAPTURE_TEXT);
    DWORD_PTR length = 0;
    return text && SendMessageTimeoutW(text, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length) && length > 0
               ? front
               : NULL;
}

std::wstring ControlText(HWND window, int id)
{
    wchar_t text[512] = {};
    SendMessageTimeoutW(GetDlgItem(window, id), WM_GETTEXT, 512, (LPARAM)text, SMTO_ABORTIFHUNG, 1000, NULL);
    return text;
}

// The main text file the window will write: its place ("Раздел › Тема › …")
// below root, the name typed.
std::string FactFileShownIn(const std::string& root, HWND capture)
{
    std::wstring place = ControlText(capture, IDC_CAPTURE_PLACE);
    std::wstring name = ControlText(capture, IDC_CAPTURE_NAME);
    for (size_t at; (at = place.find(L" \u203A ")) != std::wstring::npos;)
        place.replace(at, 3, L"\\");
    std::wstring path = WideFrom1251(root.c_str()) + L"\\" + place + L"\\" + name + L"\\" + name + L".txt";
    char path1251[1024];
    TextTo1251(path.c_str(), -1, path1251, sizeof path1251);
    return path1251;
}

bool AnyCaptureWindow()
{
    return FindWindowW(L"#32770", L"БЫСТРЫЙ ФАКТ") != NULL;
}

void PressCaptureKey()
{
    WORD keys[] = { VK_CONTROL, VK_MENU, 'F' };
    INPUT inputs[6] = {};
    for (int i = 0; i < 3; i++) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[5 - i].type = INPUT_KEYBOARD;
        inputs[5 - i].ki.wVk = keys[i];
        inputs[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(6, inputs, sizeof(INPUT));
}

double CpuSeconds(HANDLE process)
{
    FILETIME created, ended, kernel, user;
    GetProcessTimes(process, &created, &ended, &kernel, &user);
    ULARGE_INTEGER k = { { kernel.dwLowDateTime, kernel.dwHighDateTime } };
    ULARGE_INTEGER u = { { user.dwLowDateTime, user.dwHighDateTime } };
    return (double)(k.QuadPart + u.QuadPart) / 1e7;
}

double MedianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The store's save alone, in a Directive already holding `holding` facts.
double SaveMedian(const std::string& root, int holding, int runs)
{
    std::string directive = root + "\\Раздел 1\\Тема 1\\Подтема 1\\Полная " + std::to_string(holding);
    CreateDirectory1251(directive.c_str());
    char name[64];
    for (int i = 0; i < holding; i++) {
        snprintf(name, sizeof name, "Старый %06d", i);
        std::string fact = directive + "\\" + name;
        if (CreateDirectory1251(fact.c_str())) {
            WriteFile1251(fact + "\\Описание.txt", "о");
            WriteFile1251(fact + "\\" + name + ".txt", "т");
        }
    }
    std::vector<double> times;
    for (int i = 0; i < runs; i++) {
        snprintf(name, sizeof name, "Новый %lu %d", GetTickCount(), i);
        double start = Now();
        CaptureSave save = SaveCapturedFact(root.c_str(), directive.c_str(), name, L"https://example.org/",
                                            L"Текст быстрого факта\nв две строки", CAPTURE_KEEP_EXACTLY);
        times.push_back(Now() - start);
        if (save.result != CAPTURE_SAVED)
            std::printf("save %d failed: %d\n", i, save.result);
    }
    return MedianOf(times);
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 11;
    std::string root = BenchTempFolder() + "Замер захвата";
    MakeBenchBase(root, 5, BenchText);

    wchar_t self[MAX_PATH];
    GetModuleFileNameW(NULL, self, MAX_PATH);
    std::wstring program = self;
    program = program.substr(0, program.rfind(L'\\'));
    program = program.substr(0, program.rfind(L'\\')) + L"\\facts.exe";
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL,
                        WideFrom1251(root.c_str()).c_str(), &startup, &process)) {
        std::printf("facts.exe could not be started (%lu)\n", GetLastError());
        return 1;
    }
    HWND main = NULL;
    ServeUntil([&] { return (main = FindWindowW(NULL, L"Сбор и систематизация фактов Тарвелии")) != NULL; }, 60);
    if (!main) {
        std::printf("the main window did not show\n");
        return 1;
    }
    WaitForInputIdle(process.hProcess, 10000);
    PostMessageW(main, WM_COMMAND, IDM_FACT_BASE, 0);
    PostMessageW(main, WM_COMMAND, IDM_SEARCH, 0);
    HWND search = NULL;
    ServeUntil([&] { return (search = FindWindowW(NULL, L"ПОИСК ФАКТОВ")) != NULL; }, 30);
    double indexStart = Now();
    // The index is built once the status no longer counts what it has read.
    ServeUntil([&] {
        std::wstring status = TextOf(GetDlgItem(search, IDC_SEARCH_STATUS));
        return !status.empty() && status.find(L"Просмотр базы") == std::wstring::npos;
    }, 600);
    std::printf("base of 5,000 facts, browser open, search index built in %.1f s\n", Now() - indexStart);

    // The program in front: this process's window, a selected text in its edit.
    HWND front = CreateWindowExW(0, L"Edit", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 200, NULL, NULL,
                                 NULL, NULL);
    HWND edit = CreateWindowExW(0, L"Edit", L"Выделенный текст для быстрого факта, несколько слов", WS_CHILD |
                                WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 380, 20, front, NULL, NULL, NULL);
    std::vector<double> toWindow, toSaved, toClosed;
    int missed = 0, focusBack = 0;
    for (int run = 0; run < runs + 1; run++) {
        SetForegroundWindow(front);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        ServeUntil([&] { return GetForegroundWindow() == front; }, 5);
        double start = Now();
        PressCaptureKey();
        HWND capture = NULL;
        bool shown = ServeUntil([&] { return (capture = CaptureWindowInFront()) != NULL; }, 5);
        double took = Now() - start;
        if (!shown) {
            HWND any = FindWindowW(L"#32770", L"БЫСТРЫЙ ФАКТ");
            HWND fg = GetForegroundWindow();
            std::printf("missed: capture window %p, in front %p (%ls)\n", (void*)any, (void*)fg, TextOf(fg).c_str());
            if (any)
                PostMessageW(any, WM_COMMAND, IDCANCEL, 0);
            missed++;
            continue;
        }
        if (run > 0)  // the first warms Wine's caches up
            toWindow.push_back(took);
        if (run % 2 == 0) {
            PostMessageW(capture, WM_COMMAND, IDCANCEL, 0);
        } else {
            // Saving from outside: the user's Enter, until the main text is
            // on disk, and until the window is gone.
            std::string file = FactFileShownIn(root, capture);
            start = Now();
            PostMessageW(capture, WM_COMMAND, IDOK, 0);
            ServeUntil([&] { return GetFileAttributes1251(file.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5);
            toSaved.push_back(Now() - start);
            ServeUntil([&] { return !IsWindow(capture); }, 5);
            toClosed.push_back(Now() - start);
            if (ServeUntil([&] { return GetForegroundWindow() == front; }, 2))
                focusBack++;
        }
        ServeUntil([&] { return !AnyCaptureWindow(); }, 5);
    }
    std::printf("| from the key to the filled window in front | median %.0f ms | longest %.0f ms | runs %zu | "
                "missed %d |\n",
                MedianOf(toWindow) * 1000, toWindow.empty() ? 0 : *std::max_element(toWindow.begin(), toWindow.end()) * 1000,
                toWindow.size(), missed);
    std::printf("| Enter until the main text is on disk | median %.1f ms | runs %zu |\n", MedianOf(toSaved) * 1000,
                toSaved.size());
    std::printf("| Enter until the window is gone | median %.1f ms | runs %zu | focus back in front %d |\n",
                MedianOf(toClosed) * 1000, toClosed.size(), focusBack);
    std::printf("| the store's save, Directive of 5 facts | median %.1f ms |\n", SaveMedian(root, 5, runs) * 1000);
    std::printf("| the store's save, Directive of 2,000 facts | median %.1f ms |\n",
                SaveMedian(root, 2000, runs) * 1000);

    DestroyWindow(front);
    // The walks of the start (the newest fact's place) and the looks for
    // duplicates of closed windows end first.
    ServeUntil([] { return false; }, 20);
    double cpuBefore = CpuSeconds(process.hProcess);
    double idleStart = Now();
    // Asleep meanwhile: this process's own loop would keep Wine's server busy.
    Sleep(30000);
    std::printf("| waiting for the key | CPU %.2f s in %.0f s |\n", CpuSeconds(process.hProcess) - cpuBefore,
                Now() - idleStart);
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return missed ? 1 : 0;
}
