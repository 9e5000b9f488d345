// The category editor, driven as a user drives it.
#include "../categories/category_editor_dialog.h"
#include "../resources/resource.h"
#include "../ui/app_state.h"
#include "../store/path_slot.h"
#include "support/dialog_driver.h"
#include "support/dialog_fixture.h"
#include "support/test_files.h"

namespace {

const int SECTIONS = IDC_EDITOR_SECTION_LIST;
const int TOPICS = IDC_EDITOR_TOPIC_LIST;
const int SUBTOPICS = IDC_EDITOR_SUBTOPIC_LIST;
const int DIRECTIVES = IDC_EDITOR_DIRECTIVE_LIST;

struct Level {
    int nameId;
    int createId;
    const char* prompt;
};
const Level SECTION = { IDC_EDITOR_SECTION_NAME, IDC_EDITOR_CREATE_SECTION, "Введите имя нового раздела" };
const Level TOPIC = { IDC_EDITOR_TOPIC_NAME, IDC_EDITOR_CREATE_TOPIC, "Введите имя новой темы" };
const Level SUBTOPIC = { IDC_EDITOR_SUBTOPIC_NAME, IDC_EDITOR_CREATE_SUBTOPIC, "Введите имя новой подтемы" };
const Level DIRECTIVE = { IDC_EDITOR_DIRECTIVE_NAME, IDC_EDITOR_CREATE_DIRECTIVE, "Введите имя новой установки" };

class CategoryEditor : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        BuildFactBase();
        editor_ = Open(IDD_CATEGORY_EDITOR, CategoryEditorDialog);
    }
    void Create(const Level& level, const std::string& name)
    {
        TypeText(editor_, level.nameId, name);
        ClickButton(editor_, level.createId);
    }
    void SelectDownTo(int levels)
    {
        const int lists[] = { SECTIONS, TOPICS, SUBTOPICS };
        const char* names[] = { "Раздел", "Тема", "Подтема" };
        for (int i = 0; i < levels; i++)
            SelectNamed(editor_, lists[i], names[i]);
    }
    HWND editor_ = NULL;
};

TEST_F(CategoryEditor, OpensWithPromptsTheRootAndTheSections)
{
    for (const Level& level : { SECTION, TOPIC, SUBTOPIC, DIRECTIVE })
        EXPECT_EQ(ControlText(editor_, level.nameId), level.prompt);
    EXPECT_EQ(ControlText(editor_, IDC_EDITOR_ROOT_FIELD), base_);
    EXPECT_EQ(std::string(App.EditorRoot), base_);
    EXPECT_EQ(ListEntries(editor_, SECTIONS), (std::vector<std::string>{ "..", "Раздел 2", "Раздел" }));
    for (int list : { TOPICS, SUBTOPICS, DIRECTIVES })
        EXPECT_TRUE(ListEntries(editor_, list).empty());
    EXPECT_EQ(CurrentDirectory(), base_);
}

// Every complaint of the two tables: what is missing, and which message the
// user sees for it. Nothing is created, and the prompt comes back.
TEST_F(CategoryEditor, EachMissingThingHasItsOwnMessage)
{
    struct Case {
        Level level;
        int selectedLevels;
        bool typed;
        const wchar_t* message;
    };
    const Case cases[] = {
        { SECTION, 0, false, L"Сначала введите имя раздела :)" },
        { TOPIC, 1, false, L"Сначала введите имя темы :)" },
        { TOPIC, 0, true, L"Сначала выберете раздел для новой темы :)" },
        { SUBTOPIC, 2, false, L"Сначала введите имя подтемы :)" },
        { SUBTOPIC, 0, true, L"Сначала выберете раздел для подтемы :)" },
        { SUBTOPIC, 1, true, L"Сначала выберете тему для подтемы :)" },
        { DIRECTIVE, 3, false, L"Сначала введите имя установки :)" },
        { DIRECTIVE, 0, true, L"Сначала выберете раздел для установки :)" },
        { DIRECTIVE, 1, true, L"Сначала выберете тему для установки :)" },
        { DIRECTIVE, 2, true, L"Сначала выберете подтему для установки :)" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Cp1251(c.message));
        HWND editor = Open(IDD_CATEGORY_EDITOR, CategoryEditorDialog);
        std::swap(editor, editor_);
        SelectDownTo(c.selectedLevels);
        boxes_.Clear();
        Create(c.level, c.typed ? "Новая" : c.level.prompt);
        ASSERT_EQ(boxes_.Seen().size(), 1u);
        ExpectBox(boxes_.Seen()[0], c.message, L"Ошибка", editor_);
        EXPECT_EQ(ControlText(editor_, c.level.nameId), c.level.prompt);
        EXPECT_EQ(CurrentDirectory(), base_);
        DestroyWindow(editor_);
        editor_ = editor;
    }
    EXPECT_EQ(FolderEntries(base_), (std::vector<std::string>{ "rus.bmp", "Раздел", "Раздел 2" }));
    EXPECT_EQ(FolderEntries(base_ + "\\Раздел"), (std::vector<std::string>{ "Тема", "Тема 3" }));
}

