#include "change_notes.h"
#include "../platform/platform_text.h"

#include <vector>

void NoteChangedEntry(ChangeNotes* notes, const std::wstring& root, const std::wstring& relativePath)
{
    if (notes->lost)
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
    return taken;
}
