// What a program run from the command line says, on the console it was
// started from: to a console as text, to a pipe or a file as UTF-8.
#pragma once
#include <string>

enum ConsoleStream { CONSOLE_OUTPUT, CONSOLE_ERRORS };

// One line (a Windows-1251 text; the line end is added).
void SayOnConsole(const char* text1251, ConsoleStream stream = CONSOLE_ERRORS);
// The same for a text that may hold what Windows-1251 cannot (a file's name from elsewhere).
void SayOnConsoleWide(const std::wstring& text, ConsoleStream stream = CONSOLE_ERRORS);
