#include "base_check.h"
#include "../store/fact_shape.h"
#include "../maintenance/rename_delete.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"
#include "../store/conflict_copy.h"
#include "../store/entry_name.h"
#include "../store/fact_store.h"
#include "../store/folder_walk.h"
#include "../store/path_slot.h"
#include "../store/same_text.h"

#include <windows.h>
#include <algorithm>
#include <unordered_map>

namespace {

struct Entry {
    std::wstring name;
    bool folder;
};

// Everything in a folder, "." and ".." left out, in a fixed order so that
// two checks of the same base list their findings alike.
std::vector<Entry> EntriesOf(const std::wstring& folder)
{
    std::vector<Entry> entries;
    VisitFolder(
        folder,
        [](const FolderEntry& found, void* context) {
            Entry entry = { found.name, found.isFolder };
            ((std::vector<Entry>*)context)->push_back(entry);
            return true;
        },
        &entries);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        int order = lstrcmpiW(a.name.c_str(), b.name.c_str());
        return order != 0 ? order < 0 : a.name < b.name;
    });
    return entries;
}

// Whether the folder lists can show the name: the same rule as ListSubfolders.
bool ListsCanShow(const std::wstring& name)
{
    char narrow[LISTED_NAME_MAX + 1];
    return TextTo1251(name.c_str(), -1, narrow, LISTED_NAME_MAX + 1) == TEXT_FITS;
}

// Files the shell itself puts into folders it shows: a folder's look, thumbnails.
bool ShellsOwnFile(const std::wstring& name)
{
    return lstrcmpiW(name.c_str(), L"desktop.ini") == 0 || lstrcmpiW(name.c_str(), L"Thumbs.db") == 0;
}

// A path the walk reached through listed names only, so it always converts.
std::string Narrow(const std::wstring& path)
{
    std::vector<char> narrow(path.size() + 1);
    if (TextTo1251(path.c_str(), -1, narrow.data(), (int)narrow.size()) != TEXT_FITS)
        return std::string();
    return narrow.data();
}

bool EndsWithTxt(const std::wstring& name)
{
    return name.size() > 4 && lstrcmpiW(name.c_str() + name.size() - 4, L".txt") == 0;
}

// The temporary names the store's safe replace gives: "~" and seven hex digits.
bool IsLeftover(const std::wstring& name)
{
    if (name.size() != 8 || name[0] != L'~')
        return false;
    for (size_t i = 1; i < name.size(); i++)
        if (!iswxdigit(name[i]))
            return false;
    return true;
}

// What a fact folder holds, sorted out by role.
struct FactFiles {
    bool description;
    bool mainText;
    std::vector<std::wstring> otherTexts;  // .txt files that are neither of the two
    std::vector<std::wstring> leftovers;
    std::vector<std::wstring> folders;
    std::vector<std::wstring> conflicts[2];  // copies of the description, of the main text
};

FactFiles SortOutFact(const std::vector<Entry>& entries, const std::wstring& factName)
{
    FactFiles files = { false, false, {}, {}, {}, {} };
    std::wstring description = DescriptionFileNameW();
    std::wstring mainText = MainTextFileNameW(factName);
    for (const Entry& entry : entries) {
        if (entry.folder)
            files.folders.push_back(entry.name);
        else if (lstrcmpiW(entry.name.c_str(), description.c_str()) == 0)
            files.description = true;
        else if (lstrcmpiW(entry.name.c_str(), mainText.c_str()) == 0)
            files.mainText = true;
        else if (IsConflictCopyOf(entry.name, description))
            files.conflicts[0].push_back(entry.name);
        else if (IsConflictCopyOf(entry.name, mainText))
            files.conflicts[1].push_back(entry.name);
        else if (IsLeftover(entry.name))
            files.leftovers.push_back(entry.name);
        else if (EndsWithTxt(entry.name))
            files.otherTexts.push_back(entry.name);
    }
    // A copy beside a file that is missing is no conflict: it is the text
    // the other checks find missing or misnamed.
    const bool present[2] = { files.description, files.mainText };
    for (int file = 0; file < 2; file++) {
        if (!present[file]) {
            files.otherTexts.insert(files.otherTexts.end(), files.conflicts[file].begin(), files.conflicts[file].end());
            files.conflicts[file].clear();
        }
    }
    return files;
}

