// The fact capture wizard, walked as a user walks it, and the whole road of a
// new fact into the browser.
#include "../browser/fact_base_dialog.h"
#include "../wizard/fact_placement_dialog.h"
#include "../wizard/fact_description_dialog.h"
#include "../wizard/fact_text_dialog.h"
#include "../resources/resource.h"
#include "../ui/app_state.h"
#include "../store/fact_store.h"
#include "../store/path_slot.h"
#include "../ui/platform_ui.h"
#include "support/dialog_driver.h"
#include "support/dialog_fixture.h"
#include "support/test_files.h"

namespace {

const int SECTIONS = IDC_PLACE_SECTION_LIST;
const int TOPICS = IDC_PLACE_TOPIC_LIST;
const int SUBTOPICS = IDC_PLACE_SUBTOPIC_LIST;
const int DIRECTIVES = IDC_PLACE_DIRECTIVE_LIST;

const wchar_t PLACEMENT_TITLE[] = L"Создание Факта - выбор папки";
const wchar_t DESCRIPTION_TITLE[] = L"Создание факта - Описание";
const wchar_t TEXT_TITLE[] = L"Создание факта - Основная информация";

class Wizard : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        BuildFactBase();
        MakeFolder(base_ + "\\Раздел\\Тема\\Подтема\\Установка Б");
    }
    // Files outside the test's own folder (the unset "C:\\" is a real place)
    // go whatever way the test ends.
    void TearDown() override
    {
        for (const std::string& path : outside_)
            DeleteFileW(Wide(path).c_str());
        DialogTest::TearDown();
    }
    void WriteOutside(const std::string& path, const std::string& bytes)
    {
        outside_.push_back(path);
        WriteBytes(path, bytes);
    }
    std::vector<std::string> outside_;
    HWND OpenPlacement()
    {
        return Open(IDD_FACT_PLACEMENT, FactPlacementDialog);
    }
    void SelectPath(HWND placement, const std::string& directive = "Установка")
    {
        SelectNamed(placement, SECTIONS, "Раздел");
        SelectNamed(placement, TOPICS, "Тема");
        SelectNamed(placement, SUBTOPICS, "Подтема");
        SelectNamed(placement, DIRECTIVES, directive);
    }
    // The first step done: the description step that follows it.
    HWND ToDescription(const std::string& directive = "Установка")
    {
        HWND placement = OpenPlacement();
        SelectPath(placement, directive);
        ClickButton(placement, IDOK);
        EXPECT_FALSE(IsWindow(placement));
        return App.ActiveDialog;
    }
    // Name and description typed, "ДАЛЬШЕ" pressed: the dialog that is active then.
    HWND Next(HWND description, const std::string& name, const std::string& text)
    {
        TypeText(description, IDC_DESCRIPTION_NAME, name);
        TypeText(description, IDC_DESCRIPTION_TEXT, text);
        ClickButton(description, IDOK);
        return App.ActiveDialog;
    }
    std::string Directive(const std::string& name = "Установка") const
    {
        return base_ + "\\Раздел\\Тема\\Подтема\\" + name;
    }
};

TEST_F(Wizard, PlacementOpensWithTheSectionsOnly)
{
    HWND placement = OpenPlacement();
    EXPECT_EQ(ListEntries(placement, SECTIONS), (std::vector<std::string>{ "..", "Раздел 2", "Раздел" }));
    for (int list : { TOPICS, SUBTOPICS, DIRECTIVES })
        EXPECT_TRUE(ListEntries(placement, list).empty());
    EXPECT_EQ(ControlText(placement, IDC_PLACE_DIRECTIVE_PATH), "");
    EXPECT_EQ(std::string(App.CaptureRoot), base_);
    EXPECT_STREQ(App.DirectivePath, "C:\\");
}

TEST_F(Wizard, ChooseNamesTheHighestLevelWithoutASelection)
{
    const wchar_t* messages[] = { L"Сначала выберете раздел :)", L"Сначала выберете тему :)",
                                  L"Сначала выберете подтему :)", L"Сначала выберете установку :)" };
    const int lists[] = { SECTIONS, TOPICS, SUBTOPICS };
    const char* names[] = { "Раздел", "Тема", "Подтема" };
    HWND placement = OpenPlacement();
    for (int selected = 0; selected < 4; selected++) {
        boxes_.Clear();
        ClickButton(placement, IDOK);
        ASSERT_EQ(boxes_.Seen().size(), 1u);
        ExpectBox(boxes_.Seen()[0], messages[selected], L"Ошибка", placement);
        EXPECT_TRUE(IsWindow(placement));
        EXPECT_EQ(CurrentDirectory(), base_);
        if (selected < 3)
            SelectNamed(placement, lists[selected], names[selected]);
    }
}

