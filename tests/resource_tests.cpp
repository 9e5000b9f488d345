// The dialog templates and the popup menu as the program creates them: every
// control's id, class, text, place and style, read back from the real windows,
// so that the Cyrillic texts are proven to arrive as the right characters.
#include "../browser/fact_base_dialog.h"
#include "../categories/category_editor_dialog.h"
#include "../wizard/fact_placement_dialog.h"
#include "../wizard/fact_description_dialog.h"
#include "../wizard/fact_text_dialog.h"
#include "../resources/resource.h"
#include "../export/export_dialog.h"
#include "../ui/app_state.h"
#include "../resources/ui_strings.h"
#include "../ui/platform_ui.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct ControlRow {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    int x, y, width, height;
    DWORD styleSet;    // bits that must be set
    DWORD styleClear;  // bits that must not be
};

struct TemplateCase {
    const char* name;
    int templateId;
    DLGPROC procedure;
    const wchar_t* title;
    int x, y, width, height;
    DWORD dialogStyle;
    std::vector<ControlRow> controls;
};

const DWORD CHILD = WS_CHILD | WS_VISIBLE;
const DWORD LIST = CHILD | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT;
const DWORD LIST_NOT = LBS_MULTIPLESEL | LBS_EXTENDEDSEL;
const DWORD BUTTON = CHILD | WS_TABSTOP;
const DWORD LABEL = CHILD | WS_GROUP;
const DWORD TEXT_EDIT = CHILD | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN;
const DWORD DIALOG = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

