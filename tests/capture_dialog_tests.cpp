// The quick capture window as the user meets it: filled from the real
// clipboard, its place and name, saving on each road, the questions before
// anything typed is lost, and the global key.
#include "../capture/capture_dialog.h"
#include "../capture/capture_key.h"
#include "../capture/capture_places.h"
#include "../capture/clipboard_grab.h"
#include "../browser/fact_base_dialog.h"
#include "../resources/resource.h"
#include "../store/base_changes.h"
#include "../ui/app_messages.h"
#include "../ui/app_state.h"
#include "../ui/platform_ui.h"
#include "../ui/text_drop.h"
#include "../ui/unsaved_text.h"
#include "support/dialog_driver.h"
#include "support/dialog_fixture.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace {

// Messages handled until the condition holds, for at most ten seconds.
bool PumpUntil(const std::function<bool()>& condition)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 10000)
            return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

void PutOnClipboard(HWND owner, const std::wstring& text, const std::string& html = std::string())
{
    ASSERT_TRUE(OpenClipboardPatiently(owner));
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    if (!html.empty()) {
        HGLOBAL markup = GlobalAlloc(GMEM_MOVEABLE, html.size() + 1);
        memcpy(GlobalLock(markup), html.c_str(), html.size() + 1);
        GlobalUnlock(markup);
        SetClipboardData(RegisterClipboardFormatW(L"HTML Format"), markup);
    }
    CloseClipboard();
}

std::string HtmlWithSource(const std::string& url)
{
    return "Version:0.9\r\nStartHTML:0000000000\r\nEndHTML:0000000000\r\nStartFragment:0000000000\r\n"
           "EndFragment:0000000000\r\nSourceURL:" +
           url + "\r\n<html><body><!--StartFragment-->x<!--EndFragment--></body></html>";
}

class CaptureWindow : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        BuildFactBase();
        directive_ = DirectivePath();
        SlotCopy(App.LastDirective, directive_.c_str());
    }
    void TearDown() override
    {
        NoteCaptureKeyTaken(false);
        DialogTest::TearDown();
    }
    HWND Capture(const std::wstring& text, const char* directive = NULL)
    {
        PutOnClipboard(owner_, text);
        SetLastError(0);
        HWND window = CaptureClipboard(owner_, NULL, directive);
        EXPECT_TRUE(window != NULL) << GetLastError();
        return window;
    }
    std::wstring Note(HWND window)
    {
        return ControlTextWide(window, IDC_CAPTURE_NOTE);
    }
    std::string directive_;
};

// ---------------------------------------------------------------- filling

TEST_F(CaptureWindow, FilledFromTheClipboardWithPlaceNameAndSource)
{
    PutOnClipboard(owner_, L"\r\n\r\nПирамида Хеопса, самая большая.\nВторая строка\n\n",
                   HtmlWithSource("https://ru.example.org/wiki/Cheops"));
    HWND window = CaptureClipboard(owner_, NULL, NULL);
    ASSERT_TRUE(window != NULL);
    EXPECT_EQ(WindowTextWide(window), L"БЫСТРЫЙ ФАКТ");
    EXPECT_EQ(ControlTextWide(window, IDC_CAPTURE_TEXT), L"Пирамида Хеопса, самая большая.\r\nВторая строка");
    EXPECT_EQ(ControlTextWide(window, IDC_CAPTURE_DESCRIPTION), L"https://ru.example.org/wiki/Cheops");
    EXPECT_EQ(ControlTextWide(window, IDC_CAPTURE_PLACE), L"Раздел › Тема › Подтема › Установка");
    EXPECT_EQ(ControlTextWide(window, IDC_CAPTURE_NAME), L"Пирамида Хеопса, самая большая");
    EXPECT_EQ(Note(window), L"Текст из буфера обмена");
    EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_CAPTURE_NAME)) << "Enter saves at once";
}

