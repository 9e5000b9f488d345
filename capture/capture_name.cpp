#include "capture_name.h"
#include "capture_text.h"
#include "../platform/platform_text.h"
#include "../store/path_slot.h"
#include "../resources/ui_strings.h"

#include <windows.h>
#include <wchar.h>
#include <vector>

namespace {

// Only the start of a line can become a name: a line of a whole page is
// never converted for it.
const size_t LINE_LOOKED_AT = 4 * SLOT_SIZE;
// Past this, a place full of one name has something else wrong with it.
const int NUMBER_MAX = 9999;

bool BreaksName(wchar_t c)
{
    return c < 0x20 || c == 0x7F || c == 0x98 || c == 0xA0 || c == OUTSIDE_1251_MARK || wcschr(L"\\/:*?\"<>|", c);
}

bool IsLetterOrDigit(wchar_t c)
{
    WORD type = 0;
    return GetStringTypeW(CT_CTYPE1, &c, 1, &type) && (type & (C1_ALPHA | C1_DIGIT));
}

// The words of one line as a name could hold them, in Windows-1251; empty
// when the line holds no letter and no digit.
std::string NameWordsOf(const std::wstring& line)
{
    std::wstring letters = ReplaceOutside1251(line.substr(0, LINE_LOOKED_AT), NULL);
    std::wstring words;
    bool usable = false;
    for (wchar_t c : letters) {
        if (BreaksName(c) || c == L' ') {
            if (!words.empty() && words[words.size() - 1] != L' ')
                words += L' ';
            continue;
        }
        usable = usable || IsLetterOrDigit(c);
        words += c;
    }
    if (!usable)
        return std::string();
    std::vector<char> narrow(words.size() * 2 + 1);
    if (TextTo1251(words.c_str(), (int)words.size(), narrow.data(), (int)narrow.size()) != TEXT_FITS)
        return std::string();
    return narrow.data();
}

std::string FirstWordsOf(const std::wstring& text)
{
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = text.find_first_of(L"\r\n", begin);
        if (end == std::wstring::npos)
            end = text.size();
        std::string words = NameWordsOf(text.substr(begin, end - begin));
        if (!words.empty())
            return words;
        begin = end + 1;
    }
    return std::string();
}

// At most max characters, cut at the last blank that keeps a word whole;
// a single word longer than max is cut inside.
std::string ShortenAtWord(const std::string& words, size_t max)
{
    if (words.size() <= max)
        return words;
    size_t cut = words.rfind(' ', max);
    if (cut == std::string::npos || cut == 0)
        cut = max;
    return words.substr(0, cut);
}

// What Windows would strip or take for a device is made a plain name.
void MakeSafe(std::string* name)
{
    while (!name->empty() && (name->back() == ' ' || name->back() == '.'))
        name->pop_back();
    if (!name->empty() && CheckNameText(name->c_str()) == NAME_RESERVED)
        name->insert(0, "_");
}

std::string Numbered(const std::string& words, int number)
{
    if (number == 1)
        return words;
    char suffix[16];
    wsprintfA(suffix, " (%d)", number);
    return words + suffix;
}

}  // namespace

NameRule SuggestFactName(const std::wstring& text, const char* directive, char* name, size_t longest)
{
    std::string words = ShortenAtWord(FirstWordsOf(text), longest);
    MakeSafe(&words);
    if (words.empty())
        words = Text::CaptureDefaultName;
    name[0] = '\0';
    if (!directive || !directive[0]) {
        SlotCopy(name, words.c_str());
        return CheckNameText(name);
    }
    int number = 1;
    while (number <= NUMBER_MAX) {
        std::string candidate = Numbered(words, number);
        NameRule rule = CheckEntryName(directive, candidate.c_str(), ENTRY_FACT);
        if (rule == NAME_TAKEN) {
            number++;
            continue;
        }
        if (rule == NAME_TOO_LONG && words.size() > 1) {
            words = ShortenAtWord(words, words.size() - 1);
            MakeSafe(&words);
            if (!words.empty())
                continue;
        }
        SlotCopy(name, candidate.c_str());
        return rule;
    }
    return NAME_TAKEN;
}