TEST_F(Wizard, TheDirectivePathIsComposedShownAndOpened)
{
    HWND placement = OpenPlacement();
    ClickButton(placement, IDC_PLACE_OPEN_DIRECTIVE);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Укажите полный путь к установке :)", L"Ошибка", placement);
    EXPECT_TRUE(shellOpened_.empty());

    SelectNamed(placement, SECTIONS, "Раздел");
    SelectNamed(placement, TOPICS, "Тема");
    SelectNamed(placement, SUBTOPICS, "Подтема");
    EXPECT_EQ(std::string(App.LastFolderPath), base_ + "\\Раздел\\Тема\\Подтема");
    SelectNamed(placement, DIRECTIVES, "Установка");
    EXPECT_EQ(std::string(App.LastFolderPath), base_ + "\\Раздел\\Тема\\Подтема") << "the Directive is not entered";
    EXPECT_EQ(std::string(App.DirectivePath), Directive());
    EXPECT_EQ(ControlText(placement, IDC_PLACE_DIRECTIVE_PATH), Directive());
    ClickButton(placement, IDC_PLACE_OPEN_DIRECTIVE);
    EXPECT_EQ(shellOpened_, std::vector<std::string>{ Directive() });

    // Another Section: the lists below empty, the path stays, and choosing waits for all four.
    SelectNamed(placement, SECTIONS, "Раздел 2");
    EXPECT_TRUE(ListEntries(placement, DIRECTIVES).empty());
    EXPECT_EQ(ControlText(placement, IDC_PLACE_DIRECTIVE_PATH), Directive());
    ClickButton(placement, IDOK);
    EXPECT_EQ(boxes_.Seen().back().text, L"Сначала выберете тему :)");
    ClickButton(placement, IDCANCEL);
    EXPECT_FALSE(IsWindow(placement));

    // A later run of the wizard opens the Directive chosen before.
    HWND again = OpenPlacement();
    ClickButton(again, IDC_PLACE_OPEN_DIRECTIVE);
    EXPECT_EQ(shellOpened_.back(), Directive());
    EXPECT_EQ(CurrentDirectory(), base_);
}

TEST_F(Wizard, ThreeStepsMakeAFactWithExactBytes)
{
    HWND description = ToDescription();
    ASSERT_TRUE(IsWindow(description));
    EXPECT_EQ(WindowTextWide(description), DESCRIPTION_TITLE);
    EXPECT_EQ(GetWindow(description, GW_OWNER), owner_);
    EXPECT_EQ(ControlText(description, IDC_DESCRIPTION_NAME), "Имя факта");
    EXPECT_EQ(ControlText(description, IDC_DESCRIPTION_TEXT), "");

    HWND text = Next(description, "Новый факт", "строка 1\r\nстрока 2\r\nЯ");
    std::string folder = Directive() + "\\Новый факт";
    EXPECT_FALSE(IsWindow(description));
    ASSERT_TRUE(IsWindow(text));
    EXPECT_EQ(WindowTextWide(text), TEXT_TITLE);
    EXPECT_EQ(GetWindow(text, GW_OWNER), owner_);
    EXPECT_EQ(FileText(folder + "\\Описание.txt"), "строка 1\r\nстрока 2\r\nЯ");
    EXPECT_EQ(std::string(App.FactName), "\\Новый факт");
    EXPECT_EQ(std::string(App.FactFolderPath), folder);
    EXPECT_EQ(ControlText(text, IDC_TEXT_FOLDER_PATH), folder);
    ClickButton(text, IDC_TEXT_OPEN_FOLDER);
    EXPECT_EQ(shellOpened_, std::vector<std::string>{ folder });

    TypeText(text, IDC_TEXT_MAIN_TEXT, "a\r\nb\r\nc");
    ClickButton(text, IDOK);
    EXPECT_FALSE(IsWindow(text));
    EXPECT_EQ(FileText(folder + "\\Новый факт.txt"), "a\r\nb\r\nc");
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{ "Новый факт.txt", "Описание.txt" }));
    EXPECT_STREQ(App.FactFolderPath, "C:\\");
    EXPECT_EQ(std::string(App.FactName), "\\Новый факт");
    EXPECT_EQ(std::string(App.DirectivePath), Directive());
    EXPECT_EQ(CurrentDirectory(), base_);
    EXPECT_TRUE(boxes_.Seen().empty());
}

