// SPDX-License-Identifier: MIT
#pragma once
// Every text the program shows, in both interface languages (UTF-8). "%1", "%2" stand for
// the arguments of Message::in. Most texts begin with a line feed so that the messages of
// one box stand on their own lines.

#include "core/common/lang.hpp"

namespace kavo::msg {

// The checks of Add task, in the order they run.
namespace task {
inline constexpr Message noTaskNumber{"Select the task number you want to add!",
                                      "Выберите № задачи которую хотите добавить (изменить)!"};
inline constexpr Message noPictureAnswer{"\nIs there a picture in the task?",
                                         "\nУкажите есть ли в условии задачи картинка!"};
inline constexpr Message noAnswer{"\nEnter the correct answer!", "\nВведите правильный ответ!"};
inline constexpr Message noFoldAnswer{"\nFold answers?", "\nУкажите надо ли сварачивать ответы!"};
inline constexpr Message tooManyTasks{"\nThe maximum number of tasks 99!",
                                      "\nМаксимальное количество задач 99!"};
inline constexpr Message commaInTypedAnswer{
    "\nTemplateForEdit does not use the symbol ','",
    "\nВ шаблоне TemplateForEdit в ответе не должно быть символа ','"};
inline constexpr Message notLatin{"\nThe answer must be written in latin letters only!",
                                  "\nОтвет должен быть записан латинской буквой!"};
inline constexpr Message notAtoE{"\nThe answer should be from 'a' to 'e'!",
                                 "\nОтвет должен быть от 'a' до 'e'!"};
inline constexpr Message notOneVariant{
    "\nThe answer must be a single letter from 'a' to 'e', with nothing else!",
    "\nОтвет должен быть одной буквой от 'a' до 'e', без других символов!"};
inline constexpr Message removedVariantNamed{"\nThe correct answer names a removed variant!",
                                             "\nПравильный ответ указывает на удаленный вариант!"};
inline constexpr Message outsideParts{
    "\nThe task number lies in none of the parts A, B and C: check the numbers of tasks in the "
    "parts!",
    "\nНомер задачи не входит ни в одну из частей A, B и C: проверьте количество задач в "
    "частях!"};
inline constexpr Message noOwnNames{
    "\nEnter the Russian and English task names, or check the default names!",
    "\nВведите русское и английское названия задачи или отметьте названия по умолчанию!"};
inline constexpr Message shortDescription{
    "The description template %1 is too short: it must hold at least %2 characters.",
    "Шаблон описания %1 слишком короткий: в нем должно быть не меньше %2 символов."};
inline constexpr Message unencodableAnswer{
    "\nThe correct answer contains characters that cannot be written to task.out: %1\nNothing "
    "was written.",
    "\nПравильный ответ содержит символы, которые нельзя записать в task.out: %1\nНичего не "
    "записано."};
} // namespace task

// Ok, the task code review and the preview.
namespace review {
inline constexpr Message negativeSize{"\nThe number of tasks in a part cannot be negative!",
                                      "\nЧисло задач в части не может быть отрицательным!"};
inline constexpr Message maxTasks{"\nMax number of tasks is 99!", "\nМаксимальное число задач 99!"};
inline constexpr Message partAEmpty{"\n The number of tasks in PartA does not equal 0!",
                                    "Количество задач в части PartA не равно нулю!"};
inline constexpr Message selectNumber{"\nSelect the task number!", "\nВыберите номер задачи!"};
inline constexpr Message cannotOpenTask{"\nUnable to open the task!",
                                        "\nНе возможно открыть задачу!"};
inline constexpr Message openBeforeSaving{"\nOpen task %1 before saving it!",
                                          "\nСначала откройте задачу %1!"};
inline constexpr Message fieldsHoldOther{
    "\nThe fields hold task %1, not task %2. Nothing was saved: open task %2 first!",
    "\nВ полях задача %1, а не задача %2. Ничего не сохранено: сначала откройте задачу %2!"};
inline constexpr Message saved{"\nSaved successfully", "\nСохранение было выполнено"};
inline constexpr Message checkData{"\nCheck the entered data", "\nПроверьте введённые данные"};
inline constexpr Message unencodableAnswers{
    "\nThe file with answers contains characters that cannot be written to task.out: %1\nNothing "
    "was saved.",
    "\nФайл с ответами содержит символы, которые нельзя записать в task.out: %1\nНичего не "
    "сохранено."};
} // namespace review

// The Edits builder.
namespace edits {
inline constexpr Message noNumber{"\nSpecify the number of the task", "\nУкажите номер задачи"};
inline constexpr Message badFolder{
    "\nThe task number must name a folder inside the output folder, for example 7 or PartB\\7",
    "\nНомер задачи должен указывать папку внутри папки задач, например 7 или PartB\\7"};
inline constexpr Message unencodableAnswer{
    "\nThe answer to %1 holds a character that task.out cannot store (Windows-1251 code page)",
    "\nОтвет к подвопросу %1 содержит символ, который нельзя записать в task.out (кодовая "
    "страница Windows-1251)"};
} // namespace edits

// The small commands of the main window.
namespace shell {
inline constexpr Message aboutFirstLine{
    "Programe for task templates: TemplateForRadio, TemplateForEdit,",
    "Программа для шаблона задач: TemplateForRadio, TemplateForEdit,"};
inline constexpr Message version{"Version 1.0", "Версия 1.0"};
inline constexpr Message addedTasks{"Number of added tasks:", "Количество поставленных задач:"};
inline constexpr Message settingsReset{"Settings has been reseted", "Настройки сброшены"};
inline constexpr Message createFolder{"The specified directory does not exist. Create it?",
                                      "The specified directory does not exist. Create it?"};
inline constexpr Message cannotCreateFolder{"\nUnable to create the folder %1",
                                            "\nНе удалось создать папку %1"};
inline constexpr Message restartFailed{
    "\nThe program could not be started again: %1\nThe new language takes effect at the next "
    "start.",
    "\nНе удалось запустить программу заново: %1\nНовый язык вступит в силу при следующем "
    "запуске."};
} // namespace shell

// Reading a written task back: %1 the task folder, %2 the file, %3 the byte offset (from
// 0), %4 the line and %5 the column (from 1).
namespace readback {
inline constexpr Message missingFile{
    "\nThe task in %1 cannot be read: the file %2 is missing or cannot be opened.",
    "\nЗадачу в папке %1 нельзя прочитать: файла %2 нет или его не удаётся открыть."};
inline constexpr Message differs{
    "\nThe task in %1 cannot be read: %2 differs from what the program writes, at byte %3 "
    "(line %4, column %5).",
    "\nЗадачу в папке %1 нельзя прочитать: %2 отличается от того, что пишет программа, в "
    "байте %3 (строка %4, столбец %5)."};
inline constexpr Message removedVariantNamed{
    "\nThe task in %1 cannot be read: %2 names a removed variant as right, at byte %3 (line "
    "%4, column %5).",
    "\nЗадачу в папке %1 нельзя прочитать: %2 называет правильным удалённый вариант, в байте "
    "%3 (строка %4, столбец %5)."};
inline constexpr Message templateText{
    "\nThe task in %1 can be read in more than one way: a typed text in %2 holds text of a "
    "template, at byte %3 (line %4, column %5).",
    "\nЗадачу в папке %1 можно прочитать по-разному: введённый текст в %2 содержит текст "
    "шаблона, в байте %3 (строка %4, столбец %5)."};
inline constexpr Message emptyOrRemoved{
    "\nThe task in %1 can be read in more than one way: %2 does not show which variants were "
    "left empty and which were removed, at byte %3 (line %4, column %5).",
    "\nЗадачу в папке %1 можно прочитать по-разному: по %2 не видно, какие варианты оставлены "
    "пустыми, а какие удалены, в байте %3 (строка %4, столбец %5)."};
inline constexpr Message prompt{
    "\nThe task in %1 can be read in more than one way: the condition in %2 holds the answer "
    "prompt, which the program translates, at byte %3 (line %4, column %5).",
    "\nЗадачу в папке %1 можно прочитать по-разному: условие в %2 содержит приглашение к "
    "ответу, которое программа переводит, в байте %3 (строка %4, столбец %5)."};
inline constexpr Message placeholder{
    "\nThe task in %1 can be read in more than one way: a typed text in %2 holds a "
    "placeholder of the Edits templates such as *vs3*, at byte %3 (line %4, column %5).",
    "\nЗадачу в папке %1 можно прочитать по-разному: введённый текст в %2 содержит метку "
    "шаблонов Edits, например *vs3*, в байте %3 (строка %4, столбец %5)."};
inline constexpr Message names{
    "\nThe task in %1 can be read in more than one way: a name in %2 may have been typed with "
    "a character or with its XML reference, at byte %3 (line %4, column %5).",
    "\nЗадачу в папке %1 можно прочитать по-разному: название в %2 могло быть введено символом "
    "или его ссылкой XML, в байте %3 (строка %4, столбец %5)."};
inline constexpr Message kind{
    "\nThe task in %1 can be read in more than one way: its files fit tasks of two kinds (%2, "
    "byte %3, line %4, column %5).",
    "\nЗадачу в папке %1 можно прочитать по-разному: её файлы подходят задачам двух видов "
    "(%2, байт %3, строка %4, столбец %5)."};
inline constexpr Message authorDiffers{"\nThe task in %1 was written with another author line: %2",
                                       "\nЗадача в папке %1 записана с другой строкой автора: %2"};
} // namespace readback

} // namespace kavo::msg
