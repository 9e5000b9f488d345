// The fact base browser, driven as a user drives it.
#include "../browser/fact_base_dialog.h"
#include "../categories/category_editor_dialog.h"
#include "../wizard/fact_placement_dialog.h"
#include "../resources/resource.h"
#include "../ui/app_state.h"
#include "../store/fact_store.h"
#include "../move/undo_stack.h"
#include "../ui/platform_ui.h"
#include "support/dialog_driver.h"
#include "support/dialog_fixture.h"
#include "support/test_files.h"

namespace {

const int SECTIONS = IDC_BROWSER_SECTION_LIST;
const int TOPICS = IDC_BROWSER_TOPIC_LIST;
const int SUBTOPICS = IDC_BROWSER_SUBTOPIC_LIST;
const int DIRECTIVES = IDC_BROWSER_DIRECTIVE_LIST;
const int FACTS = IDC_BROWSER_FACT_LIST;
const int VIEW = IDC_BROWSER_TEXT_VIEW;

class Browser : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        BuildFactBase();
        browser_ = Open(IDD_FACT_BASE, FactBaseDialog);
    }
    // Selects Раздел, Тема, Подтема, Установка.
    void WalkToDirective(HWND browser)
    {
        SelectNamed(browser, SECTIONS, "Раздел");
        SelectNamed(browser, TOPICS, "Тема");
        SelectNamed(browser, SUBTOPICS, "Подтема");
        SelectNamed(browser, DIRECTIVES, "Установка");
    }
    void ShowDescription(HWND browser, const std::string& fact)
    {
        SelectNamed(browser, FACTS, fact);
    }
    void ShowMainText(HWND browser, const std::string& fact)
    {
        SelectNamed(browser, FACTS, fact);  // the first click of a double click
        std::vector<std::string> facts = ListEntries(browser, FACTS);
        DoubleClickEntry(browser, FACTS, (int)(std::find(facts.begin(), facts.end(), fact) - facts.begin()));
    }
    HWND browser_ = NULL;
};

TEST_F(Browser, OpensOnTheBaseRootWithNothingOnShow)
{
    EXPECT_EQ(ControlText(browser_, IDC_BROWSER_ROOT_FIELD), base_);
    EXPECT_EQ(ListEntries(browser_, SECTIONS), (std::vector<std::string>{ "..", "Раздел 2", "Раздел" }));
    for (int list : { TOPICS, SUBTOPICS, DIRECTIVES, FACTS })
        EXPECT_TRUE(ListEntries(browser_, list).empty());
    EXPECT_EQ(SelectedIndex(browser_, SECTIONS), -1);
    EXPECT_EQ(ControlText(browser_, VIEW), "");
    EXPECT_EQ(std::string(App.BrowseRoot), base_);
    EXPECT_EQ(std::string(App.LastFolderPath), base_);
    EXPECT_EQ(CurrentDirectory(), base_);
    ClickButton(browser_, IDC_BROWSER_OPEN_FOLDER);
    EXPECT_EQ(shellOpened_, std::vector<std::string>{ base_ }) << "right after opening it opens the base root";
}

TEST_F(Browser, EachSelectionFillsTheNextListAndEmptiesTheOnesBelow)
{
    SelectNamed(browser_, SECTIONS, "Раздел");
    // The list control sorts the listing's bracketed names: "[Тема 3]" before "[Тема]".
    EXPECT_EQ(ListEntries(browser_, TOPICS), (std::vector<std::string>{ "..", "Тема 3", "Тема" }));
    EXPECT_EQ(std::string(App.LastFolderPath), base_ + "\\Раздел");
    EXPECT_EQ(CurrentDirectory(), base_);
    WalkToDirective(browser_);
    EXPECT_EQ(ListEntries(browser_, FACTS), (std::vector<std::string>{ "..", "Gold", "Без описания", "Факт" }));
    EXPECT_EQ(std::string(App.LastFolderPath), DirectivePath());
    ShowDescription(browser_, "Факт");
    EXPECT_EQ(ControlText(browser_, VIEW), "Описание\r\nфакта");

    // A Topic selection keeps the Section and refills only the Subtopics.
    SelectNamed(browser_, TOPICS, "Тема 3");
    EXPECT_EQ(ListEntries(browser_, SECTIONS).size(), 3u);
    EXPECT_EQ(ListEntries(browser_, SECTIONS)[SelectedIndex(browser_, SECTIONS)], "Раздел");
    EXPECT_EQ(ListEntries(browser_, SUBTOPICS), std::vector<std::string>{ ".." });
    EXPECT_TRUE(ListEntries(browser_, DIRECTIVES).empty());
    EXPECT_TRUE(ListEntries(browser_, FACTS).empty());
    EXPECT_EQ(ControlText(browser_, VIEW), "  ");

    WalkToDirective(browser_);
    ShowDescription(browser_, "Факт");
    SelectNamed(browser_, SECTIONS, "Раздел 2");
    EXPECT_EQ(ListEntries(browser_, TOPICS), (std::vector<std::string>{ "..", "Тема 2" }));
    for (int list : { SUBTOPICS, DIRECTIVES, FACTS })
        EXPECT_TRUE(ListEntries(browser_, list).empty());
    EXPECT_EQ(ControlText(browser_, VIEW), "  ");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Сначала выберете факт :)", L"Изменение факта", browser_);
    EXPECT_EQ(CurrentDirectory(), base_);
}

