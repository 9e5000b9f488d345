// Writing the benchmarks' bases: the bytes as given, a Windows-1251 path.
#pragma once
#include "../platform/platform_text.h"
#include <windows.h>
#include <cstdio>
#include <string>

inline void WriteFile1251(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(WideFrom1251(path.c_str()).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
}

// The Windows temp folder, Windows-1251, with its trailing separator: where
// the benchmarks keep their bases.
inline std::string BenchTempFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    char temp1251[MAX_PATH * 2];
    TextTo1251(temp, -1, temp1251, sizeof temp1251);
    return temp1251;
}

// A base of 5 Sections x 5 Topics x 5 Subtopics x 8 Directives, perDirective
// facts in each ("Факт 000001" on), made once: a second run finds it made
// (the marker file is written last). text gives a fact's description (true)
// or main text (false).
inline void MakeBenchBase(const std::string& root, int perDirective, std::string (*text)(bool description))
{
    std::string marker = root + "\\готово";
    if (GetFileAttributes1251(marker.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    CreateDirectory1251(root.c_str());
    int number = 0;
    char name[64];
    for (int a = 1; a <= 5; a++) {
        std::string s = root + "\\Раздел " + std::to_string(a);
        CreateDirectory1251(s.c_str());
        for (int b = 1; b <= 5; b++) {
            std::string t = s + "\\Тема " + std::to_string(b);
            CreateDirectory1251(t.c_str());
            for (int c = 1; c <= 5; c++) {
                std::string u = t + "\\Подтема " + std::to_string(c);
                CreateDirectory1251(u.c_str());
                for (int d = 1; d <= 8; d++) {
                    std::string v = u + "\\Установка " + std::to_string(d);
                    CreateDirectory1251(v.c_str());
                    for (int f = 0; f < perDirective; f++) {
                        snprintf(name, sizeof name, "Факт %06d", ++number);
                        std::string fact = v + "\\" + name;
                        CreateDirectory1251(fact.c_str());
                        WriteFile1251(fact + "\\Описание.txt", text(true));
                        WriteFile1251(fact + "\\" + name + ".txt", text(false));
                    }
                }
            }
        }
    }
    WriteFile1251(marker, "");
}
