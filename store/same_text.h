// When two texts are the same fact's text: the import's "imported already"
// and the base check's repeats judge alike. Two texts are the same when they
// differ only in their line ends and in blanks and tabs at the ends of lines
// and blank lines at the end. Case and inner blanks count: a text retyped
// with one letter changed is another text. UI-free.
#pragma once
#include <string>

// The text with every line end (CR LF, a lone CR, a lone LF) as one LF, the
// blanks and tabs before each line end dropped, and the blank lines at its
// end dropped. Equal keys are the same text.
std::wstring SameTextKey(const std::wstring& text);

// A 64-bit hash of a key, so that a whole base's texts can be compared by
// memory of eight bytes each; equal hashes are confirmed by their keys.
unsigned long long SameTextHash(const std::wstring& key);

// A fact file's text as the program reads it for showing (Windows-1251
// without a BOM unless its bytes are UTF-8, UTF-8 or UTF-16 with one),
// every character kept, ending at the first NUL or 0x1A.
std::wstring TextOfFactFile(const std::string& bytes);
