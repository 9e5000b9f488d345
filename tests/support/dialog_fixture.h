// A fact base on disk, an owner window standing in for the main window, the
// shared state at its start values, and the shell's folder opening recorded
// instead of performed: what every dialog test starts from.
#pragma once
#include "message_boxes.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // base\Раздел\Тема\Подтема\Установка holding the facts "Факт" (both
    // files), "Без описания" (no files) and "Gold" (its main text misnamed);
    // a second Section "Раздел 2" holding "Тема 2".
    void BuildFactBase();
    std::string DirectivePath() const;  // base\Раздел\Тема\Подтема\Установка
    std::string FileText(const std::string& path);

    // Moves the fact base of BuildFactBase to the top of drive T: and makes
    // T:\ current. False when the test command did not map the drive.
    bool UseDriveTAsBase();

    // Closes a dialog of that template by Esc and another by the caption's
    // close box, both as the dialog's cancel; returns the second one's handle.
    HWND ExpectClosedByEscapeAndCloseBox(int templateId, DLGPROC procedure, int focusId);

    // Opens a dialog as the main window would, with the base root current.
    HWND Open(int templateId, DLGPROC procedure);
    // Clicks the browser's lists down to base\below ("Раздел\Тема\…\Факт").
    static void WalkBrowserTo(HWND browser, const std::string& below);
    // Windows of this thread titled so, still open.
    static std::vector<HWND> OpenWindowsTitled(const wchar_t* title);

    std::string base_;
    HWND owner_ = NULL;
    MessageBoxWatcher boxes_;
    static std::vector<std::string> shellOpened_;
};

// The message box as the tests expect to see it: text, caption, owner, one OK button, no icon.
void ExpectBox(const SeenMessageBox& box, const wchar_t* text, const wchar_t* caption, HWND owner,
               const std::vector<int>& buttons = { IDOK });
