#include "text_file.h"
#include "path_slot.h"
#include "../platform/platform_text.h"

#include <windows.h>
#include <string.h>
#include <string>
#include <vector>

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
        HANDLE file = CreateFileW(temporary->c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const char* bytes, size_t length)
{
    size_t done = 0;
    while (done < length) {
        DWORD asked = (DWORD)std::min<size_t>(length - done, 1u << 20);
        DWORD written = 0;
        // A full disk can show as a short write that still reports success.
        if (!WriteFile(file, bytes + done, asked, &written, NULL) || written != asked)
            return false;
        done += written;
    }
    return true;
}

bool WriteAll(HANDLE file, const std::string& bytes)
{
    return WriteAll(file, bytes.data(), bytes.size());
}

// The largest file read whole. A text that could be shown is far smaller;
// a larger file is only read to find an early end.
const DWORD READ_BYTES_MAX = 64u << 20;

unsigned long long TicksOf(const FILETIME& time)
{
    return (unsigned long long)time.dwHighDateTime << 32 | time.dwLowDateTime;
}

// Every byte of the file and, where state is given, the state they make. False when it cannot be
// opened or read, or is larger than READ_BYTES_MAX (tooLarge then set).
bool ReadFileBytes(const std::wstring& path, std::string* bytes, FileState* state, bool* tooLarge)
{
    *tooLarge = false;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // Size and time alone: GetFileInformationByHandle also asks for the
    // volume, which costs Wine a millisecond a file. The time only where
    // the state is wanted: an export reads thousands of files.
    LARGE_INTEGER size;
    FILETIME lastWrite = {};
    bool ok = GetFileSizeEx(file, &size) && (!state || GetFileTime(file, NULL, NULL, &lastWrite));
    if (ok && size.QuadPart > (LONGLONG)READ_BYTES_MAX) {
        *tooLarge = true;
        ok = false;
    }
    if (ok) {
        bytes->resize((size_t)size.QuadPart);
        DWORD got = 0;
        ok = size.QuadPart == 0 ||
             (ReadFile(file, &(*bytes)[0], (DWORD)size.QuadPart, &got, NULL) && got == (DWORD)size.QuadPart);
    }
    CloseHandle(file);
    if (!ok)
        return false;
    if (!state)
        return true;
    state->exists = true;
    state->size = bytes->size();
    state->lastWrite = TicksOf(lastWrite);
    Sha256(bytes->data(), bytes->size(), state->hash);
    return true;
}

FileChange CompareWide(const std::wstring& path, const FileState& remembered)
{
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &now) ||
        (now.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FILE_GONE;
    unsigned long long size = (unsigned long long)now.nFileSizeHigh << 32 | now.nFileSizeLow;
    if (size != remembered.size || TicksOf(now.ftLastWriteTime) != remembered.lastWrite)
        return FILE_CHANGED;
    std::string bytes;
    FileState current;
    bool tooLarge;
    if (!ReadFileBytes(path, &bytes, &current, &tooLarge))
        return tooLarge ? FILE_CHANGED : FILE_GONE;
    return memcmp(current.hash, remembered.hash, SHA256_SIZE) == 0 ? FILE_UNCHANGED : FILE_CHANGED;
}

// The attributes a replaced file keeps; read-only never gets this far.
const DWORD KEPT_ATTRIBUTES =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

FileChange CompareFileState(const char* path, const FileState& remembered)
{
    if (!remembered.exists)
        return GetFileAttributes1251(path) == INVALID_FILE_ATTRIBUTES ? FILE_UNCHANGED : FILE_CHANGED;
    return CompareWide(WideFrom1251(path), remembered);
}

