// Quick capture without its window: the text taken from the clipboard, its
// source, the characters Windows-1251 lacks, the suggested name and place,
// the duplicate check, and filing the fact.
#include "../capture/capture_base.h"
#include "../capture/capture_name.h"
#include "../capture/capture_save.h"
#include "../capture/capture_text.h"
#include "../store/base_changes.h"
#include "../store/folder_walk.h"
#include "../store/text_file.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <stdlib.h>
#include <string.h>

namespace {

// Wide texts in assertion messages, readable in the Windows-1251 log.
std::string Shown(const std::wstring& text)
{
    std::string shown;
    for (wchar_t c : text) {
        char one[8];
        if (TextTo1251(&c, 1, one, sizeof one) == TEXT_FITS && c >= 0x20)
            shown += one;
        else
            shown += "\\u" + std::to_string((unsigned)c);
    }
    return shown;
}

std::string FileBytes(const std::string& path)
{
    std::string bytes;
    return ReadBytes(path, &bytes) ? bytes : "<missing>";
}

// ---------------------------------------------------------------- the text taken

TEST(TakenText, LineEndsBecomeCrLfAndSurroundingBlankLinesGo)
{
    struct Case {
        const wchar_t* clipboard;
        const wchar_t* taken;
    };
    const Case cases[] = {
        { L"один\nдва", L"один\r\nдва" },
        { L"один\rдва", L"один\r\nдва" },
        { L"один\r\nдва", L"один\r\nдва" },
        { L"один\r\r\nдва\n\rтри", L"один\r\n\r\nдва\r\n\r\nтри" },
        { L"\r\n  \t\r\n  с отступом и хвостом  \r\n\t\r\n", L"  с отступом и хвостом  " },
        { L"\n\nверх\n\n  \t\nниз\n\n", L"верх\r\n\r\n  \t\r\nниз" },
        { L"   ", L"" },
        { L"", L"" },
        { L"\t\r\n\r\n", L"" },
        { L"Café → ≈ 😀", L"Café → ≈ 😀" },
        { L"строка\u00a0с неразрывным", L"строка\u00a0с неразрывным" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Shown(c.clipboard));
        EXPECT_EQ(Shown(TakenText(c.clipboard)), Shown(c.taken));
    }
    std::wstring withNul(L"до\0после", 8);
    EXPECT_EQ(Shown(TakenText(withNul)), Shown(L"до")) << "the clipboard's text ends at its NUL";
}

// ---------------------------------------------------------------- the source

// A clipboard "HTML Format" payload as a browser writes it: the header's
// offsets count bytes from the payload's start, ten digits each.
std::string HtmlFormatPayload(const std::string& sourceLine, const std::string& fragment)
{
    const char header[] = "Version:0.9\r\n"
                          "StartHTML:%010d\r\n"
                          "EndHTML:%010d\r\n"
                          "StartFragment:%010d\r\n"
                          "EndFragment:%010d\r\n";
    std::string before = "<html><body>\r\n<!--StartFragment-->";
    std::string after = "<!--EndFragment-->\r\n</body></html>";
    char probe[512];
    int headerSize = wsprintfA(probe, header, 0, 0, 0, 0) + (int)sourceLine.size();
    int startFragment = headerSize + (int)before.size();
    int endFragment = startFragment + (int)fragment.size();
    int endHtml = endFragment + (int)after.size();
    wsprintfA(probe, header, headerSize, endHtml, startFragment, endFragment);
    return probe + sourceLine + before + fragment + after;
}

TEST(SourceOfCapture, TheAddressOfTheHtmlFormatOrElseTheWindowTitle)
{
    // "Пирамида" and "é" as the UTF-8 bytes a browser writes.
    const std::string pyramid = "\xD0\x9F\xD0\xB8\xD1\x80\xD0\xB0\xD0\xBC\xD0\xB8\xD0\xB4\xD0\xB0";
    struct Case {
        const char* what;
        std::string payload;
        const wchar_t* title;
        const wchar_t* source;
    };
    const Case cases[] = {
        { "a page's address",
          HtmlFormatPayload("SourceURL:https://ru.example.org/wiki/" + pyramid + "\r\n", "<b>x</b>"), L"Окно",
          L"https://ru.example.org/wiki/Пирамида" },
        { "blanks around it", HtmlFormatPayload("SourceURL:  https://example.org/caf\xC3\xA9 \r\n", "x"), L"Окно",
          L"https://example.org/café" },
        { "in any case of the key", HtmlFormatPayload("sourceurl:https://example.org/\r\n", "x"), L"Окно",
          L"https://example.org/" },
        { "no address", HtmlFormatPayload("", "x"), L"  Документ - Блокнот ", L"Документ - Блокнот" },
        { "an empty address", HtmlFormatPayload("SourceURL:\r\n", "x"), L"Документ", L"Документ" },
        { "an address in the page, not in the header",
          HtmlFormatPayload("", "SourceURL:https://example.org/not-this\r\n"), L"Документ", L"Документ" },
        { "LF line ends", "Version:0.9\nSourceURL:https://example.org/lf\n<html></html>", L"Окно",
          L"https://example.org/lf" },
        { "no payload at all", "", L"Заголовок окна", L"Заголовок окна" },
        { "neither", "", L"", L"" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Shown(SourceOfCapture(c.payload, c.title)), Shown(c.source));
    }
}

// ---------------------------------------------------------------- Windows-1251

TEST(Windows1251, NearestLettersAndWhatIsListed)
{
    struct Case {
        std::wstring text;
        std::wstring replaced;
        std::vector<Replacement> made;
    };
    const wchar_t mark[] = { OUTSIDE_1251_MARK, 0 };
    const Case cases[] = {
        { L"Café, Müller, Straße",
          L"Cafe, Muller, Strasse",
          { { L"é", L"e", 1 }, { L"ü", L"u", 1 }, { L"ß", L"ss", 1 } } },
        { L"a → b ≈ c → d", L"a -> b ~ c -> d", { { L"→", L"->", 2 }, { L"≈", L"~", 1 } } },
        { L"— – “” « » … № € іїєґў", L"— – “” « » … № € іїєґў", {} },
        { L"Ωμέγα θ",
          L"Omega th",
          { { L"Ω", L"O", 1 },
            { L"μ", L"m", 1 },
            { L"έ", L"e", 1 },
            { L"γ", L"g", 1 },
            { L"α", L"a", 1 },
            { L"θ", L"th", 1 } } },
        { L"Қазақстан", L"Казакстан", { { L"Қ", L"К", 1 }, { L"қ", L"к", 1 } } },
        { L"әғқңөұүһ",
          L"агкноуух",
          { { L"ә", L"а", 1 },
            { L"ғ", L"г", 1 },
            { L"қ", L"к", 1 },
            { L"ң", L"н", 1 },
            { L"ө", L"о", 1 },
            { L"ұ", L"у", 1 },
            { L"ү", L"у", 1 },
            { L"һ", L"х", 1 } } },
        { L"ок😀 и 😀", std::wstring(L"ок") + mark + L" и " + mark, { { L"😀", mark, 2 } } },
        { L"漢字", std::wstring(mark) + mark, { { L"漢", mark, 1 }, { L"字", mark, 1 } } },
        { L"без\u200bшва\u00a0", L"безшва\u00a0", { { L"\u200b", L"", 1 } } },
        { L"тонкий\u2009пробел", L"тонкий пробел", { { L"\u2009", L" ", 1 } } },
        { L"≉ не ≈", std::wstring(mark) + L" не ~", { { L"≉", mark, 1 }, { L"≈", L"~", 1 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Shown(c.text));
        std::vector<Replacement> made;
        std::wstring replaced = ReplaceOutside1251(c.text, &made);
        EXPECT_EQ(Shown(replaced), Shown(c.replaced));
        EXPECT_TRUE(FitsWindows1251(replaced));
        EXPECT_EQ(FitsWindows1251(c.text), c.made.empty());
        ASSERT_EQ(made.size(), c.made.size());
        for (size_t i = 0; i < made.size(); i++) {
            EXPECT_EQ(Shown(made[i].character), Shown(c.made[i].character)) << i;
            EXPECT_EQ(Shown(made[i].replacement), Shown(c.made[i].replacement)) << i;
            EXPECT_EQ(made[i].count, c.made[i].count) << i;
        }
    }
}

// Every near letter is itself in Windows-1251 and stands for a character
// that is not: a wrong row would put "?" or a mark into a file, or replace
// a letter the file could have kept.
TEST(Windows1251, EveryNearLetterFitsAndReplacesOnlyWhatDoesNot)
{
    int rows = 0;
    for (unsigned code = 1; code < 0x10000; code++) {
        std::wstring letters;
        if (!NearestLetters(code, &letters))
            continue;
        rows++;
        std::wstring character(1, (wchar_t)code);
        char out[8];
        EXPECT_NE(TextTo1251(character.c_str(), 1, out, sizeof out), TEXT_FITS) << std::hex << code;
        EXPECT_TRUE(FitsWindows1251(letters)) << std::hex << code;
        EXPECT_EQ(letters.find(OUTSIDE_1251_MARK), std::wstring::npos) << std::hex << code;
    }
    EXPECT_GT(rows, 500);
}

TEST(Windows1251, TheFitAgreesWithThePlatformConversion)
{
    const wchar_t* texts[] = { L"Ёлка ёж", L"Ђ ђ Ў ў ™ ‰", L"é", L"\u0098", L"😀", L"", L"plain ASCII ~" };
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(Shown(text));
        char out[64];
        EXPECT_EQ(FitsWindows1251(text), TextTo1251(text, -1, out, sizeof out) == TEXT_FITS);
    }
}

// ---------------------------------------------------------------- the suggested name

std::wstring Repeated(const wchar_t* word, size_t times)
{
    std::wstring text;
    for (size_t i = 0; i < times; i++)
        text += (i ? L" " : L"") + std::wstring(word);
    return text;
}

TEST(SuggestedName, TheFirstWordsMadeAName)
{
    struct Case {
        std::wstring text;
        std::string name;
    };
    const Case cases[] = {
        { L"Пирамида Хеопса\r\nВторая строка", "Пирамида Хеопса" },
        { L"Что такое: «пирамида»?", "Что такое «пирамида»" },
        { L"\"Цитата\" <b>тег</b> a/b\\c|d*e", "Цитата b тег b a b c d e" },
        { L"Конец...", "Конец" },
        { L"Многоточие . . .", "Многоточие" },
        { L"  \t отступ\tс табом  ", "отступ с табом" },
        { L"*** ---\r\n\r\nХеопс", "Хеопс" },
        { L"Café → Müller", "Cafe - Muller" },  // the > of -> is no character of a name
        { L"😀 Улыбка 😀", "Улыбка" },
        { L"😀😀😀", Text::CaptureDefaultName },
        { L"!!! ??? ...", Text::CaptureDefaultName },
        { L"", Text::CaptureDefaultName },
        { L"CON", "_CON" },
        { L"lpt1.txt", "_lpt1.txt" },
        { L"nul", "_nul" },
        { L"CONSOLE", "CONSOLE" },
        { L"Қазақстан", "Казакстан" },
        { L"2026", "2026" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Shown(c.text));
        char name[SLOT_SIZE];
        EXPECT_EQ(SuggestFactName(c.text, NULL, name), NAME_OK);
        EXPECT_EQ(std::string(name), c.name);
    }
}

TEST(SuggestedName, ALongFirstLineIsCutAtAWord)
{
    // 300 characters: words of five letters and a blank.
    std::wstring line = Repeated(L"слово", 50);
    ASSERT_EQ(line.size(), 299u);
    char name[SLOT_SIZE];
    ASSERT_EQ(SuggestFactName(line + L"!\r\nещё", NULL, name), NAME_OK);
    std::string expected;
    while (expected.size() + 6 <= (size_t)SUGGESTED_NAME_MAX)
        expected += expected.empty() ? "слово" : " слово";
    EXPECT_EQ(std::string(name), expected);

    std::wstring oneWord(300, L'я');
    ASSERT_EQ(SuggestFactName(oneWord, NULL, name), NAME_OK);
    EXPECT_EQ(std::string(name), std::string(SUGGESTED_NAME_MAX, 'я')) << "one word longer than a name is cut inside";
}

// A Directive whose path leaves room for a name of about 30 characters
// (the name counts twice: its folder and its main text).
std::string DeepDirective(const std::string& root)
{
    std::string directive = root;
    std::string level((SLOT_CHARS - 66 - root.size()) / 4 - 1, 'к');
    for (int i = 0; i < 4; i++) {
        directive += "\\" + level;
        MakeFolder(directive);
    }
    return directive;
}

TEST(SuggestedName, FitsThePlaceAndStepsPastNamesItHolds)
{
    std::string root = NewTestFolder();
    std::string directive = root + "\\Раздел\\Тема\\Подтема\\Установка";
    MakeFolder(root + "\\Раздел");
    MakeFolder(root + "\\Раздел\\Тема");
    MakeFolder(root + "\\Раздел\\Тема\\Подтема");
    MakeFolder(directive);
    MakeFolder(directive + "\\Пирамида Хеопса");
    MakeFolder(directive + "\\ПИРАМИДА ХЕОПСА (2)");
    MakeFolder(directive + "\\" + Text::CaptureDefaultName);
    WriteBytes(directive + "\\Сфинкс", "a file stands in the way too");

    struct Case {
        const wchar_t* text;
        std::string name;
    };
    const Case cases[] = {
        { L"Пирамида Хеопса", "Пирамида Хеопса (3)" },
        { L"Сфинкс", "Сфинкс (2)" },
        { L"😀", std::string(Text::CaptureDefaultName) + " (2)" },
        { L"Новое", "Новое" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Shown(c.text));
        char name[SLOT_SIZE];
        EXPECT_EQ(SuggestFactName(c.text, directive.c_str(), name), NAME_OK);
        EXPECT_EQ(std::string(name), c.name);
    }

    std::string deep = DeepDirective(root);
    char name[SLOT_SIZE];
    ASSERT_EQ(SuggestFactName(Repeated(L"слово", 50), deep.c_str(), name), NAME_OK);
    EXPECT_EQ(CheckEntryName(deep.c_str(), name, ENTRY_FACT), NAME_OK);
    EXPECT_LT(strlen(name), (size_t)SUGGESTED_NAME_MAX) << "the place leaves less than a full name";
    EXPECT_EQ(strlen(name) % 6, 5u) << "whole words only: " << name;
    std::string longer = std::string(name) + " слово";
    EXPECT_EQ(CheckEntryName(deep.c_str(), longer.c_str(), ENTRY_FACT), NAME_TOO_LONG)
        << "no more words than the place holds are dropped";

    MakeFolder(deep + "\\" + name);
    char second[SLOT_SIZE];
    ASSERT_EQ(SuggestFactName(Repeated(L"слово", 50), deep.c_str(), second), NAME_OK);
    EXPECT_EQ(CheckEntryName(deep.c_str(), second, ENTRY_FACT), NAME_OK);
    EXPECT_NE(std::string(second).find(" (2)"), std::string::npos) << second;
}

// ---------------------------------------------------------------- the place

struct Base {
    std::string root;
    std::string Directive(const std::string& section, const std::string& directive)
    {
        std::string path = root;
        const std::string levels[] = { section, "Тема", "Подтема", directive };
        for (const std::string& level : levels) {
            path += "\\" + level;
            if (!PathExists(path))
                MakeFolder(path);
        }
        return path;
    }
};

unsigned long long Ticks(const FILETIME& time)
{
    return (unsigned long long)time.dwHighDateTime << 32 | time.dwLowDateTime;
}

unsigned long long CreatedAt(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    EXPECT_TRUE(GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) << path;
    return Ticks(data.ftCreationTime);
}

// Makes a fact folder whose creation time comes strictly after every one
// made before. The file system's clock runs in coarse steps (a few
// milliseconds under Wine), so a folder made within the same step is made
// again until the clock has moved on.
void MakeFactFolder(const std::string& folder, unsigned long long* last)
{
    for (;;) {
        MakeFolder(folder);
        unsigned long long created = CreatedAt(folder);
        if (created > *last) {
            *last = created;
            return;
        }
        RemoveTree(folder);
        Sleep(1);
    }
}

TEST(CapturePlace, TheLastUsedOrTheNewestFactsOrNone)
{
    Base base = { NewTestFolder() };
    char directive[SLOT_SIZE];
    EXPECT_FALSE(ChooseCapturePlace(base.root.c_str(), NULL, directive));
    EXPECT_STREQ(directive, "") << "a base with no fact has no place";
    std::string empty = base.Directive("Пусто", "Без фактов");
    EXPECT_FALSE(ChooseCapturePlace(base.root.c_str(), NULL, directive)) << "a Directive without facts is no place";

    std::string first = base.Directive("Азия", "Первая");
    std::string middle = base.Directive("Египет", "Средняя");
    std::string last = base.Directive("Яблоки", "Последняя");
    unsigned long long made = 0;
    MakeFactFolder(last + "\\Старый", &made);
    MakeFactFolder(first + "\\Средний", &made);
    MakeFactFolder(middle + "\\Новейший", &made);
    // Made later, but a file beside the Directives is no fact.
    WriteBytes(base.root + "\\Египет\\Тема\\файл.txt", "x");

    ASSERT_TRUE(ChooseCapturePlace(base.root.c_str(), NULL, directive));
    EXPECT_EQ(std::string(directive), middle) << "the Directive of the fact made last";
    ASSERT_TRUE(ChooseCapturePlace(base.root.c_str(), "", directive));
    EXPECT_EQ(std::string(directive), middle);

    ASSERT_TRUE(ChooseCapturePlace(base.root.c_str(), empty.c_str(), directive));
    EXPECT_EQ(std::string(directive), empty) << "the Directive used last, facts or not";

    struct Unusable {
        const char* what;
        std::string lastUsed;
    };
    const Unusable unusable[] = {
        { "a Topic", base.root + "\\Азия\\Тема" },
        { "a fact folder", middle + "\\Новейший" },
        { "gone", base.root + "\\Азия\\Тема\\Подтема\\Удалённая" },
        { "beside the base", base.root + "\\..\\Азия\\Тема\\Подтема\\Первая" },
        { "the root", base.root },
    };
    for (const Unusable& u : unusable) {
        SCOPED_TRACE(u.what);
        ASSERT_TRUE(ChooseCapturePlace(base.root.c_str(), u.lastUsed.c_str(), directive));
        EXPECT_EQ(std::string(directive), middle);
    }
}

struct Seen {
    std::vector<std::string> folders;
    std::vector<unsigned long long> created;
};

bool Note(const SeenFact& fact, void* context)
{
    Seen* seen = (Seen*)context;
    EXPECT_EQ(std::string(fact.folder), std::string(fact.directive) + "\\" + fact.name);
    seen->folders.push_back(fact.folder);
    seen->created.push_back(fact.created);
    return true;
}

TEST(CapturePlace, TheWalkMeetsEveryFactWithItsCreationTime)
{
    Base base = { NewTestFolder() };
    std::string a = base.Directive("Раздел", "А");
    std::string b = base.Directive("Раздел", "Б");
    MakeFolder(a + "\\Первый");
    MakeFolder(b + "\\Второй");
    MakeFolder(b + "\\Второй\\вложенная");  // below a fact: no fact of its own
    WriteBytes(a + "\\файл.txt", "a file among the facts is no fact");
    MakeFolder(base.root + "\\Мелко");  // a branch without Directives
    MakeFolder(base.root + "\\Мелко\\Тема");

    Seen seen;
    EXPECT_TRUE(WalkFactFolders(base.root.c_str(), Note, &seen));
    ASSERT_EQ(seen.folders.size(), 2u);
    for (size_t i = 0; i < seen.folders.size(); i++) {
        SCOPED_TRACE(seen.folders[i]);
        EXPECT_TRUE(seen.folders[i] == a + "\\Первый" || seen.folders[i] == b + "\\Второй");
        EXPECT_EQ(seen.created[i], CreatedAt(seen.folders[i]));
    }
    EXPECT_NE(seen.folders[0], seen.folders[1]);
}

// ---------------------------------------------------------------- duplicates

TEST(Duplicate, TheSameTextButForCaseYoBlanksAndLineEnds)
{
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        bool same;
    };
    const Case cases[] = {
        { L"Пирамида Хеопса", L"ПИРАМИДА хеопса", true },
        { L"Ёлка и ёж", L"елка и еж", true },
        { L"ЁЛКА", L"елка", true },
        { L"один  два\t\tтри", L"один два три", true },
        { L"один\r\nдва\r\n\r\nтри", L"один два\nтри", true },
        { L"  в начале и в конце \r\n", L"в начале и в конце", true },
        { L"Café", L"CAFÉ", true },
        { L"Пирамида Хеопса", L"Пирамида Хеопса.", false },
        { L"Пирамида Хеопса", L"Пирамида Хефрена", false },
        { L"одиндва", L"один два", false },
        { L"е", L"э", false },
        { L"Café", L"Cafe", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Shown(c.a) + " / " + Shown(c.b));
        EXPECT_EQ(DuplicateKey(c.a) == DuplicateKey(c.b), c.same);
    }
    std::vector<KnownText> known = { { "first", DuplicateKey(L"Другое") },
                                     { "second", DuplicateKey(L"Ёж\r\nи  ёлка") },
                                     { "third", DuplicateKey(L"еж и елка") } };
    const KnownText* found = FindSameText(DuplicateKey(L"ЕЖ И ЕЛКА"), known);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->factFolder, "second") << "the first that has it";
    EXPECT_EQ(FindSameText(DuplicateKey(L"ёж"), known), nullptr);
}

