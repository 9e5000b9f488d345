// The name a quick capture suggests for its fact: the first words of the
// text, made a name the one name rule accepts in the chosen place. UI-free.
#pragma once
#include "../store/entry_name.h"
#include <string>

// The longest name suggested: a few words to find the fact by, not its
// first paragraph. The place may leave room for fewer.
const int SUGGESTED_NAME_MAX = 60;

// The first line of text that holds a letter or a digit, made a name into
// name (a 256-byte slot): characters Windows-1251 cannot hold replaced by
// their nearest letters or dropped, characters a name cannot hold and every
// run of blanks made one blank, cut at a word boundary to fit
// SUGGESTED_NAME_MAX and the path the place allows, trailing blanks and dots
// dropped, a device name (CON, LPT1) led by "_". A text with no such line
// gives Text::CaptureDefaultName. Where directive (a Directive's full path;
// NULL or "" when there is no place yet) holds the name already, " (2)",
// " (3)" and so on follow it.
// The rule the suggested name meets there: NAME_OK, or the reason no name
// could be found (NAME_TOO_LONG: the place leaves room for none).
// longest replaces SUGGESTED_NAME_MAX where the text is a name already (an
// imported file's own name), to be cut only where the place needs it.
NameRule SuggestFactName(const std::wstring& text, const char* directive, char* name,
                         size_t longest = SUGGESTED_NAME_MAX);