WriteResult ReplaceTextFile(const char* path, const char* text, const FileState* expected, FileState* written,
                            TextEncoding encoding)
{
    std::wstring target = WideFrom1251(path);
    DWORD attributes = GetFileAttributesW(target.c_str());
    // Windows refuses to replace a read-only file; Wine run as root does not,
    // so the program checks for itself.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return WRITE_FAILED;

    std::string bytes = FileBytesOf(text);
    if (encoding != ENCODING_1251)
        bytes = EncodeText(WideFrom1251(bytes.data(), (int)bytes.size()), encoding);
    std::wstring temporary;
    HANDLE file = CreateTemporaryBeside(target, &temporary);
    if (file == INVALID_HANDLE_VALUE)
        return WRITE_FAILED;
    bool done = WriteAll(file, bytes);
    done = FlushFileBuffers(file) && done;
    done = CloseHandle(file) && done;
    WriteResult result = done ? WRITE_DONE : WRITE_FAILED;

    // The check comes last, with the new content already on disk beside the
    // target, so that only the instant of the move itself is left open. The
    // platform has no way to compare and replace in one step; a change made
    // in that instant is accepted.
    if (result == WRITE_DONE && expected) {
        FileChange change = CompareFileState(path, *expected);
        if (change == FILE_CHANGED)
            result = WRITE_CHANGED_ELSEWHERE;
        else if (change == FILE_GONE)
            result = WRITE_GONE;
        else
            attributes = GetFileAttributesW(target.c_str());
    }
    if (result == WRITE_DONE && attributes != INVALID_FILE_ATTRIBUTES && (attributes & KEPT_ATTRIBUTES) &&
        !SetFileAttributesW(temporary.c_str(), attributes & KEPT_ATTRIBUTES))
        result = WRITE_FAILED;
    if (result == WRITE_DONE &&
        !MoveFileRetried(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        result = WRITE_FAILED;
    if (result != WRITE_DONE) {
        DeleteFileW(temporary.c_str());
        return result;
    }
    if (written) {
        WIN32_FILE_ATTRIBUTE_DATA now;
        written->exists = true;
        written->size = bytes.size();
        written->lastWrite =
            GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &now) ? TicksOf(now.ftLastWriteTime) : 0;
        Sha256(bytes.data(), bytes.size(), written->hash);
    }
    return WRITE_DONE;
}

bool WriteTextFile(const char* path, const char* text)
{
    return ReplaceTextFile(path, text, NULL, NULL) == WRITE_DONE;
}

bool ReplaceFileStreamed(const std::wstring& path, FileFiller fill, void* context)
{
    std::wstring temporary;
    HANDLE file = CreateTemporaryBeside(path, &temporary);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool done = fill(file, context);
    done = CloseHandle(file) && done;
    done = done && MoveFileRetried(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!done)
        DeleteFileW(temporary.c_str());
    return done;
}

bool WriteFilePiece(void* file, const void* bytes, size_t length)
{
    return WriteAll((HANDLE)file, (const char*)bytes, length);
}

bool CreateNewTextFile(const char* path, const std::string& bytes, const unsigned long long* lastWrite,
                       FileState* state)
{
    std::wstring wide = WideFrom1251(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool done = WriteAll(file, bytes);
    FILETIME time = {};
    if (done && lastWrite) {
        time.dwLowDateTime = (DWORD)*lastWrite;
        time.dwHighDateTime = (DWORD)(*lastWrite >> 32);
        done = SetFileTime(file, NULL, NULL, &time) != 0;
    }
    // The time as the file system keeps it, which may be coarser than the one set.
    done = done && GetFileTime(file, NULL, NULL, &time);
    done = CloseHandle(file) && done;
    if (!done) {
        DeleteFileW(wide.c_str());
        return false;
    }
    state->exists = true;
    state->size = bytes.size();
    state->lastWrite = TicksOf(time);
    Sha256(bytes.data(), bytes.size(), state->hash);
    return true;
}

// ---------------------------------------------------------------- reading

namespace {

// What a text-mode read delivers (CR LF as LF, a lone CR as it is, 0x1A
// ends the input), cut at the first NUL, with every LF then shown as CR LF.
// Net effect: CR LF and a lone CR stay, a lone LF becomes CR LF. The same
// rules for bytes and for decoded characters.
// cut, when given, tells whether anything but NUL and 0x1A followed the end.
template <typename Char>
bool ApplyLineRules(const Char* input, size_t count, std::basic_string<Char>* out, size_t maximum, bool* cut)
{
    bool pendingCR = false;
    *cut = false;
    for (size_t i = 0; i < count; i++) {
        Char c = input[i];
        if (c == 0x1A || c == 0) {
            for (size_t j = i + 1; j < count && !*cut; j++)
                *cut = input[j] != 0 && input[j] != 0x1A;
            break;
        }
        if (pendingCR && c == '\n') {
            pendingCR = false;  // the CR is already in the text
        } else {
            pendingCR = c == '\r';
            if (c == '\n')
                *out += (Char)'\r';
        }
        *out += c;
        if (out->size() > maximum)
            return false;
    }
    return true;
}

}  // namespace

ReadResult ReadTextFile(const char* path, char* text, FileState* state, TextFormat* format)
{
    text[0] = '\0';
    std::string bytes;
    FileState read;
    bool tooLarge;
    if (!ReadFileBytes(WideFrom1251(path), &bytes, state ? &read : NULL, &tooLarge))
        return tooLarge ? READ_TOO_LONG : READ_CANNOT_OPEN;
    if (state)
        *state = read;

    TextFormat found = { DetectEncoding(bytes), false, false };
    std::string shown;
    if (found.encoding == ENCODING_1251) {
        if (!ApplyLineRules(bytes.data(), bytes.size(), &shown, (size_t)SHOWN_TEXT_MAX, &found.cut))
            return READ_TOO_LONG;
    } else {
        bool malformed;
        std::wstring decoded = DecodeText(bytes, found.encoding, &malformed);
        std::wstring lines;
        if (!ApplyLineRules(decoded.data(), decoded.size(), &lines, (size_t)SHOWN_TEXT_MAX, &found.cut))
            return READ_TOO_LONG;
        if (!lines.empty()) {
            // Each character Windows-1251 lacks (and each undecodable byte,
            // already U+FFFD) becomes the mark, never a look-alike letter.
            char mark[2] = { LOST_CHARACTER_MARK, '\0' };
            BOOL replaced = FALSE;
            int size = WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, lines.data(), (int)lines.size(), NULL, 0, mark,
                                           &replaced);
            if (size > SHOWN_TEXT_MAX)
                return READ_TOO_LONG;
            shown.resize(size);
            WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, lines.data(), (int)lines.size(), &shown[0], size, mark,
                                &replaced);
            found.lossy = replaced != FALSE;
        }
        found.lossy = found.lossy || malformed;
    }
    memcpy(text, shown.data(), shown.size());
    text[shown.size()] = '\0';
    if (format)
        *format = found;
    return READ_OK;
}

ReadResult ReadWholeFile(const char* path, std::string* bytes, FileState* state)
{
    FileState read;
    bool tooLarge;
    if (!ReadFileBytes(WideFrom1251(path), bytes, &read, &tooLarge))
        return tooLarge ? READ_TOO_LONG : READ_CANNOT_OPEN;
    if (state)
        *state = read;
    return READ_OK;
}
