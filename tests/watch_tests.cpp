// Changes made elsewhere: gathered per folder, reported by the watch, and
// followed by an open browser.
#include "../browser/fact_base_dialog.h"
#include "../categories/category_editor_dialog.h"
#include "../resources/resource.h"
#include "../store/base_changes.h"
#include "../ui/app_messages.h"
#include "../watch/base_watch.h"
#include "../watch/change_notes.h"
#include "../watch/folder_poller.h"
#include "support/dialog_driver.h"
#include "support/dialog_fixture.h"
#include "support/test_files.h"

#include <windows.h>
#include <algorithm>
#include <set>

namespace {

typedef std::set<std::string> Folders;

TEST(ChangeNotes, OneNotePerFolderAndALossDropsThemAll)
{
    struct Case {
        const char* what;
        std::vector<std::wstring> changed;  // below the root
        Folders expected;
        bool lost;
    };
    const Case cases[] = {
        { "a burst in one fact folder",
          { L"Р\\Т\\П\\У\\Факт\\Описание.txt", L"Р\\Т\\П\\У\\Факт\\~0001234", L"Р\\Т\\П\\У\\Факт\\Описание.txt" },
          { "C:\\База\\Р\\Т\\П\\У\\Факт" },
          false },
        { "a Section made and a fact added",
          { L"Новый", L"Р\\Т\\П\\У\\Хеопс" },
          { "C:\\База", "C:\\База\\Р\\Т\\П\\У" },
          false },
        { "a name no list can show: the folder above it",
          { L"Р\\Caf\u00e9\\x.txt", L"Р\\Caf\u00e9" },
          { "C:\\База\\Р" },
          false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChangeNotes notes;
        for (const std::wstring& name : c.changed)
            NoteChangedEntry(&notes, L"C:\\База", name);
        ChangeNotes taken = TakeNotes(&notes);
        EXPECT_EQ(taken.folders, c.expected);
        EXPECT_EQ(taken.lost, c.lost);
        EXPECT_TRUE(notes.folders.empty()) << "taken notes start afresh";
    }
    ChangeNotes notes;
    NoteChangedEntry(&notes, L"C:\\База", L"Р\\x");
    NoteLostEvents(&notes);
    NoteChangedEntry(&notes, L"C:\\База", L"Р\\y");
    ChangeNotes taken = TakeNotes(&notes);
    EXPECT_TRUE(taken.lost);
    EXPECT_TRUE(taken.folders.empty());
}

// The poller sees every kind of change a listing can show, and only in the
// folders it is given; a folder's first look is only remembered.
TEST(FolderPoller, ReportsAFolderWhoseEntriesChangedAndNothingElse)
{
    struct Case {
        const char* what;
        void (*change)(const std::string& folder);
        bool reported;
    };
    const Case cases[] = {
        { "nothing changed", [](const std::string&) {}, false },
        { "a file rewritten longer",
          [](const std::string& folder) { WriteBytes(folder + "\\Факт.txt", "Текст from A"); }, true },
        { "a file rewritten, same size, later",
          [](const std::string& folder) {
              HANDLE file =
                  CreateFileW(Wide(folder + "\\Факт.txt").c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
              FILETIME later;
              GetFileTime(file, NULL, NULL, &later);
              later.dwHighDateTime += 1;
              SetFileTime(file, NULL, NULL, &later);
              CloseHandle(file);
          },
          true },
        { "a file replaced by a safe write",
          [](const std::string& folder) {
              WriteBytes(folder + "\\~new", "Текст, записанный заново");
              MoveFileExW(Wide(folder + "\\~new").c_str(), Wide(folder + "\\Факт.txt").c_str(),
                          MOVEFILE_REPLACE_EXISTING);
          },
          true },
        { "a folder made", [](const std::string& folder) { MakeFolder(folder + "\\Новая"); }, true },
        { "a file removed", [](const std::string& folder) { DeleteFileW(Wide(folder + "\\Описание.txt").c_str()); },
          true },
        { "the folder gone", [](const std::string& folder) { RemoveTree(folder); }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string root = NewTestFolder();
        std::string folder = root + "\\Факт", other = root + "\\Другой";
        MakeFolder(folder);
        WriteBytes(folder + "\\Описание.txt", "Описание");
        WriteBytes(folder + "\\Факт.txt", "Текст");
        MakeFolder(other);
        std::map<std::string, unsigned long long> seen;
        EXPECT_TRUE(PollFolders(&seen, { folder, other }).empty()) << "a first look is only remembered";
        c.change(folder);
        WriteBytes(root + "\\не показано.txt", "x");  // not open: never looked at
        std::vector<std::string> expected;
        if (c.reported)
            expected.push_back(folder);
        EXPECT_EQ(PollFolders(&seen, { folder, other }), expected);
        EXPECT_TRUE(PollFolders(&seen, { folder, other }).empty()) << "told once";
    }
}

void Heard(const BaseChange& change, void* context)
{
    ((std::vector<std::string>*)context)->push_back(std::to_string(change.kind) + " " + change.folder);
}

// Waits, as long as a poll and its quiet moment take and then some, for the
// watch's note to reach the window.
bool NoteArrives(HWND window, int waitMs = 10000)
{
    MSG message;
    for (int i = 0; i < waitMs / 20; i++) {
        if (PeekMessageW(&message, window, WM_FACTS_BASE_CHANGED, WM_FACTS_BASE_CHANGED, PM_REMOVE))
            return true;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_POSTMESSAGE);
    }
    return false;
}

std::vector<std::string> Announced()
{
    std::vector<std::string> heard;
    ListenToBaseChanges(Heard, &heard);
    AnnounceWatchedChanges();
    StopListeningToBaseChanges(Heard, &heard);
    return heard;
}

// The watch reports what another program changes, once the burst is over,
// as one note for its folder. (Wine 8 reports changes in the base root and
// in folders made after the watch began, not in older sub-folders: the test
// stays in the root. Polling covers the rest there.)
TEST(BaseWatch, EventsOrAPollBringOneNotePerChangedFolderToTheWindow)
{
    std::string root = NewTestFolder();
    MakeFolder(root + "\\Раздел");
    HWND window = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    ASSERT_EQ(StartBaseWatch(root.c_str(), window, WM_FACTS_BASE_CHANGED), WATCH_EVENTS);
    for (int i = 0; i < 20; i++)
        WriteBytes(root + "\\файл " + std::to_string(i) + ".txt", "x");
    ASSERT_TRUE(NoteArrives(window));
    EXPECT_EQ(Announced(), std::vector<std::string>{ std::to_string(BASE_FOLDER_CHANGED) + " " + root });

    // Polled, only what a dialog shows is looked at.
    SetEnvironmentVariableW(L"FACTS_WATCH", L"poll");
    ASSERT_EQ(StartBaseWatch(root.c_str(), window, WM_FACTS_BASE_CHANGED), WATCH_POLLING);
    SetEnvironmentVariableW(L"FACTS_WATCH", NULL);
    HWND dialog = window;  // stands for a dialog showing the Section's entries
    ShowingFolders(dialog, { root + "\\Раздел" });
    // A folder's first look is taken on the watch's thread when it is
    // shown; a change that crosses it is part of that look, so the change is
    // made again until a poll tells it.
    bool told = false;
    for (int attempt = 0; attempt < 3 && !told; attempt++) {
        MakeFolder(root + "\\Раздел\\Тема " + std::to_string(attempt));
        WriteBytes(root + "\\не показано " + std::to_string(attempt) + ".txt", "x");
        told = NoteArrives(window, (int)POLL_MS + 1000);
    }
    ASSERT_TRUE(told);
    EXPECT_EQ(Announced(), std::vector<std::string>{ std::to_string(BASE_FOLDER_CHANGED) + " " + root + "\\Раздел" });
    ShowingFolders(dialog, {});
    StopBaseWatch();
    DestroyWindow(window);
}

class FollowingBrowser : public DialogTest {};

TEST_F(FollowingBrowser, ListsRefillKeepingTheSelectionAndTypedTextStays)
{
    BuildFactBase();
    HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
    WalkBrowserTo(browser, "Раздел\\Тема\\Подтема\\Установка\\Факт");

    MakeFolder(DirectivePath() + "\\Хеопс");
    AnnounceFolderChanged(DirectivePath().c_str());
    EXPECT_EQ(ListEntries(browser, IDC_BROWSER_FACT_LIST),
              (std::vector<std::string>{ "..", "Gold", "Без описания", "Факт", "Хеопс" }));
    EXPECT_EQ(SelectedIndex(browser, IDC_BROWSER_FACT_LIST), 3) << "still Факт";

    WriteBytes(DirectivePath() + "\\Факт\\Описание.txt", "Описание, изменённое в другой программе");
    AnnounceFolderChanged((DirectivePath() + "\\Факт").c_str());
    EXPECT_EQ(ControlText(browser, IDC_BROWSER_TEXT_VIEW), "Описание, изменённое в другой программе");

    TypeAsUser(browser, IDC_BROWSER_TEXT_VIEW, "набранный текст");
    WriteBytes(DirectivePath() + "\\Факт\\Описание.txt", "ещё раз изменено");
    AnnounceFolderChanged((DirectivePath() + "\\Факт").c_str());
    EXPECT_EQ(ControlText(browser, IDC_BROWSER_TEXT_VIEW), "набранный текст") << "typed text is never replaced";
    EXPECT_EQ(ControlTextWide(browser, IDC_BROWSER_NOTE),
              L"Файл изменён в другом месте - набранное цело, при записи будет вопрос");

    // A sync tool's conflict copy beside the fact's description marks the
    // fact in its list, and is named above the text when the fact is selected.
    WriteBytes(DirectivePath() + "\\Факт\\Описание (conflicted copy 2026-12-01).txt", "копия");
    AnnounceFolderChanged((DirectivePath() + "\\Факт").c_str());
    EXPECT_EQ(ListEntries(browser, IDC_BROWSER_FACT_LIST),
              (std::vector<std::string>{ "..", "Gold", "Без описания", "Факт (!)", "Хеопс" }));
    boxes_.AnswerNext(IDNO);  // the typed text is dropped
    SelectNamed(browser, IDC_BROWSER_FACT_LIST, "Gold");
    std::string description;
    ASSERT_TRUE(ReadBytes(DirectivePath() + "\\Факт\\Описание.txt", &description));
    EXPECT_EQ(description, "ещё раз изменено") << "nothing was written";
    SelectNamed(browser, IDC_BROWSER_FACT_LIST, "Факт (!)");
    EXPECT_EQ(ControlTextWide(browser, IDC_BROWSER_NOTE),
              L"У факта есть копия при конфликте синхронизации - см. ОТКРЫТЬ ПАПКУ");
    TypeAsUser(browser, IDC_BROWSER_TEXT_VIEW, "набранный текст");

    // The selected Directive renamed elsewhere: as if nothing had been selected below the Subtopic.
    ASSERT_TRUE(MoveFileW(Wide(DirectivePath()).c_str(), Wide(base_ + "\\Раздел\\Тема\\Подтема\\Пирамиды").c_str()));
    AnnounceFolderChanged((base_ + "\\Раздел\\Тема\\Подтема").c_str());
    EXPECT_EQ(ListEntries(browser, IDC_BROWSER_DIRECTIVE_LIST), (std::vector<std::string>{ "..", "Пирамиды" }));
    EXPECT_EQ(SelectedIndex(browser, IDC_BROWSER_DIRECTIVE_LIST), -1);
    EXPECT_TRUE(ListEntries(browser, IDC_BROWSER_FACT_LIST).empty());
    EXPECT_EQ(ControlText(browser, IDC_BROWSER_TEXT_VIEW), "набранный текст");
    EXPECT_EQ(SelectedIndex(browser, IDC_BROWSER_SUBTOPIC_LIST), 1) << "the Subtopic stays selected";
}

// A Directive of many facts is looked through a share at a time: the list
// shows at once, and the marks of its far end follow while the windows answer.
TEST_F(FollowingBrowser, AConflictCopyFarDownALongFactListIsMarkedSoonAfter)
{
    BuildFactBase();
    for (int f = 0; f < 250; f++)
        MakeFolder(DirectivePath() + "\\Ф " + std::to_string(1000 + f));
    WriteBytes(DirectivePath() + "\\Ф 1249\\Описание.txt", "x");
    WriteBytes(DirectivePath() + "\\Ф 1249\\Описание-PC01.txt", "копия");
    HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
    WalkBrowserTo(browser, "Раздел\\Тема\\Подтема\\Установка");
    auto shows = [&](const char* entry) {
        std::vector<std::string> entries = ListEntries(browser, IDC_BROWSER_FACT_LIST);
        return std::find(entries.begin(), entries.end(), entry) != entries.end();
    };
    EXPECT_TRUE(shows("Ф 1249")) << "not yet looked at";
    for (int i = 0; i < 500 && !shows("Ф 1249 (!)"); i++) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
        PumpMessages();
    }
    EXPECT_TRUE(shows("Ф 1249 (!)"));
    EXPECT_TRUE(shows("Ф 1248")) << "a fact without a copy stays unmarked";
}

// The other dialogs with lists follow by the same road: here the category editor.
TEST_F(FollowingBrowser, TheCategoryEditorFollowsToo)
{
    BuildFactBase();
    HWND editor = Open(IDD_CATEGORY_EDITOR, CategoryEditorDialog);
    SelectNamed(editor, IDC_EDITOR_SECTION_LIST, "Раздел");
    MakeFolder(base_ + "\\Раздел\\Новая тема");
    AnnounceFolderChanged((base_ + "\\Раздел").c_str());
    EXPECT_EQ(ListEntries(editor, IDC_EDITOR_TOPIC_LIST),
              (std::vector<std::string>{ "..", "Новая тема", "Тема 3", "Тема" }));
    std::vector<std::string> sections = ListEntries(editor, IDC_EDITOR_SECTION_LIST);
    ASSERT_GE(SelectedIndex(editor, IDC_EDITOR_SECTION_LIST), 0);
    EXPECT_EQ(sections[SelectedIndex(editor, IDC_EDITOR_SECTION_LIST)], "Раздел");
}

}  // namespace
