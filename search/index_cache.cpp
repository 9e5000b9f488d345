#include "index_cache.h"
#include "text_fold.h"
#include "../store/text_file.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"

#include <windows.h>
#include <shlobj.h>
#include <wchar.h>
#include <algorithm>
#include <cstring>

namespace {

// The file: the mark and version, the root, the categories, the facts, and
// last a checksum of everything before it. Numbers little-endian, as the
// processors the program runs on hold them.
const char MARK[8] = { 'F', 'A', 'C', 'T', 'I', 'D', 'X', '\x1A' };
// Raised whenever the file's layout or what its numbers mean changes (the
// stamps' hash among them): an older file is then ignored and made anew.
const unsigned VERSION = 1;

unsigned long long Checksum(unsigned long long hash, const char* bytes, size_t length)
{
    for (size_t i = 0; i < length; i++) {
        hash ^= (unsigned char)bytes[i];
        hash *= 1099511628211ull;
    }
    return hash;
}

const unsigned long long CHECKSUM_START = 14695981039346656037ull;

// ---------------------------------------------------------------- writing

// Streamed through a small buffer: the cache is about as large as the
// index, and the index may be most of what the program holds.
struct CacheWriter {
    const FactIndex* index;
    void* file;
    std::string buffer;
    unsigned long long checksum;
    bool ok;
};

void Flush(CacheWriter* writer)
{
    writer->ok = writer->ok && WriteFilePiece(writer->file, writer->buffer.data(), writer->buffer.size());
    writer->buffer.clear();
}

void Put(CacheWriter* writer, const void* bytes, size_t length)
{
    writer->checksum = Checksum(writer->checksum, (const char*)bytes, length);
    writer->buffer.append((const char*)bytes, length);
    if (writer->buffer.size() >= (1u << 16))
        Flush(writer);
}

template <typename Number> void PutNumber(CacheWriter* writer, Number value)
{
    Put(writer, &value, sizeof value);
}

bool FillCache(void* file, void* context)
{
    CacheWriter* writer = (CacheWriter*)context;
    writer->file = file;
    const FactIndex& index = *writer->index;
    Put(writer, MARK, sizeof MARK);
    PutNumber(writer, VERSION);
    PutNumber(writer, (unsigned)index.root.size());
    Put(writer, index.root.data(), index.root.size());
    PutNumber(writer, (unsigned)index.categories.size());
    for (unsigned c = 0; c < index.categories.size(); c++) {
        std::string_view name = NameOfCategory(index, c);
        PutNumber(writer, index.categories[c].parent);
        PutNumber(writer, (unsigned short)name.size());
        Put(writer, name.data(), name.size());
    }
    PutNumber(writer, (unsigned)index.facts.size());
    for (const IndexedFact& fact : index.facts) {
        PutNumber(writer, fact.directive);
        PutNumber(writer, fact.unreadable);
        PutNumber(writer, fact.stamps);
        PutNumber(writer, (unsigned short)fact.text.nameLength());
        PutNumber(writer, (unsigned)fact.text.foldedLength());
        Put(writer, fact.text.name(), fact.text.nameLength());
        Put(writer, fact.text.folded(), fact.text.foldedLength());
    }
    unsigned long long checksum = writer->checksum;
    writer->buffer.append((const char*)&checksum, sizeof checksum);
    Flush(writer);
    return writer->ok;
}

// ---------------------------------------------------------------- reading

// Read through a small window as it is parsed, for the same reason it is
// written so; the checksum is taken on the way and compared at the end,
// and until then nothing read is trusted.
struct CacheReader {
    HANDLE file;
    std::string window;        // read from the file, not yet taken from `at` on
    size_t at;
    unsigned long long unread;  // of the body, still in the file
    unsigned long long checksum;
    bool ok;
};

unsigned long long Remaining(const CacheReader* reader)
{
    return reader->unread + (reader->window.size() - reader->at);
}

// The next length bytes, valid until the next Take; NULL (and ok false)
// past the end of the body or on a failed read.
const char* Take(CacheReader* reader, size_t length)
{
    if (!reader->ok || length > Remaining(reader)) {
        reader->ok = false;
        return nullptr;
    }
    if (reader->window.size() - reader->at < length) {
        reader->window.erase(0, reader->at);
        reader->at = 0;
        size_t held = reader->window.size();
        size_t wanted = (size_t)std::min<unsigned long long>(std::max<size_t>(length - held, 1u << 16), reader->unread);
        reader->window.resize(held + wanted);
        DWORD got = 0;
        if (!ReadFile(reader->file, &reader->window[held], (DWORD)wanted, &got, NULL) || got != wanted) {
            reader->ok = false;
            return nullptr;
        }
        reader->unread -= wanted;
    }
    const char* bytes = reader->window.data() + reader->at;
    reader->at += length;
    reader->checksum = Checksum(reader->checksum, bytes, length);
    return bytes;
}

template <typename Number> Number TakeNumber(CacheReader* reader)
{
    Number value = 0;
    if (const char* bytes = Take(reader, sizeof value))
        memcpy(&value, bytes, sizeof value);
    return value;
}

// How many levels a category lies below the root, or 0 when its parents
// do not lead up to a Section within the levels there are.
int DepthOf(const FactIndex& index, unsigned category)
{
    for (int depth = 1; depth <= CATEGORY_LEVELS; depth++) {
        category = index.categories[category].parent;
        if (category == NO_CATEGORY)
            return depth;
    }
    return 0;
}

bool ParseCache(CacheReader* reader, const std::string& root, FactIndex* index)
{
    const char* mark = Take(reader, sizeof MARK);
    if (!mark || memcmp(mark, MARK, sizeof MARK) != 0 || TakeNumber<unsigned>(reader) != VERSION)
        return false;
    unsigned rootLength = TakeNumber<unsigned>(reader);
    const char* rootBytes = Take(reader, rootLength);
    if (!rootBytes || std::string(rootBytes, rootLength) != root)
        return false;
    index->root = root;
    unsigned categories = TakeNumber<unsigned>(reader);
    // Every entry takes some bytes (a category at least 7, a fact 20): a
    // count larger than what is left could hold is damage, found before
    // anything is made for it.
    if (categories > Remaining(reader) / 7)
        return false;
    for (unsigned i = 0; i < categories && reader->ok; i++) {
        unsigned parent = TakeNumber<unsigned>(reader);
        unsigned short length = TakeNumber<unsigned short>(reader);
        const char* name = Take(reader, length);
        if (!name || length == 0 || (parent != NO_CATEGORY && parent >= categories))
            return false;
        AddIndexedCategory(index, parent, std::string_view(name, length));
    }
    for (unsigned i = 0; i < categories; i++)
        if (DepthOf(*index, i) == 0)
            return false;
    unsigned facts = TakeNumber<unsigned>(reader);
    if (!reader->ok || facts > Remaining(reader) / 20)
        return false;
    index->facts.reserve(facts);
    for (unsigned i = 0; i < facts && reader->ok; i++) {
        IndexedFact fact;
        fact.directive = TakeNumber<unsigned>(reader);
        fact.unreadable = TakeNumber<unsigned char>(reader);
        fact.stamps = TakeNumber<unsigned long long>(reader);
        unsigned short nameLength = TakeNumber<unsigned short>(reader);
        unsigned foldedLength = TakeNumber<unsigned>(reader);
        const char* bytes = Take(reader, nameLength);
        std::string name = bytes ? std::string(bytes, nameLength) : std::string();
        const char* folded = Take(reader, foldedLength);
        if (!folded || nameLength == 0 || fact.directive >= categories ||
            DepthOf(*index, fact.directive) != CATEGORY_LEVELS)
            return false;
        fact.text = FactText(name, folded, foldedLength);
        index->facts.push_back(std::move(fact));
    }
    return reader->ok && Remaining(reader) == 0;
}

std::wstring LocalAppData()
{
    wchar_t folder[MAX_PATH * 2];
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH * 2);
    if (length > 0 && length < MAX_PATH * 2)
        return folder;
    if (SHGetFolderPathW(NULL, CSIDL_LOCAL_APPDATA, NULL, SHGFP_TYPE_CURRENT, folder) == S_OK)
        return folder;
    return std::wstring();
}

