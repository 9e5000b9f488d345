// Nothing typed or stored is lost: the browser's question before its text
// goes, the check for changes made elsewhere, the wizard's questions and the
// program's end.
#include "../browser/fact_base_dialog.h"
#include "../wizard/fact_placement_dialog.h"
#include "../shell/main_window.h"
#include "../resources/resource.h"
#include "../ui/app_state.h"
#include "../resources/ui_strings.h"
#include "../ui/platform_ui.h"
#include "../ui/unsaved_text.h"
#include "support/dialog_driver.h"
#include "support/dialog_fixture.h"
#include "support/test_files.h"

#include <functional>

namespace {

const wchar_t UNSAVED[] = L"Текст факта изменён и не записан. Записать изменения?";
const wchar_t CHANGED[] =
    L"Файл факта изменили в другом окне или другой программой, пока он был открыт здесь. Заменить его вашим текстом?";
const wchar_t GONE[] = L"Файл факта удалили или переместили, пока он был открыт здесь. Записать его заново?";
const wchar_t WILL_BE_LOST[] = L"Введённый текст не сохранён и будет потерян. Продолжить?";
const std::string ORIGINAL = "Основной текст";

class Unsaved : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        BuildFactBase();
    }
    std::string MainText() const
    {
        return DirectivePath() + "\\Факт\\Факт.txt";
    }
    // A browser with the main text of "Факт" on show, edited by the user.
    HWND EditedBrowser(const std::string& typed = "typed")
    {
        HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
        SelectNamed(browser, IDC_BROWSER_SECTION_LIST, "Раздел");
        SelectNamed(browser, IDC_BROWSER_TOPIC_LIST, "Тема");
        SelectNamed(browser, IDC_BROWSER_SUBTOPIC_LIST, "Подтема");
        SelectNamed(browser, IDC_BROWSER_DIRECTIVE_LIST, "Установка");
        SelectNamed(browser, IDC_BROWSER_FACT_LIST, "Факт");
        DoubleClickEntry(browser, IDC_BROWSER_FACT_LIST, SelectedIndex(browser, IDC_BROWSER_FACT_LIST));
        EXPECT_EQ(ControlText(browser, IDC_BROWSER_TEXT_VIEW), ORIGINAL);
        if (!typed.empty())
            TypeAsUser(browser, IDC_BROWSER_TEXT_VIEW, typed);
        return browser;
    }
    std::vector<int> Selections(HWND browser)
    {
        std::vector<int> selected;
        for (int list : { IDC_BROWSER_SECTION_LIST, IDC_BROWSER_TOPIC_LIST, IDC_BROWSER_SUBTOPIC_LIST,
                          IDC_BROWSER_DIRECTIVE_LIST, IDC_BROWSER_FACT_LIST })
            selected.push_back(SelectedIndex(browser, list));
        return selected;
    }
};

struct Trigger {
    const char* name;
    std::function<void(HWND)> act;
    bool closes;  // the road ends the browser when it goes on
};

const Trigger TRIGGERS[] = {
    { "another Section", [](HWND b) { SelectNamed(b, IDC_BROWSER_SECTION_LIST, "Раздел 2"); }, false },
    { "another Directive list entry", [](HWND b) { SelectNamed(b, IDC_BROWSER_DIRECTIVE_LIST, ".."); }, false },
    { "a click on another fact", [](HWND b) { SelectNamed(b, IDC_BROWSER_FACT_LIST, "Gold"); }, false },
    { "a double click on the fact", [](HWND b) { DoubleClickEntry(b, IDC_BROWSER_FACT_LIST, 3); }, false },
    { "ВЫХОД", [](HWND b) { ClickButton(b, IDCANCEL); }, true },
    { "Esc", [](HWND b) { PressEscape(b, IDC_BROWSER_SECTION_LIST); }, true },
    { "the close box", [](HWND b) { CloseByCaptionBox(b); }, true },
    { "СОЗДАТЬ", [](HWND b) { ClickButton(b, IDC_BROWSER_CREATE); }, true },
    { "popup Записать факт", [](HWND b) { SendMessageW(b, WM_COMMAND, IDM_CREATE_FACT, 0); }, true },
};

