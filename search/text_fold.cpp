#include "text_fold.h"

namespace {

struct FoldTable {
    unsigned char to[256];
    FoldTable()
    {
        for (int i = 0; i < 256; i++)
            to[i] = (unsigned char)i;
        for (int c = 'A'; c <= 'Z'; c++)
            to[c] = (unsigned char)(c + 32);
        for (int c = 0xC0; c <= 0xDF; c++)  // А-Я
            to[c] = (unsigned char)(c + 32);
        // The capitals outside the two runs, with their small letters:
        // Ђ Ѓ Љ Њ Ќ Ћ Џ Ў Ј Ґ Ё Є Ї І Ѕ.
        const unsigned char pairs[][2] = {
            { 0x80, 0x90 }, { 0x81, 0x83 }, { 0x8A, 0x9A }, { 0x8C, 0x9C }, { 0x8D, 0x9D },
            { 0x8E, 0x9E }, { 0x8F, 0x9F }, { 0xA1, 0xA2 }, { 0xA3, 0xBC }, { 0xA5, 0xB4 },
            { 0xA8, 0xB8 }, { 0xAA, 0xBA }, { 0xAF, 0xBF }, { 0xB2, 0xB3 }, { 0xBD, 0xBE },
        };
        for (const auto& pair : pairs)
            to[pair[0]] = pair[1];
        // ё and Ё are searched as е.
        to[0xA8] = to[0xB8] = 0xE5;
    }
};

const FoldTable TABLE;

}  // namespace

unsigned char FoldByte(unsigned char byte)
{
    return TABLE.to[byte];
}

std::string FoldText(const std::string& text)
{
    std::string folded(text);
    for (size_t i = 0; i < folded.size(); i++)
        folded[i] = (char)TABLE.to[(unsigned char)folded[i]];
    return folded;
}
