// Every Russian text the program itself shows or writes, in one place.
// The source is UTF-8; the compiler turns these literals into Windows-1251
// bytes (-fexec-charset=CP1251), which is what the program keeps in its
// slots and files. The dialog and menu texts live in app.rc.
#pragma once

namespace Text {

// Main window
inline constexpr char MainTitle[] = "Сбор и систематизация фактов Тарвелии";
inline constexpr char WallpaperFile[] = "rus.bmp";

// Fact base layout
inline constexpr char DescriptionFile[] = "Описание.txt";
inline constexpr char MainTextExtension[] = ".txt";
// The search index kept between runs, one file per base root, in the
// user's local application data: "<folder>\<prefix><hash of the root>.bin".
inline constexpr char IndexCacheFolder[] = "Факты Тарвелии";
inline constexpr char IndexCachePrefix[] = "Индекс поиска ";
inline constexpr char UnsetPath[] = "C:\\";
inline constexpr char UnsetLastFolder[] = "D:\\";

// Captions
inline constexpr char CaptionError[] = "Ошибка";
inline constexpr char CaptionFile[] = "Файл";
inline constexpr char CaptionOpeningFile[] = "Openning file";
inline constexpr char CaptionChangeFact[] = "Изменение факта";
inline constexpr char CaptionAttention[] = "Внимание!";
inline constexpr char CaptionWarning[] = "Внимание";

// Fact base browser
inline constexpr char TextViewCleared[] = "  ";
inline constexpr char DescriptionNotFound[] = "Файла описания факта 'Описание.txt' не найдено!";
inline constexpr char MainTextNotFound[] = "Основого файла факта не найдено!";
inline constexpr char SelectFactFirst[] = "Сначала выберете факт :)";
inline constexpr char ConfirmChange[] = "Точно ИЗМЕНИТЬ?";
inline constexpr char FileNotWritten[] = "Ошибка создания файла :)";
inline constexpr char LostCharactersShown[] =
    "В тексте есть знаки, которых нет в кириллической кодировке Windows-1251, - они показаны знаком ¤. Изменить этот "
    "текст здесь нельзя :)";
inline constexpr char LostCharactersNotWritten[] = "Этот текст нельзя записать: знаки, показанные как ¤, были бы "
                                                   "потеряны. Измените файл в той программе, в которой он создан :)";
inline constexpr char CutTextShown[] =
    "Текст показан не целиком: дальше в файле стоит знак NUL или 0x1A. Изменить этот текст здесь нельзя :)";
inline constexpr char CutTextNotWritten[] = "Этот текст нельзя записать: часть файла после знака NUL или 0x1A была бы "
                                            "потеряна. Измените файл в той программе, в которой он создан :)";
inline constexpr char UnsavedFactText[] = "Текст факта изменён и не записан. Записать изменения?";
inline constexpr char ChangedElsewhere[] =
    "Файл факта изменили в другом окне или другой программой, пока он был открыт здесь. Заменить его вашим текстом?";
inline constexpr char GoneElsewhere[] =
    "Файл факта удалили или переместили, пока он был открыт здесь. Записать его заново?";
// The one line above the text view: a typed text whose file someone else changed.
// Follows the name of a fact with a conflict copy in the fact list.
inline constexpr char ConflictMark[] = " (!)";
inline constexpr char ConflictCopyNote[] = "У факта есть копия при конфликте синхронизации - см. ОТКРЫТЬ ПАПКУ";
inline constexpr char ChangedElsewhereNote[] = "Файл изменён в другом месте - набранное цело, при записи будет вопрос";

// Category editor: prompt texts and complaints, level by level
inline constexpr char PromptSection[] = "Введите имя нового раздела";
inline constexpr char PromptTopic[] = "Введите имя новой темы";
inline constexpr char PromptSubtopic[] = "Введите имя новой подтемы";
inline constexpr char PromptDirective[] = "Введите имя новой установки";

inline constexpr char SectionNameMissing[] = "Сначала введите имя раздела :)";
inline constexpr char TopicNameMissing[] = "Сначала введите имя темы :)";
inline constexpr char TopicNoSection[] = "Сначала выберете раздел для новой темы :)";
inline constexpr char SubtopicNameMissing[] = "Сначала введите имя подтемы :)";
inline constexpr char SubtopicNoSection[] = "Сначала выберете раздел для подтемы :)";
inline constexpr char SubtopicNoTopic[] = "Сначала выберете тему для подтемы :)";
inline constexpr char DirectiveNameMissing[] = "Сначала введите имя установки :)";
inline constexpr char DirectiveNoSection[] = "Сначала выберете раздел для установки :)";
inline constexpr char DirectiveNoTopic[] = "Сначала выберете тему для установки :)";
inline constexpr char DirectiveNoSubtopic[] = "Сначала выберете подтему для установки :)";
inline constexpr char CategoryPathTooLong[] =
    "Слишком длинное имя: полный путь к папке не должен превышать 255 знаков :)";

// Fact placement
inline constexpr char PlaceNoSection[] = "Сначала выберете раздел :)";
inline constexpr char PlaceNoTopic[] = "Сначала выберете тему :)";
inline constexpr char PlaceNoSubtopic[] = "Сначала выберете подтему :)";
inline constexpr char PlaceNoDirective[] = "Сначала выберете установку :)";
inline constexpr char DirectiveNotChosen[] = "Укажите полный путь к установке :)";
inline constexpr char DirectivePathTooLong[] =
    "Путь к этой установке длиннее 255 знаков - выберете другую установку :)";

// Fact description
inline constexpr char DefaultFactName[] = "Имя факта";
inline constexpr char DescriptionNotWritten[] = "Ошибка создания файла 'Описание.txt' :)";
inline constexpr char FactNameEmpty[] = "Сначала введите имя факта :)";
inline constexpr char FactNameTaken[] = "Факт с таким именем в этой установке уже есть - введите другое имя :)";
inline constexpr char FactPathTooLong[] =
    "Слишком длинное имя факта: полный путь к его файлам не должен превышать 255 знаков :)";

// Fact main text
inline constexpr char MainTextNotWritten[] = "Ошибка создания основного файла :)";
inline constexpr char TypedTextWillBeLost[] = "Введённый текст не сохранён и будет потерян. Продолжить?";
inline constexpr char FactFolderNotChosen[] = "Укажите полный путь к установке - выберете заново директории :)";

// Characters that Windows-1251 cannot hold, typed or pasted
inline constexpr char NameNot1251[] = "В имени есть знаки, которых нет в кириллической кодировке Windows-1251 :)";
inline constexpr char TextNot1251[] =
    "В тексте есть знаки, которых нет в кириллической кодировке Windows-1251 - их нельзя сохранить :)";

// Search
inline constexpr char SearchPrompt[] = "Введите слова для поиска: найдутся факты, в которых есть каждое слово";
inline constexpr char SearchReading[] = "Просмотр базы: прочитано %d фактов…";
inline constexpr char SearchFound[] = "Найдено фактов: %d";
inline constexpr char SearchUnread[] = ", не прочитано: %d";
inline constexpr char SearchPathSeparator[] = " › ";

// Rename and delete from the browser's lists
inline constexpr char CaptionDelete[] = "Удаление";
inline constexpr char SelectEntryFirst[] = "Сначала выберете папку в этом списке :)";
inline constexpr char NameEmpty[] = "Сначала введите новое имя :)";
inline constexpr char NameTaken[] = "Здесь уже есть папка или файл с таким именем - введите другое имя :)";
inline constexpr char NameBadCharacters[] = "В имени не может быть знаков \\ / : * ? \" < > | :)";
inline constexpr char NameTrailing[] = "Имя не может кончаться пробелом или точкой :)";
inline constexpr char NameDots[] =
    "Имя не может быть «.» или «..» - так Windows называет саму папку и папку над ней :)";
inline constexpr char NameReserved[] =
    "Это имя Windows оставляет за устройствами (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9) - введите другое имя :)";
inline constexpr char OutsideBase[] = "Эта папка лежит вне базы фактов или это сама база - здесь её менять нельзя :)";
inline constexpr char NameTooLong[] = "Слишком длинное имя: полный путь к файлам не должен превышать 255 знаков :)";
inline constexpr char RenameFailed[] = "Не удалось переименовать - ничего не изменено :)";
inline constexpr char ConfirmDeleteFact[] = "Удалить факт «%s» в корзину?";
inline constexpr char ConfirmDeleteCategory[] =
    "Удалить папку «%s» в корзину вместе со всем, что в ней лежит (фактов: %d)?";
inline constexpr char RecycleRefused[] = "Здесь нет корзины (сетевая или съёмная папка) - ничего не удалено :)";
inline constexpr char RecycleFailed[] = "Не удалось удалить в корзину - ничего не удалено :)";

// Moving, cutting and pasting entries, and undoing the last renames and moves
inline constexpr char MenuUndo[] = "Отменить";
inline constexpr char MenuUndoMove[] = "Отменить: перемещение «%s»";
inline constexpr char MenuUndoRename[] = "Отменить: переименование «%s»";
inline constexpr char MenuUndoImport[] = "Отменить: импорт «%s»";
inline constexpr char SectionCannotMove[] = "Раздел лежит прямо в базе - его некуда переместить :)";
inline constexpr char MoveTargetMissing[] = "Сначала выберите, куда переместить :)";
inline constexpr char MoveSamePlace[] = "Это и есть нынешнее место - выберите другое :)";
inline constexpr char MoveWrongLevel[] =
    "Сюда это не положить: факт кладут в установку, установку - в подтему, подтему - в тему, тему - в раздел :)";
inline constexpr char MoveTaken[] = "Там уже есть папка или файл с таким именем - ничего не перемещено :)";
inline constexpr char MoveTooLong[] =
    "После перемещения путь к одной из папок или файлов превысил бы 255 знаков - ничего не перемещено :)";
inline constexpr char MoveInUse[] =
    "Не удалось переместить: файл в этой папке открыт другой программой или нет прав - ничего не перемещено :)";
inline constexpr char MoveOtherVolume[] =
    "Не удалось переместить: новое место лежит на другом диске - ничего не перемещено :)";
inline constexpr char MoveGone[] = "Не удалось переместить: папку удалили или переместили - ничего не перемещено :)";
inline constexpr char MoveFailed[] = "Не удалось переместить - ничего не перемещено :)";
inline constexpr char PasteNothingCut[] = "Сначала вырежьте папку в списке (Ctrl+X) :)";
inline constexpr char UndoNothing[] = "Отменять нечего :)";
inline constexpr char UndoEntryGone[] =
    "Отменить нельзя: папки уже нет там, куда её поместили - этот шаг забыт, следующая отмена вернёт предыдущий :)";
inline constexpr char UndoPlaceTaken[] =
    "Отменить нельзя: на прежнем месте уже есть папка с тем же именем - ничего не изменено :)";
inline constexpr char UndoPlaceGone[] = "Отменить нельзя: папки, где она лежала, больше нет - ничего не изменено :)";
inline constexpr char UndoFailed[] = "Не удалось отменить - ничего не изменено :)";
// An import undone but in part: then one line per path that stays.
inline constexpr char UndoImportPartly[] =
    "Импорт отменён, кроме того, что изменилось после него или занято другой программой - это осталось на месте:";
inline constexpr char UndoImportMore[] = "…и ещё: %d";
inline constexpr char UndoImportNoBin[] = "Здесь нет корзины (сетевая или съёмная папка) - импорт не отменён :)";

// The base check, one kind of finding per line, in the order of FindingKind
inline constexpr const char* CheckKinds[] = {
    "Нет описания",
    "Нет текста факта",
    "Остаток прерванной записи",
    "Пустая папка факта",
    "Имя не видно в списках",
    "Текст длиннее 99 999 знаков",
    "Большая часть текста скрыта знаком NUL или 0x1A",
    "Папка внутри факта",
    "Файл среди папок категорий",
    "Текст не в Windows-1251",
    "Копия при конфликте синхронизации",
    "Повтор",
};
// A repeat's line: the fact, then the one met before with the same text.
inline constexpr char CheckRepeatLine[] = "Повтор: «%s» совпадает с «%s»";
// A conflict copy's line names the file it stands beside after this.
inline constexpr char CheckConflictBeside[] = " рядом с ";
// What a text not in Windows-1251 is in, in the order of TextEncoding
inline constexpr const char* CheckEncodings[] = { "Windows-1251", "UTF-8", "UTF-8 с BOM", "UTF-16 LE", "UTF-16 BE" };
inline constexpr char CheckNot1251[] = "Текст в %s";
inline constexpr char CheckNot1251Lossy[] = "Текст в %s, есть знаки вне Windows-1251";
inline constexpr char CheckRunning[] = "Идёт проверка: проверено фактов %d…";
inline constexpr char CheckDone[] = "Проверено фактов: %d, замечаний: %d";
inline constexpr char CheckRootUnusable[] =
    "Эту папку базы нельзя проверить: её путь длиннее 255 знаков или не в кодировке Windows-1251 :)";
inline constexpr char CheckFixOutdated[] = "Здесь всё уже не так, как при проверке - проверьте базу заново (F6) :)";
inline constexpr char CheckFixFailed[] = "Не удалось исправить - ничего не изменено :)";


// Export and printing
inline constexpr char ExportWholeBase[] = "База фактов";
inline constexpr char ExportContents[] = "Содержание";
// A file that could not be read, noted in its place; %s is its name.
inline constexpr char ExportUnreadable[] = "[Файл «%s» не удалось прочитать]";
inline constexpr char ExportSummary[] = "Фактов: %d. Не удалось прочитать файлов: %d.";
inline constexpr char ExportDialogTitle[] = "ЭКСПОРТ";
inline constexpr char ExportHtmlFilter[] = "Веб-страница (*.html)";
inline constexpr char ExportTextFilter[] = "Текст (*.txt)";
inline constexpr char ExportProgress[] = "Экспорт: %d из %d фактов";
inline constexpr char ExportInsideBase[] =
    "Файл нельзя сохранить внутри базы фактов: он оказался бы лишним файлом среди категорий. Выберите другую папку :)";
inline constexpr char ExportDone[] = "Экспорт завершён: фактов %d, не удалось прочитать файлов: %d.";
inline constexpr char ExportFailed[] = "Не удалось записать файл (ошибка %lu) - файла нет, прежний файл не тронут :)";
inline constexpr char ExportCancelled[] = "Экспорт отменён - файл не создан.";
inline constexpr char ExportNoBranch[] = "Этой папки уже нет в базе - экспортировать нечего :)";
inline constexpr char ExportUsage[] =
    "Использование: facts.exe --export <путь в базе, пустой - вся база> <файл.html или файл.txt>";
inline constexpr char ExportRootUnusable[] =
    "Эту папку нельзя взять за базу: её путь длиннее 255 знаков или не в кодировке Windows-1251 :)";
inline constexpr char ExportBadFormat[] = "Формат файла задаётся окончанием: .html или .txt";
inline constexpr char NoPrinter[] = "Принтер не установлен - печатать не на чем :)";
inline constexpr char PrintPageFooter[] = "стр. %d из %d";
inline constexpr char PrintFailed[] = "Печать не удалась (ошибка %lu) :)";

// After a text the browser shows cut, in an exported or printed document.
inline constexpr char ExportCutText[] = "[Файл «%s» прочитан не до конца: дальше в нём недопустимый символ]";

// Import of a folder of texts
inline constexpr char ImportUsage[] =
    "Использование: facts.exe --import <папка или файл> <место в базе, пустое - сама база>";
inline constexpr char ImportRootUnusable[] =
    "Эту папку нельзя взять за базу: её путь длиннее 255 знаков или не в кодировке Windows-1251 :)";
inline constexpr char ImportNoSource[] = "Нет такой папки или файла: «%s» :)";
inline constexpr char ImportBadPlace[] = "В базе нет такого раздела, темы, подтемы или установки: «%s» :)";
inline constexpr char ImportHeader[] = "Импорт «%s» в «%s»: файлов %s, будет фактов %s, категорий новых %s, уже есть %s.";
// What became of a file, in the order of ImportOutcome; %s are the file and the facts concerned.
inline constexpr const char* ImportOutcomeLines[] = {
    "Пропущен «%s»: %s",
    "Импортирован «%s»",
    "Импортирован «%s» как «%s», но он совпадает с «%s»",
    "Уже импортирован «%s»: «%s»",
    "Не импортирован «%s»: для него нет подходящего имени в «%s»",
    "Не импортирован «%s»: не удалось создать категорию или в ней нет места для факта «%s»",
    "Не импортирован «%s»: не удалось записать файлы факта в «%s»",
    "Не импортирован «%s»: записанный текст не совпал с исходным, факт «%s» удалён",
    "Не импортирован «%s»: файл изменился после просмотра",
    "Не импортирован «%s»: импорт прерван раньше",
};
// Why a file is left out, in the order of ImportSkip
inline constexpr const char* ImportSkipReasons[] = {
    "",
    "скрытый или системный файл",
    "не текстовый файл (.txt, .text, .md, .markdown или без расширения)",
    "пустой файл",
    "не текст",
    "длиннее 99 998 знаков",
    "не удалось прочитать",
};
// Names of SourceEncoding, in its order
inline constexpr const char* ImportEncodings[] = { "UTF-8", "UTF-8 с BOM", "UTF-16 LE", "UTF-16 BE",
                                                    "Windows-1251", "KOI8-R", "DOS 866" };
inline constexpr char ImportUncertain[] = "Кодировка угадана неуверенно: «%s» прочитан как %s";
inline constexpr char ImportSummary[] =
    "Импортировано фактов: %s (из них повторов: %s), уже были: %s, пропущено файлов: %s, не импортировано: %s.";
// The import window: the folder dialog's title, the preview, the progress.
inline constexpr char ImportFolderTitle[] = "Папка с текстами для импорта";
inline constexpr char ImportIntoBase[] = "саму базу";
inline constexpr char ImportSourceLine[] = "Из «%s» в «%s»";
// The last %s: the reasons files are skipped for, "" when none is.
inline constexpr char ImportPreviewCounts[] =
    "Будет фактов: %s, категорий новых: %s, уже есть: %s. Пропущено файлов: %s%s.";
// Each reason and how many files it leaves out, joined, then put in brackets.
inline constexpr char ImportPreviewSkip[] = "%s - %s";
inline constexpr char ImportPreviewSkipJoint[] = ", ";
inline constexpr char ImportPreviewSkips[] = " (%s)";
// A taken file's line: the file, its Directive below the base root, its encoding.
inline constexpr char ImportPreviewLine[] = "%s\t%s\t%s";
// Before the encoding of a file whose guess is uncertain.
inline constexpr char ImportUncertainMark[] = "? ";
inline constexpr char ImportPreviewSkipped[] = "%s\tпропущен: %s";
inline constexpr char ImportChooseEncoding[] =
    "Файлы со знаком «?» прочитаны в угаданной кодировке: выберите файл, чтобы проверить или сменить её.";
inline constexpr char ImportNothingTaken[] = "Ни один файл этой папки не подходит для импорта.";
inline constexpr char ImportProgress[] = "Импорт: %s из %s файлов";
inline constexpr char ImportCancelledAt[] =
    "Импорт прерван после %s из %s файлов - импортированное осталось в базе.";
inline constexpr char ImportEncodingRefused[] =
    "В кодировке %s этот файл не читается как текст или не помещается в факт - кодировка не изменена :)";
inline constexpr char ImportClose[] = "ЗАКРЫТЬ";

// Quick capture
// The name a captured fact gets when its text has no word a name could take.
inline constexpr char CaptureDefaultName[] = "Быстрый факт";
// The main menu's item while another program holds the capture's key.
inline constexpr char CaptureMenuKeyTaken[] = "&БЫСТРЫЙ ФАКТ (Ctrl+Alt+F занято)";
// The window's one-line note; %s stands for a text of the program in front,
// or a fact's path. Several notes are joined by CaptureNoteJoint.
inline constexpr char CaptureNoteJoint[] = "; ";
inline constexpr char CaptureTookSelection[] = "Выделенный текст из окна «%s»";
inline constexpr char CaptureTookClipboard[] = "Текст из буфера обмена";
inline constexpr char CaptureTookDrop[] = "Текст, перетащенный мышью";
inline constexpr char CaptureNothingTaken[] = "В буфере обмена нет текста - наберите или вставьте его";
inline constexpr char CaptureKeyTaken[] =
    "Ctrl+Alt+F занято другой программой - окно открывают F7 и Ctrl+Shift+V в обозревателе";
inline constexpr char CaptureOutside1251[] = "есть знаки вне Windows-1251 - при сохранении будет выбор";
inline constexpr char CaptureDuplicate[] = "такой текст уже есть: %s";
inline constexpr char CaptureNoPlace[] = "место не выбрано - нажмите МЕСТО…";
// Saving a text with characters Windows-1251 cannot hold: one line per
// character, then the choice.
inline constexpr char CaptureOutsideQuestion[] =
    "В тексте есть знаки, которых нет в кириллической кодировке Windows-1251:";
inline constexpr char CaptureReplacedLine[] = "«%s» будет заменён на «%s»";
inline constexpr char CaptureDroppedLine[] = "«%s» (невидимый знак %s) будет убран";
inline constexpr char CaptureMoreOutside[] = "…и ещё таких знаков: %d";
inline constexpr char CaptureOutsideChoice[] = "Да - сохранить текст как есть (файл в UTF-8).\r\nНет - заменить эти знаки, как "
                                               "показано.\r\nОтмена - вернуться к тексту.";
inline constexpr char CaptureTextEmpty[] = "Текста нет - вставьте или наберите текст факта :)";
inline constexpr char CapturePlaceGone[] =
    "Этой установки больше нет: её удалили или переместили. Выберите место (МЕСТО…) - набранное цело :)";
inline constexpr char CaptureTooLong[] =
    "Текст слишком длинный: в факте помещается не больше 99 998 знаков - сократите его, набранное цело :)";
inline constexpr char CaptureWriteFailed[] = "Не удалось записать факт (нет места на диске или нет прав) - в базе "
                                             "ничего не осталось, набранное цело :)";

}  // namespace Text
