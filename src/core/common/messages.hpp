// SPDX-License-Identifier: MIT
#pragma once
// Every text the program shows, in both interface languages (UTF-8). "%1", "%2" stand for
// the arguments of Message::in. Most texts begin with a line feed so that the messages of
// one box stand on their own lines.

#include "core/common/lang.hpp"
#include "core/common/version.hpp" // generated: KAVO_VERSION, the project version

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
inline constexpr Message version{"Version " KAVO_VERSION, "Версия " KAVO_VERSION};
inline constexpr Message addedTasks{"Number of added tasks:", "Количество поставленных задач:"};
inline constexpr Message settingsReset{"Settings has been reseted", "Настройки сброшены"};
inline constexpr Message createFolder{"The specified directory does not exist. Create it?",
                                      "Указанная папка не существует. Создать её?"};
inline constexpr Message cannotCreateFolder{"\nUnable to create the folder %1",
                                            "\nНе удалось создать папку %1"};
inline constexpr Message restartFailed{
    "\nThe program could not be started again: %1\nThe new language takes effect at the next "
    "start.",
    "\nНе удалось запустить программу заново: %1\nНовый язык вступит в силу при следующем "
    "запуске."};
} // namespace shell

// The windows: titles, captions, tooltips and accessible names. Caption entries are named
// after their widgets; "&" marks a caption's mnemonic letter (Alt + that letter).
namespace app {
inline constexpr Message title{"Kavo Program", "Kavo Program"};
inline constexpr Message menuBar{"Menu bar", "Строка меню"};
// %1: the working folder.
inline constexpr Message noSystemFolder{
    "There is no System_folder with the program's templates and settings in %1.\nStart the "
    "program with kavo-program or ./scripts/run.sh.",
    "В папке %1 нет System_folder с шаблонами и настройками программы.\nЗапускайте программу "
    "командой kavo-program или ./scripts/run.sh."};
} // namespace app

// The main window Form1.
namespace form1 {
inline constexpr Message Menu1{"&Menu", "&Меню"};
inline constexpr Message N2{"&Main template", "&Создание математических задач"};
inline constexpr Message N4{"Template '&Edits'", "Макет \"&Edits\""};
inline constexpr Message N1{"Task code &review", "&Просмотр кода задач"};
inline constexpr Message N3{"Reset &settings", "Сбросить &настройки"};
inline constexpr Message k1{"&About", "&О_программе"};
inline constexpr Message Authorisation1{"A&uthorisation", "&Авторизация"};
inline constexpr Message information1{"&Information", "&Информация"};
inline constexpr Message Language1{"Язык/&Language", "Язык/&Language"};
inline constexpr Message Russian1{"&Russian", "&Russian"};
inline constexpr Message English1{"&English", "&English"};
inline constexpr Message Label1{"&Enter the task", "&Введите условие задачи"};
inline constexpr Message Label5{"  Is there a &picture in the task?",
                                "Есть ли в условии &картинка?"};
inline constexpr Message Label2{"              Select the task &number you want to add",
                                "Выберете № &задачи которую хотите добавить(изменить)"};
inline constexpr Message Label6{"Part A", "Part A"};
inline constexpr Message Label7{"Part B", "Part B"};
inline constexpr Message Label8{"Part C", "Part C"};
inline constexpr Message Button2{"&Ok", "&Ok"};
inline constexpr Message GroupBox1{"Task name", "Название задачи"};
inline constexpr Message CheckBox4{"&Default", "по &умолчанию"};
inline constexpr Message Label18{"&russian task name", "&русское имя задачи"};
inline constexpr Message Label20{"en&glish task name", "а&нглийское имя задачи"};
inline constexpr Message Label3{"           Ans&wers", "Вариан&ты ответов"};
inline constexpr Message A{"A", "A"};
inline constexpr Message B{"B", "B"};
inline constexpr Message C{"C", "C"};
inline constexpr Message D{"D", "D"};
inline constexpr Message E{"E", "E"};
inline constexpr Message removeAnswer{"remove answer", "Удалить вариант ответа"};
inline constexpr Message Label4{"&Correct answer", "&Правильный ответ"};
inline constexpr Message Label10{"         &Fold answers?", "&Сворачивать ответы?"};
inline constexpr Message Label9{"The list of  &tags", "Пам&ятка тегов"};
inline constexpr Message Button1{"&Save task", "&Добавить задачу"};
inline constexpr Message Button5{"&View task in the browser", "Просмотреть задачу в &браузере"};
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
inline constexpr Message Button6{"&Save changes", "Со&хранить изменения"};
inline constexpr Message Button8{"Open tas&k", "Про&смотр задачи"};
inline constexpr Message Button7{"&Back", "&Назад"};
inline constexpr Message Label11{"          Task &file", "&Файл с условием задачи"};
inline constexpr Message Label12{"File with answ&ers", "Файл с от&ветами"};
inline constexpr Message Label13{"&XML file", "&Xml файл"};
// The answers of the picture and fold lists, the same in both languages (the logic reads them).
inline constexpr Message yes{"Yes", "Yes"};
inline constexpr Message no{"No", "No"};
inline constexpr Message resetQuestion{
    "Reset the settings? The task counter becomes 0, and the next Save task asks for the "
    "author details first.",
    "Сбросить настройки? Счётчик задач станет равен 0, а при следующем добавлении задачи "
    "программа сначала спросит данные автора."};
inline constexpr Message chooserTitle{"Folder of the task tree", "Папка для задач"};
} // namespace form1

