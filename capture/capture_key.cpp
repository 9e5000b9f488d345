#include "capture_key.h"
#include "../resources/resource.h"
#include "../resources/ui_strings.h"
#include "../platform/platform_text.h"

#ifndef MOD_NOREPEAT
#define MOD_NOREPEAT 0x4000
#endif

bool RegisterCaptureKey(HWND window)
{
    // Held down, the key would open one window after another.
    return RegisterHotKey(window, CAPTURE_HOTKEY_ID, MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, 'F') != 0;
}

void UnregisterCaptureKey(HWND window)
{
    UnregisterHotKey(window, CAPTURE_HOTKEY_ID);
}

void ShowCaptureKeyInMenu(HWND window, bool taken)
{
    HMENU menu = GetMenu(window);
    if (!menu || !taken)
        return;
    ModifyMenuW(menu, IDM_QUICK_CAPTURE, MF_BYCOMMAND | MF_STRING, IDM_QUICK_CAPTURE,
                WideFrom1251(Text::CaptureMenuKeyTaken).c_str());
    DrawMenuBar(window);
}