TEST_F(CaptureWindow, ThePlaceIsTheAskedOneTheLastUsedTheNewestOrNone)
{
    MakeFolder(base_ + "\\Раздел 2\\Тема 2\\Подтема 2");
    std::string second = base_ + "\\Раздел 2\\Тема 2\\Подтема 2\\Установка 2";
    MakeFolder(second);
    HWND asked = Capture(L"текст", second.c_str());
    EXPECT_EQ(ControlTextWide(asked, IDC_CAPTURE_PLACE), L"Раздел 2 › Тема 2 › Подтема 2 › Установка 2");

    // The last used one gone, and the newest fact not looked for yet: no place.
    SlotCopy(App.LastDirective, (base_ + "\\Раздел\\Тема\\Подтема\\Нет такой").c_str());
    HWND none = Capture(L"текст");
    EXPECT_EQ(ControlTextWide(none, IDC_CAPTURE_PLACE), L"");
    EXPECT_NE(Note(none).find(L"место не выбрано"), std::wstring::npos) << Cp1251(Note(none));

    // The look for the newest fact reports to the main window, which hands
    // it to the windows still without a place.
    MakeFolder(second + "\\Новейший");
    WriteBytes(second + "\\Новейший\\Описание.txt", "о");
    const UINT found = WM_APP + 99;
    StartLookingForNewestPlace(base_.c_str(), owner_, found);
    ASSERT_TRUE(PumpUntil([&] {
        char newest[SLOT_SIZE];
        return NewestPlaceFound(newest) && newest == second;
    }));
    OfferNewestPlaceToCaptures();
    EXPECT_EQ(ControlTextWide(none, IDC_CAPTURE_PLACE), L"Раздел 2 › Тема 2 › Подтема 2 › Установка 2");
    EXPECT_EQ(Note(none).find(L"место не выбрано"), std::wstring::npos);
}

// Without a place, saving asks for one first ("МЕСТО", its four lists);
// cancelled, nothing is written and the window stays.
TEST_F(CaptureWindow, WithoutAPlaceSavingAsksForOneFirst)
{
    SlotCopy(App.LastDirective, "");
    HWND window = Capture(L"Текст без места");
    ASSERT_EQ(ControlTextWide(window, IDC_CAPTURE_PLACE), L"");
    boxes_.AnswerNext(IDCANCEL);
    ClickButton(window, IDOK);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].caption, L"МЕСТО");
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(FolderEntries(directive_), (std::vector<std::string>{ "Gold", "Без описания", "Факт" }));

    boxes_.Clear();
    boxes_.WhileNextBoxIsUp([this] {
        HWND place = boxes_.Seen().back().window;
        SelectNamed(place, IDC_CAPTURE_PLACE_SECTION_LIST, "Раздел");
        SelectNamed(place, IDC_CAPTURE_PLACE_TOPIC_LIST, "Тема");
        SelectNamed(place, IDC_CAPTURE_PLACE_SUBTOPIC_LIST, "Подтема");
        SelectNamed(place, IDC_CAPTURE_PLACE_DIRECTIVE_LIST, "Установка");
    });
    boxes_.AnswerNext(IDOK);
    ClickButton(window, IDOK);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(FileText(directive_ + "\\Текст без места\\Текст без места.txt"), "Текст без места");
}

TEST_F(CaptureWindow, ADuplicateIsNotedWithItsPathAndStillSaves)
{
    WriteBytes(directive_ + "\\Факт\\Факт.txt", "Пирамида   Хеопса\r\nстоит");
    HWND window = Capture(L"ПИРАМИДА хеопса стоит");
    ASSERT_TRUE(PumpUntil([&] { return Note(window).find(L"такой текст уже есть") != std::wstring::npos; }));
    EXPECT_NE(Note(window).find(L"Раздел › Тема › Подтема › Установка › Факт"), std::wstring::npos)
        << Cp1251(Note(window));
    ClickButton(window, IDOK);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(PathExists(directive_ + "\\ПИРАМИДА хеопса стоит\\ПИРАМИДА хеопса стоит.txt"));
}

