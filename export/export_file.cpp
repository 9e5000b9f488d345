#include "export_file.h"
#include "../platform/platform_text.h"
#include "../store/entry_name.h"
#include "../store/fact_shape.h"
#include "../store/text_file.h"

#include <vector>

namespace {

std::wstring FullPath(const std::string& path)
{
    std::wstring wide = WideFrom1251(path.c_str());
    wchar_t full[MAX_PATH * 2];
    DWORD length = GetFullPathNameW(wide.c_str(), MAX_PATH * 2, full, NULL);
    std::wstring result = length > 0 && length < MAX_PATH * 2 ? std::wstring(full, length) : wide;
    while (result.size() > 3 && result.back() == L'\\')
        result.pop_back();
    return result;
}

// The text as the browser shows it; cut tells whether it stopped at a NUL or 0x1A.
bool ReadShown(const std::string& path, std::vector<char>* buffer, std::string* text, bool* cut)
{
    TextFormat format = {};
    if (ReadTextFile(path.c_str(), buffer->data(), NULL, &format) != READ_OK)
        return false;
    *text = buffer->data();
    *cut = format.cut;
    return true;
}

}  // namespace

namespace {

// The folder itself, and every folder above it up to its volume's top, by
// what each is on disk; false when none of them opens.
bool FolderOrAboveIs(const std::wstring& folder, const EntryIdentity& wanted)
{
    // A folder not there yet is judged by the nearest one above it that is.
    std::wstring at = folder;
    HANDLE handle = INVALID_HANDLE_VALUE;
    while (!at.empty()) {
        handle = CreateFileW(at.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, NULL);
        if (handle != INVALID_HANDLE_VALUE)
            break;
        size_t separator = at.find_last_of(L'\\');
        at = separator == std::wstring::npos ? std::wstring() : at.substr(0, separator);
    }
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    // The name the file system itself gives the folder: short names, "..",
    // case and links resolved, so that its ancestors are read off it.
    wchar_t final[MAX_PATH * 2];
    DWORD length = GetFinalPathNameByHandleW(handle, final, MAX_PATH * 2, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(handle);
    std::wstring real = length > 0 && length < MAX_PATH * 2 ? std::wstring(final, length) : at;
    // The volume's top: the separator right after the drive, or after the share.
    size_t top = real.compare(0, 4, L"\\\\?\\") == 0 ? 4 : 0;
    if (real.compare(top, 4, L"UNC\\") == 0)
        top = real.find(L'\\', real.find(L'\\', top + 4) + 1);
    else
        top = real.find(L'\\', top);
    for (;;) {
        if (SameEntry(IdentityOf(real), wanted))
            return true;
        size_t separator = real.find_last_of(L'\\');
        if (top == std::wstring::npos || separator == std::wstring::npos || separator < top ||
            (separator == top && real.size() == top + 1))
            return false;
        real.erase(separator == top ? top + 1 : separator);
    }
}

}  // namespace

bool InsideBase(const std::string& root, const std::string& path)
{
    std::wstring base = FullPath(root), full = FullPath(path);
    EntryIdentity rootIdentity = IdentityOf(base);
    if (rootIdentity.known)
        return FolderOrAboveIs(full, rootIdentity);
    // A root that cannot be opened is compared by its spelling, as Windows compares names.
    if (full.size() < base.size() ||
        CompareStringOrdinal(full.c_str(), (int)base.size(), base.c_str(), (int)base.size(), TRUE) != CSTR_EQUAL)
        return false;
    return full.size() == base.size() || full[base.size()] == L'\\' || base.back() == L'\\';
}

FactTexts ReadFactTexts(const OutlineEntry& fact)
{
    static std::vector<char> buffer(TEXT_BUFFER_SIZE);
    FactTexts texts;
    bool cut = false;
    if (!ReadShown(DescriptionFileIn(fact.folder), &buffer, &texts.description, &cut))
        texts.unreadableDescription = DescriptionFileName();
    else if (cut)
        texts.cutDescription = DescriptionFileName();
    if (!ReadShown(MainTextFileIn(fact.folder, fact.name), &buffer, &texts.mainText, &cut))
        texts.unreadableMainText = MainTextFileName(fact.name);
    else if (cut)
        texts.cutMainText = MainTextFileName(fact.name);
    return texts;
}

ExportResult ExportBranch(const std::string& root, const std::string& branch, const std::string& target,
                          ExportFormat format, ExportReport* report, ExportProgress progress, void* context)
{
    *report = ExportReport{ 0, 0, 0 };
    if (InsideBase(root, target))
        return EXPORT_INSIDE_BASE;
    BranchOutline outline;
    if (!OutlineBranch(root, branch, &outline))
        return EXPORT_NO_BRANCH;

    std::wstring wideTarget = FullPath(target);
    std::wstring folder = wideTarget.substr(0, wideTarget.rfind(L'\\') + 1);
    wchar_t temporary[MAX_PATH];
    if (!GetTempFileNameW(folder.c_str(), L"fx", 0, temporary)) {
        report->error = GetLastError();
        return EXPORT_WRITE_FAILED;
    }
    DocumentOut out = { CreateFileW(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL),
                        std::string(), 0 };
    if (out.file == INVALID_HANDLE_VALUE) {
        report->error = GetLastError();
        DeleteFileW(temporary);
        return EXPORT_WRITE_FAILED;
    }
    WriteDocumentStart(&out, format, outline);
    bool cancelled = false;
    for (const OutlineEntry& entry : outline.entries) {
        WriteHeading(&out, format, entry);
        if (!entry.fact)
            continue;
        FactTexts texts = ReadFactTexts(entry);
        report->unreadable += !texts.unreadableDescription.empty() + !texts.unreadableMainText.empty();
        WriteFact(&out, format, texts);
        report->facts++;
        if (out.error || (progress && !progress(report->facts, outline.facts, context))) {
            cancelled = !out.error;
            break;
        }
    }
    if (!cancelled) {
        WriteDocumentEnd(&out, format, report->facts, report->unreadable);
        if (Flush(&out) && !FlushFileBuffers(out.file))
            out.error = GetLastError();
    }
    CloseHandle(out.file);
    if (!cancelled && !out.error && !MoveFileExW(temporary, wideTarget.c_str(), MOVEFILE_REPLACE_EXISTING))
        out.error = GetLastError();
    if (!cancelled && !out.error)
        return EXPORT_DONE;
    DeleteFileW(temporary);
    report->error = out.error;
    return cancelled ? EXPORT_CANCELLED : EXPORT_WRITE_FAILED;
}
