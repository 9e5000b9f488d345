#include "console_text.h"
#include "platform_text.h"

#include <windows.h>
#include <string>

// A program without a console of its own writes to its parent's: to a
// console as text, to a pipe or file as UTF-8. The parent's console, once
// attached, is opened for each message and closed after it.
void SayOnConsole(const char* text1251, ConsoleStream stream)
{
    SayOnConsoleWide(WideFrom1251(text1251), stream);
}

void SayOnConsoleWide(const std::wstring& text, ConsoleStream stream)
{
    HANDLE out = GetStdHandle(stream == CONSOLE_OUTPUT ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    HANDLE opened = INVALID_HANDLE_VALUE;
    if (!out || out == INVALID_HANDLE_VALUE) {
        if (AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED)  // attached already
            opened = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
        out = opened;
    }
    if (!out || out == INVALID_HANDLE_VALUE)
        return;
    std::wstring wide = text + L"\r\n";
    DWORD mode, written;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, wide.c_str(), (DWORD)wide.size(), &written, NULL);
    } else {
        int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), (int)wide.size(), NULL, 0, NULL, NULL);
        std::string utf8(size > 0 ? size : 0, '\0');
        if (size > 0)
            WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), (int)wide.size(), &utf8[0], size, NULL, NULL);
        WriteFile(out, utf8.data(), (DWORD)utf8.size(), &written, NULL);
    }
    if (opened != INVALID_HANDLE_VALUE)
        CloseHandle(opened);
}
