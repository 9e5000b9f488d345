#include "source_text.h"
#include "../store/text_encoding.h"

#include <windows.h>
#include <math.h>

namespace {

const UINT CODE_PAGES[3] = { 1251, 20866, 866 };
const SourceEncoding SINGLE_BYTE[3] = { SOURCE_1251, SOURCE_KOI8R, SOURCE_866 };

// How often each letter of the alphabet а…я (ё apart) stands in Russian prose, per mille.
const double LETTER_FREQUENCY[32] = {
    80.1, 15.9, 45.4, 17.0, 29.8, 84.5, 9.4, 16.5, 73.5, 12.1, 34.9, 44.0, 32.1, 67.0, 109.7, 28.1,
    47.3, 54.7, 62.6, 26.2, 2.6, 9.7, 4.8, 14.4, 7.3, 3.6, 0.4, 19.0, 17.4, 3.2, 6.4, 20.1,
};
const double YO_FREQUENCY = 0.4;
// Letters keep their case within a word: a small letter followed by
// capitals ("пРИВЕТ") is what Windows-1251 and KOI8-R make of each other's
// text, which swap the cases. The chance of each case after what came before:
// a word's start, a small letter, a capital.
enum { CASE_NONE, CASE_LOWER, CASE_UPPER };
const double CAPITAL_CHANCE[3] = { 0.15, 0.02, 0.8 };
// Signs Windows-1251 keeps among its upper half, which texts do use.
const double SIGN_FREQUENCY = 0.5;
// Everything else there (box drawing, rare letters of other languages).
const double STRANGE_FREQUENCY = 0.002;

// Each upper-half byte's log-likelihood and case in each code page, made once.
struct ByteScores {
    double score[3][128];
    int letterCase[3][128];
};

// A letter's own likelihood, case apart; 0 for what is not a Russian letter.
double LetterScore(wchar_t c, int* letterCase)
{
    double perMille;
    *letterCase = CASE_NONE;
    if (c >= 0x0410 && c <= 0x042F) {
        perMille = LETTER_FREQUENCY[c - 0x0410];
        *letterCase = CASE_UPPER;
    } else if (c >= 0x0430 && c <= 0x044F) {
        perMille = LETTER_FREQUENCY[c - 0x0430];
        *letterCase = CASE_LOWER;
    } else if (c == 0x0401 || c == 0x0451) {
        perMille = YO_FREQUENCY;
        *letterCase = c == 0x0401 ? CASE_UPPER : CASE_LOWER;
    } else if (c == 0x00AB || c == 0x00BB || c == 0x2014 || c == 0x2013 || c == 0x2026 || c == 0x2116 ||
               c == 0x201C || c == 0x201D || c == 0x201E || c == 0x00A0) {
        perMille = SIGN_FREQUENCY;
    } else {
        perMille = STRANGE_FREQUENCY;
    }
    return log(perMille / 1000.0);
}

const ByteScores& Scores()
{
    static ByteScores scores = [] {
        ByteScores made;
        for (int page = 0; page < 3; page++) {
            for (int b = 0; b < 128; b++) {
                char byte = (char)(0x80 + b);
                wchar_t c = 0;
                if (MultiByteToWideChar(CODE_PAGES[page], 0, &byte, 1, &c, 1) != 1)
                    c = 0;
                made.score[page][b] = LetterScore(c, &made.letterCase[page][b]);
            }
        }
        return made;
    }();
    return scores;
}

// Below these the likelier code page is only a guess: the log-likelihood
// lead over the next one, in all and per letter.
const double LEAD_NEEDED = 12.0;
const double LEAD_PER_BYTE_NEEDED = 0.4;

SourceGuess GuessSingleByte(const std::string& bytes)
{
    const ByteScores& scores = Scores();
    double total[3] = { 0, 0, 0 };
    int previous[3] = { CASE_NONE, CASE_NONE, CASE_NONE };
    size_t upper = 0;
    for (unsigned char b : bytes) {
        if (b < 0x80) {
            int latin = b >= 'a' && b <= 'z' ? CASE_LOWER : b >= 'A' && b <= 'Z' ? CASE_UPPER : CASE_NONE;
            previous[0] = previous[1] = previous[2] = latin;
            continue;
        }
        upper++;
        for (int page = 0; page < 3; page++) {
            int letterCase = scores.letterCase[page][b - 0x80];
            total[page] += scores.score[page][b - 0x80];
            if (letterCase != CASE_NONE) {
                double capital = CAPITAL_CHANCE[previous[page]];
                total[page] += log(letterCase == CASE_UPPER ? capital : 1.0 - capital);
            }
            previous[page] = letterCase;
        }
    }
    int best = 0;
    for (int page = 1; page < 3; page++)
        if (total[page] > total[best])
            best = page;
    double lead = INFINITY;
    for (int page = 0; page < 3; page++)
        if (page != best && total[best] - total[page] < lead)
            lead = total[best] - total[page];
    SourceGuess guess = { SINGLE_BYTE[best], false };
    guess.uncertain = upper > 0 && (lead < LEAD_NEEDED || lead / (double)upper < LEAD_PER_BYTE_NEEDED);
    return guess;
}

UINT CodePageOf(SourceEncoding encoding)
{
    for (int page = 0; page < 3; page++)
        if (SINGLE_BYTE[page] == encoding)
            return CODE_PAGES[page];
    return 0;
}

// Tabs, line ends and form feeds are a text's; every other control character is not.
bool IsTextCharacter(wchar_t c)
{
    return c >= 0x20 || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f';
}

}  // namespace