// A main text renamed outside the program can take the fact's name back
// only when there is no doubt which file it was, and the path will fit.
bool MainTextRecoverable(const FactFiles& files, const std::string& factFolder, const std::wstring& factName)
{
    char path[SLOT_SIZE];
    return !files.mainText && files.otherTexts.size() == 1 && !factFolder.empty() &&
           MainTextFilePath(factFolder.c_str(), Narrow(factName).c_str(), path);
}

// How a text file would fare in the browser.
struct TextShape {
    TextEncoding encoding;
    size_t characters;  // decoded, all of them
    size_t end;         // where the first NUL or 0x1A ends what is shown
    size_t shown;       // the shown part with each lone LF expanded to CR LF
    bool malformed;
    bool fits1251;  // every character has a Windows-1251 byte
};

template <typename Char>
void MeasureShown(const Char* text, size_t count, TextShape* shape)
{
    shape->characters = count;
    shape->end = count;
    shape->shown = 0;
    for (size_t i = 0; i < count; i++) {
        if (text[i] == 0 || text[i] == 0x1A) {
            shape->end = i;
            break;
        }
        shape->shown += text[i] == '\n' && (i == 0 || text[i - 1] != '\r') ? 2 : 1;
    }
}

TextShape ShapeOf(const std::string& bytes)
{
    TextShape shape = {};
    shape.encoding = DetectEncoding(bytes);
    shape.fits1251 = true;
    if (shape.encoding == ENCODING_1251) {
        MeasureShown(bytes.data(), bytes.size(), &shape);
        return shape;
    }
    std::wstring decoded = DecodeText(bytes, shape.encoding, &shape.malformed);
    MeasureShown(decoded.data(), decoded.size(), &shape);
    std::vector<char> narrow(decoded.size() + 1);
    shape.fits1251 = TextTo1251(decoded.data(), (int)decoded.size(), narrow.data(), (int)narrow.size()) == TEXT_FITS;
    return shape;
}

// Converting keeps every character, or it is not offered: nothing undecodable,
// nothing outside Windows-1251, nothing after an end mark that a read drops.
bool Convertible(const TextShape& shape)
{
    return shape.encoding != ENCODING_1251 && !shape.malformed && shape.fits1251 && shape.end == shape.characters &&
           shape.shown <= (size_t)SHOWN_TEXT_MAX;
}

// The main texts met so far, by the hash of their keys: eight bytes and a
// path a fact, the texts never kept.
struct MetTexts {
    std::unordered_multimap<unsigned long long, size_t> byHash;
    std::vector<std::wstring> mainTexts;
    std::vector<std::wstring> folders;
};

struct Walk {
    std::wstring root;
    BaseCheck* check;
    CheckProgress progress;
    void* context;
    bool stopped;
    RepeatSearch repeats;
    MetTexts met;
};

void Add(Walk* walk, FindingKind kind, const std::wstring& target, const std::string& folder,
         const std::string& factFolder, bool fixable, TextEncoding encoding = ENCODING_1251)
{
    Finding finding = { kind,    target,        target.substr(walk->root.size() + 1), folder, factFolder, encoding,
                        fixable, std::wstring(), std::wstring(), std::string() };
    walk->check->findings.push_back(finding);
}

// bytes, when given, receives what was read (nothing when it could not be).
void CheckText(Walk* walk, const std::wstring& path, const std::string& factFolder, std::string* read = NULL)
{
    std::string own;
    std::string& bytes = read ? *read : own;
    // Too large to be read at all is too long to be shown; a file that
    // cannot be opened right now is not the base's fault.
    switch (ReadWholeFile(Narrow(path).c_str(), &bytes)) {
    case READ_OK: break;
    case READ_TOO_LONG: Add(walk, FINDING_TEXT_TOO_LONG, path, factFolder, factFolder, false); return;
    case READ_CANNOT_OPEN: return;
    }
    TextShape shape = ShapeOf(bytes);
    if (shape.shown > (size_t)SHOWN_TEXT_MAX)
        Add(walk, FINDING_TEXT_TOO_LONG, path, factFolder, factFolder, false);
    else if (shape.end < shape.characters && shape.characters - shape.end > shape.end)
        Add(walk, FINDING_TEXT_HIDDEN, path, factFolder, factFolder, false);
    if (shape.encoding != ENCODING_1251)
        Add(walk, FINDING_NOT_1251, path, factFolder, factFolder, Convertible(shape), shape.encoding);
}