// The browser's command and Ctrl+Shift+V place the fact in its selected
// Directive, whatever was used last; Ctrl+V alone stays the paste of a cut entry.
TEST_F(CaptureWindow, TheBrowsersCommandsCaptureIntoItsSelectedDirective)
{
    MakeFolder(base_ + "\\Раздел 2\\Тема 2\\Подтема 2");
    MakeFolder(base_ + "\\Раздел 2\\Тема 2\\Подтема 2\\Установка 2");
    SlotCopy(App.LastDirective, directive_.c_str());
    HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
    WalkBrowserTo(browser, "Раздел 2\\Тема 2\\Подтема 2\\Установка 2");
    EXPECT_EQ(std::string(App.LastDirective), base_ + "\\Раздел 2\\Тема 2\\Подтема 2\\Установка 2")
        << "the browser's selection counts as used";
    SlotCopy(App.LastDirective, directive_.c_str());

    PutOnClipboard(owner_, L"Из обозревателя");
    SendMessageW(browser, WM_COMMAND, IDM_CAPTURE_FROM_CLIPBOARD, 0);
    std::vector<HWND> opened = OpenWindowsTitled(L"БЫСТРЫЙ ФАКТ");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(ControlTextWide(opened[0], IDC_CAPTURE_PLACE), L"Раздел 2 › Тема 2 › Подтема 2 › Установка 2");
    EXPECT_EQ(ControlTextWide(opened[0], IDC_CAPTURE_TEXT), L"Из обозревателя");
    DestroyWindow(opened[0]);

    HWND facts = GetDlgItem(browser, IDC_BROWSER_FACT_LIST);
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE shift = keys[VK_SHIFT];
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    LRESULT taken = SendMessageW(browser, WM_FACTS_DIALOG_KEY, MAKEWPARAM('V', 1), (LPARAM)facts);
    keys[VK_SHIFT] = shift;
    SetKeyboardState(keys);
    EXPECT_TRUE(taken);
    opened = OpenWindowsTitled(L"БЫСТРЫЙ ФАКТ");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(ControlTextWide(opened[0], IDC_CAPTURE_PLACE), L"Раздел 2 › Тема 2 › Подтема 2 › Установка 2");
    DestroyWindow(opened[0]);

    boxes_.Clear();
    SendMessageW(browser, WM_FACTS_DIALOG_KEY, MAKEWPARAM('V', 1), (LPARAM)facts);
    EXPECT_TRUE(OpenWindowsTitled(L"БЫСТРЫЙ ФАКТ").empty());
    ASSERT_EQ(boxes_.Seen().size(), 1u) << "Ctrl+V without Shift still pastes";
    EXPECT_EQ(boxes_.Seen()[0].text, L"Сначала вырежьте папку в списке (Ctrl+X) :)");
}

