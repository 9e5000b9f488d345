#include "entry_name.h"
#include "fact_shape.h"
#include "path_slot.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"

#include <windows.h>
#include <string.h>
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
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

// The longest path below folder, counted from just after folder's own name.
// The base is five levels deep; anything deeper still counts, to a limit.
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

// Any entry, file or folder, stands in the way; an entry's own name in
// another case is not another's.
bool TakenInFolder(const char* parent, const char* name, const char* oldName)
{
    std::wstring wideName = WideFrom1251(name);
    std::wstring wideOld = oldName ? WideFrom1251(oldName) : std::wstring();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((WideFrom1251(parent) + L"\\*").c_str(), &found);
    bool taken = false;
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (lstrcmpiW(found.cFileName, wideName.c_str()) == 0 &&
            (!oldName || lstrcmpW(found.cFileName, wideOld.c_str()) != 0))
            taken = true;
    } while (!taken && FindNextFileW(search, &found));
    FindClose(search);
    return taken;
}

} // namespace

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
        below = LongestBelow(WideFrom1251(parent) + L"\\" + WideFrom1251(oldName), 0);
    else if (kind == ENTRY_FACT)
        below = 1 + strlen(Text::DescriptionFile);
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