// A text met before, confirmed by reading that fact again, makes this fact
// a repeat of the first one that has it. Empty texts repeat nothing.
void LookForRepeat(Walk* walk, const std::wstring& folder, const std::wstring& mainText, const std::string& bytes)
{
    std::wstring key = SameTextKey(TextOfFactFile(bytes));
    if (key.empty())
        return;
    unsigned long long hash = SameTextHash(key);
    MetTexts& met = walk->met;
    auto range = met.byHash.equal_range(hash);
    for (auto it = range.first; it != range.second; ++it) {
        std::string earlier;
        if (ReadWholeFile(Narrow(met.mainTexts[it->second]).c_str(), &earlier) != READ_OK ||
            SameTextKey(TextOfFactFile(earlier)) != key)
            continue;
        std::string factFolder = Narrow(folder);
        Add(walk, FINDING_REPEAT, folder, factFolder, factFolder, false);
        walk->check->findings.back().sameAs = met.folders[it->second].substr(walk->root.size() + 1);
        walk->check->findings.back().sameAsFolder = Narrow(met.folders[it->second]);
        return;
    }
    met.mainTexts.push_back(mainText);
    met.folders.push_back(folder);
    met.byHash.emplace(hash, met.folders.size() - 1);
}

void CheckFact(Walk* walk, const std::wstring& folder, const std::wstring& name)
{
    walk->check->factsChecked++;
    std::string factFolder = Narrow(folder);
    std::vector<Entry> entries = EntriesOf(folder);
    if (entries.empty()) {
        Add(walk, FINDING_EMPTY_FACT, folder, factFolder, factFolder, true);
        return;
    }
    FactFiles files = SortOutFact(entries, name);
    for (const std::wstring& inner : files.folders)
        Add(walk, FINDING_FOLDER_IN_FACT, folder + L"\\" + inner, factFolder, factFolder, false);
    for (const std::wstring& leftover : files.leftovers)
        Add(walk, FINDING_LEFTOVER, folder + L"\\" + leftover, factFolder, factFolder, true);
    if (!files.description)
        Add(walk, FINDING_NO_DESCRIPTION, folder, factFolder, factFolder, false);
    if (!files.mainText)
        Add(walk, FINDING_NO_MAIN_TEXT, folder, factFolder, factFolder, MainTextRecoverable(files, factFolder, name));
    const std::wstring originals[2] = { DescriptionFileNameW(), MainTextFileNameW(name) };
    for (int file = 0; file < 2; file++) {
        for (const std::wstring& copy : files.conflicts[file]) {
            Add(walk, FINDING_CONFLICT_COPY, folder + L"\\" + copy, factFolder, factFolder, false);
            walk->check->findings.back().original = originals[file];
        }
    }
    if (files.description)
        CheckText(walk, DescriptionFileInW(folder), factFolder);
    if (files.mainText) {
        std::string bytes;
        CheckText(walk, MainTextFileInW(folder, name), factFolder, &bytes);
        if (walk->repeats == REPEATS_FOUND && !bytes.empty())
            LookForRepeat(walk, folder, MainTextFileInW(folder, name), bytes);
    }
}

