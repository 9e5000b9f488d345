// The check of a whole base: one planted base holding every kind of finding,
// each found once and each fix checked on disk; texts of other editors
// converted only when nothing is lost; the dialog as F6 opens it.
#include "../check/base_check.h"
#include "../store/base_changes.h"
#include "../check/base_check_dialog.h"
#include "../resources/resource.h"
#include "../ui/platform_ui.h"
#include "support/dialog_driver.h"
#include "support/dialog_fixture.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>

namespace {

const std::string BOM = "\xEF\xBB\xBF";

std::string Bytes(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(ReadBytes(path, &bytes)) << path;
    return bytes;
}
const std::wstring SNOWMAN = L"\u2603";

void MakeFact(const std::string& folder, const std::string& mainText, const std::string& description = "Описание")
{
    MakeFolder(folder);
    WriteBytes(folder + "\\Описание.txt", description);
    std::string name = folder.substr(folder.find_last_of('\\') + 1);
    WriteBytes(folder + "\\" + name + ".txt", mainText);
}

struct Expected {
    FindingKind kind;
    std::wstring below;
    bool fixable;
};

class BaseCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = NewTestFolder();
        directive_ = root_ + "\\Раздел\\Тема\\Подтема\\Установка";
        for (const char* folder :
             { "\\Раздел", "\\Раздел\\Тема", "\\Раздел\\Тема\\Подтема", "\\Раздел\\Тема\\Подтема\\Установка" })
            MakeFolder(root_ + folder);
        WriteBytes(root_ + "\\rus.bmp", "BM");  // the root's own files are no finding
        // A fact as the program writes it; an end mark at its very end hides nothing.
        MakeFact(directive_ + "\\Хороший", "Текст\r\nвторая строка\x1A");
    }
    void PlantEveryFinding()
    {
        MakeFolder(directive_ + "\\Без описания");
        WriteBytes(directive_ + "\\Без описания\\Без описания.txt", "текст");
        MakeFolder(directive_ + "\\Переименован");
        WriteBytes(directive_ + "\\Переименован\\Описание.txt", "о");
        WriteBytes(directive_ + "\\Переименован\\Старое имя.txt", "главный текст");
        MakeFolder(directive_ + "\\Без текста");
        WriteBytes(directive_ + "\\Без текста\\Описание.txt", "о");
        WriteBytes(directive_ + "\\Без текста\\Первый.txt", "1");
        WriteBytes(directive_ + "\\Без текста\\Второй.txt", "2");
        MakeFact(directive_ + "\\Прерван", "текст");
        WriteBytes(directive_ + "\\Прерван\\~00a1b2c", "half a save");
        MakeFolder(directive_ + "\\Пустой");
        ASSERT_TRUE(CreateDirectoryW((Wide(directive_) + L"\\Снеговик " + SNOWMAN).c_str(), NULL));
        MakeFolder(root_ + "\\" + std::string(254, 'x'));
        MakeFact(directive_ + "\\Длинный", std::string(SHOWN_TEXT_LIMIT, 'a'));
        MakeFact(directive_ + "\\Скрытый", "ab" + std::string(1, '\0') + std::string(100, 'c'));
        MakeFact(directive_ + "\\Вложенный", "текст");
        MakeFolder(directive_ + "\\Вложенный\\Папка");
        WriteBytes(root_ + "\\Раздел\\Тема\\заметка.txt", "not a category");
        // The shell's own files among the categories are no finding.
        WriteBytes(root_ + "\\Раздел\\Тема\\desktop.ini", "[.ShellClassInfo]");
        WriteBytes(root_ + "\\Раздел\\THUMBS.DB", "thumbnails");
        MakeFact(directive_ + "\\Блокнот", u8"Строилась 20 лет");
        const std::string arrow = u8"туда → сюда";
        MakeFact(directive_ + "\\Стрелка", arrow);
        // Two people changed one fact at once: a sync tool kept both texts.
        MakeFact(directive_ + "\\Хеопс", "текст");
        WriteBytes(directive_ + "\\Хеопс\\Хеопс (conflicted copy 2026-12-01).txt", "другой текст");
        WriteBytes(directive_ + "\\Хеопс\\Описание.sync-conflict-20261201-101010-ABCDEFG.txt", "другое описание");
    }
    std::vector<Expected> Planted() const
    {
        const std::wstring d = L"Раздел\\Тема\\Подтема\\Установка\\";
        return {
            { FINDING_NO_DESCRIPTION, d + L"Без описания", false },
            { FINDING_NO_MAIN_TEXT, d + L"Переименован", true },
            { FINDING_NO_MAIN_TEXT, d + L"Без текста", false },
            { FINDING_LEFTOVER, d + L"Прерван\\~00a1b2c", true },
            { FINDING_EMPTY_FACT, d + L"Пустой", true },
            { FINDING_UNLISTED_NAME, d + L"Снеговик " + SNOWMAN, false },
            { FINDING_UNLISTED_NAME, std::wstring(254, L'x'), false },
            { FINDING_TEXT_TOO_LONG, d + L"Длинный\\Длинный.txt", false },
            { FINDING_TEXT_HIDDEN, d + L"Скрытый\\Скрытый.txt", false },
            { FINDING_FOLDER_IN_FACT, d + L"Вложенный\\Папка", false },
            { FINDING_STRAY_FILE, L"Раздел\\Тема\\заметка.txt", false },
            { FINDING_NOT_1251, d + L"Блокнот\\Блокнот.txt", true },
            { FINDING_NOT_1251, d + L"Стрелка\\Стрелка.txt", false },
            { FINDING_CONFLICT_COPY, d + L"Хеопс\\Описание.sync-conflict-20261201-101010-ABCDEFG.txt", false },
            { FINDING_CONFLICT_COPY, d + L"Хеопс\\Хеопс (conflicted copy 2026-12-01).txt", false },
            // "текст" is the main text of four facts: each after the first repeats it.
            { FINDING_REPEAT, d + L"Вложенный", false },
            { FINDING_REPEAT, d + L"Прерван", false },
            { FINDING_REPEAT, d + L"Хеопс", false },
        };
    }
    static const size_t SHOWN_TEXT_LIMIT = 100000;  // one more than the view holds
    std::string root_, directive_;
};

