#include "conflict_copy.h"

#include "fact_shape.h"
#include "folder_walk.h"
#include "../platform/platform_text.h"

#include <windows.h>
#include <vector>

namespace {

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), (int)a.size(), b.c_str(), (int)b.size()) ==
           CSTR_EQUAL;
}

bool Contains(const std::wstring& text, const std::wstring& part)
{
    for (size_t at = 0; at + part.size() <= text.size(); at++)
        if (SameText(text.substr(at, part.size()), part))
            return true;
    return false;
}

bool Digits(const std::wstring& text, size_t at, size_t count)
{
    if (at + count > text.size())
        return false;
    for (size_t i = at; i < at + count; i++)
        if (text[i] < L'0' || text[i] > L'9')
            return false;
    return true;
}

// " (… conflicted copy …)" or " (конфликтующая копия …)".
bool SharedFolderMark(const std::wstring& middle)
{
    return middle.size() > 3 && middle.compare(0, 2, L" (") == 0 && middle[middle.size() - 1] == L')' &&
           (Contains(middle, L"conflicted copy") || Contains(middle, L"конфликтующая копия"));
}

// ".sync-conflict-YYYYMMDD-HHMMSS-" and a device's short id.
bool SyncthingMark(const std::wstring& middle)
{
    const std::wstring lead = L".sync-conflict-";
    if (middle.size() <= lead.size() + 16 || !SameText(middle.substr(0, lead.size()), lead))
        return false;
    size_t at = lead.size();
    return Digits(middle, at, 8) && middle[at + 8] == L'-' && Digits(middle, at + 9, 6) && middle[at + 15] == L'-';
}

// "-COMPUTER": a NetBIOS name, up to 15 capitals, digits and hyphens.
bool ComputerMark(const std::wstring& middle)
{
    if (middle.size() < 2 || middle.size() > 16 || middle[0] != L'-')
        return false;
    bool capital = false;
    for (size_t i = 1; i < middle.size(); i++) {
        wchar_t c = middle[i];
        capital = capital || (c >= L'A' && c <= L'Z');
        if (!((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-'))
            return false;
    }
    return capital;
}

}  // namespace

bool IsConflictCopyOf(const std::wstring& name, const std::wstring& original)
{
    size_t dot = original.rfind(L'.');
    std::wstring stem = dot == std::wstring::npos ? original : original.substr(0, dot);
    std::wstring extension = dot == std::wstring::npos ? std::wstring() : original.substr(dot);
    if (name.size() <= original.size() || !SameText(name.substr(0, stem.size()), stem) ||
        !SameText(name.substr(name.size() - extension.size()), extension))
        return false;
    std::wstring middle = name.substr(stem.size(), name.size() - stem.size() - extension.size());
    return SharedFolderMark(middle) || SyncthingMark(middle) || ComputerMark(middle);
}

bool FactHasConflictCopy(const std::string& factFolder)
{
    std::wstring folder = WideFrom1251(factFolder.c_str());
    std::wstring originals[2] = { DescriptionFileNameW(), MainTextFileNameW(folder.substr(folder.rfind(L'\\') + 1)) };
    std::vector<std::wstring> names;
    VisitFolder(
        folder,
        [](const FolderEntry& entry, void* context) {
            if (!entry.isFolder)
                ((std::vector<std::wstring>*)context)->push_back(entry.name);
            return true;
        },
        &names);
    for (const std::wstring& original : originals) {
        bool present = false, copy = false;
        for (const std::wstring& name : names) {
            present = present || lstrcmpiW(name.c_str(), original.c_str()) == 0;
            copy = copy || IsConflictCopyOf(name, original);
        }
        if (present && copy)
            return true;
    }
    return false;
}