TEST(Duplicate, FoundInTheBaseWhateverTheFileEncoding)
{
    Base base = { NewTestFolder() };
    std::string directive = base.Directive("Раздел", "Установка");
    MakeFolder(directive + "\\Хеопс");
    WriteBytes(directive + "\\Хеопс\\Хеопс.txt", "Пирамида   Хеопса\r\nв Гизе");
    MakeFolder(directive + "\\Кафе");
    WriteBytes(directive + "\\Кафе\\Кафе.txt", "\xEF\xBB\xBF"
                                               "Caf\xC3\xA9 \xE2\x86\x92 bar");
    MakeFolder(directive + "\\Без текста");
    WriteBytes(directive + "\\Без текста\\Описание.txt", "only a description");

    char found[SLOT_SIZE];
    EXPECT_TRUE(FindDuplicateFact(base.root.c_str(), L"пирамида хеопса в гизе\r\n", found));
    EXPECT_EQ(std::string(found), directive + "\\Хеопс");
    const std::wstring keptWhole = L"CAFÉ → BAR";
    EXPECT_TRUE(FindDuplicateFact(base.root.c_str(), keptWhole, found)) << "a text kept as UTF-8 is found again";
    EXPECT_EQ(std::string(found), directive + "\\Кафе");
    EXPECT_FALSE(FindDuplicateFact(base.root.c_str(), L"Cafe -> bar", found));
    EXPECT_STREQ(found, "");
    EXPECT_FALSE(FindDuplicateFact(base.root.c_str(), L"only a description", found)) << "only main texts count";
}

