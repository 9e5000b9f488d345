#include "../ui/dialog_doors.h"
#include "../browser/fact_base_dialog.h"
#include "../categories/category_editor_dialog.h"
#include "../wizard/fact_placement_dialog.h"
#include "../capture/capture_dialog.h"
#include "../resources/resource.h"
#include "../ui/app_messages.h"
#include "../ui/app_state.h"
#include "../ui/platform_ui.h"

HWND OpenFactBase(HWND owner)
{
    return OpenDialog(IDD_FACT_BASE, FactBaseDialog, owner);
}

HWND OpenCategoryEditor(HWND owner)
{
    return OpenDialog(IDD_CATEGORY_EDITOR, CategoryEditorDialog, owner);
}

HWND OpenFactWizard(HWND owner)
{
    return OpenDialog(IDD_FACT_PLACEMENT, FactPlacementDialog, owner);
}

HWND OpenQuickCapture(HWND returnTo, const char* directive, const std::wstring* dropped)
{
    if (dropped)
        return CaptureDroppedText(App.OwnerWindow, returnTo, directive, *dropped);
    return CaptureClipboard(App.OwnerWindow, returnTo, directive);
}

bool ShowFactInBrowser(const char* root, const FactToShow& fact)
{
    HWND browser = MostRecentBrowser();
    if (!browser) {
        // A new browser takes the working directory as its base root.
        SetCurrentDirectory1251(root);
        browser = OpenFactBase(App.OwnerWindow);
    }
    if (!browser)
        return false;
    bool shown = SendMessageW(browser, WM_FACTS_SHOW_FACT, 0, (LPARAM)&fact) != 0;
    App.ActiveDialog = browser;
    SetActiveWindow(browser);
    return shown;
}
