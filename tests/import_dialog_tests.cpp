// Importing from the browser, as a user does it: the list menu, the folder
// dialog (answered by the test), the import window's preview, its run with
// progress and cancel, its report, and the undo by Ctrl+Z.
#include "../browser/fact_base_dialog.h"
#include "../import/import_dialog.h"
#include "../move/undo_stack.h"
#include "../resources/resource.h"
#include "../ui/app_messages.h"
#include "../ui/platform_ui.h"
#include "../ui/text_drop.h"
#include "support/dialog_driver.h"
#include "support/dialog_fixture.h"
#include "support/test_files.h"

#include <windows.h>
#include <shlobj.h>
#include <algorithm>
#include <functional>

namespace {

const std::wstring RUSSIAN = L"Съешь же ещё этих мягких французских булок, да выпей чаю.\n"
                             L"Широкая электрификация южных губерний даст мощный толчок подъёму сельского хозяйства.\n";
// Capitals only in KOI8-R: a guess the window marks as uncertain.
const std::wstring CAPITALS = L"СРОЧНО: СОБРАНИЕ ЖИЛЬЦОВ ДОМА В ПЯТНИЦУ ВЕЧЕРОМ";

std::string InCodePage(const std::wstring& text, UINT codePage)
{
    int size = WideCharToMultiByte(codePage, 0, text.data(), (int)text.size(), NULL, 0, NULL, NULL);
    std::string bytes(size, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), (int)text.size(), &bytes[0], size, NULL, NULL);
    return bytes;
}

std::wstring FromCodePage(const std::string& bytes, UINT codePage)
{
    int size = MultiByteToWideChar(codePage, 0, bytes.data(), (int)bytes.size(), NULL, 0);
    std::wstring text(size, L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), (int)bytes.size(), &text[0], size);
    return text;
}

void ListTree(const std::string& top, const std::string& below, std::vector<std::string>* paths)
{
    for (const std::string& name : FolderEntries(below.empty() ? top : top + "\\" + below)) {
        std::string path = below.empty() ? name : below + "\\" + name;
        paths->push_back(path);
        if (GetFileAttributesW(Wide(top + "\\" + path).c_str()) & FILE_ATTRIBUTE_DIRECTORY)
            ListTree(top, path, paths);
    }
}

std::vector<std::string> TreeBelow(const std::string& top)
{
    std::vector<std::string> paths;
    ListTree(top, "", &paths);
    std::sort(paths.begin(), paths.end());
    return paths;
}

// The folder dialog, answered with the test's folder and counted.
std::string ChosenFolder;
int FolderAsks = 0;

bool AnswerFolderDialog(HWND, std::wstring* folder)
{
    FolderAsks++;
    *folder = Wide(ChosenFolder);
    return !ChosenFolder.empty();
}

// The import window is modal: what the test does there runs from a timer
// inside the window's own message loop.
std::function<void(HWND)> WhileUp;
bool WindowSeen = false;

BOOL CALLBACK FindImportWindow(HWND window, LPARAM found)
{
    if ((DLGPROC)GetWindowLongPtrW(window, DWLP_DLGPROC) == ImportDialog && IsWindowVisible(window))
        *(HWND*)found = window;
    return TRUE;
}

void CALLBACK ActInImportWindow(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindImportWindow, (LPARAM)&window);
    if (!window)
        return;  // not up yet
    KillTimer(NULL, timer);
    WindowSeen = true;
    std::function<void(HWND)> action = WhileUp;
    WhileUp = nullptr;
    action(window);
}

// What the window shows.
struct Shown {
    std::wstring source, counts, progress, cancelButton;
    std::vector<std::wstring> rows;
    bool importEnabled;
};

Shown Read(HWND window)
{
    Shown shown;
    shown.source = ControlTextWide(window, IDC_IMPORT_SOURCE);
    shown.counts = ControlTextWide(window, IDC_IMPORT_COUNTS);
    shown.progress = ControlTextWide(window, IDC_IMPORT_PROGRESS);
    shown.cancelButton = ControlTextWide(window, IDCANCEL);
    shown.importEnabled = IsWindowEnabled(GetDlgItem(window, IDOK)) != FALSE;
    HWND list = GetDlgItem(window, IDC_IMPORT_FILES);
    int count = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        std::wstring row((size_t)SendMessageW(list, LB_GETTEXTLEN, i, 0), L'\0');
        SendMessageW(list, LB_GETTEXT, i, (LPARAM)&row[0]);
        shown.rows.push_back(row);
    }
    return shown;
}

