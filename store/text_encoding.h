// The encodings in which other editors save the texts of a fact: Notepad
// writes UTF-8 (with or without a BOM), some editors UTF-16. The program's
// own files are Windows-1251; every other encoding is read, shown and
// written back as what it is.
#pragma once
#include <string>

enum TextEncoding {
    ENCODING_1251,      // no BOM, and not UTF-8 with a multi-byte sequence
    ENCODING_UTF8,      // no BOM, valid UTF-8 holding at least one multi-byte sequence
    ENCODING_UTF8_BOM,  // EF BB BF
    ENCODING_UTF16LE,   // FF FE
    ENCODING_UTF16BE    // FE FF
};

// Tells the encoding of a file's bytes.
TextEncoding DetectEncoding(const std::string& bytes);

// The characters of bytes in that encoding (BOM left out). Sequences that
// cannot be decoded each give U+FFFD; malformed is then set.
std::wstring DecodeText(const std::string& bytes, TextEncoding encoding, bool* malformed);

// The file bytes of text in that encoding, BOM first where it has one.
// Not for ENCODING_1251, whose bytes are the program's own.
std::string EncodeText(const std::wstring& text, TextEncoding encoding);