// level: 0 for the base root, 1 Section … 4 Directive, whose folders are facts.
void CheckLevel(Walk* walk, const std::wstring& folder, int level)
{
    std::string shown = Narrow(folder);
    for (const Entry& entry : EntriesOf(folder)) {
        if (walk->stopped)
            return;
        std::wstring path = folder + L"\\" + entry.name;
        if (!entry.folder) {
            // The root's own files (the wallpaper, the program) belong there.
            if (level > 0 && !ShellsOwnFile(entry.name))
                Add(walk, FINDING_STRAY_FILE, path, shown, std::string(), false);
        } else if (!ListsCanShow(entry.name)) {
            Add(walk, FINDING_UNLISTED_NAME, path, shown, std::string(), false);
        } else if (level == DIRECTIVE_LEVEL) {
            CheckFact(walk, path, entry.name);
        } else {
            CheckLevel(walk, path, level + 1);
        }
    }
    if (level == DIRECTIVE_LEVEL && walk->progress && !walk->progress(*walk->check, walk->context))
        walk->stopped = true;
}

std::wstring LastPart(const std::wstring& path)
{
    size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

// The walk reaches names the name rule refuses and that the lists still show
// (a trailing blank or dot, a device's name), and the findings about them are
// fixed as any other. The guard for a fix is therefore the walk's own: below
// root, one real entry per segment, never "." or "..", nothing that could
// name another place. Such a name is reached only through the "\\?\" form,
// since the plain form would strip its end or take it for the device.
bool EntrySegment(const std::wstring& segment)
{
    if (segment.empty() || segment == L"." || segment == L"..")
        return false;
    for (wchar_t c : segment)
        if (c < 32 || wcschr(L"\\/:*?\"<>|", c))
            return false;
    return true;
}

// The exact entry target names below root, in the "\\?\" form, or empty when
// target does not lie there.
std::wstring ExactBelow(const std::wstring& root, const std::wstring& target)
{
    std::wstring top = root;
    if (!top.empty() && top.back() == L'\\')
        top.pop_back();
    if (top.empty() || target.size() <= top.size() + 1 || target.compare(0, top.size(), top) != 0 ||
        target[top.size()] != L'\\')
        return std::wstring();
    for (size_t at = top.size() + 1; at <= target.size();) {
        size_t end = target.find(L'\\', at);
        if (end == std::wstring::npos)
            end = target.size();
        if (!EntrySegment(target.substr(at, end - at)))
            return std::wstring();
        at = end + 1;
    }
    if (target.compare(0, 4, L"\\\\?\\") == 0)
        return target;
    if (target.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC" + target.substr(1);  // a base on a share
    return L"\\\\?\\" + target;
}

FixResult RemoveEmptyFact(const std::wstring& exact)
{
    DWORD attributes = GetFileAttributesW(exact.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) || !EntriesOf(exact).empty())
        return FIX_NOT_APPLICABLE;
    return RemoveDirectoryW(exact.c_str()) ? FIX_DONE : FIX_FAILED;
}

FixResult RecycleLeftover(const std::string& root, const Finding& finding)
{
    DWORD attributes = GetFileAttributesW(finding.target.c_str());
    std::string path = Narrow(finding.target);
    // The Recycle Bin takes plain paths only: the store's own guard applies.
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) || path.empty() ||
        !PathPlainBelow(path.c_str(), root.c_str()))
        return FIX_NOT_APPLICABLE;
    return MoveToRecycleBin(root.c_str(), path.c_str()) == RECYCLED ? FIX_DONE : FIX_FAILED;
}

FixResult RecoverMainText(const Finding& finding, const std::wstring& exact)
{
    std::wstring name = LastPart(finding.target);
    FactFiles files = SortOutFact(EntriesOf(exact), name);
    if (!MainTextRecoverable(files, Narrow(finding.target), name))
        return FIX_NOT_APPLICABLE;
    std::wstring from = exact + L"\\" + files.otherTexts[0];
    std::wstring to = MainTextFileInW(exact, name);
    return MoveFileW(from.c_str(), to.c_str()) ? FIX_DONE : FIX_FAILED;
}

