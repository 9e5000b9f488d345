#include "capture_text.h"

#include <algorithm>

namespace {

struct NearLetters {
    unsigned code;
    const wchar_t* letters;
};

// Every character below that Windows-1251 lacks and that has near letters,
// sorted by code: Latin letters with marks as their bare letters, ligatures
// spelled out (æ as ae, ß as ss), Greek letters transliterated (θ as th),
// Cyrillic letters of the other languages as the nearest Russian ones (ә as
// а, қ as к), arrows and comparisons in ASCII (→ as ->, ≈ as ~), the rarer
// dashes and quotes as the common ones, wide and thin spaces as a blank, and
// zero-width marks as nothing. Negated signs (≉, ≰) are not here: the bare
// sign would say the opposite.
const NearLetters NEAREST[] = {
    { 0x00A1, L"!" }, { 0x00AA, L"a" }, { 0x00B2, L"2" }, { 0x00B3, L"3" }, { 0x00B9, L"1" }, { 0x00BA, L"o" },
    { 0x00BC, L"1/4" }, { 0x00BD, L"1/2" }, { 0x00BE, L"3/4" }, { 0x00BF, L"?" }, { 0x00C0, L"A" }, { 0x00C1, L"A" },
    { 0x00C2, L"A" }, { 0x00C3, L"A" }, { 0x00C4, L"A" }, { 0x00C5, L"A" }, { 0x00C6, L"AE" }, { 0x00C7, L"C" },
    { 0x00C8, L"E" }, { 0x00C9, L"E" }, { 0x00CA, L"E" }, { 0x00CB, L"E" }, { 0x00CC, L"I" }, { 0x00CD, L"I" },
    { 0x00CE, L"I" }, { 0x00CF, L"I" }, { 0x00D0, L"D" }, { 0x00D1, L"N" }, { 0x00D2, L"O" }, { 0x00D3, L"O" },
    { 0x00D4, L"O" }, { 0x00D5, L"O" }, { 0x00D6, L"O" }, { 0x00D7, L"x" }, { 0x00D8, L"O" }, { 0x00D9, L"U" },
    { 0x00DA, L"U" }, { 0x00DB, L"U" }, { 0x00DC, L"U" }, { 0x00DD, L"Y" }, { 0x00DE, L"Th" }, { 0x00DF, L"ss" },
    { 0x00E0, L"a" }, { 0x00E1, L"a" }, { 0x00E2, L"a" }, { 0x00E3, L"a" }, { 0x00E4, L"a" }, { 0x00E5, L"a" },
    { 0x00E6, L"ae" }, { 0x00E7, L"c" }, { 0x00E8, L"e" }, { 0x00E9, L"e" }, { 0x00EA, L"e" }, { 0x00EB, L"e" },
    { 0x00EC, L"i" }, { 0x00ED, L"i" }, { 0x00EE, L"i" }, { 0x00EF, L"i" }, { 0x00F0, L"d" }, { 0x00F1, L"n" },
    { 0x00F2, L"o" }, { 0x00F3, L"o" }, { 0x00F4, L"o" }, { 0x00F5, L"o" }, { 0x00F6, L"o" }, { 0x00F7, L"/" },
    { 0x00F8, L"o" }, { 0x00F9, L"u" }, { 0x00FA, L"u" }, { 0x00FB, L"u" }, { 0x00FC, L"u" }, { 0x00FD, L"y" },
    { 0x00FE, L"th" }, { 0x00FF, L"y" }, { 0x0100, L"A" }, { 0x0101, L"a" }, { 0x0102, L"A" }, { 0x0103, L"a" },
    { 0x0104, L"A" }, { 0x0105, L"a" }, { 0x0106, L"C" }, { 0x0107, L"c" }, { 0x0108, L"C" }, { 0x0109, L"c" },
    { 0x010A, L"C" }, { 0x010B, L"c" }, { 0x010C, L"C" }, { 0x010D, L"c" }, { 0x010E, L"D" }, { 0x010F, L"d" },
    { 0x0110, L"D" }, { 0x0111, L"d" }, { 0x0112, L"E" }, { 0x0113, L"e" }, { 0x0114, L"E" }, { 0x0115, L"e" },
    { 0x0116, L"E" }, { 0x0117, L"e" }, { 0x0118, L"E" }, { 0x0119, L"e" }, { 0x011A, L"E" }, { 0x011B, L"e" },
    { 0x011C, L"G" }, { 0x011D, L"g" }, { 0x011E, L"G" }, { 0x011F, L"g" }, { 0x0120, L"G" }, { 0x0121, L"g" },
    { 0x0122, L"G" }, { 0x0123, L"g" }, { 0x0124, L"H" }, { 0x0125, L"h" }, { 0x0126, L"H" }, { 0x0127, L"h" },
    { 0x0128, L"I" }, { 0x0129, L"i" }, { 0x012A, L"I" }, { 0x012B, L"i" }, { 0x012C, L"I" }, { 0x012D, L"i" },
    { 0x012E, L"I" }, { 0x012F, L"i" }, { 0x0130, L"I" }, { 0x0131, L"i" }, { 0x0132, L"IJ" }, { 0x0133, L"ij" },
    { 0x0134, L"J" }, { 0x0135, L"j" }, { 0x0136, L"K" }, { 0x0137, L"k" }, { 0x0138, L"k" }, { 0x0139, L"L" },
    { 0x013A, L"l" }, { 0x013B, L"L" }, { 0x013C, L"l" }, { 0x013D, L"L" }, { 0x013E, L"l" }, { 0x013F, L"L·" },
    { 0x0140, L"l·" }, { 0x0141, L"L" }, { 0x0142, L"l" }, { 0x0143, L"N" }, { 0x0144, L"n" }, { 0x0145, L"N" },
    { 0x0146, L"n" }, { 0x0147, L"N" }, { 0x0148, L"n" }, { 0x014A, L"N" }, { 0x014B, L"n" }, { 0x014C, L"O" },
    { 0x014D, L"o" }, { 0x014E, L"O" }, { 0x014F, L"o" }, { 0x0150, L"O" }, { 0x0151, L"o" }, { 0x0152, L"OE" },
    { 0x0153, L"oe" }, { 0x0154, L"R" }, { 0x0155, L"r" }, { 0x0156, L"R" }, { 0x0157, L"r" }, { 0x0158, L"R" },
    { 0x0159, L"r" }, { 0x015A, L"S" }, { 0x015B, L"s" }, { 0x015C, L"S" }, { 0x015D, L"s" }, { 0x015E, L"S" },
    { 0x015F, L"s" }, { 0x0160, L"S" }, { 0x0161, L"s" }, { 0x0162, L"T" }, { 0x0163, L"t" }, { 0x0164, L"T" },
    { 0x0165, L"t" }, { 0x0166, L"T" }, { 0x0167, L"t" }, { 0x0168, L"U" }, { 0x0169, L"u" }, { 0x016A, L"U" },
    { 0x016B, L"u" }, { 0x016C, L"U" }, { 0x016D, L"u" }, { 0x016E, L"U" }, { 0x016F, L"u" }, { 0x0170, L"U" },
    { 0x0171, L"u" }, { 0x0172, L"U" }, { 0x0173, L"u" }, { 0x0174, L"W" }, { 0x0175, L"w" }, { 0x0176, L"Y" },
    { 0x0177, L"y" }, { 0x0178, L"Y" }, { 0x0179, L"Z" }, { 0x017A, L"z" }, { 0x017B, L"Z" }, { 0x017C, L"z" },
    { 0x017D, L"Z" }, { 0x017E, L"z" }, { 0x017F, L"s" }, { 0x0192, L"f" }, { 0x01A0, L"O" }, { 0x01A1, L"o" },
    { 0x01AF, L"U" }, { 0x01B0, L"u" }, { 0x01C4, L"DZ" }, { 0x01C5, L"Dz" }, { 0x01C6, L"dz" }, { 0x01C7, L"LJ" },
    { 0x01C8, L"Lj" }, { 0x01C9, L"lj" }, { 0x01CA, L"NJ" }, { 0x01CB, L"Nj" }, { 0x01CC, L"nj" }, { 0x01CD, L"A" },
    { 0x01CE, L"a" }, { 0x01CF, L"I" }, { 0x01D0, L"i" }, { 0x01D1, L"O" }, { 0x01D2, L"o" }, { 0x01D3, L"U" },
    { 0x01D4, L"u" }, { 0x01D5, L"U" }, { 0x01D6, L"u" }, { 0x01D7, L"U" }, { 0x01D8, L"u" }, { 0x01D9, L"U" },
    { 0x01DA, L"u" }, { 0x01DB, L"U" }, { 0x01DC, L"u" }, { 0x01DE, L"A" }, { 0x01DF, L"a" }, { 0x01E0, L"A" },
    { 0x01E1, L"a" }, { 0x01E2, L"AE" }, { 0x01E3, L"ae" }, { 0x01E6, L"G" }, { 0x01E7, L"g" }, { 0x01E8, L"K" },
    { 0x01E9, L"k" }, { 0x01EA, L"O" }, { 0x01EB, L"o" }, { 0x01EC, L"O" }, { 0x01ED, L"o" }, { 0x01F0, L"j" },
    { 0x01F1, L"DZ" }, { 0x01F2, L"Dz" }, { 0x01F3, L"dz" }, { 0x01F4, L"G" }, { 0x01F5, L"g" }, { 0x01F8, L"N" },
    { 0x01F9, L"n" }, { 0x01FA, L"A" }, { 0x01FB, L"a" }, { 0x01FC, L"AE" }, { 0x01FD, L"ae" }, { 0x01FE, L"O" },
    { 0x01FF, L"o" }, { 0x0200, L"A" }, { 0x0201, L"a" }, { 0x0202, L"A" }, { 0x0203, L"a" }, { 0x0204, L"E" },
    { 0x0205, L"e" }, { 0x0206, L"E" }, { 0x0207, L"e" }, { 0x0208, L"I" }, { 0x0209, L"i" }, { 0x020A, L"I" },
    { 0x020B, L"i" }, { 0x020C, L"O" }, { 0x020D, L"o" }, { 0x020E, L"O" }, { 0x020F, L"o" }, { 0x0210, L"R" },
    { 0x0211, L"r" }, { 0x0212, L"R" }, { 0x0213, L"r" }, { 0x0214, L"U" }, { 0x0215, L"u" }, { 0x0216, L"U" },
    { 0x0217, L"u" }, { 0x0218, L"S" }, { 0x0219, L"s" }, { 0x021A, L"T" }, { 0x021B, L"t" }, { 0x021E, L"H" },
    { 0x021F, L"h" }, { 0x0226, L"A" }, { 0x0227, L"a" }, { 0x0228, L"E" }, { 0x0229, L"e" }, { 0x022A, L"O" },
    { 0x022B, L"o" }, { 0x022C, L"O" }, { 0x022D, L"o" }, { 0x022E, L"O" }, { 0x022F, L"o" }, { 0x0230, L"O" },
    { 0x0231, L"o" }, { 0x0232, L"Y" }, { 0x0233, L"y" }, { 0x037E, L";" }, { 0x0386, L"A" }, { 0x0387, L"·" },
    { 0x0388, L"E" }, { 0x0389, L"E" }, { 0x038A, L"I" }, { 0x038C, L"O" }, { 0x038E, L"Y" }, { 0x038F, L"O" },
    { 0x0390, L"i" }, { 0x0391, L"A" }, { 0x0392, L"B" }, { 0x0393, L"G" }, { 0x0394, L"D" }, { 0x0395, L"E" },
    { 0x0396, L"Z" }, { 0x0397, L"E" }, { 0x0398, L"Th" }, { 0x0399, L"I" }, { 0x039A, L"K" }, { 0x039B, L"L" },
    { 0x039C, L"M" }, { 0x039D, L"N" }, { 0x039E, L"X" }, { 0x039F, L"O" }, { 0x03A0, L"P" }, { 0x03A1, L"R" },
    { 0x03A3, L"S" }, { 0x03A4, L"T" }, { 0x03A5, L"Y" }, { 0x03A6, L"Ph" }, { 0x03A7, L"Ch" }, { 0x03A8, L"Ps" },
    { 0x03A9, L"O" }, { 0x03AA, L"I" }, { 0x03AB, L"Y" }, { 0x03AC, L"a" }, { 0x03AD, L"e" }, { 0x03AE, L"e" },
    { 0x03AF, L"i" }, { 0x03B0, L"y" }, { 0x03B1, L"a" }, { 0x03B2, L"b" }, { 0x03B3, L"g" }, { 0x03B4, L"d" },
    { 0x03B5, L"e" }, { 0x03B6, L"z" }, { 0x03B7, L"e" }, { 0x03B8, L"th" }, { 0x03B9, L"i" }, { 0x03BA, L"k" },
    { 0x03BB, L"l" }, { 0x03BC, L"m" }, { 0x03BD, L"n" }, { 0x03BE, L"x" }, { 0x03BF, L"o" }, { 0x03C0, L"p" },
    { 0x03C1, L"r" }, { 0x03C2, L"s" }, { 0x03C3, L"s" }, { 0x03C4, L"t" }, { 0x03C5, L"y" }, { 0x03C6, L"ph" },
    { 0x03C7, L"ch" }, { 0x03C8, L"ps" }, { 0x03C9, L"o" }, { 0x03CA, L"i" }, { 0x03CB, L"y" }, { 0x03CC, L"o" },
    { 0x03CD, L"y" }, { 0x03CE, L"o" }, { 0x03D0, L"b" }, { 0x03D1, L"th" }, { 0x03D2, L"Y" }, { 0x03D3, L"Y" },
    { 0x03D4, L"Y" }, { 0x03D5, L"ph" }, { 0x03D6, L"p" }, { 0x03F0, L"k" }, { 0x03F1, L"r" }, { 0x03F2, L"s" },
    { 0x03F4, L"Th" }, { 0x03F5, L"e" }, { 0x03F9, L"S" }, { 0x0400, L"Е" }, { 0x040D, L"И" }, { 0x0450, L"е" },
    { 0x045D, L"и" }, { 0x0462, L"Е" }, { 0x0463, L"е" }, { 0x0466, L"Я" }, { 0x0467, L"я" }, { 0x046A, L"У" },
    { 0x046B, L"у" }, { 0x0472, L"Ф" }, { 0x0473, L"ф" }, { 0x0474, L"И" }, { 0x0475, L"и" }, { 0x0476, L"И" },
    { 0x0477, L"и" }, { 0x0492, L"Г" }, { 0x0493, L"г" }, { 0x0494, L"Г" }, { 0x0495, L"г" }, { 0x0496, L"Ж" },
    { 0x0497, L"ж" }, { 0x0498, L"З" }, { 0x0499, L"з" }, { 0x049A, L"К" }, { 0x049B, L"к" }, { 0x049C, L"К" },
    { 0x049D, L"к" }, { 0x04A0, L"К" }, { 0x04A1, L"к" }, { 0x04A2, L"Н" }, { 0x04A3, L"н" }, { 0x04AA, L"С" },
    { 0x04AB, L"с" }, { 0x04AE, L"У" }, { 0x04AF, L"у" }, { 0x04B0, L"У" }, { 0x04B1, L"у" }, { 0x04B2, L"Х" },
    { 0x04B3, L"х" }, { 0x04B6, L"Ч" }, { 0x04B7, L"ч" }, { 0x04B8, L"Ч" }, { 0x04B9, L"ч" }, { 0x04BA, L"Х" },
    { 0x04BB, L"х" }, { 0x04C0, L"I" }, { 0x04C1, L"Ж" }, { 0x04C2, L"ж" }, { 0x04C9, L"Н" }, { 0x04CA, L"н" },
    { 0x04CF, L"I" }, { 0x04D0, L"А" }, { 0x04D1, L"а" }, { 0x04D2, L"А" }, { 0x04D3, L"а" }, { 0x04D6, L"Е" },
    { 0x04D7, L"е" }, { 0x04D8, L"А" }, { 0x04D9, L"а" }, { 0x04DA, L"А" }, { 0x04DB, L"а" }, { 0x04DC, L"Ж" },
    { 0x04DD, L"ж" }, { 0x04DE, L"З" }, { 0x04DF, L"з" }, { 0x04E2, L"И" }, { 0x04E3, L"и" }, { 0x04E4, L"И" },
    { 0x04E5, L"и" }, { 0x04E6, L"О" }, { 0x04E7, L"о" }, { 0x04E8, L"О" }, { 0x04E9, L"о" }, { 0x04EA, L"О" },
    { 0x04EB, L"о" }, { 0x04EC, L"Э" }, { 0x04ED, L"э" }, { 0x04EE, L"У" }, { 0x04EF, L"у" }, { 0x04F0, L"У" },
    { 0x04F1, L"у" }, { 0x04F2, L"У" }, { 0x04F3, L"у" }, { 0x04F4, L"Ч" }, { 0x04F5, L"ч" }, { 0x04F8, L"Ы" },
    { 0x04F9, L"ы" }, { 0x1E00, L"A" }, { 0x1E01, L"a" }, { 0x1E02, L"B" }, { 0x1E03, L"b" }, { 0x1E04, L"B" },
    { 0x1E05, L"b" }, { 0x1E06, L"B" }, { 0x1E07, L"b" }, { 0x1E08, L"C" }, { 0x1E09, L"c" }, { 0x1E0A, L"D" },
    { 0x1E0B, L"d" }, { 0x1E0C, L"D" }, { 0x1E0D, L"d" }, { 0x1E0E, L"D" }, { 0x1E0F, L"d" }, { 0x1E10, L"D" },
    { 0x1E11, L"d" }, { 0x1E12, L"D" }, { 0x1E13, L"d" }, { 0x1E14, L"E" }, { 0x1E15, L"e" }, { 0x1E16, L"E" },
    { 0x1E17, L"e" }, { 0x1E18, L"E" }, { 0x1E19, L"e" }, { 0x1E1A, L"E" }, { 0x1E1B, L"e" }, { 0x1E1C, L"E" },
    { 0x1E1D, L"e" }, { 0x1E1E, L"F" }, { 0x1E1F, L"f" }, { 0x1E20, L"G" }, { 0x1E21, L"g" }, { 0x1E22, L"H" },
    { 0x1E23, L"h" }, { 0x1E24, L"H" }, { 0x1E25, L"h" }, { 0x1E26, L"H" }, { 0x1E27, L"h" }, { 0x1E28, L"H" },
    { 0x1E29, L"h" }, { 0x1E2A, L"H" }, { 0x1E2B, L"h" }, { 0x1E2C, L"I" }, { 0x1E2D, L"i" }, { 0x1E2E, L"I" },
    { 0x1E2F, L"i" }, { 0x1E30, L"K" }, { 0x1E31, L"k" }, { 0x1E32, L"K" }, { 0x1E33, L"k" }, { 0x1E34, L"K" },
    { 0x1E35, L"k" }, { 0x1E36, L"L" }, { 0x1E37, L"l" }, { 0x1E38, L"L" }, { 0x1E39, L"l" }, { 0x1E3A, L"L" },
    { 0x1E3B, L"l" }, { 0x1E3C, L"L" }, { 0x1E3D, L"l" }, { 0x1E3E, L"M" }, { 0x1E3F, L"m" }, { 0x1E40, L"M" },
    { 0x1E41, L"m" }, { 0x1E42, L"M" }, { 0x1E43, L"m" }, { 0x1E44, L"N" }, { 0x1E45, L"n" }, { 0x1E46, L"N" },
    { 0x1E47, L"n" }, { 0x1E48, L"N" }, { 0x1E49, L"n" }, { 0x1E4A, L"N" }, { 0x1E4B, L"n" }, { 0x1E4C, L"O" },
    { 0x1E4D, L"o" }, { 0x1E4E, L"O" }, { 0x1E4F, L"o" }, { 0x1E50, L"O" }, { 0x1E51, L"o" }, { 0x1E52, L"O" },
    { 0x1E53, L"o" }, { 0x1E54, L"P" }, { 0x1E55, L"p" }, { 0x1E56, L"P" }, { 0x1E57, L"p" }, { 0x1E58, L"R" },
    { 0x1E59, L"r" }, { 0x1E5A, L"R" }, { 0x1E5B, L"r" }, { 0x1E5C, L"R" }, { 0x1E5D, L"r" }, { 0x1E5E, L"R" },
    { 0x1E5F, L"r" }, { 0x1E60, L"S" }, { 0x1E61, L"s" }, { 0x1E62, L"S" }, { 0x1E63, L"s" }, { 0x1E64, L"S" },
    { 0x1E65, L"s" }, { 0x1E66, L"S" }, { 0x1E67, L"s" }, { 0x1E68, L"S" }, { 0x1E69, L"s" }, { 0x1E6A, L"T" },
    { 0x1E6B, L"t" }, { 0x1E6C, L"T" }, { 0x1E6D, L"t" }, { 0x1E6E, L"T" }, { 0x1E6F, L"t" }, { 0x1E70, L"T" },
    { 0x1E71, L"t" }, { 0x1E72, L"U" }, { 0x1E73, L"u" }, { 0x1E74, L"U" }, { 0x1E75, L"u" }, { 0x1E76, L"U" },
    { 0x1E77, L"u" }, { 0x1E78, L"U" }, { 0x1E79, L"u" }, { 0x1E7A, L"U" }, { 0x1E7B, L"u" }, { 0x1E7C, L"V" },
    { 0x1E7D, L"v" }, { 0x1E7E, L"V" }, { 0x1E7F, L"v" }, { 0x1E80, L"W" }, { 0x1E81, L"w" }, { 0x1E82, L"W" },
    { 0x1E83, L"w" }, { 0x1E84, L"W" }, { 0x1E85, L"w" }, { 0x1E86, L"W" }, { 0x1E87, L"w" }, { 0x1E88, L"W" },
    { 0x1E89, L"w" }, { 0x1E8A, L"X" }, { 0x1E8B, L"x" }, { 0x1E8C, L"X" }, { 0x1E8D, L"x" }, { 0x1E8E, L"Y" },
    { 0x1E8F, L"y" }, { 0x1E90, L"Z" }, { 0x1E91, L"z" }, { 0x1E92, L"Z" }, { 0x1E93, L"z" }, { 0x1E94, L"Z" },
    { 0x1E95, L"z" }, { 0x1E96, L"h" }, { 0x1E97, L"t" }, { 0x1E98, L"w" }, { 0x1E99, L"y" }, { 0x1E9B, L"s" },
    { 0x1E9E, L"SS" }, { 0x1EA0, L"A" }, { 0x1EA1, L"a" }, { 0x1EA2, L"A" }, { 0x1EA3, L"a" }, { 0x1EA4, L"A" },
    { 0x1EA5, L"a" }, { 0x1EA6, L"A" }, { 0x1EA7, L"a" }, { 0x1EA8, L"A" }, { 0x1EA9, L"a" }, { 0x1EAA, L"A" },
    { 0x1EAB, L"a" }, { 0x1EAC, L"A" }, { 0x1EAD, L"a" }, { 0x1EAE, L"A" }, { 0x1EAF, L"a" }, { 0x1EB0, L"A" },
    { 0x1EB1, L"a" }, { 0x1EB2, L"A" }, { 0x1EB3, L"a" }, { 0x1EB4, L"A" }, { 0x1EB5, L"a" }, { 0x1EB6, L"A" },
    { 0x1EB7, L"a" }, { 0x1EB8, L"E" }, { 0x1EB9, L"e" }, { 0x1EBA, L"E" }, { 0x1EBB, L"e" }, { 0x1EBC, L"E" },
    { 0x1EBD, L"e" }, { 0x1EBE, L"E" }, { 0x1EBF, L"e" }, { 0x1EC0, L"E" }, { 0x1EC1, L"e" }, { 0x1EC2, L"E" },
    { 0x1EC3, L"e" }, { 0x1EC4, L"E" }, { 0x1EC5, L"e" }, { 0x1EC6, L"E" }, { 0x1EC7, L"e" }, { 0x1EC8, L"I" },
    { 0x1EC9, L"i" }, { 0x1ECA, L"I" }, { 0x1ECB, L"i" }, { 0x1ECC, L"O" }, { 0x1ECD, L"o" }, { 0x1ECE, L"O" },
    { 0x1ECF, L"o" }, { 0x1ED0, L"O" }, { 0x1ED1, L"o" }, { 0x1ED2, L"O" }, { 0x1ED3, L"o" }, { 0x1ED4, L"O" },
    { 0x1ED5, L"o" }, { 0x1ED6, L"O" }, { 0x1ED7, L"o" }, { 0x1ED8, L"O" }, { 0x1ED9, L"o" }, { 0x1EDA, L"O" },
    { 0x1EDB, L"o" }, { 0x1EDC, L"O" }, { 0x1EDD, L"o" }, { 0x1EDE, L"O" }, { 0x1EDF, L"o" }, { 0x1EE0, L"O" },
    { 0x1EE1, L"o" }, { 0x1EE2, L"O" }, { 0x1EE3, L"o" }, { 0x1EE4, L"U" }, { 0x1EE5, L"u" }, { 0x1EE6, L"U" },
    { 0x1EE7, L"u" }, { 0x1EE8, L"U" }, { 0x1EE9, L"u" }, { 0x1EEA, L"U" }, { 0x1EEB, L"u" }, { 0x1EEC, L"U" },
    { 0x1EED, L"u" }, { 0x1EEE, L"U" }, { 0x1EEF, L"u" }, { 0x1EF0, L"U" }, { 0x1EF1, L"u" }, { 0x1EF2, L"Y" },
    { 0x1EF3, L"y" }, { 0x1EF4, L"Y" }, { 0x1EF5, L"y" }, { 0x1EF6, L"Y" }, { 0x1EF7, L"y" }, { 0x1EF8, L"Y" },
    { 0x1EF9, L"y" }, { 0x2000, L" " }, { 0x2001, L" " }, { 0x2002, L" " }, { 0x2003, L" " }, { 0x2004, L" " },
    { 0x2005, L" " }, { 0x2006, L" " }, { 0x2007, L" " }, { 0x2008, L" " }, { 0x2009, L" " }, { 0x200A, L" " },
    { 0x200B, L"" }, { 0x200C, L"" }, { 0x200D, L"" }, { 0x200E, L"" }, { 0x200F, L"" }, { 0x2010, L"-" },
    { 0x2011, L"-" }, { 0x2012, L"-" }, { 0x2015, L"—" }, { 0x201B, L"'" }, { 0x201F, L"\"" }, { 0x2024, L"." },
    { 0x2025, L".." }, { 0x202F, L" " }, { 0x2032, L"'" }, { 0x2033, L"\"" }, { 0x2034, L"'''" }, { 0x203C, L"!!" },
    { 0x2044, L"/" }, { 0x2047, L"??" }, { 0x2048, L"?!" }, { 0x2049, L"!?" }, { 0x2057, L"''''" }, { 0x205F, L" " },
    { 0x2060, L"" }, { 0x2190, L"<-" }, { 0x2191, L"^" }, { 0x2192, L"->" }, { 0x2194, L"<->" }, { 0x21D0, L"<=" },
    { 0x21D2, L"=>" }, { 0x21D4, L"<=>" }, { 0x2212, L"-" }, { 0x2215, L"/" }, { 0x2217, L"*" }, { 0x223C, L"~" },
    { 0x2248, L"~" }, { 0x2260, L"!=" }, { 0x2264, L"<=" }, { 0x2265, L">=" }, { 0x27F5, L"<-" }, { 0x27F6, L"->" },
    { 0x27F9, L"=>" }, { 0x2E3A, L"—" }, { 0x3000, L" " }, { 0xFB00, L"ff" }, { 0xFB01, L"fi" }, { 0xFB02, L"fl" },
    { 0xFB03, L"ffi" }, { 0xFB04, L"ffl" }, { 0xFB05, L"st" }, { 0xFB06, L"st" }, { 0xFE0E, L"" }, { 0xFE0F, L"" },
    { 0xFEFF, L"" },
};

bool ByCode(const NearLetters& entry, unsigned code)
{
    return entry.code < code;
}

}  // namespace

bool NearestLetters(unsigned codePoint, std::wstring* letters)
{
    const NearLetters* end = NEAREST + sizeof NEAREST / sizeof NEAREST[0];
    const NearLetters* found = std::lower_bound(NEAREST, end, codePoint, ByCode);
    if (found == end || found->code != codePoint)
        return false;
    *letters = found->letters;
    return true;
}
