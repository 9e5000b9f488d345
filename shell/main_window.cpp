#include "main_window.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../ui/app_messages.h"
#include "../ui/app_state.h"
#include "../ui/platform_ui.h"
#include "../ui/unsaved_text.h"
#include "../ui/dialog_doors.h"
#include "../watch/base_watch.h"
#include "../search/search_dialog.h"
#include "../search/search_service.h"
#include "../check/base_check_dialog.h"
#include "../capture/capture_dialog.h"
#include "../capture/capture_key.h"
#include "../capture/capture_places.h"

static const int RESTORED_WIDTH = 800;
static const int RESTORED_HEIGHT = 600;

bool RegisterMainWindowClass(HINSTANCE instance)
{
    std::wstring className = WideFrom1251(Text::MainTitle);
    WNDCLASSW windowClass = {};
    windowClass.style = 0;  // no CS_HREDRAW/CS_VREDRAW: a resize repaints only what it uncovers
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"IDI_ICON1");
    windowClass.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
    windowClass.lpszClassName = className.c_str();
    return RegisterClassW(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance)
{
    std::wstring name = WideFrom1251(Text::MainTitle);
    // The program is DPI aware: at 144 DPI the restored window keeps the
    // size on screen that 800 x 600 has at 96 DPI.
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(NULL, screen);
    return CreateWindowExW(0, name.c_str(), name.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, MulDiv(RESTORED_WIDTH, dpi, 96),
                           MulDiv(RESTORED_HEIGHT, dpi, 96), NULL, NULL, instance, NULL);
}

// The wallpaper is the user's file in the base root, read anew at every paint
// so that a replaced picture shows at once. Without it the white class
// background stays.
static void PaintWallpaper(HWND window, HDC dc)
{
    HBITMAP bitmap =
        (HBITMAP)LoadImageW(NULL, WideFrom1251(Text::WallpaperFile).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!bitmap)
        return;
    BITMAP size;
    GetObjectW(bitmap, sizeof size, &size);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    RECT client;
    GetClientRect(window, &client);
    StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

static void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintWallpaper(window, dc);
    EndPaint(window, &paint);
}

static void OnCommand(HWND window, int command)
{
    switch (command) {
    case IDM_FACT_BASE: OpenFactBase(window); break;
    case IDM_CREATE_CATEGORY: OpenCategoryEditor(window); break;
    case IDM_CREATE_FACT: OpenFactWizard(window); break;
    case IDM_SEARCH: OpenOrRaiseSearch(window); break;
    case IDM_BASE_CHECK: OpenOrRaiseBaseCheck(window); break;
    case IDM_QUICK_CAPTURE: CaptureClipboard(window, GetActiveWindow(), NULL); break;
    case IDM_EXIT:
        if (DialogsMayClose(window))
            PostQuitMessage(0);
        break;
    default: break;
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_FACTS_BASE_CHANGED: AnnounceWatchedChanges(); return 0;
    case WM_FACTS_NEWEST_PLACE: OfferNewestPlaceToCaptures(); return 0;
    case WM_HOTKEY:
        if (wParam == CAPTURE_HOTKEY_ID)
            CaptureSelectionInFront(window);
        return 0;
    // Every road out asks the dialogs that hold typed text first.
    case WM_CLOSE:
        if (DialogsMayClose(window))
            DestroyWindow(window);
        return 0;
    case WM_QUERYENDSESSION: return DialogsMayClose(window) ? TRUE : FALSE;
    case WM_PAINT: OnPaint(window); return 0;
    // The same picture into a given device context (PrintWindow, a memory DC).
    case WM_PRINTCLIENT: PaintWallpaper(window, (HDC)wParam); return 0;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam)); return 0;
    case WM_LBUTTONDOWN: return 0;
    case WM_LBUTTONUP: return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A dialog's own keys (the browser's Ctrl+X, Ctrl+V, Ctrl+Z) come before
// the dialog manager's; a dialog that does not take them leaves them there.
static bool OfferKeyToDialog(HWND dialog, const MSG& message)
{
    WPARAM key = MAKEWPARAM((WORD)message.wParam, GetKeyState(VK_CONTROL) < 0 ? 1 : 0);
    return SendMessageW(dialog, WM_FACTS_DIALOG_KEY, key, (LPARAM)message.hwnd) != 0;
}

int RunMessageLoop(HWND mainWindow, HACCEL accelerators)
{
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, NULL, 0, 0)) != 0) {
        if (got == -1)
            return 0;
        if (App.ActiveDialog && message.message == WM_KEYDOWN && OfferKeyToDialog(App.ActiveDialog, message))
            continue;
        if (App.ActiveDialog && IsDialogMessageW(App.ActiveDialog, &message))
            continue;
        if (TranslateAcceleratorW(mainWindow, accelerators, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return (int)message.wParam;
}

void StartBackgroundWork(HWND mainWindow, const char* root)
{
    // What others change below the root reaches the open dialogs by itself.
    if (root)
        StartBaseWatch(root, mainWindow, WM_FACTS_BASE_CHANGED);
    bool keyTaken = !RegisterCaptureKey(mainWindow);
    ShowCaptureKeyInMenu(mainWindow, keyTaken);
    NoteCaptureKeyTaken(keyTaken);
    if (!root)
        return;
    StartLookingForNewestPlace(root, mainWindow, WM_FACTS_NEWEST_PLACE);
    RefreshSearchIndex(root);
}

void StopBackgroundWork(HWND mainWindow)
{
    UnregisterCaptureKey(mainWindow);
    StopBaseWatch();
}

int AppMain(HINSTANCE instance)
{
    InitAppState(&App);
    if (!RegisterMainWindowClass(instance))
        return 0;
    HWND mainWindow = CreateMainWindow(instance);
    if (!mainWindow)
        return 0;
    App.AppInstance = instance;
    App.OwnerWindow = mainWindow;
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
    ShowWindow(mainWindow, SW_SHOWMAXIMIZED);
    UpdateWindow(mainWindow);
    // The base is the working directory the program started in.
    char root[SLOT_SIZE];
    StartBackgroundWork(mainWindow, GetCurrentDirectory1251(root, SLOT_SIZE) == TEXT_FITS ? root : NULL);
    int exitCode = RunMessageLoop(mainWindow, accelerators);
    StopBackgroundWork(mainWindow);
    return exitCode;
}
