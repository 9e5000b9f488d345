// The search benchmarks' bases and their floor, shared by the benchmark of
// the index in its own process and by the one of the running program, so
// that both time the same base against the same walk. The texts are words
// from a fixed list drawn with a fixed seed: set Seed to 12345 before
// making a base, and every run makes the same one.
#pragma once
#include "../store/folder_walk.h"
#include "../platform/platform_text.h"
#include "bench_files.h"

#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

const char* const WORDS[] = {
    "город",    "река",     "мост",    "башня",    "пирамида", "крепость", "гавань",  "рынок",  "площадь", "собор",
    "север",    "юг",       "ветер",   "камень",   "лес",      "поле",     "дорога",  "король", "война",   "договор",
    "старый",   "новый",    "высокий", "древний",  "каменный", "речной",   "морской", "зимний", "летний",  "тайный",
    "стоит",    "строился", "защищал", "торговал", "видел",    "помнит",   "хранит",  "ведёт",  "лежит",   "растёт",
    "двадцать", "сорок",    "сто",     "лет",      "веков",    "дней",     "у",       "над",    "под",     "за",
};
const int WORD_COUNT = sizeof WORDS / sizeof WORDS[0];

inline unsigned Seed = 12345;
inline unsigned NextRandom()
{
    Seed = Seed * 1103515245u + 12345u;
    return Seed >> 8;
}

inline std::string Sentence(size_t bytes)
{
    std::string text;
    while (text.size() < bytes) {
        text += WORDS[NextRandom() % WORD_COUNT];
        text += NextRandom() % 9 == 0 ? ".\r\n" : " ";
    }
    return text;
}

// The floor: every folder listed and, with read set, every file read whole.
struct Floor {
    std::wstring folder;
    bool read;
    std::vector<char>* buffer;
    size_t bytes;
};

inline bool WalkEntry(const FolderEntry& entry, void* context)
{
    Floor* floor = (Floor*)context;
    std::wstring path = floor->folder + L"\\" + entry.name;
    if (entry.isFolder) {
        Floor below = { path, floor->read, floor->buffer, 0 };
        VisitFolder(path, WalkEntry, &below);
        floor->bytes += below.bytes;
    } else if (floor->read) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        DWORD got = 0;
        if (file != INVALID_HANDLE_VALUE) {
            ReadFile(file, floor->buffer->data(), (DWORD)floor->buffer->size(), &got, NULL);
            CloseHandle(file);
        }
        floor->bytes += got;
    }
    return true;
}

// The bytes read.
inline size_t Walk(const std::wstring& folder, bool read, std::vector<char>* buffer)
{
    Floor top = { folder, read, buffer, 0 };
    VisitFolder(folder, WalkEntry, &top);
    return top.bytes;
}

// A base shaped like a real collection of short texts: 100 Sections,
// about 8,000 Topics spread very unevenly (the first Sections hold hundreds,
// most a few dozen), 1-3 Subtopics a Topic, 1-2 Directives a Subtopic,
// names of 10-40 characters, and `facts` facts of 60-200 bytes dealt over
// the Directives at random. Made once, as MakeBenchBase makes its bases.
inline std::string NameOf(const char* kind, int number)
{
    std::string name = std::string(kind) + " " + std::to_string(number);
    size_t length = 10 + NextRandom() % 31;
    while (name.size() < length) {
        name += " ";
        name += WORDS[NextRandom() % WORD_COUNT];
    }
    name.resize(length);
    // Windows drops a trailing blank from a name, and the path would then lead nowhere.
    while (name.back() == ' ')
        name.pop_back();
    return name;
}

inline void MakeCollectionBase(const std::string& root, int facts)
{
    std::string marker = root + "\\готово";
    if (GetFileAttributes1251(marker.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    CreateDirectory1251(root.c_str());
    std::vector<std::string> directives;
    const int SECTIONS = 100, TOPICS = 8000;
    double weights[SECTIONS], total = 0;
    for (int s = 0; s < SECTIONS; s++)
        total += weights[s] = 1.0 / (s + 1);
    for (int s = 0; s < SECTIONS; s++) {
        std::string section = root + "\\" + NameOf("Раздел", s + 1);
        CreateDirectory1251(section.c_str());
        int topics = std::max(1, (int)(TOPICS * weights[s] / total));
        for (int t = 0; t < topics; t++) {
            std::string topic = section + "\\" + NameOf("Тема", t + 1);
            CreateDirectory1251(topic.c_str());
            for (int u = 0, subtopics = 1 + NextRandom() % 3; u < subtopics; u++) {
                std::string subtopic = topic + "\\" + NameOf("Подтема", u + 1);
                CreateDirectory1251(subtopic.c_str());
                for (int d = 0, count = 1 + NextRandom() % 2; d < count; d++) {
                    directives.push_back(subtopic + "\\" + NameOf("Установка", d + 1));
                    CreateDirectory1251(directives.back().c_str());
                }
            }
        }
    }
    char name[64];
    for (int f = 0; f < facts; f++) {
        snprintf(name, sizeof name, "Факт %06d", f + 1);
        std::string fact = directives[NextRandom() % directives.size()] + "\\" + name;
        if (!CreateDirectory1251(fact.c_str()))
            continue;
        WriteFile1251(fact + "\\Описание.txt", Sentence(20 + NextRandom() % 40));
        WriteFile1251(fact + "\\" + name + ".txt", Sentence(60 + NextRandom() % 140));
    }
    WriteFile1251(marker, "");
}
