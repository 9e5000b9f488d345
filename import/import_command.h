// The import from the command line, for a first filling of a base:
//   facts.exe --import <source folder or file> <place below the base root>
// run in the base root like the program itself; an empty place imports into
// the base itself, its folders becoming Sections. No window is shown; the
// report goes to the console the program was started from.
#pragma once

// Whether the command line asks for an import (its first argument is --import).
bool AsksForImport(int argc, wchar_t** argv);

// Runs it: 0 when every file was imported or left out for a reason the
// report states, 1 when one could not be imported, 2 for a wrong command line.
int RunImportCommand(int argc, wchar_t** argv);
