// Bringing a folder of text files in: what each file becomes, how a source
// tree lands on the levels, duplicates, the read-back, cancel, undo, and the
// command line.
#include "../import/import_command.h"
#include "../import/import_plan.h"
#include "../import/import_run.h"
#include "../import/import_undo.h"
#include "../import/source_text.h"
#include "../move/undo_stack.h"
#include "../platform/platform_text.h"
#include "../store/folder_walk.h"
#include "../store/same_text.h"
#include "../store/text_file.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>

namespace {

std::string InCodePage(const std::wstring& text, UINT codePage)
{
    int size = WideCharToMultiByte(codePage, 0, text.data(), (int)text.size(), NULL, 0, NULL, NULL);
    std::string bytes(size, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), (int)text.size(), &bytes[0], size, NULL, NULL);
    return bytes;
}

std::string Utf8(const std::wstring& text)
{
    return InCodePage(text, CP_UTF8);
}

std::string FileBytes(const std::string& path)
{
    std::string bytes;
    return ReadBytes(path, &bytes) ? bytes : "<missing>";
}

// Every path below top, files and folders, "\"-separated, sorted.
void ListBelow(const std::string& top, const std::string& below, std::vector<std::string>* paths)
{
    for (const std::string& name : FolderEntries(below.empty() ? top : top + "\\" + below)) {
        std::string path = below.empty() ? name : below + "\\" + name;
        paths->push_back(path);
        if (GetFileAttributesW(Wide(top + "\\" + path).c_str()) & FILE_ATTRIBUTE_DIRECTORY)
            ListBelow(top, path, paths);
    }
}

std::vector<std::string> TreeBelow(const std::string& top)
{
    std::vector<std::string> paths;
    ListBelow(top, "", &paths);
    std::sort(paths.begin(), paths.end());
    return paths;
}

