// Files and folders for tests: a fresh folder per test below the Windows temp
// folder, and byte-exact reads and writes. Paths are Windows-1251, as in the program.
#pragma once
#include <string>
#include <vector>

// A new empty folder with a Cyrillic name, so that every path a test builds
// crosses the code-page boundary. Removed with everything in it at exit.
std::string NewTestFolder();

void MakeFolder(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool ReadBytes(const std::string& path, std::string* bytes);
bool PathExists(const std::string& path);
void SetReadOnly(const std::string& path, bool readOnly);
// Names in a folder, "." and ".." left out, sorted by byte value.
std::vector<std::string> FolderEntries(const std::string& path);
void RemoveTree(const std::string& path);
// Drive T: emptied, as the folder it maps to (reachable without T:), or ""
// when the test command did not map it.
std::string EmptyDriveT();
std::string CurrentDirectory();

// A text of exactly `length` characters in lines of 78 Cyrillic letters and
// CR LF, as a long fact is typed (one line of that length takes the edit
// control minutes to lay out under Wine).
std::string LinesOfText(size_t length);

std::wstring Wide(const std::string& text1251);
std::string Cp1251(const std::wstring& text);
// The bytes of a UTF-16 file as another editor saves it: BOM, then each character.
std::string Utf16Bytes(const std::wstring& text, bool littleEndian);