std::vector<TemplateCase> Templates()
{
    return {
        { "fact base browser",
          IDD_FACT_BASE,
          FactBaseDialog,
          L"БАЗА ФАКТОВ",
          30,
          30,
          678,
          400,
          DIALOG,
          {
              { IDCANCEL, L"Button", L"ВЫХОД", 271, 379, 404, 14, BUTTON, BS_DEFPUSHBUTTON },
              { 1000, L"ListBox", L"", 7, 11, 261, 38, LIST, LIST_NOT },
              { 1001, L"ListBox", L"", 7, 59, 261, 41, LIST, LIST_NOT },
              { 1008, L"ListBox", L"", 7, 111, 261, 41, LIST, LIST_NOT },
              { 1005, L"ListBox", L"", 7, 166, 261, 41, LIST, LIST_NOT },
              { 1002, L"ListBox", L"", 7, 218, 261, 144, LIST, LIST_NOT },
              { 1003, L"Edit", L"", 7, 381, 261, 25,
                CHILD | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL, WS_BORDER | WS_TABSTOP },
              { 1004, L"Button", L"ОТКРЫТЬ ПАПКУ", 7, 364, 261, 15, BUTTON, BS_DEFPUSHBUTTON },
              { 0xFFFF, L"Static", L"РАЗДЕЛЫ", 7, 1, 103, 9, CHILD, 0 },
              { 0xFFFF, L"Static", L"ТЕМЫ", 7, 50, 44, 9, CHILD, 0 },
              { 0xFFFF, L"Static", L"ПОДТЕМЫ", 7, 102, 101, 8, CHILD, 0 },
              { 0xFFFF, L"Static", L"УСТАНОВКИ", 7, 157, 101, 8, CHILD, 0 },
              { 0xFFFF, L"Static", L"ФАКТЫ", 7, 209, 101, 8, CHILD, 0 },
              { 0xFFFF, L"Static", L"ТЕКСТ ФАКТА", 276, 1, 103, 9, CHILD, 0 },
              { 1010, L"Static", L"", 382, 1, 293, 9, CHILD | SS_NOPREFIX | SS_ENDELLIPSIS, 0 },
              { 1006, L"Edit", L"", 275, 11, 400, 350, TEXT_EDIT, ES_AUTOHSCROLL | ES_READONLY },
              { 1007, L"Button", L"СОЗДАТЬ", 272, 364, 201, 15, BUTTON, BS_DEFPUSHBUTTON },
              { 1009, L"Button", L"ИЗМЕНИТЬ ФАКТ", 473, 364, 201, 15, BUTTON, BS_DEFPUSHBUTTON },
          } },
        { "category editor",
          IDD_CATEGORY_EDITOR,
          CategoryEditorDialog,
          L"CОЗДАНИЕ",
          50,
          50,
          391,
          266,
          0x90C800C0,
          {
              { IDCANCEL, L"Button", L"ОТМЕНА", 272, 242, 104, 17, 0x50010000, BS_DEFPUSHBUTTON },
              { 3000, L"Edit", L"", 197, 20, 182, 14, 0x50810080, ES_MULTILINE },
              { 3001, L"ListBox", L"", 7, 36, 182, 35, 0x50A10103, LIST_NOT },
              { 0xFFFF, L"Static", L"РАЗДЕЛ", 7, 20, 79, 12, 0x50020000, SS_CENTER },
              { 3002, L"Button", L"СОЗДАТЬ РАЗДЕЛ", 197, 36, 182, 33, 0x50010000, BS_DEFPUSHBUTTON },
              { 3003, L"Edit", L"", 197, 74, 182, 14, 0x50810080, ES_MULTILINE },
              { 3004, L"ListBox", L"", 7, 90, 182, 35, 0x50A10103, LIST_NOT },
              { 0xFFFF, L"Static", L"ТЕМА", 7, 74, 79, 12, 0x50020000, SS_CENTER },
              { 3005, L"Button", L"СОЗДАТЬ ТЕМУ", 197, 90, 182, 33, 0x50010000, BS_DEFPUSHBUTTON },
              { 3006, L"Edit", L"", 197, 129, 182, 14, 0x50810080, ES_MULTILINE },
              { 3007, L"ListBox", L"", 7, 143, 182, 35, 0x50A10103, LIST_NOT },
              { 0xFFFF, L"Static", L"ПОДТЕМА", 7, 129, 79, 12, 0x50020000, SS_CENTER },
              { 3008, L"Button", L"СОЗДАТЬ ПОДТЕМУ", 197, 143, 182, 33, 0x50010000, BS_DEFPUSHBUTTON },
              { 3009, L"Edit", L"", 197, 183, 182, 14, 0x50810080, ES_MULTILINE },
              { 3010, L"ListBox", L"", 7, 202, 182, 35, 0x50A10103, LIST_NOT },
              { 0xFFFF, L"Static", L"УСТАНОВКА", 7, 183, 79, 12, 0x50020000, SS_CENTER },
              { 3011, L"Button", L"СОЗДАТЬ УСТАНОВКУ", 196, 202, 182, 33, 0x50010000, BS_DEFPUSHBUTTON },
              { 0xFFFF, L"Static", L"ПАНЕЛЬ ВЫБОРА", 7, 7, 182, 12, 0x50020001, 0 },
              { 0xFFFF, L"Static", L"ПАНЕЛЬ ГЕНЕРАЦИИ", 195, 7, 182, 12, 0x50020001, 0 },
              { 3012, L"Edit", L"", 7, 242, 261, 17, 0x50000880, WS_BORDER | WS_TABSTOP },
          } },
        { "fact placement",
          IDD_FACT_PLACEMENT,
          FactPlacementDialog,
          L"Создание Факта - выбор папки",
          50,
          50,
          306,
          311,
          DIALOG,
          {
              { IDOK, L"Button", L"ВЫБРАТЬ", 7, 289, 142, 16, BUTTON | BS_DEFPUSHBUTTON, 0 },
              { IDCANCEL, L"Button", L"ОТМЕНА", 152, 289, 147, 16, BUTTON, BS_DEFPUSHBUTTON },
              { 0xFFFF, L"Static", L"ВЫБРАТЬ РАЗДЕЛ", 7, 7, 134, 10, LABEL, 0 },
              { 4001, L"ListBox", L"", 7, 18, 292, 40, LIST, LIST_NOT },
              { 0xFFFF, L"Static", L"ВЫБРАТЬ ТЕМУ", 7, 60, 134, 10, LABEL, 0 },
              { 4002, L"ListBox", L"", 7, 71, 292, 40, LIST, LIST_NOT },
              { 0xFFFF, L"Static", L"ВЫБРАТЬ ПОДТЕМУ", 7, 115, 134, 10, LABEL, 0 },
              { 4003, L"ListBox", L"", 7, 126, 292, 40, LIST, LIST_NOT },
              { 0xFFFF, L"Static", L"ВЫБРАТЬ УСТАНОВКУ", 7, 170, 134, 10, LABEL, 0 },
              { 4004, L"ListBox", L"", 7, 181, 292, 40, LIST, LIST_NOT },
              { 0xFFFF, L"Static", L"Полный путь к папке файла будет :", 7, 224, 134, 10, LABEL, 0 },
              { 4005, L"Edit", L"", 7, 237, 292, 32, CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                WS_BORDER | WS_TABSTOP },
              { 4006, L"Button", L"ОТКРЫТЬ ПАПКУ УСТАНОВКИ", 7, 271, 292, 16, BUTTON, BS_DEFPUSHBUTTON },
          } },
        { "fact description",
          IDD_FACT_DESCRIPTION,
          FactDescriptionDialog,
          L"Создание факта - Описание",
          50,
          50,
          293,
          260,
          DIALOG,
          {
              { IDOK, L"Button", L"ДАЛЬШЕ", 7, 239, 135, 14, BUTTON | BS_DEFPUSHBUTTON, 0 },
              { IDCANCEL, L"Button", L"ОТМЕНА", 149, 239, 137, 14, BUTTON, BS_DEFPUSHBUTTON },
              { 0xFFFF, L"Static", L"НАЗВАНИЕ ФАКТА", 7, 7, 160, 13, LABEL, 0 },
              { 5005, L"Edit", L"", 7, 24, 279, 16, CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, ES_MULTILINE },
              { 0xFFFF, L"Static", L"ВВЕДИТЕ ОПИСАНИЕ", 7, 46, 100, 15, LABEL, 0 },
              { 5006, L"Edit", L"", 7, 63, 279, 172, TEXT_EDIT | ES_AUTOVSCROLL, ES_READONLY },
          } },
        { "fact text",
          IDD_FACT_TEXT,
          FactTextDialog,
          L"Создание факта - Основная информация",
          50,
          50,
          449,
          340,
          DIALOG,
          {
              { IDOK, L"Button", L"СОХРАНИТЬ", 7, 314, 221, 19, BUTTON | BS_DEFPUSHBUTTON, 0 },
              { IDCANCEL, L"Button", L"ОТМЕНИТЬ И УДАЛИТЬ ВСЕ ДАННЫЕ", 232, 314, 210, 19, BUTTON, BS_DEFPUSHBUTTON },
              { 0xFFFF, L"Static", L"ПУТЬ К ПАПКЕ ФАКТА", 7, 7, 95, 13, LABEL, 0 },
              { 5001, L"Edit", L"", 7, 23, 435, 21, CHILD | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                WS_BORDER | WS_TABSTOP | WS_VSCROLL },
              { 0xFFFF, L"Static", L"ОСНОВНОЙ ТЕКСТ ФАКТА", 7, 49, 154, 13, LABEL, 0 },
              { 5002, L"Edit", L"", 7, 63, 435, 249, TEXT_EDIT | ES_AUTOVSCROLL, ES_READONLY },
              { 5003, L"Button", L"ОТКРЫТЬ ПАПКУ ФАКТА", 111, 7, 331, 14, BUTTON, BS_DEFPUSHBUTTON },
          } },
        { "export progress",
          IDD_EXPORT_PROGRESS,
          ExportProgressDialog,
          L"ЭКСПОРТ",
          80,
          80,
          220,
          56,
          WS_POPUP | WS_CAPTION | DS_MODALFRAME,
          {
              { IDC_EXPORT_PROGRESS, L"Static", L"", 7, 9, 206, 10, CHILD | SS_NOPREFIX, 0 },
              { IDCANCEL, L"Button", L"ОТМЕНА", 79, 32, 62, 15, BUTTON, BS_DEFPUSHBUTTON },
          } },
    };
}

