// The depth of the fact base: Sections, Topics, Subtopics and Directives are
// the category levels, and every folder below a Directive is a fact. A
// folder's level is its depth below the base root and nothing else.
#pragma once

const int CATEGORY_LEVELS = 4;                // Section 1, Topic 2, Subtopic 3, Directive 4
const int DIRECTIVE_LEVEL = CATEGORY_LEVELS;  // the level whose folders hold the facts
const int FACT_LEVEL = CATEGORY_LEVELS + 1;   // the fact folders

#include <string>

// Where a fact is: the categories its lists show, Section first, and its name.
struct FactPlace {
    std::string categories[CATEGORY_LEVELS];
    std::string name;
};

// root\Section\Topic\Subtopic\Directive\name: where a fact's folder is.
std::string FactFolderOf(const std::string& root, const FactPlace& place);

// The place of a folder exactly FACT_LEVEL levels below root; false for any
// other folder, root itself and what lies beside it among them.
bool PlaceOfFactFolder(const std::string& root, const std::string& folder, FactPlace* place);

// A fact folder's two files: "Описание.txt" and the main text, which carries
// its fact's name, "<fact name>.txt". Their names and paths are composed
// here and nowhere else.
std::string DescriptionFileName();
std::wstring DescriptionFileNameW();
std::string MainTextFileName(const std::string& factName);
std::wstring MainTextFileNameW(const std::wstring& factName);
std::string DescriptionFileIn(const std::string& factFolder);
std::wstring DescriptionFileInW(const std::wstring& factFolder);
std::string MainTextFileIn(const std::string& factFolder, const std::string& factName);
std::wstring MainTextFileInW(const std::wstring& factFolder, const std::wstring& factName);

// The depth of path below root: 1 for a Section, FACT_LEVEL for a fact
// folder, 0 for root itself or anything not plainly below it (PathPlainBelow).
int LevelBelowRoot(const char* root, const char* path);