TEST_F(CategoryEditor, OnlyTheFirstMissingThingIsReported)
{
    ClickButton(editor_, IDC_EDITOR_CREATE_DIRECTIVE);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Сначала введите имя установки :)");

    SelectNamed(editor_, SECTIONS, "Раздел");
    Create(DIRECTIVE, "Установка 2");
    ASSERT_EQ(boxes_.Seen().size(), 2u);
    EXPECT_EQ(boxes_.Seen()[1].text, L"Сначала выберете тему для установки :)");
    EXPECT_EQ(ControlText(editor_, DIRECTIVE.nameId), DIRECTIVE.prompt);

    // A name typed exactly as the prompt counts as not typed.
    SelectDownTo(3);
    Create(DIRECTIVE, DIRECTIVE.prompt);
    ASSERT_EQ(boxes_.Seen().size(), 3u);
    EXPECT_EQ(boxes_.Seen()[2].text, L"Сначала введите имя установки :)");
}

TEST_F(CategoryEditor, ACreatedFolderAppearsUnselectedInSortedOrder)
{
    SelectDownTo(3);
    std::vector<std::string> topics = ListEntries(editor_, TOPICS);
    std::vector<std::string> directives = ListEntries(editor_, DIRECTIVES);
    Create(SECTION, "Архив");
    EXPECT_TRUE(boxes_.Seen().empty());
    EXPECT_TRUE(PathExists(base_ + "\\Архив"));
    EXPECT_EQ(ListEntries(editor_, SECTIONS), (std::vector<std::string>{ "..", "Архив", "Раздел 2", "Раздел" }));
    EXPECT_EQ(SelectedIndex(editor_, SECTIONS), -1);
    EXPECT_EQ(ListEntries(editor_, TOPICS), topics) << "the lists below keep what they showed";
    EXPECT_EQ(ListEntries(editor_, DIRECTIVES), directives);
    EXPECT_EQ(ControlText(editor_, SECTION.nameId), SECTION.prompt);

    Create(TOPIC, "Новая тема");
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Сначала выберете раздел для новой темы :)");
    EXPECT_FALSE(PathExists(base_ + "\\Раздел\\Новая тема"));
}

TEST_F(CategoryEditor, EachLevelCreatesItsFolderUnderTheSelectedParents)
{
    SelectDownTo(1);
    Create(TOPIC, "Ббб");
    EXPECT_TRUE(PathExists(base_ + "\\Раздел\\Ббб"));
    EXPECT_EQ(ListEntries(editor_, SECTIONS)[SelectedIndex(editor_, SECTIONS)], "Раздел")
        << "the Section keeps its selection";
    EXPECT_EQ(ListEntries(editor_, TOPICS), (std::vector<std::string>{ "..", "Ббб", "Тема 3", "Тема" }));
    EXPECT_EQ(SelectedIndex(editor_, TOPICS), -1);

    SelectNamed(editor_, TOPICS, "Тема");
    Create(SUBTOPIC, "Вторая подтема");
    EXPECT_TRUE(PathExists(base_ + "\\Раздел\\Тема\\Вторая подтема"));
    SelectNamed(editor_, SUBTOPICS, "Подтема");
    Create(DIRECTIVE, "Новая установка");
    EXPECT_TRUE(PathExists(DirectivePath() + "\\..\\Новая установка"));
    EXPECT_EQ(ListEntries(editor_, DIRECTIVES), (std::vector<std::string>{ "..", "Новая установка", "Установка" }));
    EXPECT_TRUE(boxes_.Seen().empty());
    EXPECT_EQ(CurrentDirectory(), base_);
    EXPECT_EQ(ControlText(editor_, IDC_EDITOR_ROOT_FIELD), base_) << "the root field never follows the selections";
}

