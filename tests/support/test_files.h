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
std::string CurrentDirectory();

std::wstring Wide(const std::string& text1251);
std::string Cp1251(const std::wstring& text);
