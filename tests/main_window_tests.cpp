// The main window in-process: its class, title, menu, keys, wallpaper and the
// message loop that ends the program.
#include "../shell/main_window.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../ui/app_state.h"
#include "../ui/platform_ui.h"
#include "../search/search_service.h"
#include "support/dialog_driver.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const wchar_t TITLE[] = L"Сбор и систематизация фактов Тарвелии";

HINSTANCE Instance()
{
    return GetModuleHandleW(NULL);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitAppState(&App);
        // AppMain registers the class itself: whichever test ran first did it.
        WNDCLASSW info;
        if (!GetClassInfoW(Instance(), TITLE, &info)) {
            ASSERT_TRUE(RegisterMainWindowClass(Instance()));
        }
        window_ = CreateMainWindow(Instance());
        ASSERT_TRUE(window_ != NULL);
        App.AppInstance = Instance();
        App.OwnerWindow = window_;
    }
    void TearDown() override
    {
        if (IsWindow(window_))
            DestroyWindow(window_);
        // The destruction posts a quit message; it must not end the next test's loop.
        MSG message;
        while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        }
    }
    HWND window_ = NULL;
};

// Windows of this thread with that title (dialogs included).
int CountWindowsTitled(const wchar_t* title)
{
    struct Search {
        const wchar_t* title;
        int count;
    } search = { title, 0 };
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            Search* s = (Search*)param;
            if (IsWindow(window) && WindowTextWide(window) == s->title)
                s->count++;
            return TRUE;
        },
        (LPARAM)&search);
    return search.count;
}

TEST_F(MainWindow, ClassAndTitleAreTheRussianNameInEveryCodePage)
{
    EXPECT_EQ(WindowTextWide(window_), TITLE);
    EXPECT_EQ(Cp1251(WindowTextWide(window_)), std::string(Text::MainTitle));
    wchar_t className[128];
    GetClassNameW(window_, className, 128);
    EXPECT_STREQ(className, TITLE);

    WNDCLASSW info;
    ASSERT_TRUE(GetClassInfoW(Instance(), TITLE, &info));
    EXPECT_EQ(info.style, 0u);
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.cbWndExtra, 0);
    EXPECT_EQ(info.hbrBackground, (HBRUSH)GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(info.hCursor, LoadCursorW(NULL, (LPCWSTR)IDC_ARROW));
    EXPECT_TRUE(info.hIcon != NULL);
    EXPECT_EQ(info.lpszMenuName, MAKEINTRESOURCEW(IDR_MAIN_MENU));
}

// The search index starts its first walk once the main window is shown,
// and the start goes on without waiting for it: here the walk is held at
// its first Directive, for ten seconds at most, while the start returns.
HANDLE walkHeld;
void HoldWalk()
{
    WaitForSingleObject(walkHeld, 10000);
}

TEST_F(MainWindow, TheIndexIsBuiltInTheBackgroundOnceTheWindowIsShown)
{
    std::string base = NewTestFolder();
    MakeFolder(base + "\\Раздел");
    MakeFolder(base + "\\Раздел\\Тема");
    MakeFolder(base + "\\Раздел\\Тема\\Подтема");
    MakeFolder(base + "\\Раздел\\Тема\\Подтема\\Установка");
    MakeFolder(base + "\\Раздел\\Тема\\Подтема\\Установка\\Факт");
    WriteBytes(base + "\\Раздел\\Тема\\Подтема\\Установка\\Факт\\Факт.txt", "пирамида");
    ShowWindow(window_, SW_SHOW);
    walkHeld = CreateEventW(NULL, TRUE, FALSE, NULL);
    SearchWalkStep = HoldWalk;
    StartBackgroundWork(window_, base.c_str());
    // Held, the walk has not ended: a start that waited for it would find it over.
    EXPECT_TRUE(SearchIndexBusy()) << "the start waited for the walk";
    EXPECT_TRUE(IsWindowVisible(window_));
    SetEvent(walkHeld);
    for (int i = 0; i < 500 && SearchIndexBusy(); i++)
        Sleep(20);
    SearchWalkStep = NULL;
    CloseHandle(walkHeld);
    StopBackgroundWork(window_);
    ASSERT_FALSE(SearchIndexBusy());
    EXPECT_EQ(QuerySearchIndex(ParseQuery("пирамида")).found.size(), 1u) << "F5 answers from the index built";
}