// What each input and button of Form1 is for and what it accepts.
namespace form1::tip {
inline constexpr Message Memo1{
    "The condition of the task as it appears on the page; page mark-up such as <b> may be used",
    "Условие задачи, как оно будет на странице; можно использовать разметку, например <b>"};
inline constexpr Message ListBox2{
    "Yes: the page shows the picture webfiles/picture.jpg of the task folder; No: no picture",
    "Yes (да): страница показывает рисунок webfiles/picture.jpg из папки задачи; No (нет): без "
    "рисунка"};
inline constexpr Message ListBox1{"The number of the task to write, counted across the parts",
                                  "Номер задачи, которую нужно записать; номера идут подряд через "
                                  "все части"};
inline constexpr Message partSize{"The number of tasks in this part: a whole number from 0",
                                  "Число задач в этой части: целое число от 0"};
inline constexpr Message Button2{"Fill the list of task numbers from the sizes of the parts",
                                 "Заполнить список номеров задач по числу задач в частях"};
inline constexpr Message CheckBox4{"Ticked: the task is named TaskA1, TaskB3, … by its number",
                                   "Отмечено: задача получает имя по номеру: TaskA1, TaskB3, …"};
inline constexpr Message Edit7{"The Russian name of the task, instead of the default name",
                               "Русское название задачи вместо названия по умолчанию"};
inline constexpr Message Edit8{"The English name of the task, instead of the default name",
                               "Английское название задачи вместо названия по умолчанию"};
inline constexpr Message variant{"Answer variant %1; leave A empty for a typed answer",
                                 "Вариант ответа %1; оставьте A пустым для задачи с вводом ответа"};
inline constexpr Message removeAnswer{"Drop this variant from the task (and the ones after it)",
                                      "Убрать этот вариант ответа из задачи (и следующие за ним)"};
inline constexpr Message Edit1{
    "The correct answer: a letter a to e, several separated by commas, or the typed answer",
    "Правильный ответ: буква от a до e, несколько букв через запятую или сам ответ для задачи с "
    "вводом ответа"};
inline constexpr Message ListBox3{"Yes: the answers are folded on the page; No: all shown",
                                  "Yes (да): ответы на странице свёрнуты; No (нет): показаны все"};
inline constexpr Message Toolkit{"A reminder of the page mark-up; changes here are not saved",
                                 "Памятка разметки страницы; изменения здесь не сохраняются"};
inline constexpr Message Button1{"Check the form and write the task package (Ctrl+S)",
                                 "Проверить форму и записать задачу (Ctrl+S)"};
inline constexpr Message Button5{
    "Show the selected task's page in the browser, then select the next number (Ctrl+P)",
    "Показать страницу выбранной задачи в браузере и выбрать следующий номер (Ctrl+P)"};
inline constexpr Message outputFolder{
    "The folder of the task tree: click or press Space to choose another",
    "Папка, в которую записываются задачи: щёлкните или нажмите "
    "пробел, чтобы выбрать другую"};
inline constexpr Message link{"Opens %1 in the browser", "Открывает %1 в браузере"};
inline constexpr Message ListBox4{"The number of the task to open",
                                  "Номер задачи, которую открыть"};
inline constexpr Message Button8{"Open the files of the selected task in the three fields",
                                 "Открыть файлы выбранной задачи в трёх полях"};
inline constexpr Message Memo2{"The page task.asp of the opened task",
                               "Страница task.asp открытой задачи"};
inline constexpr Message Memo3{"The scoring file task.out of the opened task",
                               "Файл с ответами task.out открытой задачи"};
inline constexpr Message Memo4{"The description task.xml of the opened task",
                               "Описание task.xml открытой задачи"};
inline constexpr Message Button6{"Write the three fields back to the opened task (Ctrl+S)",
                                 "Записать три поля обратно в открытую задачу (Ctrl+S)"};
inline constexpr Message Button7{"Back to the task form", "Вернуться к форме задачи"};
} // namespace form1::tip

// Accessible names of Form1's widgets that have no caption of their own.
namespace form1::name {
inline constexpr Message partSize{"Number of tasks in part %1", "Число задач в части %1"};
inline constexpr Message variant{"Answer variant %1", "Вариант ответа %1"};
inline constexpr Message removeAnswer{"Remove answer variant %1", "Удалить вариант ответа %1"};
inline constexpr Message outputFolder{"Folder of the task tree: %1", "Папка для задач: %1"};
inline constexpr Message Image1{"Choose the folder of the task tree", "Выбрать папку для задач"};
inline constexpr Message RadioGroup1{"Language olympiad", "Язык олимпиады"};
inline constexpr Message Edit7{"Russian task name", "Русское имя задачи"};
inline constexpr Message Edit8{"English task name", "Английское имя задачи"};
inline constexpr Message ListBox4{"Task number to open", "Номер задачи для просмотра"};
inline constexpr Message client{"Task form", "Форма задачи"};
} // namespace form1::name

