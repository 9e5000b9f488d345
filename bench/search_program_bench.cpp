// The search in the running program, from outside it: facts.exe started
// afresh in the root of the 20,000-fact collection base of search_bench,
// its search opened at once (the menu command F5 gives), a query typed, and
// the dialog watched until its status says the walk is over. Whatever else
// the program does at its start (the watch on the base, the quick capture's
// look for the newest fact) runs beside the walk as it does for a user.
// Timed from CreateProcess: the first answer with results and the complete
// answer, with the kept index left out (FACTS_INDEX_CACHE=off) and with the
// one an earlier run left; against the floor of walking the base and reading
// every file, timed in this process in the same run. The starts of each kind
// take turns with the floor, so that a change of the machine's load falls
// on all three.
//   search_program_bench.exe [runs] [--query TEXT] [--cache-off-only]
// runs defaults to 3. --query "" types nothing: the complete answer is then
// the prompt, and it tells what the answers shown during the walk cost.
// --cache-off-only leaves the starts with the kept index out.
#include "search_bases.h"
#include "timing.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../search/fact_index.h"
#include "../search/index_cache.h"
#include "../store/path_slot.h"

#include <windows.h>
#include <tlhelp32.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

const int FACTS = 20000;
const wchar_t DEFAULT_QUERY[] = L"каменный мост";
// Every look is two messages through Wine's server, which the walk needs
// too: close together only until the first results.
const DWORD POLL_MS = 20, LATER_POLL_MS = 50;
const double ANSWER_SECONDS = 600;

// The 1-minute load average, when the system shows it (Wine's drive Z: is
// the Linux root); a start on a loaded machine is then told apart.
std::string LoadNow()
{
    HANDLE file = CreateFileW(L"Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "?";
    char text[64] = {};
    DWORD got = 0;
    ReadFile(file, text, sizeof text - 1, &got, NULL);
    CloseHandle(file);
    std::string load(text, got);
    load = load.substr(0, load.find(' '));
    return load.empty() ? "?" : load;
}

int ProgramsRunning()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (lstrcmpiW(entry.szExeFile, L"facts.exe") == 0)
            count++;
    CloseHandle(snapshot);
    return count;
}

// A top-level window of the given process; another program's window of
// the same title is passed over.
HWND WindowOf(DWORD process, const wchar_t* className, const std::wstring& title)
{
    for (HWND window = NULL; (window = FindWindowExW(NULL, window, className, title.c_str())) != NULL;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process)
            return window;
    }
    return NULL;
}

template <typename Condition>
bool WaitUntil(Condition condition, double seconds)
{
    double end = Now() + seconds;
    while (!condition()) {
        if (Now() > end)
            return false;
        Sleep(POLL_MS);
    }
    return true;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 512, (LPARAM)text, SMTO_ABORTIFHUNG, 5000, NULL))
        return std::wstring();
    return text;
}

// The part of a status format before its number.
std::wstring StatusHead(const char* format)
{
    std::wstring head = WideFrom1251(format);
    return head.substr(0, head.find(L'%'));
}

bool StartsWith(const std::wstring& text, const std::wstring& head)
{
    return text.compare(0, head.size(), head) == 0;
}