const Finding* Find(const BaseCheck& check, FindingKind kind, const std::wstring& below)
{
    const Finding* match = NULL;
    for (const Finding& finding : check.findings)
        if (finding.kind == kind && finding.below == below) {
            EXPECT_EQ(match, (const Finding*)NULL) << "found twice: " << Cp1251(below);
            match = &finding;
        }
    return match;
}

TEST_F(BaseCheckTest, ACleanBaseGivesNoFindings)
{
    BaseCheck check;
    CheckBase(root_, &check);
    EXPECT_EQ(check.factsChecked, 1);
    EXPECT_TRUE(check.findings.empty()) << Cp1251(check.findings.empty() ? L"" : check.findings[0].below);
}

TEST_F(BaseCheckTest, EveryPlantedProblemIsFoundOnceAndEachFixWorksOnDisk)
{
    PlantEveryFinding();
    BaseCheck check;
    CheckBase(root_, &check);
    std::vector<Expected> planted = Planted();
    EXPECT_EQ(check.findings.size(), planted.size());
    EXPECT_EQ(check.factsChecked, 12) << "the invisible folder is not walked into";
    for (const Expected& e : planted) {
        const Finding* finding = Find(check, e.kind, e.below);
        ASSERT_TRUE(finding != NULL) << e.kind << " " << Cp1251(e.below);
        EXPECT_EQ(finding->fixable, e.fixable) << Cp1251(e.below);
        EXPECT_EQ(FixFinding(root_, *finding), e.fixable ? FIX_DONE : FIX_NOT_APPLICABLE) << Cp1251(e.below);
    }
    EXPECT_EQ(FolderEntries(directive_ + "\\Переименован"),
              (std::vector<std::string>{ "Описание.txt", "Переименован.txt" }));
    EXPECT_EQ(Bytes(directive_ + "\\Переименован\\Переименован.txt"), "главный текст");
    EXPECT_EQ(FolderEntries(directive_ + "\\Прерван"), (std::vector<std::string>{ "Описание.txt", "Прерван.txt" }));
    EXPECT_FALSE(PathExists(directive_ + "\\Пустой"));
    EXPECT_EQ(Bytes(directive_ + "\\Блокнот\\Блокнот.txt"), "Строилась 20 лет");
    const std::string arrow = u8"туда → сюда";
    EXPECT_EQ(Bytes(directive_ + "\\Стрелка\\Стрелка.txt"), arrow);

    // What has no safe fix is still there; what was fixed is gone.
    CheckBase(root_, &check);
    size_t unfixable = 0;
    for (const Expected& e : planted)
        if (!e.fixable) {
            unfixable++;
            EXPECT_TRUE(Find(check, e.kind, e.below) != NULL) << Cp1251(e.below);
        }
    EXPECT_EQ(check.findings.size(), unfixable);
}

