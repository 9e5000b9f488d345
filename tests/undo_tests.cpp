// The undo stack when a step cannot be undone: a step whose entry is gone is
// dropped so that older steps stay reachable; one refused for a reason that
// may pass stays the newest.
#include "../maintenance/rename_delete.h"
#include "../move/entry_move.h"
#include "../move/undo_stack.h"
#include <gtest/gtest.h>
#include "support/test_files.h"

#include <windows.h>

namespace {

const std::string DIRECTIVE = "Раздел\\Тема\\Подтема\\Установка";
const std::string OTHER_DIRECTIVE = "Раздел 2\\Тема 2\\Подтема 2\\Установка 2";

class UndoGaps : public ::testing::Test {
protected:
    void SetUp() override
    {
        Plant();
    }
    // A fact "Факт" and a fact "Gold" (its main text misnamed) in one
    // Directive, another Directive empty, and no step kept.
    void Plant()
    {
        base_ = NewTestFolder();
        for (const std::string& path : { DIRECTIVE, OTHER_DIRECTIVE })
            for (size_t end = path.find('\\'); ; end = path.find('\\', end + 1)) {
                if (!PathExists(At(path.substr(0, end))))
                    MakeFolder(At(path.substr(0, end)));
                if (end == std::string::npos)
                    break;
            }
        MakeFolder(At(DIRECTIVE + "\\Факт"));
        WriteBytes(At(DIRECTIVE + "\\Факт\\Описание.txt"), "описание");
        WriteBytes(At(DIRECTIVE + "\\Факт\\Факт.txt"), "текст");
        MakeFolder(At(DIRECTIVE + "\\Gold"));
        WriteBytes(At(DIRECTIVE + "\\Gold\\Silver.txt"), "silver");
        ForgetAllSteps();
    }
    std::string At(const std::string& below) const
    {
        return base_ + "\\" + below;
    }
    std::string base_;
};

TEST_F(UndoGaps, AStepWhoseEntryIsGoneIsDroppedAndTheOneBeforeItIsUndone)
{
    // The newest step's entry is removed by hand: as a move and as a rename.
    const UndoKind goneKinds[] = { UNDO_MOVE, UNDO_RENAME };
    for (UndoKind goneKind : goneKinds) {
        SCOPED_TRACE(goneKind == UNDO_MOVE ? "a gone move" : "a gone rename");
        Plant();
        std::string fact = At(DIRECTIVE + "\\Факт"), moved;
        ASSERT_EQ(MoveEntry(base_.c_str(), fact.c_str(), At(OTHER_DIRECTIVE).c_str(), &moved), MOVE_DONE);
        RememberStep(UNDO_MOVE, false, fact.c_str(), moved.c_str());
        ASSERT_EQ(RenameFact(base_.c_str(), At(DIRECTIVE).c_str(), "Gold", "Хеопс"), RENAME_DONE);
        RememberStep(UNDO_RENAME, true, At(DIRECTIVE + "\\Gold").c_str(), At(DIRECTIVE + "\\Хеопс").c_str());
        std::string gone = At(DIRECTIVE + "\\Пропавший");
        MakeFolder(gone);
        RememberStep(goneKind, false, At(OTHER_DIRECTIVE + "\\Пропавший").c_str(), gone.c_str());
        RemoveTree(gone);

        UndoStep undone;
        EXPECT_EQ(UndoNewestStep(base_.c_str(), &undone), UNDO_ENTRY_GONE);
        EXPECT_EQ(std::string(undone.to), gone);
        UndoStep newest;
        ASSERT_TRUE(NewestStep(&newest));
        EXPECT_EQ(std::string(newest.to), At(DIRECTIVE + "\\Хеопс")) << "the gone step is forgotten";

        EXPECT_EQ(UndoNewestStep(base_.c_str(), &undone), UNDO_DONE);
        EXPECT_EQ(undone.kind, UNDO_RENAME);
        EXPECT_TRUE(PathExists(At(DIRECTIVE + "\\Gold\\Silver.txt")));

        // A taken place may be freed again: that step stays, and is undone once it is.
        MakeFolder(fact);
        EXPECT_EQ(UndoNewestStep(base_.c_str(), &undone), UNDO_PLACE_TAKEN);
        EXPECT_EQ(UndoNewestStep(base_.c_str(), &undone), UNDO_PLACE_TAKEN);
        RemoveTree(fact);
        EXPECT_EQ(UndoNewestStep(base_.c_str(), &undone), UNDO_DONE);
        EXPECT_TRUE(PathExists(fact + "\\Факт.txt"));
        EXPECT_EQ(UndoNewestStep(base_.c_str(), &undone), UNDO_NOTHING);
    }
}

TEST_F(UndoGaps, AStepHeldByAnOpenFolderStays)
{
    std::string fact = At(DIRECTIVE + "\\Факт"), moved;
    ASSERT_EQ(MoveEntry(base_.c_str(), fact.c_str(), At(OTHER_DIRECTIVE).c_str(), &moved), MOVE_DONE);
    RememberStep(UNDO_MOVE, false, fact.c_str(), moved.c_str());
    HANDLE held = CreateFileW(Wide(moved).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    UndoStep undone;
    UndoResult whileHeld = UndoNewestStep(base_.c_str(), &undone);
    CloseHandle(held);
    EXPECT_EQ(whileHeld, UNDO_FAILED);
    EXPECT_EQ(UndoNewestStep(base_.c_str(), &undone), UNDO_DONE) << "the step refused while in use is kept";
    EXPECT_TRUE(PathExists(fact + "\\Факт.txt"));
}

}  // namespace