// A name the rule refuses gets a message that names the rule; a taken name
// passes in silence, as the file system's refusal of it always did. Either
// way the typed name is discarded and nothing is made anywhere.
TEST_F(CategoryEditor, RefusedNamesAreNamedTakenOnesPassInSilence)
{
    SelectDownTo(2);
    WriteBytes(base_ + "\\Раздел\\Тема\\inside.txt", "kept");
    const wchar_t* const BAD = L"В имени не может быть знаков \\ / : * ? \" < > | :)";
    const wchar_t* const TRAILING = L"Имя не может кончаться пробелом или точкой :)";
    struct Case {
        const Level& level;
        const char* name;
        const wchar_t* message;
    };
    const Case cases[] = {
        { SUBTOPIC, "Подтема", NULL },
        { SUBTOPIC, "ПОДТЕМА", NULL },
        { SUBTOPIC, "", L"Сначала введите имя подтемы :)" },
        { SUBTOPIC, "   ", L"Сначала введите имя подтемы :)" },
        { SUBTOPIC, "..\\Побег", BAD },
        { SUBTOPIC, "a?b", BAD },
        { TOPIC, "a:b", BAD },
        { SECTION, "Точка.", TRAILING },
        { SECTION, "Пробел ", TRAILING },
        { SECTION, "..", L"Имя не может быть «.» или «..» - так Windows называет саму папку и папку над ней :)" },
        { SECTION, "CON",
          L"Это имя Windows оставляет за устройствами (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9) - введите другое имя "
          L":)" },
        { SECTION, "lpt1.txt",
          L"Это имя Windows оставляет за устройствами (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9) - введите другое имя "
          L":)" },
    };
    std::vector<std::string> above = FolderEntries(base_ + "\\..");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes_.Clear();
        Create(c.level, c.name);
        if (c.message) {
            ASSERT_EQ(boxes_.Seen().size(), 1u);
            ExpectBox(boxes_.Seen()[0], c.message, L"Ошибка", editor_);
        } else {
            EXPECT_TRUE(boxes_.Seen().empty());
        }
        EXPECT_EQ(ControlText(editor_, c.level.nameId), c.level.prompt);
    }
    EXPECT_EQ(ListEntries(editor_, SUBTOPICS), (std::vector<std::string>{ "..", "Подтема" }));
    EXPECT_EQ(FolderEntries(base_), (std::vector<std::string>{ "rus.bmp", "Раздел", "Раздел 2" }));
    EXPECT_EQ(FolderEntries(base_ + "\\Раздел"), (std::vector<std::string>{ "Тема", "Тема 3" }));
    EXPECT_EQ(FolderEntries(base_ + "\\Раздел\\Тема"), (std::vector<std::string>{ "inside.txt", "Подтема" }));
    EXPECT_EQ(FolderEntries(base_ + "\\.."), above);
}

// A Subtopic's short name is taken as its long name is: nothing made, nothing
// written into the Subtopic that answers to it.
TEST_F(CategoryEditor, AnotherEntrysShortNameIsTakenInSilence)
{
    std::string longFolder = base_ + "\\Раздел\\Тема\\Longname subtopic";
    MakeFolder(longFolder);
    WriteBytes(longFolder + "\\inside.txt", "kept");
    wchar_t shortPath[MAX_PATH];
    DWORD length = GetShortPathNameW(Wide(longFolder).c_str(), shortPath, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    std::wstring shortName(shortPath, length);
    std::string typed = Cp1251(shortName.substr(shortName.find_last_of(L'\\') + 1));
    ASSERT_NE(typed, "Longname subtopic") << "this drive gives no short names: the test needs one that does";
    SelectDownTo(2);
    Create(SUBTOPIC, typed);
    EXPECT_TRUE(boxes_.Seen().empty());
    EXPECT_EQ(FolderEntries(base_ + "\\Раздел\\Тема"), (std::vector<std::string>{ "Longname subtopic", "Подтема" }));
    EXPECT_EQ(FolderEntries(longFolder), std::vector<std::string>{ "inside.txt" });
    EXPECT_EQ(ListEntries(editor_, SUBTOPICS), (std::vector<std::string>{ "..", "Longname subtopic", "Подтема" }));
}

// The lists may show what ".." shows; nothing is made there.
TEST_F(CategoryEditor, NothingIsMadeUnderTheParentEntry)
{
    SelectNamed(editor_, SECTIONS, "..");
    std::string above = base_.substr(0, base_.rfind('\\'));
    Create(TOPIC, "Выше корня");
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Эта папка лежит вне базы фактов или это сама база - здесь её менять нельзя :)",
              L"Ошибка", editor_);
    EXPECT_FALSE(PathExists(above + "\\Выше корня"));
}

