#include "import_plan.h"
#include "../capture/capture_name.h"
#include "../platform/platform_text.h"
#include "../store/entry_name.h"
#include "../store/fact_shape.h"
#include "../store/folder_walk.h"
#include "../store/path_slot.h"
#include "../store/text_file.h"

#include <windows.h>
#include <algorithm>
#include <set>

namespace {

const DWORD HIDDEN_OR_SYSTEM = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

struct Listed {
    std::wstring name;
    bool folder;
    DWORD attributes;
    unsigned long long lastWrite;
};

std::vector<Listed> ListSorted(const std::wstring& folder)
{
    std::vector<Listed> entries;
    VisitFolder(
        folder,
        [](const FolderEntry& entry, void* context) {
            Listed listed = { entry.name, entry.isFolder, entry.attributes, entry.stamp.lastWrite };
            ((std::vector<Listed>*)context)->push_back(listed);
            return true;
        },
        &entries);
    std::sort(entries.begin(), entries.end(), [](const Listed& a, const Listed& b) {
        int order = lstrcmpiW(a.name.c_str(), b.name.c_str());
        return order != 0 ? order < 0 : a.name < b.name;
    });
    return entries;
}

// The name without its extension, and whether the extension is one of a text.
bool SplitName(const std::wstring& file, std::wstring* name, bool* markdown)
{
    size_t dot = file.find_last_of(L'.');
    *markdown = false;
    if (dot == std::wstring::npos || dot == 0) {
        *name = file;
        return true;
    }
    *name = file.substr(0, dot);
    const wchar_t* extension = file.c_str() + dot + 1;
    *markdown = lstrcmpiW(extension, L"md") == 0 || lstrcmpiW(extension, L"markdown") == 0;
    return *markdown || lstrcmpiW(extension, L"txt") == 0 || lstrcmpiW(extension, L"text") == 0;
}

std::wstring LastPart(const std::wstring& path)
{
    std::wstring trimmed = path;
    while (!trimmed.empty() && (trimmed.back() == L'\\' || trimmed.back() == L'/'))
        trimmed.pop_back();
    size_t separator = trimmed.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? trimmed : trimmed.substr(separator + 1);
}

std::wstring ParentOf(const std::wstring& path)
{
    size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

struct Scan {
    ImportPlan* plan;
    int levelsLeft;
};

int DirectiveIndex(ImportPlan* plan, const std::string& path)
{
    for (size_t i = plan->directives.size(); i-- > 0;)
        if (plan->directives[i] == path)
            return (int)i;
    plan->directives.push_back(path);
    return (int)plan->directives.size() - 1;
}

std::string DirectiveOf(const Scan& scan, const std::vector<std::wstring>& relative)
{
    std::string path = scan.plan->place;
    for (const std::string& name : CategoriesFor(relative, scan.plan->sourceName, scan.levelsLeft))
        path += "\\" + name;
    return path;
}

void JudgeFile(ImportFile* file)
{
    std::string bytes;
    bool tooLarge;
    if (!ReadSourceFile(file->source, SourceBytesMax(), &bytes, &tooLarge)) {
        file->skip = tooLarge ? SKIP_TOO_LONG : SKIP_UNREADABLE;
        return;
    }
    file->guess = GuessSourceEncoding(bytes);
    std::wstring text;
    file->skip = JudgeSourceText(bytes, file->guess.encoding, &text);
}

void AddFile(Scan* scan, const std::wstring& path, const Listed& entry, const std::vector<std::wstring>& relative)
{
    ImportFile file;
    file.source = path;
    file.guess.encoding = SOURCE_UTF8;
    file.guess.uncertain = false;
    file.directive = -1;
    file.lastWrite = entry.lastWrite;
    bool text = SplitName(entry.name, &file.name, &file.markdown);
    if (entry.attributes & HIDDEN_OR_SYSTEM)
        file.skip = SKIP_HIDDEN;
    else if (!text)
        file.skip = SKIP_OTHER_KIND;
    else
        JudgeFile(&file);
    if (file.skip == IMPORT_TAKEN)
        file.directive = DirectiveIndex(scan->plan, DirectiveOf(*scan, relative));
    scan->plan->files.push_back(file);
}

// A hidden or system folder (a version control's, a notes program's
// settings) is left out whole, as one line.
void AddHiddenFolder(Scan* scan, const std::wstring& path, const Listed& entry)
{
    ImportFile folder = { path, entry.name, false, SKIP_HIDDEN, { SOURCE_UTF8, false }, -1, entry.lastWrite };
    scan->plan->files.push_back(folder);
}

// Files first, then each sub-folder: a folder's own facts come before those below it.
void ScanFolder(Scan* scan, const std::wstring& folder, std::vector<std::wstring>* relative)
{
    std::vector<Listed> entries = ListSorted(folder);
    for (const Listed& entry : entries)
        if (!entry.folder)
            AddFile(scan, folder + L"\\" + entry.name, entry, *relative);
    for (const Listed& entry : entries) {
        if (!entry.folder)
            continue;
        if (entry.attributes & HIDDEN_OR_SYSTEM) {
            AddHiddenFolder(scan, folder + L"\\" + entry.name, entry);
            continue;
        }
        relative->push_back(entry.name);
        ScanFolder(scan, folder + L"\\" + entry.name, relative);
        relative->pop_back();
    }
}

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributes1251(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CountCategories(ImportPlan* plan)
{
    std::set<std::string> seen;
    for (const std::string& directive : plan->directives) {
        // Every category between the place and the Directive, the Directive included.
        for (size_t at = plan->place.size(); at < directive.size();) {
            size_t end = directive.find('\\', at + 1);
            if (end == std::string::npos)
                end = directive.size();
            std::string category = directive.substr(0, end);
            if (seen.insert(category).second)
                (IsFolder(category) ? plan->existingCategories : plan->newCategories)++;
            at = end;
        }
    }
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\f';
}

}  // namespace

size_t SourceBytesMax()
{
    // UTF-8 takes at most three bytes for one character of a text, and a BOM before.
    return 3 * (size_t)EDIT_TEXT_MAX + 4;
}

bool ReadSourceFile(const std::wstring& path, size_t limit, std::string* bytes, bool* tooLarge)
{
    *tooLarge = false;
    bytes->clear();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) != 0;
    if (ok && (unsigned long long)size.QuadPart > limit) {
        *tooLarge = true;
        ok = false;
    }
    if (ok && size.QuadPart > 0) {
        bytes->resize((size_t)size.QuadPart);
        DWORD got = 0;
        ok = ReadFile(file, &(*bytes)[0], (DWORD)size.QuadPart, &got, NULL) && got == (DWORD)size.QuadPart;
    }
    CloseHandle(file);
    return ok;
}

ImportSkip JudgeSourceText(const std::string& bytes, SourceEncoding encoding, std::wstring* text)
{
    if (bytes.empty())
        return SKIP_EMPTY;
    std::wstring decoded;
    switch (DecodeSource(bytes, encoding, &decoded)) {
    case SOURCE_BLANK: return SKIP_EMPTY;
    case SOURCE_NOT_TEXT: return SKIP_NOT_TEXT;
    case SOURCE_TEXT: break;
    }
    *text = WithCrLf(decoded);
    return text->size() > (size_t)EDIT_TEXT_MAX ? SKIP_TOO_LONG : IMPORT_TAKEN;
}

std::wstring WithCrLf(const std::wstring& text)
{
    std::wstring lines;
    lines.reserve(text.size() + text.size() / 32 + 2);
    for (size_t i = 0; i < text.size(); i++) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            lines += L"\r\n";
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                i++;
        } else {
            lines += c;
        }
    }
    return lines;
}