TEST_F(Wizard, TheDefaultNameAndEmptyTextsAreTakenAsTheyAre)
{
    HWND description = ToDescription();
    ClickButton(description, IDOK);
    HWND text = App.ActiveDialog;
    std::string folder = Directive() + "\\Имя факта";
    EXPECT_EQ(FileText(folder + "\\Описание.txt"), "");
    ClickButton(text, IDOK);
    EXPECT_EQ(FileText(folder + "\\Имя факта.txt"), "");
}

// A name the rule refuses: a message owned by the step that names the rule,
// the typed name and description kept for correcting, nothing on disk, not
// in the Directive and not anywhere above it.
TEST_F(Wizard, RefusedNamesAreNamedKeptAndCanBeMended)
{
    HWND description = ToDescription();
    std::vector<std::string> before = FolderEntries(Directive());
    std::vector<std::string> atRoot = FolderEntries(base_);
    const wchar_t* const BAD = L"В имени не может быть знаков \\ / : * ? \" < > | :)";
    const wchar_t* const TRAILING = L"Имя не может кончаться пробелом или точкой :)";
    const wchar_t* const RESERVED =
        L"Это имя Windows оставляет за устройствами (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9) - введите другое имя :)";
    struct Case {
        const char* name;
        const wchar_t* message;
    };
    const Case cases[] = {
        { "вопрос?", BAD },
        { "..\\..\\..\\..\\Вне", BAD },
        { "..\\..\\..\\..\\..\\Вне", BAD },
        { "Точка.", TRAILING },
        { "Пробел ", TRAILING },
        { "nul", RESERVED },
        { "Com1.txt", RESERVED },
        { "   ", L"Сначала введите имя факта :)" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes_.Clear();
        EXPECT_EQ(Next(description, c.name, "описание"), description) << "the step stays";
        ASSERT_EQ(boxes_.Seen().size(), 1u);
        ExpectBox(boxes_.Seen()[0], c.message, L"Ошибка", description);
        EXPECT_EQ(ControlText(description, IDC_DESCRIPTION_NAME), c.name);
        EXPECT_EQ(ControlText(description, IDC_DESCRIPTION_TEXT), "описание");
    }
    EXPECT_EQ(FolderEntries(Directive()), before);
    EXPECT_EQ(FolderEntries(base_), atRoot);
    EXPECT_FALSE(PathExists(base_ + "\\..\\Вне"));

    HWND text = Next(description, "Исправленный", "описание");
    EXPECT_NE(text, description);
    EXPECT_EQ(FileText(Directive() + "\\Исправленный\\Описание.txt"), "описание");
}

// What is there already is somebody's: an empty folder, or a fact whose
// short name is the name typed. The step says the name is taken, stays, and
// writes nothing; giving the wizard up afterwards takes nothing away.
TEST_F(Wizard, ANameAnEntryAnswersToAlreadyIsTakenAndNothingIsWritten)
{
    std::string longFact = Directive() + "\\Longname fact one";
    MakeFolder(longFact);
    WriteBytes(longFact + "\\Описание.txt", "чужое описание");
    WriteBytes(longFact + "\\Longname fact one.txt", "чужой текст");
    MakeFolder(Directive() + "\\Пустой");
    wchar_t shortPath[MAX_PATH];
    DWORD length = GetShortPathNameW(Wide(longFact).c_str(), shortPath, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    std::wstring shortName(shortPath, length);
    std::string typed = Cp1251(shortName.substr(shortName.find_last_of(L'\\') + 1));
    ASSERT_NE(typed, "Longname fact one") << "this drive gives no short names: the test needs one that does";

    std::vector<std::string> before = FolderEntries(Directive());
    HWND description = ToDescription();
    for (const std::string& name : { typed, std::string("Пустой") }) {
        SCOPED_TRACE(name);
        boxes_.Clear();
        EXPECT_EQ(Next(description, name, "моё описание"), description) << "the step stays";
        ASSERT_EQ(boxes_.Seen().size(), 1u);
        ExpectBox(boxes_.Seen()[0], L"Факт с таким именем в этой установке уже есть - введите другое имя :)",
                  L"Ошибка", description);
        EXPECT_STREQ(App.FactFolderPath, "C:\\") << "no fact folder is in the making";
    }
    ClickButton(description, IDCANCEL);
    ASSERT_EQ(boxes_.Seen().size(), 2u);  // the typed text will be lost
    EXPECT_FALSE(IsWindow(description));
    EXPECT_EQ(FolderEntries(Directive()), before);
    EXPECT_TRUE(FolderEntries(Directive() + "\\Пустой").empty());
    EXPECT_EQ(FolderEntries(longFact), (std::vector<std::string>{ "Longname fact one.txt", "Описание.txt" }));
    EXPECT_EQ(FileText(longFact + "\\Описание.txt"), "чужое описание");
}

// Giving the fact up takes back only the description the wizard wrote, as it wrote it.
TEST_F(Wizard, DiscardingKeepsADescriptionChangedSince)
{
    HWND text = Next(ToDescription(), "Изменённый", "x");
    WriteBytes(Directive() + "\\Изменённый\\Описание.txt", "y");
    ClickButton(text, IDCANCEL);
    EXPECT_FALSE(IsWindow(text));
    EXPECT_EQ(FileText(Directive() + "\\Изменённый\\Описание.txt"), "y");
}

TEST_F(Wizard, AnEmptyNameOrAnExistingFactIsRefused)
{
    HWND description = ToDescription();
    std::vector<std::string> before = FolderEntries(Directive());
    Next(description, "", "описание");
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Сначала введите имя факта :)", L"Ошибка", description);
    EXPECT_EQ(FolderEntries(Directive()), before);
    EXPECT_EQ(FolderEntries(Directive() + "\\..").size(), 2u) << "nothing landed in the Subtopic either";

    for (const char* taken : { "Факт", "Gold", "..", "." }) {
        SCOPED_TRACE(taken);
        boxes_.Clear();
        EXPECT_EQ(Next(description, taken, "чужое"), description);
        ASSERT_EQ(boxes_.Seen().size(), 1u);
        EXPECT_EQ(boxes_.Seen()[0].caption, L"Ошибка");
        EXPECT_EQ(boxes_.Seen()[0].owner, description);
        EXPECT_EQ(ControlText(description, IDC_DESCRIPTION_NAME), taken);
        EXPECT_EQ(ControlText(description, IDC_DESCRIPTION_TEXT), "чужое");
    }
    EXPECT_EQ(FileText(Directive() + "\\Факт\\Описание.txt"), "Описание\r\nфакта");
    EXPECT_EQ(FileText(Directive() + "\\Факт\\Факт.txt"), "Основной текст");
    EXPECT_EQ(FolderEntries(Directive()), before);
}

TEST_F(Wizard, NamesAndPathsThatDoNotFitAreRefusedBeforeAnythingIsMade)
{
    HWND description = ToDescription();
    std::vector<std::string> before = FolderEntries(Directive());
    Next(description, std::string(SLOT_CHARS, 'n'), "");
    Next(description, std::string(SLOT_CHARS - 1, 'n'), "");
    // The longest name whose main text path would still fit, plus one.
    size_t room = SLOT_CHARS - Directive().size() - 2 - 4;
    size_t fits = (room) / 2;
    Next(description, std::string(fits + 1, 'n'), "");
    ASSERT_EQ(boxes_.Seen().size(), 3u);
    for (const SeenMessageBox& box : boxes_.Seen()) {
        EXPECT_EQ(box.caption, L"Ошибка");
        EXPECT_EQ(box.owner, description);
    }
    EXPECT_EQ(FolderEntries(Directive()), before);
    TypeTextWide(description, IDC_DESCRIPTION_NAME, L"caf\u00e9");
    ClickButton(description, IDOK);
    ASSERT_EQ(boxes_.Seen().size(), 4u);
    EXPECT_EQ(FolderEntries(Directive()), before);

    HWND text = Next(description, std::string(fits, 'n'), "");
    ASSERT_EQ(WindowTextWide(text), TEXT_TITLE);
    ClickButton(text, IDOK);
    EXPECT_TRUE(PathExists(Directive() + "\\" + std::string(fits, 'n') + "\\" + std::string(fits, 'n') + ".txt"));
}

TEST_F(Wizard, ADirectivePathLongerThanASlotCannotBeChosen)
{
    std::string subtopic = base_ + "\\Раздел\\Тема\\Подтема";
    std::string longName(SLOT_CHARS - subtopic.size(), 'd');  // subtopic + "\" + name: 256 characters
    MakeFolder(subtopic + "\\" + longName);
    HWND placement = OpenPlacement();
    SelectPath(placement, longName);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].caption, L"Ошибка");
    EXPECT_EQ(SelectedIndex(placement, DIRECTIVES), -1);
    EXPECT_STREQ(App.DirectivePath, "C:\\");
    ClickButton(placement, IDOK);
    EXPECT_EQ(boxes_.Seen().back().text, L"Сначала выберете установку :)");
}