// ---------------------------------------------------------------- saving

struct Heard {
    std::vector<std::string> factsChanged;
};

void Record(const BaseChange& change, void* context)
{
    if (change.kind == BASE_FACT_CHANGED)
        ((Heard*)context)->factsChanged.push_back(change.folder);
}

class SaveCaptured : public ::testing::Test {
protected:
    void SetUp() override
    {
        base.root = NewTestFolder();
        directive = base.Directive("Раздел", "Установка");
        ASSERT_TRUE(ListenToBaseChanges(Record, &heard));
    }
    void TearDown() override
    {
        StopListeningToBaseChanges(Record, &heard);
    }

    Base base;
    std::string directive;
    Heard heard;
};

TEST_F(SaveCaptured, BothFilesByteForByteInWindows1251)
{
    CaptureSave save = SaveCapturedFact(base.root.c_str(), directive.c_str(), "Пирамида Хеопса",
                                        L"https://ru.example.org/wiki/Пирамида",
                                        L"Первая строка\nвторая\r\n«третья» — …", CAPTURE_KEEP_EXACTLY);
    ASSERT_EQ(save.result, CAPTURE_SAVED);
    std::string folder = directive + "\\Пирамида Хеопса";
    EXPECT_EQ(std::string(save.factFolder), folder);
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{ "Описание.txt", "Пирамида Хеопса.txt" }));
    EXPECT_EQ(FileBytes(folder + "\\Описание.txt"), "https://ru.example.org/wiki/Пирамида");
    EXPECT_EQ(FileBytes(folder + "\\Пирамида Хеопса.txt"), "Первая строка\r\nвторая\r\n«третья» — …");
    EXPECT_EQ(heard.factsChanged, std::vector<std::string>{ folder });
}