TEST_F(MainWindow, RestoredSizeIs800By600AtTheTopLeft)
{
    EXPECT_EQ((DWORD)GetWindowLongW(window_, GWL_STYLE) & WS_OVERLAPPEDWINDOW, (DWORD)WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(GetWindowLongW(window_, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    ShowWindow(window_, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsZoomed(window_));
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window_, &placement);
    EXPECT_EQ(placement.rcNormalPosition.left, 0);
    EXPECT_EQ(placement.rcNormalPosition.top, 0);
    EXPECT_EQ(placement.rcNormalPosition.right, 800);
    EXPECT_EQ(placement.rcNormalPosition.bottom, 600);
}

TEST_F(MainWindow, MenuBarHoldsSevenCommandsAndNoDropDowns)
{
    struct Item {
        const wchar_t* text;
        UINT id;
    };
    const Item expected[] = {
        { L"&БАЗА ФАКТОВ", IDM_FACT_BASE }, { L"&СОЗДАТЬ", IDM_CREATE_CATEGORY }, { L"&СОЗДАТЬ ФАКТ", IDM_CREATE_FACT },
        { L"&БЫСТРЫЙ ФАКТ", IDM_QUICK_CAPTURE }, { L"&ПОИСК", IDM_SEARCH },          { L"&ПРОВЕРКА", IDM_BASE_CHECK },     { L"&ВЫХОД", IDM_EXIT },
    };
    HMENU menu = GetMenu(window_);
    ASSERT_TRUE(menu != NULL);
    ASSERT_EQ(GetMenuItemCount(menu), 7);
    for (int i = 0; i < 7; i++) {
        wchar_t text[64];
        GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, expected[i].text);
        EXPECT_EQ(GetMenuItemID(menu, i), expected[i].id);
        EXPECT_TRUE(GetSubMenu(menu, i) == NULL);
    }
}

TEST_F(MainWindow, AcceleratorsAreF1ToF7WithoutModifiers)
{
    HACCEL table = LoadAcceleratorsW(Instance(), MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
    ASSERT_TRUE(table != NULL);
    ACCEL entries[8];
    ASSERT_EQ(CopyAcceleratorTableW(table, entries, 8), 7);
    const WORD keys[] = { VK_F1, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7 };
    const WORD commands[] = {
        IDM_FACT_BASE, IDM_CREATE_CATEGORY, IDM_CREATE_FACT, IDM_EXIT, IDM_SEARCH, IDM_BASE_CHECK, IDM_QUICK_CAPTURE
    };
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(entries[i].key, keys[i]);
        EXPECT_EQ(entries[i].cmd, commands[i]);
        EXPECT_EQ(entries[i].fVirt & ~0x80, FVIRTKEY | FNOINVERT);  // 0x80 marks the last entry
    }
}

TEST_F(MainWindow, ExitCommandEndsTheLoopWithZeroAndLeavesTheWindow)
{
    PostMessageW(window_, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(RunMessageLoop(window_, NULL), 0);
    EXPECT_TRUE(IsWindow(window_)) << "the window is not destroyed before the loop ends";
}

TEST_F(MainWindow, F4ThroughTheAcceleratorsEndsTheLoop)
{
    HACCEL table = LoadAcceleratorsW(Instance(), MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
    PostMessageW(window_, WM_KEYDOWN, VK_F4, 0x003E0001);
    EXPECT_EQ(RunMessageLoop(window_, table), 0);
}

TEST_F(MainWindow, ClosingTheWindowEndsTheLoopWithZero)
{
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(window_, NULL), 0);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(MainWindow, UnknownCommandsAndClicksDoNothing)
{
    for (int command : { 2000, 2002, 2004, 2006, 2008, 2010, 2012, 1, 40000 })
        EXPECT_EQ(SendMessageW(window_, WM_COMMAND, command, 0), 0) << command;
    EXPECT_EQ(SendMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)), 0);
    EXPECT_EQ(SendMessageW(window_, WM_LBUTTONUP, 0, MAKELPARAM(10, 10)), 0);
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "nothing asked the loop to end";
    EXPECT_TRUE(App.ActiveDialog == NULL) << "no dialog was opened";
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(MainWindow, EachOpeningCommandOpensANewOwnedDialogAndMakesItActive)
{
    struct Case {
        int command;
        const wchar_t* title;
    };
    const Case cases[] = {
        { IDM_FACT_BASE, L"БАЗА ФАКТОВ" },
        { IDM_CREATE_CATEGORY, L"CОЗДАНИЕ" },
        { IDM_CREATE_FACT, L"Создание Факта - выбор папки" },
    };
    SetCurrentDirectoryW(Wide(NewTestFolder()).c_str());
    for (const Case& c : cases) {
        SendMessageW(window_, WM_COMMAND, c.command, 0);
        HWND first = App.ActiveDialog;
        SendMessageW(window_, WM_COMMAND, c.command, 0);
        HWND second = App.ActiveDialog;
        ASSERT_TRUE(IsWindow(first) && IsWindow(second));
        EXPECT_NE(first, second) << "an open dialog is not reused";
        EXPECT_EQ(WindowTextWide(second), c.title);
        EXPECT_EQ(GetWindow(second, GW_OWNER), window_);
        EXPECT_EQ(CountWindowsTitled(c.title), 2);
        DestroyWindow(first);
        DestroyWindow(second);
    }
    SetCurrentDirectoryW(L"C:\\");
}

TEST_F(MainWindow, TheActiveDialogGetsTheKeyboardBeforeTheAccelerators)
{
    SetCurrentDirectoryW(Wide(NewTestFolder()).c_str());
    HACCEL table = LoadAcceleratorsW(Instance(), MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
    SendMessageW(window_, WM_COMMAND, IDM_FACT_BASE, 0);
    HWND browser = App.ActiveDialog;
    HWND list = GetDlgItem(browser, IDC_BROWSER_SECTION_LIST);

    // F2 with the focus in the active dialog: the dialog takes it.
    PostMessageW(list, WM_KEYDOWN, VK_F2, 0x003C0001);
    // F2 at the main window: the accelerator opens the category editor.
    PostMessageW(window_, WM_KEYDOWN, VK_F2, 0x003C0001);
    PostMessageW(window_, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(RunMessageLoop(window_, table), 0);
    EXPECT_EQ(CountWindowsTitled(L"CОЗДАНИЕ"), 1);
    EXPECT_NE(App.ActiveDialog, browser);
    DestroyWindow(App.ActiveDialog);
    DestroyWindow(browser);
    SetCurrentDirectoryW(L"C:\\");
}

// A bitmap file of one colour.
void WriteBitmap(const std::string& path, BYTE red, BYTE green, BYTE blue)
{
    const int width = 4, height = 4;
    std::string bytes(54 + width * height * 3, '\0');
    BITMAPFILEHEADER* file = (BITMAPFILEHEADER*)&bytes[0];
    BITMAPINFOHEADER* info = (BITMAPINFOHEADER*)&bytes[14];
    file->bfType = 0x4D42;
    file->bfSize = (DWORD)bytes.size();
    file->bfOffBits = 54;
    info->biSize = 40;
    info->biWidth = width;
    info->biHeight = height;
    info->biPlanes = 1;
    info->biBitCount = 24;
    for (int i = 0; i < width * height; i++) {
        bytes[54 + i * 3] = (char)blue;
        bytes[55 + i * 3] = (char)green;
        bytes[56 + i * 3] = (char)red;
    }
    WriteBytes(path, bytes);
}

// What the window paints, rendered into a memory DC through its own painting
// (background first, then the client area), read at the centre. The bitmap
// starts black, so white can only come from the window.
COLORREF PaintedColour(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(window, screen);
    HGDIOBJ previous = SelectObject(memory, canvas);
    PatBlt(memory, 0, 0, client.right, client.bottom, BLACKNESS);
    SendMessageW(window, WM_PRINT, (WPARAM)memory, PRF_CLIENT | PRF_ERASEBKGND);
    COLORREF colour = GetPixel(memory, client.right / 2, client.bottom / 2);
    SelectObject(memory, previous);
    DeleteObject(canvas);
    DeleteDC(memory);
    return colour;
}

TEST_F(MainWindow, TheWallpaperIsReadFromTheBaseRootAtEveryPaint)
{
    std::string base = NewTestFolder();
    SetCurrentDirectoryW(Wide(base).c_str());
    ShowWindow(window_, SW_SHOWMAXIMIZED);

    EXPECT_EQ(PaintedColour(window_), RGB(255, 255, 255)) << "no rus.bmp: the white background";
    WriteBitmap(base + "\\rus.bmp", 0, 0, 255);
    EXPECT_EQ(PaintedColour(window_), RGB(0, 0, 255));
    WriteBitmap(base + "\\rus.bmp", 255, 0, 0);
    EXPECT_EQ(PaintedColour(window_), RGB(255, 0, 0)) << "a replaced picture shows at the next paint";
    WriteBytes(base + "\\rus.bmp", "not a bitmap");
    EXPECT_EQ(PaintedColour(window_), RGB(255, 255, 255));
    SetCurrentDirectoryW(L"C:\\");
}

// The whole start-up as WinMain runs it, ended from a timer by the exit command.
TEST(AppMain, StartsMaximisedWithTheSharedStateSetAndReturnsZero)
{
    static HWND found;
    static bool zoomed;
    found = NULL;
    zoomed = false;
    UINT_PTR timer = SetTimer(NULL, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        found = FindWindowW(TITLE, TITLE);
        if (found) {
            zoomed = IsZoomed(found) && IsWindowVisible(found);
            PostMessageW(found, WM_COMMAND, IDM_EXIT, 0);
        }
    });
    UnregisterClassW(TITLE, GetModuleHandleW(NULL));  // AppMain registers it itself
    PumpMessages();                                   // no quit message left by an earlier window may end this loop
    EXPECT_EQ(AppMain(GetModuleHandleW(NULL)), 0);
    KillTimer(NULL, timer);
    ASSERT_TRUE(found != NULL);
    EXPECT_TRUE(zoomed);
    EXPECT_EQ(App.OwnerWindow, found);
    EXPECT_EQ(App.AppInstance, GetModuleHandleW(NULL));
    EXPECT_STREQ(App.DirectivePath, "C:\\");
    EXPECT_STREQ(App.LastFolderPath, "D:\\");
    EXPECT_STREQ(App.FactName, "");
    DestroyWindow(found);
    PumpMessages();  // the quit message the destruction posted
}

}  // namespace
