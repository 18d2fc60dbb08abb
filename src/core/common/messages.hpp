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

// The windows: their titles and captions. Entries are named after their widgets.
namespace app {
inline constexpr Message title{"Kavo Program", "Kavo Program"};
} // namespace app

// The main window Form1.
namespace form1 {
inline constexpr Message Menu1{"Menu", "Меню"};
inline constexpr Message N2{"Main template", "Создание математических задач"};
inline constexpr Message N4{"Template 'Edits'", "Макет \"Edits\""};
inline constexpr Message N1{"Task code review", "Просмотр кода задач"};
inline constexpr Message N3{"Reset settings", "Сбросить настройки"};
inline constexpr Message k1{"About", "О_программе"};
inline constexpr Message Authorisation1{"Authorisation", "Авторизация"};
inline constexpr Message information1{"Information", "Информация"};
inline constexpr Message Language1{"Язык/Language", "Язык/Language"};
inline constexpr Message Russian1{"Russian", "Russian"};
inline constexpr Message English1{"English", "English"};
inline constexpr Message Label1{"Enter the task", "Введите условие задачи"};
inline constexpr Message Label5{"  Is there a picture in the task?", "Есть ли в условии картинка?"};
inline constexpr Message Label2{"              Select the task number you want to add",
                                "Выберете № задачи которую хотите добавить(изменить)"};
inline constexpr Message Label6{"Part A", "Part A"};
inline constexpr Message Label7{"Part B", "Part B"};
inline constexpr Message Label8{"Part C", "Part C"};
inline constexpr Message Button2{"Ok", "Ok"};
inline constexpr Message GroupBox1{"Task name", "Название задачи"};
inline constexpr Message CheckBox4{"Default", "по умолчанию"};
inline constexpr Message Label18{"russian task name", "русское имя задачи"};
inline constexpr Message Label20{"english task name", "английское имя задачи"};
inline constexpr Message Label3{"           Answers", "Варианты ответов"};
inline constexpr Message A{"A", "A"};
inline constexpr Message B{"B", "B"};
inline constexpr Message C{"C", "C"};
inline constexpr Message D{"D", "D"};
inline constexpr Message E{"E", "E"};
inline constexpr Message removeAnswer{"remove answer", "Удалить вариант ответа"};
inline constexpr Message Label4{"Correct answer", "Правильный ответ"};
inline constexpr Message Label10{"         Fold answers?", "Сворачивать ответы?"};
inline constexpr Message Label9{"The list of  tags", "Памятка тегов"};
inline constexpr Message Button1{"Save task", "Добавить задачу"};
inline constexpr Message Button5{"View task in the browser", "Просмотреть задачу в браузере"};
// %1: the host of the system's web site.
inline constexpr Message Label14{"Go to %1", "Перейти на сайт Kavo"};
inline constexpr Message Label15{"The program for text recognition",
                                 "Программа для распознования текста"};
inline constexpr Message Label16{"Tags", "Больше тегов"};
inline constexpr Message Label17{"Video lessons of creation of tasks",
                                 "Видео уроки по созданию задач"};
inline constexpr Message RadioGroup1{"Language olympiad", "Язык олимпиады"};
inline constexpr Message RadioButton1{"Russian", "Русский"};
inline constexpr Message RadioButton2{"English", "Английский"};
inline constexpr Message Button6{"Save changes", "Сохранить изменения"};
inline constexpr Message Button8{"Open task", "Просмотр задачи"};
inline constexpr Message Button7{"Back", "Назад"};
inline constexpr Message Label11{"          Task file", "Файл с условием задачи"};
inline constexpr Message Label12{"File with answers", "Файл с ответами"};
inline constexpr Message Label13{"XML file", "Xml файл"};
// The answers of the picture and fold lists, the same in both languages (the logic reads them).
inline constexpr Message yes{"Yes", "Yes"};
inline constexpr Message no{"No", "No"};
} // namespace form1

// The author details dialog Form2.
namespace form2 {
inline constexpr Message Form2{"Authorization", "Авторизация"};
inline constexpr Message Label1{"Enter your details in accordance with the model :",
                                "Введите свои данные согласно образцу :"};
// The sample shows the expected form of the line; the person is made up.
inline constexpr Message Label2{"Sorokina Vera,  MF-12, October  2025",
                                "Sorokina Vera,  MF-12, October  2025"};
inline constexpr Message Button1{"Save", "Сохранить"};
inline constexpr Message Button2{"Cancel", "Отмена"};
} // namespace form2

// The Edits builder Form3.
namespace form3 {
inline constexpr Message Menu1{"Menu", "Меню"};
inline constexpr Message N1{"Main template", "На главную форму"};
inline constexpr Message Authorisation1{"Authorisation", "Авторизация"};
inline constexpr Message Label5{"Main task", "Общее условие"};
inline constexpr Message Label1{"A)", "A)"};
inline constexpr Message Label2{"B)", "B)"};
inline constexpr Message Label3{"C)", "C)"};
inline constexpr Message Label4{"D)", "D)"};
inline constexpr Message Label6{"Task A", "Условие"};
inline constexpr Message Label7{"Task B", "Условие"};
inline constexpr Message Label8{"Task C", "Условие"};
inline constexpr Message Label9{"Task D", "Условие"};
inline constexpr Message answer{"Answer", "Ответ"};
inline constexpr Message remove{"Remove", "Удалить"};
inline constexpr Message Label15{"Memo Tag", "Памятка тегов"};
inline constexpr Message Label16{"Name of the task", "Название задачи"};
inline constexpr Message Label14{"Number of the task", "Номер задачи"};
inline constexpr Message Button1{"Add the task", "Сохранить задачу"};
} // namespace form3

} // namespace kavo::msg
