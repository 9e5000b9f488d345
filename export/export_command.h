// The export from the command line, for scripts and backups:
//   facts.exe --export <path below the base root> <file.html|file.txt>
// run in the base root like the program itself; an empty path exports the
// whole base. No window is shown; what happened is written to the console
// the program was started from.
#pragma once

// Whether the command line asks for an export (its first argument is --export).
bool AsksForExport(int argc, wchar_t** argv);

// Runs it: 0 when the document was written, non-zero otherwise.
int RunExportCommand(int argc, wchar_t** argv);
