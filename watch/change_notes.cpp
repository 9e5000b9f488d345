#include "change_notes.h"
#include "../platform/platform_text.h"

#include <windows.h>
#include <vector>

void NoteChangedEntry(ChangeNotes* notes, const std::wstring& root, const std::wstring& relativePath)
{
    if (notes->lost || IsOwnChange(*notes, root + L"\\" + relativePath))
        return;
    size_t separator = relativePath.rfind(L'\\');
    std::wstring folder = root;
    if (separator != std::wstring::npos)
        folder += L"\\" + relativePath.substr(0, separator);
    // A folder no list can show (a name outside Windows-1251) is noted by
    // the nearest folder above it that one can.
    std::vector<char> narrow(folder.size() * 2 + 1);
    while (TextTo1251(folder.c_str(), -1, narrow.data(), (int)narrow.size()) != TEXT_FITS) {
        size_t up = folder.rfind(L'\\');
        if (up == std::wstring::npos || folder.size() <= root.size())
            return;
        folder.resize(up);
    }
    notes->folders.insert(narrow.data());
}

void NoteLostEvents(ChangeNotes* notes)
{
    notes->lost = true;
    notes->folders.clear();
}

ChangeNotes TakeNotes(ChangeNotes* notes)
{
    ChangeNotes taken = *notes;
    *notes = ChangeNotes();
    notes->own.swap(taken.own);
    return taken;
}

namespace {

bool SameName(const wchar_t* a, const wchar_t* b, size_t length)
{
    return CompareStringOrdinal(a, (int)length, b, (int)length, TRUE) == CSTR_EQUAL;
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && SameName(a.c_str(), b.c_str(), a.size());
}

std::wstring WideParentOf(const std::wstring& path)
{
    size_t separator = path.rfind(L'\\');
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

}  // namespace

bool WidePathAtOrBelow(const std::wstring& path, const std::wstring& folder)
{
    if (folder.empty() || path.size() < folder.size() || !SameName(path.c_str(), folder.c_str(), folder.size()))
        return false;
    return path.size() == folder.size() || path[folder.size()] == L'\\';
}

void NoteOwnChange(ChangeNotes* notes, const std::wstring& from, const std::wstring& to)
{
    OwnChange change;
    change.from = from;
    change.to = to;
    notes->own.push_back(change);
}

void EndOwnChange(ChangeNotes* notes, const std::wstring& from, unsigned long now)
{
    for (OwnChange& change : notes->own)
        if (!change.over && SamePath(change.from, from)) {
            change.over = true;
            change.overAt = now;
            return;
        }
}

void ForgetOwnChanges(ChangeNotes* notes, unsigned long now)
{
    std::vector<OwnChange> kept;
    for (const OwnChange& change : notes->own)
        if (!change.over || now - change.overAt < OWN_CHANGE_MS)
            kept.push_back(change);
    notes->own.swap(kept);
}

bool IsOwnChange(const ChangeNotes& notes, const std::wstring& entry)
{
    for (const OwnChange& change : notes.own) {
        if (WidePathAtOrBelow(entry, change.from) || WidePathAtOrBelow(entry, change.to))
            return true;
        if (SamePath(entry, WideParentOf(change.from)) || (!change.to.empty() && SamePath(entry, WideParentOf(change.to))))
            return true;
    }
    return false;
}
