// Case folding for search over Windows-1251 bytes: every capital of the code
// page (Russian, Ukrainian, Belarusian, Serbian, Macedonian, Latin) to its
// small letter, and "ё" to "е", so that a folded query finds a folded text
// whatever case either was typed in.
#pragma once
#include <string>

unsigned char FoldByte(unsigned char byte);
// The folded copy of text, byte for byte the same length.
std::string FoldText(const std::string& text);
