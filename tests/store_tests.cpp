// The fact store, byte for byte: text files, folders, listings and paths.
#include "../store/base_changes.h"
#include "../store/fact_store.h"
#include "../store/path_slot.h"
#include "../platform/platform_text.h"
#include "../resources/ui_strings.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <vector>

namespace {

std::string Bytes(const char* data, size_t size)
{
    return std::string(data, size);
}

std::string ReadText(const std::string& path, ReadResult* result = nullptr)
{
    std::vector<char> text(TEXT_BUFFER_SIZE, 'x');
    ReadResult got = ReadTextFile(path.c_str(), text.data());
    if (result)
        *result = got;
    return got == READ_OK ? std::string(text.data()) : std::string("<failed>");
}

std::string FileOf(const std::string& path)
{
    std::string bytes;
    return ReadBytes(path, &bytes) ? bytes : std::string("<missing>");
}

// ---------------------------------------------------------------- writing

struct WriteCase {
    const char* name;
    std::string text;
    std::string file;
};

TEST(WriteTextFile, StoresTheEditTextByteForByte)
{
    const WriteCase cases[] = {
        { "empty text, empty file", "", "" },
        { "ab, line break, Я", "ab\r\nЯ", Bytes("\x61\x62\x0D\x0A\xDF", 5) },
        { "three lines, nothing after the last", "a\r\nb\r\nc", "a\r\nb\r\nc" },
        { "a trailing line break stays the only one", "a\r\n", "a\r\n" },
        { "a bare LF is stored as CR LF", "a\nb\n", "a\r\nb\r\n" },
        { "a lone CR is kept as it is", "a\rb\r", "a\rb\r" },
        { "CR before a CR LF pair", "a\r\r\nb", "a\r\r\nb" },
        { "blank lines", "\r\n\r\n", "\r\n\r\n" },
        { "0x1A and other control bytes are written unchanged", "a\x1A\x01z", "a\x1A\x01z" },
    };
    std::string folder = NewTestFolder();
    for (const WriteCase& c : cases) {
        std::string path = folder + "\\Описание.txt";
        ASSERT_TRUE(WriteTextFile(path.c_str(), c.text.c_str())) << c.name;
        EXPECT_EQ(FileOf(path), c.file) << c.name;
    }
}

TEST(WriteTextFile, EveryWindows1251ByteSurvivesARoundTrip)
{
    std::string text;
    for (int b = 1; b < 256; b++)
        if (b != '\r' && b != '\n' && b != 0x1A)
            text += (char)b;
    std::string path = NewTestFolder() + "\\все байты.txt";
    ASSERT_TRUE(WriteTextFile(path.c_str(), text.c_str()));
    EXPECT_EQ(FileOf(path), text);
    EXPECT_EQ(ReadText(path), text);
}

TEST(WriteTextFile, ReplacesAnExistingFileWhole)
{
    std::string path = NewTestFolder() + "\\Факт.txt";
    WriteBytes(path, std::string(5000, 'q'));
    ASSERT_TRUE(WriteTextFile(path.c_str(), "new"));
    EXPECT_EQ(FileOf(path), "new");
}

TEST(WriteTextFile, SuccessLeavesExactlyTheTargetFile)
{
    std::string folder = NewTestFolder();
    ASSERT_TRUE(WriteTextFile((folder + "\\Описание.txt").c_str(), "text"));
    ASSERT_TRUE(WriteTextFile((folder + "\\Описание.txt").c_str(), "text again"));
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{ "Описание.txt" });
}

TEST(WriteTextFile, AReadOnlyTargetFailsAndKeepsItsContent)
{
    std::string folder = NewTestFolder();
    std::string path = folder + "\\Описание.txt";
    WriteBytes(path, "old content");
    SetReadOnly(path, true);
    EXPECT_FALSE(WriteTextFile(path.c_str(), "new content"));
    SetReadOnly(path, false);
    EXPECT_EQ(FileOf(path), "old content");
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{ "Описание.txt" }) << "no temporary file left";
}

TEST(WriteTextFile, AMissingFolderFails)
{
    std::string folder = NewTestFolder();
    EXPECT_FALSE(WriteTextFile((folder + "\\нет такой папки\\Описание.txt").c_str(), "text"));
    EXPECT_TRUE(FolderEntries(folder).empty());
}