// The dialog template as the resource holds it.
struct TemplateItem {
    DWORD style;
    int x, y, width, height;
    int id;
    std::wstring className;
    std::wstring text;
};

struct ParsedTemplate {
    DWORD style;
    int x, y, width, height;
    std::wstring title;
    std::wstring font;
    int pointSize;
    std::vector<TemplateItem> items;
};

const WORD* ReadNameOrOrdinal(const WORD* p, std::wstring* name)
{
    static const wchar_t* const classes[] = { L"Button", L"Edit", L"Static", L"ListBox", L"ScrollBar", L"ComboBox" };
    if (*p == 0xFFFF) {
        WORD ordinal = p[1];
        *name = ordinal >= 0x80 && ordinal <= 0x85 ? classes[ordinal - 0x80] : L"#" + std::to_wstring(ordinal);
        return p + 2;
    }
    name->clear();
    while (*p)
        *name += (wchar_t)*p++;
    return p + 1;
}

ParsedTemplate ParseTemplate(int templateId)
{
    HMODULE module = GetModuleHandleW(NULL);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    const BYTE* base = (const BYTE*)LockResource(LoadResource(module, resource));
    const DLGTEMPLATE* header = (const DLGTEMPLATE*)base;
    ParsedTemplate parsed;
    parsed.style = header->style;
    parsed.x = header->x;
    parsed.y = header->y;
    parsed.width = header->cx;
    parsed.height = header->cy;
    const WORD* p = (const WORD*)(header + 1);
    std::wstring menu, windowClass;
    p = ReadNameOrOrdinal(p, &menu);
    EXPECT_TRUE(menu.empty()) << "no menu";
    p = ReadNameOrOrdinal(p, &windowClass);
    EXPECT_TRUE(windowClass.empty()) << "no class";
    p = ReadNameOrOrdinal(p, &parsed.title);
    parsed.pointSize = *p++;
    p = ReadNameOrOrdinal(p, &parsed.font);
    for (int i = 0; i < header->cdit; i++) {
        p = (const WORD*)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
        const DLGITEMTEMPLATE* item = (const DLGITEMTEMPLATE*)p;
        TemplateItem parsedItem;
        parsedItem.style = item->style;
        parsedItem.x = item->x;
        parsedItem.y = item->y;
        parsedItem.width = item->cx;
        parsedItem.height = item->cy;
        parsedItem.id = item->id;
        p = (const WORD*)(item + 1);
        p = ReadNameOrOrdinal(p, &parsedItem.className);
        p = ReadNameOrOrdinal(p, &parsedItem.text);
        WORD extra = *p++;
        p = (const WORD*)((const BYTE*)p + extra);
        parsed.items.push_back(parsedItem);
    }
    return parsed;
}