TEST_F(BaseCheckTest, ARepeatNamesTheFactMetFirstWithTheSameText)
{
    // The walk goes in name order: Установка before Ясная.
    const std::string other = root_ + "\\Раздел\\Тема\\Подтема\\Ясная";
    MakeFolder(other);
    MakeFact(directive_ + "\\Первый", "Один текст\r\nв две строки");
    MakeFact(other + "\\Второй", "Один текст  \nв две строки\n\n");           // line ends and trailing blanks
    MakeFact(other + "\\Третий", BOM + u8"Один текст\r\nв две строки");      // another encoding
    MakeFact(other + "\\Регистр", "один текст\r\nв две строки");             // case counts
    MakeFact(other + "\\Пробелы", "Один  текст\r\nв две строки");            // inner blanks count
    MakeFact(directive_ + "\\Пустой текст", "");
    MakeFact(other + "\\Тоже пустой", "  \r\n");
    BaseCheck check;
    CheckBase(root_, &check);
    std::vector<std::wstring> lines;
    for (const Finding& finding : check.findings) {
        if (finding.kind != FINDING_REPEAT && finding.kind != FINDING_NOT_1251)
            ADD_FAILURE() << finding.kind << " " << Cp1251(finding.below);
        if (finding.kind != FINDING_REPEAT)
            continue;
        lines.push_back(finding.below + L" = " + finding.sameAs);
        EXPECT_FALSE(finding.fixable);
        EXPECT_EQ(FixFinding(root_, finding), FIX_NOT_APPLICABLE);
        EXPECT_TRUE(FindingWithin(finding, other));
        EXPECT_TRUE(FindingWithin(finding, directive_ + "\\Первый")) << "the fact it repeats changed";
        EXPECT_FALSE(FindingWithin(finding, directive_ + "\\Хороший"));
    }
    const std::wstring d = L"Раздел\\Тема\\Подтема\\";
    EXPECT_EQ(lines, (std::vector<std::wstring>{ d + L"Ясная\\Второй = " + d + L"Установка\\Первый",
                                                 d + L"Ясная\\Третий = " + d + L"Установка\\Первый" }));

    BaseCheck without;
    CheckBase(root_, &without, NULL, NULL, REPEATS_LEFT_OUT);
    EXPECT_EQ(without.findings.size(), check.findings.size() - 2);
    BaseCheck part = { 0, {} };
    CheckFolder(root_, other, &part);
    for (const Finding& finding : part.findings)
        EXPECT_NE(finding.kind, FINDING_REPEAT) << "a part of the base cannot tell a repeat";
}

TEST_F(BaseCheckTest, AFixLooksAgainAndLeavesWhatChangedSinceTheWalk)
{
    MakeFolder(directive_ + "\\Пустой");
    MakeFolder(directive_ + "\\Переименован");
    WriteBytes(directive_ + "\\Переименован\\Описание.txt", "о");
    WriteBytes(directive_ + "\\Переименован\\Старое.txt", "текст");
    BaseCheck check;
    CheckBase(root_, &check);
    ASSERT_EQ(check.findings.size(), 2u);
    WriteBytes(directive_ + "\\Пустой\\Описание.txt", "typed meanwhile");
    WriteBytes(directive_ + "\\Переименован\\Ещё один.txt", "now two candidates");
    for (const Finding& finding : check.findings)
        EXPECT_EQ(FixFinding(root_, finding), FIX_NOT_APPLICABLE) << Cp1251(finding.below);
    EXPECT_EQ(Bytes(directive_ + "\\Пустой\\Описание.txt"), "typed meanwhile");
    EXPECT_EQ(FolderEntries(directive_ + "\\Переименован").size(), 3u);
}