TEST_F(Unsaved, EveryRoadAwayFromAnEditedTextAsksAndObeysTheAnswer)
{
    for (const Trigger& trigger : TRIGGERS) {
        for (int answer : { IDYES, IDNO, IDCANCEL }) {
            SCOPED_TRACE(std::string(trigger.name) + " answered " + std::to_string(answer));
            WriteBytes(MainText(), ORIGINAL);
            HWND browser = EditedBrowser();
            std::vector<int> before = Selections(browser);
            boxes_.Clear();
            boxes_.AnswerNext(answer);
            trigger.act(browser);

            ASSERT_GE(boxes_.Seen().size(), 1u);
            ExpectBox(boxes_.Seen()[0], UNSAVED, L"Внимание", browser, { IDYES, IDNO, IDCANCEL });
            EXPECT_EQ(boxes_.Seen().size(), 1u) << "no second confirmation";
            EXPECT_EQ(FileText(MainText()), answer == IDYES ? "typed" : ORIGINAL);
            if (answer == IDCANCEL) {
                ASSERT_TRUE(IsWindow(browser));
                EXPECT_EQ(ControlText(browser, IDC_BROWSER_TEXT_VIEW), "typed");
                EXPECT_EQ(Selections(browser), before);
                EXPECT_EQ(CurrentDirectory(), base_);
            } else {
                EXPECT_EQ(IsWindow(browser) != FALSE, !trigger.closes);
                if (IsWindow(browser) && answer == IDNO) {
                    EXPECT_NE(ControlText(browser, IDC_BROWSER_TEXT_VIEW), "typed");
                }
            }
            DestroyWindow(browser);
        }
    }
}

TEST_F(Unsaved, NoQuestionWhereNothingWasTypedOrTheTextWasWritten)
{
    HWND untouched = EditedBrowser("");
    SelectNamed(untouched, IDC_BROWSER_FACT_LIST, "Gold");
    HWND written = EditedBrowser("written");
    ClickButton(written, IDC_BROWSER_CHANGE_FACT);  // "Точно ИЗМЕНИТЬ?" answered OK
    ClickButton(written, IDCANCEL);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Точно ИЗМЕНИТЬ?");
    EXPECT_FALSE(IsWindow(written));
    EXPECT_EQ(FileText(MainText()), "written");
}

TEST_F(Unsaved, AYesWhoseWriteFailsStaysWithTheText)
{
    HWND browser = EditedBrowser();
    SetReadOnly(MainText(), true);
    ClickButton(browser, IDCANCEL);
    SetReadOnly(MainText(), false);
    ASSERT_EQ(boxes_.Seen().size(), 2u);
    ExpectBox(boxes_.Seen()[1], L"Ошибка создания файла :)", L"Файл", NULL);
    ASSERT_TRUE(IsWindow(browser));
    EXPECT_EQ(ControlText(browser, IDC_BROWSER_TEXT_VIEW), "typed");
    EXPECT_EQ(FileText(MainText()), ORIGINAL);
}

struct OutsideChange {
    const char* name;
    std::function<void(Unsaved*, const std::string& path)> change;
    const wchar_t* question;
    const char* leftByNo;  // the file after No
};

const OutsideChange OUTSIDE_CHANGES[] = {
    { "a second browser wrote it", [](Unsaved*, const std::string&) {}, CHANGED, "second" },
    { "another program wrote it", [](Unsaved*, const std::string& path) { WriteBytes(path, "outside"); }, CHANGED,
      "outside" },
    { "same size, same write time",
      [](Unsaved*, const std::string& path) {
          HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
          FILETIME written;
          GetFileTime(file, NULL, NULL, &written);
          CloseHandle(file);
          WriteBytes(path, "Основной текcт");  // a Latin c: the same length
          file = CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
          SetFileTime(file, NULL, NULL, &written);
          CloseHandle(file);
      },
      CHANGED, "Основной текcт" },
    { "removed", [](Unsaved*, const std::string& path) { DeleteFileW(Wide(path).c_str()); }, GONE, "<missing>" },
};

