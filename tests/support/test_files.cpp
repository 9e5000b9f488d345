#include "test_files.h"
#include "../../platform/platform_text.h"

#include <windows.h>
#include <algorithm>
#include <stdexcept>

std::wstring Wide(const std::string& text1251)
{
    return WideFrom1251(text1251.c_str(), (int)text1251.size());
}

std::string Cp1251(const std::wstring& text)
{
    std::string out(text.size() * 2 + 1, '\0');
    if (TextTo1251(text.c_str(), (int)text.size(), &out[0], (int)out.size()) != TEXT_FITS)
        return "<not 1251>";
    out.resize(strlen(out.c_str()));
    return out;
}

std::string Utf16Bytes(const std::wstring& text, bool littleEndian)
{
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (wchar_t c : text) {
        char high = (char)(c >> 8), low = (char)(c & 0xFF);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

static void RemoveTreeWide(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTreeWide(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

void RemoveTree(const std::string& path)
{
    RemoveTreeWide(Wide(path));
}

namespace {
struct SessionFolder {
    std::wstring path;
    ~SessionFolder()
    {
        if (!path.empty()) {
            SetCurrentDirectoryW(L"C:\\");
            RemoveTreeWide(path);
        }
    }
};
SessionFolder session;
}  // namespace

std::string NewTestFolder()
{
    static int counter = 0;
    if (session.path.empty()) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        session.path = std::wstring(temp) + L"факты-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                       std::to_wstring(GetTickCount());
        CreateDirectoryW(session.path.c_str(), NULL);
    }
    std::wstring folder = session.path + L"\\тест" + std::to_wstring(++counter);
    if (!CreateDirectoryW(folder.c_str(), NULL))
        throw std::runtime_error("cannot create a test folder");
    return Cp1251(folder);
}

void MakeFolder(const std::string& path)
{
    if (!CreateDirectoryW(Wide(path).c_str(), NULL))
        throw std::runtime_error("cannot create folder " + path);
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create file " + path);
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
}

bool ReadBytes(const std::string& path, std::string* bytes)
{
    bytes->clear();
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, NULL) && got > 0)
        bytes->append(chunk, got);
    CloseHandle(file);
    return true;
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SetReadOnly(const std::string& path, bool readOnly)
{
    SetFileAttributesW(Wide(path).c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

std::vector<std::string> FolderEntries(const std::string& path)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((Wide(path) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(Cp1251(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string CurrentDirectory()
{
    wchar_t path[1024];
    GetCurrentDirectoryW(1024, path);
    return Cp1251(path);
}

std::string LinesOfText(size_t length)
{
    std::string text;
    text.reserve(length + 80);
    while (text.size() < length)
        text += std::string(78, '\xFB') + "\r\n";
    text.resize(length);
    if (!text.empty() && text.back() == '\r')
        text.back() = '\xFB';  // no half line break at the end
    return text;
}

std::string EmptyDriveT()
{
    const char* alias = getenv("FACTS_DRIVE_T_ALIAS");
    if (!alias || !*alias)
        return "";
    RemoveTree(alias);
    MakeFolder(alias);
    return alias;
}
