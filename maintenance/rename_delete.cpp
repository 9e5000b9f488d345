#include "rename_delete.h"
#include "../store/fact_shape.h"
#include "../store/fact_store.h"
#include "../store/entry_name.h"
#include "../store/path_slot.h"
#include "../store/base_changes.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"

#include <windows.h>
#include <shellapi.h>
#include <string.h>
#include <string>
#include <vector>

RenameResult RenameCategory(const char* root, const char* parent, const char* oldName, const char* newName)
{
    std::string from = std::string(parent) + "\\" + oldName;
    std::string to = std::string(parent) + "\\" + newName;
    if (!PathPlainBelow(from.c_str(), root) || !PathPlainBelow(to.c_str(), root))
        return RENAME_OUTSIDE;
    AnnounceChangeComing(from.c_str(), to.c_str());
    bool renamed = MoveFileRetried(WideFrom1251(from.c_str()).c_str(), WideFrom1251(to.c_str()).c_str(), 0);
    AnnounceChangeOver(from.c_str(), to.c_str());
    return renamed ? RENAME_DONE : RENAME_FAILED;
}

namespace {

// The file first, then the folder; never half renamed: when the folder
// refuses, the file gets its old name back.
RenameResult RenameFactFolder(const std::wstring& folder, const std::wstring& newFolder, const std::wstring& oldFile,
                              const std::wstring& newFile)
{
    DWORD attributes = GetFileAttributesW(oldFile.c_str());
    bool hasMainText = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (hasMainText && !MoveFileRetried(oldFile.c_str(), newFile.c_str(), 0))
        return RENAME_FAILED;
    if (MoveFileRetried(folder.c_str(), newFolder.c_str(), 0))
        return RENAME_DONE;
    if (hasMainText)
        MoveFileRetried(newFile.c_str(), oldFile.c_str(), 0);
    return RENAME_FAILED;
}

}  // namespace

RenameResult RenameFact(const char* root, const char* directive, const char* oldName, const char* newName)
{
    std::string from = std::string(directive) + "\\" + oldName;
    std::string to = std::string(directive) + "\\" + newName;
    if (!PathPlainBelow(from.c_str(), root) || !PathPlainBelow(to.c_str(), root))
        return RENAME_OUTSIDE;
    std::wstring folder = WideFrom1251(from.c_str());
    AnnounceChangeComing(from.c_str(), to.c_str());
    RenameResult result = RenameFactFolder(folder, WideFrom1251(to.c_str()),
                                           MainTextFileInW(folder, WideFrom1251(oldName)),
                                           MainTextFileInW(folder, WideFrom1251(newName)));
    AnnounceChangeOver(from.c_str(), to.c_str());
    return result;
}

namespace {

// The shell's own codes for "access denied" say "in use" as often as not.
const int SHELL_ACCESS_DENIED_SOURCE = 0x78;

bool TryRecycle(void* context)
{
    SHFILEOPSTRUCTW* operation = (SHFILEOPSTRUCTW*)context;
    operation->fAnyOperationsAborted = FALSE;
    int result = SHFileOperationW(operation);
    if (result == 0)
        return true;
    // A user's No to the shell's warning is never asked again.
    if (operation->fAnyOperationsAborted)
        SetLastError(ERROR_CANCELLED);
    else
        SetLastError(result == SHELL_ACCESS_DENIED_SOURCE ? ERROR_ACCESS_DENIED : (DWORD)result);
    return false;
}

}  // namespace

RecycleResult MoveToRecycleBin(const char* root, const char* path)
{
    if (!PathPlainBelow(path, root))
        return RECYCLE_OUTSIDE;
    std::wstring from = WideFrom1251(path);
    if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES)
        return RECYCLE_FAILED;
    // Where there is no Recycle Bin (a network share, a removable or unknown
    // drive) the shell would delete for good: refuse first.
    if (from.size() >= 2 && from[0] == L'\\' && from[1] == L'\\')
        return RECYCLE_NO_BIN;
    wchar_t volume[MAX_PATH];
    if (!GetVolumePathNameW(from.c_str(), volume, MAX_PATH) || GetDriveTypeW(volume) != DRIVE_FIXED)
        return RECYCLE_NO_BIN;
    from.push_back(L'\0');  // the list of paths ends with an empty one
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    // The program asked its own question already; but a Recycle Bin that is
    // switched off or too small would turn this into a delete for good, and
    // that the shell must say first.
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_WANTNUKEWARNING | FOF_NOERRORUI | FOF_SILENT;
    AnnounceChangeComing(path, NULL);
    int result = RetryWhileInUse(TryRecycle, &operation) ? 0 : (int)GetLastError();
    AnnounceChangeOver(path, NULL);
    bool gone = GetFileAttributesW(WideFrom1251(path).c_str()) == INVALID_FILE_ATTRIBUTES;
    if (operation.fAnyOperationsAborted && !gone)
        return RECYCLE_CANCELLED;
    return result == 0 && gone ? RECYCLED : RECYCLE_FAILED;
}

int CountFactsBelow(const char* folder, int level)
{
    std::vector<std::string> names;
    ListSubfolders(folder, &names);
    int count = 0;
    for (const std::string& name : names) {
        if (name == "..")
            continue;
        std::string child = std::string(folder) + "\\" + name;
        count += level == DIRECTIVE_LEVEL ? 1 : CountFactsBelow(child.c_str(), level + 1);
    }
    return count;
}