FixResult ConvertTo1251(const std::string& root, const Finding& finding)
{
    std::string path = Narrow(finding.target);
    std::vector<char> text(TEXT_BUFFER_SIZE);
    FileState state, whole;
    TextFormat format;
    std::string bytes;
    // The text files are read and replaced by plain paths: the store's own guard applies.
    if (path.empty() || !PathPlainBelow(path.c_str(), root.c_str()))
        return FIX_NOT_APPLICABLE;
    // The text to write and the bytes judged must be one version of the file.
    if (ReadTextFile(path.c_str(), text.data(), &state, &format) != READ_OK ||
        ReadWholeFile(path.c_str(), &bytes, &whole) != READ_OK || memcmp(whole.hash, state.hash, SHA256_SIZE) != 0 ||
        format.lossy || !Convertible(ShapeOf(bytes)))
        return FIX_NOT_APPLICABLE;
    // The safe replace writes the text read, checked against what was read.
    switch (ReplaceTextFile(path.c_str(), text.data(), &state, NULL, ENCODING_1251)) {
    case WRITE_DONE: return FIX_DONE;
    case WRITE_FAILED: return FIX_FAILED;
    default: return FIX_NOT_APPLICABLE;
    }
}

}  // namespace

void CheckBase(const std::string& root, BaseCheck* check, CheckProgress progress, void* context,
               RepeatSearch repeats)
{
    check->factsChecked = 0;
    check->findings.clear();
    std::wstring wideRoot = WideFrom1251(root.c_str());
    if (!wideRoot.empty() && wideRoot.back() == L'\\')
        wideRoot.pop_back();
    Walk walk = { wideRoot, check, progress, context, false, repeats, MetTexts() };
    CheckLevel(&walk, wideRoot, 0);
}

void CheckFolder(const std::string& root, const std::string& folder, BaseCheck* check, CheckProgress progress,
                 void* context)
{
    std::wstring wideRoot = WideFrom1251(root.c_str());
    if (!wideRoot.empty() && wideRoot.back() == L'\\')
        wideRoot.pop_back();
    std::wstring path = WideFrom1251(folder.c_str());
    Walk walk = { wideRoot, check, progress, context, false, REPEATS_LEFT_OUT, MetTexts() };
    if (path == wideRoot) {
        walk.repeats = REPEATS_FOUND;
        CheckLevel(&walk, wideRoot, 0);
        return;
    }
    if (path.size() <= wideRoot.size() + 1 || path.compare(0, wideRoot.size() + 1, wideRoot + L"\\") != 0)
        return;
    // A folder inside a fact is the fact's business.
    std::vector<std::wstring> segments;
    for (size_t at = wideRoot.size() + 1; at <= path.size();) {
        size_t end = path.find(L'\\', at);
        if (end == std::wstring::npos)
            end = path.size();
        segments.push_back(path.substr(at, end - at));
        at = end + 1;
    }
    int level = (int)segments.size() < FACT_LEVEL ? (int)segments.size() : FACT_LEVEL;
    std::wstring at = wideRoot;
    for (int i = 0; i < level; i++)
        at += L"\\" + segments[i];
    DWORD attributes = GetFileAttributesW(at.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    if (level == FACT_LEVEL)
        CheckFact(&walk, at, segments[FACT_LEVEL - 1]);
    else
        CheckLevel(&walk, at, level);
}

bool FindingWithin(const Finding& finding, const std::string& folder)
{
    std::wstring path = WideFrom1251(folder.c_str());
    if (finding.kind == FINDING_REPEAT) {
        for (const std::string& fact : { finding.factFolder, finding.sameAsFolder })
            if (PathAtOrBelow(fact.c_str(), folder.c_str()))
                return true;
        return false;
    }
    if (finding.target.size() > path.size() && finding.target.compare(0, path.size(), path) == 0 &&
        finding.target[path.size()] == L'\\')
        return true;
    // The findings about a fact folder itself come from its own walk.
    return finding.target == path && finding.factFolder == folder;
}

FixResult FixFinding(const std::string& root, const Finding& finding)
{
    std::wstring exact = ExactBelow(WideFrom1251(root.c_str()), finding.target);
    if (!finding.fixable || exact.empty())
        return FIX_NOT_APPLICABLE;
    switch (finding.kind) {
    case FINDING_EMPTY_FACT: return RemoveEmptyFact(exact);
    case FINDING_LEFTOVER: return RecycleLeftover(root, finding);
    case FINDING_NO_MAIN_TEXT: return RecoverMainText(finding, exact);
    case FINDING_NOT_1251: return ConvertTo1251(root, finding);
    default: return FIX_NOT_APPLICABLE;
    }
}