TEST_F(Wizard, ASaveThatFailsKeepsTheDialogAndItsText)
{
    HWND text = Next(ToDescription(), "Пропавший", "описание");
    std::string folder = Directive() + "\\Пропавший";
    RemoveTree(folder);
    TypeText(text, IDC_TEXT_MAIN_TEXT, "не потерять");
    ClickButton(text, IDOK);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Ошибка создания основного файла :)", L"Файл", NULL);
    ASSERT_TRUE(IsWindow(text));
    EXPECT_EQ(ControlText(text, IDC_TEXT_MAIN_TEXT), "не потерять");
    MakeFolder(folder);
    ClickButton(text, IDOK);
    EXPECT_FALSE(IsWindow(text));
    EXPECT_EQ(FileText(folder + "\\Пропавший.txt"), "не потерять");
}

TEST_F(Wizard, DiscardingRemovesOnlyWhatTheWizardMade)
{
    HWND text = Next(ToDescription(), "Лишний", "x");
    ClickButton(text, IDCANCEL);
    EXPECT_FALSE(IsWindow(text));
    EXPECT_FALSE(PathExists(Directive() + "\\Лишний"));
    EXPECT_STREQ(App.FactFolderPath, "C:\\");
    EXPECT_EQ(CurrentDirectory(), base_);

    text = Next(ToDescription(), "С чужим файлом", "x");
    WriteBytes(Directive() + "\\С чужим файлом\\чужой.doc", "foreign");
    CloseByCaptionBox(text);  // the close box discards too
    EXPECT_FALSE(IsWindow(text));
    EXPECT_EQ(FolderEntries(Directive() + "\\С чужим файлом"), std::vector<std::string>{ "чужой.doc" });
}

