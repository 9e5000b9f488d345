#include "platform_text.h"

static const UINT CYRILLIC_CODE_PAGE = 1251;

std::wstring WideFrom1251(const char* text, int length)
{
    if (length <= 0)
        return std::wstring();
    int wide = MultiByteToWideChar(CYRILLIC_CODE_PAGE, 0, text, length, NULL, 0);
    std::wstring result(wide, L'\0');
    MultiByteToWideChar(CYRILLIC_CODE_PAGE, 0, text, length, &result[0], wide);
    return result;
}

std::wstring WideFrom1251(const char* text)
{
    return WideFrom1251(text, lstrlenA(text));
}

TextFit TextTo1251(const wchar_t* text, int length, char* out, int capacity)
{
    if (length < 0)
        length = lstrlenW(text);
    if (length == 0) {
        if (capacity < 1)
            return TEXT_TOO_LONG;
        out[0] = '\0';
        return TEXT_FITS;
    }
    // One pass to learn the size and whether anything would be replaced, so that
    // a refusal leaves the output untouched.
    BOOL replaced = FALSE;
    int bytes = WideCharToMultiByte(CYRILLIC_CODE_PAGE, WC_NO_BEST_FIT_CHARS, text, length, NULL, 0, NULL, &replaced);
    if (replaced || bytes == 0)
        return TEXT_NOT_1251;
    if (bytes > capacity - 1)
        return TEXT_TOO_LONG;
    WideCharToMultiByte(CYRILLIC_CODE_PAGE, WC_NO_BEST_FIT_CHARS, text, length, out, bytes, NULL, NULL);
    out[bytes] = '\0';
    return TEXT_FITS;
}

TextFit GetCurrentDirectory1251(char* out, int capacity)
{
    wchar_t wide[MAX_PATH + 1];
    DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, wide);
    if (length == 0 || length > MAX_PATH)
        return TEXT_TOO_LONG;
    return TextTo1251(wide, (int)length, out, capacity);
}

bool SetCurrentDirectory1251(const char* path)
{
    return SetCurrentDirectoryW(WideFrom1251(path).c_str()) != FALSE;
}

bool CreateDirectory1251(const char* path)
{
    return CreateDirectoryW(WideFrom1251(path).c_str(), NULL) != FALSE;
}

bool RemoveDirectory1251(const char* path)
{
    return RemoveDirectoryW(WideFrom1251(path).c_str()) != FALSE;
}

bool DeleteFile1251(const char* path)
{
    return DeleteFileW(WideFrom1251(path).c_str()) != FALSE;
}

DWORD GetFileAttributes1251(const char* path)
{
    return GetFileAttributesW(WideFrom1251(path).c_str());
}

bool FailedAsInUse(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool RetryWhileInUse(bool (*attempt)(void* context), void* context)
{
    // Growing pauses, about a second in all: a scanner's look is over in a
    // few milliseconds, a real refusal costs no more than a second.
    static const DWORD PAUSES_MS[] = { 20, 50, 100, 200, 300, 330 };
    for (DWORD pause : PAUSES_MS) {
        if (attempt(context))
            return true;
        DWORD error = GetLastError();
        if (!FailedAsInUse(error))
            return false;
        Sleep(pause);
        SetLastError(error);
    }
    return attempt(context);
}

namespace {

struct FileMove {
    const wchar_t* from;
    const wchar_t* to;
    DWORD flags;
};

bool TryMoveFile(void* context)
{
    const FileMove* move = (const FileMove*)context;
    return MoveFileExW(move->from, move->to, move->flags) != FALSE;
}

}  // namespace

bool MoveFileRetried(const wchar_t* from, const wchar_t* to, DWORD flags)
{
    FileMove move = { from, to, flags };
    return RetryWhileInUse(TryMoveFile, &move);
}