TEST_F(Browser, AClickShowsTheDescriptionADoubleClickTheMainText)
{
    WalkToDirective(browser_);
    ShowDescription(browser_, "Факт");
    EXPECT_EQ(ControlText(browser_, VIEW), "Описание\r\nфакта");
    EXPECT_EQ(std::string(App.LastFolderPath), DirectivePath() + "\\Факт");
    ShowMainText(browser_, "Факт");
    EXPECT_EQ(ControlText(browser_, VIEW), "Основной текст");
    EXPECT_TRUE(boxes_.Seen().empty());
    EXPECT_EQ(CurrentDirectory(), base_);
}

TEST_F(Browser, MissingFilesAreReportedWithoutAnOwner)
{
    WalkToDirective(browser_);
    ShowDescription(browser_, "Без описания");
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Файла описания факта 'Описание.txt' не найдено!", L"Openning file", NULL);
    EXPECT_EQ(ControlText(browser_, VIEW), "  ");
    EXPECT_EQ(CurrentDirectory(), base_);
    ClickButton(browser_, IDC_BROWSER_OPEN_FOLDER);
    EXPECT_EQ(shellOpened_.back(), DirectivePath() + "\\Без описания");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    ASSERT_EQ(boxes_.Seen().size(), 2u);
    EXPECT_EQ(boxes_.Seen()[1].text, L"Сначала выберете факт :)") << "nothing is on show";

    // Gold's main text is named Silver.txt, so it is not found.
    ShowMainText(browser_, "Gold");
    ASSERT_EQ(boxes_.Seen().size(), 3u);
    ExpectBox(boxes_.Seen()[2], L"Основого файла факта не найдено!", L"Openning file", NULL);
    EXPECT_EQ(ControlText(browser_, VIEW), "  ");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    EXPECT_EQ(boxes_.Seen().back().text, L"Сначала выберете факт :)");
    EXPECT_EQ(FileText(DirectivePath() + "\\Gold\\Описание.txt"), "gold") << "the description shown before is safe";
}

