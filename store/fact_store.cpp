#include "fact_store.h"
#include "path_slot.h"
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
    int size = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE,
                            bracketed.c_str(), -1, NULL, 0);
    std::string key(size > 0 ? size : 0, '\0');
    if (size > 0)
        LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE,
                     bracketed.c_str(), -1, (LPWSTR)&key[0], size);
    return key;
}

bool ListedBefore(const ListedFolder& a, const ListedFolder& b)
{
    int order = a.sortKey.compare(b.sortKey);
    if (order != 0)
        return order < 0;
    return a.name < b.name;
}

} // namespace

bool ListSubfolders(const char* folder, std::vector<std::string>* names)
{
    names->clear();
    size_t length = strlen(folder);
    bool endsWithSeparator = length > 0 && folder[length - 1] == '\\';
    std::wstring pattern = WideFrom1251(folder);
    pattern += endsWithSeparator ? L"*.*" : L"\\*.*";

    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                     FindExSearchLimitToDirectories, NULL, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;

    std::vector<ListedFolder> listed;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if (lstrcmpW(found.cFileName, L".") == 0)
            continue;
        ListedFolder entry;
        char name[SLOT_SIZE];
        if (TextTo1251(found.cFileName, -1, name, LISTED_NAME_MAX + 1) != TEXT_FITS)
            continue;
        entry.name = name;
        entry.sortKey = SortKeyOf(found.cFileName);
        listed.push_back(entry);
    } while (FindNextFileW(search, &found));
    FindClose(search);

    std::sort(listed.begin(), listed.end(), ListedBefore);
    names->reserve(listed.size());
    for (size_t i = 0; i < listed.size(); i++)
        names->push_back(listed[i].name);
    return true;
}

// ---------------------------------------------------------------- folders

FolderResult CreateCategoryFolder(const char* parent, const char* name)
{
    char path[SLOT_SIZE];
    if (!SlotJoin(path, parent, "\\", name))
        return FOLDER_PATH_TOO_LONG;
    return CreateDirectory1251(path) ? FOLDER_CREATED : FOLDER_NOT_CREATED;
}

FolderResult CreateFactFolder(const char* directive, const char* name, char* factFolder)
{
    char path[SLOT_SIZE];
    if (!SlotJoin(path, directive, "\\", name))
        return FOLDER_PATH_TOO_LONG;
    SlotCopy(factFolder, path);
    return CreateDirectory1251(path) ? FOLDER_CREATED : FOLDER_NOT_CREATED;
}

FolderState GetFolderState(const char* path)
{
    DWORD attributes = GetFileAttributes1251(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FOLDER_MISSING;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FOLDER_IN_USE;
    std::wstring pattern = WideFrom1251(path) + L"\\*";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return FOLDER_EMPTY;
    FolderState state = FOLDER_EMPTY;
    do {
        if (lstrcmpW(found.cFileName, L".") != 0 && lstrcmpW(found.cFileName, L"..") != 0)
            state = FOLDER_IN_USE;
    } while (state == FOLDER_EMPTY && FindNextFileW(search, &found));
    FindClose(search);
    return state;
}

// ---------------------------------------------------------------- file paths

bool DescriptionFilePath(const char* factFolder, char* out)
{
    return SlotJoin(out, factFolder, "\\", Text::DescriptionFile);
}

bool MainTextFilePath(const char* factFolder, const char* factName, char* out)
{
    return SlotJoin(out, factFolder, "\\", factName, Text::MainTextExtension);
}

// ---------------------------------------------------------------- writing

namespace {

// The bytes a text file holds for an edit text: every byte as it is, except
// that a LF without a CR before it gets one (a text-mode write of the text
// with each CR LF folded to LF gives the same bytes).
std::string FileBytesOf(const char* text)
{
    std::string bytes;
    bytes.reserve(strlen(text) + 16);
    char previous = '\0';
    for (const char* p = text; *p; p++) {
        if (*p == '\n' && previous != '\r')
            bytes += '\r';
        bytes += *p;
        previous = *p;
    }
    return bytes;
}

// A fresh file beside the target. Its name is short, so that it stays within
// the platform's path limit wherever the target's path does.
HANDLE CreateTemporaryBeside(const std::wstring& target, std::wstring* temporary)
{
    size_t separator = target.find_last_of(L"\\/");
    std::wstring folder = separator == std::wstring::npos ? std::wstring() : target.substr(0, separator + 1);
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 16; attempt++) {
        counter++;
        wchar_t name[16];
        wsprintfW(name, L"~%07x", (GetTickCount() * 31u + GetCurrentProcessId() + counter) & 0xFFFFFFFu);
        *temporary = folder + name;
        HANDLE file = CreateFileW(temporary->c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD asked = (DWORD)std::min<size_t>(bytes.size() - done, 1u << 20);
        DWORD written = 0;
        // A full disk can show as a short write that still reports success.
        if (!WriteFile(file, bytes.data() + done, asked, &written, NULL) || written != asked)
            return false;
        done += written;
    }
    return true;
}

} // namespace

bool WriteTextFile(const char* path, const char* text)
{
    std::wstring target = WideFrom1251(path);
    DWORD attributes = GetFileAttributesW(target.c_str());
    // Windows refuses to replace a read-only file; Wine run as root does not,
    // so the program checks for itself.
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;

    std::wstring temporary;
    HANDLE file = CreateTemporaryBeside(target, &temporary);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = WriteAll(file, FileBytesOf(text));
    written = FlushFileBuffers(file) && written;
    written = CloseHandle(file) && written;
    if (written && MoveFileExW(temporary.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

// ---------------------------------------------------------------- reading

ReadResult ReadTextFile(const char* path, char* text)
{
    HANDLE file = CreateFileW(WideFrom1251(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return READ_CANNOT_OPEN;

    // What a text-mode read delivers (CR LF as LF, a lone CR as it is, 0x1A
    // ends the input), cut at the first NUL, with every LF then shown as
    // CR LF. Net effect: CR LF and a lone CR stay, a lone LF becomes CR LF.
    ReadResult result = READ_OK;
    int length = 0;
    bool pendingCR = false;
    bool ended = false;
    char chunk[65536];
    DWORD got = 0;
    while (!ended && result == READ_OK && ReadFile(file, chunk, sizeof chunk, &got, NULL) && got > 0) {
        for (DWORD i = 0; i < got && !ended; i++) {
            unsigned char byte = (unsigned char)chunk[i];
            if (byte == 0x1A || byte == 0) {
                ended = true;
                break;
            }
            if (pendingCR && byte == '\n') {
                pendingCR = false;
                // the CR is already in the text
            } else {
                pendingCR = byte == '\r';
                if (byte == '\n') {
                    if (length + 1 > SHOWN_TEXT_MAX) { result = READ_TOO_LONG; break; }
                    text[length++] = '\r';
                }
            }
            if (length + 1 > SHOWN_TEXT_MAX) { result = READ_TOO_LONG; break; }
            text[length++] = (char)byte;
        }
    }
    CloseHandle(file);
    if (result != READ_OK) {
        text[0] = '\0';
        return result;
    }
    text[length] = '\0';
    return READ_OK;
}

// ---------------------------------------------------------------- unfinished facts

void DeleteUnfinishedFact(const char* factFolder)
{
    if (SlotEquals(factFolder, Text::UnsetPath))
        return;
    char description[SLOT_SIZE];
    if (!DescriptionFilePath(factFolder, description))
        return;
    DeleteFile1251(description);
    RemoveDirectory1251(factFolder);
}
