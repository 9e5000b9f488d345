// How long a folder list takes to fill, against the floor of merely
// enumerating the folders. Makes folders of 100, 1,000, 10,000 and 50,000
// sub-folders (a quarter with Cyrillic names) and reports the median of:
//   fill     the program's fill of a visible list box in a real dialog
//   store    ListSubfolders alone
//   literal  the message-by-message fill (LB_DIR and three messages an entry), up to 1,000
//   floor    FindFirstFileExA over the folder
// Then checks the two targets: fill of 10,000 at most 2.5 times the floor,
// and growth from 1,000 to 50,000 no worse than n log n.
#include "../browser/fact_base_dialog.h"
#include "../resources/resource.h"
#include "../ui/app_state.h"
#include "../store/fact_store.h"
#include "../ui/folder_list.h"
#include "../platform/platform_text.h"
#include "../tests/support/literal_fill.h"

#include "timing.h"
#include <windows.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::wstring MakeFolders(const std::wstring& root, int count)
{
    std::wstring folder = root + L"\\n" + std::to_wstring(count);
    if (GetFileAttributesW((folder + L"\\done").c_str()) != INVALID_FILE_ATTRIBUTES)
        return folder;
    CreateDirectoryW(folder.c_str(), NULL);
    for (int i = 0; i < count; i++) {
        std::wstring name =
            i % 4 == 0 ? L"Папка " + std::to_wstring(i) : L"folder_" + std::to_wstring(i * 7919 % 100003);
        CreateDirectoryW((folder + L"\\" + name).c_str(), NULL);
    }
    CloseHandle(CreateFileW((folder + L"\\done").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    return folder;
}

double Floor(const std::wstring& folder)
{
    char pattern[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, (folder + L"\\*.*").c_str(), -1, pattern, MAX_PATH, NULL, NULL);
    return Median(5, [&] {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileExA(pattern, FindExInfoBasic, &found, FindExSearchNameMatch, NULL, 0);
        int count = 0;
        if (search != INVALID_HANDLE_VALUE) {
            do {
                count++;
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
    });
}

}  // namespace

int main(int argc, char** argv)
{
    std::wstring root = L"C:\\facts-bench";
    if (argc > 1)
        root = WideFrom1251(argv[1]);
    CreateDirectoryW(root.c_str(), NULL);
    InitAppState(&App);
    App.AppInstance = GetModuleHandleW(NULL);
    SetCurrentDirectoryW(root.c_str());
    HWND dialog = CreateDialogParamW(App.AppInstance, MAKEINTRESOURCEW(IDD_FACT_BASE), NULL, FactBaseDialog, 0);
    ShowWindow(dialog, SW_SHOW);
    Pump();
    HWND list = GetDlgItem(dialog, IDC_BROWSER_SECTION_LIST);

    const int sizes[] = { 100, 1000, 10000, 50000 };
    double fill[4], store[4], floor[4];
    std::printf("%8s %12s %12s %12s %12s %10s\n", "folders", "fill s", "store s", "literal s", "floor s", "fill/floor");
    for (int i = 0; i < 4; i++) {
        std::wstring folder = MakeFolders(root, sizes[i]);
        char folder1251[MAX_PATH];
        TextTo1251(folder.c_str(), -1, folder1251, MAX_PATH);
        int runs = sizes[i] >= 50000 ? 3 : 5;
        floor[i] = Floor(folder);
        fill[i] = Median(runs, [&] {
            SendMessageW(list, LB_RESETCONTENT, 0, 0);
            FillFolderList(list, folder1251);
            UpdateWindow(list);
        });
        Pump();
        store[i] = Median(runs, [&] {
            std::vector<std::string> names;
            ListSubfolders(folder1251, &names);
        });
        double literal = -1;
        if (sizes[i] <= 1000) {
            literal = Median(3, [&] {
                SendMessageW(list, LB_RESETCONTENT, 0, 0);
                SetCurrentDirectoryW(folder.c_str());
                LiteralFolderFill(list);
                SetCurrentDirectoryW(root.c_str());
                UpdateWindow(list);
            });
            Pump();
        }
        char literalText[32] = "-";
        if (literal >= 0)
            std::snprintf(literalText, sizeof literalText, "%.4f", literal);
        std::printf("%8d %12.4f %12.4f %12s %12.4f %10.2f\n", sizes[i], fill[i], store[i], literalText, floor[i],
                    fill[i] / floor[i]);
        std::fflush(stdout);
    }
    double nlogn = (50000.0 * std::log(50000.0)) / (1000.0 * std::log(1000.0));
    double growth = fill[3] / fill[1];
    bool ratioMet = fill[2] <= 2.5 * floor[2];
    bool growthMet = growth <= nlogn;
    std::printf("fill of 10,000 vs floor: %.2f (target at most 2.50): %s\n", fill[2] / floor[2],
                ratioMet ? "met" : "MISSED");
    std::printf("growth of fill 1,000 -> 50,000: %.1fx (n log n allows %.1fx): %s\n", growth, nlogn,
                growthMet ? "met" : "MISSED");
    DestroyWindow(dialog);
    return ratioMet && growthMet ? 0 : 1;
}