TEST(DialogTemplates, EveryControlIsWhereAndWhatTheTablesSay)
{
    for (const TemplateCase& t : Templates()) {
        SCOPED_TRACE(t.name);
        ParsedTemplate parsed = ParseTemplate(t.templateId);
        EXPECT_EQ(parsed.title, t.title);
        EXPECT_EQ(parsed.style & ~(DWORD)DS_SETFONT, t.dialogStyle & ~(DWORD)DS_SETFONT);
        EXPECT_EQ(parsed.x, t.x);
        EXPECT_EQ(parsed.y, t.y);
        EXPECT_EQ(parsed.width, t.width);
        EXPECT_EQ(parsed.height, t.height);
        EXPECT_EQ(parsed.font, L"MS Sans Serif");
        EXPECT_EQ(parsed.pointSize, 8);
        ASSERT_EQ(parsed.items.size(), t.controls.size());
        for (size_t i = 0; i < t.controls.size(); i++) {
            const ControlRow& row = t.controls[i];
            const TemplateItem& item = parsed.items[i];
            SCOPED_TRACE(testing::Message() << "control " << i << " id " << row.id);
            EXPECT_EQ(item.id, row.id);
            EXPECT_EQ(lstrcmpiW(item.className.c_str(), row.className), 0) << Cp1251(item.className);
            EXPECT_EQ(item.text, row.text);
            EXPECT_EQ(item.x, row.x);
            EXPECT_EQ(item.y, row.y);
            EXPECT_EQ(item.width, row.width);
            EXPECT_EQ(item.height, row.height);
            EXPECT_EQ(item.style & row.styleSet, row.styleSet);
            EXPECT_EQ(item.style & row.styleClear, 0u);
            if (t.templateId == IDD_CATEGORY_EDITOR) {
                EXPECT_EQ(item.style, row.styleSet) << "the editor's styles are exact";
            }
        }
    }
}