// A base with one branch down to a Directive, and an empty source folder beside it.
struct Bed {
    std::string root, section, topic, subtopic, directive, source;
    Bed()
    {
        std::string top = NewTestFolder();
        root = top + "\\База";
        section = root + "\\Раздел";
        topic = section + "\\Тема";
        subtopic = topic + "\\Подтема";
        directive = subtopic + "\\Установка";
        source = top + "\\Заметки";
        for (const std::string* folder : { &root, &section, &topic, &subtopic, &directive, &source })
            MakeFolder(*folder);
    }
    void Write(const std::string& below, const std::string& bytes) const { WriteBytes(source + "\\" + below, bytes); }
    void Write(const std::wstring& below, const std::string& bytes) const
    {
        HANDLE file = CreateFileW((Wide(source) + L"\\" + below).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        DWORD written = 0;
        WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
        CloseHandle(file);
    }
};

struct Imported {
    ImportPlan plan;
    ImportReport report;
    ImportRecord record;
};

Imported Import(const Bed& bed, const std::string& place, const std::string& source = "")
{
    Imported done;
    EXPECT_EQ(PlanImport(bed.root, place, Wide(source.empty() ? bed.source : source), &done.plan), PLAN_READY);
    RunImport(done.plan, NULL, NULL, &done.report, &done.record);
    return done;
}

// The plan's entry and the report's line for the file of that name.
const ImportFileResult* ResultFor(const Imported& done, const std::wstring& fileName, const ImportFile** file = NULL)
{
    for (size_t i = 0; i < done.plan.files.size(); i++) {
        const std::wstring& source = done.plan.files[i].source;
        if (source.size() > fileName.size() && source.compare(source.size() - fileName.size(), fileName.size(), fileName) == 0 &&
            source[source.size() - fileName.size() - 1] == L'\\') {
            if (file)
                *file = &done.plan.files[i];
            return &done.report.files[i];
        }
    }
    return NULL;
}

const ImportFileResult* ResultFor(const Imported& done, const std::string& fileName)
{
    return ResultFor(done, Wide(fileName));
}

const std::wstring RUSSIAN = L"Съешь же ещё этих мягких французских булок, да выпей чаю.\n"
                             L"Широкая электрификация южных губерний даст мощный толчок подъёму сельского хозяйства.\n";

// ---------------------------------------------------------------- encodings

TEST(SourceEncoding, RussianTextIsToldInEachCodePage)
{
    struct Case {
        const char* what;
        std::string bytes;
        SourceEncoding encoding;  // SOURCE_ENCODINGS: too little to go by, any guess will do
        bool uncertain;
    };
    const Case cases[] = {
        { "Windows-1251", InCodePage(RUSSIAN, 1251), SOURCE_1251, false },
        { "KOI8-R", InCodePage(RUSSIAN, 20866), SOURCE_KOI8R, false },
        { "DOS 866", InCodePage(RUSSIAN, 866), SOURCE_866, false },
        // Capitals only: the right page, but the cases that tell most are missing.
        { "capitals in KOI8-R", InCodePage(L"СРОЧНО: СОБРАНИЕ ЖИЛЬЦОВ ДОМА В ПЯТНИЦУ ВЕЧЕРОМ", 20866), SOURCE_KOI8R, true },
        { "UTF-8", Utf8(RUSSIAN), SOURCE_UTF8, false },
        { "UTF-8 with a BOM", "\xEF\xBB\xBF" + Utf8(RUSSIAN), SOURCE_UTF8_BOM, false },
        { "UTF-16 LE", Utf16Bytes(RUSSIAN, true), SOURCE_UTF16LE, false },
        { "UTF-16 BE", Utf16Bytes(RUSSIAN, false), SOURCE_UTF16BE, false },
        { "plain ASCII", "plain text\n", SOURCE_UTF8, false },
        { "one short word", InCodePage(L"Да", 1251), SOURCE_ENCODINGS, true },
        { "French in Latin-1", InCodePage(L"Déjà vu, café", 1252), SOURCE_ENCODINGS, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SourceGuess guess = GuessSourceEncoding(c.bytes);
        if (c.encoding != SOURCE_ENCODINGS) {
            EXPECT_EQ(guess.encoding, c.encoding);
        }
        EXPECT_EQ(guess.uncertain, c.uncertain);
        std::wstring text;
        EXPECT_EQ(DecodeSource(c.bytes, guess.encoding, &text), SOURCE_TEXT);
    }
    std::wstring text;
    EXPECT_EQ(DecodeSource(InCodePage(RUSSIAN, 866), SOURCE_866, &text), SOURCE_TEXT);
    EXPECT_EQ(text, RUSSIAN);
    EXPECT_EQ(DecodeSource(InCodePage(RUSSIAN, 1251), SOURCE_UTF8, &text), SOURCE_NOT_TEXT)
        << "a forced UTF-8 on other bytes is refused";
}

// ---------------------------------------------------------------- what each file becomes

TEST(ImportedFile, EachSourceFileAndWhatItBecomes)
{
    Bed bed;
    const std::wstring longText = std::wstring(EDIT_TEXT_MAX / 2, L'я') + L"\n" + std::wstring(EDIT_TEXT_MAX / 2, L'я');
    // Each file's own text, so that none repeats another in the Directive.
    auto sample = [](const wchar_t* tag) { return RUSSIAN + L"Образец " + tag + L"\n"; };
    auto in1251 = [&](const wchar_t* tag) { return InCodePage(WithCrLf(sample(tag)), 1251); };
    const std::string description1251 = InCodePage(L"Съешь же ещё этих мягких французских булок, да выпей чаю.", 1251);
    std::string words, cutAtWord;  // a first line of 300 letters, and its words that fit 200
    while (words.size() < 300) {
        words += words.empty() ? "слово" : " слово";
        if (words.size() <= DESCRIPTION_LENGTH)
            cutAtWord = words;
    }
    // The longest name the Directive leaves room for, the main text "<name>.txt" counted.
    const std::string longName = std::string((SLOT_CHARS - bed.directive.size() - 6) / 2, 'д');
    const std::wstring longFile = Wide(std::string(100, 'д') + ".txt");  // Linux allows 255 bytes a name
    struct Case {
        const wchar_t* file;  // in the source folder
        std::string bytes;
        ImportSkip skip;
        const char* fact;         // the fact's folder name in the Directive
        std::string mainText;     // its main text's bytes
        std::string description;  // its description's bytes
    };
    const Case cases[] = {
        { L"1251.txt", InCodePage(sample(L"1251"), 1251), IMPORT_TAKEN, "1251", in1251(L"1251"), description1251 },
        { L"koi8.txt", InCodePage(sample(L"koi8"), 20866), IMPORT_TAKEN, "koi8", in1251(L"koi8"), description1251 },
        { L"dos.txt", InCodePage(WithCrLf(sample(L"dos")), 866) + "\x1A", IMPORT_TAKEN, "dos", in1251(L"dos"),
          description1251 },
        { L"utf8.text", Utf8(sample(L"utf8")), IMPORT_TAKEN, "utf8", in1251(L"utf8"), description1251 },
        { L"bom.txt", "\xEF\xBB\xBF" + Utf8(L"Café ≈ кофе\n"), IMPORT_TAKEN, "bom",
          "\xEF\xBB\xBF" + Utf8(L"Café ≈ кофе\r\n"), "\xEF\xBB\xBF" + Utf8(L"Café ≈ кофе") },
        { L"le.txt", Utf16Bytes(sample(L"le"), true), IMPORT_TAKEN, "le", in1251(L"le"), description1251 },
        { L"be.txt", Utf16Bytes(sample(L"be"), false), IMPORT_TAKEN, "be", in1251(L"be"), description1251 },
        { L"lone cr.txt", "one\rtwo\r", IMPORT_TAKEN, "lone cr", "one\r\ntwo\r\n", "one" },
        { L"README", "\n\n   plain words\nmore", IMPORT_TAKEN, "README", "\r\n\r\n   plain words\r\nmore", "plain words" },
        { L"heading.md", "\n## Заголовок заметки ##\nтекст", IMPORT_TAKEN, "heading",
          "\r\n## Заголовок заметки ##\r\nтекст", "Заголовок заметки" },
        { L"  blanks   and dots..txt", "x", IMPORT_TAKEN, "blanks and dots", "x", "x" },
        { L"Résumé.txt", "y", IMPORT_TAKEN, "Resume", "y", "y" },
        { L"!!!.txt", "Имя из текста\nи дальше", IMPORT_TAKEN, "Имя из текста", "Имя из текста\r\nи дальше",
          "Имя из текста" },
        { L"Установка.md", "first of a name", IMPORT_TAKEN, "Установка", "first of a name", "first of a name" },
        { L"Установка.txt", "taken name", IMPORT_TAKEN, "Установка (2)", "taken name", "taken name" },
        { L"long line.txt", words + "\nдальше", IMPORT_TAKEN, "long line", words + "\r\nдальше", cutAtWord },
        { longFile.c_str(), "long name", IMPORT_TAKEN, longName.c_str(), "long name",
          "long name" },
        { L"empty.txt", "", SKIP_EMPTY, NULL, "", "" },
        { L"blank.txt", " \r\n\t\n", SKIP_EMPTY, NULL, "", "" },
        { L"zero.txt", std::string("ab\0cd", 5), SKIP_NOT_TEXT, NULL, "", "" },
        { L"control.txt", "ab\x01\x02", SKIP_NOT_TEXT, NULL, "", "" },
        { L"bad bom.txt", "\xEF\xBB\xBF\xC3", SKIP_NOT_TEXT, NULL, "", "" },
        { L".hidden.txt", "hidden", SKIP_HIDDEN, NULL, "", "" },
        { L"picture.png", "\x89PNG", SKIP_OTHER_KIND, NULL, "", "" },
        { L"long.txt", Utf8(longText), SKIP_TOO_LONG, NULL, "", "" },
    };
    for (const Case& c : cases)
        bed.Write(c.file, c.bytes);
    MakeFolder(bed.source + "\\.git");
    bed.Write(".git\\HEAD.txt", "ref: refs/heads/main");
    Imported done = Import(bed, bed.directive);
    const ImportFile* hiddenFolder = NULL;
    ResultFor(done, L".git", &hiddenFolder);
    ASSERT_TRUE(hiddenFolder != NULL);
    EXPECT_EQ(hiddenFolder->skip, SKIP_HIDDEN) << "a hidden folder is left out whole, as one entry";
    EXPECT_EQ(ResultFor(done, "HEAD.txt"), (const ImportFileResult*)NULL);
    for (const Case& c : cases) {
        SCOPED_TRACE(Cp1251(c.file));
        const ImportFile* file = NULL;
        const ImportFileResult* result = ResultFor(done, c.file, &file);
        ASSERT_TRUE(result != NULL);
        EXPECT_EQ(file->skip, c.skip);
        if (c.skip != IMPORT_TAKEN) {
            EXPECT_EQ(result->outcome, OUTCOME_SKIPPED);
            continue;
        }
        EXPECT_EQ(result->outcome, OUTCOME_IMPORTED);
        std::string fact = bed.directive + "\\" + c.fact;
        EXPECT_EQ(result->factFolder, fact);
        EXPECT_EQ(FileBytes(fact + "\\" + c.fact + ".txt"), c.mainText);
        EXPECT_EQ(FileBytes(fact + "\\Описание.txt"), c.description);
        EXPECT_EQ(StampOfFile(Wide(fact + "\\" + c.fact + ".txt")).lastWrite,
                  StampOfFile(Wide(bed.source) + L"\\" + c.file).lastWrite)
            << "the main text keeps the source's last-write time";
    }
    EXPECT_EQ(done.plan.skipped[SKIP_EMPTY], 2);
    EXPECT_EQ(done.plan.newCategories, 0);
}

// ---------------------------------------------------------------- the tree on the levels

TEST(ImportTree, TheSourceTreeLandsOnTheLevelsBelowEachPlace)
{
    // Заметки: a.txt, А\b.txt, А\Б\c.txt, А\Б\В\Г\d.txt, and П\skip.png, which makes no category.
    struct Case {
        const char* what;
        std::string Bed::*place;  // NULL: the base root
        std::vector<std::string> facts;  // below the place
    };
    const Case cases[] = {
        { "into the base", NULL,
          { "Заметки\\Заметки\\Заметки\\Заметки\\a", "Заметки\\Заметки\\Заметки\\А\\b",
            "Заметки\\Заметки\\А\\Б\\c", "А\\Б\\В\\Г\\d" } },
        { "into a Section", &Bed::section,
          { "Заметки\\Заметки\\Заметки\\a", "Заметки\\Заметки\\А\\b", "Заметки\\А\\Б\\c", "А\\Б\\В - Г\\d" } },
        { "into a Topic", &Bed::topic, { "Заметки\\Заметки\\a", "Заметки\\А\\b", "А\\Б\\c", "А\\Б - В - Г\\d" } },
        { "into a Subtopic", &Bed::subtopic, { "Заметки\\a", "А\\b", "А - Б\\c", "А - Б - В - Г\\d" } },
        { "into a Directive", &Bed::directive, { "a", "b", "c", "d" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bed bed;
        bed.Write("a.txt", "a");
        MakeFolder(bed.source + "\\А");
        bed.Write("А\\b.txt", "b");
        MakeFolder(bed.source + "\\А\\Б");
        bed.Write("А\\Б\\c.txt", "c");
        MakeFolder(bed.source + "\\А\\Б\\В");
        MakeFolder(bed.source + "\\А\\Б\\В\\Г");
        bed.Write("А\\Б\\В\\Г\\d.txt", "d");
        MakeFolder(bed.source + "\\П");
        bed.Write("П\\skip.png", "p");
        std::string place = c.place ? bed.*c.place : bed.root;
        std::vector<std::string> before = TreeBelow(place);
        Imported done = Import(bed, place);
        std::vector<std::string> made;
        for (const ImportFileResult& result : done.report.files)
            if (result.outcome == OUTCOME_IMPORTED)
                made.push_back(result.factFolder.substr(place.size() + 1));
        EXPECT_EQ(made, c.facts);
        // Nothing else is made: each fact's two files and the categories above them.
        for (const std::string& path : TreeBelow(place))
            if (std::find(before.begin(), before.end(), path) == before.end()) {
                EXPECT_TRUE(std::any_of(made.begin(), made.end(),
                                        [&](const std::string& fact) {
                                            return fact == path || fact.compare(0, path.size() + 1, path + "\\") == 0 ||
                                                   path.compare(0, fact.size() + 1, fact + "\\") == 0;
                                        }))
                    << path << " was made for no fact";
            }
        EXPECT_EQ((int)done.record.categories.size(), done.plan.newCategories);
    }
}

// ---------------------------------------------------------------- duplicates

TEST(ImportDuplicates, ASecondRunAddsNothingAndAMatchElsewhereIsReported)
{
    Bed bed;
    bed.Write("one.txt", "Первый текст  \nс хвостом\n\n");
    bed.Write("two.txt", InCodePage(L"Второй текст", 20866));
    Imported first = Import(bed, bed.directive);
    ASSERT_EQ(first.report.count[OUTCOME_IMPORTED], 2);
    std::vector<std::string> after = TreeBelow(bed.root);

    Imported second = Import(bed, bed.directive);
    EXPECT_EQ(second.report.count[OUTCOME_ALREADY_THERE], 2);
    EXPECT_EQ(ResultFor(second, "one.txt")->factFolder, bed.directive + "\\one");
    EXPECT_TRUE(second.record.facts.empty());
    EXPECT_EQ(TreeBelow(bed.root), after) << "a second run writes nothing";

    // The same texts into another place: imported, each named with the fact it repeats.
    std::string other = bed.section + "\\Другая тема";
    MakeFolder(other);
    Imported elsewhere = Import(bed, other);
    EXPECT_EQ(elsewhere.report.count[OUTCOME_DUPLICATE], 2);
    EXPECT_EQ(ResultFor(elsewhere, "two.txt")->sameAs, bed.directive + "\\two");
    EXPECT_TRUE(ImportSucceeded(elsewhere.report));

    // Two files of one run with one text, bound for one Directive: the second is the first's.
    Bed twins;
    twins.Write("a.txt", "Один и тот же текст\r\n");
    twins.Write("b.txt", "Один и тот же текст\n");
    Imported once = Import(twins, twins.directive);
    EXPECT_EQ(once.report.count[OUTCOME_IMPORTED], 1);
    EXPECT_EQ(ResultFor(once, "b.txt")->outcome, OUTCOME_ALREADY_THERE);
}

TEST(SameText, LineEndsAndTrailingBlanksOnly)
{
    EXPECT_EQ(SameTextKey(L"a  \r\nb\t\r\n\r\n  "), SameTextKey(L"a\nb"));
    EXPECT_EQ(SameTextKey(L"a\rb"), SameTextKey(L"a\r\nb"));
    EXPECT_NE(SameTextKey(L"a b"), SameTextKey(L"a  b"));
    EXPECT_NE(SameTextKey(L"Текст"), SameTextKey(L"текст"));
    EXPECT_NE(SameTextKey(L"a\n\nb"), SameTextKey(L"a\nb"));
    EXPECT_NE(SameTextKey(L"  a"), SameTextKey(L"a"));
}

// ---------------------------------------------------------------- read back, cancel

TEST(ImportReadBack, AFactThatReadsBackOtherwiseIsRemoved)
{
    Bed bed;
    // Every letter fits Windows-1251, and those bytes are valid UTF-8: the
    // program would read the fact as "Привет мир".
    bed.Write("mojibake.txt", "\xEF\xBB\xBF" + Utf8(L"РџСЂРёРІРµС‚ РјРёСЂ"));
    bed.Write("fine.txt", "fine");
    Imported done = Import(bed, bed.directive);
    EXPECT_EQ(ResultFor(done, "mojibake.txt")->outcome, OUTCOME_MISMATCH);
    EXPECT_FALSE(PathExists(bed.directive + "\\mojibake"));
    EXPECT_EQ(ResultFor(done, "fine.txt")->outcome, OUTCOME_IMPORTED);
    EXPECT_EQ(done.record.facts.size(), 1u);
    EXPECT_FALSE(ImportSucceeded(done.report));
}

TEST(ImportCancel, StopsBetweenFactsAndKeepsWhatWasWritten)
{
    Bed bed;
    for (char c = 'a'; c <= 'e'; c++)
        bed.Write(std::string(1, c) + ".txt", std::string("text ") + c);
    ImportPlan plan;
    ASSERT_EQ(PlanImport(bed.root, bed.section, Wide(bed.source), &plan), PLAN_READY);
    ImportReport report;
    ImportRecord record;
    std::vector<int> seen;
    RunImport(
        plan,
        [](int done, int total, void* context) {
            ((std::vector<int>*)context)->push_back(done * 10 + total);
            return done < 2;
        },
        &seen, &report, &record);
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(report.reached, 2);
    EXPECT_EQ(report.count[OUTCOME_IMPORTED], 2);
    EXPECT_EQ(report.count[OUTCOME_NOT_REACHED], 3);
    EXPECT_EQ(seen, (std::vector<int>{ 5, 15, 25 }));
    EXPECT_EQ(record.facts.size(), 2u);
    EXPECT_EQ(FolderEntries(bed.section + "\\Заметки\\Заметки\\Заметки").size(), 2u);
}

// ---------------------------------------------------------------- undo

TEST(ImportUndo, EverythingUntouchedGoesAndAChangedFactStaysNamed)
{
    Bed bed;
    MakeFolder(bed.source + "\\Первая");
    MakeFolder(bed.source + "\\Вторая");
    bed.Write("Первая\\a.txt", "a");
    bed.Write("Первая\\b.txt", "b");
    bed.Write("Вторая\\c.txt", "c");
    Imported done = Import(bed, bed.section);
    ASSERT_EQ(done.record.facts.size(), 3u);
    std::string changed = bed.section + "\\Заметки\\Заметки\\Первая\\b";
    WriteBytes(changed + "\\b.txt", "changed by the user");
    ImportUndo undo;
    ASSERT_EQ(UndoImport(done.record, &undo), IMPORT_UNDONE_PARTLY);
    EXPECT_EQ(undo.factsRemoved, 2);
    EXPECT_FALSE(PathExists(bed.section + "\\Заметки\\Заметки\\Первая\\a"));
    EXPECT_FALSE(PathExists(bed.section + "\\Заметки\\Заметки\\Вторая")) << "a category of untouched facts goes whole";
    EXPECT_EQ(FileBytes(changed + "\\b.txt"), "changed by the user");
    std::vector<std::string> refused = undo.refused;
    std::sort(refused.begin(), refused.end());
    EXPECT_EQ(refused, (std::vector<std::string>{ bed.section + "\\Заметки", bed.section + "\\Заметки\\Заметки",
                                                  bed.section + "\\Заметки\\Заметки\\Первая", changed }));
    EXPECT_TRUE(PathExists(bed.topic)) << "what was there before stays";

    // Everything untouched: all of it goes, and the place is as it was.
    Bed clean;
    clean.Write("x.txt", "x");
    std::vector<std::string> was = TreeBelow(clean.root);
    Imported again = Import(clean, clean.root);
    ASSERT_EQ(UndoImport(again.record, &undo), IMPORT_UNDONE);
    EXPECT_EQ(undo.categoriesRemoved, 4);
    EXPECT_EQ(TreeBelow(clean.root), was);
}

TEST(ImportUndo, TheWholeImportIsOneStepOfTheProgramsUndo)
{
    ForgetAllSteps();
    Bed bed;
    bed.Write("a.txt", "a");
    bed.Write("b.txt", "b");
    Imported done = Import(bed, bed.subtopic);
    RememberImportStep(done.record);
    UndoStep step;
    ASSERT_TRUE(NewestStep(&step));
    EXPECT_EQ(step.kind, UNDO_IMPORT);
    EXPECT_STREQ(step.to, "Заметки") << "the menu names the source folder";
    WriteBytes(bed.subtopic + "\\Заметки\\a\\Описание.txt", "changed");
    EXPECT_EQ(UndoNewestStep(bed.root.c_str(), &step), UNDO_PARTLY);
    EXPECT_EQ(LastImportUndo().refused,
              (std::vector<std::string>{ bed.subtopic + "\\Заметки\\a", bed.subtopic + "\\Заметки" }));
    EXPECT_FALSE(PathExists(bed.subtopic + "\\Заметки\\b"));
    EXPECT_EQ(UndoNewestStep(bed.root.c_str(), &step), UNDO_NOTHING) << "the step is done with";

    Bed empty;
    empty.Write("empty.txt", "");
    Imported nothing = Import(empty, empty.subtopic);
    EXPECT_TRUE(nothing.record.facts.empty());
    RememberImportStep(nothing.record);
    EXPECT_FALSE(NewestStep(&step)) << "an import that made nothing is no step";
}

// ---------------------------------------------------------------- the command line

int RunCommand(const std::string& root, std::vector<std::wstring> arguments)
{
    std::vector<wchar_t*> argv;
    std::wstring program = L"facts.exe";
    argv.push_back(&program[0]);
    for (std::wstring& argument : arguments)
        argv.push_back(&argument[0]);
    std::string was = CurrentDirectory();
    SetCurrentDirectoryW(Wide(root).c_str());
    int code = RunImportCommand((int)argv.size(), argv.data());
    SetCurrentDirectoryW(Wide(was).c_str());
    return code;
}

TEST(ImportCommand, ExitCodes)
{
    Bed bed;
    bed.Write("a.txt", "a");
    bed.Write("empty.txt", "");
    wchar_t* plain[] = { (wchar_t*)L"facts.exe", (wchar_t*)L"--import" };
    EXPECT_TRUE(AsksForImport(2, plain));
    EXPECT_EQ(RunCommand(bed.root, { L"--import", Wide(bed.source) }), 2) << "a missing place";
    EXPECT_EQ(RunCommand(bed.root, { L"--import", Wide(bed.source), L"Нет такого раздела" }), 1);
    EXPECT_EQ(RunCommand(bed.root, { L"--import", Wide(bed.source + "\\нет"), L"Раздел" }), 1);
    EXPECT_EQ(RunCommand(bed.root, { L"--import", Wide(bed.source), L"Раздел/Тема" }), 0)
        << "imported, and an empty file skipped for its stated reason";
    EXPECT_TRUE(PathExists(bed.topic + "\\Заметки\\Заметки\\a\\a.txt"));
    EXPECT_EQ(RunCommand(bed.root, { L"--import", Wide(bed.source), L"Раздел\\Тема" }), 0) << "the second run";
    EXPECT_EQ(RunCommand(bed.root, { L"--import", Wide(bed.source + "\\a.txt"), L"" }), 0)
        << "one file into the base, a duplicate of the first";
    EXPECT_TRUE(PathExists(bed.root + "\\Заметки\\Заметки\\Заметки\\Заметки\\a"));
    bed.Write("mojibake.txt", "\xEF\xBB\xBF" + Utf8(L"РџСЂРёРІРµС‚"));
    EXPECT_EQ(RunCommand(bed.root, { L"--import", Wide(bed.source), L"Раздел\\Тема\\Подтема\\Установка" }), 1)
        << "a fact that did not read back";
}

}  // namespace