TEST_F(SaveCaptured, TheTwoRoadsForCharactersOutside1251)
{
    struct Case {
        CaptureEncoding how;
        std::string description;
        std::string text;
    };
    const Case cases[] = {
        { CAPTURE_KEEP_EXACTLY,
          "\xEF\xBB\xBF"
          "https://example.org/caf\xC3\xA9",
          "\xEF\xBB\xBF"
          "Caf\xC3\xA9 \xE2\x86\x92 \xD0\xBA\xD0\xB0\xD1\x84\xD0\xB5\r\n\xF0\x9F\x98\x80" },
        { CAPTURE_REPLACE_INTO_1251, "https://example.org/cafe", "Cafe -> кафе\r\n\xA4" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        std::string name = c.how == CAPTURE_KEEP_EXACTLY ? "Как есть" : "Заменой";
        CaptureSave save = SaveCapturedFact(base.root.c_str(), directive.c_str(), name.c_str(),
                                            L"https://example.org/café", L"Café → кафе\n😀", c.how);
        ASSERT_EQ(save.result, CAPTURE_SAVED);
        EXPECT_EQ(FileBytes(std::string(save.factFolder) + "\\Описание.txt"), c.description);
        EXPECT_EQ(FileBytes(std::string(save.factFolder) + "\\" + name + ".txt"), c.text);

        // The store reads the file back as it was meant.
        std::wstring read;
        ASSERT_TRUE(ReadMainText(save.factFolder, name.c_str(), &read));
        std::wstring expected = c.how == CAPTURE_KEEP_EXACTLY
                                    ? L"Café → кафе\r\n😀"
                                    : L"Cafe -> кафе\r\n" + std::wstring(1, OUTSIDE_1251_MARK);
        EXPECT_EQ(Shown(read), Shown(expected));
    }
    EXPECT_EQ(heard.factsChanged.size(), 2u);
}

TEST_F(SaveCaptured, RefusedBeforeAnythingIsMade)
{
    MakeFolder(directive + "\\Был");
    std::string outside = NewTestFolder();
    struct Case {
        const char* what;
        std::string directive;
        const char* name;
        std::wstring text;
        CaptureResult result;
        NameRule rule;
    };
    const Case cases[] = {
        { "bad characters", directive, "Что?", L"текст", CAPTURE_NAME_REFUSED, NAME_BAD_CHARACTERS },
        { "trailing dot", directive, "Конец.", L"текст", CAPTURE_NAME_REFUSED, NAME_TRAILING },
        { "reserved", directive, "CON", L"текст", CAPTURE_NAME_REFUSED, NAME_RESERVED },
        { "taken", directive, "БЫЛ", L"текст", CAPTURE_NAME_REFUSED, NAME_TAKEN },
        { "empty", directive, "", L"текст", CAPTURE_NAME_REFUSED, NAME_EMPTY },
        { "place gone", base.root + "\\Раздел\\Тема\\Подтема\\Удалённая", "Новый", L"текст", CAPTURE_PLACE_GONE,
          NAME_OK },
        { "place beside the base", outside, "Новый", L"текст", CAPTURE_PLACE_GONE, NAME_OK },
        { "place through ..", directive + "\\..\\..\\..\\..\\..", "Новый", L"текст", CAPTURE_PLACE_GONE, NAME_OK },
        { "text too long", directive, "Длинный", std::wstring(EDIT_TEXT_MAX + 1, L'я'), CAPTURE_TEXT_TOO_LONG,
          NAME_OK },
        { "text too long once replaced", directive, "Длинный", std::wstring(EDIT_TEXT_MAX / 2 + 1, L'→'),
          CAPTURE_TEXT_TOO_LONG, NAME_OK },
    };
    std::vector<std::string> before = FolderEntries(directive);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CaptureSave save = SaveCapturedFact(base.root.c_str(), c.directive.c_str(), c.name, L"описание", c.text,
                                            CAPTURE_REPLACE_INTO_1251);
        EXPECT_EQ(save.result, c.result);
        EXPECT_EQ(save.rule, c.rule);
        EXPECT_STREQ(save.factFolder, "");
        EXPECT_EQ(FolderEntries(directive), before);
    }
    EXPECT_TRUE(FolderEntries(directive + "\\Был").empty());
    EXPECT_TRUE(FolderEntries(outside).empty());
    EXPECT_TRUE(heard.factsChanged.empty());
}

