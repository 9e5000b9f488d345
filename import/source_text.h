// What a text file brought in from elsewhere holds: its encoding, told by its
// BOM, by being valid UTF-8, or else guessed among the three Russian
// single-byte code pages by how Russian text uses its letters; and whether
// it is a text at all. UI-free.
#pragma once
#include <string>

enum SourceEncoding {
    SOURCE_UTF8,     // valid UTF-8 without a BOM (plain ASCII among it)
    SOURCE_UTF8_BOM,
    SOURCE_UTF16LE,  // with its BOM
    SOURCE_UTF16BE,  // with its BOM
    SOURCE_1251,     // Windows
    SOURCE_KOI8R,    // Unix
    SOURCE_866,      // DOS
    SOURCE_ENCODINGS
};

struct SourceGuess {
    SourceEncoding encoding;
    // A single-byte guess with too few letters to go by, or with another
    // code page nearly as likely: the user should look before it is written.
    bool uncertain;
};

// A BOM decides; then valid UTF-8; then the most likely single-byte code page.
SourceGuess GuessSourceEncoding(const std::string& bytes);

enum SourceContent {
    SOURCE_TEXT,
    SOURCE_BLANK,     // nothing, or nothing but blanks and line ends
    SOURCE_NOT_TEXT,  // a NUL or another control character a text never holds, or bytes the encoding cannot hold
};

// The characters of bytes in encoding, BOM left out, into text, and whether
// they make a text. A DOS end mark (0x1A) at the very end is dropped.
SourceContent DecodeSource(const std::string& bytes, SourceEncoding encoding, std::wstring* text);