TEST_F(Unsaved, AFileChangedSinceItWasShownIsReplacedOnlyOnYes)
{
    for (const OutsideChange& outside : OUTSIDE_CHANGES) {
        for (int answer : { IDYES, IDNO }) {
            SCOPED_TRACE(std::string(outside.name) + (answer == IDYES ? ", Yes" : ", No"));
            WriteBytes(MainText(), ORIGINAL);
            HWND browser = EditedBrowser();
            if (outside.question == CHANGED && std::string(outside.leftByNo) == "second") {
                HWND second = EditedBrowser("second");
                ClickButton(second, IDC_BROWSER_CHANGE_FACT);
                DestroyWindow(second);
            }
            outside.change(this, MainText());
            boxes_.Clear();
            boxes_.AnswerNext(IDOK);
            boxes_.AnswerNext(answer);
            ClickButton(browser, IDC_BROWSER_CHANGE_FACT);
            ASSERT_EQ(boxes_.Seen().size(), 2u);
            ExpectBox(boxes_.Seen()[1], outside.question, L"Внимание", browser, { IDYES, IDNO });
            EXPECT_EQ(FileText(MainText()), answer == IDYES ? "typed" : outside.leftByNo);
            EXPECT_EQ(ControlText(browser, IDC_BROWSER_TEXT_VIEW), "typed");
            std::vector<std::string> left = FolderEntries(DirectivePath() + "\\Факт");
            EXPECT_EQ(left.size(), answer == IDNO && outside.question == GONE ? 1u : 2u) << "no temporary file";

            // Once written, the browser's file is the one it wrote: no question.
            boxes_.Clear();
            TypeAsUser(browser, IDC_BROWSER_TEXT_VIEW, "again");
            ClickButton(browser, IDC_BROWSER_CHANGE_FACT);
            if (answer == IDYES) {
                EXPECT_EQ(boxes_.Seen().size(), 1u);
                EXPECT_EQ(FileText(MainText()), "again");
            }
            DestroyWindow(browser);
        }
    }
}

class WizardStep : public Unsaved {
protected:
    HWND ToDescription()
    {
        HWND placement = Open(IDD_FACT_PLACEMENT, FactPlacementDialog);
        SelectNamed(placement, IDC_PLACE_SECTION_LIST, "Раздел");
        SelectNamed(placement, IDC_PLACE_TOPIC_LIST, "Тема");
        SelectNamed(placement, IDC_PLACE_SUBTOPIC_LIST, "Подтема");
        SelectNamed(placement, IDC_PLACE_DIRECTIVE_LIST, "Установка");
        ClickButton(placement, IDOK);
        return App.ActiveDialog;
    }
    HWND ToText()
    {
        HWND description = ToDescription();
        TypeText(description, IDC_DESCRIPTION_NAME, "Новый");
        ClickButton(description, IDOK);
        return App.ActiveDialog;
    }
};

TEST_F(WizardStep, TypedTextIsDroppedOnlyAfterOK)
{
    struct Case {
        const char* name;
        bool textStep;
        int edit;
        std::function<void(HWND)> close;
    };
    const Case cases[] = {
        { "text step, its cancel button", true, IDC_TEXT_MAIN_TEXT,
          [](HWND d) {
              ClickButton(d, IDCANCEL);
          } },
        { "text step, Esc", true, IDC_TEXT_MAIN_TEXT,
          [](HWND d) {
              PressEscape(d, IDC_TEXT_OPEN_FOLDER);
          } },
        { "text step, close box", true, IDC_TEXT_MAIN_TEXT,
          [](HWND d) {
              CloseByCaptionBox(d);
          } },
        { "description, ОТМЕНА, its text", false, IDC_DESCRIPTION_TEXT,
          [](HWND d) {
              ClickButton(d, IDCANCEL);
          } },
        { "description, Esc, its name", false, IDC_DESCRIPTION_NAME,
          [](HWND d) {
              PressEscape(d, IDOK);
          } },
        { "description, close box", false, IDC_DESCRIPTION_TEXT,
          [](HWND d) {
              CloseByCaptionBox(d);
          } },
    };
    std::string fact = DirectivePath() + "\\Новый";
    for (const Case& c : cases) {
        for (int answer : { IDCANCEL, IDOK }) {
            SCOPED_TRACE(std::string(c.name) + (answer == IDOK ? ", OK" : ", Cancel"));
            HWND step = c.textStep ? ToText() : ToDescription();
            TypeAsUser(step, c.edit, "что-то");
            boxes_.Clear();
            boxes_.AnswerNext(answer);
            c.close(step);
            ASSERT_EQ(boxes_.Seen().size(), 1u);
            ExpectBox(boxes_.Seen()[0], WILL_BE_LOST, L"Внимание", step, { IDOK, IDCANCEL });
            EXPECT_EQ(IsWindow(step) != FALSE, answer == IDCANCEL);
            if (answer == IDCANCEL) {
                EXPECT_EQ(ControlText(step, c.edit), "что-то");
            }
            EXPECT_EQ(PathExists(fact), c.textStep && answer == IDCANCEL) << "the fact goes only with the text";
            DestroyWindow(step);
            RemoveTree(fact);
        }
    }
    // Untouched steps close at once, as before.
    boxes_.Clear();
    HWND description = ToDescription();
    ClickButton(description, IDCANCEL);
    HWND text = ToText();
    ClickButton(text, IDCANCEL);
    EXPECT_TRUE(boxes_.Seen().empty());
    EXPECT_FALSE(IsWindow(description) || IsWindow(text));
    EXPECT_FALSE(PathExists(fact));
}

