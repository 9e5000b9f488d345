// Moving entries and undoing renames and moves: on disk, and as a user does
// it in the browser, by the move dialog and by keys.
#include "../browser/fact_base_dialog.h"
#include "../maintenance/rename_delete.h"
#include "../move/entry_move.h"
#include "../move/undo_stack.h"
#include "../resources/resource.h"
#include "../ui/app_messages.h"
#include "support/dialog_driver.h"
#include "support/dialog_fixture.h"
#include "support/test_files.h"

#include <windows.h>

namespace {

const std::string DIRECTIVE = "Раздел\\Тема\\Подтема\\Установка";
const std::string OTHER_DIRECTIVE = "Раздел 2\\Тема 2\\Подтема 2\\Установка 2";

class Moves : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        Plant();
        ForgetAllSteps();
    }
    // The dialog test base, with a second branch down to a Directive, an
    // entry that takes a name in another case, and a Directive whose path
    // leaves no room for a fact's files.
    void Plant()
    {
        BuildFactBase();
        MakeFolder(base_ + "\\Раздел 2\\Тема 2\\Подтема 2");
        MakeFolder(At(OTHER_DIRECTIVE));
        MakeFolder(base_ + "\\Раздел 2\\ТЕМА 3");
        std::string parent = base_ + "\\Раздел 2\\Тема 2\\Подтема 2";
        longDirective_ = "Раздел 2\\Тема 2\\Подтема 2\\" + std::string(244 - parent.size(), 'D');
        MakeFolder(At(longDirective_));
    }
    std::string At(const std::string& below) const
    {
        return below.empty() ? base_ : base_ + "\\" + below;
    }
    BOOL Key(HWND browser, int key, bool control, int focusId)
    {
        HWND focus = GetDlgItem(browser, focusId);
        SetFocus(focus);
        return (BOOL)SendMessageW(browser, WM_FACTS_DIALOG_KEY, MAKEWPARAM(key, control ? 1 : 0), (LPARAM)focus);
    }
    std::string longDirective_;
};