TEST_F(BaseCheckTest, TextsOfOtherEditorsAreConvertedOnlyWhenNothingIsLost)
{
    struct Case {
        const char* name;
        std::string file;
        bool fixable;
        std::string after;
    };
    const Case cases[] = {
        { "UTF-8", u8"Строилась\r\n20 лет", true, "Строилась\r\n20 лет" },
        { "UTF-8 BOM", BOM + u8"Страж", true, "Страж" },
        { "UTF-16 LE", Utf16Bytes(L"Ёж\r\nї", true), true, "Ёж\r\nї" },
        { "UTF-16 BE", Utf16Bytes(L"Ёж", false), true, "Ёж" },
        { "LF ends", u8"а\nб", true, "а\r\nб" },
        { "BOM alone", BOM, true, "" },
        { "arrow", u8"а → б", false, "" },
        { "bad sequence", BOM + "\xD0", false, "" },
        { "odd UTF-16", Utf16Bytes(L"Ё", true) + "x", false, "" },
        { "NUL inside", Utf16Bytes(std::wstring(L"а\0б", 3), true), false, "" },
    };
    for (const Case& c : cases)
        MakeFact(directive_ + "\\" + c.name, c.file);
    BaseCheck check;
    CheckBase(root_, &check);
    for (const Case& c : cases) {
        std::wstring below = L"Раздел\\Тема\\Подтема\\Установка\\" + Wide(c.name) + L"\\" + Wide(c.name) + L".txt";
        const Finding* finding = Find(check, FINDING_NOT_1251, below);
        ASSERT_TRUE(finding != NULL) << c.name;
        EXPECT_EQ(finding->fixable, c.fixable) << c.name;
        EXPECT_EQ(FixFinding(root_, *finding), c.fixable ? FIX_DONE : FIX_NOT_APPLICABLE) << c.name;
        std::string path = directive_ + "\\" + c.name + "\\" + c.name + ".txt";
        EXPECT_EQ(Bytes(path), c.fixable ? c.after : c.file) << c.name;
    }
}

// Every file below folder with its bytes, and every folder, as path=bytes lines.
std::vector<std::string> Snapshot(const std::string& folder, const std::string& below = "")
{
    std::vector<std::string> lines;
    for (const std::string& entry : FolderEntries(folder + below)) {
        std::string path = below + "\\" + entry;
        DWORD attributes = GetFileAttributesW(Wide(folder + path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            lines.push_back(path + "\\");
            std::vector<std::string> inner = Snapshot(folder, path);
            lines.insert(lines.end(), inner.begin(), inner.end());
        } else {
            lines.push_back(path + "=" + Bytes(folder + path));
        }
    }
    return lines;
}

// A fix acts below the base root only. Each fixable finding is pointed, as a
// stale or tampered list could point it, at a copy of its case outside the
// base: refused, and nothing there changes.
TEST_F(BaseCheckTest, AFixLedOutsideTheBaseIsRefusedAndTouchesNothing)
{
    PlantEveryFinding();
    BaseCheck check;
    CheckBase(root_, &check);
    std::string outside = NewTestFolder();
    std::string outsideLeaf = outside.substr(outside.find_last_of('\\') + 1);
    MakeFolder(outside + "\\Пустой");
    MakeFolder(outside + "\\Переименован");
    WriteBytes(outside + "\\Переименован\\Описание.txt", "о");
    WriteBytes(outside + "\\Переименован\\Старое имя.txt", "чужой текст");
    MakeFolder(outside + "\\Прерван");
    WriteBytes(outside + "\\Прерван\\~00a1b2c", "чужое");
    MakeFolder(outside + "\\Блокнот");
    WriteBytes(outside + "\\Блокнот\\Блокнот.txt", u8"чужой UTF-8");
    std::vector<std::string> before = Snapshot(outside);
    std::wstring wideOutside = Wide(outside);
    std::wstring up = Wide(root_) + L"\\Раздел\\..\\..\\" + Wide(outsideLeaf);
    int tried = 0;
    for (const Finding& planted : check.findings) {
        if (!planted.fixable)
            continue;
        std::wstring tail = planted.target.substr(planted.target.find(L"Установка\\") + wcslen(L"Установка\\"));
        for (const std::wstring& target :
             { wideOutside + L"\\" + tail, up + L"\\" + tail, L"\\\\?\\" + wideOutside + L"\\" + tail }) {
            SCOPED_TRACE(Cp1251(target));
            Finding tampered = planted;
            tampered.target = target;
            EXPECT_EQ(FixFinding(root_, tampered), FIX_NOT_APPLICABLE);
            tried++;
        }
        // The finding as found, but handed a root it does not lie below.
        EXPECT_EQ(FixFinding(outside, planted), FIX_NOT_APPLICABLE) << Cp1251(planted.below);
    }
    EXPECT_EQ(tried, 4 * 3);
    std::vector<std::string> after = Snapshot(outside);
    EXPECT_EQ(after, before);
    // Nothing of the base changed either: every finding is still there.
    BaseCheck again;
    CheckBase(root_, &again);
    EXPECT_EQ(again.findings.size(), check.findings.size());
}

class BaseCheckDialogTest : public DialogTest {
protected:
    HWND OpenChecked()
    {
        HWND dialog = Open(IDD_BASE_CHECK, BaseCheckDialog);
        WaitForTheWalk(dialog);
        return dialog;
    }
    void WaitForTheWalk(HWND dialog)
    {
        for (int i = 0; i < 3000 && !BaseCheckDone(dialog); i++) {
            MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
            PumpMessages();
        }
        ASSERT_TRUE(BaseCheckDone(dialog));
    }
    std::vector<std::wstring> Lines(HWND dialog)
    {
        std::vector<std::wstring> lines;
        HWND list = GetDlgItem(dialog, IDC_CHECK_FINDINGS);
        int count = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++) {
            std::wstring line((size_t)SendMessageW(list, LB_GETTEXTLEN, i, 0), L'\0');
            SendMessageW(list, LB_GETTEXT, i, (LPARAM)&line[0]);
            lines.push_back(line);
        }
        return lines;
    }
    bool Enabled(HWND dialog, int id)
    {
        return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
    }
};