SourceGuess GuessSourceEncoding(const std::string& bytes)
{
    SourceGuess guess = { SOURCE_UTF8, false };
    switch (DetectEncoding(bytes)) {
    case ENCODING_UTF8_BOM: guess.encoding = SOURCE_UTF8_BOM; return guess;
    case ENCODING_UTF16LE: guess.encoding = SOURCE_UTF16LE; return guess;
    case ENCODING_UTF16BE: guess.encoding = SOURCE_UTF16BE; return guess;
    case ENCODING_UTF8: return guess;
    case ENCODING_1251: break;
    }
    for (unsigned char b : bytes)
        if (b >= 0x80)
            return GuessSingleByte(bytes);
    return guess;  // plain ASCII
}

SourceContent DecodeSource(const std::string& bytes, SourceEncoding encoding, std::wstring* text)
{
    text->clear();
    bool malformed = false;
    switch (encoding) {
    case SOURCE_UTF8:
        // Only what DetectEncoding also takes for UTF-8 is UTF-8 here, so
        // that a forced UTF-8 on other bytes is refused, not garbled.
        *text = DecodeText(bytes, ENCODING_UTF8, &malformed);
        break;
    case SOURCE_UTF8_BOM:
    case SOURCE_UTF16LE:
    case SOURCE_UTF16BE: {
        TextEncoding stored = encoding == SOURCE_UTF8_BOM  ? ENCODING_UTF8_BOM
                              : encoding == SOURCE_UTF16LE ? ENCODING_UTF16LE
                                                           : ENCODING_UTF16BE;
        if (DetectEncoding(bytes) != stored)
            return SOURCE_NOT_TEXT;
        *text = DecodeText(bytes, stored, &malformed);
        break;
    }
    default: {
        int size = bytes.empty()
                       ? 0
                       : MultiByteToWideChar(CodePageOf(encoding), 0, bytes.data(), (int)bytes.size(), NULL, 0);
        text->resize(size);
        if (size > 0)
            MultiByteToWideChar(CodePageOf(encoding), 0, bytes.data(), (int)bytes.size(), &(*text)[0], size);
        break;
    }
    }
    if (malformed)
        return SOURCE_NOT_TEXT;
    while (!text->empty() && text->back() == 0x1A)
        text->pop_back();
    bool blank = true;
    for (wchar_t c : *text) {
        if (!IsTextCharacter(c))
            return SOURCE_NOT_TEXT;
        blank = blank && (c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f');
    }
    return blank ? SOURCE_BLANK : SOURCE_TEXT;
}