ULONGLONG WriteTime(const std::wstring& file)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return ((ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
}

struct Start {
    bool answered = false;      // a complete answer with results came
    double window = 0;          // seconds from CreateProcess to the main window
    double firstResults = 0;    // to the first answer that lists a fact
    double complete = 0;        // to the status that says the walk is over
    bool resultsBeforeEnd = false;  // the first results came while the walk still ran
    long found = 0;
    bool endedCleanly = false;  // gone after WM_CLOSE, not terminated
    double closing = 0;         // from WM_CLOSE until the process was gone
    std::string load;
    std::string failure;
};

// One fresh start of facts.exe in root, the search opened and the query
// typed as soon as the main window exists; closed again once answered and
// once beforeClose, if given, has returned.
Start TimeOneStart(const std::wstring& program, const std::wstring& root, const std::wstring& typed, bool cache,
                   const std::function<void()>& beforeClose = nullptr)
{
    Start start;
    start.load = LoadNow();
    SetEnvironmentVariableW(L"FACTS_INDEX_CACHE", cache ? NULL : L"off");
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    double began = Now();
    if (!CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, root.c_str(), &startup,
                        &process)) {
        start.failure = "facts.exe could not be started";
        return start;
    }
    // Nothing typed, the walk's end shows as the prompt.
    std::wstring doneHead = StatusHead(typed.empty() ? Text::SearchPrompt : Text::SearchFound);
    std::wstring readingHead = StatusHead(Text::SearchReading);
    HWND main = NULL, search = NULL;
    if (!WaitUntil([&] { return (main = WindowOf(process.dwProcessId, NULL, WideFrom1251(Text::MainTitle))) != NULL; },
                   60))
        start.failure = "the main window did not show";
    else {
        start.window = Now() - began;
        PostMessageW(main, WM_COMMAND, IDM_SEARCH, 0);
        // Shown only once its controls are made and the dialog has set
        // them up: a window caught before that has no status to read.
        if (!WaitUntil([&] {
                search = WindowOf(process.dwProcessId, L"#32770", L"ПОИСК ФАКТОВ");
                return search && IsWindowVisible(search);
            }, 60)) {
            start.failure = "the search did not open";
            search = NULL;
        }
    }
    if (search) {
        HWND query = GetDlgItem(search, IDC_SEARCH_QUERY);
        HWND list = GetDlgItem(search, IDC_SEARCH_RESULTS);
        HWND status = GetDlgItem(search, IDC_SEARCH_STATUS);
        // As typed: the text, and the change the dialog searches on.
        if (!typed.empty()) {
            SendMessageTimeoutW(query, WM_SETTEXT, 0, (LPARAM)typed.c_str(), SMTO_ABORTIFHUNG, 5000, NULL);
            PostMessageW(search, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_QUERY, EN_CHANGE), (LPARAM)query);
        }
        double end = Now() + ANSWER_SECONDS;
        std::wstring said;
        DWORD_PTR count = 0;
        while (Now() < end) {
            count = 0;
            SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
            said = TextOf(status);
            double now = Now() - began;
            if ((LONG_PTR)count > 0 && start.firstResults == 0) {
                start.firstResults = now;
                start.resultsBeforeEnd = StartsWith(said, readingHead);
            }
            if (StartsWith(said, doneHead)) {
                start.complete = now;
                start.found = (long)count;
                start.answered = ((LONG_PTR)count > 0 || typed.empty()) && TextOf(query) == typed;
                if (!start.answered)
                    start.failure = "the complete answer listed nothing";
                break;
            }
            Sleep(start.firstResults == 0 ? POLL_MS : LATER_POLL_MS);
        }
        if (start.complete == 0) {
            char last[600];
            TextTo1251(said.c_str(), -1, last, sizeof last);
            start.failure = "no complete answer in " + std::to_string((int)ANSWER_SECONDS) + " s; the status said \"" +
                            last + "\", " + std::to_string((long)count) + " listed";
        }
    }
    if (start.answered && beforeClose)
        beforeClose();
    double closed = Now();
    if (main)
        PostMessageW(main, WM_CLOSE, 0, 0);
    start.endedCleanly = main && WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    start.closing = Now() - closed;
    if (!start.endedCleanly) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 10000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return start;
}

double MedianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void PrintRow(const char* what, const std::vector<double>& times, double floor, const std::vector<std::string>& loads)
{
    std::string each, load;
    char one[32];
    for (size_t i = 0; i < times.size(); i++) {
        snprintf(one, sizeof one, "%s%.2f", i ? ", " : "", times[i]);
        each += one;
        load += (i ? ", " : "") + loads[i];
    }
    double median = MedianOf(times);
    printf("| %s | %.2f | %.2f | %s | %s |\n", what, median, floor > 0 ? median / floor : 0, each.c_str(),
           load.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 3;
    bool withCache = true;
    std::wstring typed = DEFAULT_QUERY;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--query") == 0 && i + 1 < argc)
            typed = WideFrom1251(argv[++i]);
        else if (strcmp(argv[i], "--cache-off-only") == 0)
            withCache = false;
        else
            runs = std::max(1, atoi(argv[i]));
    }
    if (ProgramsRunning() > 0) {
        printf("facts.exe is running already: a new start would hand over to it\n");
        return 2;
    }
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(NULL, self, MAX_PATH);
    std::wstring program = self;
    program = program.substr(0, program.rfind(L'\\'));
    program = program.substr(0, program.rfind(L'\\')) + L"\\facts.exe";

    std::string root = BenchTempFolder() + "факты-собрание-" + std::to_string(FACTS);
    if (GetFileAttributes1251((root + "\\готово").c_str()) == INVALID_FILE_ATTRIBUTES)
        printf("making the base of %d facts (once)...\n", FACTS);
    fflush(stdout);
    Seed = 12345;
    MakeCollectionBase(root, FACTS);
    std::wstring wideRoot = WideFrom1251(root.c_str());

    SetEnvironmentVariableW(L"FACTS_INDEX_CACHE", NULL);
    std::wstring cacheFile = IndexCacheFile(root);
    if (cacheFile.empty()) {
        printf("no place for the kept index\n");
        return 2;
    }
    // The kept index that the starts with a cache begin from: one start
    // leaves it, or finds it up to date (and also warms Wine up). Its save
    // follows the complete answer, off the windows' thread, and the program
    // stays until it is written: a save cut short leaves the old file.
    ULONGLONG before = WriteTime(cacheFile);
    Start warm = TimeOneStart(program, wideRoot, typed, true, [&] {
        WaitUntil([&] { return WriteTime(cacheFile) != before; }, before ? 10 : 120);
    });
    if (!warm.answered) {
        printf("the first start failed: %s\n", warm.failure.c_str());
        return 1;
    }
    FactIndex cached;
    if (!LoadIndexCache(cacheFile, root, &cached)) {
        printf("the program left no kept index to read\n");
        return 1;
    }
    ULONGLONG kept = WriteTime(cacheFile);

    std::vector<char> buffer(1 << 16);
    size_t textBytes = 0;
    std::vector<double> floors, offFirst, offComplete, onFirst, onComplete, windows, closings;
    std::vector<std::string> floorLoads, offLoads, onLoads;
    int failed = 0, terminated = 0, cacheRewritten = 0, cacheLate = 0;
    for (int run = 0; run < runs; run++) {
        floorLoads.push_back(LoadNow());
        double begin = Now();
        textBytes = Walk(wideRoot, true, &buffer);
        floors.push_back(Now() - begin);
        for (int cache = 0; cache < (withCache ? 2 : 1); cache++) {
            Start start = TimeOneStart(program, wideRoot, typed, cache == 1);
            closings.push_back(start.closing);
            if (!start.endedCleanly) {
                printf("run %d, cache %s: still running %.0f s after WM_CLOSE, terminated\n", run + 1,
                       cache ? "kept" : "off", start.closing);
                terminated++;
            }
            if (!start.answered) {
                printf("run %d, cache %s: %s\n", run + 1, cache ? "kept" : "off", start.failure.c_str());
                failed++;
                continue;
            }
            windows.push_back(start.window);
            (cache ? onFirst : offFirst).push_back(start.firstResults);
            (cache ? onComplete : offComplete).push_back(start.complete);
            (cache ? onLoads : offLoads).push_back(start.load);
            // A kept index answers before its check is over; one that did
            // not, or that the program wrote anew, was not what it should be.
            if (cache && !typed.empty() && !start.resultsBeforeEnd)
                cacheLate++;
            if (cache && WriteTime(cacheFile) != kept) {
                cacheRewritten++;
                kept = WriteTime(cacheFile);
            }
        }
    }
    int left = ProgramsRunning();

    const char* watch = getenv("FACTS_WATCH");
    char query[SLOT_SIZE];
    TextTo1251(typed.c_str(), -1, query, sizeof query);
    printf("\nbase: %d facts in the kept index, %.1f MB of text; query \"%s\" found %ld; FACTS_WATCH=%s; "
           "%d runs\n\n",
           (int)cached.facts.size(), textBytes / 1048576.0, query, warm.found, watch ? watch : "", runs);
    printf("| the program's rows: from CreateProcess | median s | / floor | each run s | "
           "load average (1 min) before each |\n");
    printf("|---|---:|---:|---|---|\n");
    double floor = MedianOf(floors);
    PrintRow("floor: every folder listed, every file read (this process)", floors, floor, floorLoads);
    // Nothing typed lists nothing: only the walk's end is timed.
    if (!typed.empty())
        PrintRow("cache off: first answer with results", offFirst, floor, offLoads);
    PrintRow("cache off: complete answer", offComplete, floor, offLoads);
    if (withCache && !typed.empty())
        PrintRow("cache kept: first answer with results", onFirst, floor, onLoads);
    if (withCache)
        PrintRow("cache kept: complete answer", onComplete, floor, onLoads);
    printf("\nmain window found after %.2f s, gone %.2f s after WM_CLOSE (medians of all starts; longest close "
           "%.2f s)\n",
           MedianOf(windows), MedianOf(closings), *std::max_element(closings.begin(), closings.end()));
    if (failed)
        printf("%d starts gave no complete answer\n", failed);
    if (terminated)
        printf("%d starts did not end on WM_CLOSE and were terminated\n", terminated);
    if (cacheLate)
        printf("%d starts with the cache kept showed no results before the walk ended\n", cacheLate);
    if (cacheRewritten)
        printf("%d starts with the cache kept wrote it anew: it did not match the base\n", cacheRewritten);
    if (left)
        printf("%d facts.exe still running\n", left);
    return failed || terminated || cacheLate || cacheRewritten || left ? 1 : 0;
}