TEST_F(WizardStep, TheEndAsksEveryDialogInTurnAndStopsAtTheFirstCancel)
{
    // Asked from the top down: the browser, opened last, first.
    HWND text = ToText();
    TypeAsUser(text, IDC_TEXT_MAIN_TEXT, "главное");
    HWND browser = EditedBrowser();
    boxes_.Clear();
    boxes_.AnswerNext(IDYES);     // the browser writes its text
    boxes_.AnswerNext(IDCANCEL);  // the text step wants to stay
    EXPECT_FALSE(DialogsMayClose(owner_));
    ASSERT_EQ(boxes_.Seen().size(), 2u);
    EXPECT_EQ(boxes_.Seen()[0].text, UNSAVED);
    EXPECT_EQ(boxes_.Seen()[1].text, WILL_BE_LOST);
    EXPECT_EQ(FileText(MainText()), "typed");
    EXPECT_TRUE(IsWindow(browser) && IsWindow(text));

    boxes_.Clear();
    EXPECT_TRUE(DialogsMayClose(owner_)) << "the browser's text is written: only the text step asks";
    EXPECT_EQ(boxes_.Seen().size(), 1u);
}

TEST_F(Unsaved, EveryRoadOutOfTheProgramAsksFirst)
{
    struct Road {
        const char* name;
        std::function<LRESULT(HWND)> take;
        bool answers;
    };
    const Road roads[] = {
        { "F4 / ВЫХОД", [](HWND w) { return SendMessageW(w, WM_COMMAND, IDM_EXIT, 0); }, false },
        { "the close box", [](HWND w) { return SendMessageW(w, WM_CLOSE, 0, 0); }, false },
        // The system asks whether the session may end; the answer is the result.
        { "the session's end", [](HWND w) { return SendMessageW(w, WM_QUERYENDSESSION, 0, 0); }, true },
    };
    HWND standIn = owner_;
    WNDCLASSW info;
    if (!GetClassInfoW(GetModuleHandleW(NULL), Wide(Text::MainTitle).c_str(), &info)) {
        ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(NULL)));
    }
    for (const Road& road : roads) {
        for (int answer : { IDCANCEL, IDNO }) {
            SCOPED_TRACE(std::string(road.name) + (answer == IDNO ? ", No" : ", Cancel"));
            HWND main = CreateMainWindow(GetModuleHandleW(NULL));
            owner_ = App.OwnerWindow = main;
            HWND browser = EditedBrowser();
            boxes_.Clear();
            boxes_.AnswerNext(answer);
            LRESULT result = road.take(main);
            ASSERT_EQ(boxes_.Seen().size(), 1u);
            EXPECT_EQ(boxes_.Seen()[0].text, UNSAVED);
            MSG quit;
            bool ended = road.answers ? result == TRUE
                                      : PeekMessageW(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE) || !IsWindow(main);
            EXPECT_EQ(ended, answer == IDNO);
            EXPECT_EQ(FileText(MainText()), ORIGINAL);
            if (IsWindow(main))
                DestroyWindow(main);
            EXPECT_FALSE(IsWindow(browser)) << "owned by the main window";
            PumpMessages();
            while (PeekMessageW(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            }
        }
    }
    owner_ = App.OwnerWindow = standIn;
}

}  // namespace