// The not-found box has no owner, so the browser stays usable while it is up:
// a write-back pressed then must not store the blanks over the file shown before.
TEST_F(Browser, NothingIsOnShowWhileTheNotFoundBoxIsUp)
{
    WalkToDirective(browser_);
    ShowDescription(browser_, "Gold");  // the first click of the double click
    boxes_.WhileNextBoxIsUp([&] { ClickButton(browser_, IDC_BROWSER_CHANGE_FACT); });
    std::vector<std::string> facts = ListEntries(browser_, FACTS);
    DoubleClickEntry(browser_, FACTS, (int)(std::find(facts.begin(), facts.end(), "Gold") - facts.begin()));
    ASSERT_EQ(boxes_.Seen().size(), 2u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Основого файла факта не найдено!");
    EXPECT_EQ(boxes_.Seen()[1].text, L"Сначала выберете факт :)");
    EXPECT_EQ(FileText(DirectivePath() + "\\Gold\\Описание.txt"), "gold");
}

TEST_F(Browser, ATextTooLongToShowIsReportedAsNotFound)
{
    WriteBytes(DirectivePath() + "\\Факт\\Факт.txt", std::string(SHOWN_TEXT_MAX + 1, 'x'));
    WalkToDirective(browser_);
    ShowMainText(browser_, "Факт");
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Основого файла факта не найдено!");
    EXPECT_EQ(ControlText(browser_, VIEW), "  ");
}

TEST_F(Browser, TheParentEntryIsAFolderNameLikeAnyOther)
{
    SelectNamed(browser_, SECTIONS, "..");
    std::string parent = base_.substr(0, base_.rfind('\\'));
    std::string self = base_.substr(base_.rfind('\\') + 1);
    std::vector<std::string> topics = ListEntries(browser_, TOPICS);
    EXPECT_NE(std::find(topics.begin(), topics.end(), self), topics.end()) << "the base root's parent is listed";
    EXPECT_EQ(std::string(App.LastFolderPath), base_ + "\\..");

    // In the Fact list it leads to the Subtopic, which has no description.
    WalkToDirective(browser_);
    ShowDescription(browser_, "..");
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Файла описания факта 'Описание.txt' не найдено!");
    EXPECT_EQ(std::string(App.LastFolderPath), DirectivePath() + "\\..");

    // A text reached through it is shown, never written.
    std::string subtopicText = DirectivePath() + "\\..\\Описание.txt";
    WriteBytes(subtopicText, "подтема");
    ShowDescription(browser_, "..");
    EXPECT_EQ(ControlText(browser_, VIEW), "подтема");
    boxes_.Clear();
    TypeText(browser_, VIEW, "переписано");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    ASSERT_EQ(boxes_.Seen().size(), 2u) << "the question, then the refusal";
    ExpectBox(boxes_.Seen()[1], L"Эта папка лежит вне базы фактов или это сама база - здесь её менять нельзя :)",
              L"Ошибка", browser_);
    EXPECT_EQ(FileText(subtopicText), "подтема");
}

TEST_F(Browser, AFolderRemovedSinceItWasListedLeavesTheNextListEmpty)
{
    SelectNamed(browser_, SECTIONS, "Раздел");
    RemoveTree(base_ + "\\Раздел 2");
    SelectNamed(browser_, SECTIONS, "Раздел 2");
    EXPECT_TRUE(ListEntries(browser_, TOPICS).empty()) << "never the base root's Sections in its place";
    EXPECT_EQ(CurrentDirectory(), base_);
}

TEST_F(Browser, OtherListNotificationsOnlyReturnToTheBaseRoot)
{
    SelectNamed(browser_, SECTIONS, "Раздел");
    SetCurrentDirectoryW(L"C:\\");
    HWND list = GetDlgItem(browser_, SECTIONS);
    SendMessageW(browser_, WM_COMMAND, MAKEWPARAM(SECTIONS, LBN_DBLCLK), (LPARAM)list);
    SendMessageW(browser_, WM_COMMAND, MAKEWPARAM(TOPICS, LBN_SETFOCUS), (LPARAM)list);
    EXPECT_EQ(CurrentDirectory(), base_);
    EXPECT_EQ(ListEntries(browser_, TOPICS).size(), 3u);
    EXPECT_EQ(FactBaseDialog(browser_, WM_COMMAND, 4242, 0), TRUE) << "every command is taken";
    EXPECT_EQ(FactBaseDialog(browser_, WM_TIMER, 0, 0), FALSE);
}

TEST_F(Browser, WritingBackNeedsAConfirmationAndStoresExactlyTheView)
{
    std::string description = DirectivePath() + "\\Факт\\Описание.txt";
    std::string mainText = DirectivePath() + "\\Факт\\Факт.txt";
    WalkToDirective(browser_);
    ShowDescription(browser_, "Факт");

    TypeText(browser_, VIEW, "a\r\nb\r\nc");
    boxes_.AnswerNext(IDCANCEL);
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Точно ИЗМЕНИТЬ?", L"Внимание!", browser_, { IDOK, IDCANCEL });
    EXPECT_EQ(FileText(description), "Описание\r\nфакта") << "Cancel leaves the file as it was";

    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    EXPECT_EQ(FileText(description), "a\r\nb\r\nc");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    EXPECT_EQ(FileText(description), "a\r\nb\r\nc") << "writing twice changes nothing";
    EXPECT_EQ(ControlText(browser_, VIEW), "a\r\nb\r\nc");

    ShowMainText(browser_, "Факт");
    TypeText(browser_, VIEW, "");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    EXPECT_EQ(FileText(mainText), "");
    EXPECT_EQ(FileText(description), "a\r\nb\r\nc");
    EXPECT_EQ(FolderEntries(DirectivePath() + "\\Факт"), (std::vector<std::string>{ "Описание.txt", "Факт.txt" }));
}

TEST_F(Browser, AReadOnlyFileIsReportedAndKeepsItsContent)
{
    std::string description = DirectivePath() + "\\Факт\\Описание.txt";
    WalkToDirective(browser_);
    ShowDescription(browser_, "Факт");
    SetReadOnly(description, true);
    TypeText(browser_, VIEW, "changed");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    SetReadOnly(description, false);
    ASSERT_EQ(boxes_.Seen().size(), 2u);
    ExpectBox(boxes_.Seen()[1], L"Ошибка создания файла :)", L"Файл", NULL);
    EXPECT_EQ(FileText(description), "Описание\r\nфакта");
    EXPECT_EQ(ControlText(browser_, VIEW), "changed") << "the edited text stays for another try";
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    EXPECT_EQ(FileText(description), "changed");
}

TEST_F(Browser, TextTypedWhileNothingIsOnShowIsNeverWritten)
{
    WalkToDirective(browser_);
    TypeText(browser_, VIEW, "stray");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Сначала выберете факт :)");
    EXPECT_EQ(FileText(DirectivePath() + "\\Факт\\Описание.txt"), "Описание\r\nфакта");
}

