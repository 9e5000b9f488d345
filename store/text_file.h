// A text file of the base, read for showing and written back whole: bytes
// in Windows-1251 with CR LF (or, for texts of other editors, as they came),
// replaced in one step, and remembered well enough to tell later that
// someone else changed it. UI-free.
#pragma once
#include "folder_walk.h"
#include "sha256.h"
#include "text_encoding.h"
#include <string>

// Texts are read into and taken from buffers of this size.
const int TEXT_BUFFER_SIZE = 100000;
// A text typed into an edit: at most this many characters.
const int EDIT_TEXT_MAX = 99998;
// A text read for showing: at most this many characters, so that it fits the
// buffer with its terminator.
const int SHOWN_TEXT_MAX = TEXT_BUFFER_SIZE - 1;
// What a file held when it was read or written: its stamp, and the hash of
// its bytes, enough to tell later that someone else changed it, whatever its
// clock or size did.
struct FileState : FileStamp {
    unsigned char hash[SHA256_SIZE];  // SHA-256 of every byte
};

enum FileChange {
    FILE_UNCHANGED,  // the same bytes as remembered
    FILE_CHANGED,    // other bytes (or only another write time: see CompareFileState)
    FILE_GONE        // no longer there, or cannot be read
};

// The file's state now, compared with the one remembered. Size and write time
// decide at once when they differ; when they agree the bytes are hashed, so a
// change within one tick of the clock is caught too.
FileChange CompareFileState(const char* path, const FileState& remembered);

enum WriteResult {
    WRITE_DONE,               // the file holds the new text
    WRITE_FAILED,             // nothing changed: read-only target, missing folder, short write, full disk
    WRITE_CHANGED_ELSEWHERE,  // not written: the file no longer holds what `expected` says
    WRITE_GONE                // not written: the file `expected` says exists is gone
};

// Stores the edit text: its bytes unchanged, a lone LF as CR LF, nothing
// before or after. The new content goes to a temporary file beside the target
// which then replaces the target in one step, so a failure at any point (the
// target read-only, its folder missing, a short write, a full disk) leaves the
// old file as it was and no temporary file behind. The target's hidden,
// system, archive and not-content-indexed attributes are kept.
//   expected  NULL to replace whatever is there; otherwise the state the
//             caller last saw, checked right before the replacement
//   written   when not NULL and the write is done: the state of the new file
//   encoding  how the file is stored: a text read from UTF-8 or UTF-16 goes
//             back as it came, BOM and all; the program's own files are 1251
WriteResult ReplaceTextFile(const char* path, const char* text, const FileState* expected, FileState* written,
                            TextEncoding encoding = ENCODING_1251);
// The same with no check: true when done.
bool WriteTextFile(const char* path, const char* text);

// A file that must not exist yet, in a folder the caller has just made:
// bytes written as they are, its last-write time set to lastWrite where
// that is given, and the state of what was written into state. No temporary
// file and no flush to the disk: there is nothing older in the folder to
// keep, and an import of thousands of files would wait on each. False, with
// no file left behind, on any failure (an existing file, a short write).
bool CreateNewTextFile(const char* path, const std::string& bytes, const unsigned long long* lastWrite,
                       FileState* state);

// A file of the program's own (not a text of the base) made whole by fill,
// which writes it piece by piece with WriteFilePiece into a temporary file
// beside path; that replaces path only when fill and every write succeeded,
// so a reader never meets half a file. False, with nothing left behind and
// path as it was, on any failure.
typedef bool (*FileFiller)(void* file, void* context);
bool ReplaceFileStreamed(const std::wstring& path, FileFiller fill, void* context);
bool WriteFilePiece(void* file, const void* bytes, size_t length);

enum ReadResult {
    READ_OK,           // text holds the file's text
    READ_CANNOT_OPEN,  // missing, a folder, or not readable
    READ_TOO_LONG      // the text would not fit the buffer; nothing is shown rather than a cut text
};

// How a text was stored, as reading found it.
struct TextFormat {
    TextEncoding encoding;
    // Characters Windows-1251 cannot hold, or bytes that could not be decoded,
    // were shown as LOST_CHARACTER_MARK: writing the text back would destroy them.
    bool lossy;
    // The text ended at a NUL or 0x1A with more than such bytes after it:
    // what follows is not shown, and writing the text back would destroy it.
    bool cut;
};
// "¤", the mark that stands for a character the program cannot show.
const char LOST_CHARACTER_MARK = (char)0xA4;

// Reads a text file into text (TEXT_BUFFER_SIZE bytes) ready for an edit
// control, in Windows-1251 whatever the file's encoding (see text_encoding.h):
// every line end as CR LF (CR LF kept, a lone LF expanded, a lone CR kept as
// it is), ending at the first NUL or at the first 0x1A character. When state
// is not NULL it receives the state of exactly the bytes read (on READ_OK and
// READ_TOO_LONG); format, when not NULL, how the text was stored.
ReadResult ReadTextFile(const char* path, char* text, FileState* state = NULL, TextFormat* format = NULL);

// Every byte of a file, for a check that must see past what a read for
// showing would stop at: READ_OK, READ_CANNOT_OPEN, or READ_TOO_LONG for a
// file larger than any text that could be shown is read (64 MiB). state, when
// not NULL, receives the state of the bytes on READ_OK.
ReadResult ReadWholeFile(const char* path, std::string* bytes, FileState* state = NULL);