TEST_F(Wizard, CancellingEarlierStepsLeavesNothingNew)
{
    std::vector<std::string> before = FolderEntries(Directive());
    HWND placement = OpenPlacement();
    SelectPath(placement);
    PressEscape(placement, SECTIONS);
    EXPECT_FALSE(IsWindow(placement));
    HWND description = ToDescription();
    TypeText(description, IDC_DESCRIPTION_NAME, "Передумал");
    SetCurrentDirectoryW(L"C:\\");
    ClickButton(description, IDCANCEL);
    EXPECT_FALSE(IsWindow(description));
    EXPECT_EQ(CurrentDirectory(), base_);
    EXPECT_EQ(FolderEntries(Directive()), before);
}

TEST_F(Wizard, TextsUpToTheEditLimitAreStoredWhole)
{
    HWND description = ToDescription();
    EXPECT_EQ(SendDlgItemMessageW(description, IDC_DESCRIPTION_TEXT, EM_GETLIMITTEXT, 0, 0), EDIT_TEXT_MAX);
    std::string longText = LinesOfText(EDIT_TEXT_MAX);
    HWND text = Next(description, "Длинный", longText);
    EXPECT_EQ(SendDlgItemMessageW(text, IDC_TEXT_MAIN_TEXT, EM_GETLIMITTEXT, 0, 0), EDIT_TEXT_MAX);
    TypeText(text, IDC_TEXT_MAIN_TEXT, longText);
    ClickButton(text, IDOK);
    EXPECT_EQ(FileText(Directive() + "\\Длинный\\Описание.txt"), longText);
    EXPECT_EQ(FileText(Directive() + "\\Длинный\\Длинный.txt"), longText);
}

