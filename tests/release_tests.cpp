// The program of the unpacked release archive: what Explorer's properties
// page and Windows' loader read from it, and a start from its own folder
// that shows the demo base and ends with F4.
#include "../resources/resource.h"
#include "version.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

namespace {

// The unpacked "Факты" folder, handed over by the test command as a Unix
// path below Wine's drive Z:.
std::wstring ReleaseFolder()
{
    wchar_t unix[1024];
    DWORD length = GetEnvironmentVariableW(L"FACTS_RELEASE_FOLDER", unix, 1024);
    if (length == 0 || length >= 1024)
        return std::wstring();
    std::wstring folder = L"Z:";
    for (const wchar_t* c = unix; *c; c++)
        folder += *c == L'/' ? L'\\' : *c;
    return folder;
}

std::wstring Program()
{
    return ReleaseFolder() + L"\\facts.exe";
}

class Release : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(ReleaseFolder().empty()) << "FACTS_RELEASE_FOLDER is not set: the test's CTest entry sets it";
        ASSERT_NE(GetFileAttributesW(Program().c_str()), INVALID_FILE_ATTRIBUTES);
    }
};

std::wstring VersionString(const std::vector<char>& info, const wchar_t* name)
{
    wchar_t* value = NULL;
    UINT length = 0;
    std::wstring query = std::wstring(L"\\StringFileInfo\\041904B0\\") + name;
    if (!VerQueryValueW(info.data(), query.c_str(), (void**)&value, &length) || !value)
        return std::wstring();
    return value;
}

TEST_F(Release, TheVersionResourceNamesTheProjectVersionInRussian)
{
    DWORD size = GetFileVersionInfoSizeW(Program().c_str(), NULL);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(Program().c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", (void**)&fixed, &length));
    EXPECT_EQ(fixed->dwFileVersionMS, (DWORD)MAKELONG(FACTS_VERSION_MINOR, FACTS_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, (DWORD)MAKELONG(0, FACTS_VERSION_PATCH));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);

    std::wstring version = std::to_wstring(FACTS_VERSION_MAJOR) + L"." + std::to_wstring(FACTS_VERSION_MINOR) + L"." +
                           std::to_wstring(FACTS_VERSION_PATCH);
    struct Case {
        const wchar_t* name;
        std::wstring value;
    };
    const Case cases[] = {
        { L"FileDescription", L"Сбор и систематизация фактов Тарвелии" },
        { L"ProductName", L"Факты Тарвелии" },
        { L"FileVersion", version },
        { L"ProductVersion", version },
        { L"OriginalFilename", L"facts.exe" },
        { L"LegalCopyright", L"\u00a9 2026 Разработчики Фактов Тарвелии, лицензия MIT" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(VersionString(info, c.name), c.value);
}

TEST_F(Release, TheManifestAsksForNoElevationAndKnowsWindows7To11)
{
    HMODULE module = LoadLibraryExW(Program().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module != NULL);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_TRUE(found != NULL);
    std::string manifest((const char*)LockResource(LoadResource(module, found)), SizeofResource(module, found));
    FreeLibrary(module);
    const char* wanted[] = {
        "level=\"asInvoker\"",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
        ">true</dpiAware>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
    };
    for (const char* text : wanted)
        EXPECT_NE(manifest.find(text), std::string::npos) << text;
}

// A top-level window of that process with that title, or NULL.
struct WindowSearch {
    DWORD process;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    WindowSearch* search = (WindowSearch*)param;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t title[128];
    if (process == search->process && IsWindowVisible(window) && GetWindowTextW(window, title, 128) &&
        lstrcmpW(title, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(DWORD process, const wchar_t* title)
{
    for (int i = 0; i < 600; i++) {
        WindowSearch search = { process, title, NULL };
        EnumWindows(MatchWindow, (LPARAM)&search);
        if (search.found)
            return search.found;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
    }
    return NULL;
}

TEST_F(Release, StartsFromItsFolderOnTheDemoBaseAndEndsWithF4)
{
    // As Explorer starts it on a double click: its own folder is the working directory.
    std::wstring program = Program();
    std::wstring folder = ReleaseFolder();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    std::wstring commandLine = L"\"" + program + L"\"";
    ASSERT_TRUE(CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup,
                               &started));
    HWND main = WaitForWindow(started.dwProcessId, L"Сбор и систематизация фактов Тарвелии");
    EXPECT_TRUE(main != NULL);
    if (main) {
        PostMessageW(main, WM_COMMAND, IDM_FACT_BASE, 0);
        HWND browser = WaitForWindow(started.dwProcessId, L"БАЗА ФАКТОВ");
        ASSERT_TRUE(browser != NULL);
        HWND sections = GetDlgItem(browser, IDC_BROWSER_SECTION_LIST);
        std::vector<std::wstring> listed;
        int count = (int)SendMessageW(sections, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++) {
            wchar_t entry[256] = L"";
            if (SendMessageW(sections, LB_GETTEXTLEN, i, 0) < 256)
                SendMessageW(sections, LB_GETTEXT, i, (LPARAM)entry);
            listed.push_back(entry);
        }
        const std::vector<std::wstring> demo = { L"..", L"Города", L"История", L"Природа" };
        EXPECT_EQ(listed, demo);
        // F4 reaches the program as a key does, through its accelerators.
        PostMessageW(main, WM_KEYDOWN, VK_F4, 0);
        PostMessageW(main, WM_KEYUP, VK_F4, 0xC0000001);
    }
    EXPECT_EQ(WaitForSingleObject(started.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(started.hProcess, &code);
    EXPECT_EQ(code, 0u);
    TerminateProcess(started.hProcess, 1);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

}  // namespace