TEST_F(Browser, ALongTextIsShownAndWrittenBackWhole)
{
    std::string text = LinesOfText(SHOWN_TEXT_MAX);
    std::string mainText = DirectivePath() + "\\Факт\\Факт.txt";
    WriteBytes(mainText, text);
    WalkToDirective(browser_);
    ShowMainText(browser_, "Факт");
    EXPECT_EQ(SendDlgItemMessageW(browser_, VIEW, EM_GETLIMITTEXT, 0, 0), SHOWN_TEXT_MAX);
    EXPECT_EQ(ControlText(browser_, VIEW).size(), text.size());
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    EXPECT_EQ(FileText(mainText), text);
}

TEST_F(Browser, CharactersOutsideWindows1251AreRefusedNotWritten)
{
    WalkToDirective(browser_);
    ShowDescription(browser_, "Факт");
    TypeTextWide(browser_, VIEW, L"\u65e5\u672c caf\u00e9");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    ASSERT_EQ(boxes_.Seen().size(), 2u);
    EXPECT_EQ(boxes_.Seen()[1].caption, L"Ошибка");
    EXPECT_EQ(boxes_.Seen()[1].owner, browser_);
    EXPECT_EQ(FileText(DirectivePath() + "\\Факт\\Описание.txt"), "Описание\r\nфакта");
}

TEST_F(Browser, TwoBrowsersKeepTheirOwnFileOnShow)
{
    HWND second = Open(IDD_FACT_BASE, FactBaseDialog);
    WalkToDirective(browser_);
    ShowDescription(browser_, "Факт");
    ClickButton(second, IDC_BROWSER_CHANGE_FACT);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Сначала выберете факт :)");
    EXPECT_EQ(boxes_.Seen()[0].owner, second);

    WalkToDirective(second);
    ShowMainText(second, "Факт");
    TypeText(browser_, VIEW, "first");
    TypeText(second, VIEW, "second");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    ClickButton(second, IDC_BROWSER_CHANGE_FACT);
    EXPECT_EQ(FileText(DirectivePath() + "\\Факт\\Описание.txt"), "first");
    EXPECT_EQ(FileText(DirectivePath() + "\\Факт\\Факт.txt"), "second");
}

TEST_F(Browser, ExitEscapeAndTheCloseBoxCloseItAtTheBaseRoot)
{
    ClickButton(browser_, IDCANCEL);
    EXPECT_FALSE(IsWindow(browser_));
    EXPECT_EQ(CurrentDirectory(), base_);

    HWND last = ExpectClosedByEscapeAndCloseBox(IDD_FACT_BASE, FactBaseDialog, SECTIONS);
    EXPECT_EQ(App.ActiveDialog, last) << "closing does not touch ActiveDialog";
}

TEST_F(Browser, CreateReplacesTheBrowserByTheCategoryEditor)
{
    WalkToDirective(browser_);
    ShowDescription(browser_, "Факт");
    ClickButton(browser_, IDC_BROWSER_CREATE);
    EXPECT_FALSE(IsWindow(browser_));
    HWND editor = App.ActiveDialog;
    ASSERT_TRUE(IsWindow(editor));
    EXPECT_EQ(WindowTextWide(editor), L"CОЗДАНИЕ");
    EXPECT_EQ(GetWindow(editor, GW_OWNER), owner_);
    EXPECT_EQ(std::string(App.EditorRoot), base_) << "it starts from the browser's base root";

    // A new browser starts with nothing on show.
    HWND fresh = Open(IDD_FACT_BASE, FactBaseDialog);
    ClickButton(fresh, IDC_BROWSER_CHANGE_FACT);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Сначала выберете факт :)");
}