TEST(WriteTextFile, AFolderInPlaceOfTheFileFails)
{
    std::string folder = NewTestFolder();
    MakeFolder(folder + "\\Описание.txt");
    EXPECT_FALSE(WriteTextFile((folder + "\\Описание.txt").c_str(), "text"));
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{ "Описание.txt" });
}

// The test command mounts a tiny full file system and names it here.
TEST(WriteTextFile, AFullDiskFailsAndKeepsTheOldContent)
{
    const char* full = getenv("FACTS_FULL_DISK");
    if (!full || !*full) {
        // On CI, which runs as root, tools/run-tests.sh can always mount it: its absence is a fault there.
        const char* ci = getenv("CI");
        if (ci && *ci)
            FAIL() << "FACTS_FULL_DISK not set: tools/run-tests.sh mounts a full file system and names it";
        GTEST_SKIP() << "FACTS_FULL_DISK not set: tools/run-tests.sh sets it where it may mount a file system";
    }
    std::string folder = full;
    std::string path = folder + "\\Описание.txt";
    std::string before;
    ASSERT_TRUE(ReadBytes(path, &before)) << "the test command leaves a file there";
    std::vector<std::string> entries = FolderEntries(folder);
    std::string big(EDIT_TEXT_MAX, 'z');
    EXPECT_FALSE(WriteTextFile(path.c_str(), big.c_str()));
    EXPECT_EQ(FileOf(path), before);
    EXPECT_EQ(FolderEntries(folder), entries);
}

// ---------------------------------------------------------------- reading

struct ReadCase {
    const char* name;
    std::string file;
    std::string text;
};

TEST(WriteTextFile, KeepsTheAttributesOfTheFileItReplaces)
{
    const DWORD kept[] = { FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_ARCHIVE,
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM };
    for (DWORD attributes : kept) {
        SCOPED_TRACE(attributes);
        std::string path = NewTestFolder() + "\\Описание.txt";
        WriteBytes(path, "old");
        ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), attributes));
        DWORD before = GetFileAttributesW(Wide(path).c_str());
        ASSERT_TRUE(WriteTextFile(path.c_str(), "new"));
        EXPECT_EQ(GetFileAttributesW(Wide(path).c_str()), before);
        EXPECT_EQ(FileOf(path), "new");
    }
}

TEST(FileState, TellsEveryChangeAndFollowsTheProgramsOwnWrites)
{
    std::string folder = NewTestFolder();
    std::string path = folder + "\\Факт.txt";
    WriteBytes(path, "shown");
    std::vector<char> text(TEXT_BUFFER_SIZE);
    FileState shown;
    ASSERT_EQ(ReadTextFile(path.c_str(), text.data(), &shown), READ_OK);
    EXPECT_EQ(CompareFileState(path.c_str(), shown), FILE_UNCHANGED);
    EXPECT_EQ(shown.size, 5u);

    FileState written;
    ASSERT_EQ(ReplaceTextFile(path.c_str(), "mine", &shown, &written), WRITE_DONE);
    EXPECT_EQ(CompareFileState(path.c_str(), written), FILE_UNCHANGED);
    EXPECT_EQ(CompareFileState(path.c_str(), shown), FILE_CHANGED);
    EXPECT_EQ(ReplaceTextFile(path.c_str(), "stale", &shown, NULL), WRITE_CHANGED_ELSEWHERE);
    EXPECT_EQ(FileOf(path), "mine");
    DeleteFileW(Wide(path).c_str());
    EXPECT_EQ(ReplaceTextFile(path.c_str(), "stale", &written, NULL), WRITE_GONE);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{}) << "no temporary file is left";
}

