// The import benchmark: 10,000 source files of about 2 KB in six encodings,
// in a tree three levels deep, imported into a Section, against the floor of
// reading every source file and writing two files per fact into new folders
// with plain Win32 calls; a second run of the same import; the heap the
// import holds at most. Then the base check at 5,000 facts with and without
// the search for repeats.
#include "bench_files.h"
#include "timing.h"
#include "../check/base_check.h"
#include "../import/import_run.h"
#include "../platform/platform_text.h"
#include "../store/folder_walk.h"

#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "heap_count.h"

namespace {

const char* const WORDS[] = {
    "город",  "река",    "мост",     "башня",  "пирамида", "крепость", "гавань", "рынок",   "площадь", "собор",
    "север",  "ветер",   "камень",   "лес",    "поле",     "дорога",   "король", "война",   "договор", "старый",
    "новый",  "высокий", "древний",  "стоит",  "строился", "защищал",  "видел",  "помнит",  "хранит",  "лежит",
    "Москва", "Казань",  "двадцать", "сорок",  "лет",      "веков",    "у",      "над",     "под",     "за",
};
const int WORD_COUNT = sizeof WORDS / sizeof *WORDS;
unsigned Seed = 2029;

unsigned Next()
{
    Seed = Seed * 1103515245u + 12345u;
    return (Seed >> 16) & 0x7FFF;
}

// About 2 KB of Russian prose in lines, its first line unique.
std::wstring SourceText(int number)
{
    std::string text = "Заметка " + std::to_string(number) + "\n";
    while (text.size() < 1100) {  // Cyrillic: two bytes a letter in UTF-8
        for (int word = 0; word < 10; word++) {
            text += WORDS[Next() % WORD_COUNT];
            text += word == 9 ? ".\n" : " ";
        }
    }
    return WideFrom1251(text.c_str());
}

std::string Encoded(const std::wstring& text, int kind)
{
    const UINT pages[] = { 1251, 20866, 866, CP_UTF8, CP_UTF8 };
    if (kind == 5) {
        std::string bytes = "\xFF\xFE";
        bytes.append((const char*)text.data(), text.size() * 2);
        return bytes;
    }
    int size = WideCharToMultiByte(pages[kind], 0, text.data(), (int)text.size(), NULL, 0, NULL, NULL);
    std::string bytes(size, '\0');
    WideCharToMultiByte(pages[kind], 0, text.data(), (int)text.size(), &bytes[0], size, NULL, NULL);
    return kind == 4 ? "\xEF\xBB\xBF" + bytes : bytes;
}

// 10 × 10 × 10 folders of 10 files, made once: the marker beside it is written last.
void MakeSource(const std::string& source, int files)
{
    std::string marker = source + " готово";
    if (GetFileAttributes1251(marker.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    CreateDirectory1251(source.c_str());
    for (int n = 0; n < files; n++) {
        std::string a = source + "\\Папка " + std::to_string(n / 1000 % 10 + 1);
        std::string b = a + "\\Подпапка " + std::to_string(n / 100 % 10 + 1);
        std::string c = b + "\\Раздел " + std::to_string(n / 10 % 10 + 1);
        if (n % 10 == 0) {
            CreateDirectory1251(a.c_str());
            CreateDirectory1251(b.c_str());
            CreateDirectory1251(c.c_str());
        }
        WriteFile1251(c + "\\заметка " + std::to_string(n + 1) + ".txt", Encoded(SourceText(n + 1), n % 6));
    }
    WriteFile1251(marker, "");
}

// ---------------------------------------------------------------- the floor

struct Floor {
    std::wstring target;
    size_t facts;
};

bool WriteWhole(const std::wstring& path, const char* bytes, DWORD size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0;
    bool done = file != INVALID_HANDLE_VALUE && WriteFile(file, bytes, size, &written, NULL) && written == size;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return done;
}

// Each source folder becomes a folder of the target, each file a folder
// holding two files: its first 100 bytes and all of it.
void FloorFolder(const std::wstring& from, const std::wstring& to, Floor* floor)
{
    CreateDirectoryW(to.c_str(), NULL);
    struct Entries {
        std::vector<std::wstring> names;
        std::vector<bool> folders;
    } entries;
    VisitFolder(
        from,
        [](const FolderEntry& entry, void* context) {
            ((Entries*)context)->names.push_back(entry.name);
            ((Entries*)context)->folders.push_back(entry.isFolder);
            return true;
        },
        &entries);
    std::vector<char> buffer(1 << 20);
    for (size_t i = 0; i < entries.names.size(); i++) {
        std::wstring source = from + L"\\" + entries.names[i];
        std::wstring target = to + L"\\" + entries.names[i];
        if (entries.folders[i]) {
            FloorFolder(source, target, floor);
            continue;
        }
        HANDLE file = CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        DWORD got = 0;
        if (file != INVALID_HANDLE_VALUE) {
            ReadFile(file, buffer.data(), (DWORD)buffer.size(), &got, NULL);
            CloseHandle(file);
        }
        CreateDirectoryW(target.c_str(), NULL);
        WriteWhole(target + L"\\Описание.txt", buffer.data(), got < 100 ? got : 100);
        WriteWhole(target + L"\\" + entries.names[i], buffer.data(), got);
        floor->facts++;
    }
}

// Removes a tree the benchmark made, so that runs do not fill the disk.
void RemoveWide(const std::wstring& folder)
{
    std::vector<std::wstring> files, folders;
    struct Lists {
        std::vector<std::wstring>* files;
        std::vector<std::wstring>* folders;
    } lists = { &files, &folders };
    VisitFolder(
        folder,
        [](const FolderEntry& entry, void* context) {
            Lists* lists = (Lists*)context;
            (entry.isFolder ? lists->folders : lists->files)->push_back(entry.name);
            return true;
        },
        &lists);
    for (const std::wstring& file : files)
        DeleteFileW((folder + L"\\" + file).c_str());
    for (const std::wstring& below : folders)
        RemoveWide(folder + L"\\" + below);
    RemoveDirectoryW(folder.c_str());
}

void RemoveTree(const std::string& path)
{
    RemoveWide(WideFrom1251(path.c_str()));
}

std::string BenchBaseText(bool description)
{
    if (description)
        return "Описание факта";
    std::string text;
    while (text.size() < 600) {
        text += WORDS[Next() % WORD_COUNT];
        text += ' ';
    }
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    int files = argc > 1 ? atoi(argv[1]) : 10000;
    int runs = argc > 2 ? atoi(argv[2]) : 2;
    bool check = argc <= 3 || atoi(argv[3]) != 0;
    std::string temp = BenchTempFolder();
    std::string source = temp + "факты-импорт-источник-" + std::to_string(files);
    MakeSource(source, files);
    std::wstring wideSource = WideFrom1251(source.c_str());
    bool met = true;

    printf("| run | files | floor s | import s (plan + write) | import / floor | second run s | facts | heap peak MB |\n");
    printf("|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (int run = 1; run <= runs; run++) {
        std::string floorRoot = temp + "факты-импорт-пол";
        std::string importRoot = temp + "факты-импорт-база";
        RemoveTree(floorRoot);
        RemoveTree(importRoot);
        CreateDirectory1251(floorRoot.c_str());
        Floor floor = { WideFrom1251((floorRoot + "\\Раздел").c_str()), 0 };
        double floorStart = Now();
        FloorFolder(wideSource, floor.target, &floor);
        double floorTime = Now() - floorStart;

        CreateDirectory1251(importRoot.c_str());
        std::string section = importRoot + "\\Раздел";
        CreateDirectory1251(section.c_str());
        size_t heapBefore = HeapNow;
        HeapPeak = HeapNow;
        double start = Now();
        ImportPlan plan;
        ImportReport report;
        ImportRecord record;
        PlanImport(importRoot, section, wideSource, &plan);
        double planned = Now();
        RunImport(plan, NULL, NULL, &report, &record);
        double importTime = Now() - start;
        size_t heapPeak = HeapPeak - heapBefore;
        int facts = report.count[OUTCOME_IMPORTED] + report.count[OUTCOME_DUPLICATE];

        ImportPlan again;
        ImportReport second;
        ImportRecord nothing;
        double secondStart = Now();
        PlanImport(importRoot, section, wideSource, &again);
        RunImport(again, NULL, NULL, &second, &nothing);
        double secondTime = Now() - secondStart;
        if (second.count[OUTCOME_ALREADY_THERE] != facts || !nothing.facts.empty())
            fprintf(stderr, "the second run imported %d facts\n", (int)nothing.facts.size());
        if (facts != files || floor.facts != (size_t)files)
            fprintf(stderr, "imported %d facts, the floor wrote %d, of %d files\n", facts, (int)floor.facts, files);

        printf("| %d | %d | %.2f | %.2f (%.2f + %.2f) | %.2f | %.2f | %d | %.1f |\n", run, files, floorTime, importTime,
               planned - start, importTime - (planned - start), importTime / floorTime, secondTime, facts,
               heapPeak / 1048576.0);
        fflush(stdout);
        met = met && importTime <= 1.5 * floorTime;
        RemoveTree(floorRoot);
        RemoveTree(importRoot);
    }

    if (!check) {
        printf(met ? "all targets met\n" : "a target was missed\n");
        return met ? 0 : 1;
    }
    // The check at 5,000 facts: the same walk with and without comparing texts.
    std::string checkRoot = temp + "факты-повторы-5000";
    MakeBenchBase(checkRoot, 5, BenchBaseText);
    std::vector<double> without, with;
    size_t findings = 0;
    for (int i = 0; i < 3; i++) {
        BaseCheck check;
        double t0 = Now();
        CheckBase(checkRoot, &check, NULL, NULL, REPEATS_LEFT_OUT);
        without.push_back(Now() - t0);
        t0 = Now();
        CheckBase(checkRoot, &check, NULL, NULL, REPEATS_FOUND);
        with.push_back(Now() - t0);
        findings = check.findings.size();
    }
    std::sort(without.begin(), without.end());
    std::sort(with.begin(), with.end());
    printf("\n| facts | check without repeats s | check with repeats s | with / without | findings |\n");
    printf("|---:|---:|---:|---:|---:|\n");
    printf("| 5,000 | %.2f | %.2f | %.3f | %d |\n", without[1], with[1], with[1] / without[1], (int)findings);
    met = met && with[1] <= 1.10 * without[1];
    printf(met ? "all targets met\n" : "a target was missed\n");
    return met ? 0 : 1;
}