// The popup menu: chosen through the keyboard while its loop runs.
struct PopupPick {
    static int downs;
    static HMENU seenMenu;
    static int seenItems;
    static RECT seenRect;
    static HHOOK hook;
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == MSGF_MENU && !seenMenu) {
            HWND menuWindow = FindWindowW(L"#32768", NULL);
            if (menuWindow) {
                seenMenu = (HMENU)SendMessageW(menuWindow, MN_GETHMENU, 0, 0);
                seenItems = GetMenuItemCount(seenMenu);
                GetWindowRect(menuWindow, &seenRect);
                for (int i = 0; i < downs; i++)
                    PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
                PostMessageW(menuWindow, WM_KEYDOWN, downs < 0 ? VK_ESCAPE : VK_RETURN, 0);
            }
        }
        return CallNextHookEx(hook, code, wParam, lParam);
    }
    // Right-clicks a list at its selected entry; the menu is dismissed.
    static void RightClickList(HWND dialog, int listId)
    {
        HWND list = GetDlgItem(dialog, listId);
        RECT item;
        SendMessageW(list, LB_GETITEMRECT, SendMessageW(list, LB_GETCURSEL, 0, 0), (LPARAM)&item);
        POINT at = { item.left + 5, item.top + 3 };
        ClientToScreen(list, &at);
        downs = -1;
        seenMenu = NULL;
        hook = SetWindowsHookExW(WH_MSGFILTER, Filter, NULL, GetCurrentThreadId());
        PostMessageW(dialog, WM_NULL, 0, 0);
        SendMessageW(dialog, WM_CONTEXTMENU, (WPARAM)list, MAKELPARAM(at.x, at.y));
        UnhookWindowsHookEx(hook);
        PumpMessages();
    }
    // Right-clicks the dialog at (x, y) and picks the item `downs` steps down.
    static void RightClick(HWND dialog, int x, int y, int itemDowns)
    {
        downs = itemDowns;
        seenMenu = NULL;
        hook = SetWindowsHookExW(WH_MSGFILTER, Filter, NULL, GetCurrentThreadId());
        PostMessageW(dialog, WM_NULL, 0, 0);
        SendMessageW(dialog, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
        UnhookWindowsHookEx(hook);
        PumpMessages();
    }
};
int PopupPick::downs;
HMENU PopupPick::seenMenu;
int PopupPick::seenItems;
RECT PopupPick::seenRect;
HHOOK PopupPick::hook;

TEST_F(Browser, TheRightClickPopupOpensAtThePointerAndReplacesTheBrowser)
{
    POINT at = { 560, 420 };
    ClientToScreen(browser_, &at);
    PopupPick::RightClick(browser_, 560, 420, 1);
    ASSERT_TRUE(PopupPick::seenMenu != NULL);
    EXPECT_EQ(PopupPick::seenItems, 3);
    EXPECT_EQ(PopupPick::seenRect.left, at.x);
    EXPECT_EQ(PopupPick::seenRect.top, at.y);
    EXPECT_FALSE(IsWindow(browser_));
    EXPECT_EQ(WindowTextWide(App.ActiveDialog), L"CОЗДАНИЕ");

    HWND second = Open(IDD_FACT_BASE, FactBaseDialog);
    PopupPick::RightClick(second, 560, 420, 2);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(WindowTextWide(App.ActiveDialog), L"Создание Факта - выбор папки");
    EXPECT_EQ(GetWindow(App.ActiveDialog, GW_OWNER), owner_);
    EXPECT_EQ(std::string(App.CaptureRoot), base_);
}

