#include "import_run.h"
#include "../capture/capture_base.h"
#include "../capture/capture_name.h"
#include "../capture/capture_text.h"
#include "../platform/platform_text.h"
#include "../store/base_changes.h"
#include "../store/fact_shape.h"
#include "../store/fact_store.h"
#include "../store/path_slot.h"
#include "../store/same_text.h"
#include "../store/text_encoding.h"

#include <windows.h>
#include <algorithm>
#include <map>
#include <unordered_map>

namespace {

// ---------------------------------------------------------------- the texts of the base

// Each fact's main text by the hash of its key: eight bytes and a path a
// fact, never the texts. A hash met again is confirmed by reading that fact.
struct KnownTexts {
    std::unordered_multimap<unsigned long long, size_t> byHash;
    std::vector<std::string> folders;
    std::vector<std::string> names;
};

bool MainTextKey(const std::string& folder, const std::string& name, std::wstring* key)
{
    char path[SLOT_SIZE];
    std::string bytes;
    if (!MainTextFilePath(folder.c_str(), name.c_str(), path) || ReadWholeFile(path, &bytes) != READ_OK)
        return false;
    *key = SameTextKey(TextOfFactFile(bytes));
    return true;
}

void Know(KnownTexts* known, const std::string& folder, const std::string& name, const std::wstring& key)
{
    if (key.empty())
        return;
    known->folders.push_back(folder);
    known->names.push_back(name);
    known->byHash.emplace(SameTextHash(key), known->folders.size() - 1);
}

bool KnowFact(const SeenFact& fact, void* context)
{
    std::wstring key;
    if (MainTextKey(fact.folder, fact.name, &key))
        Know((KnownTexts*)context, fact.folder, fact.name, key);
    return true;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    return lstrcmpiW(WideFrom1251(a.c_str()).c_str(), WideFrom1251(b.c_str()).c_str()) == 0;
}

std::string ParentOf(const std::string& path)
{
    size_t separator = path.find_last_of('\\');
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

// The fact of directive that has key, else the first elsewhere; both empty when none has.
void FindSame(const KnownTexts& known, const std::wstring& key, const std::string& directive, std::string* here,
              std::string* elsewhere)
{
    here->clear();
    elsewhere->clear();
    auto range = known.byHash.equal_range(SameTextHash(key));
    for (auto it = range.first; it != range.second; ++it) {
        const std::string& folder = known.folders[it->second];
        std::wstring theirs;
        if (!MainTextKey(folder, known.names[it->second], &theirs) || theirs != key)
            continue;
        if (SameFolder(ParentOf(folder), directive)) {
            *here = folder;
            return;
        }
        if (elsewhere->empty())
            *elsewhere = folder;
    }
}

// ---------------------------------------------------------------- categories

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributes1251(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The shortest fact a Directive must leave room for: a one-letter name, its
// folder and the longer of its two files.
size_t RoomForAFact()
{
    return 2 + 1 + std::max(DescriptionFileName().size(), MainTextFileName("x").size());
}

struct Run {
    const ImportPlan* plan;
    ImportRecord* record;
    KnownTexts known;
    std::map<std::string, bool> directiveReady;
};

// Makes the categories between the place and directive that are not there.
bool MakeDirective(Run* run, const std::string& directive)
{
    auto found = run->directiveReady.find(directive);
    if (found != run->directiveReady.end())
        return found->second;
    bool ready = directive.size() + RoomForAFact() <= (size_t)SLOT_CHARS;
    const std::string& place = run->plan->place;
    for (size_t at = place.size(); ready && at < directive.size();) {
        size_t end = directive.find('\\', at + 1);
        if (end == std::string::npos)
            end = directive.size();
        std::string parent = directive.substr(0, at);
        std::string name = directive.substr(at + 1, end - at - 1);
        std::string category = directive.substr(0, end);
        at = end;
        if (run->directiveReady.count(category) && run->directiveReady[category])
            continue;
        switch (CreateCategoryFolder(run->plan->root.c_str(), parent.c_str(), name.c_str())) {
        case FOLDER_CREATED:
            run->record->categories.push_back(category);
            AnnounceFolderCreated(category.c_str());
            break;
        case FOLDER_EXISTS: ready = IsFolder(category); break;
        default: ready = false; break;
        }
        run->directiveReady[category] = ready;
    }
    run->directiveReady[directive] = ready;
    return ready;
}

// Made categories the import left empty go again: none stays without a fact.
void RemoveEmptyCategories(ImportRecord* record)
{
    for (size_t i = record->categories.size(); i-- > 0;) {
        const std::string& category = record->categories[i];
        if (GetFolderState(category.c_str()) == FOLDER_EMPTY && RemoveDirectory1251(category.c_str())) {
            AnnounceFolderRemoved(category.c_str());
            record->categories.erase(record->categories.begin() + i);
        }
    }
}

// ---------------------------------------------------------------- one fact

bool HasLetterOrDigit(const std::wstring& text)
{
    for (wchar_t c : text)
        if (IsCharAlphaNumericW(c))
            return true;
    return false;
}

// The bytes the fact's file holds: Windows-1251 when every character fits,
// byte for byte what the wizard would write; otherwise UTF-8 with a BOM.
std::string FileBytesOf(const std::wstring& text)
{
    if (!FitsWindows1251(text))
        return EncodeText(text, ENCODING_UTF8_BOM);
    std::vector<char> narrow(text.size() + 1);
    if (TextTo1251(text.c_str(), (int)text.size(), narrow.data(), (int)narrow.size()) != TEXT_FITS)
        return EncodeText(text, ENCODING_UTF8_BOM);
    return std::string(narrow.data(), text.size());
}

// Whether the file at path reads back, as the program will read it, as text.
bool ReadsBackAs(const char* path, const std::wstring& text)
{
    std::string bytes;
    return ReadWholeFile(path, &bytes) == READ_OK && TextOfFactFile(bytes) == text;
}

enum Made { MADE_FACT, MADE_NAME_TAKEN, MADE_NOTHING, MADE_MISMATCH };

// Both files into the fact folder just made, or nothing: on any failure
// what was written and the folder go again.
Made WriteFactFiles(const std::string& directive, const char* factFolder, const char* name,
                    const std::wstring& description, const std::wstring& text, unsigned long long lastWrite,
                    ImportedFact* made)
{
    char descriptionPath[SLOT_SIZE], mainTextPath[SLOT_SIZE];
    bool paths = DescriptionFilePath(factFolder, descriptionPath) && MainTextFilePath(factFolder, name, mainTextPath) &&
                 PathPlainBelow(mainTextPath, directive.c_str());
    bool descriptionWritten =
        paths && CreateNewTextFile(descriptionPath, FileBytesOf(description), NULL, &made->description);
    bool textWritten =
        descriptionWritten && CreateNewTextFile(mainTextPath, FileBytesOf(text), &lastWrite, &made->mainText);
    bool same = textWritten && ReadsBackAs(mainTextPath, text);
    if (same)
        return MADE_FACT;
    if (textWritten)
        DeleteFile1251(mainTextPath);
    if (descriptionWritten)
        DeleteFile1251(descriptionPath);
    RemoveDirectory1251(factFolder);
    return textWritten ? MADE_MISMATCH : MADE_NOTHING;
}

// Another writer may take the name between its check and the folder's creation.
const int NAME_ATTEMPTS = 3;

ImportOutcome WriteFact(Run* run, const ImportFile& file, const std::string& directive, const std::wstring& text,
                        std::string* factFolder)
{
    std::wstring description = DescriptionOf(text, file.markdown);
    // A file named only by signs is named by its first words instead.
    const std::wstring& naming = HasLetterOrDigit(file.name) ? file.name : text;
    char name[SLOT_SIZE], folder[SLOT_SIZE];
    for (int attempt = 0; attempt < NAME_ATTEMPTS; attempt++) {
        if (SuggestFactName(naming, directive.c_str(), name, SLOT_CHARS) != NAME_OK)
            return OUTCOME_NAME_REFUSED;
        switch (CreateFactFolder(directive.c_str(), name, folder)) {
        case FOLDER_CREATED: break;
        case FOLDER_EXISTS: continue;  // made meanwhile: never written into
        case FOLDER_NOT_CREATED: return IsFolder(directive) ? OUTCOME_NAME_REFUSED : OUTCOME_PLACE_FAILED;
        default: return OUTCOME_NAME_REFUSED;
        }
        ImportedFact made = { folder, name, {}, {} };
        switch (WriteFactFiles(directive, folder, name, description, text, file.lastWrite, &made)) {
        case MADE_FACT: break;
        case MADE_MISMATCH: *factFolder = folder; return OUTCOME_MISMATCH;
        default: return OUTCOME_WRITE_FAILED;
        }
        *factFolder = folder;
        run->record->facts.push_back(made);
        AnnounceFactChanged(folder);
        return OUTCOME_IMPORTED;
    }
    return OUTCOME_NAME_REFUSED;
}

ImportOutcome ImportOne(Run* run, const ImportFile& file, ImportFileResult* result)
{
    std::string bytes;
    std::wstring text;
    bool tooLarge;
    if (!ReadSourceFile(file.source, SourceBytesMax(), &bytes, &tooLarge) ||
        JudgeSourceText(bytes, file.guess.encoding, &text) != IMPORT_TAKEN)
        return OUTCOME_SOURCE_CHANGED;
    bytes.clear();
    const std::string& directive = run->plan->directives[file.directive];
    std::wstring key = SameTextKey(text);
    std::string here;
    FindSame(run->known, key, directive, &here, &result->sameAs);
    if (!here.empty()) {
        result->factFolder = here;
        return OUTCOME_ALREADY_THERE;
    }
    if (!MakeDirective(run, directive))
        return OUTCOME_PLACE_FAILED;
    ImportOutcome outcome = WriteFact(run, file, directive, text, &result->factFolder);
    if (outcome != OUTCOME_IMPORTED) {
        result->sameAs.clear();
        return outcome;
    }
    Know(&run->known, result->factFolder, run->record->facts.back().name, key);
    return result->sameAs.empty() ? OUTCOME_IMPORTED : OUTCOME_DUPLICATE;
}

}  // namespace

void RunImport(const ImportPlan& plan, ImportProgress progress, void* context, ImportReport* report,
               ImportRecord* record)
{
    *report = ImportReport();
    *record = ImportRecord();
    record->root = plan.root;
    record->place = plan.place;
    record->sourceName = plan.sourceName;
    Run run;
    run.plan = &plan;
    run.record = record;
    WalkFactFolders(plan.root.c_str(), KnowFact, &run.known);

    report->files.resize(plan.files.size());
    int done = 0;
    for (size_t i = 0; i < plan.files.size(); i++) {
        const ImportFile& file = plan.files[i];
        ImportFileResult& result = report->files[i];
        result.outcome = OUTCOME_SKIPPED;
        if (file.skip != IMPORT_TAKEN || file.directive < 0)
            continue;
        if (!report->cancelled && progress && !progress(done, plan.taken, context))
            report->cancelled = true;
        if (report->cancelled) {
            result.outcome = OUTCOME_NOT_REACHED;
            continue;
        }
        result.outcome = ImportOne(&run, file, &result);
        done++;
    }
    report->reached = done;
    RemoveEmptyCategories(record);
    for (const ImportFileResult& result : report->files)
        report->count[result.outcome]++;
}

bool ImportSucceeded(const ImportReport& report)
{
    return report.count[OUTCOME_NAME_REFUSED] == 0 && report.count[OUTCOME_PLACE_FAILED] == 0 &&
           report.count[OUTCOME_WRITE_FAILED] == 0 && report.count[OUTCOME_MISMATCH] == 0 &&
           report.count[OUTCOME_SOURCE_CHANGED] == 0 && report.count[OUTCOME_NOT_REACHED] == 0;
}
