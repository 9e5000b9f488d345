#include "message_boxes.h"
#include "../../browser/fact_base_dialog.h"
#include "../../categories/category_editor_dialog.h"
#include "../../wizard/fact_placement_dialog.h"
#include "../../wizard/fact_description_dialog.h"
#include "../../wizard/fact_text_dialog.h"
#include "../../search/search_dialog.h"
#include "../../check/base_check_dialog.h"
#include "../../export/export_dialog.h"
#include "../../import/import_dialog.h"
#include "../../capture/capture_dialog.h"
#include "../../ui/platform_ui.h"

#include <algorithm>

static MessageBoxWatcher* current = nullptr;

MessageBoxWatcher::MessageBoxWatcher()
{
    current = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, NULL, GetCurrentThreadId());
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    UnhookWindowsHookEx(hook_);
    current = nullptr;
}

// Our own dialogs are dialogs too; a message box is a dialog run by the system.
static bool IsProgramDialog(HWND window)
{
    DLGPROC procedure = (DLGPROC)GetWindowLongPtrW(window, DWLP_DLGPROC);
    return procedure == FactBaseDialog || procedure == CategoryEditorDialog || procedure == FactPlacementDialog ||
           procedure == FactDescriptionDialog || procedure == FactTextDialog || procedure == SearchDialog ||
           procedure == BaseCheckDialog || procedure == ExportProgressDialog || procedure == CaptureDialog ||
           procedure == ImportDialog;
}

static BOOL CALLBACK CollectButton(HWND child, LPARAM param)
{
    wchar_t className[32];
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Button") == 0 && (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
        ((std::vector<int>*)param)->push_back(GetDlgCtrlID(child));
    return TRUE;
}

void MessageBoxWatcher::OnActivate(HWND box)
{
    wchar_t className[32];
    GetClassNameW(box, className, 32);
    if (lstrcmpW(className, L"#32770") != 0 || IsProgramDialog(box))
        return;
    if (std::find(answered_.begin(), answered_.end(), box) != answered_.end())
        return;
    answered_.push_back(box);

    SeenMessageBox seen;
    seen.text = WindowTextWide(GetDlgItem(box, 0xFFFF));
    seen.caption = WindowTextWide(box);
    seen.owner = GetWindow(box, GW_OWNER);
    seen.window = box;
    EnumChildWindows(box, CollectButton, (LPARAM)&seen.buttons);
    HWND icon = GetDlgItem(box, 0x0440);
    seen.hasIcon = icon && (GetWindowLongW(icon, GWL_STYLE) & WS_VISIBLE) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
    seen_.push_back(seen);

    if (whileUp_) {
        std::function<void()> action = whileUp_;
        whileUp_ = nullptr;
        action();
    }
    // Unless told, the first button: OK where there is one, Yes in a Yes/No box.
    int answer = seen.buttons.empty() ? IDOK : seen.buttons.front();
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}

LRESULT CALLBACK MessageBoxWatcher::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && current)
        current->OnActivate((HWND)wParam);
    return CallNextHookEx(NULL, code, wParam, lParam);
}