// The same texts on the screen, in the dialogs the program creates.
TEST(DialogTemplates, TitlesAndLabelsReachTheScreenAsTheRightCharacters)
{
    InitAppState(&App);
    App.AppInstance = GetModuleHandleW(NULL);
    SetCurrentDirectoryW(Wide(NewTestFolder()).c_str());
    for (const TemplateCase& t : Templates()) {
        SCOPED_TRACE(t.name);
        HWND dialog = CreateDialogParamW(App.AppInstance, MAKEINTRESOURCEW(t.templateId), NULL, t.procedure, 0);
        ASSERT_TRUE(dialog != NULL);
        EXPECT_EQ(WindowTextWide(dialog), t.title);
        HWND child = GetWindow(dialog, GW_CHILD);
        for (size_t i = 0; i < t.controls.size() && child; i++, child = GetWindow(child, GW_HWNDNEXT)) {
            const ControlRow& row = t.controls[i];
            EXPECT_EQ(GetDlgCtrlID(child) & 0xFFFF, row.id);
            if (lstrcmpW(row.className, L"Edit") != 0 && lstrcmpW(row.className, L"ListBox") != 0) {
                EXPECT_EQ(WindowTextWide(child), row.text);
            }
        }
        DestroyWindow(dialog);
    }
    SetCurrentDirectoryW(L"C:\\");
}

TEST(PopupMenu, MenuListHoldsCreateSeparatorAndRecordFact)
{
    HMENU menu = LoadMenuW(GetModuleHandleW(NULL), L"MENU_LIST");
    ASSERT_TRUE(menu != NULL);
    ASSERT_EQ(GetMenuItemCount(menu), 1);
    wchar_t text[64];
    GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"& ");
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_TRUE(popup != NULL);
    ASSERT_EQ(GetMenuItemCount(popup), 3);
    GetMenuStringW(popup, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Создать");
    EXPECT_EQ(GetMenuItemID(popup, 0), (UINT)IDM_CREATE_CATEGORY);
    EXPECT_TRUE(GetMenuState(popup, 1, MF_BYPOSITION) & MF_SEPARATOR);
    GetMenuStringW(popup, 2, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Записать факт");
    EXPECT_EQ(GetMenuItemID(popup, 2), (UINT)IDM_CREATE_FACT);
    DestroyMenu(menu);
}

// The browser's list menu, one popup per level: its items in order, with
// their ids (other tools send them) and which of them start greyed. A fact
// takes no import.
TEST(PopupMenu, EntryMenuHoldsTheSameCommandsAtEveryLevel)
{
    HMENU menu = LoadMenuW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDR_ENTRY_MENU));
    ASSERT_TRUE(menu != NULL);
    ASSERT_EQ(GetMenuItemCount(menu), 5);
    struct Item {
        const wchar_t* text;  // NULL for a separator
        int id;               // at the Section level; per level for the first five
        bool perLevel, greyed;
    };
    for (int level = 1; level <= 5; level++) {
        SCOPED_TRACE(level);
        std::vector<Item> items = {
            { L"Переименовать…", IDM_RENAME_SECTION, true, false },
            { L"Переместить…", IDM_MOVE_SECTION, true, level == 1 },
            { L"Удалить в корзину", IDM_DELETE_SECTION, true, false },
            { L"Экспорт…", IDM_EXPORT_SECTION, true, false },
            { L"Печать…", IDM_PRINT_SECTION, true, false },
        };
        if (level < 5)
            items.push_back({ L"Импорт…", IDM_IMPORT_SECTION, true, false });
        if (level == 1) {
            items.push_back({ L"Экспорт всей базы…", IDM_EXPORT_BASE, false, false });
            items.push_back({ L"Печать всей базы…", IDM_PRINT_BASE, false, false });
            items.push_back({ L"Импорт в базу…", IDM_IMPORT_BASE, false, false });
        }
        if (level == 5)
            items.push_back({ L"Новый факт из буфера", IDM_CAPTURE_FROM_CLIPBOARD, false, false });
        items.push_back({ L"Отменить", IDM_UNDO, false, true });
        items.push_back({ NULL, 0, false, false });
        items.push_back({ L"Открыть папку", IDC_BROWSER_OPEN_FOLDER, false, false });
        HMENU popup = GetSubMenu(menu, level - 1);
        ASSERT_TRUE(popup != NULL);
        ASSERT_EQ(GetMenuItemCount(popup), (int)items.size());
        for (size_t i = 0; i < items.size(); i++) {
            const Item& item = items[i];
            UINT state = GetMenuState(popup, (UINT)i, MF_BYPOSITION);
            if (!item.text) {
                EXPECT_TRUE(state & MF_SEPARATOR) << i;
                continue;
            }
            wchar_t text[64] = {};
            GetMenuStringW(popup, (UINT)i, text, 64, MF_BYPOSITION);
            EXPECT_STREQ(text, item.text) << i;
            EXPECT_EQ(GetMenuItemID(popup, (int)i), (UINT)(item.id + (item.perLevel ? level - 1 : 0))) << i;
            EXPECT_EQ((state & MF_GRAYED) != 0, item.greyed) << i;
        }
    }
    DestroyMenu(menu);
}