TEST_F(BaseCheckDialogTest, ARepeatIsOneLineNamingBothFacts)
{
    BuildFactBase();
    MakeFact(DirectivePath() + "\\Копия А", "один и тот же текст");
    MakeFact(DirectivePath() + "\\Копия Б", "один и тот же текст\r\n");
    HWND dialog = OpenChecked();
    const std::wstring d = L"Раздел\\Тема\\Подтема\\Установка\\";
    std::vector<std::wstring> lines = Lines(dialog);
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"Повтор: «" + d + L"Копия Б» совпадает с «" + d + L"Копия А»"),
              lines.end());
    DestroyWindow(dialog);
}

// The base of the dialog tests: "Gold" holds a main text under another name,
// "Без описания" holds nothing, a name the lists cannot show, a leftover.
class PlantedCheckDialog : public BaseCheckDialogTest {
protected:
    void SetUp() override
    {
        BaseCheckDialogTest::SetUp();
        BuildFactBase();
        ASSERT_TRUE(CreateDirectoryW((Wide(DirectivePath()) + L"\\Снег " + SNOWMAN).c_str(), NULL));
        WriteBytes(DirectivePath() + "\\Факт\\~1234567", "left over");
        dialog_ = OpenChecked();
        const std::wstring d = L"Раздел\\Тема\\Подтема\\Установка\\";
        expected_ = {
            L"Нет текста факта: " + d + L"Gold",
            L"Пустая папка факта: " + d + L"Без описания",
            L"Имя не видно в списках: " + d + L"Снег " + SNOWMAN,
            L"Остаток прерванной записи: " + d + L"Факт\\~1234567",
        };
    }
    void TearDown() override
    {
        DestroyWindow(dialog_);
        BaseCheckDialogTest::TearDown();
    }
    HWND dialog_ = NULL;
    std::vector<std::wstring> expected_;
};

TEST_F(PlantedCheckDialog, ListsEveryFindingWithNothingSelected)
{
    EXPECT_EQ(WindowTextWide(dialog_), L"ПРОВЕРКА БАЗЫ");
    EXPECT_EQ(GetWindow(dialog_, GW_OWNER), owner_);
    EXPECT_EQ(Lines(dialog_), expected_);
    EXPECT_EQ(ControlTextWide(dialog_, IDC_CHECK_STATUS), L"Проверено фактов: 3, замечаний: 4");
    EXPECT_FALSE(Enabled(dialog_, IDC_CHECK_FIX));
    EXPECT_FALSE(Enabled(dialog_, IDC_CHECK_OPEN_FOLDER));
}

TEST_F(PlantedCheckDialog, AFindingWithoutAFixStillOpensItsFolder)
{
    SelectEntry(dialog_, IDC_CHECK_FINDINGS, 2);
    EXPECT_FALSE(Enabled(dialog_, IDC_CHECK_FIX)) << "an invisible name has no fix";
    ClickButton(dialog_, IDC_CHECK_OPEN_FOLDER);
    EXPECT_EQ(shellOpened_.back(), DirectivePath()) << "the folder that shows the name";
}

TEST_F(PlantedCheckDialog, AFixChangesTheDiskAndLeavesTheList)
{
    SelectEntry(dialog_, IDC_CHECK_FINDINGS, 1);
    ASSERT_TRUE(Enabled(dialog_, IDC_CHECK_FIX));
    ClickButton(dialog_, IDC_CHECK_FIX);
    EXPECT_FALSE(PathExists(DirectivePath() + "\\Без описания"));
    EXPECT_EQ(Lines(dialog_), (std::vector<std::wstring>{ expected_[0], expected_[2], expected_[3] }));
    EXPECT_EQ(ControlTextWide(dialog_, IDC_CHECK_STATUS), L"Проверено фактов: 3, замечаний: 3");
    EXPECT_TRUE(boxes_.Seen().empty());
}