TEST(Sha256, MatchesThePublishedVectors)
{
    struct Vector {
        std::string input;
        const char* digest;
    };
    const Vector vectors[] = {
        { "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855" },
        { "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad" },
        { "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
          "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1" },
        { std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0" },
    };
    for (const Vector& v : vectors) {
        unsigned char digest[SHA256_SIZE];
        Sha256(v.input.data(), v.input.size(), digest);
        char hex[2 * SHA256_SIZE + 1];
        for (int i = 0; i < SHA256_SIZE; i++)
            wsprintfA(hex + 2 * i, "%02x", digest[i]);
        EXPECT_STREQ(hex, v.digest) << v.input.size() << " bytes";
    }
}

TEST(ReadTextFile, GivesTheTextReadyForAnEditControl)
{
    const ReadCase cases[] = {
        { "0-byte file, empty text", "", "" },
        { "ab, line break, Я", Bytes("\x61\x62\x0D\x0A\xDF", 5), "ab\r\nЯ" },
        { "the text ends at the first NUL", Bytes("\x61\x62\x00\x63", 4), "ab" },
        { "0x1A ends the input",
          Bytes("ab\x1A"
                "cd",
                5),
          "ab" },
        { "0x1A before a NUL", Bytes("a\x1A\x00z", 4), "a" },
        { "bare LF line ends become CR LF", "one\ntwo\n", "one\r\ntwo\r\n" },
        { "a lone CR is passed on as it is", "a\rb", "a\rb" },
        { "a CR at the very end", "a\r", "a\r" },
        { "CR CR LF", "a\r\r\nb", "a\r\r\nb" },
        { "LF after CR LF", "a\r\n\nb", "a\r\n\r\nb" },
    };
    std::string folder = NewTestFolder();
    for (const ReadCase& c : cases) {
        std::string path = folder + "\\Описание.txt";
        WriteBytes(path, c.file);
        EXPECT_EQ(ReadText(path), c.text) << c.name;
    }
}

TEST(ReadTextFile, ABareLFFileIsWrittenBackWithCRLF)
{
    std::string path = NewTestFolder() + "\\Факт.txt";
    WriteBytes(path, "first\nsecond");
    std::string text = ReadText(path);
    ASSERT_TRUE(WriteTextFile(path.c_str(), text.c_str()));
    EXPECT_EQ(FileOf(path), "first\r\nsecond");
}

TEST(ReadTextFile, MissingFilesAndFoldersCannotBeOpened)
{
    std::string folder = NewTestFolder();
    ReadResult result;
    ReadText(folder + "\\Описание.txt", &result);
    EXPECT_EQ(result, READ_CANNOT_OPEN);
    ReadText(folder, &result);
    EXPECT_EQ(result, READ_CANNOT_OPEN);
}

TEST(ReadTextFile, RefusesATextTooLongForTheBufferInsteadOfCuttingIt)
{
    std::string path = NewTestFolder() + "\\большой.txt";
    ReadResult result;

    WriteBytes(path, std::string(SHOWN_TEXT_MAX, 'a'));
    EXPECT_EQ(ReadText(path, &result).size(), (size_t)SHOWN_TEXT_MAX);
    EXPECT_EQ(result, READ_OK);

    WriteBytes(path, std::string(SHOWN_TEXT_MAX + 1, 'a'));
    ReadText(path, &result);
    EXPECT_EQ(result, READ_TOO_LONG);

    // 50,000 bare LF expand to 100,000 characters: one too many.
    WriteBytes(path, std::string(50000, '\n'));
    ReadText(path, &result);
    EXPECT_EQ(result, READ_TOO_LONG);

    WriteBytes(path, std::string(49999, '\n') + "z");
    EXPECT_EQ(ReadText(path, &result).size(), (size_t)SHOWN_TEXT_MAX);
    EXPECT_EQ(result, READ_OK);

    // Only the text up to the NUL counts, however large the file.
    WriteBytes(path, "short" + std::string(1, '\0') + std::string(300000, 'b'));
    EXPECT_EQ(ReadText(path, &result), "short");
}

TEST(ReadTextFile, WhatWasWrittenReadsBackUnchanged)
{
    const std::string texts[] = { "", "Я", "Первая строка\r\nВторая\r\n", "a\rb", std::string(EDIT_TEXT_MAX, 'ж') };
    std::string path = NewTestFolder() + "\\Описание.txt";
    for (const std::string& text : texts) {
        ASSERT_TRUE(WriteTextFile(path.c_str(), text.c_str()));
        EXPECT_EQ(ReadText(path), text);
    }
}

// ---------------------------------------------------------------- folders and paths

TEST(FactFolders, CreationReportsWhatHappenedAndKeepsTheNameAsTyped)
{
    std::string base = NewTestFolder();
    EXPECT_EQ(CreateCategoryFolder(base.c_str(), base.c_str(), "  Раздел с пробелами"), FOLDER_CREATED);
    EXPECT_EQ(CreateCategoryFolder(base.c_str(), base.c_str(), "  Раздел с пробелами"), FOLDER_EXISTS);
    EXPECT_EQ(FolderEntries(base), std::vector<std::string>{ "  Раздел с пробелами" });

    char factFolder[SLOT_SIZE] = "unchanged";
    EXPECT_EQ(CreateFactFolder(base.c_str(), "Факт", factFolder), FOLDER_CREATED);
    EXPECT_EQ(std::string(factFolder), base + "\\Факт");
    MakeFolder(base + "\\Раздел");
    EXPECT_EQ(CreateFactFolder((base + "\\Раздел").c_str(), "Факт", factFolder), FOLDER_CREATED);
    RemoveDirectoryW(Wide(factFolder).c_str());
    EXPECT_EQ(CreateFactFolder((base + "\\нет").c_str(), "Факт", factFolder), FOLDER_NOT_CREATED);
    EXPECT_EQ(std::string(factFolder), base + "\\нет\\Факт") << "the path comes back even when nothing was created";
}

// The store's last guard: whatever a caller hands over, nothing is made
// beside the place it is meant for.
TEST(FactFolders, NothingIsMadeOutsideItsPlace)
{
    std::string base = NewTestFolder();
    std::string section = base + "\\Раздел";
    MakeFolder(section);
    for (const char* name : { "..\\Побег", "..", ".", "a:b", "Точка.", "Пробел ", "вопрос?", "nul.txt", "" }) {
        char factFolder[SLOT_SIZE] = "unchanged";
        EXPECT_EQ(CreateCategoryFolder(base.c_str(), section.c_str(), name), FOLDER_OUTSIDE) << name;
        EXPECT_EQ(CreateFactFolder(section.c_str(), name, factFolder), FOLDER_OUTSIDE) << name;
        EXPECT_STREQ(factFolder, "unchanged");
    }
    // A parent reached through "..", or one beside the root.
    EXPECT_EQ(CreateCategoryFolder(base.c_str(), (section + "\\..").c_str(), "Выше"), FOLDER_OUTSIDE);
    EXPECT_EQ(CreateCategoryFolder(base.c_str(), (base + "\\..").c_str(), "Рядом"), FOLDER_OUTSIDE);
    EXPECT_EQ(CreateCategoryFolder(section.c_str(), base.c_str(), "Снаружи"), FOLDER_OUTSIDE);
    EXPECT_EQ(FolderEntries(base), std::vector<std::string>{ "Раздел" });
    EXPECT_TRUE(FolderEntries(section).empty());
    EXPECT_FALSE(PathExists(base + "\\..\\Рядом"));
}

TEST(FactFolders, PathsThatDoNotFitTheirSlotsAreRefusedNeverCut)
{
    std::string base = NewTestFolder();
    std::string name(SLOT_CHARS - base.size(), 'n');  // base + "\" + name is 256 characters
    char slot[SLOT_SIZE];
    memset(slot, '#', sizeof slot);
    slot[SLOT_SIZE - 1] = '\0';
    EXPECT_EQ(CreateCategoryFolder(base.c_str(), base.c_str(), name.c_str()), FOLDER_PATH_TOO_LONG);
    EXPECT_EQ(CreateFactFolder(base.c_str(), name.c_str(), slot), FOLDER_PATH_TOO_LONG);
    EXPECT_EQ(slot[0], '#') << "the slot is not touched";
    EXPECT_TRUE(FolderEntries(base).empty());

    std::string folder(SLOT_CHARS - 13, 'f');  // folder + "\Описание.txt" is 255 characters
    EXPECT_TRUE(DescriptionFilePath(folder.c_str(), slot));
    EXPECT_EQ(strlen(slot), (size_t)SLOT_CHARS);
    folder += 'f';
    EXPECT_FALSE(DescriptionFilePath(folder.c_str(), slot));
    EXPECT_FALSE(MainTextFilePath(std::string(SLOT_CHARS - 8, 'f').c_str(), "Факт", slot));
    EXPECT_TRUE(MainTextFilePath("C:\\a", "Факт", slot));
    EXPECT_STREQ(slot, "C:\\a\\Факт.txt");
}

TEST(FactFolders, ARenamedFactFolderNoLongerFindsItsMainText)
{
    std::string directive = NewTestFolder();
    char folder[SLOT_SIZE];
    char description[SLOT_SIZE];
    char mainText[SLOT_SIZE];
    CreateFactFolder(directive.c_str(), "Gold", folder);
    DescriptionFilePath(folder, description);
    MainTextFilePath(folder, "Gold", mainText);
    WriteTextFile(description, "описание");
    WriteTextFile(mainText, "золото");
    ASSERT_TRUE(MoveFileW(Wide(folder).c_str(), Wide(directive + "\\Silver").c_str()));

    std::string renamed = directive + "\\Silver";
    DescriptionFilePath(renamed.c_str(), description);
    MainTextFilePath(renamed.c_str(), "Silver", mainText);
    EXPECT_EQ(ReadText(description), "описание");
    ReadResult result;
    ReadText(mainText, &result);
    EXPECT_EQ(result, READ_CANNOT_OPEN);
}

TEST(FactFolders, FolderStateTellsEmptyFromInUse)
{
    std::string base = NewTestFolder();
    EXPECT_EQ(GetFolderState((base + "\\нет").c_str()), FOLDER_MISSING);
    MakeFolder(base + "\\пусто");
    EXPECT_EQ(GetFolderState((base + "\\пусто").c_str()), FOLDER_EMPTY);
    MakeFolder(base + "\\занято");
    WriteBytes(base + "\\занято\\чужой.txt", "");
    EXPECT_EQ(GetFolderState((base + "\\занято").c_str()), FOLDER_IN_USE);
    WriteBytes(base + "\\файл", "");
    EXPECT_EQ(GetFolderState((base + "\\файл").c_str()), FOLDER_IN_USE);
}

// A fact folder made and a description written as the wizard does it.
UnfinishedFact MakeUnfinished(const std::string& directive, const char* name, char* folder)
{
    UnfinishedFact made = { CreateFactFolder(directive.c_str(), name, folder) == FOLDER_CREATED, {} };
    char description[SLOT_SIZE];
    DescriptionFilePath(folder, description);
    EXPECT_EQ(ReplaceTextFile(description, "x", NULL, &made.description), WRITE_DONE);
    return made;
}

TEST(DeleteUnfinishedFact, RemovesTheDescriptionAndTheEmptiedFolderOnly)
{
    std::string directive = NewTestFolder();
    char folder[SLOT_SIZE];
    char description[SLOT_SIZE];
    UnfinishedFact made = MakeUnfinished(directive, "Новый", folder);
    DescriptionFilePath(folder, description);
    DeleteUnfinishedFact((directive + "\\..").c_str(), folder, made);
    DeleteUnfinishedFact(directive.c_str(), (directive + "\\Новый\\..\\Новый").c_str(), made);
    EXPECT_TRUE(PathExists(description)) << "only a plain folder right below the Directive";
    DeleteUnfinishedFact(directive.c_str(), folder, made);
    EXPECT_FALSE(PathExists(folder));
    EXPECT_TRUE(PathExists(directive));

    made = MakeUnfinished(directive, "Занятый", folder);
    WriteBytes(std::string(folder) + "\\Занятый.txt", "main");
    WriteBytes(std::string(folder) + "\\чужой.doc", "foreign");
    DeleteUnfinishedFact(directive.c_str(), folder, made);
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{ "Занятый.txt", "чужой.doc" }));
}

