#include "entry_move.h"
#include "../platform/platform_text.h"
#include "../store/base_changes.h"
#include "../store/entry_name.h"
#include "../store/fact_shape.h"
#include "../store/path_slot.h"

#include <windows.h>
#include <string.h>

std::string ParentOf(const char* path)
{
    const char* separator = strrchr(path, '\\');
    return separator ? std::string(path, separator - path) : std::string();
}

bool IsFolder(const char* path)
{
    DWORD attributes = GetFileAttributes1251(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

MoveResult CheckMove(const char* root, const char* folder, const char* target)
{
    int level = LevelBelowRoot(root, folder);
    bool targetIsRoot = strcmp(target, root) == 0;
    if (level == 0 || (!targetIsRoot && LevelBelowRoot(root, target) == 0))
        return MOVE_OUTSIDE;
    int targetLevel = targetIsRoot ? 0 : LevelBelowRoot(root, target);
    // A Section stays in the base root: it has no level above to go to.
    if (level < 2 || targetLevel != level - 1)
        return MOVE_WRONG_LEVEL;
    if (lstrcmpiW(WideFrom1251(ParentOf(folder).c_str()).c_str(), WideFrom1251(target).c_str()) == 0)
        return MOVE_SAME_PLACE;
    if (!IsFolder(folder) || !IsFolder(target))
        return MOVE_GONE;
    switch (CheckMovedEntry(folder, target, level == FACT_LEVEL ? ENTRY_FACT : ENTRY_CATEGORY)) {
    case NAME_OK: return MOVE_DONE;
    case NAME_TAKEN: return MOVE_TAKEN;
    default: return MOVE_TOO_LONG;
    }
}

MoveResult MoveResultOfError(unsigned long error)
{
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_ACCESS_DENIED:
    case ERROR_LOCK_VIOLATION: return MOVE_IN_USE;
    case ERROR_NOT_SAME_DEVICE: return MOVE_OTHER_VOLUME;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return MOVE_GONE;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return MOVE_TAKEN;
    default: return MOVE_FAILED;
    }
}

unsigned long MoveFolderOnDisk(const char* from, const char* to)
{
    AnnounceChangeComing(from, to);
    bool moved = MoveFileRetried(WideFrom1251(from).c_str(), WideFrom1251(to).c_str(), 0);
    DWORD error = moved ? 0 : GetLastError();
    AnnounceChangeOver(from, to);
    return error;
}

MoveResult MoveEntry(const char* root, const char* folder, const char* target, std::string* newFolder)
{
    MoveResult checked = CheckMove(root, folder, target);
    if (checked != MOVE_DONE)
        return checked;
    std::string to = std::string(target) + "\\" + (strrchr(folder, '\\') + 1);
    // No MOVEFILE_COPY_ALLOWED: across volumes Windows would copy and then
    // delete, which can stop halfway; refused, nothing has changed.
    unsigned long error = MoveFolderOnDisk(folder, to.c_str());
    if (error)
        return MoveResultOfError(error);
    *newFolder = to;
    return MOVE_DONE;
}
