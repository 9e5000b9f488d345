// Changes made elsewhere: gathered per folder, reported by the watch, and
// followed by an open browser.
#include "../browser/fact_base_dialog.h"
#include "../categories/category_editor_dialog.h"
#include "../move/entry_move.h"
#include "../resources/resource.h"
#include "../search/search_service.h"
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

// What the file system reports of the program's own move is not a change
// made elsewhere; a change beside it, in the same folders, is.
TEST(ChangeNotes, TheProgramsOwnChangeIsNoChangeElsewhere)
{
    struct Case {
        const char* what;
        std::wstring changed;  // below C:\База
        Folders expected;
    };
    const Case cases[] = {
        { "the moved folder leaving", L"Р\\Т\\Откуда\\Пирамиды", {} },
        { "the moved folder arriving", L"Р\\Т\\Куда\\Пирамиды", {} },
        { "a file inside it, by either name", L"Р\\Т\\Куда\\ПИРАМИДЫ\\Факт\\Описание.txt", {} },
        { "the folder it left, as an entry", L"Р\\Т\\Откуда", {} },
        { "the folder it went to, as an entry", L"Р\\Т\\Куда", {} },
        { "a Directive made beside it", L"Р\\Т\\Откуда\\Сфинкс", { "C:\\База\\Р\\Т\\Откуда" } },
        { "a name that only begins like it", L"Р\\Т\\Откуда\\Пирамиды 2", { "C:\\База\\Р\\Т\\Откуда" } },
        { "the Topic above, as an entry", L"Р\\Т", { "C:\\База\\Р" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChangeNotes notes;
        NoteOwnChange(&notes, L"C:\\База\\Р\\Т\\Откуда\\Пирамиды", L"C:\\База\\Р\\Т\\Куда\\Пирамиды");
        NoteChangedEntry(&notes, L"C:\\База", c.changed);
        EndOwnChange(&notes, L"C:\\База\\Р\\Т\\Откуда\\Пирамиды", 1000);
        NoteChangedEntry(&notes, L"C:\\База", c.changed);  // a report still on its way
        EXPECT_EQ(TakeNotes(&notes).folders, c.expected);
        ForgetOwnChanges(&notes, 1000 + OWN_CHANGE_MS);
        NoteChangedEntry(&notes, L"C:\\База", c.changed);
        EXPECT_FALSE(TakeNotes(&notes).folders.empty()) << "an own change is forgotten a moment after";
    }
    ChangeNotes notes;
    NoteOwnChange(&notes, L"C:\\База\\Р\\Т\\Откуда\\Пирамиды", L"");
    NoteChangedEntry(&notes, L"C:\\База", L"Р\\Т\\Откуда\\Пирамиды\\Факт");
    NoteChangedEntry(&notes, L"C:\\База", L"Р\\Т");
    EXPECT_EQ(TakeNotes(&notes).folders, Folders{ "C:\\База\\Р" }) << "a removal has no folder it goes to";
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

// The watch's first look at a folder newly shown is taken on its own
// thread; a change meant to be seen by a later poll waits for it.
bool FirstLookTaken(const std::string& folder)
{
    for (int i = 0; i < 250; i++) {
        if (WatchHasLookedAt(folder.c_str()))
            return true;
        Sleep(20);
    }
    return false;
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
    // The first look is taken on the watch's thread as soon as the folder
    // is shown; a change made after it is seen by the next poll.
    ASSERT_TRUE(FirstLookTaken(root + "\\Раздел"));
    MakeFolder(root + "\\Раздел\\Тема");
    WriteBytes(root + "\\не показано.txt", "x");
    ASSERT_TRUE(NoteArrives(window, (int)POLL_MS + 1000));
    EXPECT_EQ(Announced(), std::vector<std::string>{ std::to_string(BASE_FOLDER_CHANGED) + " " + root + "\\Раздел" });
    ShowingFolders(dialog, {});
    StopBaseWatch();
    DestroyWindow(window);
}

// A lost watch (the buffer overflowed, or a completion brought nothing)
// turns into one look at everything open, and polling from then on; a
// completion that brings events stays with the events.
TEST(BaseWatch, ALostWatchLooksAtEverythingOpenAndPollsFromThenOn)
{
    struct Case {
        const char* what;
        unsigned long bytes;
        unsigned long error;
        bool lost;
    };
    const Case cases[] = {
        { "ERROR_NOTIFY_ENUM_DIR", 0, ERROR_NOTIFY_ENUM_DIR, true },
        { "zero bytes", 0, 0, true },
        { "an event", 1, 0, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string root = NewTestFolder();
        MakeFolder(root + "\\Раздел");
        HWND window = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
        ASSERT_EQ(StartBaseWatch(root.c_str(), window, WM_FACTS_BASE_CHANGED), WATCH_EVENTS);
        ShowingFolders(window, { root + "\\Раздел" });
        ASSERT_TRUE(FirstLookTaken(root + "\\Раздел"));
        std::vector<DWORD> buffer(64);
        FILE_NOTIFY_INFORMATION* info = (FILE_NOTIFY_INFORMATION*)buffer.data();
        info->Action = FILE_ACTION_ADDED;
        info->FileNameLength = (DWORD)(wcslen(L"Раздел\\Тема") * sizeof(wchar_t));
        memcpy(info->FileName, L"Раздел\\Тема", info->FileNameLength);
        unsigned long bytes = c.bytes ? (unsigned long)(sizeof *info + info->FileNameLength) : 0;
        TakeTreeCompletion(buffer.data(), bytes, c.error);
        EXPECT_EQ(BaseWatchMode(), c.lost ? WATCH_POLLING : WATCH_EVENTS);
        ASSERT_TRUE(NoteArrives(window, 3000));
        std::string expected = c.lost ? std::to_string(BASE_ANYTHING_CHANGED) + " " + root
                                      : std::to_string(BASE_FOLDER_CHANGED) + " " + root + "\\Раздел";
        EXPECT_EQ(Announced(), std::vector<std::string>{ expected });
        if (c.lost) {
            // Polled now: a change in what is open is still seen.
            MakeFolder(root + "\\Раздел\\Тема 2");
            ASSERT_TRUE(NoteArrives(window, (int)POLL_MS + 1000));
            EXPECT_EQ(Announced(),
                      std::vector<std::string>{ std::to_string(BASE_FOLDER_CHANGED) + " " + root + "\\Раздел" });
        }
        ShowingFolders(window, {});
        StopBaseWatch();
        DestroyWindow(window);
    }
}

// A cancelled read may still be completing when CancelIo returns; its
// buffer may go only once it has ended.
TEST(BaseWatch, ACancelledReadHasEndedBeforeItsMemoryGoes)
{
    std::string root = NewTestFolder();
    HANDLE folder = CreateFileW(Wide(root).c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                FILE_SHARE_DELETE, NULL, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED,
                                NULL);
    ASSERT_NE(folder, INVALID_HANDLE_VALUE);
    for (int round = 0; round < 20; round++) {
        SCOPED_TRACE(round);
        std::vector<DWORD> buffer(1024);
        OVERLAPPED overlapped = {};
        overlapped.hEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
        ASSERT_TRUE(ReadDirectoryChangesW(folder, buffer.data(), (DWORD)(buffer.size() * sizeof(DWORD)), FALSE,
                                          FILE_NOTIFY_CHANGE_FILE_NAME, NULL, &overlapped, NULL));
        EXPECT_FALSE(HasOverlappedIoCompleted(&overlapped)) << "nothing changed yet";
        EXPECT_TRUE(CancelWatchRead(folder, &overlapped));
        EXPECT_TRUE(HasOverlappedIoCompleted(&overlapped));
        EXPECT_EQ(WaitForSingleObject(overlapped.hEvent, 0), WAIT_OBJECT_0) << "the completion is signalled";
        DWORD bytes = 0;
        EXPECT_FALSE(GetOverlappedResult(folder, &overlapped, &bytes, FALSE));
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_OPERATION_ABORTED);
        CloseHandle(overlapped.hEvent);
    }
    CloseHandle(folder);
}

class FollowingBrowser : public DialogTest {};

// The browser and the watch on the base, the watch's notes announced as the
// main window would: what a user's session with the program has running.
class WatchedBrowser : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        BuildFactBase();
        subtopic_ = base_ + "\\Раздел\\Тема\\Подтема";
        otherSubtopic_ = base_ + "\\Раздел\\Тема\\Подтема Б";
        MakeFolder(otherSubtopic_);
        MakeFolder(subtopic_ + "\\Пирамиды");
        MakeFolder(subtopic_ + "\\Пирамиды\\Хеопс");
        WriteBytes(subtopic_ + "\\Пирамиды\\Хеопс\\Описание.txt", "Пирамида Хеопса");
        notes_ = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    }
    void TearDown() override
    {
        StopBaseWatch();
        DestroyWindow(notes_);
        DialogTest::TearDown();
    }
    HWND OpenBrowserAt(const std::string& below)
    {
        EXPECT_EQ(StartBaseWatch(base_.c_str(), notes_, WM_FACTS_BASE_CHANGED), WATCH_EVENTS);
        HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
        WalkBrowserTo(browser, below);
        return browser;
    }
    // Every folder the watch announces, until folder is among them or the
    // time is up.
    Folders AnnouncedUntil(const std::string& folder, int waitMs)
    {
        Folders heard;
        for (DWORD start = GetTickCount(); GetTickCount() - start < (DWORD)waitMs && !heard.count(folder);) {
            if (!NoteArrives(notes_, 50))
                continue;
            for (const std::string& change : Announced())
                heard.insert(change.substr(change.find(' ') + 1));
            PumpMessages();
        }
        return heard;
    }
    std::string subtopic_, otherSubtopic_;
    HWND notes_ = NULL;
};

// The program's own handles never stand in its way: the browser shows a
// fact inside the Directive, so the watch watches and lists folders inside
// it (its first look taken on its own thread, as the move goes ahead), and
// the Directive is moved back and forth as the move dialog moves it.
TEST_F(WatchedBrowser, FiftyMovesInARowWithTheWatchInsideTheMovedFolderAreNoneRefused)
{
    HWND browser = OpenBrowserAt("Раздел\\Тема\\Подтема\\Пирамиды\\Хеопс");
    const std::string places[] = { subtopic_, otherSubtopic_ };
    std::vector<std::string> refused;
    for (int move = 0; move < 50; move++) {
        const std::string& from = places[move % 2];
        const std::string& to = places[(move + 1) % 2];
        std::string moved;
        MoveResult result = MoveEntry(base_.c_str(), (from + "\\Пирамиды").c_str(), to.c_str(), &moved);
        if (result != MOVE_DONE) {
            refused.push_back("move " + std::to_string(move) + ": " + std::to_string(result));
            break;
        }
        AnnounceFolderMoved((from + "\\Пирамиды").c_str(), moved.c_str());
        // The browser follows to the new place, and shows the fact there.
        WalkBrowserTo(browser, moved.substr(base_.size() + 1) + "\\Хеопс");
        MSG message;
        while (PeekMessageW(&message, notes_, WM_FACTS_BASE_CHANGED, WM_FACTS_BASE_CHANGED, PM_REMOVE))
            AnnounceWatchedChanges();
        PumpMessages();
    }
    EXPECT_EQ(refused, std::vector<std::string>());
    EXPECT_TRUE(boxes_.Seen().empty());
}

// The program's own move is no change made elsewhere: the index follows it
// from its announcement, and the watch's reports of it start no walk over
// the whole base. A change elsewhere right after is still seen.
TEST_F(WatchedBrowser, TheProgramsOwnMoveStartsNoWalkOfTheWholeBase)
{
    RefreshSearchIndex(base_.c_str());
    for (int i = 0; i < 500 && SearchIndexBusy(); i++)
        Sleep(10);
    ASSERT_FALSE(SearchIndexBusy());
    OpenBrowserAt("Раздел\\Тема\\Подтема\\Установка\\Факт");
    std::string fact = DirectivePath() + "\\Факт";
    ASSERT_TRUE(FirstLookTaken(subtopic_));
    ASSERT_TRUE(FirstLookTaken(fact));
    int walks = SearchWalksStarted();
    std::string moved;
    ASSERT_EQ(MoveEntry(base_.c_str(), (subtopic_ + "\\Пирамиды").c_str(), otherSubtopic_.c_str(), &moved), MOVE_DONE);
    AnnounceFolderMoved((subtopic_ + "\\Пирамиды").c_str(), moved.c_str());
    // Made elsewhere, in a fact folder on show: read again, no walk.
    WriteBytes(fact + "\\Описание.txt", "Описание, изменённое в другой программе");
    Folders heard = AnnouncedUntil(fact, 5000);
    EXPECT_TRUE(heard.count(fact)) << "the change elsewhere is seen";
    // The poll after the move compares with the folders as the move left them.
    Folders later = AnnouncedUntil("none", (int)POLL_MS + 1000);
    heard.insert(later.begin(), later.end());
    EXPECT_FALSE(heard.count(subtopic_)) << "the folder the move left";
    EXPECT_FALSE(heard.count(otherSubtopic_)) << "the folder it went to";
    std::string told;
    for (const std::string& folder : heard)
        told += "\n" + folder;
    EXPECT_EQ(SearchWalksStarted(), walks) << "the watch told of:" << told;

    // Beside the program's own move, in the very folder it left, another
    // program's new Directive is seen.
    ASSERT_EQ(MoveEntry(base_.c_str(), moved.c_str(), subtopic_.c_str(), &moved), MOVE_DONE);
    AnnounceFolderMoved((otherSubtopic_ + "\\Пирамиды").c_str(), moved.c_str());
    MakeFolder(subtopic_ + "\\Сфинкс");
    EXPECT_TRUE(AnnouncedUntil(subtopic_, 5000).count(subtopic_));
}

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
