#include "text_encoding.h"

namespace {

const unsigned char UTF8_BOM[] = { 0xEF, 0xBB, 0xBF };

bool StartsWith(const std::string& bytes, const unsigned char* prefix, size_t length)
{
    return bytes.size() >= length && bytes.compare(0, length, (const char*)prefix, length) == 0;
}

// The length of the well-formed UTF-8 sequence at bytes[i] and its code
// point; 0 when none starts there (overlong forms, surrogates and values past
// U+10FFFF are not well-formed).
size_t Utf8Sequence(const std::string& bytes, size_t i, unsigned* code)
{
    unsigned char lead = (unsigned char)bytes[i];
    size_t length;
    unsigned minimum;
    if (lead < 0x80) {
        *code = lead;
        return 1;
    } else if (lead < 0xC2)
        return 0;
    else if (lead < 0xE0) {
        length = 2;
        minimum = 0x80;
        *code = lead & 0x1F;
    } else if (lead < 0xF0) {
        length = 3;
        minimum = 0x800;
        *code = lead & 0x0F;
    } else if (lead < 0xF5) {
        length = 4;
        minimum = 0x10000;
        *code = lead & 0x07;
    } else
        return 0;
    if (i + length > bytes.size())
        return 0;
    for (size_t k = 1; k < length; k++) {
        unsigned char next = (unsigned char)bytes[i + k];
        if ((next & 0xC0) != 0x80)
            return 0;
        *code = *code << 6 | (next & 0x3F);
    }
    if (*code < minimum || *code > 0x10FFFF || (*code >= 0xD800 && *code <= 0xDFFF))
        return 0;
    return length;
}

void AppendCodePoint(std::wstring* out, unsigned code)
{
    if (code < 0x10000) {
        *out += (wchar_t)code;
    } else {
        code -= 0x10000;
        *out += (wchar_t)(0xD800 + (code >> 10));
        *out += (wchar_t)(0xDC00 + (code & 0x3FF));
    }
}

}  // namespace

TextEncoding DetectEncoding(const std::string& bytes)
{
    if (StartsWith(bytes, UTF8_BOM, 3))
        return ENCODING_UTF8_BOM;
    if (bytes.size() >= 2 && (unsigned char)bytes[0] == 0xFF && (unsigned char)bytes[1] == 0xFE)
        return ENCODING_UTF16LE;
    if (bytes.size() >= 2 && (unsigned char)bytes[0] == 0xFE && (unsigned char)bytes[1] == 0xFF)
        return ENCODING_UTF16BE;
    // Without a BOM, UTF-8 is told by its shape. The guess is safe: Russian
    // text in Windows-1251 is almost never valid UTF-8, because its letters
    // (0xC0-0xFF) would each have to be followed by the right number of bytes
    // from 0x80-0xBF, which in Windows-1251 are rare signs and the letters
    // Ђ-ї, never a run of them after every lowercase letter. A text of plain
    // ASCII stays Windows-1251, whose bytes it has anyway.
    bool multiByte = false;
    for (size_t i = 0; i < bytes.size();) {
        unsigned code;
        size_t length = Utf8Sequence(bytes, i, &code);
        if (length == 0)
            return ENCODING_1251;
        multiByte = multiByte || length > 1;
        i += length;
    }
    return multiByte ? ENCODING_UTF8 : ENCODING_1251;
}

std::wstring DecodeText(const std::string& bytes, TextEncoding encoding, bool* malformed)
{
    *malformed = false;
    std::wstring text;
    text.reserve(bytes.size());
    if (encoding == ENCODING_UTF8 || encoding == ENCODING_UTF8_BOM) {
        for (size_t i = encoding == ENCODING_UTF8_BOM ? 3 : 0; i < bytes.size();) {
            unsigned code;
            size_t length = Utf8Sequence(bytes, i, &code);
            if (length == 0) {
                *malformed = true;
                text += L'\xFFFD';
                i++;
            } else {
                AppendCodePoint(&text, code);
                i += length;
            }
        }
    } else if (encoding == ENCODING_UTF16LE || encoding == ENCODING_UTF16BE) {
        bool little = encoding == ENCODING_UTF16LE;
        size_t units = (bytes.size() - 2) / 2;
        for (size_t k = 0; k < units; k++) {
            unsigned char a = (unsigned char)bytes[2 + 2 * k], b = (unsigned char)bytes[3 + 2 * k];
            wchar_t unit = (wchar_t)(little ? (b << 8 | a) : (a << 8 | b));
            bool high = unit >= 0xD800 && unit <= 0xDBFF;
            bool low = unit >= 0xDC00 && unit <= 0xDFFF;
            if (high && k + 1 < units) {
                unsigned char c = (unsigned char)bytes[4 + 2 * k], d = (unsigned char)bytes[5 + 2 * k];
                wchar_t next = (wchar_t)(little ? (d << 8 | c) : (c << 8 | d));
                if (next >= 0xDC00 && next <= 0xDFFF) {
                    text += unit;
                    text += next;
                    k++;
                    continue;
                }
            }
            if (high || low) {
                *malformed = true;
                text += L'\xFFFD';
            } else {
                text += unit;
            }
        }
        if ((bytes.size() - 2) % 2 != 0) {  // an odd byte at the end
            *malformed = true;
            text += L'\xFFFD';
        }
    }
    return text;
}

std::string EncodeText(const std::wstring& text, TextEncoding encoding)
{
    std::string bytes;
    if (encoding == ENCODING_UTF8 || encoding == ENCODING_UTF8_BOM) {
        if (encoding == ENCODING_UTF8_BOM)
            bytes.assign((const char*)UTF8_BOM, 3);
        for (size_t i = 0; i < text.size(); i++) {
            unsigned code = text[i];
            if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF)
                code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
            if (code < 0x80) {
                bytes += (char)code;
            } else if (code < 0x800) {
                bytes += (char)(0xC0 | code >> 6);
                bytes += (char)(0x80 | (code & 0x3F));
            } else if (code < 0x10000) {
                bytes += (char)(0xE0 | code >> 12);
                bytes += (char)(0x80 | (code >> 6 & 0x3F));
                bytes += (char)(0x80 | (code & 0x3F));
            } else {
                bytes += (char)(0xF0 | code >> 18);
                bytes += (char)(0x80 | (code >> 12 & 0x3F));
                bytes += (char)(0x80 | (code >> 6 & 0x3F));
                bytes += (char)(0x80 | (code & 0x3F));
            }
        }
    } else if (encoding == ENCODING_UTF16LE || encoding == ENCODING_UTF16BE) {
        bool little = encoding == ENCODING_UTF16LE;
        bytes += little ? "\xFF\xFE" : "\xFE\xFF";
        for (size_t i = 0; i < text.size(); i++) {
            char high = (char)(text[i] >> 8), low = (char)(text[i] & 0xFF);
            bytes += little ? low : high;
            bytes += little ? high : low;
        }
    }
    return bytes;
}