// Examples in the empty name fields.
namespace form1::placeholder {
inline constexpr Message Edit7{"for example: Сумма углов", "например: Сумма углов"};
inline constexpr Message Edit8{"for example: Sum of angles", "например: Sum of angles"};
} // namespace form1::placeholder

// The author details dialog Form2.
namespace form2 {
inline constexpr Message Form2{"Authorization", "Авторизация"};
inline constexpr Message Label1{"&Enter your details in accordance with the model :",
                                "&Введите свои данные согласно образцу :"};
// The sample shows the expected form of the line; the person is made up.
inline constexpr Message Label2{"Sorokina Vera,  MF-12, October  2025",
                                "Sorokina Vera,  MF-12, October  2025"};
inline constexpr Message Button1{"&Save", "&Сохранить"};
inline constexpr Message Button2{"&Cancel", "&Отмена"};
inline constexpr Message placeholder{"Surname Name,  group, month  year",
                                     "Фамилия Имя,  группа, месяц  год"};
} // namespace form2

namespace form2::tip {
inline constexpr Message Edit1{
    "The author line written into every task description, in the form of the sample above",
    "Строка об авторе, которая записывается в описание каждой задачи, по образцу выше"};
inline constexpr Message Button1{"Write the author line into the description templates (Enter)",
                                 "Записать строку об авторе в шаблоны описания (Enter)"};
inline constexpr Message Button2{"Close without saving (Esc)", "Закрыть без сохранения (Esc)"};
} // namespace form2::tip

namespace form2::name {
inline constexpr Message Label2{"Sample: %1", "Образец: %1"};
inline constexpr Message Edit1{"Author line", "Строка об авторе"};
} // namespace form2::name

// The Edits builder Form3.
namespace form3 {
inline constexpr Message Menu1{"&Menu", "&Меню"};
inline constexpr Message N1{"&Main template", "&На главную форму"};
inline constexpr Message Authorisation1{"A&uthorisation", "&Авторизация"};
inline constexpr Message Label5{"Main &task", "&Общее условие"};
inline constexpr Message Label1{"A)", "&A)"};
inline constexpr Message Label2{"B)", "&B)"};
inline constexpr Message Label3{"C)", "&C)"};
inline constexpr Message Label4{"D)", "&D)"};
inline constexpr Message Label6{"Task &A", "Условие"};
inline constexpr Message Label7{"Task &B", "Условие"};
inline constexpr Message Label8{"Task &C", "Условие"};
inline constexpr Message Label9{"Task &D", "Условие"};
inline constexpr Message answer{"Answer", "Ответ"};
inline constexpr Message remove{"Remove", "Удалить"};
inline constexpr Message Label15{"Memo Ta&g", "Памятка &тегов"};
inline constexpr Message Label16{"&Name of the task", "&Название задачи"};
inline constexpr Message Label14{"Number o&f the task", "Номер за&дачи"};
inline constexpr Message Button1{"Add the ta&sk", "&Сохранить задачу"};
inline constexpr Message placeholder5{"for example: 7 or PartC/5", "например: 7 или PartC/5"};
inline constexpr Message placeholder6{"for example: Train", "например: Поезд"};
} // namespace form3

namespace form3::tip {
inline constexpr Message Memo1{"The condition shared by all questions; page mark-up may be used",
                               "Общее условие для всех вопросов; можно использовать разметку"};
inline constexpr Message question{"The condition of question %1", "Условие вопроса %1"};
inline constexpr Message answer{"The answer to question %1, typed exactly as a pupil must type it",
                                "Ответ к вопросу %1, в точности как его должен ввести ученик"};
inline constexpr Message CheckBox1{"Drop questions C and D", "Убрать вопросы C и D"};
inline constexpr Message CheckBox2{"Drop question D", "Убрать вопрос D"};
inline constexpr Message Memo8{"A reminder of the page mark-up", "Памятка разметки страницы"};
inline constexpr Message Edit6{"The name of the task in its description",
                               "Название задачи в её описании"};
inline constexpr Message Edit5{
    "The folder of the task under the task tree: its number (7) or the part and number (PartC/5)",
    "Папка задачи в дереве задач: её номер (7) или часть и номер (PartC/5)"};
inline constexpr Message Button1{"Check the form and write the Edits task (Ctrl+S)",
                                 "Проверить форму и записать задачу Edits (Ctrl+S)"};
} // namespace form3::tip

namespace form3::name {
inline constexpr Message question{"Condition of question %1", "Условие вопроса %1"};
inline constexpr Message answer{"Answer to question %1", "Ответ к вопросу %1"};
inline constexpr Message CheckBox1{"Remove questions C and D", "Удалить вопросы C и D"};
inline constexpr Message CheckBox2{"Remove question D", "Удалить вопрос D"};
inline constexpr Message client{"Edits task", "Задача Edits"};
inline constexpr Message Panel1{"Name and number of the task", "Название и номер задачи"};
} // namespace form3::name

} // namespace kavo::msg