// Text dragged from another program: onto the fact list it opens a window
// for that list's Directive; onto an untouched window it takes the place of
// the text, onto a typed one it goes in at the caret. The drop's data
// object here is the clipboard's, as OLE hands it over.
TEST_F(CaptureWindow, TextDroppedOnTheFactListOrOnTheWindow)
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(NULL)));
    HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
    WalkBrowserTo(browser, "Раздел\\Тема\\Подтема\\Установка");
    SlotCopy(App.LastDirective, "");
    PutOnClipboard(owner_, L"Перетащенный текст");
    IDataObject* data = NULL;
    ASSERT_EQ(OleGetClipboard(&data), S_OK);
    EXPECT_TRUE(DeliverTextDrop(GetDlgItem(browser, IDC_BROWSER_FACT_LIST), data));
    std::vector<HWND> opened = OpenWindowsTitled(L"БЫСТРЫЙ ФАКТ");
    ASSERT_EQ(opened.size(), 1u);
    HWND window = opened[0];
    EXPECT_EQ(ControlTextWide(window, IDC_CAPTURE_PLACE), L"Раздел › Тема › Подтема › Установка");
    EXPECT_EQ(ControlTextWide(window, IDC_CAPTURE_TEXT), L"Перетащенный текст");
    EXPECT_EQ(Note(window), L"Текст, перетащенный мышью");
    data->Release();

    DestroyWindow(window);

    // A window without text is filled, name and all; one holding text,
    // captured or typed, gets the drop at the caret.
    PutOnClipboard(owner_, L"");
    window = CaptureClipboard(owner_, NULL, directive_.c_str());
    PutOnClipboard(owner_, L"Второй текст");
    ASSERT_EQ(OleGetClipboard(&data), S_OK);
    EXPECT_TRUE(DeliverTextDrop(window, data));
    EXPECT_EQ(ControlTextWide(window, IDC_CAPTURE_TEXT), L"Второй текст");
    EXPECT_EQ(ControlTextWide(window, IDC_CAPTURE_NAME), L"Второй текст");
    SendDlgItemMessageW(window, IDC_CAPTURE_TEXT, EM_SETSEL, 0, 0);
    PutOnClipboard(owner_, L"Третий, ");
    data->Release();
    ASSERT_EQ(OleGetClipboard(&data), S_OK);
    EXPECT_TRUE(DeliverTextDrop(window, data));
    EXPECT_EQ(ControlTextWide(window, IDC_CAPTURE_TEXT), L"Третий, Второй текст") << "the text held is never replaced";
    data->Release();
    DestroyWindow(window);
    DestroyWindow(browser);
    OleUninitialize();
}

// ---------------------------------------------------------------- the clipboard

TEST_F(CaptureWindow, TheSelectionIsCopiedAndTheClipboardGivenBack)
{
    HWND source = CreateWindowExW(0, L"Edit", L"Источник: выделенный текст", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20,
                                  owner_, NULL, NULL, NULL);
    SetFocus(source);
    PutOnClipboard(owner_, L"прежнее содержимое", HtmlWithSource("https://old.example.org/"));

    SendMessageW(source, EM_SETSEL, 10, -1);
    GrabbedSelection grabbed = GrabSelection(owner_, owner_);
    EXPECT_TRUE(grabbed.fresh);
    EXPECT_EQ(grabbed.taken.text, L"выделенный текст");
    ClipboardText after = ReadClipboardText(owner_);
    EXPECT_EQ(after.text, L"прежнее содержимое") << "capturing never eats what was copied";
    EXPECT_NE(after.html.find("SourceURL:https://old.example.org/"), std::string::npos);

    // Nothing selected: nothing new arrives, and the clipboard's own text is taken.
    SendMessageW(source, EM_SETSEL, 0, 0);
    grabbed = GrabSelection(owner_, owner_);
    EXPECT_FALSE(grabbed.fresh);
    EXPECT_EQ(grabbed.taken.text, L"прежнее содержимое");
    EXPECT_EQ(ReadClipboardText(owner_).text, L"прежнее содержимое");
}

TEST_F(CaptureWindow, ControlsHaveTheirFixedIdsAndCaptions)
{
    HWND window = Capture(L"Текст");
    struct Control {
        int id;
        const wchar_t* className;
        const wchar_t* text;  // NULL: filled by the window
    };
    const Control controls[] = {
        { IDC_CAPTURE_PLACE, L"Edit", NULL },      { IDC_CAPTURE_CHOOSE_PLACE, L"Button", L"МЕСТО…" },
        { IDC_CAPTURE_NAME, L"Edit", NULL },       { IDC_CAPTURE_DESCRIPTION, L"Edit", NULL },
        { IDC_CAPTURE_TEXT, L"Edit", NULL },       { IDC_CAPTURE_NOTE, L"Static", NULL },
        { IDOK, L"Button", L"СОХРАНИТЬ" },         { IDCANCEL, L"Button", L"ОТМЕНА" },
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(window, c.id);
        ASSERT_TRUE(control != NULL);
        wchar_t className[32];
        GetClassNameW(control, className, 32);
        EXPECT_EQ(lstrcmpiW(className, c.className), 0);
        if (c.text) {
            EXPECT_EQ(WindowTextWide(control), c.text);
        }
    }
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(window, IDC_CAPTURE_PLACE), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(window, IDC_CAPTURE_TEXT), GWL_STYLE) & ES_MULTILINE);
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(window, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "found in the taskbar behind another program";
}