int RowStarting(const Shown& shown, const std::wstring& start)
{
    for (size_t i = 0; i < shown.rows.size(); i++)
        if (shown.rows[i].compare(0, start.size(), start) == 0)
            return (int)i;
    return -1;
}

std::wstring RowOf(const Shown& shown, const std::wstring& start)
{
    int row = RowStarting(shown, start);
    return row < 0 ? L"<missing>" : shown.rows[row];
}

void Click(HWND window, int id)
{
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(window, id));
}

void ChooseEncoding(HWND window, int index)
{
    HWND box = GetDlgItem(window, IDC_IMPORT_ENCODING);
    SendMessageW(box, CB_SETCURSEL, (WPARAM)index, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_IMPORT_ENCODING, CBN_SELCHANGE), (LPARAM)box);
}

// The undo item of the list menu, read while the popup's loop runs.
struct UndoItemReader {
    static std::wstring text;
    static HHOOK hook;
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam)
    {
        HWND menuWindow = code == MSGF_MENU ? FindWindowW(L"#32768", NULL) : NULL;
        if (menuWindow && text.empty()) {
            HMENU menu = (HMENU)SendMessageW(menuWindow, MN_GETHMENU, 0, 0);
            wchar_t item[128] = {};
            GetMenuStringW(menu, IDM_UNDO, item, 128, MF_BYCOMMAND);
            text = item[0] ? item : L"<none>";
            PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        return CallNextHookEx(hook, code, wParam, lParam);
    }
    static std::wstring Read(HWND browser, int listId)
    {
        HWND list = GetDlgItem(browser, listId);
        RECT item = {};
        SendMessageW(list, LB_GETITEMRECT, SendMessageW(list, LB_GETCURSEL, 0, 0), (LPARAM)&item);
        POINT at = { item.left + 5, item.top + 3 };
        ClientToScreen(list, &at);
        text.clear();
        hook = SetWindowsHookExW(WH_MSGFILTER, Filter, NULL, GetCurrentThreadId());
        PostMessageW(browser, WM_NULL, 0, 0);
        SendMessageW(browser, WM_CONTEXTMENU, (WPARAM)list, MAKELPARAM(at.x, at.y));
        UnhookWindowsHookEx(hook);
        PumpMessages();
        return text;
    }
};
std::wstring UndoItemReader::text;
HHOOK UndoItemReader::hook;

const std::string DIRECTIVE = "Раздел\\Тема\\Подтема\\Установка";

class ImportFromBrowser : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        // Before the browser opens, so that its fact list takes drops.
        oleStarted_ = SUCCEEDED(OleInitialize(NULL));
        BuildFactBase();
        ForgetAllSteps();
        AskImportFolder = AnswerFolderDialog;
        source_ = NewTestFolder() + "\\Заметки";
        MakeFolder(source_);
        ChosenFolder = source_;
        FolderAsks = 0;
        WindowSeen = false;
        browser_ = Open(IDD_FACT_BASE, FactBaseDialog);
        WalkBrowserTo(browser_, DIRECTIVE);
    }
    void TearDown() override
    {
        AskImportFolder = AskWithFolderDialog;
        ForgetAllSteps();
        DialogTest::TearDown();
        if (oleStarted_)
            OleUninitialize();
    }
    // Files dragged from Explorer: the clipboard's data object carries them as OLE hands them over.
    IDataObject* DraggedFiles(const std::vector<std::string>& paths)
    {
        std::wstring list;
        for (const std::string& path : paths)
            list += Wide(path) + L'\0';
        list += L'\0';
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
        DROPFILES* drop = (DROPFILES*)GlobalLock(memory);
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        OpenClipboard(owner_);
        EmptyClipboard();
        SetClipboardData(CF_HDROP, memory);
        CloseClipboard();
        IDataObject* data = NULL;
        EXPECT_EQ(OleGetClipboard(&data), S_OK);
        return data;
    }
    // Sends the menu command with action run in the import window once it is up.
    void Run(int command, std::function<void(HWND)> action)
    {
        WhileUp = action;
        WindowSeen = false;
        UINT_PTR timer = SetTimer(NULL, 0, 10, ActInImportWindow);
        SendMessageW(browser_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        KillTimer(NULL, timer);
        EXPECT_TRUE(WindowSeen) << "the import window was up";
    }
    std::string At(const std::string& below) const { return base_ + "\\" + below; }

    std::string source_;
    HWND browser_ = NULL;
    bool oleStarted_ = false;
};

