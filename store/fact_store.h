// The fact base on disk: the folder tree below the base root and the two text
// files of each fact folder, Windows-1251 with CR LF line breaks. UI-free: the
// operations take plain Windows-1251 strings and full paths, never change the
// working directory, never show anything, and keep nothing between calls.
#pragma once
#include "text_file.h"
#include <string>
#include <vector>

// The longest folder name a listing can carry: the raw listing entry holds the
// name in two brackets within a 256-byte slot.
const int LISTED_NAME_MAX = 253;

// The sub-folders of folder, in the order the folder lists show them: sorted
// as the list control sorts a directory listing, the parent entry ".." among
// them where the folder has a parent, "." never. Folders whose names are
// longer than LISTED_NAME_MAX or hold characters outside Windows-1251 are
// left out, since no slot could carry them. False when the folder cannot be
// listed (missing, not a folder, path not convertible); names is then empty.
bool ListSubfolders(const char* folder, std::vector<std::string>* names);

enum FolderResult {
    FOLDER_CREATED,        // a new folder was made
    FOLDER_EXISTS,         // an entry answers to that name already (its long or its short name): it is taken
    FOLDER_NOT_CREATED,    // the file system refused it otherwise: the name is invalid, the parent is missing
    FOLDER_PATH_TOO_LONG,  // parent + "\" + name would not fit 255 characters: nothing was tried
    FOLDER_OUTSIDE  // the new folder would not lie plainly below its place (see PathPlainBelow): nothing was tried
};

// Creates parent + "\" + name, one level, the name exactly as typed, only
// when that lies plainly below root: a category never lands beside the base.
// The creation is the test of whether the name is free: whatever the name
// check said a moment before, only FOLDER_CREATED gives the caller a folder
// to write into, since another program may have made that name since.
FolderResult CreateCategoryFolder(const char* root, const char* parent, const char* name);

// Creates directive + "\" + name, only when that is one plain folder below
// the Directive; factFolder (a 256-byte slot) receives that path whenever it
// fits and lies there, whether or not the folder could be created.
FolderResult CreateFactFolder(const char* directive, const char* name, char* factFolder);

enum FolderState {
    FOLDER_MISSING,  // nothing of that name
    FOLDER_EMPTY,    // a folder holding nothing
    FOLDER_IN_USE    // a folder holding something, or a file of that name
};
FolderState GetFolderState(const char* path);

// fact folder + "\" + "Описание.txt" into out (a 256-byte slot); false when it would not fit.
bool DescriptionFilePath(const char* factFolder, char* out);
// fact folder + "\" + fact name + ".txt" into out; false when it would not fit.
bool MainTextFilePath(const char* factFolder, const char* factName, char* out);

// What the fact wizard itself wrote, remembered so that giving the fact up
// removes that and nothing else.
struct UnfinishedFact {
    bool folderMade;        // the wizard created the fact folder
    FileState description;  // the description as the wizard wrote it; exists false when it wrote none
};

// Deletes the fact folder's description file only while it still holds the
// bytes the wizard wrote, and then the folder only if the wizard made it and
// it is empty. Nothing else is deleted; the unset path "C:\" and anything
// that is not one plain folder below directive are never touched.
void DeleteUnfinishedFact(const char* directive, const char* factFolder, const UnfinishedFact& made);
