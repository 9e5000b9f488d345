#include "rename_delete.h"
#include "../store/fact_store.h"
#include "../store/path_slot.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"

#include <windows.h>
#include <shellapi.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

// The longest path below folder, counted from just after folder's own name.
size_t LongestBelow(const std::wstring& folder, int depth)
{
    size_t longest = 0;
    if (depth > 6)
        return 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        size_t here = 1 + name.size();
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            here += LongestBelow(folder + L"\\" + name, depth + 1);
        if (here > longest)
            longest = here;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return longest;
}

} // namespace

NameCheck CheckNewName(const char* parent, const char* oldName, const char* newName, bool isFact)
{
    std::string name = newName;
    if (name.empty())
        return NAME_EMPTY;
    if (name == oldName)
        return NAME_UNCHANGED;
    for (unsigned char c : name)
        if (c < 32 || strchr("\\/:*?\"<>|", c))
            return NAME_BAD_CHARACTERS;
    if (name.back() == ' ' || name.back() == '.')
        return NAME_TRAILING;
    // Any entry, file or folder, stands in the way of the move.
    std::wstring wideParent = WideFrom1251(parent);
    std::wstring wideNew = WideFrom1251(newName);
    std::wstring wideOld = WideFrom1251(oldName);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((wideParent + L"\\*").c_str(), &found);
    bool taken = false;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            // A change of case alone is this entry's own name, not another's.
            if (lstrcmpiW(found.cFileName, wideNew.c_str()) == 0 && lstrcmpW(found.cFileName, wideOld.c_str()) != 0)
                taken = true;
        } while (!taken && FindNextFileW(search, &found));
        FindClose(search);
    }
    if (taken)
        return NAME_TAKEN;
    size_t below = LongestBelow(wideParent + L"\\" + wideOld, 0);
    if (isFact) {
        // The main text file takes the new name too.
        size_t mainText = 1 + name.size() + strlen(Text::MainTextExtension);
        if (mainText > below)
            below = mainText;
    }
    if (strlen(parent) + 1 + name.size() + below > (size_t)SLOT_CHARS)
        return NAME_TOO_LONG;
    return NAME_OK;
}

RenameResult RenameCategory(const char* parent, const char* oldName, const char* newName)
{
    std::string from = std::string(parent) + "\\" + oldName;
    std::string to = std::string(parent) + "\\" + newName;
    return MoveFileW(WideFrom1251(from.c_str()).c_str(), WideFrom1251(to.c_str()).c_str()) ? RENAME_DONE
                                                                                            : RENAME_FAILED;
}

RenameResult RenameFact(const char* directive, const char* oldName, const char* newName)
{
    std::wstring folder = WideFrom1251((std::string(directive) + "\\" + oldName).c_str());
    std::wstring newFolder = WideFrom1251((std::string(directive) + "\\" + newName).c_str());
    std::wstring oldFile = folder + L"\\" + WideFrom1251((std::string(oldName) + Text::MainTextExtension).c_str());
    std::wstring newFile = folder + L"\\" + WideFrom1251((std::string(newName) + Text::MainTextExtension).c_str());
    DWORD attributes = GetFileAttributesW(oldFile.c_str());
    bool hasMainText = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (hasMainText && !MoveFileW(oldFile.c_str(), newFile.c_str()))
        return RENAME_FAILED;
    if (MoveFileW(folder.c_str(), newFolder.c_str()))
        return RENAME_DONE;
    // Never half renamed: the file gets its old name back.
    if (hasMainText)
        MoveFileW(newFile.c_str(), oldFile.c_str());
    return RENAME_FAILED;
}

RecycleResult MoveToRecycleBin(const char* path)
{
    std::wstring from = WideFrom1251(path);
    if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES)
        return RECYCLE_REFUSED;
    // Where there is no Recycle Bin (a network share, a removable or unknown
    // drive) the shell would delete for good without a word: refuse first.
    if (from.size() >= 2 && from[0] == L'\\' && from[1] == L'\\')
        return RECYCLE_REFUSED;
    wchar_t volume[MAX_PATH];
    if (!GetVolumePathNameW(from.c_str(), volume, MAX_PATH))
        return RECYCLE_REFUSED;
    UINT drive = GetDriveTypeW(volume);
    if (drive != DRIVE_FIXED)
        return RECYCLE_REFUSED;
    from.push_back(L'\0');  // the list of paths ends with an empty one
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    int result = SHFileOperationW(&operation);
    if (result != 0 || operation.fAnyOperationsAborted)
        return RECYCLE_REFUSED;
    return GetFileAttributesW(WideFrom1251(path).c_str()) == INVALID_FILE_ATTRIBUTES ? RECYCLED : RECYCLE_REFUSED;
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
        count += level == 4 ? 1 : CountFactsBelow(child.c_str(), level + 1);
    }
    return count;
}
