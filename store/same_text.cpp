#include "same_text.h"
#include "text_encoding.h"
#include "../platform/platform_text.h"

std::wstring SameTextKey(const std::wstring& text)
{
    std::wstring key;
    key.reserve(text.size());
    // Blanks are held back until something other than a line end follows them.
    size_t blanks = 0;
    for (size_t i = 0; i < text.size(); i++) {
        wchar_t c = text[i];
        if (c == L' ' || c == L'\t') {
            blanks++;
            continue;
        }
        if (c == L'\r' || c == L'\n') {
            blanks = 0;
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                i++;
            key += L'\n';
            continue;
        }
        if (blanks) {
            key.append(text, i - blanks, blanks);
            blanks = 0;
        }
        key += c;
    }
    while (!key.empty() && key.back() == L'\n')
        key.pop_back();
    return key;
}

unsigned long long SameTextHash(const std::wstring& key)
{
    // FNV-1a over the UTF-16 units.
    unsigned long long hash = 14695981039346656037ull;
    for (wchar_t c : key) {
        hash = (hash ^ (unsigned)(c & 0xFF)) * 1099511628211ull;
        hash = (hash ^ (unsigned)(c >> 8)) * 1099511628211ull;
    }
    return hash;
}

std::wstring TextOfFactFile(const std::string& bytes)
{
    TextEncoding encoding = DetectEncoding(bytes);
    std::wstring text;
    if (encoding == ENCODING_1251) {
        text = WideFrom1251(bytes.data(), (int)bytes.size());
    } else {
        bool malformed;
        text = DecodeText(bytes, encoding, &malformed);
    }
    size_t end = text.find_first_of(std::wstring(L"\0\x1A", 2));
    if (end != std::wstring::npos)
        text.resize(end);
    return text;
}