TEST_F(Wizard, ATextOutsideWindows1251IsRefused)
{
    HWND description = ToDescription();
    TypeText(description, IDC_DESCRIPTION_NAME, "Иероглифы");
    TypeTextWide(description, IDC_DESCRIPTION_TEXT, L"\u65e5\u672c");
    ClickButton(description, IDOK);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].owner, description);
    EXPECT_FALSE(PathExists(Directive() + "\\Иероглифы"));

    HWND text = Next(description, "Иероглифы", "описание");
    TypeTextWide(text, IDC_TEXT_MAIN_TEXT, L"\u65e5\u672c");
    ClickButton(text, IDOK);
    ASSERT_EQ(boxes_.Seen().size(), 2u);
    EXPECT_EQ(boxes_.Seen()[1].owner, text);
    EXPECT_TRUE(IsWindow(text));
    EXPECT_FALSE(PathExists(Directive() + "\\Иероглифы\\Иероглифы.txt"));
}

// The last step opened while no fact folder is in the making (the unset "C:\").
TEST_F(Wizard, TheTextStepWithoutAFactFolderTouchesNothing)
{
    WriteOutside("C:\\Описание.txt", "not ours");
    outside_.push_back("C:\\Чужой.txt");  // should the step write it after all
    SlotCopy(App.FactName, "\\Чужой");
    HWND text = Open(IDD_FACT_TEXT, FactTextDialog);
    EXPECT_EQ(ControlText(text, IDC_TEXT_FOLDER_PATH), "C:\\");
    ClickButton(text, IDC_TEXT_OPEN_FOLDER);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Укажите полный путь к установке - выберете заново директории :)", L"Ошибка", text);
    EXPECT_TRUE(shellOpened_.empty());
    ClickButton(text, IDOK);
    ASSERT_EQ(boxes_.Seen().size(), 2u);
    EXPECT_EQ(boxes_.Seen()[1].text, L"Ошибка создания основного файла :)");
    EXPECT_FALSE(PathExists("C:\\Чужой.txt"));
    ClickButton(text, IDCANCEL);
    EXPECT_FALSE(IsWindow(text));
    EXPECT_EQ(FileText("C:\\Описание.txt"), "not ours");
}

// Two wizards at once: each step acts on what its own run chose.
TEST_F(Wizard, TwoWizardsInterleavedKeepTheirOwnFacts)
{
    HWND descriptionA = ToDescription("Установка");
    HWND descriptionB = ToDescription("Установка Б");
    HWND textA = Next(descriptionA, "Факт А", "описание А");
    HWND textB = Next(descriptionB, "Факт Б", "описание Б");
    EXPECT_EQ(ControlText(textA, IDC_TEXT_FOLDER_PATH), Directive() + "\\Факт А");
    EXPECT_EQ(ControlText(textB, IDC_TEXT_FOLDER_PATH), Directive("Установка Б") + "\\Факт Б");

    TypeText(textA, IDC_TEXT_MAIN_TEXT, "текст А");
    TypeText(textB, IDC_TEXT_MAIN_TEXT, "текст Б");
    ClickButton(textA, IDOK);
    EXPECT_STREQ(App.FactFolderPath, "C:\\");
    ClickButton(textB, IDOK);
    EXPECT_EQ(FileText(Directive() + "\\Факт А\\Факт А.txt"), "текст А");
    EXPECT_EQ(FileText(Directive("Установка Б") + "\\Факт Б\\Факт Б.txt"), "текст Б");
    EXPECT_EQ(FolderEntries(Directive() + "\\Факт А"), (std::vector<std::string>{ "Описание.txt", "Факт А.txt" }));
    EXPECT_FALSE(PathExists("C:\\Описание.txt"));
    EXPECT_FALSE(PathExists("C:\\Факт Б.txt"));

    // One saves, the other discards after it: only its own fact goes.
    textA = Next(ToDescription("Установка"), "Третий", "3");
    textB = Next(ToDescription("Установка Б"), "Четвёртый", "4");
    ClickButton(textB, IDOK);
    ClickButton(textA, IDCANCEL);
    EXPECT_FALSE(PathExists(Directive() + "\\Третий"));
    EXPECT_EQ(FileText(Directive("Установка Б") + "\\Четвёртый\\Описание.txt"), "4");
    EXPECT_EQ(FileText(Directive("Установка Б") + "\\Четвёртый\\Четвёртый.txt"), "");
}