// Each command previews the import into its own place, the files' targets
// mapped onto the levels left below it; a cancelled preview writes nothing.
TEST_F(ImportFromBrowser, EachListCommandPreviewsTheImportIntoItsPlaceAndWritesNothing)
{
    WriteBytes(source_ + "\\один.txt", InCodePage(RUSSIAN, 1251));
    WriteBytes(source_ + "\\пусто.txt", "");
    MakeFolder(source_ + "\\Глава");
    WriteBytes(source_ + "\\Глава\\два.md", InCodePage(L"# Заголовок\n" + RUSSIAN, CP_UTF8));
    struct Case {
        int command;
        const wchar_t* place;
        const wchar_t* first;   // один.txt's Directive
        const wchar_t* second;  // Глава\два.md's
        const wchar_t* counts;
    };
    const Case cases[] = {
        { IDM_IMPORT_SECTION, L"Раздел", L"Раздел\\Заметки\\Заметки\\Заметки", L"Раздел\\Заметки\\Заметки\\Глава",
          L"Будет фактов: 2, категорий новых: 4, уже есть: 0. Пропущено файлов: 1 (пустой файл - 1)." },
        { IDM_IMPORT_SECTION + 1, L"Раздел\\Тема", L"Раздел\\Тема\\Заметки\\Заметки", L"Раздел\\Тема\\Заметки\\Глава",
          L"Будет фактов: 2, категорий новых: 3, уже есть: 0. Пропущено файлов: 1 (пустой файл - 1)." },
        { IDM_IMPORT_DIRECTIVE, L"Раздел\\Тема\\Подтема\\Установка", L"Раздел\\Тема\\Подтема\\Установка",
          L"Раздел\\Тема\\Подтема\\Установка",
          L"Будет фактов: 2, категорий новых: 0, уже есть: 0. Пропущено файлов: 1 (пустой файл - 1)." },
        { IDM_IMPORT_BASE, L"саму базу", L"Заметки\\Заметки\\Заметки\\Заметки", L"Заметки\\Заметки\\Заметки\\Глава",
          L"Будет фактов: 2, категорий новых: 5, уже есть: 0. Пропущено файлов: 1 (пустой файл - 1)." },
    };
    std::vector<std::string> before = TreeBelow(base_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Shown shown;
        Run(c.command, [&](HWND window) {
            shown = Read(window);
            Click(window, IDCANCEL);
        });
        EXPECT_EQ(shown.source, L"Из «" + Wide(source_) + L"» в «" + c.place + L"»");
        EXPECT_EQ(shown.counts, c.counts);
        EXPECT_EQ(shown.rows, (std::vector<std::wstring>{ std::wstring(L"один.txt\t") + c.first + L"\tWindows-1251",
                                                          L"пусто.txt\tпропущен: пустой файл",
                                                          std::wstring(L"Глава\\два.md\t") + c.second + L"\tUTF-8" }));
        EXPECT_TRUE(shown.importEnabled);
        EXPECT_EQ(TreeBelow(base_), before) << "nothing written";
        UndoStep step;
        EXPECT_FALSE(NewestStep(&step)) << "nothing to undo";
    }
    EXPECT_EQ(FolderAsks, 4);

    // A typed text is saved or kept first; staying with it asks for no folder.
    WalkBrowserTo(browser_, DIRECTIVE + "\\Факт");
    TypeAsUser(browser_, IDC_BROWSER_TEXT_VIEW, "набрано");
    boxes_.AnswerNext(IDCANCEL);
    SendMessageW(browser_, WM_COMMAND, MAKEWPARAM(IDM_IMPORT_SECTION, 0), 0);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Текст факта изменён и не записан. Записать изменения?");
    EXPECT_EQ(FolderAsks, 4);
}

