// The program keeps names, paths and texts as Windows-1251 bytes; the platform
// speaks UTF-16. Every text that crosses that line is converted here, explicitly,
// so that Russian texts stay right whatever code page the system runs with.
// Characters that Windows-1251 cannot hold are reported, never replaced.
#pragma once
#include <windows.h>
#include <string>

// Whether a converted text could be stored.
enum TextFit {
    TEXT_FITS,      // converted whole
    TEXT_TOO_LONG,  // does not fit the given capacity; the output is left unchanged
    TEXT_NOT_1251   // holds a character outside Windows-1251; the output is left unchanged
};

// Windows-1251 to UTF-16. Every byte of the code page has a character.
std::wstring WideFrom1251(const char* text);
std::wstring WideFrom1251(const char* text, int length);

// UTF-16 (length characters, or up to the terminator when length is -1) to
// Windows-1251 in out, terminated, at most capacity - 1 characters.
TextFit TextTo1251(const wchar_t* text, int length, char* out, int capacity);

// Kernel calls with Windows-1251 paths.
TextFit GetCurrentDirectory1251(char* out, int capacity);
bool SetCurrentDirectory1251(const char* path);
bool CreateDirectory1251(const char* path);
bool RemoveDirectory1251(const char* path);
bool DeleteFile1251(const char* path);
DWORD GetFileAttributes1251(const char* path);  // INVALID_FILE_ATTRIBUTES when missing

// Antivirus, the search indexer and sync tools open files for a moment, and
// a move, rename, replace or delete that meets them is refused as in use.
// Calls attempt (true: done; false: failed, the reason in GetLastError) and,
// while it fails as in use (a sharing or lock violation, or access denied,
// which is what Windows says for a folder with something open inside), again,
// for about a second in all. The last failure's reason stays in GetLastError.
bool RetryWhileInUse(bool (*attempt)(void* context), void* context);
bool FailedAsInUse(DWORD error);

// MoveFileExW through RetryWhileInUse.
bool MoveFileRetried(const wchar_t* from, const wchar_t* to, DWORD flags);