std::wstring FullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH * 4];
    DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 4, full, NULL);
    std::wstring result = length > 0 && length < MAX_PATH * 4 ? std::wstring(full) : path;
    while (result.size() > 3 && result.back() == L'\\')
        result.pop_back();
    return result;
}

// Folder names are compared as the file system compares them, whatever the
// case of any letter, Cyrillic ones too.
std::wstring Upper(const std::wstring& text)
{
    std::wstring upper(text);
    if (!upper.empty())
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.c_str(), (int)text.size(), &upper[0], (int)upper.size());
    return upper;
}

bool AtOrBelow(const std::wstring& path, const std::wstring& folder)
{
    std::wstring top = Upper(folder.back() == L'\\' ? folder.substr(0, folder.size() - 1) : folder);
    std::wstring below = Upper(path);
    return below.size() >= top.size() && below.compare(0, top.size(), top) == 0 &&
           (below.size() == top.size() || below[top.size()] == L'\\');
}

}  // namespace

std::wstring IndexCacheFile(const std::string& root)
{
    wchar_t setting[16] = L"";
    GetEnvironmentVariableW(L"FACTS_INDEX_CACHE", setting, 16);
    if (_wcsicmp(setting, L"off") == 0)
        return std::wstring();
    std::wstring folder = LocalAppData();
    if (folder.empty())
        return std::wstring();
    // One file per root, named by a hash of it: the root itself may be
    // longer than a file name may be.
    std::string folded = FoldText(root);
    char hash[24];
    wsprintfA(hash, "%016I64x", Checksum(CHECKSUM_START, folded.data(), folded.size()));
    std::wstring file = FullPath(folder) + L"\\" + WideFrom1251(Text::IndexCacheFolder) + L"\\" +
                        WideFrom1251(Text::IndexCachePrefix) + WideFrom1251(hash) + L".bin";
    if (AtOrBelow(file, FullPath(WideFrom1251(root.c_str()))))
        return std::wstring();
    return file;
}

bool SaveIndexCache(const FactIndex& index, const std::wstring& file)
{
    size_t separator = file.find_last_of(L'\\');
    if (separator == std::wstring::npos)
        return false;
    CreateDirectoryW(file.substr(0, separator).c_str(), NULL);
    CacheWriter writer = { &index, nullptr, std::string(), CHECKSUM_START, true };
    writer.buffer.reserve((1u << 16) + 4096);
    return ReplaceFileStreamed(file, FillCache, &writer);
}

bool LoadIndexCache(const std::wstring& file, const std::string& root, FactIndex* index)
{
    *index = FactIndex();
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(handle, &size) && size.QuadPart >= (LONGLONG)(sizeof MARK + sizeof(unsigned long long));
    CacheReader reader = { handle, std::string(), 0, ok ? (unsigned long long)size.QuadPart - 8 : 0, CHECKSUM_START, ok };
    ok = ok && ParseCache(&reader, root, index);
    unsigned long long stored = 0;
    DWORD got = 0;
    ok = ok && ReadFile(handle, &stored, sizeof stored, &got, NULL) && got == sizeof stored &&
         stored == reader.checksum;
    CloseHandle(handle);
    if (!ok)
        *index = FactIndex();
    return ok;
}
