// Polling what is open, for shares that lose change events and for when the
// watch cannot be set: each folder a dialog shows is listed again and
// compared with how it looked, by its entries' names, sizes and times. Never
// the whole base: only the folders given. UI-free.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

// A folder's entries as one number: names, sizes and write times. A folder
// that cannot be listed has its own value.
unsigned long long FolderSignature(const std::string& folder);

// Lists each open folder, returns those that look different from the last
// look (a folder seen the first time is only remembered), and forgets the
// folders no longer open.
std::vector<std::string> PollFolders(std::map<std::string, unsigned long long>* seen,
                                     const std::set<std::string>& open);