// Only what the wizard wrote, and only as it wrote it: a description
// changed since, or one it never wrote, stays; so does a folder it did not make.
TEST(DeleteUnfinishedFact, LeavesWhatChangedOrWasNeverTheWizards)
{
    std::string directive = NewTestFolder();
    struct Case {
        const char* name;
        bool rewrite;     // the description holds other bytes by then
        bool folderMade;  // what the wizard remembers
        bool described;   // the wizard wrote the description
        std::vector<std::string> left;
    };
    const Case cases[] = {
        { "Свой", false, true, true, {} },
        { "Изменён", true, true, true, { "Описание.txt" } },
        { "Чужая папка", false, false, true, {} },
        { "Не писал", false, true, false, { "Описание.txt" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char folder[SLOT_SIZE];
        UnfinishedFact made = MakeUnfinished(directive, c.name, folder);
        made.folderMade = c.folderMade;
        made.description.exists = c.described;
        if (c.rewrite)
            WriteBytes(std::string(folder) + "\\Описание.txt", "y");  // same size, other bytes
        DeleteUnfinishedFact(directive.c_str(), folder, made);
        bool folderStays = !c.left.empty() || !c.folderMade;
        EXPECT_EQ(PathExists(folder), folderStays);
        if (folderStays) {
            EXPECT_EQ(FolderEntries(folder), c.left);
        }
    }
}

TEST(DeleteUnfinishedFact, NeverTouchesTheUnsetPath)
{
    // "C:\" means no fact folder: its Описание.txt is somebody else's file.
    std::string path = std::string(Text::UnsetPath) + "Описание.txt";
    WriteBytes(path, "not ours");
    FileState state;
    std::string bytes;
    ReadWholeFile(path.c_str(), &bytes, &state);
    DeleteUnfinishedFact("C:", Text::UnsetPath, UnfinishedFact{ true, state });
    EXPECT_TRUE(ReadBytes(path, &bytes));
    DeleteFileW(Wide(path).c_str());
}

// ---------------------------------------------------------------- listing

TEST(ListSubfolders, ListsFoldersOnlyWithTheParentEntryInListOrder)
{
    std::string base = NewTestFolder();
    for (const char* name : { "beta", "Alpha", "гамма", "Бета", "_under", "10", "9" })
        MakeFolder(base + "\\" + name);
    WriteBytes(base + "\\file.txt", "");
    std::vector<std::string> names;
    ASSERT_TRUE(ListSubfolders(base.c_str(), &names));
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names[0], "..");
    EXPECT_EQ(names.size(), 8u);
    EXPECT_EQ(std::count(names.begin(), names.end(), "file.txt"), 0);
    // Case does not matter to the order, and Cyrillic sorts after Latin.
    auto at = [&](const char* n) {
        return std::find(names.begin(), names.end(), n) - names.begin();
    };
    EXPECT_LT(at("Alpha"), at("beta"));
    EXPECT_LT(at("beta"), at("Бета"));
    EXPECT_LT(at("Бета"), at("гамма"));
}

TEST(ListSubfolders, LeavesOutNamesNoSlotCanCarry)
{
    std::string base = NewTestFolder();
    std::string longest(LISTED_NAME_MAX, 'L');
    MakeFolder(base + "\\" + longest);
    std::wstring wideBase = Wide(base);
    ASSERT_TRUE(CreateDirectoryW((wideBase + L"\\" + std::wstring(LISTED_NAME_MAX + 1, L'M')).c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryW((wideBase + L"\\caf\u00e9").c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryW((wideBase + L"\\\u65e5\u672c").c_str(), NULL));
    MakeFolder(base + "\\ordinary");
    std::vector<std::string> names;
    ASSERT_TRUE(ListSubfolders(base.c_str(), &names));
    EXPECT_EQ(names, (std::vector<std::string>{ "..", longest, "ordinary" }));
}

TEST(ListSubfolders, AMissingFolderCannotBeListed)
{
    std::vector<std::string> names{ "stale" };
    EXPECT_FALSE(ListSubfolders((NewTestFolder() + "\\нет").c_str(), &names));
    EXPECT_TRUE(names.empty());
}

// A base root at the top of a drive: the test command maps T: onto a folder
// that is also reachable through another path.
class DriveRoot : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = EmptyDriveT();
        if (folder_.empty())
            FAIL() << "drive T: is not mapped: tools/wine-run, the test command, maps it";
    }
    void TearDown() override
    {
        EmptyDriveT();
    }
    std::string folder_;
};

TEST_F(DriveRoot, PathsWithADoubledSeparatorAddressTheRightFolders)
{
    const char* root = "T:\\";
    std::vector<std::string> names;
    EXPECT_EQ(CreateCategoryFolder(root, root, "Раздел"), FOLDER_CREATED);
    EXPECT_TRUE(PathExists(folder_ + "\\Раздел"));
    ASSERT_TRUE(ListSubfolders(root, &names));
    EXPECT_EQ(names, std::vector<std::string>{ "Раздел" }) << "no parent entry at the top of a drive";

    char factFolder[SLOT_SIZE];
    char description[SLOT_SIZE];
    CreateFactFolder("T:\\\\Раздел", "Факт", factFolder);
    EXPECT_STREQ(factFolder, "T:\\\\Раздел\\Факт");
    ASSERT_TRUE(DescriptionFilePath(factFolder, description));
    ASSERT_TRUE(WriteTextFile(description, "на диске"));
    EXPECT_EQ(FileOf(folder_ + "\\Раздел\\Факт\\Описание.txt"), "на диске");
    EXPECT_EQ(ReadText(description), "на диске");
    ASSERT_TRUE(ListSubfolders("T:\\\\Раздел", &names));
    EXPECT_EQ(names, (std::vector<std::string>{ "..", "Факт" }));
}

// ---------------------------------------------------------------- slots

TEST(PathSlots, RefuseWhatDoesNotFitAndLeaveTheSlotAlone)
{
    char slot[SLOT_SIZE] = "before";
    std::string fits(SLOT_CHARS, 'a');
    EXPECT_TRUE(SlotCopy(slot, fits.c_str()));
    EXPECT_EQ(std::string(slot), fits);
    strcpy(slot, "before");
    EXPECT_FALSE(SlotCopy(slot, (fits + "b").c_str()));
    EXPECT_STREQ(slot, "before");
    EXPECT_FALSE(SlotJoin(slot, fits.c_str(), "\\"));
    EXPECT_STREQ(slot, "before");
    EXPECT_TRUE(SlotJoin(slot, slot, "\\", "x"));
    EXPECT_STREQ(slot, "before\\x") << "a slot may be joined onto itself";
}

}  // namespace

