// The shape of a branch to be taken out of the base: every category and fact
// below the chosen entry, in the order the lists show them, with the numbers
// of a table of contents. Only folders are listed here; the texts are read
// later, one fact at a time, so a document never lies whole in memory. UI-free.
#pragma once
#include <string>
#include <vector>

struct OutlineEntry {
    int depth;           // 1 for the first level below the exported entry
    std::string number;  // "1.2.3": its place among its siblings, level by level
    std::string name;    // Windows-1251, as the lists show it
    std::string folder;  // the full path of its folder
    bool fact;
};

struct BranchOutline {
    std::string title;  // the exported entry's name; empty for the whole base
    std::vector<OutlineEntry> entries;
    int facts;
};

// Lists the branch at folder (root itself for the whole base). A fact alone
// is a branch of one entry. False when the folder is not root or a category
// or fact folder plainly below it (as every path the program acts on), or
// cannot be listed.
bool OutlineBranch(const std::string& root, const std::string& folder, BranchOutline* outline);