// A right click on a list shows that level's popup of the entry menu, its
// undo item naming the newest step and enabled only when there is one.
TEST_F(Browser, TheEntryMenuOfEachListNamesTheStepItWouldUndo)
{
    ForgetAllSteps();
    WalkToDirective(browser_);
    struct Case {
        int listId;
        int level;
        int items;
    };
    const Case cases[] = { { SECTIONS, 1, 12 }, { TOPICS, 2, 9 }, { DIRECTIVES, 4, 9 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.listId);
        PopupPick::RightClickList(browser_, c.listId);
        ASSERT_TRUE(PopupPick::seenMenu != NULL);
        EXPECT_EQ(PopupPick::seenItems, c.items);
        UINT move = GetMenuState(PopupPick::seenMenu, IDM_MOVE_SECTION + c.level - 1, MF_BYCOMMAND);
        ASSERT_NE(move, (UINT)-1) << "the popup of that level, with that level's ids";
        EXPECT_EQ((move & MF_GRAYED) != 0, c.level == 1) << "only a Section cannot be moved";
        wchar_t text[128] = {};
        GetMenuStringW(PopupPick::seenMenu, IDM_UNDO, text, 128, MF_BYCOMMAND);
        EXPECT_STREQ(text, L"Отменить");
        EXPECT_TRUE(GetMenuState(PopupPick::seenMenu, IDM_UNDO, MF_BYCOMMAND) & MF_GRAYED);
    }
    std::string topic = base_ + "\\Раздел\\Тема";
    RememberStep(UNDO_MOVE, false, (base_ + "\\Раздел 2\\Тема").c_str(), topic.c_str());
    PopupPick::RightClickList(browser_, TOPICS);
    ASSERT_TRUE(PopupPick::seenMenu != NULL);
    wchar_t text[128] = {};
    GetMenuStringW(PopupPick::seenMenu, IDM_UNDO, text, 128, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Отменить: перемещение «Тема»");
    EXPECT_FALSE(GetMenuState(PopupPick::seenMenu, IDM_UNDO, MF_BYCOMMAND) & MF_GRAYED);
    ForgetAllSteps();
}

// A base root at the top of a drive: paths carry a doubled separator.
TEST_F(DialogTest, BrowserAtTheTopOfADrive)
{
    if (!UseDriveTAsBase())
        FAIL() << "drive T: is not mapped: tools/wine-run, the test command, maps it";
    HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
    EXPECT_EQ(std::string(App.BrowseRoot), "T:\\");
    EXPECT_EQ(ListEntries(browser, SECTIONS), (std::vector<std::string>{ "Раздел 2", "Раздел" }));
    SelectNamed(browser, SECTIONS, "Раздел");
    EXPECT_EQ(std::string(App.LastFolderPath), "T:\\\\Раздел");
    SelectNamed(browser, TOPICS, "Тема");
    SelectNamed(browser, SUBTOPICS, "Подтема");
    SelectNamed(browser, DIRECTIVES, "Установка");
    SelectNamed(browser, FACTS, "Факт");
    EXPECT_EQ(ControlText(browser, VIEW), "Описание\r\nфакта");
    TypeText(browser, VIEW, "на диске");
    ClickButton(browser, IDC_BROWSER_CHANGE_FACT);
    EXPECT_EQ(FileText(base_ + "\\Раздел\\Тема\\Подтема\\Установка\\Факт\\Описание.txt"), "на диске");
    EXPECT_EQ(CurrentDirectory(), "T:\\");
    DestroyWindow(browser);
    SetCurrentDirectoryW(L"C:\\");
    EmptyDriveT();
}

}  // namespace

namespace {

TEST_F(Browser, TextsOfOtherEditorsAreShownAndKeptInTheirEncoding)
{
    std::string mainText = DirectivePath() + "\\Факт\\Факт.txt";
    std::string description = DirectivePath() + "\\Факт\\Описание.txt";
    WriteBytes(mainText, u8"Строилась 20 лет");
    // Kept out of the assertions, whose text is compiled to Windows-1251 and cannot hold the arrow.
    const std::string withArrow = "\xEF\xBB\xBF" + std::string(u8"Страж → ворота");
    WriteBytes(description, withArrow);
    WalkToDirective(browser_);

    ShowMainText(browser_, "Факт");
    EXPECT_EQ(ControlTextWide(browser_, VIEW), L"Строилась 20 лет");
    EXPECT_EQ(boxes_.Seen().size(), 1u) << "only the description on the way had a character to mark";
    TypeText(browser_, VIEW, "Строилась 30 лет");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    EXPECT_EQ(FileText(mainText), u8"Строилась 30 лет") << "UTF-8 stays UTF-8";

    boxes_.Clear();
    ShowDescription(browser_, "Факт");
    EXPECT_EQ(ControlTextWide(browser_, VIEW), L"Страж ¤ ворота");
    ASSERT_EQ(boxes_.Seen().size(), 1u) << "said once, when shown";
    ExpectBox(boxes_.Seen()[0],
              L"В тексте есть знаки, которых нет в кириллической кодировке Windows-1251, - "
              L"они показаны знаком ¤. Изменить этот текст здесь нельзя :)",
              L"Внимание", browser_);
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    ASSERT_EQ(boxes_.Seen().size(), 3u);
    EXPECT_EQ(boxes_.Seen()[2].caption, L"Ошибка");
    EXPECT_EQ(boxes_.Seen()[2].owner, browser_);
    EXPECT_EQ(FileText(description), withArrow) << "the file is left as it was";
}

}  // namespace

