// Resource numbers. The icon "IDI_ICON1" and the background popup menu
// "MENU_LIST" are named resources and so have no number here.
#pragma once

// ---- Dialog templates -------------------------------------------------
#define IDD_FACT_BASE        101
#define IDD_CATEGORY_EDITOR  3013
#define IDD_FACT_PLACEMENT   4000
#define IDD_FACT_TEXT        5000
#define IDD_FACT_DESCRIPTION 5004
#define IDD_SEARCH           6000
#define IDD_RENAME           6100
#define IDD_BASE_CHECK       6200
#define IDD_MOVE             6300
#define IDD_EXPORT_PROGRESS  6400
#define IDD_QUICK_CAPTURE    6500
#define IDD_CAPTURE_PLACE    6510
#define IDD_IMPORT           6600

// ---- Menu bar, accelerators and commands (2000s) -----------------------
#define IDR_MAIN_MENU         2000
#define IDR_MAIN_ACCELERATORS 2000
#define IDR_ENTRY_MENU        2100  // the browser's list menu: one popup per level
#define IDM_FACT_BASE         2001  // "&БАЗА ФАКТОВ", F1
#define IDM_EXIT              2003  // "&ВЫХОД", F4
#define IDM_CREATE_CATEGORY   2005  // "&СОЗДАТЬ", F2; popup "&Создать"
#define IDM_CREATE_FACT       2009  // "&СОЗДАТЬ ФАКТ", F3; popup "&Записать факт"
#define IDM_SEARCH            2011  // "&ПОИСК", F5
#define IDM_BASE_CHECK        2013  // "&ПРОВЕРКА", F6
#define IDM_QUICK_CAPTURE     2015  // "&БЫСТРЫЙ ФАКТ", F7: the clipboard's text
#define IDM_RENAME_SECTION    2101  // the browser's list menu: rename, level 1 to 5
#define IDM_RENAME_FACT       2105
#define IDM_DELETE_SECTION    2111  // the browser's list menu: delete, level 1 to 5
#define IDM_DELETE_FACT       2115
#define IDM_MOVE_SECTION      2121  // the browser's list menu: move, level 1 to 5 (a Section's is greyed)
#define IDM_MOVE_FACT         2125
#define IDM_UNDO              2131  // the browser's list menu and Ctrl+Z: undo the last rename or move
#define IDM_EXPORT_BASE       2140  // the Section list's menu: export the whole base
#define IDM_EXPORT_SECTION    2141  // the browser's list menu: export, level 1 to 5
#define IDM_EXPORT_FACT       2145
#define IDM_PRINT_BASE        2150  // the Section list's menu: print the whole base
#define IDM_PRINT_SECTION     2151  // the browser's list menu: print, level 1 to 5
#define IDM_PRINT_FACT        2155
#define IDM_CAPTURE_FROM_CLIPBOARD 2160  // the fact list's menu and Ctrl+Shift+V: a quick fact in the selected Directive
#define IDM_IMPORT_SECTION    2161  // the browser's list menu: import into the selected entry, level 1 to 4
#define IDM_IMPORT_DIRECTIVE  2164
#define IDM_IMPORT_BASE       2170  // the Section list's menu: import into the base itself

// ---- Shared by several dialogs ------------------------------------------
#define IDC_STATIC_LABEL -1  // every label

// ---- Fact base browser, template 101 (1000s) ----------------------------
#define IDC_BROWSER_SECTION_LIST   1000
#define IDC_BROWSER_TOPIC_LIST     1001
#define IDC_BROWSER_FACT_LIST      1002
#define IDC_BROWSER_ROOT_FIELD     1003
#define IDC_BROWSER_OPEN_FOLDER    1004
#define IDC_BROWSER_DIRECTIVE_LIST 1005
#define IDC_BROWSER_TEXT_VIEW      1006
#define IDC_BROWSER_CREATE         1007
#define IDC_BROWSER_SUBTOPIC_LIST  1008
#define IDC_BROWSER_CHANGE_FACT    1009
#define IDC_BROWSER_NOTE           1010  // one line above the text view: what changed elsewhere

