// The search dialog driven as a user drives it: typing fills the results and
// the status, a result opens in the browser, F5 brings the open one forward.
#include "../search/search_dialog.h"
#include "../search/query.h"
#include "../search/search_service.h"
#include "../store/base_changes.h"
#include "../browser/fact_base_dialog.h"
#include "../resources/resource.h"
#include "../ui/app_state.h"
#include "../ui/platform_ui.h"
#include "support/dialog_driver.h"
#include "support/dialog_fixture.h"
#include "support/test_files.h"

namespace {

class SearchDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        BuildFactBase();
        WriteBytes(DirectivePath() + "\\Факт\\Факт.txt", "Первая строка\r\nздесь ПИРАМИДА стоит\r\nпоследняя");
        // Too long to be read whole: the one file the status counts as unread.
        // The missing files of "Без описания" and "Gold" are not counted.
        WriteBytes(DirectivePath() + "\\Без описания\\Описание.txt", std::string(120000, 'x'));
    }
    // The dialog once the walk over the base is done and shown.
    HWND OpenSearchDialog()
    {
        HWND dialog = Open(IDD_SEARCH, SearchDialog);
        for (int i = 0;
             i < 2000 && (SearchIndexBusy() || ControlTextWide(dialog, IDC_SEARCH_STATUS).find(L"Просмотр") == 0);
             i++) {
            MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
            PumpMessages();
        }
        return dialog;
    }
};

TEST_F(SearchDialogTest, TypingFillsTheResultsAndTheStatus)
{
    HWND dialog = OpenSearchDialog();
    EXPECT_EQ(WindowTextWide(dialog), L"ПОИСК ФАКТОВ");
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner_);
    EXPECT_EQ(ControlTextWide(dialog, IDC_SEARCH_STATUS),
              L"Введите слова для поиска: найдутся факты, в которых есть каждое слово");
    EXPECT_TRUE(ListEntries(dialog, IDC_SEARCH_RESULTS).empty());

    struct Case {
        const char* typed;
        std::vector<std::string> results;
        const wchar_t* status;
    };
    const Case cases[] = {
        { "пирамид", { "Факт\tРаздел › Тема › Подтема › Установка" }, L"Найдено фактов: 1, не прочитано: 1" },
        { "установка",
          { "Gold\tРаздел › Тема › Подтема › Установка", "Без описания\tРаздел › Тема › Подтема › Установка",
            "Факт\tРаздел › Тема › Подтема › Установка" },
          L"Найдено фактов: 3, не прочитано: 1" },
        { "нет такого", {}, L"Найдено фактов: 0, не прочитано: 1" },
    };
    for (const Case& c : cases) {
        TypeAsUser(dialog, IDC_SEARCH_QUERY, c.typed);  // the edit notifies as typing does
        EXPECT_EQ(ListEntries(dialog, IDC_SEARCH_RESULTS), c.results) << c.typed;
        EXPECT_EQ(ControlTextWide(dialog, IDC_SEARCH_STATUS), c.status) << c.typed;
    }
    TypeTextWide(dialog, IDC_SEARCH_QUERY, L"caf\u00e9");
    EXPECT_TRUE(ListEntries(dialog, IDC_SEARCH_RESULTS).empty()) << "outside Windows-1251: nothing, no box";
    EXPECT_TRUE(boxes_.Seen().empty());
}