// ---------------------------------------------------------------- saving

TEST_F(CaptureWindow, SavedAsTheWizardWritesAndAnnounced)
{
    std::vector<std::string> heard;
    BaseChangeListener record = [](const BaseChange& change, void* context) {
        if (change.kind == BASE_FACT_CHANGED)
            ((std::vector<std::string>*)context)->push_back(change.folder);
    };
    ASSERT_TRUE(ListenToBaseChanges(record, &heard));
    HWND window = Capture(L"Мост через реку\nдлиной в милю", directive_.c_str());
    TypeTextWide(window, IDC_CAPTURE_DESCRIPTION, L"Из книги");
    ClickButton(window, IDOK);
    StopListeningToBaseChanges(record, &heard);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(boxes_.Seen().empty());
    std::string fact = directive_ + "\\Мост через реку";
    EXPECT_EQ(FileText(fact + "\\Описание.txt"), "Из книги");
    EXPECT_EQ(FileText(fact + "\\Мост через реку.txt"), "Мост через реку\r\nдлиной в милю");
    EXPECT_EQ(heard, std::vector<std::string>{ fact });
    EXPECT_EQ(std::string(App.LastDirective), directive_);
}

TEST_F(CaptureWindow, CharactersOutside1251AreKeptOrReplacedAsTheUserChooses)
{
    struct Case {
        int answer;
        const char* file;  // NULL: nothing written, the window stays
        const char* bytes;
    };
    const Case cases[] = {
        { IDCANCEL, NULL, NULL },
        { IDYES, "Кафе", "\xEF\xBB\xBF" "\xD0\x9A\xD0\xB0\xD1\x84\xD0\xB5 caf\xC3\xA9 \xE2\x86\x92 \xD1\x83\xD0\xBB\xD0\xB8\xD1\x86\xD0\xB0" },
        { IDNO, "Кафе", "Кафе cafe -> улица" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const std::wstring text = L"Кафе café → улица";
        HWND window = Capture(text, directive_.c_str());
        EXPECT_NE(Note(window).find(L"вне Windows-1251"), std::wstring::npos);
        TypeText(window, IDC_CAPTURE_NAME, "Кафе");
        boxes_.Clear();
        boxes_.AnswerNext(c.answer);
        ClickButton(window, IDOK);
        ASSERT_EQ(boxes_.Seen().size(), 1u);
        const std::wstring& question = boxes_.Seen()[0].text;
        // Outside the assertions: their own text is Windows-1251.
        const std::wstring accent = L"«é» будет заменён на «e»", arrow = L"«→» будет заменён на «->»";
        EXPECT_NE(question.find(accent), std::wstring::npos);
        EXPECT_NE(question.find(arrow), std::wstring::npos);
        EXPECT_EQ(boxes_.Seen()[0].buttons, (std::vector<int>{ IDYES, IDNO, IDCANCEL }));
        std::string fact = directive_ + "\\Кафе";
        if (!c.file) {
            EXPECT_TRUE(IsWindow(window));
            EXPECT_FALSE(PathExists(fact));
            EXPECT_TRUE(ControlTextWide(window, IDC_CAPTURE_TEXT) == text) << "the text is held whole";
            DestroyWindow(window);
            continue;
        }
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(FileText(fact + "\\Кафе.txt"), c.bytes);
        RemoveTree(fact);
    }
}

// A text in another alphabet lists a dozen characters and says how many
// more there are: the question keeps its buttons on the screen.
TEST_F(CaptureWindow, TheQuestionListsADozenCharactersAtMost)
{
    HWND window = Capture(L"αβγδεζηθικλμνξοπρστυ", directive_.c_str());
    boxes_.AnswerNext(IDCANCEL);
    ClickButton(window, IDOK);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    const std::wstring& question = boxes_.Seen()[0].text;
    size_t lines = 0;
    for (size_t at = question.find(L"будет заменён"); at != std::wstring::npos; at = question.find(L"будет заменён", at + 1))
        lines++;
    EXPECT_EQ(lines, 12u);
    EXPECT_NE(question.find(L"…и ещё таких знаков: 8"), std::wstring::npos) << Cp1251(question);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(CaptureWindow, ARefusedNameOrAGonePlaceKeepsEverythingTyped)
{
    HWND window = Capture(L"Текст, который нельзя потерять", directive_.c_str());
    TypeAsUser(window, IDC_CAPTURE_NAME, "Факт");
    ClickButton(window, IDOK);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Факт с таким именем в этой установке уже есть - введите другое имя :)", L"Ошибка",
              window);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(FileText(directive_ + "\\Факт\\Факт.txt"), "Основной текст") << "the other fact is untouched";

    TypeAsUser(window, IDC_CAPTURE_NAME, "Новое имя");
    std::string moved = base_ + "\\Раздел\\Тема\\Подтема\\Унесённая";
    ASSERT_TRUE(MoveFileW(Wide(directive_).c_str(), Wide(moved).c_str()));  // elsewhere, unannounced
    boxes_.Clear();
    ClickButton(window, IDOK);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_NE(boxes_.Seen()[0].text.find(L"Этой установки больше нет"), std::wstring::npos);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(ControlTextWide(window, IDC_CAPTURE_TEXT), L"Текст, который нельзя потерять");
    EXPECT_EQ(ControlText(window, IDC_CAPTURE_NAME), "Новое имя");
    EXPECT_FALSE(PathExists(directive_));
    EXPECT_FALSE(PathExists(moved + "\\Новое имя"));
}

