// What a quick capture takes from the clipboard and makes of it before
// anything is shown: the text itself, where it came from, what of it
// Windows-1251 cannot hold, and the key by which the same text is found in
// the base again. UI-free: plain functions over wide texts, callable from
// any thread.
#pragma once
#include <string>
#include <vector>

// The clipboard's Unicode text (cut at its first NUL) with every line end
// made CR LF (a lone CR, a lone LF and CR LF alike) and the lines that hold
// nothing but blanks and tabs dropped at its start and its end. Everything
// between is kept exactly, indentation and trailing blanks of the kept
// lines too.
std::wstring TakenText(const std::wstring& clipboard);

// Where the text came from: the SourceURL line of a clipboard "HTML Format"
// payload (its UTF-8 bytes, header and all), as a web browser puts it there;
// failing that, windowTitle. Blanks around either are dropped.
std::wstring SourceOfCapture(const std::string& htmlFormat, const std::wstring& windowTitle);

// Whether every character of text has a Windows-1251 byte, judged as the
// platform's conversion judges it.
bool FitsWindows1251(const std::wstring& text);

// One kind of replacement made in a text: the character (a surrogate pair
// counts as one), what stands for it now, how often.
struct Replacement {
    std::wstring character;
    std::wstring replacement;  // empty for a character dropped (a zero-width one)
    int count;
};

// What stands for a character that has no near letter: the program's own
// mark for a character it cannot show.
const wchar_t OUTSIDE_1251_MARK = L'\u00A4';

// text with each character Windows-1251 cannot hold replaced by its nearest
// Windows-1251 letters (é by e, → by ->, Greek letters by their Latin
// transliteration, Kazakh letters by the nearest Russian ones), or by
// OUTSIDE_1251_MARK where there are none; the result fits Windows-1251.
// made, when given, receives each replacement once, in the order of first
// appearance, so that the user can see them before saving.
std::wstring ReplaceOutside1251(const std::wstring& text, std::vector<Replacement>* made);

// The nearest Windows-1251 letters of one character (a code point), empty
// for a character that is best dropped; false when it has none, or when it
// fits Windows-1251 already.
bool NearestLetters(unsigned codePoint, std::wstring* letters);

// The text by which two texts count as the same fact: letters in lower case,
// ё as е, every run of blanks, tabs and line ends as one blank, none at
// either end. Two texts are the same when their keys are equal: fold each
// once, compare as often as needed.
std::wstring DuplicateKey(const std::wstring& text);