TEST_F(SearchDialogTest, AResultOpensInTheBrowserWithTheMatchSelected)
{
    HWND used = Open(IDD_FACT_BASE, FactBaseDialog);
    HWND dialog = OpenSearchDialog();
    TypeAsUser(dialog, IDC_SEARCH_QUERY, "пирамида");
    SelectEntry(dialog, IDC_SEARCH_RESULTS, 0);
    EXPECT_EQ(ControlText(dialog, IDC_SEARCH_PREVIEW), "Описание\r\nфакта\r\nздесь ПИРАМИДА стоит");
    ClickButton(dialog, IDOK);

    EXPECT_EQ(MostRecentBrowser(), used);
    const int lists[] = { IDC_BROWSER_SECTION_LIST, IDC_BROWSER_TOPIC_LIST, IDC_BROWSER_SUBTOPIC_LIST,
                          IDC_BROWSER_DIRECTIVE_LIST, IDC_BROWSER_FACT_LIST };
    const char* names[] = { "Раздел", "Тема", "Подтема", "Установка", "Факт" };
    for (int level = 0; level < 5; level++) {
        std::vector<std::string> entries = ListEntries(used, lists[level]);
        int selected = SelectedIndex(used, lists[level]);
        ASSERT_GE(selected, 0);
        EXPECT_EQ(entries[selected], names[level]);
    }
    EXPECT_EQ(ControlText(used, IDC_BROWSER_TEXT_VIEW), "Первая строка\r\nздесь ПИРАМИДА стоит\r\nпоследняя");
    DWORD start = 0, end = 0;
    SendDlgItemMessageW(used, IDC_BROWSER_TEXT_VIEW, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(start, 21u);
    EXPECT_EQ(end, 29u);
    TypeAsUser(used, IDC_BROWSER_TEXT_VIEW, "переписано");
    ClickButton(used, IDC_BROWSER_CHANGE_FACT);
    EXPECT_EQ(FileText(DirectivePath() + "\\Факт\\Факт.txt"), "переписано") << "write-back works on it";

    // The program's own write reaches the index at once.
    TypeAsUser(dialog, IDC_SEARCH_QUERY, "переписано");
    EXPECT_EQ(ListEntries(dialog, IDC_SEARCH_RESULTS).size(), 1u);
    DestroyWindow(used);
    SelectEntry(dialog, IDC_SEARCH_RESULTS, 0);
    ClickButton(dialog, IDOK);
    ASSERT_TRUE(MostRecentBrowser() != NULL) << "with no browser open, a new one";
    EXPECT_EQ(ControlText(MostRecentBrowser(), IDC_BROWSER_TEXT_VIEW), "переписано");
}

TEST_F(SearchDialogTest, F5BringsTheOpenDialogForwardWithItsQuerySelected)
{
    OpenOrRaiseSearch(owner_);
    HWND first = App.ActiveDialog;
    TypeAsUser(first, IDC_SEARCH_QUERY, "факт");
    App.ActiveDialog = Open(IDD_FACT_BASE, FactBaseDialog);
    OpenOrRaiseSearch(owner_);
    EXPECT_EQ(App.ActiveDialog, first);
    DWORD start = 1, end = 0;
    SendDlgItemMessageW(first, IDC_SEARCH_QUERY, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);
    EXPECT_EQ(OpenWindowsTitled(L"ПОИСК ФАКТОВ").size(), 1u);
    while (SearchIndexBusy()) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
        PumpMessages();
    }
}

// The program's own changes made while a background refresh runs (a fact
// written, a folder renamed) outlive that refresh, which had read the base
// before them.
HANDLE WalkReached = NULL, WalkResume = NULL;

TEST_F(SearchDialogTest, OwnChangesMadeDuringARefreshSurviveIt)
{
    OpenSearchDialog();
    WalkReached = CreateEventW(NULL, TRUE, FALSE, NULL);
    WalkResume = CreateEventW(NULL, TRUE, FALSE, NULL);
    SearchWalkStep = [] {
        SetEvent(WalkReached);
        WaitForSingleObject(WalkResume, 10000);
    };
    RefreshSearchIndex(CurrentDirectory().c_str());
    // Held after its one Directive: every fact of the base is read already.
    ASSERT_EQ(WaitForSingleObject(WalkReached, 10000), WAIT_OBJECT_0);
    WriteBytes(DirectivePath() + "\\Факт\\Описание.txt", "изумруд");
    AnnounceFactChanged((DirectivePath() + "\\Факт").c_str());
    std::string section = base_ + "\\Раздел", renamed = base_ + "\\Глава";
    ASSERT_TRUE(MoveFileW(Wide(section).c_str(), Wide(renamed).c_str()));
    AnnounceFolderMoved(section.c_str(), renamed.c_str());
    SetEvent(WalkResume);
    for (int i = 0; i < 1000 && SearchIndexBusy(); i++)
        Sleep(10);
    SearchWalkStep = NULL;
    CloseHandle(WalkReached);
    CloseHandle(WalkResume);

    ASSERT_FALSE(SearchIndexBusy());
    SearchAnswer answer = QuerySearchIndex(ParseQuery("изумруд"));
    ASSERT_EQ(answer.found.size(), 1u);
    EXPECT_EQ(answer.found[0].name, "Факт");
    EXPECT_EQ(answer.found[0].categories[0], "Глава");
    EXPECT_EQ(QuerySearchIndex(ParseQuery("установка")).found.size(), 3u) << "each fact once, under its new place";
}

}  // namespace