TEST_F(CategoryEditor, SelectionsSetTheLastFolderButTheDirectiveListDoesNot)
{
    SelectDownTo(3);
    EXPECT_EQ(std::string(App.LastFolderPath), base_ + "\\Раздел\\Тема\\Подтема");
    EXPECT_EQ(ListEntries(editor_, DIRECTIVES), (std::vector<std::string>{ "..", "Установка" }));
    SelectNamed(editor_, DIRECTIVES, "Установка");
    EXPECT_EQ(std::string(App.LastFolderPath), base_ + "\\Раздел\\Тема\\Подтема");
    EXPECT_EQ(CurrentDirectory(), base_);
}

TEST_F(CategoryEditor, ASelectionUnderAListWithoutOneOnlyEmptiesTheListsBelow)
{
    SelectDownTo(2);
    Create(SECTION, "Новый");  // refills the Section list: no Section selected now
    std::string last = App.LastFolderPath;
    ASSERT_FALSE(ListEntries(editor_, TOPICS).empty());
    SelectNamed(editor_, TOPICS, "Тема");
    EXPECT_TRUE(ListEntries(editor_, SUBTOPICS).empty());
    EXPECT_TRUE(ListEntries(editor_, DIRECTIVES).empty());
    EXPECT_EQ(std::string(App.LastFolderPath), last) << "no path was built from a missing Section";
    EXPECT_EQ(CurrentDirectory(), base_);
}

TEST_F(CategoryEditor, NamesThatCannotBeStoredAreRefusedWithAMessage)
{
    SelectDownTo(1);
    std::string longName(SLOT_CHARS, 'n');
    Create(TOPIC, longName);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].caption, L"Ошибка");
    EXPECT_EQ(boxes_.Seen()[0].owner, editor_);
    EXPECT_EQ(boxes_.Seen()[0].buttons, std::vector<int>{ IDOK });
    EXPECT_EQ(ControlText(editor_, TOPIC.nameId), TOPIC.prompt);

    TypeTextWide(editor_, TOPIC.nameId, L"\u65e5\u672c");
    ClickButton(editor_, TOPIC.createId);
    ASSERT_EQ(boxes_.Seen().size(), 2u);
    EXPECT_EQ(boxes_.Seen()[1].caption, L"Ошибка");
    EXPECT_EQ(FolderEntries(base_ + "\\Раздел"), (std::vector<std::string>{ "Тема", "Тема 3" }));
    EXPECT_EQ(SendDlgItemMessageW(editor_, TOPIC.nameId, EM_GETLIMITTEXT, 0, 0), SLOT_CHARS);
}

TEST_F(CategoryEditor, CancelEscapeAndTheCloseBoxCloseItAtTheBaseRoot)
{
    SelectDownTo(2);
    ClickButton(editor_, IDCANCEL);
    EXPECT_FALSE(IsWindow(editor_));
    EXPECT_EQ(CurrentDirectory(), base_);
    ExpectClosedByEscapeAndCloseBox(IDD_CATEGORY_EDITOR, CategoryEditorDialog, SECTIONS);
}

TEST_F(DialogTest, CategoryEditorAtTheTopOfADrive)
{
    std::string alias = EmptyDriveT();
    if (alias.empty())
        FAIL() << "drive T: is not mapped: tools/wine-run, the test command, maps it";
    MakeFolder(alias + "\\Раздел");
    SetCurrentDirectoryW(L"T:\\");
    HWND editor = Open(IDD_CATEGORY_EDITOR, CategoryEditorDialog);
    EXPECT_EQ(ListEntries(editor, SECTIONS), std::vector<std::string>{ "Раздел" });
    SelectNamed(editor, SECTIONS, "Раздел");
    TypeText(editor, TOPIC.nameId, "Тема на диске");
    ClickButton(editor, TOPIC.createId);
    EXPECT_TRUE(PathExists(alias + "\\Раздел\\Тема на диске"));
    EXPECT_EQ(ListEntries(editor, TOPICS), (std::vector<std::string>{ "..", "Тема на диске" }));
    DestroyWindow(editor);
    SetCurrentDirectoryW(L"C:\\");
    EmptyDriveT();
}

}  // namespace