TEST_F(CaptureWindow, TheProgramsOwnMoveOfThePlaceIsFollowed)
{
    HWND window = Capture(L"Текст", directive_.c_str());
    MakeFolder(base_ + "\\Раздел 2\\Тема 2\\Подтема");
    std::string moved = base_ + "\\Раздел 2\\Тема 2\\Подтема\\Установка";
    // As the program moves: the look for a duplicate, still walking, lets go first.
    AnnounceChangeComing(directive_.c_str(), moved.c_str());
    bool movedNow = MoveFileW(Wide(directive_).c_str(), Wide(moved).c_str());
    AnnounceChangeOver(directive_.c_str(), moved.c_str());
    ASSERT_TRUE(movedNow);
    AnnounceFolderMoved(directive_.c_str(), moved.c_str());
    EXPECT_EQ(ControlTextWide(window, IDC_CAPTURE_PLACE), L"Раздел 2 › Тема 2 › Подтема › Установка");
    ClickButton(window, IDOK);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(PathExists(moved + "\\Текст\\Текст.txt"));
}

TEST_F(CaptureWindow, TwoWindowsKeepTheirOwnTexts)
{
    HWND first = Capture(L"Первый текст", directive_.c_str());
    HWND second = Capture(L"Второй текст", directive_.c_str());
    ASSERT_NE(first, second);
    EXPECT_EQ(ControlTextWide(first, IDC_CAPTURE_TEXT), L"Первый текст");
    ClickButton(second, IDOK);
    EXPECT_TRUE(IsWindow(first));
    EXPECT_EQ(ControlTextWide(first, IDC_CAPTURE_TEXT), L"Первый текст");
    ClickButton(first, IDOK);
    EXPECT_TRUE(PathExists(directive_ + "\\Первый текст\\Первый текст.txt"));
    EXPECT_TRUE(PathExists(directive_ + "\\Второй текст\\Второй текст.txt"));
}

// ---------------------------------------------------------------- nothing lost