// The encoding of a marked file is changed in the preview and written so;
// the report names every file; a second run of the same import adds nothing.
TEST_F(ImportFromBrowser, TheChosenEncodingIsWrittenTheReportStaysAndASecondRunAddsNothing)
{
    const std::string capitals = InCodePage(CAPITALS, 20866);
    WriteBytes(source_ + "\\один.txt", InCodePage(RUSSIAN, 1251));
    WriteBytes(source_ + "\\Объявление.txt", capitals);
    WriteBytes(source_ + "\\двоичный.txt", std::string("MZ\0\0\x90\0", 6));
    Shown preview, afterChange, report;
    std::wstring sampleBefore, sampleAfter;
    bool certainBoxEnabled = true, markedBoxEnabled = false;
    Run(IDM_IMPORT_DIRECTIVE, [&](HWND window) {
        preview = Read(window);
        int certain = RowStarting(preview, L"один.txt\t");
        int marked = RowStarting(preview, L"Объявление.txt\t");
        if (certain < 0 || marked < 0) {
            ADD_FAILURE() << "a file is missing from the preview";
            Click(window, IDCANCEL);
            return;
        }
        SelectEntry(window, IDC_IMPORT_FILES, certain);
        certainBoxEnabled = IsWindowEnabled(GetDlgItem(window, IDC_IMPORT_ENCODING)) != FALSE;
        SelectEntry(window, IDC_IMPORT_FILES, marked);
        markedBoxEnabled = IsWindowEnabled(GetDlgItem(window, IDC_IMPORT_ENCODING)) != FALSE;
        sampleBefore = ControlTextWide(window, IDC_IMPORT_SAMPLE);
        ChooseEncoding(window, 0);  // Windows-1251
        sampleAfter = ControlTextWide(window, IDC_IMPORT_SAMPLE);
        afterChange = Read(window);
        Click(window, IDOK);
        report = Read(window);
        Click(window, IDCANCEL);
    });
    const std::wstring directive = Wide(DIRECTIVE);
    EXPECT_EQ(RowOf(preview, L"Объявление.txt\t"),
              L"Объявление.txt\t" + directive + L"\t? KOI8-R");
    EXPECT_NE(preview.progress.find(L"«?»"), std::wstring::npos) << preview.progress;
    EXPECT_FALSE(certainBoxEnabled) << "only a marked file's encoding can change";
    EXPECT_TRUE(markedBoxEnabled);
    EXPECT_EQ(sampleBefore, CAPITALS);
    EXPECT_EQ(sampleAfter, FromCodePage(capitals, 1251));
    EXPECT_EQ(RowOf(afterChange, L"Объявление.txt\t"),
              L"Объявление.txt\t" + directive + L"\t? Windows-1251");

    EXPECT_EQ(report.progress, L"Импорт: 2 из 2 файлов");
    EXPECT_EQ(report.counts, L"Импортировано фактов: 2 (из них повторов: 0), уже были: 0, пропущено файлов: 1, не "
                             L"импортировано: 0.");
    EXPECT_EQ(report.rows, (std::vector<std::wstring>{ L"Пропущен «двоичный.txt»: не текст",
                                                       L"Импортирован «Объявление.txt»", L"Импортирован «один.txt»" }));
    EXPECT_EQ(report.cancelButton, L"ЗАКРЫТЬ");
    EXPECT_FALSE(report.importEnabled);

    // The bytes as Windows-1251 read them are written back as they were.
    EXPECT_EQ(FileText(At(DIRECTIVE + "\\Объявление\\Объявление.txt")), capitals);
    std::wstring crlf = RUSSIAN;
    for (size_t at = crlf.find(L'\n'); at != std::wstring::npos; at = crlf.find(L'\n', at + 2))
        crlf.replace(at, 1, L"\r\n");
    EXPECT_EQ(FileText(At(DIRECTIVE + "\\один\\один.txt")), InCodePage(crlf, 1251));
    std::vector<std::string> facts = ListEntries(browser_, IDC_BROWSER_FACT_LIST);
    EXPECT_NE(std::find(facts.begin(), facts.end(), "Объявление"), facts.end()) << "the browser shows what came";

    std::vector<std::string> after = TreeBelow(base_);
    // Read as before, the same texts are there already.
    Run(IDM_IMPORT_DIRECTIVE, [&](HWND window) {
        SelectEntry(window, IDC_IMPORT_FILES, RowStarting(Read(window), L"Объявление.txt\t"));
        ChooseEncoding(window, 0);
        Click(window, IDOK);
        report = Read(window);
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(report.counts, L"Импортировано фактов: 0 (из них повторов: 0), уже были: 2, пропущено файлов: 1, не "
                             L"импортировано: 0.");
    EXPECT_EQ(TreeBelow(base_), after) << "a second run adds nothing";
}

// Pressed while the facts are written, ОТМЕНА stops after the one being
// written; what came stays and the report says how far it got. Ctrl+Z then
// takes the import back, all but a fact changed since, which it names.
TEST_F(ImportFromBrowser, CancelKeepsWhatCameAndCtrlZTakesItBackButAChangedFact)
{
    const int FILES = 150;
    for (int i = 0; i < FILES; i++) {
        char name[32];
        snprintf(name, sizeof name, "\\f%03d.txt", i);
        WriteBytes(source_ + name, InCodePage(L"Заметка номер " + std::to_wstring(i) + L". " + RUSSIAN, 1251));
    }
    std::vector<std::string> before = FolderEntries(At(DIRECTIVE));
    static HWND running;
    Shown report;
    Run(IDM_IMPORT_DIRECTIVE, [&](HWND window) {
        running = window;
        // ОТМЕНА once a few facts are written, pressed from inside the run's own pumping.
        SetTimer(NULL, 0, 10, [](HWND, UINT, UINT_PTR timer, DWORD) {
            std::wstring progress = ControlTextWide(running, IDC_IMPORT_PROGRESS);
            if (progress.compare(0, 8, L"Импорт: ") != 0 || _wtoi(progress.c_str() + 8) < 3)
                return;
            KillTimer(NULL, timer);
            Click(running, IDCANCEL);
        });
        Click(window, IDOK);
        report = Read(window);
        Click(window, IDCANCEL);
    });
    const std::wstring prefix = L"Импорт прерван после ";
    ASSERT_EQ(report.progress.compare(0, prefix.size(), prefix), 0) << Cp1251(report.progress);
    int reached = _wtoi(report.progress.c_str() + prefix.size());
    EXPECT_GE(reached, 3);
    EXPECT_LT(reached, FILES);
    EXPECT_EQ(report.progress, prefix + std::to_wstring(reached) + L" из 150 файлов - импортированное осталось в базе.");
    std::vector<std::string> now = FolderEntries(At(DIRECTIVE));
    EXPECT_EQ(now.size(), before.size() + reached) << "every fact reached is written, no other";
    EXPECT_EQ(report.counts, L"Импортировано фактов: " + std::to_wstring(reached) +
                                 L" (из них повторов: 0), уже были: 0, пропущено файлов: 0, не импортировано: " +
                                 std::to_wstring(FILES - reached) + L".");

    EXPECT_EQ(UndoItemReader::Read(browser_, IDC_BROWSER_FACT_LIST), L"Отменить: импорт «Заметки»");
    WriteBytes(At(DIRECTIVE + "\\f001\\f001.txt"), "изменено после импорта");
    HWND facts = GetDlgItem(browser_, IDC_BROWSER_FACT_LIST);
    SetFocus(facts);
    EXPECT_TRUE(SendMessageW(browser_, WM_FACTS_DIALOG_KEY, MAKEWPARAM('Z', 1), (LPARAM)facts));
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0],
              (L"Импорт отменён, кроме того, что изменилось после него или занято другой программой - это осталось "
               L"на месте:\r\n" +
               Wide(DIRECTIVE) + L"\\f001")
                  .c_str(),
              L"Внимание", browser_);
    std::vector<std::string> kept = before;
    kept.push_back("f001");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(FolderEntries(At(DIRECTIVE)), kept);
    std::vector<std::string> listed = ListEntries(browser_, IDC_BROWSER_FACT_LIST);
    listed.erase(std::remove(listed.begin(), listed.end(), ".."), listed.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, kept) << "the list follows the undo";
    EXPECT_EQ(UndoItemReader::Read(browser_, IDC_BROWSER_FACT_LIST), L"Отменить");
}

