// Filing a captured fact: the same two files the wizard's steps write, made
// through the same store functions and the one name rule, all or nothing.
// UI-free.
#pragma once
#include "../store/entry_name.h"
#include "../store/path_slot.h"
#include <string>

// How a text with characters Windows-1251 cannot hold is written. A text
// that fits is written in Windows-1251 either way, as the wizard writes it.
enum CaptureEncoding {
    CAPTURE_KEEP_EXACTLY,      // as UTF-8 with a BOM, every character kept
    CAPTURE_REPLACE_INTO_1251  // in Windows-1251, each such character by its nearest letters (ReplaceOutside1251)
};

enum CaptureResult {
    CAPTURE_SAVED,          // both files are written and the fact is announced
    CAPTURE_NAME_REFUSED,   // the name rule said no (rule tells why), or the folder was made by someone else meanwhile
                            // (NAME_TAKEN): nothing written
    CAPTURE_PLACE_GONE,     // the Directive is no longer there, or does not lie plainly below the root: nothing written
    CAPTURE_TEXT_TOO_LONG,  // a text longer than an edit could show (EDIT_TEXT_MAX characters): nothing written
    CAPTURE_WRITE_FAILED    // a file could not be written (a full disk): the folder and whatever was written are gone
                            // again
};

struct CaptureSave {
    CaptureResult result;
    NameRule rule;               // CAPTURE_NAME_REFUSED: why; NAME_OK otherwise
    char factFolder[SLOT_SIZE];  // CAPTURE_SAVED: the new fact's folder; empty otherwise
};

// Makes the fact name in directive, a Directive below root: its folder, its
// description and its main text, line ends as CR LF (a lone LF gets its CR,
// as the wizard's write does), then announces it on the change channel.
// Making the folder is the last check: a folder that appeared since the name
// was checked is never written into.
CaptureSave SaveCapturedFact(const char* root, const char* directive, const char* name, const std::wstring& description,
                             const std::wstring& text, CaptureEncoding how);

// SaveCapturedFact's second half, after the place and the name were
// checked: making the folder is its only check, and a folder of that name
// made meanwhile (FOLDER_NOT_CREATED) is CAPTURE_NAME_REFUSED with NAME_TAKEN,
// never written into.
CaptureSave CreateCapturedFact(const char* directive, const char* name, const std::wstring& description,
                               const std::wstring& text, CaptureEncoding how);
