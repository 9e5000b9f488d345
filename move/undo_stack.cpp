#include "undo_stack.h"
#include "entry_move.h"
#include "../maintenance/rename_delete.h"
#include "../platform/platform_text.h"
#include "../store/entry_name.h"

#include <windows.h>
#include <string.h>
#include <string>

namespace {

// A ring of fixed slots: Count newest steps end at Newest.
UndoStep Steps[UNDO_DEPTH];
int Newest = -1;
int Count = 0;

UndoResult MoveBack(const char* root, const UndoStep& step)
{
    if (step.action)
        return step.action(root, step.record);
    if (!PathPlainBelow(step.from, root) || !PathPlainBelow(step.to, root))
        return UNDO_OUTSIDE;
    if (!IsFolder(step.to))
        return UNDO_ENTRY_GONE;
    std::string oldParent = ParentOf(step.from);
    if (oldParent != root && !IsFolder(oldParent.c_str()))
        return UNDO_PLACE_GONE;
    // The entry's own name in another case is not another entry.
    if (GetFileAttributes1251(step.from) != INVALID_FILE_ATTRIBUTES &&
        lstrcmpiW(WideFrom1251(step.from).c_str(), WideFrom1251(step.to).c_str()) != 0)
        return UNDO_PLACE_TAKEN;
    if (step.kind == UNDO_RENAME) {
        std::string parent = ParentOf(step.to);
        const char* newName = strrchr(step.to, '\\') + 1;
        const char* oldName = strrchr(step.from, '\\') + 1;
        RenameResult renamed = step.fact ? RenameFact(root, parent.c_str(), newName, oldName)
                                         : RenameCategory(root, parent.c_str(), newName, oldName);
        return renamed == RENAME_DONE ? UNDO_DONE : UNDO_FAILED;
    }
    unsigned long error = MoveFolderOnDisk(step.to, step.from);
    if (error)
        return error == ERROR_ALREADY_EXISTS ? UNDO_PLACE_TAKEN : UNDO_FAILED;
    return UNDO_DONE;
}

void Remember(const UndoStep& step)
{
    Newest = (Newest + 1) % UNDO_DEPTH;
    Steps[Newest] = step;
    if (Count < UNDO_DEPTH)
        Count++;
}

}  // namespace

void RememberStep(UndoKind kind, bool fact, const char* from, const char* to)
{
    UndoStep step = {};
    step.kind = kind;
    step.fact = fact;
    if (SlotCopy(step.from, from) && SlotCopy(step.to, to))
        Remember(step);
}

void RememberActionStep(UndoKind kind, const char* place, const char* name, UndoAction action, int record)
{
    UndoStep step = {};
    step.kind = kind;
    step.action = action;
    step.record = record;
    if (SlotCopy(step.from, place) && SlotCopy(step.to, name))
        Remember(step);
}

bool NewestStep(UndoStep* step)
{
    if (Count == 0)
        return false;
    *step = Steps[Newest];
    return true;
}

void ForgetAllSteps()
{
    Count = 0;
    Newest = -1;
}

UndoResult UndoNewestStep(const char* root, UndoStep* undone)
{
    if (Count == 0)
        return UNDO_NOTHING;
    *undone = Steps[Newest];
    UndoResult result = MoveBack(root, *undone);
    // A step whose entry is gone can never be undone: kept, it would stand
    // before every older step for the rest of the run.
    if (result == UNDO_DONE || result == UNDO_PARTLY || result == UNDO_ENTRY_GONE) {
        Newest = (Newest + UNDO_DEPTH - 1) % UNDO_DEPTH;
        Count--;
    }
    return result;
}
