#include "fact_store.h"
#include "fact_shape.h"
#include "path_slot.h"
#include "entry_name.h"
#include "folder_walk.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"

#include <windows.h>
#include <algorithm>
#include <string.h>

// ---------------------------------------------------------------- listing

namespace {

struct ListedFolder {
    std::string sortKey;  // orders as the list control's comparison of "[name]" does
    std::string name;     // the plain name in Windows-1251
};

// The list control places each "[name]" of a directory listing with a
// case-blind comparison of the bracketed strings; the brackets matter, as "]"
// and a blank do not sort like the end of a name. A sort key of the bracketed
// name orders exactly as that comparison and is made once per name, where the
// comparison would run n log n times. Ties (names equal but for case) go by
// the name's bytes, so the order does not depend on the file system's.
std::string SortKeyOf(const wchar_t* name)
{
    std::wstring bracketed = L"[";
    bracketed += name;
    bracketed += L"]";
    int size = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, bracketed.c_str(), -1, NULL, 0);
    std::string key(size > 0 ? size : 0, '\0');
    if (size > 0)
        LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, bracketed.c_str(), -1, (LPWSTR)&key[0],
                     size);
    return key;
}

bool ListedBefore(const ListedFolder& a, const ListedFolder& b)
{
    int order = a.sortKey.compare(b.sortKey);
    if (order != 0)
        return order < 0;
    return a.name < b.name;
}

// Names no slot could carry are left out.
bool AddListedFolder(const FolderEntry& entry, void* context)
{
    char name[SLOT_SIZE];
    if (!entry.isFolder || TextTo1251(entry.name, -1, name, LISTED_NAME_MAX + 1) != TEXT_FITS)
        return true;
    ListedFolder folder;
    folder.name = name;
    folder.sortKey = SortKeyOf(entry.name);
    ((std::vector<ListedFolder>*)context)->push_back(folder);
    return true;
}

}  // namespace

bool ListSubfolders(const char* folder, std::vector<std::string>* names)
{
    names->clear();
    std::vector<ListedFolder> listed;
    bool read = VisitFolder(WideFrom1251(folder), AddListedFolder, &listed, WALK_FOLDERS_AND_PARENT);
    std::sort(listed.begin(), listed.end(), ListedBefore);
    names->reserve(listed.size());
    for (size_t i = 0; i < listed.size(); i++)
        names->push_back(listed[i].name);
    return read;
}

// ---------------------------------------------------------------- folders

namespace {

// A fact folder is one plain folder right below its Directive: its last
// separator follows the Directive's path.
bool OneFolderBelow(const char* path, const char* directive)
{
    return PathPlainBelow(path, directive) && (size_t)(strrchr(path, '\\') - path) <= strlen(directive);
}

FolderResult CreateFolderAt(const char* path)
{
    std::wstring wide = WideFrom1251(path);
    if (CreateDirectoryW(wide.c_str(), NULL))
        return FOLDER_CREATED;
    DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ||
        GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES)
        return FOLDER_EXISTS;
    return FOLDER_NOT_CREATED;
}

}  // namespace

FolderResult CreateCategoryFolder(const char* root, const char* parent, const char* name)
{
    char path[SLOT_SIZE];
    if (!SlotJoin(path, parent, "\\", name))
        return FOLDER_PATH_TOO_LONG;
    if (!PathPlainBelow(path, root))
        return FOLDER_OUTSIDE;
    return CreateFolderAt(path);
}

FolderResult CreateFactFolder(const char* directive, const char* name, char* factFolder)
{
    char path[SLOT_SIZE];
    if (!SlotJoin(path, directive, "\\", name))
        return FOLDER_PATH_TOO_LONG;
    if (!OneFolderBelow(path, directive))
        return FOLDER_OUTSIDE;
    SlotCopy(factFolder, path);
    return CreateFolderAt(path);
}

FolderState GetFolderState(const char* path)
{
    DWORD attributes = GetFileAttributes1251(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FOLDER_MISSING;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FOLDER_IN_USE;
    bool holdsSomething = false;
    VisitFolder(
        WideFrom1251(path),
        [](const FolderEntry&, void* context) {
            *(bool*)context = true;
            return false;
        },
        &holdsSomething);
    return holdsSomething ? FOLDER_IN_USE : FOLDER_EMPTY;
}

// ---------------------------------------------------------------- file paths

bool DescriptionFilePath(const char* factFolder, char* out)
{
    return SlotCopy(out, DescriptionFileIn(factFolder).c_str());
}

bool MainTextFilePath(const char* factFolder, const char* factName, char* out)
{
    return SlotCopy(out, MainTextFileIn(factFolder, factName).c_str());
}

// ---------------------------------------------------------------- unfinished facts

void DeleteUnfinishedFact(const char* directive, const char* factFolder, const UnfinishedFact& made)
{
    if (SlotEquals(factFolder, Text::UnsetPath) || !OneFolderBelow(factFolder, directive))
        return;
    char description[SLOT_SIZE];
    if (!DescriptionFilePath(factFolder, description))
        return;
    // A description someone changed since, or one the wizard never wrote, is theirs.
    if (made.description.exists && CompareFileState(description, made.description) == FILE_UNCHANGED)
        DeleteFile1251(description);
    if (made.folderMade)
        RemoveDirectory1251(factFolder);
}
