#include "folder_walk.h"

#include <windows.h>

namespace {

unsigned long long Ticks(const FILETIME& time)
{
    return (unsigned long long)time.dwHighDateTime << 32 | time.dwLowDateTime;
}

}  // namespace

bool SameStamp(const FileStamp& a, const FileStamp& b)
{
    return a.exists == b.exists && a.size == b.size && a.lastWrite == b.lastWrite;
}

FileStamp StampOfFile(const std::wstring& path)
{
    FileStamp stamp = { false, 0, 0 };
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        stamp.exists = true;
        stamp.size = (unsigned long long)data.nFileSizeHigh << 32 | data.nFileSizeLow;
        stamp.lastWrite = Ticks(data.ftLastWriteTime);
    }
    return stamp;
}

bool VisitFolder(const std::wstring& folder, EntryVisitor visit, void* context, WalkHint hint)
{
    bool endsWithSeparator = !folder.empty() && folder[folder.size() - 1] == L'\\';
    std::wstring pattern = folder + (endsWithSeparator ? L"*" : L"\\*");
    FINDEX_SEARCH_OPS search = hint == WALK_EVERYTHING ? FindExSearchNameMatch : FindExSearchLimitToDirectories;
    WIN32_FIND_DATAW found;
    HANDLE listing =
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, search, NULL, FIND_FIRST_EX_LARGE_FETCH);
    if (listing == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool goOn = true;
    do {
        if (lstrcmpW(found.cFileName, L".") == 0 ||
            (hint != WALK_FOLDERS_AND_PARENT && lstrcmpW(found.cFileName, L"..") == 0))
            continue;
        FolderEntry entry;
        entry.name = found.cFileName;
        entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.stamp.exists = true;
        entry.stamp.size = entry.isFolder ? 0 : (unsigned long long)found.nFileSizeHigh << 32 | found.nFileSizeLow;
        entry.stamp.lastWrite = Ticks(found.ftLastWriteTime);
        entry.created = Ticks(found.ftCreationTime);
        entry.attributes = found.dwFileAttributes;
        goOn = visit(entry, context);
    } while (goOn && FindNextFileW(listing, &found));
    FindClose(listing);
    return true;
}