// The lists may lead through "..", but no fact is placed there.
TEST_F(Wizard, ADirectiveReachedThroughTheParentEntryIsRefused)
{
    HWND placement = OpenPlacement();
    SelectNamed(placement, SECTIONS, "Раздел");
    SelectNamed(placement, TOPICS, "..");
    EXPECT_EQ(ListEntries(placement, SUBTOPICS), (std::vector<std::string>{ "..", "Раздел 2", "Раздел" }));
    SelectNamed(placement, SUBTOPICS, "Раздел");
    SelectNamed(placement, DIRECTIVES, "Тема");
    EXPECT_EQ(std::string(App.DirectivePath), base_ + "\\Раздел\\..\\Раздел\\Тема");
    ClickButton(placement, IDOK);
    EXPECT_TRUE(IsWindow(placement)) << "the step stays";
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Эта папка лежит вне базы фактов или это сама база - здесь её менять нельзя :)",
              L"Ошибка", placement);
}

// The whole road: made by the wizard, read and changed in the browser.
TEST_F(Wizard, AFactMadeInTheWizardIsReadAndChangedInTheBrowser)
{
    HWND text = Next(ToDescription(), "Дорога", "описание дороги");
    TypeText(text, IDC_TEXT_MAIN_TEXT, "первая\r\nвторая");
    ClickButton(text, IDOK);

    HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
    SelectNamed(browser, IDC_BROWSER_SECTION_LIST, "Раздел");
    SelectNamed(browser, IDC_BROWSER_TOPIC_LIST, "Тема");
    SelectNamed(browser, IDC_BROWSER_SUBTOPIC_LIST, "Подтема");
    SelectNamed(browser, IDC_BROWSER_DIRECTIVE_LIST, "Установка");
    SelectNamed(browser, IDC_BROWSER_FACT_LIST, "Дорога");
    EXPECT_EQ(ControlText(browser, IDC_BROWSER_TEXT_VIEW), "описание дороги");
    std::vector<std::string> facts = ListEntries(browser, IDC_BROWSER_FACT_LIST);
    DoubleClickEntry(browser, IDC_BROWSER_FACT_LIST,
                     (int)(std::find(facts.begin(), facts.end(), "Дорога") - facts.begin()));
    EXPECT_EQ(ControlText(browser, IDC_BROWSER_TEXT_VIEW), "первая\r\nвторая");
    TypeText(browser, IDC_BROWSER_TEXT_VIEW, "первая\r\nвторая\r\nтретья Ё");
    boxes_.AnswerNext(IDOK);
    ClickButton(browser, IDC_BROWSER_CHANGE_FACT);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Точно ИЗМЕНИТЬ?");
    EXPECT_EQ(FileText(Directive() + "\\Дорога\\Дорога.txt"),
              "\xEF\xE5\xF0\xE2\xE0\xFF\r\n\xE2\xF2\xEE\xF0\xE0\xFF\r\n\xF2\xF0\xE5\xF2\xFC\xFF \xA8");
}

TEST_F(DialogTest, WizardAtTheTopOfADrive)
{
    if (!UseDriveTAsBase())
        FAIL() << "drive T: is not mapped: tools/wine-run, the test command, maps it";
    HWND placement = Open(IDD_FACT_PLACEMENT, FactPlacementDialog);
    SelectNamed(placement, SECTIONS, "Раздел");
    SelectNamed(placement, TOPICS, "Тема");
    SelectNamed(placement, SUBTOPICS, "Подтема");
    SelectNamed(placement, DIRECTIVES, "Установка");
    EXPECT_EQ(ControlText(placement, IDC_PLACE_DIRECTIVE_PATH), "T:\\\\Раздел\\Тема\\Подтема\\Установка");
    ClickButton(placement, IDOK);
    TypeText(App.ActiveDialog, IDC_DESCRIPTION_NAME, "На диске");
    ClickButton(App.ActiveDialog, IDOK);
    ClickButton(App.ActiveDialog, IDOK);
    EXPECT_TRUE(PathExists(base_ + "\\Раздел\\Тема\\Подтема\\Установка\\На диске\\На диске.txt"));
    EXPECT_EQ(CurrentDirectory(), "T:\\");
    SetCurrentDirectoryW(L"C:\\");
    EmptyDriveT();
}

}  // namespace