TEST_F(CaptureWindow, EscClosesAnUntouchedWindowAndAsksOnceTyped)
{
    HWND untouched = Capture(L"Текст");
    PressEscape(untouched, IDC_CAPTURE_NAME);
    EXPECT_FALSE(IsWindow(untouched));
    EXPECT_TRUE(boxes_.Seen().empty());

    HWND typed = Capture(L"Текст");
    TypeAsUser(typed, IDC_CAPTURE_DESCRIPTION, "своё описание");
    boxes_.AnswerNext(IDCANCEL);
    PressEscape(typed, IDC_CAPTURE_DESCRIPTION);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Введённый текст не сохранён и будет потерян. Продолжить?", L"Внимание", typed,
              { IDOK, IDCANCEL });
    EXPECT_TRUE(IsWindow(typed));
    boxes_.AnswerNext(IDOK);
    ClickButton(typed, IDCANCEL);
    EXPECT_FALSE(IsWindow(typed));
    EXPECT_EQ(FolderEntries(directive_), (std::vector<std::string>{ "Gold", "Без описания", "Факт" }));
}

TEST_F(CaptureWindow, TheEndOfTheProgramAsksForAnyTextTheWindowHolds)
{
    HWND window = Capture(L"Текст только здесь");
    boxes_.AnswerNext(IDCANCEL);
    EXPECT_FALSE(DialogsMayClose(owner_));
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Введённый текст не сохранён и будет потерян. Продолжить?");
    EXPECT_TRUE(IsWindow(window));

    SetDlgItemTextW(window, IDC_CAPTURE_TEXT, L"");
    boxes_.Clear();
    EXPECT_TRUE(DialogsMayClose(owner_));
    EXPECT_TRUE(boxes_.Seen().empty()) << "an empty, untouched window asks nothing";
}

// Ctrl+Enter saves from the window's own text, and not from another
// window of the program; the keyboard then goes back to the dialog it
// served before, the browser the capture was opened over.
TEST_F(CaptureWindow, CtrlEnterSavesFromTheTextAndTheKeyboardGoesBack)
{
    HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
    ASSERT_EQ(App.ActiveDialog, browser);
    HWND window = Capture(L"Сохранён с клавиатуры", directive_.c_str());
    EXPECT_EQ(App.ActiveDialog, window);
    SendMessageW(window, WM_FACTS_DIALOG_KEY, MAKEWPARAM(VK_RETURN, 1),
                 (LPARAM)GetDlgItem(browser, IDC_BROWSER_TEXT_VIEW));
    EXPECT_TRUE(IsWindow(window)) << "a key meant for the browser";
    SendMessageW(window, WM_FACTS_DIALOG_KEY, MAKEWPARAM(VK_RETURN, 1), (LPARAM)GetDlgItem(window, IDC_CAPTURE_TEXT));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(PathExists(directive_ + "\\Сохранён с клавиатуры"));
    EXPECT_EQ(App.ActiveDialog, browser) << "Tab, Ctrl+X and Ctrl+V reach the browser again";
}

// ---------------------------------------------------------------- the key

TEST_F(CaptureWindow, AKeyTakenByAnotherIsSaidInTheMenuAndTheWindow)
{
    HWND holder = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(RegisterCaptureKey(holder));
    HMENU menu = LoadMenuW(App.AppInstance, MAKEINTRESOURCEW(IDR_MAIN_MENU));
    HWND main = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, menu, NULL, NULL);
    bool taken = !RegisterCaptureKey(main);
    UnregisterCaptureKey(holder);
    DestroyWindow(holder);
    EXPECT_TRUE(taken) << "a key held elsewhere cannot be registered twice";
    ShowCaptureKeyInMenu(main, taken);
    wchar_t text[64] = {};
    GetMenuStringW(GetMenu(main), IDM_QUICK_CAPTURE, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"&БЫСТРЫЙ ФАКТ (Ctrl+Alt+F занято)");
    DestroyWindow(main);

    HWND window = Capture(L"Текст");
    NoteCaptureKeyTaken(true);
    EXPECT_NE(Note(window).find(L"Ctrl+Alt+F занято другой программой"), std::wstring::npos) << Cp1251(Note(window));
}

}  // namespace