namespace {

// The rename dialog is modal: the watcher sees it as it sees a box, types
// the new name while it is up and presses ПЕРЕИМЕНОВАТЬ.
void RenameTo(MessageBoxWatcher& boxes, const std::string& name)
{
    boxes.WhileNextBoxIsUp(
        [&boxes, name] { SetDlgItemTextW(boxes.Seen().back().window, IDC_RENAME_NAME, Wide(name).c_str()); });
    boxes.AnswerNext(IDOK);
}

TEST_F(Browser, EntriesAreRenamedAndDeletedFromTheirLists)
{
    WalkToDirective(browser_);
    ShowMainText(browser_, "Факт");
    boxes_.Clear();
    RenameTo(boxes_, "Пирамида");
    SendMessageW(browser_, WM_COMMAND, IDM_RENAME_FACT, 0);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].caption, L"ПЕРЕИМЕНОВАНИЕ");
    EXPECT_EQ(boxes_.Seen()[0].owner, browser_);
    EXPECT_EQ(FolderEntries(DirectivePath() + "\\Пирамида"),
              (std::vector<std::string>{ "Описание.txt", "Пирамида.txt" }));
    EXPECT_EQ(ListEntries(browser_, FACTS)[SelectedIndex(browser_, FACTS)], "Пирамида");
    EXPECT_EQ(std::string(App.LastFolderPath), DirectivePath() + "\\Пирамида") << "AppState follows";
    TypeText(browser_, VIEW, "после");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    EXPECT_EQ(FileText(DirectivePath() + "\\Пирамида\\Пирамида.txt"), "после") << "the text on show moved with it";

    RenameTo(boxes_, "Глава");
    SendMessageW(browser_, WM_COMMAND, IDM_RENAME_SECTION, 0);
    EXPECT_TRUE(PathExists(base_ + "\\Глава\\Тема\\Подтема\\Установка\\Пирамида\\Пирамида.txt"));
    EXPECT_EQ(ListEntries(browser_, SECTIONS)[SelectedIndex(browser_, SECTIONS)], "Глава");
    EXPECT_EQ(ListEntries(browser_, FACTS).size(), 4u) << "the lists below stay";

    // Delete: asked, with the count of facts; Cancel keeps it, OK moves it to the bin.
    boxes_.Clear();
    boxes_.AnswerNext(IDCANCEL);
    SendMessageW(browser_, WM_COMMAND, IDM_DELETE_SECTION, 0);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Удалить папку «Глава» в корзину вместе со всем, что в ней лежит (фактов: 3)?",
              L"Удаление", browser_, { IDOK, IDCANCEL });
    EXPECT_TRUE(PathExists(base_ + "\\Глава"));
    SendMessageW(browser_, WM_COMMAND, IDM_DELETE_FACT, 0);
    EXPECT_FALSE(PathExists(base_ + "\\Глава\\Тема\\Подтема\\Установка\\Пирамида"));
    EXPECT_EQ(ListEntries(browser_, FACTS), (std::vector<std::string>{ "..", "Gold", "Без описания" }));
    EXPECT_EQ(ControlText(browser_, VIEW), "  ");

    // ".." or nothing selected: a complaint and nothing else.
    boxes_.Clear();
    SelectNamed(browser_, TOPICS, "..");
    SendMessageW(browser_, WM_COMMAND, IDM_RENAME_SECTION + 1, 0);
    SendMessageW(browser_, WM_COMMAND, IDM_DELETE_FACT, 0);
    ASSERT_EQ(boxes_.Seen().size(), 2u);
    EXPECT_EQ(boxes_.Seen()[1].text, L"Сначала выберете папку в этом списке :)");
    EXPECT_TRUE(PathExists(base_ + "\\Глава\\Тема"));
}