// ---- Category editor, template 3013 (3000s) -----------------------------
#define IDC_EDITOR_SECTION_NAME     3000
#define IDC_EDITOR_SECTION_LIST     3001
#define IDC_EDITOR_CREATE_SECTION   3002
#define IDC_EDITOR_TOPIC_NAME       3003
#define IDC_EDITOR_TOPIC_LIST       3004
#define IDC_EDITOR_CREATE_TOPIC     3005
#define IDC_EDITOR_SUBTOPIC_NAME    3006
#define IDC_EDITOR_SUBTOPIC_LIST    3007
#define IDC_EDITOR_CREATE_SUBTOPIC  3008
#define IDC_EDITOR_DIRECTIVE_NAME   3009
#define IDC_EDITOR_DIRECTIVE_LIST   3010
#define IDC_EDITOR_CREATE_DIRECTIVE 3011
#define IDC_EDITOR_ROOT_FIELD       3012

// ---- Fact placement, template 4000 (4000s) ------------------------------
#define IDC_PLACE_SECTION_LIST   4001
#define IDC_PLACE_TOPIC_LIST     4002
#define IDC_PLACE_SUBTOPIC_LIST  4003
#define IDC_PLACE_DIRECTIVE_LIST 4004
#define IDC_PLACE_DIRECTIVE_PATH 4005
#define IDC_PLACE_OPEN_DIRECTIVE 4006

// ---- Fact text, template 5000, and fact description, template 5004 ------
#define IDC_TEXT_FOLDER_PATH 5001
#define IDC_TEXT_MAIN_TEXT   5002
#define IDC_TEXT_OPEN_FOLDER 5003
#define IDC_DESCRIPTION_NAME 5005
#define IDC_DESCRIPTION_TEXT 5006

// ---- Search, template 6000 (6000s) ---------------------------------------
#define IDC_SEARCH_QUERY   6001
#define IDC_SEARCH_RESULTS 6002
#define IDC_SEARCH_STATUS  6003
#define IDC_SEARCH_PREVIEW 6004

// ---- Rename, template 6100 -----------------------------------------------
#define IDC_RENAME_NAME 6101

// ---- Base check, template 6200 -------------------------------------------
#define IDC_CHECK_FINDINGS    6201
#define IDC_CHECK_STATUS      6202
#define IDC_CHECK_FIX         6203
#define IDC_CHECK_OPEN_FOLDER 6204

// ---- Move, template 6300 -------------------------------------------------
#define IDC_MOVE_SECTION_LIST   6301
#define IDC_MOVE_TOPIC_LIST     6302
#define IDC_MOVE_SUBTOPIC_LIST  6303
#define IDC_MOVE_DIRECTIVE_LIST 6304
#define IDC_MOVE_TARGET         6305  // the target folder below the base root
#define IDC_EXPORT_PROGRESS     6401  // "Экспорт: N из M фактов"

// ---- Quick capture, template 6500, and its place, template 6510 ----------
#define IDC_CAPTURE_PLACE        6501  // "Раздел › Тема › Подтема › Установка", read-only
#define IDC_CAPTURE_CHOOSE_PLACE 6502  // "МЕСТО…"
#define IDC_CAPTURE_NAME         6503
#define IDC_CAPTURE_DESCRIPTION  6504
#define IDC_CAPTURE_TEXT         6505
#define IDC_CAPTURE_NOTE         6506  // what was taken from where, a duplicate, the key taken, characters outside Windows-1251
#define IDC_CAPTURE_PLACE_SECTION_LIST   6511
#define IDC_CAPTURE_PLACE_TOPIC_LIST     6512
#define IDC_CAPTURE_PLACE_SUBTOPIC_LIST  6513
#define IDC_CAPTURE_PLACE_DIRECTIVE_LIST 6514
#define IDC_CAPTURE_PLACE_CHOSEN         6515  // the chosen Directive below the base root

// ---- Import, template 6600 -----------------------------------------------
#define IDC_IMPORT_SOURCE   6601  // "Из «folder» в «place»"
#define IDC_IMPORT_COUNTS   6602  // the preview's counts, then the report's
#define IDC_IMPORT_FILES    6603  // one line per file: the preview's, then the report's
#define IDC_IMPORT_ENCODING 6604  // the encoding of the selected file, when its guess is uncertain
#define IDC_IMPORT_SAMPLE   6605  // the selected file's first line, as that encoding reads it
#define IDC_IMPORT_PROGRESS 6606  // "Импорт: N из M файлов"
