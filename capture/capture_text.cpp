#include "capture_text.h"
#include "../store/text_encoding.h"

#include <windows.h>
#include <string.h>

// ---------------------------------------------------------------- the text taken

namespace {

bool BlankLine(const std::wstring& text, size_t begin, size_t end)
{
    for (size_t i = begin; i < end; i++)
        if (text[i] != L' ' && text[i] != L'\t')
            return false;
    return true;
}

}  // namespace

std::wstring TakenText(const std::wstring& clipboard)
{
    size_t length = clipboard.find(L'\0');
    if (length == std::wstring::npos)
        length = clipboard.size();

    // Every line as [begin, end), its line end left out.
    std::vector<size_t> begins, ends;
    size_t begin = 0;
    for (size_t i = 0; i < length; i++) {
        wchar_t c = clipboard[i];
        if (c != L'\r' && c != L'\n')
            continue;
        begins.push_back(begin);
        ends.push_back(i);
        if (c == L'\r' && i + 1 < length && clipboard[i + 1] == L'\n')
            i++;
        begin = i + 1;
    }
    begins.push_back(begin);
    ends.push_back(length);

    size_t first = 0, last = begins.size();
    while (first < last && BlankLine(clipboard, begins[first], ends[first]))
        first++;
    while (last > first && BlankLine(clipboard, begins[last - 1], ends[last - 1]))
        last--;
    std::wstring taken;
    taken.reserve(length + length / 32);
    for (size_t line = first; line < last; line++) {
        if (line > first)
            taken += L"\r\n";
        taken.append(clipboard, begins[line], ends[line] - begins[line]);
    }
    return taken;
}

// ---------------------------------------------------------------- the source

namespace {

std::wstring TrimmedBlanks(const std::wstring& text)
{
    size_t begin = text.find_first_not_of(L" \t\r\n");
    if (begin == std::wstring::npos)
        return std::wstring();
    size_t end = text.find_last_not_of(L" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

bool StartsWithKey(const std::string& line, const char* key)
{
    size_t length = strlen(key);
    return line.size() >= length && _strnicmp(line.c_str(), key, length) == 0;
}

// The header ends where StartHTML says the page begins; a header without
// that line ends at the first tag.
size_t HeaderEnd(const std::string& payload)
{
    size_t end = payload.find('<');
    if (end == std::string::npos)
        end = payload.size();
    size_t at = 0;
    while (at < end) {
        size_t lineEnd = payload.find_first_of("\r\n", at);
        if (lineEnd == std::string::npos || lineEnd > end)
            lineEnd = end;
        std::string line = payload.substr(at, lineEnd - at);
        if (StartsWithKey(line, "StartHTML:")) {
            long offset = strtol(line.c_str() + strlen("StartHTML:"), NULL, 10);
            if (offset > 0 && (size_t)offset < end)
                end = (size_t)offset;
        }
        at = lineEnd + 1;
    }
    return end;
}

}  // namespace

std::wstring SourceOfCapture(const std::string& htmlFormat, const std::wstring& windowTitle)
{
    const char key[] = "SourceURL:";
    size_t end = HeaderEnd(htmlFormat);
    size_t at = 0;
    while (at < end) {
        size_t lineEnd = htmlFormat.find_first_of("\r\n", at);
        if (lineEnd == std::string::npos || lineEnd > end)
            lineEnd = end;
        std::string line = htmlFormat.substr(at, lineEnd - at);
        if (StartsWithKey(line, key)) {
            bool malformed;
            std::wstring address = TrimmedBlanks(DecodeText(line.substr(strlen(key)), ENCODING_UTF8, &malformed));
            if (!address.empty())
                return address;
        }
        at = lineEnd + 1;
    }
    return TrimmedBlanks(windowTitle);
}

// ---------------------------------------------------------------- Windows-1251

namespace {

const UINT CYRILLIC_CODE_PAGE = 1251;

// The characters of Windows-1251's upper half, those that come back as the
// same byte: the rest of what fits is ASCII.
struct UpperHalf {
    wchar_t characters[128];
    int count;
};

UpperHalf UpperHalfOf1251()
{
    UpperHalf half = {};
    for (int byte = 0x80; byte <= 0xFF; byte++) {
        char narrow = (char)byte;
        wchar_t wide;
        if (MultiByteToWideChar(CYRILLIC_CODE_PAGE, 0, &narrow, 1, &wide, 1) != 1)
            continue;
        char back = 0;
        BOOL replaced = FALSE;
        if (WideCharToMultiByte(CYRILLIC_CODE_PAGE, WC_NO_BEST_FIT_CHARS, &wide, 1, &back, 1, NULL, &replaced) == 1 &&
            !replaced && back == narrow)
            half.characters[half.count++] = wide;
    }
    return half;
}

bool InUpperHalf(const UpperHalf& half, wchar_t c)
{
    for (int i = 0; i < half.count; i++)
        if (half.characters[i] == c)
            return true;
    return false;
}

bool IsHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

void Count(std::vector<Replacement>* made, const std::wstring& character, const std::wstring& replacement)
{
    for (Replacement& known : *made)
        if (known.character == character) {
            known.count++;
            return;
        }
    Replacement added = { character, replacement, 1 };
    made->push_back(added);
}

}  // namespace

bool FitsWindows1251(const std::wstring& text)
{
    if (text.empty())
        return true;
    BOOL replaced = FALSE;
    int bytes = WideCharToMultiByte(CYRILLIC_CODE_PAGE, WC_NO_BEST_FIT_CHARS, text.data(), (int)text.size(), NULL, 0,
                                    NULL, &replaced);
    return bytes > 0 && !replaced;
}

std::wstring ReplaceOutside1251(const std::wstring& text, std::vector<Replacement>* made)
{
    std::vector<Replacement> list;
    UpperHalf half = UpperHalfOf1251();
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); i++) {
        wchar_t c = text[i];
        if (c < 0x80 || InUpperHalf(half, c)) {
            result += c;
            continue;
        }
        std::wstring character(1, c);
        unsigned code = c;
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            character += text[i + 1];
            code = 0x10000 + ((unsigned)(c - 0xD800) << 10) + (unsigned)(text[i + 1] - 0xDC00);
            i++;
        }
        std::wstring letters;
        if (!NearestLetters(code, &letters))
            letters = std::wstring(1, OUTSIDE_1251_MARK);
        result += letters;
        Count(&list, character, letters);
    }
    if (made)
        *made = list;
    return result;
}

// ---------------------------------------------------------------- duplicates

namespace {

bool IsSpaceOfText(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' || c == 0x00A0 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000;
}

}  // namespace

std::wstring DuplicateKey(const std::wstring& text)
{
    std::wstring lower = text;
    if (!lower.empty())
        LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, text.data(), (int)text.size(), &lower[0], (int)lower.size());
    std::wstring key;
    key.reserve(lower.size());
    bool pendingBlank = false;
    for (wchar_t c : lower) {
        if (IsSpaceOfText(c)) {
            pendingBlank = !key.empty();
            continue;
        }
        if (pendingBlank)
            key += L' ';
        pendingBlank = false;
        key += c == L'ё' ? L'е' : c;
    }
    return key;
}
