#include "entry_name.h"
#include "fact_shape.h"
#include "folder_walk.h"
#include "path_slot.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"

#include <windows.h>
#include <string.h>
#include <algorithm>
#include <string>

namespace {

bool IsReservedDeviceName(const char* name)
{
    // Windows takes the part before the first dot, blanks at its end dropped.
    std::string base(name, strcspn(name, "."));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char& c : base)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

// The longest path below folder, counted from just after folder's own name.
// The base is five levels deep; anything deeper still counts, to a limit.
struct Deepest {
    std::wstring folder;
    int depth;
    size_t longest;
};

bool MeasureEntry(const FolderEntry& entry, void* context)
{
    Deepest* here = (Deepest*)context;
    size_t length = 1 + wcslen(entry.name);
    if (entry.isFolder && here->depth < 6) {
        Deepest below = { here->folder + L"\\" + entry.name, here->depth + 1, 0 };
        VisitFolder(below.folder, MeasureEntry, &below);
        length += below.longest;
    }
    if (length > here->longest)
        here->longest = length;
    return true;
}

size_t LongestBelow(const std::wstring& folder)
{
    Deepest top = { folder, 0, 0 };
    VisitFolder(folder, MeasureEntry, &top);
    return top.longest;
}

// Any entry, file or folder, stands in the way; an entry's own name in
// another case is not another's.
struct Taken {
    std::wstring name;
    std::wstring oldName;
    bool hasOldName;
    bool taken;
};

bool LookForName(const FolderEntry& entry, void* context)
{
    Taken* look = (Taken*)context;
    look->taken = lstrcmpiW(entry.name, look->name.c_str()) == 0 &&
                  (!look->hasOldName || lstrcmpW(entry.name, look->oldName.c_str()) != 0);
    return !look->taken;
}

// The listing catches names equal but for case on a file system that keeps
// both; the look-up catches what the file system itself resolves the name
// to, a short name among them, which no listing of long names shows.
bool TakenInFolder(const char* parent, const char* name, const char* oldName)
{
    Taken look = { WideFrom1251(name), oldName ? WideFrom1251(oldName) : std::wstring(), oldName != NULL, false };
    std::wstring folder = WideFrom1251(parent);
    VisitFolder(folder, LookForName, &look);
    if (look.taken)
        return true;
    std::wstring path = folder + L"\\" + look.name;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    return !oldName || !SameEntry(IdentityOf(path), IdentityOf(folder + L"\\" + look.oldName));
}
}  // namespace

EntryIdentity IdentityOf(const std::wstring& path)
{
    EntryIdentity identity = { false, 0, 0 };
    // Opening for no access at all is enough to ask who the entry is, and a
    // folder opens only with backup semantics.
    HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (handle == INVALID_HANDLE_VALUE)
        return identity;
    BY_HANDLE_FILE_INFORMATION information;
    if (GetFileInformationByHandle(handle, &information)) {
        identity.known = true;
        identity.volume = information.dwVolumeSerialNumber;
        identity.file = ((unsigned long long)information.nFileIndexHigh << 32) | information.nFileIndexLow;
    }
    CloseHandle(handle);
    return identity;
}

bool SameEntry(const EntryIdentity& a, const EntryIdentity& b)
{
    return a.known && b.known && a.volume == b.volume && a.file == b.file;
}

NameRule CheckNameText(const char* name)
{
    size_t length = strlen(name);
    if (strspn(name, " ") == length)
        return NAME_EMPTY;
    if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0)
        return NAME_DOTS;
    for (const char* p = name; *p; p++) {
        unsigned char c = (unsigned char)*p;
        if (c < 32 || c == 127 || strchr("\\/:*?\"<>|", c))
            return NAME_BAD_CHARACTERS;
    }
    if (strchr(name, (char)0x98))
        return NAME_NOT_1251;
    if (name[length - 1] == ' ' || name[length - 1] == '.')
        return NAME_TRAILING;
    if (IsReservedDeviceName(name))
        return NAME_RESERVED;
    return NAME_OK;
}

NameRule CheckEntryName(const char* parent, const char* name, EntryKind kind, const char* oldName)
{
    NameRule rule = CheckNameText(name);
    if (rule != NAME_OK)
        return rule;
    if (TakenInFolder(parent, name, oldName))
        return NAME_TAKEN;
    size_t below = 0;
    if (oldName)
        below = LongestBelow(WideFrom1251(parent) + L"\\" + WideFrom1251(oldName));
    else if (kind == ENTRY_FACT)
        below = 1 + DescriptionFileName().size();
    if (kind == ENTRY_FACT) {
        // The main text file carries the fact's name.
        size_t mainText = 1 + MainTextFileName(name).size();
        if (mainText > below)
            below = mainText;
    }
    if (strlen(parent) + 1 + strlen(name) + below > (size_t)SLOT_CHARS)
        return NAME_TOO_LONG;
    return NAME_OK;
}

NameRule CheckMovedEntry(const char* folder, const char* target, EntryKind kind)
{
    const char* name = strrchr(folder, '\\') ? strrchr(folder, '\\') + 1 : folder;
    if (TakenInFolder(target, name, NULL))
        return NAME_TAKEN;
    // A place no longer than the present one leaves every path below as
    // long or shorter: only a move to a longer one must list what is below.
    size_t present = (size_t)(name - 1 - folder);
    size_t below = strlen(target) <= present ? 0 : LongestBelow(WideFrom1251(folder));
    if (kind == ENTRY_FACT)
        below = std::max(below, 1 + std::max(DescriptionFileName().size(), MainTextFileName(name).size()));
    return strlen(target) + 1 + strlen(name) + below > (size_t)SLOT_CHARS ? NAME_TOO_LONG : NAME_OK;
}

bool PathPlainBelow(const char* path, const char* folder)
{
    size_t length = strlen(folder);
    if (length == 0 || strncmp(path, folder, length) != 0)
        return false;
    const char* rest = path + length;
    // A drive's top ("T:\\") ends in the separator that starts the first segment.
    if (folder[length - 1] == '\\' && *rest != '\\')
        rest--;
    if (*rest != '\\')
        return false;
    while (*rest == '\\') {
        const char* segment = rest + 1;
        size_t size = strcspn(segment, "\\");
        if (size == 0 || size > (size_t)SLOT_CHARS)
            return false;
        std::string name(segment, size);
        if (CheckNameText(name.c_str()) != NAME_OK)
            return false;
        rest = segment + size;
    }
    return *rest == '\0';
}
