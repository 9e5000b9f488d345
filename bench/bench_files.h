// Writing the benchmarks' bases: the bytes as given, a Windows-1251 path.
#pragma once
#include "../platform/platform_text.h"
#include <windows.h>
#include <string>

inline void WriteFile1251(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(WideFrom1251(path.c_str()).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
}