// A name the rule refuses is named over the rename dialog, which stays with
// the typed name; here the user then gives up, and nothing is renamed.
TEST_F(Browser, TheRenameDialogNamesARefusedName)
{
    WalkToDirective(browser_);
    SelectNamed(browser_, FACTS, "Факт");
    struct Case {
        const char* name;
        const wchar_t* message;
    };
    const Case cases[] = {
        { "..\\Вне", L"В имени не может быть знаков \\ / : * ? \" < > | :)" },
        { "NUL", L"Это имя Windows оставляет за устройствами (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9) - введите "
                 L"другое имя :)" },
        { "com7.txt", L"Это имя Windows оставляет за устройствами (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9) - введите "
                      L"другое имя :)" },
        { "Точка.", L"Имя не может кончаться пробелом или точкой :)" },
        { "GOLD", L"Здесь уже есть папка или файл с таким именем - введите другое имя :)" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes_.Clear();
        std::string typed;
        boxes_.WhileNextBoxIsUp([this, &c, &typed] {
            HWND dialog = boxes_.Seen().back().window;
            SetDlgItemTextW(dialog, IDC_RENAME_NAME, Wide(c.name).c_str());
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        boxes_.AnswerNext(IDCANCEL);  // the rename dialog, once the complaint is read
        SendMessageW(browser_, WM_COMMAND, IDM_RENAME_FACT, 0);
        ASSERT_EQ(boxes_.Seen().size(), 2u);
        ExpectBox(boxes_.Seen()[1], c.message, L"Ошибка", boxes_.Seen()[0].window);
    }
    EXPECT_EQ(FolderEntries(DirectivePath()), (std::vector<std::string>{ "Gold", "Без описания", "Факт" }));
    EXPECT_EQ(FolderEntries(DirectivePath() + "\\Факт"), (std::vector<std::string>{ "Описание.txt", "Факт.txt" }));
}

// The lists may show what ".." shows, the base root itself among it; none of
// that can be renamed or deleted.
TEST_F(Browser, NothingBesideTheBaseRootNorTheRootItselfChanges)
{
    std::string above = base_.substr(0, base_.rfind('\\'));
    std::string rootName = base_.substr(base_.rfind('\\') + 1);
    MakeFolder(above + "\\Рядом");
    SelectNamed(browser_, SECTIONS, "..");
    for (const char* entry : { rootName.c_str(), "Рядом" }) {
        SCOPED_TRACE(entry);
        SelectNamed(browser_, TOPICS, entry);
        boxes_.Clear();
        SendMessageW(browser_, WM_COMMAND, IDM_RENAME_SECTION + 1, 0);
        SendMessageW(browser_, WM_COMMAND, IDM_DELETE_SECTION + 1, 0);
        ASSERT_EQ(boxes_.Seen().size(), 2u) << "a complaint each, no rename dialog, no question";
        for (const SeenMessageBox& box : boxes_.Seen())
            ExpectBox(box, L"Эта папка лежит вне базы фактов или это сама база - здесь её менять нельзя :)", L"Ошибка",
                      browser_);
    }
    EXPECT_TRUE(PathExists(above + "\\Рядом"));
    EXPECT_TRUE(PathExists(DirectivePath() + "\\Факт\\Факт.txt"));
    RemoveTree(above + "\\Рядом");
}

// A NUL or 0x1A ends the text on show; what follows it is never written over.
TEST_F(Browser, ATextCutShortIsNeverWrittenBack)
{
    std::string mainText = DirectivePath() + "\\Факт\\Факт.txt";
    const std::string cut[] = { std::string("видно\0скрыто", 13), "видно\x1Aскрыто" };
    for (const std::string& bytes : cut) {
        WriteBytes(mainText, bytes);
        WalkToDirective(browser_);
        boxes_.Clear();
        ShowMainText(browser_, "Факт");
        EXPECT_EQ(ControlText(browser_, VIEW), "видно");
        ASSERT_EQ(boxes_.Seen().size(), 1u);
        ExpectBox(boxes_.Seen()[0],
                  L"Текст показан не целиком: дальше в файле стоит знак NUL или 0x1A. "
                  L"Изменить этот текст здесь нельзя :)",
                  L"Внимание", browser_);
        TypeText(browser_, VIEW, "переписано");
        ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
        ASSERT_EQ(boxes_.Seen().size(), 3u) << "the question, then the refusal";
        ExpectBox(boxes_.Seen()[2],
                  L"Этот текст нельзя записать: часть файла после знака NUL или 0x1A была бы потеряна. "
                  L"Измените файл в той программе, в которой он создан :)",
                  L"Ошибка", browser_);
        EXPECT_EQ(FileText(mainText), bytes);
    }
    // Only NUL and 0x1A after the end: nothing is lost, the text is written as usual.
    WriteBytes(mainText, std::string("целиком\x1A\0", 9));
    WalkToDirective(browser_);
    boxes_.Clear();
    ShowMainText(browser_, "Факт");
    TypeText(browser_, VIEW, "новое");
    ClickButton(browser_, IDC_BROWSER_CHANGE_FACT);
    EXPECT_EQ(boxes_.Seen().size(), 1u) << "only the question";
    EXPECT_EQ(FileText(mainText), "новое");
}

}  // namespace