TEST_F(SaveCaptured, ANameTakenAfterItsCheckIsNeverWrittenInto)
{
    // The name passed the rule; then another program made the folder.
    ASSERT_EQ(CheckEntryName(directive.c_str(), "Гонка", ENTRY_FACT), NAME_OK);
    MakeFolder(directive + "\\Гонка");
    CaptureSave save = CreateCapturedFact(directive.c_str(), "Гонка", L"описание", L"текст", CAPTURE_KEEP_EXACTLY);
    EXPECT_EQ(save.result, CAPTURE_NAME_REFUSED);
    EXPECT_EQ(save.rule, NAME_TAKEN);
    EXPECT_TRUE(FolderEntries(directive + "\\Гонка").empty()) << "nothing is written into the other's folder";
    EXPECT_TRUE(heard.factsChanged.empty());

    RemoveTree(directive);
    save = CreateCapturedFact(directive.c_str(), "Гонка", L"описание", L"текст", CAPTURE_KEEP_EXACTLY);
    EXPECT_EQ(save.result, CAPTURE_PLACE_GONE) << "the place went after it was checked";
}

// The test command mounts a tiny full file system and names it here.
TEST_F(SaveCaptured, AFullDiskLeavesNothingHalfMade)
{
    const char* full = getenv("FACTS_FULL_DISK");
    if (!full || !*full)
        GTEST_SKIP() << "FACTS_FULL_DISK not set";
    std::string disk = full;
    std::string root = disk.substr(0, disk.rfind('\\'));
    std::vector<std::string> before = FolderEntries(disk);
    struct Case {
        const char* name;
        std::wstring text;
        CaptureEncoding how;
    };
    const Case cases[] = {
        { "В Windows-1251", std::wstring(EDIT_TEXT_MAX, L'я'), CAPTURE_KEEP_EXACTLY },
        { "В UTF-8", L"é" + std::wstring(EDIT_TEXT_MAX - 1, L'я'), CAPTURE_KEEP_EXACTLY },
        { "Длинное описание", L"коротко", CAPTURE_KEEP_EXACTLY },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring description = strcmp(c.name, "Длинное описание") == 0 ? std::wstring(EDIT_TEXT_MAX, L'д') : L"из";
        CaptureSave save = SaveCapturedFact(root.c_str(), disk.c_str(), c.name, description, c.text, c.how);
        EXPECT_EQ(save.result, CAPTURE_WRITE_FAILED);
        EXPECT_EQ(FolderEntries(disk), before) << "no fact folder and no file stay";
    }
    EXPECT_TRUE(heard.factsChanged.empty());
}

}  // namespace