std::wstring DescriptionOf(const std::wstring& text, bool markdown)
{
    for (size_t begin = 0; begin < text.size();) {
        size_t end = text.find_first_of(L"\r\n", begin);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(begin, end - begin);
        begin = end + 1;
        size_t first = 0;
        while (first < line.size() && IsBlank(line[first]))
            first++;
        if (markdown && first < line.size() && line[first] == L'#') {
            size_t marks = line.find_first_not_of(L'#', first);
            if (marks != std::wstring::npos && marks - first <= 6 && IsBlank(line[marks])) {
                line = line.substr(marks);
                // A closing run of marks belongs to the heading's syntax too.
                size_t last = line.find_last_not_of(L" \t\f");
                if (last != std::wstring::npos && line[last] == L'#') {
                    size_t closing = line.find_last_not_of(L'#', last);
                    if (closing != std::wstring::npos && IsBlank(line[closing]))
                        line.resize(closing);
                }
                first = 0;
                while (first < line.size() && IsBlank(line[first]))
                    first++;
            }
        }
        size_t last = line.find_last_not_of(L" \t\f");
        if (last == std::wstring::npos || last < first)
            continue;
        line = line.substr(first, last + 1 - first);
        if (line.size() <= DESCRIPTION_LENGTH)
            return line;
        size_t cut = line.find_last_of(L" \t", DESCRIPTION_LENGTH);
        if (cut == std::wstring::npos || cut == 0)
            cut = DESCRIPTION_LENGTH;
        line.resize(cut);
        last = line.find_last_not_of(L" \t\f");
        line.resize(last == std::wstring::npos ? 0 : last + 1);
        return line;
    }
    return std::wstring();
}