TEST_F(Moves, EachLevelMovesWholeAndEveryRefusalLeavesTheDiskAsItWas)
{
    struct Case {
        const char* what;
        std::string entry;
        std::string target;
        MoveResult expected;
        std::string arrives;  // a file that must be there after the move
    };
    const Case cases[] = {
        { "a fact", DIRECTIVE + "\\Факт", OTHER_DIRECTIVE, MOVE_DONE, OTHER_DIRECTIVE + "\\Факт\\Факт.txt" },
        { "a Directive", DIRECTIVE, "Раздел 2\\Тема 2\\Подтема 2", MOVE_DONE,
          "Раздел 2\\Тема 2\\Подтема 2\\Установка\\Gold\\Silver.txt" },
        { "a Subtopic", "Раздел\\Тема\\Подтема", "Раздел 2\\Тема 2", MOVE_DONE,
          "Раздел 2\\Тема 2\\Подтема\\Установка\\Факт\\Описание.txt" },
        { "a Topic", "Раздел\\Тема", "Раздел 2", MOVE_DONE, "Раздел 2\\Тема\\Подтема\\Установка\\Факт\\Факт.txt" },
        { "a Section", "Раздел", "", MOVE_WRONG_LEVEL, "" },
        { "a fact into a Subtopic", DIRECTIVE + "\\Факт", "Раздел\\Тема\\Подтема", MOVE_WRONG_LEVEL, "" },
        { "a Directive into a Directive", DIRECTIVE, OTHER_DIRECTIVE, MOVE_WRONG_LEVEL, "" },
        { "to its own place", DIRECTIVE + "\\Gold", DIRECTIVE, MOVE_SAME_PLACE, "" },
        { "onto a name in another case", "Раздел\\Тема 3", "Раздел 2", MOVE_TAKEN, "" },
        { "where a fact's file would pass 255", DIRECTIVE + "\\Факт", "<long>", MOVE_TOO_LONG, "" },
        { "to a target through ..", DIRECTIVE + "\\Факт", "Раздел 2\\..\\" + OTHER_DIRECTIVE, MOVE_OUTSIDE, "" },
        { "a gone entry", DIRECTIVE + "\\Нет", OTHER_DIRECTIVE, MOVE_GONE, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        base_ = NewTestFolder();
        Plant();
        std::vector<std::string> before = FolderEntries(At(OTHER_DIRECTIVE));
        std::string moved, target = c.target == "<long>" ? longDirective_ : c.target;  // the base's own length
        EXPECT_EQ(MoveEntry(base_.c_str(), At(c.entry).c_str(), At(target).c_str(), &moved), c.expected);
        if (c.expected == MOVE_DONE) {
            EXPECT_TRUE(PathExists(At(c.arrives)));
            EXPECT_FALSE(PathExists(At(c.entry)));
            EXPECT_EQ(moved, At(c.target) + c.entry.substr(c.entry.rfind('\\')));
        } else {
            EXPECT_TRUE(c.expected == MOVE_GONE || PathExists(At(c.entry)));
            EXPECT_EQ(FolderEntries(At(OTHER_DIRECTIVE)), before);
            EXPECT_TRUE(moved.empty());
        }
    }
}

TEST_F(Moves, AFolderHeldOpenElsewhereStaysWhereItIs)
{
    std::string fact = At(DIRECTIVE + "\\Факт");
    // Another program holds the folder open without letting it be moved.
    HANDLE held = CreateFileW(Wide(fact).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string moved;
    MoveResult result = MoveEntry(base_.c_str(), fact.c_str(), At(OTHER_DIRECTIVE).c_str(), &moved);
    CloseHandle(held);
    EXPECT_EQ(result, MOVE_IN_USE);
    EXPECT_EQ(FolderEntries(fact), (std::vector<std::string>{ "Описание.txt", "Факт.txt" }));
    EXPECT_TRUE(FolderEntries(At(OTHER_DIRECTIVE)).empty());
}

TEST_F(Moves, UndoMovesBackAfterAMoveAndARenameAndRefusesATakenPlace)
{
    std::string fact = At(DIRECTIVE + "\\Факт"), moved;
    ASSERT_EQ(MoveEntry(base_.c_str(), fact.c_str(), At(OTHER_DIRECTIVE).c_str(), &moved), MOVE_DONE);
    RememberStep(UNDO_MOVE, false, fact.c_str(), moved.c_str());
    ASSERT_EQ(RenameFact(base_.c_str(), At(DIRECTIVE).c_str(), "Gold", "Хеопс"), RENAME_DONE);
    RememberStep(UNDO_RENAME, true, At(DIRECTIVE + "\\Gold").c_str(), At(DIRECTIVE + "\\Хеопс").c_str());

    UndoStep undone;
    EXPECT_EQ(UndoNewestStep(base_.c_str(), &undone), UNDO_DONE);
    EXPECT_EQ(undone.kind, UNDO_RENAME);
    EXPECT_EQ(FolderEntries(At(DIRECTIVE + "\\Gold")), (std::vector<std::string>{ "Silver.txt", "Описание.txt" }))
        << "a fact whose main text is not named after it keeps its files as they were";

    MakeFolder(fact);  // the old place is taken meanwhile
    EXPECT_EQ(UndoNewestStep(base_.c_str(), &undone), UNDO_PLACE_TAKEN);
    EXPECT_TRUE(PathExists(moved + "\\Факт.txt"));
    RemoveTree(fact);
    EXPECT_EQ(UndoNewestStep(base_.c_str(), &undone), UNDO_DONE) << "the refused step is kept";
    EXPECT_TRUE(PathExists(fact + "\\Факт.txt"));
    EXPECT_EQ(UndoNewestStep(base_.c_str(), &undone), UNDO_NOTHING);
}

TEST_F(Moves, CutPasteAndUndoByKeysInTheBrowser)
{
    HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
    WalkBrowserTo(browser, DIRECTIVE + "\\Факт");
    EXPECT_FALSE(Key(browser, VK_ESCAPE, false, IDC_BROWSER_FACT_LIST)) << "no mark: Esc is the dialog's";
    EXPECT_FALSE(Key(browser, 'X', true, IDC_BROWSER_TEXT_VIEW)) << "the text view keeps its own Ctrl+X";
    EXPECT_TRUE(Key(browser, 'X', true, IDC_BROWSER_FACT_LIST));
    EXPECT_EQ(ListEntries(browser, IDC_BROWSER_FACT_LIST),
              (std::vector<std::string>{ "..", "Gold", "Без описания", "[Факт]" }));

    WalkBrowserTo(browser, OTHER_DIRECTIVE);
    EXPECT_TRUE(Key(browser, 'V', true, IDC_BROWSER_FACT_LIST));
    EXPECT_TRUE(PathExists(At(OTHER_DIRECTIVE + "\\Факт\\Факт.txt")));
    EXPECT_EQ(ListEntries(browser, IDC_BROWSER_FACT_LIST), (std::vector<std::string>{ "..", "Факт" }));
    EXPECT_EQ(SelectedIndex(browser, IDC_BROWSER_FACT_LIST), 1);

    EXPECT_TRUE(Key(browser, 'Z', true, IDC_BROWSER_FACT_LIST));
    EXPECT_TRUE(PathExists(At(DIRECTIVE + "\\Факт\\Факт.txt")));
    EXPECT_EQ(ListEntries(browser, IDC_BROWSER_TOPIC_LIST)[SelectedIndex(browser, IDC_BROWSER_TOPIC_LIST)], "Тема")
        << "the lists follow the fact back";
    EXPECT_EQ(ListEntries(browser, IDC_BROWSER_FACT_LIST),
              (std::vector<std::string>{ "..", "Gold", "Без описания", "Факт" }));

    // A mark Esc clears moves nothing at the next paste.
    EXPECT_TRUE(Key(browser, 'X', true, IDC_BROWSER_FACT_LIST));
    EXPECT_TRUE(Key(browser, VK_ESCAPE, false, IDC_BROWSER_FACT_LIST));
    EXPECT_EQ(ListEntries(browser, IDC_BROWSER_FACT_LIST),
              (std::vector<std::string>{ "..", "Gold", "Без описания", "Факт" }));
    boxes_.Clear();
    EXPECT_TRUE(Key(browser, 'V', true, IDC_BROWSER_FACT_LIST));
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Сначала вырежьте папку в списке (Ctrl+X) :)", L"Ошибка", browser);
}

TEST_F(Moves, TheMoveDialogOpensAtThePresentPlaceAndTheBrowserFollows)
{
    HWND browser = Open(IDD_FACT_BASE, FactBaseDialog);
    WalkBrowserTo(browser, DIRECTIVE);
    SendMessageW(browser, WM_COMMAND, IDM_MOVE_SECTION, 0);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, L"Раздел лежит прямо в базе - его некуда переместить :)");

    boxes_.Clear();
    std::string shownTarget;
    bool directiveListEnabled = true;
    boxes_.WhileNextBoxIsUp([&] {
        HWND dialog = boxes_.Seen().back().window;
        shownTarget = ControlText(dialog, IDC_MOVE_TARGET);
        directiveListEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_MOVE_DIRECTIVE_LIST)) != FALSE;
        SelectNamed(dialog, IDC_MOVE_SECTION_LIST, "Раздел 2");
        SelectNamed(dialog, IDC_MOVE_TOPIC_LIST, "Тема 2");
        SelectNamed(dialog, IDC_MOVE_SUBTOPIC_LIST, "Подтема 2");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(browser, WM_COMMAND, IDM_MOVE_SECTION + 3, 0);
    EXPECT_EQ(shownTarget, "Раздел\\Тема\\Подтема");
    EXPECT_FALSE(directiveListEnabled) << "a Directive goes into a Subtopic";
    EXPECT_TRUE(PathExists(At("Раздел 2\\Тема 2\\Подтема 2\\Установка\\Факт\\Факт.txt")));
    EXPECT_EQ(ListEntries(browser, IDC_BROWSER_SECTION_LIST)[SelectedIndex(browser, IDC_BROWSER_SECTION_LIST)],
              "Раздел 2");
    std::vector<std::string> directives = ListEntries(browser, IDC_BROWSER_DIRECTIVE_LIST);
    ASSERT_GE(SelectedIndex(browser, IDC_BROWSER_DIRECTIVE_LIST), 0);
    EXPECT_EQ(directives[SelectedIndex(browser, IDC_BROWSER_DIRECTIVE_LIST)], "Установка");
    EXPECT_TRUE(ListEntries(browser, IDC_BROWSER_FACT_LIST).empty()) << "what it holds is shown by a click";
}

}  // namespace
