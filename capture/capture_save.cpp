#include "capture_save.h"
#include "capture_text.h"
#include "../platform/platform_text.h"
#include "../store/base_changes.h"
#include "../store/fact_store.h"
#include "../store/text_encoding.h"
#include "../store/text_file.h"

#include <windows.h>
#include <algorithm>
#include <vector>

namespace {

// One of the fact's two files, ready before anything is made.
struct FileToWrite {
    bool utf8;  // bytes are the file's own (BOM and all); otherwise a Windows-1251 text
    std::string bytes;
};

// Each LF gets the CR before it that a text-mode write gives it, as the
// store's write of a Windows-1251 text does; a lone CR stays.
std::wstring WithCarriageReturns(const std::wstring& text)
{
    std::wstring lines;
    lines.reserve(text.size() + text.size() / 32);
    wchar_t previous = L'\0';
    for (wchar_t c : text) {
        if (c == L'\n' && previous != L'\r')
            lines += L'\r';
        lines += c;
        previous = c;
    }
    return lines;
}

// False when the text is longer than an edit could show again.
bool Prepare(const std::wstring& text, CaptureEncoding how, FileToWrite* file)
{
    std::wstring lines = WithCarriageReturns(text);
    file->utf8 = how == CAPTURE_KEEP_EXACTLY && !FitsWindows1251(lines);
    if (!file->utf8 && !FitsWindows1251(lines))
        lines = ReplaceOutside1251(lines, NULL);
    if (lines.size() > (size_t)EDIT_TEXT_MAX)
        return false;
    if (file->utf8) {
        file->bytes = EncodeText(lines, ENCODING_UTF8_BOM);
        return true;
    }
    std::vector<char> narrow(lines.size() + 1);
    if (TextTo1251(lines.c_str(), (int)lines.size(), narrow.data(), (int)narrow.size()) != TEXT_FITS)
        return false;
    file->bytes = narrow.data();
    return true;
}

// The store writes Windows-1251 texts only; a text kept whole goes into
// the new, empty fact folder as its own bytes. A short write (a full disk
// can report success for one) leaves no file behind.
bool WriteNewFile(const char* path, const std::string& bytes)
{
    std::wstring wide = WideFrom1251(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool done = true;
    for (size_t at = 0; done && at < bytes.size();) {
        DWORD asked = (DWORD)std::min<size_t>(bytes.size() - at, 1u << 20);
        DWORD written = 0;
        done = WriteFile(file, bytes.data() + at, asked, &written, NULL) && written == asked;
        at += written;
    }
    done = FlushFileBuffers(file) && done;
    done = CloseHandle(file) && done;
    if (!done)
        DeleteFileW(wide.c_str());
    return done;
}

bool Write(const char* path, const FileToWrite& file)
{
    return file.utf8 ? WriteNewFile(path, file.bytes) : WriteTextFile(path, file.bytes.c_str());
}

bool IsFolder(const char* path)
{
    DWORD attributes = GetFileAttributes1251(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CaptureSave Outcome(CaptureResult result, NameRule rule = NAME_OK)
{
    CaptureSave save;
    save.result = result;
    save.rule = rule;
    save.factFolder[0] = '\0';
    return save;
}

// Writes both files into the fact folder just made; on any failure removes
// what it wrote and the folder, so that no half-made fact stays.
bool WriteFactFiles(const char* directive, const char* factFolder, const char* name, const FileToWrite& description,
                    const FileToWrite& text)
{
    char descriptionPath[SLOT_SIZE];
    char mainTextPath[SLOT_SIZE];
    bool paths = DescriptionFilePath(factFolder, descriptionPath) && MainTextFilePath(factFolder, name, mainTextPath) &&
                 PathPlainBelow(mainTextPath, directive);
    bool descriptionWritten = paths && Write(descriptionPath, description);
    bool textWritten = descriptionWritten && Write(mainTextPath, text);
    if (textWritten)
        return true;
    if (descriptionWritten)
        DeleteFile1251(descriptionPath);
    RemoveDirectory1251(factFolder);
    return false;
}

}  // namespace

CaptureSave CreateCapturedFact(const char* directive, const char* name, const std::wstring& description,
                               const std::wstring& text, CaptureEncoding how)
{
    FileToWrite descriptionFile, textFile;
    if (!Prepare(description, how, &descriptionFile) || !Prepare(text, how, &textFile))
        return Outcome(CAPTURE_TEXT_TOO_LONG);

    CaptureSave save = Outcome(CAPTURE_SAVED);
    switch (CreateFactFolder(directive, name, save.factFolder)) {
    case FOLDER_CREATED: break;
    case FOLDER_EXISTS:
        // Someone made that name since it was checked: never written into.
        return Outcome(CAPTURE_NAME_REFUSED, NAME_TAKEN);
    case FOLDER_NOT_CREATED:
        // The place was taken away, or the file system refused the name.
        return IsFolder(directive) ? Outcome(CAPTURE_NAME_REFUSED, NAME_TAKEN) : Outcome(CAPTURE_PLACE_GONE);
    case FOLDER_PATH_TOO_LONG: return Outcome(CAPTURE_NAME_REFUSED, NAME_TOO_LONG);
    case FOLDER_OUTSIDE: return Outcome(CAPTURE_NAME_REFUSED, NAME_BAD_CHARACTERS);
    }
    if (!WriteFactFiles(directive, save.factFolder, name, descriptionFile, textFile))
        return Outcome(CAPTURE_WRITE_FAILED);
    AnnounceFactChanged(save.factFolder);
    return save;
}

CaptureSave SaveCapturedFact(const char* root, const char* directive, const char* name, const std::wstring& description,
                             const std::wstring& text, CaptureEncoding how)
{
    if (!PathPlainBelow(directive, root) || !IsFolder(directive))
        return Outcome(CAPTURE_PLACE_GONE);
    NameRule rule = CheckEntryName(directive, name, ENTRY_FACT);
    if (rule != NAME_OK)
        return Outcome(CAPTURE_NAME_REFUSED, rule);
    return CreateCapturedFact(directive, name, description, text, how);
}
