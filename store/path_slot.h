// Names, roots and composed paths live in fixed 256-byte slots: at most 255
// Windows-1251 characters and the terminator. Every copy into a slot goes
// through these helpers, which refuse what does not fit instead of cutting it.
#pragma once

const int SLOT_SIZE = 256;
const int SLOT_CHARS = SLOT_SIZE - 1;

// Copies text into slot. False, with the slot unchanged, when text is longer
// than 255 characters.
bool SlotCopy(char* slot, const char* text);

// Joins up to four parts into slot. False, with the slot unchanged, when the
// result would be longer than 255 characters.
bool SlotJoin(char* slot, const char* a, const char* b, const char* c = "", const char* d = "");

// Exact byte comparison, as the unset-value tests need.
bool SlotEquals(const char* slot, const char* text);

// Whether path is folder itself or lies inside it: "C:\a\b" lies inside
// "C:\a", "C:\ab" does not. Bytes compared as they are.
bool PathAtOrBelow(const char* path, const char* folder);