TEST_F(PlantedCheckDialog, AFixOnWhatChangedSinceTheWalkSaysSoAndChangesNothing)
{
    WriteBytes(DirectivePath() + "\\Gold\\Второй.txt", "a second candidate");
    SelectEntry(dialog_, IDC_CHECK_FINDINGS, 0);
    ClickButton(dialog_, IDC_CHECK_FIX);
    ASSERT_EQ(boxes_.Seen().size(), 1u);
    ExpectBox(boxes_.Seen()[0], L"Здесь всё уже не так, как при проверке - проверьте базу заново (F6) :)", L"Ошибка",
              dialog_);
    EXPECT_EQ(Lines(dialog_), expected_);
    EXPECT_EQ(FolderEntries(DirectivePath() + "\\Gold"),
              (std::vector<std::string>{ "Silver.txt", "Второй.txt", "Описание.txt" }));
}

// Changes made elsewhere after the walk: what the changed folder held is
// looked at again, and nothing else; the count of facts stays the walk's.
TEST_F(PlantedCheckDialog, FindingsFollowChangesMadeAfterTheWalk)
{
    const std::wstring d = L"Раздел\\Тема\\Подтема\\Установка\\";
    WriteBytes(DirectivePath() + "\\заметка.txt", "stray");
    WriteBytes(DirectivePath() + "\\Факт\\Описание (conflicted copy 2026-12-01).txt", "copy");
    RemoveTree(DirectivePath() + "\\Без описания");
    AnnounceFolderChanged(DirectivePath().c_str());
    WaitForTheWalk(dialog_);
    EXPECT_EQ(Lines(dialog_), (std::vector<std::wstring>{
                                  expected_[0],  // looked at again, found again
                                  L"Файл среди папок категорий: " + d + L"заметка.txt",
                                  L"Имя не видно в списках: " + d + L"Снег " + SNOWMAN,
                                  L"Остаток прерванной записи: " + d + L"Факт\\~1234567",
                                  L"Копия при конфликте синхронизации: " + d +
                                      L"Факт\\Описание (conflicted copy 2026-12-01).txt рядом с Описание.txt",
                              }));

    // A change inside one fact walks that fact only; a Section moved away takes its findings along.
    DeleteFileW((Wide(DirectivePath()) + L"\\Факт\\~1234567").c_str());
    AnnounceFolderChanged((DirectivePath() + "\\Факт").c_str());
    WaitForTheWalk(dialog_);
    EXPECT_EQ(Lines(dialog_).size(), 4u);
    EXPECT_EQ(Lines(dialog_)[3], L"Копия при конфликте синхронизации: " + d +
                                     L"Факт\\Описание (conflicted copy 2026-12-01).txt рядом с Описание.txt");
    ASSERT_TRUE(MoveFileW(Wide(base_ + "\\Раздел").c_str(), Wide(base_ + "\\Раздел Б").c_str()));
    AnnounceFolderMoved((base_ + "\\Раздел").c_str(), (base_ + "\\Раздел Б").c_str());
    WaitForTheWalk(dialog_);
    EXPECT_EQ(Lines(dialog_).size(), 4u);
    EXPECT_EQ(Lines(dialog_)[0].substr(0, 28), L"Нет текста факта: Раздел Б\\Т");
    EXPECT_EQ(ControlTextWide(dialog_, IDC_CHECK_STATUS), L"Проверено фактов: 3, замечаний: 4");
}

TEST_F(PlantedCheckDialog, F6BringsTheOneDialogForwardWithAFreshWalk)
{
    RemoveTree(DirectivePath() + "\\Без описания");
    OpenOrRaiseBaseCheck(owner_);
    WaitForTheWalk(dialog_);
    EXPECT_EQ(OpenWindowsTitled(L"ПРОВЕРКА БАЗЫ").size(), 1u);
    EXPECT_EQ(Lines(dialog_), (std::vector<std::wstring>{ expected_[0], expected_[2], expected_[3] }));
    EXPECT_EQ(ControlTextWide(dialog_, IDC_CHECK_STATUS), L"Проверено фактов: 2, замечаний: 3");
}

}  // namespace