// Files and folders dropped from Explorer on the fact list go into its
// Directive, through the same window; without a Directive nothing happens
// but a word on it.
TEST_F(ImportFromBrowser, FilesDroppedOnTheFactListImportIntoItsDirective)
{
    ASSERT_TRUE(oleStarted_);
    WriteBytes(source_ + "\\один.txt", InCodePage(RUSSIAN, 1251));
    MakeFolder(source_ + "\\Глава");
    WriteBytes(source_ + "\\Глава\\два.md", InCodePage(L"# Заголовок\n" + RUSSIAN, CP_UTF8));
    WriteBytes(source_ + "\\Глава\\Подглава.txt", InCodePage(L"Подглава: " + RUSSIAN, CP_UTF8));
    IDataObject* data = DraggedFiles({ source_ + "\\один.txt", source_ + "\\Глава" });
    ASSERT_TRUE(data != NULL);
    HWND facts = GetDlgItem(browser_, IDC_BROWSER_FACT_LIST);
    Shown preview, report;
    bool closed = false;
    WhileUp = [&](HWND window) {
        preview = Read(window);
        Click(window, IDOK);
        report = Read(window);
        Click(window, IDCANCEL);
        closed = true;
    };
    WindowSeen = false;
    UINT_PTR timer = SetTimer(NULL, 0, 10, ActInImportWindow);
    // Dropped as OLE drops: the program the drag came from is let go at once,
    // and the import window opens after, when this thread's loop turns.
    IDropTarget* target = DropTargetOf(facts);
    ASSERT_TRUE(target != NULL);
    POINTL point = { 0, 0 };
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(target->Drop(data, 0, point, &effect), S_OK);
    EXPECT_EQ(effect, (DWORD)DROPEFFECT_COPY);
    EXPECT_FALSE(WindowSeen) << "the drop returned before the import window opened";
    // The whole import runs inside one turn of the loop: its window is modal.
    for (int i = 0; i < 1000 && !closed; i++) {
        PumpMessages();
        Sleep(5);
    }
    KillTimer(NULL, timer);
    EXPECT_TRUE(WindowSeen);
    const std::wstring directive = Wide(DIRECTIVE);
    EXPECT_EQ(preview.source, L"Из «" + Wide(source_) + L"» в «" + directive + L"»");
    EXPECT_EQ(preview.rows, (std::vector<std::wstring>{ L"один.txt\t" + directive + L"\tWindows-1251",
                                                        L"Глава\\два.md\t" + directive + L"\tUTF-8",
                                                        L"Глава\\Подглава.txt\t" + directive + L"\tUTF-8" }));
    EXPECT_EQ(report.counts, L"Импортировано фактов: 3 (из них повторов: 0), уже были: 0, пропущено файлов: 0, не "
                             L"импортировано: 0.");
    for (const char* fact : { "\\один\\один.txt", "\\два\\два.txt", "\\Подглава\\Подглава.txt" })
        EXPECT_TRUE(PathExists(At(DIRECTIVE) + fact)) << fact;
    std::vector<std::string> listed = ListEntries(browser_, IDC_BROWSER_FACT_LIST);
    EXPECT_NE(std::find(listed.begin(), listed.end(), "Подглава"), listed.end()) << "the browser shows what came";

    SelectEntry(browser_, IDC_BROWSER_SECTION_LIST, -1);
    EXPECT_TRUE(DeliverTextDrop(facts, data));
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Сначала выберете установку :)", L"Ошибка", browser_);
    data->Release();
}

}  // namespace