// ---------------------------------------------------------------- the change channel

namespace {

struct Heard {
    std::vector<std::string> changes;  // "kind folder -> newFolder", one per call
    void* stopAlso = nullptr;          // a listener's context that this one stops when told
};

void Record(const BaseChange& change, void* context)
{
    Heard* heard = (Heard*)context;
    heard->changes.push_back(std::to_string(change.kind) + " " + change.folder +
                             (change.newFolder ? std::string(" -> ") + change.newFolder : std::string()));
    if (heard->stopAlso)
        StopListeningToBaseChanges(Record, heard->stopAlso);
}

}  // namespace

TEST(BaseChanges, EveryListenerHearsEachKindOnceAndOneStoppedMeanwhileHearsNoMore)
{
    Heard first, second;
    first.stopAlso = &second;  // the first one heard stops the other before it is told
    ASSERT_TRUE(ListenToBaseChanges(Record, &first));
    ASSERT_TRUE(ListenToBaseChanges(Record, &first)) << "the same pair twice is one listener";
    ASSERT_TRUE(ListenToBaseChanges(Record, &second));

    AnnounceFactChanged("C:\\База\\Р\\Т\\П\\Д\\Факт");
    first.stopAlso = nullptr;
    AnnounceFolderMoved("C:\\База\\Р", "C:\\База\\Глава");
    AnnounceFolderCreated("C:\\База\\Новый");
    StopListeningToBaseChanges(Record, &first);
    AnnounceFolderRemoved("C:\\База\\Глава");

    std::vector<std::string> expected = {
        std::to_string(BASE_FACT_CHANGED) + " C:\\База\\Р\\Т\\П\\Д\\Факт",
        std::to_string(BASE_FOLDER_MOVED) + " C:\\База\\Р -> C:\\База\\Глава",
        std::to_string(BASE_FOLDER_CREATED) + " C:\\База\\Новый",
    };
    EXPECT_EQ(first.changes, expected);
    EXPECT_TRUE(second.changes.empty());
}

TEST(BaseChanges, RefusesAListenerBeyondItsSlotsAndTakesOneWhenASlotIsFree)
{
    Heard heard[MAX_BASE_LISTENERS + 1];
    int taken = 0;
    while (taken <= MAX_BASE_LISTENERS && ListenToBaseChanges(Record, &heard[taken]))
        taken++;
    EXPECT_EQ(taken, MAX_BASE_LISTENERS) << "one more than the slots hold is refused";
    StopListeningToBaseChanges(Record, &heard[0]);
    EXPECT_TRUE(ListenToBaseChanges(Record, &heard[taken]));
    AnnounceFolderCreated("C:\\База\\Новый");
    EXPECT_TRUE(heard[0].changes.empty());
    EXPECT_EQ(heard[taken].changes.size(), 1u);
    for (Heard& each : heard)
        StopListeningToBaseChanges(Record, &each);
}
