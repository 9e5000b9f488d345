#include "dialog_fixture.h"
#include "../../resources/resource.h"
#include "dialog_driver.h"
#include "test_files.h"
#include "../../ui/app_state.h"
#include "../../ui/platform_ui.h"

std::vector<std::string> DialogTest::shellOpened_;

void DialogTest::SetUp()
{
    InitAppState(&App);
    App.AppInstance = GetModuleHandleW(NULL);
    owner_ = CreateWindowExW(0, L"Static", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL, NULL, NULL);
    App.OwnerWindow = owner_;
    shellOpened_.clear();
    OpenFolderInShell = [](const char* path) {
        shellOpened_.push_back(path);
    };
    base_ = NewTestFolder();
    SetCurrentDirectoryW(Wide(base_).c_str());
}

void DialogTest::TearDown()
{
    // Every dialog of the program is owned by the owner window and goes with it.
    DestroyWindow(owner_);
    PumpMessages();
    SetCurrentDirectoryW(L"C:\\");
    OpenFolderInShell = OpenFolderWithShellExecute;
}

std::string DialogTest::DirectivePath() const
{
    return base_ + "\\Раздел\\Тема\\Подтема\\Установка";
}

void DialogTest::BuildFactBase()
{
    MakeFolder(base_ + "\\Раздел");
    MakeFolder(base_ + "\\Раздел\\Тема");
    MakeFolder(base_ + "\\Раздел\\Тема 3");
    MakeFolder(base_ + "\\Раздел\\Тема\\Подтема");
    MakeFolder(DirectivePath());
    MakeFolder(DirectivePath() + "\\Факт");
    WriteBytes(DirectivePath() + "\\Факт\\Описание.txt", "Описание\r\nфакта");
    WriteBytes(DirectivePath() + "\\Факт\\Факт.txt", "Основной текст");
    MakeFolder(DirectivePath() + "\\Без описания");
    MakeFolder(DirectivePath() + "\\Gold");
    WriteBytes(DirectivePath() + "\\Gold\\Описание.txt", "gold");
    WriteBytes(DirectivePath() + "\\Gold\\Silver.txt", "silver");
    MakeFolder(base_ + "\\Раздел 2");
    MakeFolder(base_ + "\\Раздел 2\\Тема 2");
    WriteBytes(base_ + "\\rus.bmp", "files are never listed");
}

bool DialogTest::UseDriveTAsBase()
{
    std::string alias = EmptyDriveT();
    if (alias.empty())
        return false;
    base_ = alias;
    BuildFactBase();
    SetCurrentDirectoryW(L"T:\\");
    return true;
}

HWND DialogTest::ExpectClosedByEscapeAndCloseBox(int templateId, DLGPROC procedure, int focusId)
{
    HWND escaped = Open(templateId, procedure);
    PressEscape(escaped, focusId);
    EXPECT_FALSE(IsWindow(escaped));
    HWND closed = Open(templateId, procedure);
    CloseByCaptionBox(closed);
    EXPECT_FALSE(IsWindow(closed));
    return closed;
}

std::string DialogTest::FileText(const std::string& path)
{
    std::string bytes;
    return ReadBytes(path, &bytes) ? bytes : std::string("<missing>");
}

HWND DialogTest::Open(int templateId, DLGPROC procedure)
{
    HWND dialog = OpenDialog(templateId, procedure, owner_);
    EXPECT_TRUE(dialog != NULL);
    return dialog;
}

std::vector<HWND> DialogTest::OpenWindowsTitled(const wchar_t* title)
{
    struct Search {
        const wchar_t* title;
        std::vector<HWND> found;
    } search = { title, {} };
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            Search* s = (Search*)param;
            if (WindowTextWide(window) == s->title)
                s->found.push_back(window);
            return TRUE;
        },
        (LPARAM)&search);
    return search.found;
}

void ExpectBox(const SeenMessageBox& box, const wchar_t* text, const wchar_t* caption, HWND owner,
               const std::vector<int>& buttons)
{
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.owner, owner);
    EXPECT_EQ(box.buttons, buttons);
    EXPECT_FALSE(box.hasIcon);
}

void DialogTest::WalkBrowserTo(HWND browser, const std::string& below)
{
    const int lists[] = { IDC_BROWSER_SECTION_LIST, IDC_BROWSER_TOPIC_LIST, IDC_BROWSER_SUBTOPIC_LIST,
                          IDC_BROWSER_DIRECTIVE_LIST, IDC_BROWSER_FACT_LIST };
    size_t start = 0;
    for (int level = 0; level < 5 && start <= below.size(); level++) {
        size_t end = below.find('\\', start);
        SelectNamed(browser, lists[level], below.substr(start, end - start));
        start = end == std::string::npos ? below.size() + 1 : end + 1;
    }
}