TEST(Icon, IsA32By32ImageOf16Colours)
{
    HICON icon = (HICON)LoadImageW(GetModuleHandleW(NULL), L"IDI_ICON1", IMAGE_ICON, 32, 32, 0);
    ASSERT_TRUE(icon != NULL);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour;
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    HRSRC group = FindResourceW(GetModuleHandleW(NULL), L"IDI_ICON1", (LPCWSTR)RT_GROUP_ICON);
    ASSERT_TRUE(group != NULL);
    const BYTE* directory = (const BYTE*)LockResource(LoadResource(GetModuleHandleW(NULL), group));
    EXPECT_EQ(directory[6], 32);  // width
    EXPECT_EQ(directory[7], 32);  // height
    EXPECT_EQ(directory[8], 16);  // colours
}

// Every message text of the program, put on a window and read back as Unicode.
TEST(InterfaceTexts, ReachTheScreenAsTheRightCharacters)
{
    HWND label = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 100, 20, NULL, NULL, NULL, NULL);
    struct Row {
        const char* bytes;
        const wchar_t* shown;
    };
    const Row rows[] = {
        { Text::MainTitle, L"Сбор и систематизация фактов Тарвелии" },
        { Text::DescriptionFile, L"Описание.txt" },
        { Text::DescriptionNotFound, L"Файла описания факта 'Описание.txt' не найдено!" },
        { Text::MainTextNotFound, L"Основого файла факта не найдено!" },
        { Text::SelectFactFirst, L"Сначала выберете факт :)" },
        { Text::ConfirmChange, L"Точно ИЗМЕНИТЬ?" },
        { Text::CaptionAttention, L"Внимание!" },
        { Text::CaptionChangeFact, L"Изменение факта" },
        { Text::FileNotWritten, L"Ошибка создания файла :)" },
        { Text::CaptionFile, L"Файл" },
        { Text::CaptionError, L"Ошибка" },
        { Text::CaptionOpeningFile, L"Openning file" },
        { Text::PromptDirective, L"Введите имя новой установки" },
        { Text::DirectiveNoSubtopic, L"Сначала выберете подтему для установки :)" },
        { Text::TopicNoSection, L"Сначала выберете раздел для новой темы :)" },
        { Text::PlaceNoDirective, L"Сначала выберете установку :)" },
        { Text::DirectiveNotChosen, L"Укажите полный путь к установке :)" },
        { Text::DefaultFactName, L"Имя факта" },
        { Text::DescriptionNotWritten, L"Ошибка создания файла 'Описание.txt' :)" },
        { Text::MainTextNotWritten, L"Ошибка создания основного файла :)" },
        { Text::FactFolderNotChosen, L"Укажите полный путь к установке - выберете заново директории :)" },
        { Text::MenuUndoMove, L"Отменить: перемещение «%s»" },
        { Text::ExportDialogTitle, L"ЭКСПОРТ" },
        { Text::ExportHtmlFilter, L"Веб-страница (*.html)" },
        { Text::ExportTextFilter, L"Текст (*.txt)" },
        { Text::ExportProgress, L"Экспорт: %d из %d фактов" },
        { Text::PrintPageFooter, L"стр. %d из %d" },
        { Text::ConflictMark, L" (!)" },
    };
    for (const Row& row : rows) {
        SetWindowText1251(label, row.bytes);
        EXPECT_EQ(WindowTextWide(label), row.shown);
    }
    // And the bytes themselves, for the example of the file format.
    EXPECT_EQ(std::string(Text::DescriptionFile), "\xCE\xEF\xE8\xF1\xE0\xED\xE8\xE5.txt");
    DestroyWindow(label);
}

}  // namespace