std::vector<std::string> CategoriesFor(const std::vector<std::wstring>& relative, const std::wstring& sourceName,
                                       int levelsLeft)
{
    std::vector<std::string> names;
    if (levelsLeft <= 0)
        return names;
    std::vector<std::wstring> levels = relative;
    while ((int)levels.size() < levelsLeft)
        levels.insert(levels.begin(), sourceName);
    if ((int)levels.size() > levelsLeft) {
        std::wstring joined = levels[levelsLeft - 1];
        for (size_t i = levelsLeft; i < levels.size(); i++)
            joined += L" - " + levels[i];
        levels.resize(levelsLeft);
        levels.back() = joined;
    }
    for (const std::wstring& level : levels) {
        char name[SLOT_SIZE];
        SuggestFactName(level, NULL, name);
        names.push_back(name);
    }
    return names;
}

PlanResult PlanImport(const std::string& root, const std::string& place, const std::wstring& source, ImportPlan* plan)
{
    *plan = ImportPlan();
    plan->root = root;
    plan->place = place;
    plan->source = source;
    plan->placeLevel = place == root ? 0 : LevelBelowRoot(root.c_str(), place.c_str());
    if ((place != root && (plan->placeLevel < 1 || plan->placeLevel > DIRECTIVE_LEVEL)) || !IsFolder(place))
        return PLAN_BAD_PLACE;
    std::wstring folder = source;
    while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PLAN_NO_SOURCE;
    Scan scan = { plan, DIRECTIVE_LEVEL - plan->placeLevel };
    std::vector<std::wstring> relative;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        plan->sourceName = LastPart(folder);
        ScanFolder(&scan, folder, &relative);
    } else {
        // One file: its own folder stands for the source folder.
        plan->sourceName = LastPart(ParentOf(folder));
        Listed entry = { LastPart(folder), false, attributes, StampOfFile(folder).lastWrite };
        AddFile(&scan, folder, entry, relative);
    }
    if (plan->sourceName.empty())
        plan->sourceName = LastPart(folder);
    for (const ImportFile& file : plan->files) {
        if (file.skip == IMPORT_TAKEN)
            plan->taken++;
        else
            plan->skipped[file.skip]++;
    }
    CountCategories(plan);
    return PLAN_READY;
}

PlanResult PlanImportOfMany(const std::string& root, const std::string& place, const std::vector<std::wstring>& sources,
                            ImportPlan* plan)
{
    *plan = ImportPlan();
    if (sources.empty())
        return PLAN_NO_SOURCE;
    for (size_t i = 0; i < sources.size(); i++) {
        ImportPlan one;
        PlanResult result = PlanImport(root, place, sources[i], &one);
        if (result != PLAN_READY)
            return result;
        if (i == 0) {
            *plan = one;
            if (sources.size() == 1)
                return PLAN_READY;
            std::wstring first = sources[0];
            while (first.size() > 3 && (first.back() == L'\\' || first.back() == L'/'))
                first.pop_back();
            plan->source = ParentOf(first);
            continue;
        }
        for (ImportFile file : one.files) {
            if (file.directive >= 0)
                file.directive = DirectiveIndex(plan, one.directives[file.directive]);
            plan->files.push_back(file);
        }
        plan->taken += one.taken;
        for (int reason = 0; reason < IMPORT_SKIPS; reason++)
            plan->skipped[reason] += one.skipped[reason];
    }
    // A category two sources share is counted once.
    plan->newCategories = 0;
    plan->existingCategories = 0;
    CountCategories(plan);
    return PLAN_READY;
}
