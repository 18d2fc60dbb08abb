// SPDX-License-Identifier: MIT
#pragma once
// Every text the program shows, in both interface languages (UTF-8). A message with arguments
// is declared Message<N> and both its texts hold "%1" .. "%N"; a literal '%' is written "%%".
// Most texts begin with a line feed so that the messages of one box stand on their own lines.

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
// The rest of the correct answer of a task with variants; %1 the character found ('f', or
// U+0009 for a control character), %2 the Latin letter meant.
inline constexpr Message<1> answerCharacter{
    "\nThe correct answer cannot hold %1: write a letter from 'a' to 'e', or letters separated "
    "by commas!",
    "\nВ правильном ответе не может быть %1: напишите букву от 'a' до 'e' или буквы через "
    "запятую!"};
inline constexpr Message<2> cyrillicLetter{"\n'%1' is a Cyrillic letter: type the Latin %2",
                                           "\n'%1' — кириллическая буква: наберите латинскую %2"};
inline constexpr Message<1> commaMissing{"\nThe correct answer needs a comma before '%1'!",
                                         "\nВ правильном ответе нужна запятая перед '%1'!"};
inline constexpr Message emptyBetweenCommas{
    "\nThe correct answer has two commas with no letter between them!",
    "\nВ правильном ответе две запятые без буквы между ними!"};
inline constexpr Message<1> letterTwice{"\nThe correct answer names variant %1 twice!",
                                        "\nПравильный ответ называет вариант %1 дважды!"};
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
inline constexpr Message emptyCondition{"\nEnter the condition of the task!",
                                        "\nВведите условие задачи!"};
inline constexpr Message<1> emptyKeptVariant{"\nFill in variant %1!", "\nЗаполните вариант %1!"};
inline constexpr Message<1> emptyRemovableVariant{
    "\nFill in variant %1 or tick its \"remove answer\" box!",
    "\nЗаполните вариант %1 или отметьте под ним «Удалить вариант ответа»!"};
// The question before writing a task whose page text may lose a "<".
inline constexpr Message<1> markupQuestion{
    "\nThis text may not show as typed on the page: a \"<\" that begins no HTML tag is "
    "taken as the start of one. Write \"&lt;\" where a \"<\" must show.%1\n\nWrite the task "
    "anyway?",
    "\nЭтот текст может показаться на странице не так, как набран: знак «<», с которого не "
    "начинается тег HTML, принимается за начало тега. Где знак «<» должен быть виден, "
    "пишите «&lt;».%1\n\nЗаписать задачу всё равно?"};
inline constexpr Message<2> markupPlace{"\n%1: \"%2\"", "\n%1: «%2»"};
inline constexpr Message fieldCondition{"Condition", "Условие"};
inline constexpr Message<1> fieldVariant{"Variant %1", "Вариант %1"};
inline constexpr Message<1> fieldQuestion{"Sub-question %1", "Подвопрос %1"};
// The fields of a task as a refused character names them; a letter may follow.
inline constexpr Message fieldVariantWord{"Variant", "Вариант"};
inline constexpr Message fieldTypedAnswer{"The correct answer", "Правильный ответ"};
inline constexpr Message fieldMainCondition{"The main condition", "Основное условие"};
inline constexpr Message fieldQuestionWord{"Sub-question", "Подвопрос"};
inline constexpr Message fieldSubAnswer{"The answer to sub-question", "Ответ к подвопросу"};
inline constexpr Message fieldEditsName{"The name of the task", "Название задачи"};
inline constexpr Message fieldRussianName{"The Russian task name", "Русское название задачи"};
inline constexpr Message fieldEnglishName{"The English task name", "Английское название задачи"};
inline constexpr Message fieldAuthorLine{"The author line", "Строка автора"};
// %1 the field, %2 the character ("U+0000", "&#0; (U+0000)").
inline constexpr Message<2> refusedCharacter{
    "\n%1 holds a character the task files cannot hold: %2",
    "\n%1: в тексте есть символ, который нельзя записать в файлы задачи: %2"};
inline constexpr Message<1> invalidRussianName{
    "\nThe Russian task name holds a character a task description cannot hold: %1",
    "\nВ русском названии задачи есть символ, который не может стоять в описании задачи: %1"};
inline constexpr Message<1> invalidEnglishName{
    "\nThe English task name holds a character a task description cannot hold: %1",
    "\nВ английском названии задачи есть символ, который не может стоять в описании задачи: "
    "%1"};
inline constexpr Message<2> shortDescription{
    "The description template %1 is too short: it must hold at least %2 characters.",
    "Шаблон описания %1 слишком короткий: в нем должно быть не меньше %2 символов."};
inline constexpr Message<1> unencodableAnswer{
    "\nThe correct answer contains characters that cannot be written to task.out: %1\nNothing "
    "was written.",
    "\nПравильный ответ содержит символы, которые нельзя записать в task.out: %1\nНичего не "
    "записано."};
// The status line after a Save task that only opened the author dialog.
inline constexpr Message authorFirst{
    "Not written: the author's details are needed first; press Save task again after saving them",
    "Не записано: сначала нужны данные автора; после их сохранения нажмите «Добавить задачу» "
    "ещё раз"};
// The status line after a write: %1 the number, %2 the kind, %3 the folder under the task tree.
inline constexpr Message<3> written{"Task %1 (%2) written to %3", "Задача %1 (%2) записана в %3"};
// After a task with a picture was written: its page shows an empty picture until the file is there.
inline constexpr Message pictureMissing{
    "The picture webfiles/picture.jpg is missing: choose it and save the task again",
    "Нет рисунка webfiles/picture.jpg: выберите его и добавьте задачу ещё раз"};
inline constexpr Message notJpeg{"The picture of the task is not a JPEG file; nothing was written",
                                 "Рисунок задачи не является файлом JPEG; ничего не записано"};
} // namespace task

// Ok, the task code review and the preview.
namespace review {
inline constexpr Message negativeSize{"\nThe number of tasks in a part cannot be negative!",
                                      "\nЧисло задач в части не может быть отрицательным!"};
inline constexpr Message maxTasks{"\nMax number of tasks is 99!", "\nМаксимальное число задач 99!"};
inline constexpr Message partAEmpty{"\n The number of tasks in PartA does not equal 0!",
                                    "Количество задач в части PartA не равно нулю!"};
// Ok with sizes that place written tasks in other folders; %1 the lines below. No is the
// default answer.
inline constexpr Message<1> keepMovingSizes{
    "\nWith these sizes, tasks already written would belong in other folders:%1\n\nKeep these "
    "sizes? The tasks stay where they are, and the number lists will not show them.",
    "\nПри этих размерах уже записанные задачи оказались бы не в своих папках:%1\n\nОставить "
    "эти размеры? Задачи останутся на месте, но в списках номеров их видно не будет."};
// %1 the number, %2 the folder it lies in, %3 the folder the sizes give it.
inline constexpr Message<3> movedTask{"\nTask %1 lies in %2; these sizes put it in %3",
                                      "\nЗадача %1 лежит в %2, а по этим размерам её место — %3"};
inline constexpr Message<2> taskInNoPart{
    "\nTask %1 lies in %2; these sizes put it in no part",
    "\nЗадача %1 лежит в %2, а по этим размерам она не входит ни в одну часть"};
inline constexpr Message<1> moreMoved{"\n... and %1 more", "\n... и ещё %1"};
inline constexpr Message selectNumber{"\nSelect the task number!", "\nВыберите номер задачи!"};
inline constexpr Message cannotOpenTask{"\nUnable to open the task!",
                                        "\nНе возможно открыть задачу!"};
inline constexpr Message<1> openBeforeSaving{"\nOpen task %1 before saving it!",
                                             "\nСначала откройте задачу %1!"};
inline constexpr Message<2> fieldsHoldOther{
    "\nThe fields hold task %1, not task %2. Nothing was saved: open task %2 first!",
    "\nВ полях задача %1, а не задача %2. Ничего не сохранено: сначала откройте задачу %2!"};
inline constexpr Message pictureMissing{
    "\nThe page shows the picture webfiles/picture.jpg, but the task folder has none: the page "
    "opens without it. Choose the picture in the task form and save the task again.",
    "\nСтраница показывает рисунок webfiles/picture.jpg, но в папке задачи его нет: страница "
    "откроется без него. Выберите рисунок в форме задачи и добавьте задачу ещё раз."};
inline constexpr Message<3> fieldsHoldOtherFolder{
    "\nThe fields hold the task of %1, but task %2 now lies in %3. Nothing was saved: open "
    "task %2 first!",
    "\nВ полях задача из папки %1, а задача %2 теперь лежит в %3. Ничего не сохранено: сначала "
    "откройте задачу %2!"};
inline constexpr Message saved{"\nSaved successfully", "\nСохранение было выполнено"};
// After "Saved successfully": %1 why the task folder does not read back.
inline constexpr Message<1> notReadBack{
    "\nThe saved files do not read back as a task; its number is marked red:\n%1",
    "\nСохранённые файлы не читаются как задача; её номер отмечен красным:\n%1"};
inline constexpr Message checkData{"\nCheck the entered data", "\nПроверьте введённые данные"};
// %1 the task number, %2 the files that changed.
inline constexpr Message<2> changedOnDisk{
    "The files of task %1 changed on disk after Open task: %2\nSave changes over them?",
    "Файлы задачи %1 изменились на диске после открытия: %2\nВсё равно сохранить изменения "
    "поверх них?"};
// Asked before a folder change empties the review fields; No is the default answer.
inline constexpr Message loseOnFolderChange{
    "The code review holds changes that are not saved. Change the task folder without them?",
    "В просмотре кода есть несохранённые изменения. Сменить папку задач без них?"};
inline constexpr Message<1> unencodableAnswers{
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
inline constexpr Message emptyCondition{"\nEnter the main condition of the task",
                                        "\nВведите основное условие задачи"};
inline constexpr Message emptyName{"\nEnter the name of the task", "\nВведите название задачи"};
inline constexpr Message<1> invalidName{
    "\nThe name of the task holds a character a task description cannot hold: %1",
    "\nВ названии задачи есть символ, который не может стоять в описании задачи: %1"};
inline constexpr Message<1> emptyKeptQuestion{"\nFill in sub-question %1",
                                              "\nЗаполните подвопрос %1"};
inline constexpr Message<1> emptyQuestion{
    "\nFill in sub-question %1 or tick its \"Remove\" box",
    "\nЗаполните подвопрос %1 или отметьте «Удалить» под ним"};
inline constexpr Message<1> emptyAnswer{"\nEnter the answer to sub-question %1",
                                        "\nВведите ответ к подвопросу %1"};
inline constexpr Message<1> unencodableAnswer{
    "\nThe answer to %1 holds a character that task.out cannot store (Windows-1251 code page)",
    "\nОтвет к подвопросу %1 содержит символ, который нельзя записать в task.out (кодовая "
    "страница Windows-1251)"};
// After a save: %1 the task number as typed, %2 its kind, %3 its folder in the task tree.
inline constexpr Message<3> written{"Task %1 (%2) is written to the folder %3 of the task tree.",
                                    "Задача %1 (%2) записана в папку %3 дерева задач."};
} // namespace edits

// The small commands of the main window.
// The author details dialog.
namespace auth {
inline constexpr Message<1> invalidLine{
    "The author line holds a character a task description cannot hold: %1",
    "В строке автора есть символ, который не может стоять в описании задачи: %1"};
} // namespace auth

namespace shell {
inline constexpr Message aboutFirstLine{
    "Programe for task templates: TemplateForRadio, TemplateForEdit,",
    "Программа для шаблона задач: TemplateForRadio, TemplateForEdit,"};
inline constexpr Message version{"Version " KAVO_VERSION, "Версия " KAVO_VERSION};
inline constexpr Message addedTasks{"Number of added tasks:", "Количество поставленных задач:"};
inline constexpr Message settingsReset{"Settings has been reseted", "Настройки сброшены"};
inline constexpr Message createFolder{"The specified directory does not exist. Create it?",
                                      "Указанная папка не существует. Создать её?"};
// Another program (a second window, a script's import) holds the folder a command writes.
inline constexpr Message<1> treeBusy{
    "Another program is writing the folder %1. Wait and try again?",
    "Другая программа записывает папку %1. Подождать и попробовать снова?"};
inline constexpr Message<1> cannotCreateFolder{"\nUnable to create the folder %1",
                                               "\nНе удалось создать папку %1"};
// A task typed in the task form or the Edits builder and not yet written.
inline constexpr Message unwrittenClose{
    "A task you typed is not written yet and will be lost. Close the program anyway?",
    "Набранная задача ещё не записана и будет потеряна. Всё равно закрыть программу?"};
inline constexpr Message unwrittenSwitch{
    "A task you typed is not written yet and will be lost: the program starts again in the new "
    "language. Switch the language anyway?",
    "Набранная задача ещё не записана и будет потеряна: программа запустится заново на новом "
    "языке. Всё равно сменить язык?"};
inline constexpr Message<1> restartFailed{
    "\nThe program could not be started again: %1\nThe new language takes effect at the next "
    "start.",
    "\nНе удалось запустить программу заново: %1\nНовый язык вступит в силу при следующем "
    "запуске."};
} // namespace shell

// Olympiad files: reading GIFT, the olympiad checks, and what an export loses.
namespace olympiad {
inline constexpr Message<1> taskRule{"%1", "%1"};
inline constexpr Message<2> strayLessThan{
    "%1: \"%2\": a \"<\" that begins no HTML tag vanishes from the page; write &lt;",
    "%1: «%2»: знак «<», с которого не начинается тег HTML, пропадёт со страницы; пишите &lt;"};
inline constexpr Message<3> writeFailed{
    "The task of line %1 (%2) could not be written; the tasks before it are written:\n%3",
    "Задачу из строки %1 (%2) записать не удалось; задачи до неё записаны:\n%3"};
inline constexpr Message error{"error", "ошибка"};
inline constexpr Message warning{"warning", "предупреждение"};
inline constexpr Message leftOut{"left out", "пропущен"};
// The file as a whole.
inline constexpr Message<2> tooLarge{
    "The file is %1 bytes long; an olympiad file may hold at most %2 bytes",
    "Файл занимает %1 байт; файл олимпиады может занимать не больше %2 байт"};
inline constexpr Message<1> binary{"The file is not text: it holds the control byte %1",
                                   "Файл не текстовый: в нём есть управляющий байт %1"};
inline constexpr Message badUtf8{
    "The file starts with the UTF-8 mark but holds a byte that is not UTF-8",
    "Файл начинается с метки UTF-8, но в нём есть байт не в UTF-8"};
inline constexpr Message<2> mixedBreaks{
    "The file mixes line breaks (%1 here, %2 before); all of them are read as line breaks",
    "В файле разные переводы строк (%1 здесь, %2 раньше); все они читаются как перевод строки"};
inline constexpr Message empty{"The file holds no question", "В файле нет ни одного вопроса"};

// Moodle XML as a whole: read with no network, no document type and no entities of its own.
inline constexpr Message<1> xmlNotWellFormed{"The XML is not well-formed: %1",
                                             "XML записан с ошибкой: %1"};
inline constexpr Message xmlDoctype{
    "The file declares a document type (<!DOCTYPE>); Moodle XML has none, and its entities "
    "and external files are never read",
    "В файле объявлен тип документа (<!DOCTYPE>); в Moodle XML его нет, а его сущности и "
    "внешние файлы не читаются"};
inline constexpr Message<1> xmlNotQuiz{"The root element is <%1>; a Moodle XML file holds <quiz>",
                                       "Корневой элемент <%1>; в файле Moodle XML это <quiz>"};
inline constexpr Message xmlNotUtf8{
    "The file declares UTF-8 (or no encoding), but this line holds bytes that are not UTF-8: "
    "save it as UTF-8 or declare its code page, such as encoding=\"windows-1251\"",
    "В файле объявлена кодировка UTF-8 (или никакая), но в этой строке есть байты не в UTF-8: "
    "сохраните его в UTF-8 или объявите его кодовую страницу, например "
    "encoding=\"windows-1251\""};
inline constexpr Message<1> xmlIsUtf8{
    "The file declares the encoding %1, but its text is UTF-8: declare encoding=\"UTF-8\"",
    "В файле объявлена кодировка %1, но его текст в UTF-8: объявите encoding=\"UTF-8\""};

// Syntax.
inline constexpr Message titleNotClosed{"The title opened here is not closed with '::'",
                                        "Название, начатое здесь, не закрыто знаками '::'"};
inline constexpr Message blockNotClosed{
    "The answer block opened here is not closed: '}' is missing before the end of the question "
    "(a blank line or the end of the file)",
    "Блок ответов, открытый здесь, не закрыт: нет '}' до конца вопроса (пустой строки или конца "
    "файла)"};
inline constexpr Message braceInBlock{
    "'{' inside an answer block; write \\{ for a brace in a text",
    "'{' внутри блока ответов; фигурную скобку в тексте пишите как \\{"};
inline constexpr Message strayClosing{
    "'}' without '{' before it; write \\} for a brace in a text",
    "'}' без '{' перед ней; фигурную скобку в тексте пишите как \\}"};
inline constexpr Message secondBlock{
    "A second answer block in one question; a question has one (Edits tasks: see the kavo sub "
    "questions)",
    "Второй блок ответов в одном вопросе; у вопроса он один (задачи Edits: см. вопросы kavo sub)"};
inline constexpr Message textBeforeAnswers{"Text before the first '=' or '~' of the answer block",
                                           "Текст перед первым '=' или '~' в блоке ответов"};
inline constexpr Message<1> badWeight{"The weight '%1' is not a percentage from -100 to 100",
                                      "Вес '%1' не является процентом от -100 до 100"};
inline constexpr Message emptyAnswer{"An empty answer: write its text after '=' or '~'",
                                     "Пустой ответ: напишите его текст после '=' или '~'"};

// Kinds the program cannot write.
inline constexpr Message essay{"an essay cannot become a task", "эссе не может стать задачей"};
inline constexpr Message numeric{
    "A numeric answer with a range, a tolerance or several answers cannot become a task: the "
    "scoring file compares one answer as it is typed",
    "Числовой ответ с диапазоном, погрешностью или несколькими ответами не может стать "
    "задачей: файл оценки сравнивает один ответ в том виде, как он введён"};
inline constexpr Message<1> unfitType{"A Moodle question of type %1 cannot become a task",
                                      "Вопрос Moodle типа %1 не может стать задачей"};
inline constexpr Message<1> clozeGaps{"A cloze question with %1 gaps; an Edits task holds 2 to 4",
                                      "Вопрос cloze с %1 пропусками; в задаче Edits их от 2 до 4"};
inline constexpr Message<1> clozeGapKind{
    "A cloze gap of the kind %1; an Edits task takes typed answers (SHORTANSWER_C, SAC)",
    "Пропуск cloze вида %1; задача Edits принимает вводимые ответы (SHORTANSWER_C, SAC)"};
inline constexpr Message<1> wildcard{
    "The answer \"%1\" holds '*', which Moodle reads as any text; the scoring file compares the "
    "answer as it is typed",
    "Ответ \"%1\" содержит '*', которую Moodle читает как любой текст; файл оценки сравнивает "
    "ответ в том виде, как он введён"};
inline constexpr Message singleNoRight{
    "No variant is worth 100%%: a single choice needs its right variant",
    "Ни один вариант не стоит 100%%: в задаче с одним ответом нужен верный вариант"};
inline constexpr Message matching{"A matching question cannot become a task",
                                  "Вопрос на соответствие не может стать задачей"};
inline constexpr Message description{
    "A description (a text without answers) is left out; in GIFT an Edits task starts with "
    "// kavo: edits",
    "Описание (текст без ответов) пропущено; в GIFT задача Edits начинается с // kavo: edits"};
inline constexpr Message<1> tooManyVariants{"%1 variants; a task holds 2 to 5",
                                            "%1 вариантов; в задаче их от 2 до 5"};
inline constexpr Message<1> tooFewVariants{"Only %1 variant; a task holds 2 to 5",
                                           "Всего %1 вариант; в задаче их от 2 до 5"};
inline constexpr Message<1> twoTyped{
    "A typed answer with %1 accepted answers; a task accepts one (Keep the first accepted "
    "answer, --first-answer, keeps the first)",
    "Вводимый ответ с %1 принимаемыми ответами; задача принимает один (первый оставляет "
    "«Оставить первый принимаемый ответ», --first-answer)"};
inline constexpr Message<1> twoRight{
    "%1 variants marked '=' right; a single choice has one (give weights ~%%50%% for several)",
    "%1 варианта отмечены '=' как верные; в задаче с одним ответом верный один (для "
    "нескольких укажите веса ~%%50%%)"};
inline constexpr Message noRight{
    "No variant has a positive weight: a multiple choice needs a right variant",
    "Ни у одного варианта нет положительного веса: в задаче с несколькими ответами нужен "
    "верный вариант"};
// %1 the field, %2 the character.
inline constexpr Message<2> refusedText{"%1 holds a character the task files cannot hold: %2",
                                        "%1: в тексте есть символ, который нельзя записать в "
                                        "файлы задачи: %2"};
inline constexpr Message answerBreak{"The answer holds a line break",
                                     "В ответе есть перевод строки"};
inline constexpr Message<2> answerCodePage{
    "The answer \"%1\" holds '%2', which the Windows-1251 code page cannot hold; the scoring "
    "file needs the answer as it is",
    "Ответ \"%1\" содержит '%2', которого нет в кодовой странице Windows-1251; файлу оценки "
    "нужен ответ как есть"};

// Warnings.
inline constexpr Message<1> weightsChanged{
    "The weights differ from the scoring: the program gives one point per variant answered "
    "rightly (ticked if right, left unticked if wrong); right variants: %1",
    "Веса отличаются от оценки: программа даёт по баллу за каждый верно отвеченный вариант "
    "(верный отмечен, неверный не отмечен); верные варианты: %1"};
inline constexpr Message partialDropped{
    "Partial weights dropped: the program scores only the variant marked '=' as right",
    "Частичные веса отброшены: программа считает верным только вариант, отмеченный '='"};
inline constexpr Message feedbackDropped{"Feedback (#...) dropped: a task has none",
                                         "Отзыв (#...) отброшен: у задачи его нет"};
inline constexpr Message<1> numericTyped{
    "The numeric answer %1 becomes the typed answer \"%1\": only this spelling is accepted",
    "Числовой ответ %1 стал вводимым ответом \"%1\": принимается только такая запись"};
inline constexpr Message<2> firstKept{
    "The first accepted answer \"%1\" is kept; no longer accepted: %2",
    "Оставлен первый принимаемый ответ \"%1\"; больше не принимаются: %2"};
inline constexpr Message caseSensitive{
    "Moodle compares these answers ignoring case; the task's answers are case-sensitive",
    "Moodle сравнивает эти ответы без учёта регистра; в задаче ответы учитывают регистр"};
inline constexpr Message feedbackXmlDropped{"Feedback dropped: a task has none",
                                            "Отзыв отброшен: у задачи его нет"};
inline constexpr Message filesDropped{
    "Files embedded in the question (pictures) are not imported; put a picture into the "
    "task's webfiles folder",
    "Файлы, вложенные в вопрос (рисунки), не импортируются; положите рисунок в папку webfiles "
    "задачи"};

// The kavo extension.
inline constexpr Message<1> kavoUnknown{"Unknown kavo option '%1'",
                                        "Неизвестный параметр kavo '%1'"};
inline constexpr Message<1> kavoTwice{"The kavo option '%1' is given twice",
                                      "Параметр kavo '%1' указан дважды"};
inline constexpr Message<2> kavoBadValue{"The kavo option '%1' needs %2",
                                         "Параметру kavo '%1' нужно %2"};
inline constexpr Message kavoAfterText{
    "A kavo line inside a question; put it directly above the question",
    "Строка kavo внутри вопроса; поставьте её прямо над вопросом"};
inline constexpr Message kavoAlone{
    "A kavo line that belongs to no question; put it directly above the question, without a "
    "blank line",
    "Строка kavo не относится ни к одному вопросу; поставьте её прямо над вопросом, без пустой "
    "строки"};
inline constexpr Message<2> kavoNotHere{"The kavo option '%1' does not fit %2",
                                        "Параметр kavo '%1' не подходит для %2"};
inline constexpr Message namesTogether{"name-ru and name-en go together: give both",
                                       "name-ru и name-en задаются вместе: укажите оба"};
inline constexpr Message<1> partsTwice{"The part sizes are given twice (first at line %1)",
                                       "Размеры частей указаны дважды (первый раз в строке %1)"};
inline constexpr Message partsBad{"kavo/parts needs three whole numbers, such as kavo/parts/5,3,2",
                                  "kavo/parts нужны три целых числа, например kavo/parts/5,3,2"};
// %1 of %2 single-choice tasks are right on the letter %3.
inline constexpr Message<3> bunched{
    "The right answers bunch on one letter: %1 of the %2 single-choice tasks are right on %3; "
    "Shuffle the variants (--shuffle) puts each question's variants in an order drawn from "
    "its text",
    "Верные ответы скопились на одной букве: в %1 из %2 задач с одним ответом верен %3; "
    "«Перемешать варианты» (--shuffle) ставит варианты каждого вопроса в порядке, выведенном "
    "из его текста"};
inline constexpr Message<1> shuffled{
    "The variants of %1 choice tasks are shuffled; each right answer moved with its variant",
    "Варианты задач с выбором перемешаны (%1); верные ответы переместились вместе с ними"};
// %1 the task number, %2 the line of its question.
inline constexpr Message<2> numbering{"Task %1: the question at line %2",
                                      "Задача %1: вопрос в строке %2"};
inline constexpr Message<1> kavoCategory{"Unknown kavo category '%1'",
                                         "Неизвестная категория kavo '%1'"};
inline constexpr Message<2> namesPath{
    "The %1 \"%2\" names a path; names make no files or folders: write a plain name",
    "%1 \"%2\" задаёт путь; по именам не создаются файлы и папки: напишите простое имя"};
inline constexpr Message editsHeadBlock{
    "An Edits task starts with its main condition alone, without an answer block",
    "Задача Edits начинается с общего условия без блока ответов"};
inline constexpr Message<1> editsCount{
    "The Edits task has %1 sub-questions; it needs 2 to 4 (each marked // kavo: sub)",
    "В задаче Edits %1 вопросов; нужно от 2 до 4 (каждый отмечен // kavo: sub)"};
inline constexpr Message subAlone{"A kavo sub question without an Edits task above it",
                                  "Вопрос kavo sub без задачи Edits над ним"};
inline constexpr Message subKind{"A sub-question of an Edits task needs one typed answer {=...}",
                                 "Вопросу задачи Edits нужен один вводимый ответ {=...}"};

// The olympiad as a whole.
inline constexpr Message tooManyTasks{"More than 99 tasks (Edits tasks count)",
                                      "Больше 99 задач (задачи Edits тоже считаются)"};
inline constexpr Message<2> folderTaken{"The folder %1 is taken already by the task at line %2",
                                        "Папка %1 уже занята задачей в строке %2"};
inline constexpr Message<2> numberTaken{"Task number %1 is taken already by the task at line %2",
                                        "Номер задачи %1 уже занят задачей в строке %2"};
inline constexpr Message<1> numberRange{"Task number %1; numbers run from 1 to 99",
                                        "Номер задачи %1; номера идут от 1 до 99"};
inline constexpr Message<5> numberOutside{
    "Task number %1 lies in no part: the parts %2, %3, %4 hold the numbers 1 to %5",
    "Номер задачи %1 не входит ни в одну часть: части %2, %3, %4 содержат номера от 1 до "
    "%5"};
inline constexpr Message<1> partsTooMany{"The parts hold %1 tasks; at most 99",
                                         "В частях %1 задач; можно не больше 99"};

// Words that fill the arguments above.
inline constexpr Message wordTitle{"title", "Название"};
inline constexpr Message wordCategory{"category", "Категория"};
inline constexpr Message wordName{"name", "Имя"};
inline constexpr Message wordNumber{"a whole number", "целое число"};
inline constexpr Message wordQuoted{"a text in double quotes", "текст в двойных кавычках"};
inline constexpr Message wordFolder{
    "a folder inside the task tree in double quotes, without \"..\" or a control character",
    "папка внутри дерева задач в двойных кавычках, без \"..\" и управляющих символов"};
inline constexpr Message wordTyped{"a typed answer", "вводимого ответа"};
inline constexpr Message wordEdits{"an Edits task", "задачи Edits"};
inline constexpr Message wordChoice{"a choice", "задачи с вариантами"};

// Losses of an export.
inline constexpr Message<1> lossFolded{"The answers are folded on the page: %1 shows them open",
                                       "Ответы на странице свёрнуты: в %1 они открыты"};
inline constexpr Message lossPicture{"The picture webfiles/picture.jpg is not included",
                                     "Картинка webfiles/picture.jpg не включена"};
inline constexpr Message lossMarkup{"The page's own markup is written as its text without tags",
                                    "Собственная разметка страницы записана как текст без тегов"};
inline constexpr Message<3> lossScoring{
    "Scoring: %1 cannot give one point per variant; written as equal weights (right %2%%, "
    "wrong %3%%)",
    "Оценка: %1 не может дать балл за каждый вариант; записаны равные веса (верный %2%%, "
    "неверный %3%%)"};
// %1 the field, %2 its letter (" C") or nothing, %3 the character, %4 the format.
inline constexpr Message<4> lossCharacter{
    "%1%2 holds %3, which neither the task files nor %4 can hold: left out",
    "%1%2: символ %3 не может стоять ни в файлах задачи, ни в %4: пропущен"};
inline constexpr Message<1> lossEnglishName{"The English name \"%1\" is not kept",
                                            "Английское имя \"%1\" не сохранено"};
inline constexpr Message<2> lossEmptyVariant{
    "Variant %1 is empty; %2 needs a text: written as a non-breaking space",
    "Вариант %1 пустой; %2 нужен текст: записан неразрывный пробел"};
inline constexpr Message<1> lossBlanks{"Blanks at the start or end of a text are dropped by %1",
                                       "Пробелы в начале и в конце текста %1 отбрасывает"};
inline constexpr Message lossWildcard{"The answer holds '*', which Moodle reads as any text",
                                      "В ответе есть '*', которую Moodle читает как любой текст"};
inline constexpr Message<2> lossFolder{"The folder %1 is written as task number %2",
                                       "Папка %1 записана как номер задачи %2"};
inline constexpr Message<1> lossNoRight{"No variant is right: %1 cannot score it",
                                        "Нет верного варианта: %1 не может это оценить"};
// A task folder as the number lists, the overview and the replace question name it.
namespace kind {
inline constexpr Message single{"single choice", "один ответ"};
inline constexpr Message typed{"typed answer", "ответ вводится"};
inline constexpr Message folded{"single choice, folded", "один ответ, свёрнутые варианты"};
inline constexpr Message multiple{"multiple choice", "несколько ответов"};
inline constexpr Message multipleFolded{"multiple choice, folded",
                                        "несколько ответов, свёрнутые варианты"};
inline constexpr Message edits{"Edits task", "задача Edits"};
inline constexpr Message unreadable{"cannot be read back", "не читается"};
} // namespace kind
// %1 the task number or folder, %2 its kind or that it cannot be read back.
inline constexpr Message<2> replaceTask{"Task %1 (%2) is already written. Replace it?",
                                        "Задача %1 (%2) уже записана. Заменить её?"};
} // namespace olympiad

// The command-line program for olympiad files.
namespace cli {
// The help: built from the tables of commands and options of the command line.
inline constexpr Message usage{"Usage:", "Запуск:"};
inline constexpr Message about{
    "Checks olympiad files in GIFT or Moodle XML, writes their tasks into a task tree and "
    "exports a task tree to GIFT, Moodle XML or QTI 2.1.",
    "Проверяет файлы олимпиад в формате GIFT или Moodle XML, записывает их задачи в дерево "
    "задач и выгружает дерево задач в GIFT, Moodle XML или QTI 2.1."};
inline constexpr Message commands{"Commands:", "Команды:"};
inline constexpr Message options{"Options:", "Параметры:"};
inline constexpr Message commonOptions{"Options of every command:", "Параметры всех команд:"};
inline constexpr Message<1> commandHelp{"%1 COMMAND --help prints the options of a command.",
                                        "%1 КОМАНДА --help: параметры команды."};
inline constexpr Message command{"COMMAND", "КОМАНДА"};
inline constexpr Message more{"[OPTIONS]", "[ПАРАМЕТРЫ]"};
// %1: the System_folder, %2 why that one.
inline constexpr Message<2> systemInUse{"System_folder in use: %1 (%2)",
                                        "Папка System_folder: %1 (%2)"};
inline constexpr Message systemGiven{"given by --system", "указана в --system"};
inline constexpr Message systemHere{"in the current folder", "в текущей папке"};
// %1: the shipped System_folder.
inline constexpr Message<1> systemWorking{
    "the working folder of the installed program; each missing file is copied from %1",
    "рабочая папка установленной программы; недостающие файлы копируются из %1"};
inline constexpr Message systemNone{
    "No System_folder: there is none in the current folder; give one with --system",
    "Папка System_folder не найдена: в текущей папке её нет; укажите её в --system"};
inline constexpr Message exitCodes{
    "Exit codes: 0 done, 1 problems found or refused, 2 usage or system error.",
    "Коды выхода: 0 готово, 1 найдены ошибки или отказ, 2 ошибка запуска или системы."};
// The operands and option values as the help names them.
inline constexpr Message file{"FILE", "ФАЙЛ"};
inline constexpr Message folder{"DIR", "ПАПКА"};
inline constexpr Message out{"OUT", "ВЫХОД"};
inline constexpr Message line{"LINE", "СТРОКА"};
inline constexpr Message format{"FORMAT", "ФОРМАТ"};
inline constexpr Message language{"LANG", "ЯЗЫК"};
// One help line per command and per option.
inline constexpr Message checkHelp{
    "checks an olympiad file in GIFT or Moodle XML, or a whole task tree when FILE is a folder",
    "проверяет файл олимпиады в формате GIFT или Moodle XML или всё дерево задач, если ФАЙЛ — "
    "папка"};
inline constexpr Message importHelp{
    "writes the tasks of a checked GIFT or Moodle XML file into the task tree",
    "записывает задачи проверенного файла GIFT или Moodle XML в дерево задач"};
inline constexpr Message exportHelp{"writes the task tree DIR to the file or QTI folder OUT",
                                    "выгружает дерево задач ПАПКА в файл или папку QTI ВЫХОД"};
inline constexpr Message intoHelp{"the task tree to write into", "дерево задач, куда записать"};
inline constexpr Message replaceHelp{"replaces the tasks written already",
                                     "заменяет уже записанные задачи"};
inline constexpr Message skipUnfitHelp{
    "leaves out the questions no task can hold and takes the tasks that fit",
    "пропускает вопросы, которые не могут стать задачами, и берёт подходящие задачи"};
inline constexpr Message firstAnswerHelp{
    "a typed answer with several accepted answers keeps the first",
    "у вводимого ответа с несколькими принимаемыми ответами остаётся первый"};
inline constexpr Message shuffleHelp{
    "puts the variants of each choice question in an order drawn from its text",
    "ставит варианты каждого вопроса с выбором в порядке, выведенном из его текста"};
inline constexpr Message authorHelp{
    "the author's details for this run: \"Name, school, month year\"",
    "данные автора для этого запуска: \"Имя, школа, месяц год\""};
inline constexpr Message saveAuthorHelp{"keeps the --author details for later runs",
                                        "сохраняет данные из --author для следующих запусков"};
inline constexpr Message toHelp{"the format: gift, moodle or qti (a folder)",
                                "формат: gift, moodle или qti (папка)"};
inline constexpr Message systemHelp{"the System_folder with the templates and settings",
                                    "папка System_folder с шаблонами и настройками"};
inline constexpr Message langHelp{
    "the language of the messages: ru or en (by default that of the System_folder)",
    "язык сообщений: ru или en (по умолчанию язык папки System_folder)"};
inline constexpr Message helpHelp{"prints this help", "выводит эту справку"};
inline constexpr Message versionHelp{"prints the version", "выводит версию"};
// A command line that cannot run: one line, "kavo-olympiad: " and the fault, then the pointer
// to the help (%1: "kavo-olympiad" or "kavo-olympiad COMMAND").
inline constexpr Message<1> seeHelp{"(see %1 --help)", "(справка: %1 --help)"};
inline constexpr Message noCommand{"no command given", "не указана команда"};
// %1: the word, %2 the commands.
inline constexpr Message<2> unknownCommand{"unknown command %1; the commands are %2",
                                           "неизвестная команда %1; команды: %2"};
inline constexpr Message<1> unknownOption{"unknown option %1", "неизвестный параметр %1"};
inline constexpr Message<1> needsValue{"%1 needs a value", "у параметра %1 нет значения"};
inline constexpr Message<1> takesNoValue{"%1 takes no value", "параметр %1 не принимает значения"};
// %1: the value, %2 the option, %3 the values it takes.
inline constexpr Message<3> unknownValue{"unknown value %1 of %2 (it takes %3)",
                                         "недопустимое значение %1 параметра %2 (допустимы: %3)"};
inline constexpr Message<1> givenTwice{"%1 is given twice", "параметр %1 указан дважды"};
// %1: the option, %2 the option it needs.
inline constexpr Message<2> needsOption{"%1 needs %2", "параметр %1 действует только вместе с %2"};
// %1: the option, %2 the command.
inline constexpr Message<2> notForCommand{"%1 does not apply to the command %2",
                                          "параметр %1 не относится к команде %2"};
// %1: the command, %2 what it lacks ("FILE", "--into DIR").
inline constexpr Message<2> missing{"the command %1 needs %2", "команде %1 не хватает: %2"};
inline constexpr Message<1> extraArgument{"unexpected argument %1", "лишний аргумент %1"};
// %1: the option or operand, %2 its bytes with the undecodable ones as \xNN.
inline constexpr Message<2> notUtf8{"%1 is not UTF-8 text: %2", "%1 не в кодировке UTF-8: %2"};
inline constexpr Message<1> argument{"argument %1", "аргумент %1"};
// %1: the option, %2 the character ("U+0007").
inline constexpr Message<2> refusedCharacter{
    "%1 holds a character a task description cannot hold: %2",
    "%1 содержит символ, который не может стоять в описании задачи: %2"};
// %1: the working folder, %2 the shipped System_folder.
inline constexpr Message<2> prepareFailed{
    "The working folder %1 could not be prepared from %2; nothing was done.",
    "Рабочую папку %1 не удалось подготовить из %2; ничего не сделано."};
// %1: the path a command would write, %2 the folder shipped with the program.
inline constexpr Message<2> shippedFolder{
    "%1 lies in %2, the folder installed with the program, which the program never changes; "
    "nothing was written. Give your own System_folder with --system (by default the working "
    "folder ~/Kavo_Program/System_folder, a copy of the installed one), and a task tree or "
    "an export outside the installed folder.",
    "%1 находится в %2, папке, установленной с программой, которую программа никогда не "
    "меняет; ничего не записано. Укажите свою папку System_folder в --system (по умолчанию "
    "рабочая папка ~/Kavo_Program/System_folder, копия установленной), а дерево задач и "
    "выгрузку — вне установленной папки."};
inline constexpr Message<1> notAFolder{"The task tree %1 is not a folder; nothing was exported.",
                                       "Дерево задач %1 не является папкой; ничего не выгружено."};
inline constexpr Message<2> summary{"%1 errors, %2 warnings", "ошибок: %1, предупреждений: %2"};
inline constexpr Message<3> summaryLeftOut{
    "%1 errors, %2 warnings, %3 questions left out",
    "ошибок: %1, предупреждений: %2, пропущено вопросов: %3"};
inline constexpr Message<2> unfitRefused{
    "%1 questions cannot become tasks; nothing was written. Add --skip-unfit to write the %2 "
    "tasks that fit under the numbers listed.",
    "Вопросов, которые не могут стать задачами: %1; ничего не записано. Чтобы записать "
    "подходящие задачи (%2) под указанными номерами, добавьте --skip-unfit."};
inline constexpr Message authorMissing{
    "The author's details are missing, and every task description carries them. Give them "
    "for this run with --author \"Name, school, month year\" (add --save-author to keep them, "
    "as the author dialog saves them), or in the program's Authorisation dialog.",
    "Нет данных автора, а они стоят в описании каждой задачи. Укажите их для этого запуска "
    "параметром --author \"Имя, школа, месяц год\" (добавьте --save-author, чтобы они "
    "сохранились, как в окне авторизации) или в окне «Авторизация» программы."};
inline constexpr Message wouldReplace{
    "These tasks are written already; nothing was written. Add --replace to replace them:",
    "Эти задачи уже записаны; ничего не записано. Чтобы заменить их, добавьте --replace:"};
inline constexpr Message<2> written{"Tasks written: %1, into %2", "Записано задач: %1, в %2"};
inline constexpr Message<2> exported{"%1 tasks exported to %2", "Выгружено задач: %1, в %2"};
inline constexpr Message<2> unreadable{"%1: cannot be read back, left out: %2",
                                       "%1: не читается, пропущена: %2"};
inline constexpr Message<2> lost{"%1: %2", "%1: %2"};
} // namespace cli

// Reading a written task back: %1 the task folder, %2 the file, %3 the line and %4 the column
// (from 1) of the first place that says why.
namespace readback {
inline constexpr Message<2> missingFile{
    "\nThe task in %1 cannot be read: the file %2 is missing or cannot be opened.",
    "\nЗадачу в папке %1 нельзя прочитать: файла %2 нет или его не удаётся открыть."};
inline constexpr Message<4> differs{
    "\nThe task in %1 cannot be read: %2, line %3, column %4: the text differs from what the "
    "program writes.",
    "\nЗадачу в папке %1 нельзя прочитать: %2, строка %3, столбец %4: текст отличается от "
    "того, что пишет программа."};
// %5: the letter of the variant.
inline constexpr Message<5> removedVariantNamed{
    "\nThe task in %1 cannot be read: the scoring file gives answer %5, the page has no variant "
    "%5 (%2, line %3, column %4).",
    "\nЗадачу в папке %1 нельзя прочитать: в файле оценки правильный ответ %5, а на странице "
    "нет варианта %5 (%2, строка %3, столбец %4)."};
inline constexpr Message<4> removedVariantUnnamed{
    "\nThe task in %1 cannot be read: %2, line %3, column %4: the scoring file gives as right "
    "a variant the page does not have.",
    "\nЗадачу в папке %1 нельзя прочитать: %2, строка %3, столбец %4: файл оценки называет "
    "правильным вариант, которого нет на странице."};
inline constexpr Message<4> templateText{
    "\nThe task in %1 can be read in more than one way: %2, line %3, column %4: a typed text "
    "holds text of a template.",
    "\nЗадачу в папке %1 можно прочитать по-разному: %2, строка %3, столбец %4: введённый "
    "текст содержит текст шаблона."};
inline constexpr Message<4> emptyOrRemoved{
    "\nThe task in %1 can be read in more than one way: %2, line %3, column %4: the page does "
    "not show which variants were left empty and which were removed.",
    "\nЗадачу в папке %1 можно прочитать по-разному: %2, строка %3, столбец %4: по странице "
    "не видно, какие варианты оставлены пустыми, а какие удалены."};
inline constexpr Message<4> prompt{
    "\nThe task in %1 can be read in more than one way: %2, line %3, column %4: the condition "
    "holds the answer prompt, which the program translates.",
    "\nЗадачу в папке %1 можно прочитать по-разному: %2, строка %3, столбец %4: условие "
    "содержит приглашение к ответу, которое программа переводит."};
inline constexpr Message<4> placeholder{
    "\nThe task in %1 can be read in more than one way: %2, line %3, column %4: a typed text "
    "holds a placeholder of the Edits templates such as *vs3*.",
    "\nЗадачу в папке %1 можно прочитать по-разному: %2, строка %3, столбец %4: введённый "
    "текст содержит метку шаблонов Edits, например *vs3*."};
inline constexpr Message<4> names{
    "\nThe task in %1 can be read in more than one way: %2, line %3, column %4: a name may "
    "have been typed with a character or with its XML reference.",
    "\nЗадачу в папке %1 можно прочитать по-разному: %2, строка %3, столбец %4: название "
    "могло быть введено символом или его ссылкой XML."};
inline constexpr Message<4> kind{
    "\nThe task in %1 can be read in more than one way: %2, line %3, column %4: its files fit "
    "tasks of two kinds.",
    "\nЗадачу в папке %1 можно прочитать по-разному: %2, строка %3, столбец %4: её файлы "
    "подходят задачам двух видов."};
inline constexpr Message<2> authorDiffers{
    "\nThe task in %1 was written with another author line: %2",
    "\nЗадача в папке %1 записана с другой строкой автора: %2"};
} // namespace readback

// A written task opened back into the task form or the Edits builder; %1 its folder.
namespace reopen {
inline constexpr Message<1> nothingWritten{"\nNothing is written in the folder %1.",
                                           "\nВ папке %1 ничего не записано."};
inline constexpr Message<1> notInLists{
    "\nThe folder %1 is not the folder of a number of the task lists: enter the numbers of "
    "tasks in the parts and press Ok first.",
    "\nПапка %1 не относится ни к одному номеру списка задач: сначала введите количество задач "
    "в частях и нажмите Ok."};
// %2: why it does not read back.
inline constexpr Message<2> inReview{
    "\nThe task in %1 does not read back as it was written, so it opens in the code review.\n%2",
    "\nЗадача в папке %1 не читается так, как была записана, поэтому она открыта в просмотре "
    "кода.\n%2"};
inline constexpr Message<2> cannotOpen{
    "\nThe task in %1 cannot be opened in the task form or the Edits builder.\n%2",
    "\nЗадачу в папке %1 нельзя открыть ни в форме задачи, ни в макете Edits.\n%2"};
inline constexpr Message<1> replaceTaskForm{
    "The task form holds text that is not written. Replace it with the task in %1?",
    "В форме задачи есть незаписанный текст. Заменить его задачей из папки %1?"};
inline constexpr Message loseReviewChanges{
    "The code review holds changes that are not saved. Open the task in the form without "
    "them?",
    "В просмотре кода есть несохранённые изменения. Открыть задачу в форме без них?"};
inline constexpr Message reviewReplaced{
    "The code review holds changes that are not saved. Open another task there without them?",
    "В просмотре кода есть несохранённые изменения. Открыть в нём другую задачу без них?"};
inline constexpr Message<1> replaceEditsForm{
    "The Edits builder holds text that is not written. Replace it with the task in %1?",
    "В макете Edits есть незаписанный текст. Заменить его задачей из папки %1?"};
} // namespace reopen

// The windows: their titles and captions. Entries are named after their widgets.

// The windows: titles, captions, tooltips and accessible names. Caption entries are named
// after their widgets; "&" marks a caption's mnemonic letter (Alt + that letter).
namespace app {
inline constexpr Message title{"Kavo Program", "Kavo Program"};
inline constexpr Message menuBar{"Menu bar", "Строка меню"};
// %1: the working folder.
inline constexpr Message<1> noSystemFolder{
    "There is no System_folder with the program's templates and settings in %1.\nStart the "
    "program with kavo-program or ./scripts/run.sh.",
    "В папке %1 нет System_folder с шаблонами и настройками программы.\nЗапускайте программу "
    "командой kavo-program или ./scripts/run.sh."};
// The program's command line, checked before any window: %1 the argument refused. Printed
// in both languages, since the interface language is read only later.
inline constexpr Message<1> unknownOption{
    "kavo-program: unknown option %1. Usage: kavo-program [FILE.gift]",
    "kavo-program: неизвестный параметр %1. Запуск: kavo-program [ФАЙЛ.gift]"};
// %1: the number of files named.
inline constexpr Message<1> oneFileOnly{
    "kavo-program: one olympiad file at a time can be opened, %1 were named. Usage: "
    "kavo-program [FILE.gift]",
    "kavo-program: открыть можно один файл олимпиады, а указано %1. Запуск: kavo-program "
    "[ФАЙЛ.gift]"};
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
// The English caption names the host of the system's web site (app::WebSiteHost).
inline constexpr Message Label14{"Go to kavo.example.org", "Перейти на сайт Kavo"};
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
inline constexpr Message Button10{"E&dit in the form", "От&крыть в форме"};
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
inline constexpr Message Button9{"C&hoose picture…", "&Файл рисунка…"};
inline constexpr Message pictureTitle{"Picture of the task", "Рисунок задачи"};
inline constexpr Message pictureFilter{"Pictures (*.jpg *.jpeg *.png)",
                                       "Рисунки (*.jpg *.jpeg *.png)"};
inline constexpr Message<1> notPicture{
    "\n%1 cannot be read as a JPEG or PNG picture. The picture was not changed.",
    "\n%1 не читается как рисунок JPEG или PNG. Рисунок не изменён."};
inline constexpr Message<1> notConverted{
    "\nThe PNG picture %1 could not be converted to JPEG. The picture was not changed.",
    "\nРисунок PNG %1 не удалось преобразовать в JPEG. Рисунок не изменён."};
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
inline constexpr Message<1> variant{
    "Answer variant %1; leave A empty for a typed answer",
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
inline constexpr Message Button9{
    "Choose the picture of the task, a JPEG or PNG file: it is saved with the task as "
    "webfiles/picture.jpg (a PNG converted). Without a choice the task folder keeps its picture",
    "Выбрать рисунок задачи, файл JPEG или PNG: он записывается вместе с задачей как "
    "webfiles/picture.jpg (PNG преобразуется). Без выбора в папке задачи остаётся её рисунок"};
inline constexpr Message Button5{
    "Show the selected task's page in the browser, then select the next number (Ctrl+P)",
    "Показать страницу выбранной задачи в браузере и выбрать следующий номер (Ctrl+P)"};
inline constexpr Message outputFolder{
    "The folder of the task tree: click or press Space to choose another",
    "Папка, в которую записываются задачи: щёлкните или нажмите "
    "пробел, чтобы выбрать другую"};
inline constexpr Message<1> link{"Opens %1 in the browser", "Открывает %1 в браузере"};
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
inline constexpr Message Button10{
    "Open the selected task in the task form (an Edits task in the Edits builder) to change it "
    "and write it again",
    "Открыть выбранную задачу в форме задачи (задачу Edits — в макете Edits), чтобы изменить "
    "её и записать снова"};
} // namespace form1::tip

// Accessible names of Form1's widgets that have no caption of their own.
namespace form1::name {
inline constexpr Message<1> partSize{"Number of tasks in part %1", "Число задач в части %1"};
inline constexpr Message<1> variant{"Answer variant %1", "Вариант ответа %1"};
inline constexpr Message<1> removeAnswer{"Remove answer variant %1", "Удалить вариант ответа %1"};
inline constexpr Message<1> outputFolder{"Folder of the task tree: %1", "Папка для задач: %1"};
inline constexpr Message Image1{"Choose the folder of the task tree", "Выбрать папку для задач"};
inline constexpr Message RadioGroup1{"Language olympiad", "Язык олимпиады"};
inline constexpr Message Edit7{"Russian task name", "Русское имя задачи"};
inline constexpr Message Edit8{"English task name", "Английское имя задачи"};
inline constexpr Message ListBox4{"Task number to open", "Номер задачи для просмотра"};
inline constexpr Message client{"Task form", "Форма задачи"};
inline constexpr Message StatusBar1{"What the last write did", "Что сделала последняя запись"};
inline constexpr Message noPictureChosen{"No picture chosen", "Рисунок не выбран"};
inline constexpr Message<1> pictureChosen{"Chosen picture: %1", "Выбранный рисунок: %1"};
} // namespace form1::name

// Examples in the empty name fields.
namespace form1::placeholder {
inline constexpr Message Edit7{"for example: Сумма углов", "например: Сумма углов"};
inline constexpr Message Edit8{"for example: Sum of angles", "например: Sum of angles"};
} // namespace form1::placeholder

// Form1's olympiad menu: a GIFT file imported whole, the task tree exported.
namespace form1::olympiad {
inline constexpr Message ImportOlympiad1{"&Import olympiad...", "&Импорт олимпиады..."};
inline constexpr Message ExportOlympiad1{"E&xport olympiad", "&Экспорт олимпиады"};
inline constexpr Message ExportGift1{"&GIFT file...", "Файл &GIFT..."};
inline constexpr Message ExportMoodle1{"&Moodle XML file...", "Файл &Moodle XML..."};
inline constexpr Message ExportQti1{"&QTI 2.1 package (folder)...", "Пакет &QTI 2.1 (папка)..."};
inline constexpr Message importTitle{"Olympiad file to import", "Файл олимпиады для импорта"};
inline constexpr Message giftFilter{"GIFT files (*.gift *.txt)", "Файлы GIFT (*.gift *.txt)"};
inline constexpr Message importFilter{
    "Olympiad files, GIFT or Moodle XML (*.gift *.txt *.xml);;All files (*)",
    "Файлы олимпиады, GIFT или Moodle XML (*.gift *.txt *.xml);;Все файлы (*)"};
inline constexpr Message moodleFilter{"Moodle XML files (*.xml)", "Файлы Moodle XML (*.xml)"};
inline constexpr Message exportGiftTitle{"Export the olympiad to a GIFT file",
                                         "Экспорт олимпиады в файл GIFT"};
inline constexpr Message exportMoodleTitle{"Export the olympiad to a Moodle XML file",
                                           "Экспорт олимпиады в файл Moodle XML"};
inline constexpr Message exportQtiTitle{"Folder of the QTI 2.1 package",
                                        "Папка для пакета QTI 2.1"};
// %1: the folder or file chosen.
inline constexpr Message<1> folderNotEmpty{
    "The folder %1 is not empty. Write the QTI package into it? Files of the same names are "
    "replaced.",
    "Папка %1 не пуста. Записать в неё пакет QTI? Файлы с теми же именами будут заменены."};
inline constexpr Message<1> fileExists{"The file %1 already exists. Replace it?",
                                       "Файл %1 уже существует. Заменить его?"};
inline constexpr Message<1> nothingToExport{"The task tree %1 holds no task to export.",
                                            "В папке задач %1 нет ни одной задачи для экспорта."};
inline constexpr Message<1> nothingReadBack{
    "No task of the task tree %1 reads back; nothing was exported.",
    "Ни одна задача в папке %1 не читается; ничего не выгружено."};
// %1: the list of task folders, one a line.
inline constexpr Message<1> replaceTasks{
    "These tasks are written already:\n%1\nReplace them with the tasks of the file?",
    "Эти задачи уже записаны:\n%1\nЗаменить их задачами из файла?"};
inline constexpr Message<1> moreTasks{"... and %1 more", "... и ещё %1"};
inline constexpr Message authorFirst{
    "Every task description carries the author's details: enter them in the dialog, then "
    "press Write again.",
    "В описании каждой задачи стоят данные автора: введите их в окне авторизации и снова "
    "нажмите «Записать»."};
inline constexpr Message<2> progress{"Writing task %1 of %2...", "Записывается задача %1 из %2..."};
} // namespace form1::olympiad

namespace form1::olympiad::tip {
inline constexpr Message ImportOlympiad1{
    "Read an olympiad from a GIFT file, check it whole and write its tasks into the task tree",
    "Прочитать олимпиаду из файла GIFT, проверить её целиком и записать задачи в папку задач"};
inline constexpr Message ExportOlympiad1{"Write the tasks of the task tree out for another system",
                                         "Выгрузить задачи из папки задач для другой системы"};
inline constexpr Message ExportGift1{
    "Moodle's text format; the program reads it back whole",
    "Текстовый формат Moodle; программа читает его обратно целиком"};
inline constexpr Message ExportMoodle1{"The question format Moodle imports",
                                       "Формат вопросов, который импортирует Moodle"};
inline constexpr Message ExportQti1{
    "An IMS QTI 2.1 content package: imsmanifest.xml and one item per task",
    "Пакет IMS QTI 2.1: imsmanifest.xml и по одному файлу на задачу"};
} // namespace form1::olympiad::tip

// The report window of an olympiad file or of an export.
namespace olympiadReport {
// %1: the file's name.
inline constexpr Message<1> importTitle{"Olympiad file check: %1", "Проверка файла олимпиады: %1"};
inline constexpr Message<1> exportTitle{"Olympiad export: %1", "Экспорт олимпиады: %1"};
inline constexpr Message<1> errors{"&Errors (%1)", "&Ошибки (%1)"};
inline constexpr Message<1> warnings{"&Warnings (%1)", "&Предупреждения (%1)"};
inline constexpr Message<1> leftOut{"&Left out (%1)", "&Пропущены (%1)"};
inline constexpr Message<1> losses{"L&ost in the format (%1)", "П&отеряно в формате (%1)"};
inline constexpr Message source{"The &file", "&Файл"};
inline constexpr Message Write{"W&rite tasks", "&Записать задачи"};
// %1 the tasks that fit, when questions are left out.
inline constexpr Message<1> WriteFit{"W&rite the %1 tasks that fit",
                                     "&Записать подходящие задачи: %1"};
inline constexpr Message FirstAnswer{"&Keep the first accepted answer",
                                     "Оставить п&ервый принимаемый ответ"};
inline constexpr Message Shuffle{"&Shuffle the variants", "Пере&мешать варианты"};
inline constexpr Message<1> numbers{"&Numbers of the tasks (%1)", "&Номера задач (%1)"};
inline constexpr Message<1> importLeftOut{"&Left out (%1)", "П&ропущены (%1)"};
inline constexpr Message Close{"&Close", "За&крыть"};
// %1 line, %2 column, %3 the problem.
inline constexpr Message<3> problem{"Line %1, column %2: %3", "Строка %1, столбец %2: %3"};
// %1 errors, %2 warnings.
inline constexpr Message<2> refused{
    "Errors: %1, warnings: %2. Nothing is written: correct the file and import it again.",
    "Ошибок: %1, предупреждений: %2. Ничего не записано: исправьте файл и импортируйте его "
    "снова."};
// %1 warnings, %2 tasks, %3 the task tree.
inline constexpr Message<3> ready{
    "No errors; warnings: %1. Tasks in the file: %2. Write tasks puts them into %3.",
    "Ошибок нет, предупреждений: %1. Задач в файле: %2. «Записать задачи» запишет их в %3."};
// %1 warnings, %2 tasks that fit, %3 questions left out, %4 the task tree.
inline constexpr Message<4> readyLeftOut{
    "No errors; warnings: %1. Tasks that fit: %2, questions left out: %3 (they take no "
    "number). Write puts the tasks into %4 under the numbers listed.",
    "Ошибок нет, предупреждений: %1. Подходящих задач: %2, пропущено вопросов: %3 (они не "
    "получают номеров). «Записать» запишет задачи в %4 под указанными номерами."};
} // namespace olympiadReport

namespace olympiadReport::tip {
inline constexpr Message list{"Select a line to show its place in the file",
                              "Выберите строку, чтобы увидеть её место в файле"};
inline constexpr Message checkList{"Select a row to select its task in the olympiad overview",
                                   "Выберите строку, чтобы выбрать её задачу в обзоре олимпиады"};
inline constexpr Message exportList{"What the export left out or could not carry, per task",
                                    "Что экспорт пропустил или не смог передать, по задачам"};
inline constexpr Message source{"The text of the file as it was read; it cannot be changed here",
                                "Текст файла, как он прочитан; здесь его изменить нельзя"};
inline constexpr Message Write{
    "Write every task of the file into the task tree, with the part sizes of the file",
    "Записать все задачи файла в папку задач с размерами частей из файла"};
inline constexpr Message Close{"Close the report (Esc)", "Закрыть отчёт (Esc)"};
inline constexpr Message WriteFit{
    "Write the tasks that fit into the task tree under the numbers listed; the questions left "
    "out are not written",
    "Записать подходящие задачи в папку задач под указанными номерами; пропущенные вопросы не "
    "записываются"};
inline constexpr Message FirstAnswer{
    "A typed answer with several accepted answers keeps the first; a warning names the others",
    "У вводимого ответа с несколькими принимаемыми ответами остаётся первый; предупреждение "
    "называет остальные"};
inline constexpr Message Shuffle{
    "Put each choice question's variants in an order drawn from its text; the same file always "
    "gives the same order. Variants such as \"All of the above\" keep their place",
    "Поставить варианты каждого вопроса в порядке, выведенном из его текста; один и тот же файл "
    "всегда даёт один порядок. Варианты вроде «Все ответы верны» остаются на месте"};
inline constexpr Message numbers{"The number each task that fits is written under",
                                 "Номер, под которым будет записана каждая подходящая задача"};
} // namespace olympiadReport::tip
// The check of a whole task tree: its report rows (each about a folder), its summary, and the
// refusals of a write or an export that would leave one number in two folders.
namespace treeCheck {
// %1 the task tree.
inline constexpr Message<1> title{"Olympiad check: %1", "Проверка олимпиады: %1"};
// %1 the folder, %2 the problem.
inline constexpr Message<2> row{"%1: %2", "%1: %2"};
// %1 the number, %2 every folder that holds it.
inline constexpr Message<2> duplicate{
    "number %1 is held by more than one folder (%2): one number holds one task.",
    "номер %1 есть в нескольких папках (%2): у одного номера одна задача."};
// %1 the number, %2 %3 %4 the part sizes found, %5 the folder they give the number.
inline constexpr Message<5> outside{
    "number %1 lies outside the part sizes found in the tree (A %2, B %3, C %4): they put "
    "task %1 in %5.",
    "номер %1 лежит вне размеров частей, найденных в папке задач (A %2, B %3, C %4): по ним "
    "задаче %1 место в %5."};
inline constexpr Message<4> outsideAll{
    "number %1 lies outside the part sizes found in the tree (A %2, B %3, C %4).",
    "номер %1 лежит вне размеров частей, найденных в папке задач (A %2, B %3, C %4)."};
inline constexpr Message pictureMissing{
    "the page shows a picture, but webfiles/picture.jpg is missing.",
    "страница показывает рисунок, но файла webfiles/picture.jpg нет."};
// %1 the number.
inline constexpr Message<1> hole{"number %1 holds no task: the numbering has a hole.",
                                 "под номером %1 нет задачи: в нумерации пропуск."};
// %1 the field, %2 the text around the '<'.
inline constexpr Message<2> strayLess{
    "%1 holds a '<' that the browser takes for the start of a tag: \"%2\"",
    "%1: браузер примет '<' за начало тега: «%2»"};
// %1 the variant's letter.
inline constexpr Message<1> blankVariant{
    "variant %1 holds only blanks: the page shows an empty option.",
    "вариант %1 состоит из одних пробелов: на странице он будет пустым."};
// %1 the count, %2 the single-choice tasks, %3 the letter.
inline constexpr Message<3> bunched{
    "the right answer of %1 of the %2 single-choice tasks is %3: pupils may guess it.",
    "правильный ответ %1 из %2 задач с одним ответом — %3: его можно угадать."};
inline constexpr Message olympiad{"The olympiad", "Олимпиада"};
// %1 the other folder.
inline constexpr Message<1> sameCondition{"the condition repeats the condition in %1 exactly.",
                                          "условие в точности повторяет условие в папке %1."};
// %1 the number its name gives with the leading zero dropped.
inline constexpr Message<1> leadingZero{
    "the folder is named like number %1 with a leading zero: the program neither lists nor "
    "writes task %1 there.",
    "папка названа как номер %1 с ведущим нулём: программа не считает её задачей %1 и не "
    "пишет туда."};
// %1 errors, %2 warnings, %3 task folders, %4 the task tree.
inline constexpr Message<4> summary{
    "Errors: %1, warnings: %2. Task folders checked: %3 in %4. Nothing was written.",
    "Ошибок: %1, предупреждений: %2. Проверено папок задач: %3 в %4. Ничего не записано."};
// %1 what was given.
inline constexpr Message<1> notASource{"%1 is neither a task tree (a folder) nor an olympiad file.",
                                       "%1 — это не папка задач и не файл олимпиады."};
inline constexpr Message exportStopped{
    "The export is stopped, nothing is written: the task tree holds a number in two folders or "
    "outside its part sizes. Menu > Check olympiad lists them.",
    "Экспорт остановлен, ничего не записано: в папке задач номер лежит в двух папках или вне "
    "размеров частей. Их перечисляет Меню > Проверить олимпиаду."};
// %1 the number, %2 the folder that holds it, %3 the folder it would go to, %4 %5 %6 the part
// sizes of the tree.
inline constexpr Message<6> heldElsewhere{
    "Task %1 is already written in %2, and these part sizes put it in %3: one number holds "
    "one task. Nothing is written. The tree's tasks fit the part sizes A %4, B %5, C %6: enter "
    "them and press Ok, or move or remove %2 first.",
    "Задача %1 уже записана в папке %2, а эти размеры частей помещают её в %3: у одного "
    "номера одна задача. Ничего не записано. Задачам папки подходят размеры частей A %4, B %5, "
    "C %6: введите их и нажмите Ok или сначала перенесите или удалите %2."};
} // namespace treeCheck

// The marks of the task numbers, the part sizes found in a tree, and the olympiad overview.
namespace marks {
inline constexpr Message noTask{"no task yet", "задачи ещё нет"};
// %1 the task number or folder, %2 what it holds (a kind, "no task yet" ...).
inline constexpr Message<2> tip{"Task %1: %2", "Задача %1: %2"};
inline constexpr Message<1> notAFolder{"%1 is a file, not a folder: no task can be written there.",
                                       "%1 — это файл, а не папка: задачу туда записать нельзя."};
inline constexpr Message<1> failed{"The marks of the task numbers cannot be read: %1",
                                   "Отметки номеров задач не прочитаны: %1"};
// %1, %2, %3: the sizes of parts A, B and C.
inline constexpr Message<3> sizesFound{
    "The task tree holds tasks of parts A %1, B %2, C %3: press Ok to use these sizes.",
    "В папке задач найдены задачи частей A %1, B %2, C %3: нажмите Ok, чтобы взять эти "
    "размеры."};
} // namespace marks

// The olympiad overview window.
namespace overview {
inline constexpr Message title{"Olympiad overview", "Обзор олимпиады"};
inline constexpr Message Overview1{"Olympiad &overview", "&Обзор олимпиады"};
inline constexpr Message CheckOlympiad1{"&Check olympiad", "Проверить олимпи&аду"};
inline constexpr Message Label1{"&Tasks of the olympiad", "Задачи олимп&иады"};
inline constexpr Message columnPlace{"Number or folder", "Номер или папка"};
inline constexpr Message columnPart{"Part", "Часть"};
inline constexpr Message columnKind{"Kind", "Вид"};
inline constexpr Message columnNames{"Names", "Названия"};
inline constexpr Message columnAnswer{"Answer", "Ответ"};
inline constexpr Message columnPicture{"Picture", "Рисунок"};
inline constexpr Message columnReads{"Reads back", "Читается"};
inline constexpr Message columnCondition{"Condition", "Условие"};
inline constexpr Message readsBack{"yes", "да"};
inline constexpr Message picturePresent{"present", "есть"};
inline constexpr Message pictureMissing{"missing: webfiles/picture.jpg",
                                        "нет webfiles/picture.jpg"};
inline constexpr Message ButtonForm{"Open in the &form", "Открыть в &форме"};
inline constexpr Message ButtonReview{"Open in code &review", "Открыть в просмотре ко&да"};
inline constexpr Message ButtonPreview{"&Preview in the browser", "Просмотреть в &браузере"};
inline constexpr Message ButtonRefresh{"Refres&h", "&Обновить"};
inline constexpr Message ButtonCheck{"Chec&k olympiad", "Про&верить олимпиаду"};
inline constexpr Message ButtonClose{"&Close", "&Закрыть"};
// %1 the task tree, %2 the tasks listed, %3 those that do not read back.
inline constexpr Message<3> summary{"%1: %2 tasks, %3 of them cannot be read back",
                                    "%1: задач — %2, из них не читается — %3"};
inline constexpr Message<1> notNumbered{
    "The code review opens tasks by their number: %1 is not the folder of a numbered task. "
    "Open it in the form or preview it.",
    "Просмотр кода открывает задачи по номеру: %1 — не папка задачи с номером. Откройте её в "
    "форме или просмотрите в браузере."};
inline constexpr Message<2> notInLists{
    "Task %1 lies in %2, but the part sizes confirmed with Ok give no number %1 there. Enter "
    "the part sizes of this olympiad, press Ok and open it again.",
    "Задача %1 лежит в папке %2, но размеры частей, подтверждённые кнопкой Ok, не дают туда "
    "номера %1. Введите размеры частей этой олимпиады, нажмите Ok и откройте её снова."};
inline constexpr Message selectRow{"Select a task in the table first.",
                                   "Сначала выберите задачу в таблице."};
} // namespace overview

namespace overview::tip {
inline constexpr Message Table1{
    "Every task of the task tree; Enter or a double click opens the selected one in the form",
    "Все задачи папки задач; Enter или двойной щелчок открывает выбранную в форме"};
inline constexpr Message ButtonForm{"Open the selected task in the task form to change it",
                                    "Открыть выбранную задачу в форме, чтобы изменить её"};
inline constexpr Message ButtonReview{
    "Open the three files of the selected numbered task in the task code review",
    "Открыть три файла выбранной задачи с номером в просмотре кода задач"};
inline constexpr Message ButtonPreview{"Show the page of the selected task in the browser",
                                       "Показать страницу выбранной задачи в браузере"};
inline constexpr Message ButtonRefresh{"Read the task tree again", "Прочитать папку задач заново"};
inline constexpr Message ButtonCheck{
    "Check the whole olympiad: numbers, part sizes, read-back, pictures and texts",
    "Проверить всю олимпиаду: номера, размеры частей, чтение, рисунки и тексты"};
inline constexpr Message CheckOlympiad1{
    "Check the whole olympiad of the task tree before it goes out; nothing is written",
    "Проверить всю олимпиаду папки задач перед выдачей; ничего не записывается"};
inline constexpr Message ButtonClose{"Close the overview (Esc)", "Закрыть обзор (Esc)"};
} // namespace overview::tip

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
inline constexpr Message<1> Label2{"Sample: %1", "Образец: %1"};
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
inline constexpr Message Button2{"&View in the browser", "&Просмотреть в браузере"};
inline constexpr Message closeUnwritten{
    "The Edits builder holds text that is not written. Close the program and lose it?",
    "В макете Edits есть незаписанный текст. Закрыть программу и потерять его?"};
// %1: the folder of the task number.
inline constexpr Message<1> nothingToPreview{
    "\nNothing is written in the folder %1 yet: save the task first.",
    "\nВ папке %1 пока ничего не записано: сначала сохраните задачу."};
} // namespace form3

namespace form3::tip {
inline constexpr Message Memo1{"The condition shared by all questions; page mark-up may be used",
                               "Общее условие для всех вопросов; можно использовать разметку"};
inline constexpr Message<1> question{"The condition of question %1", "Условие вопроса %1"};
inline constexpr Message<1> answer{
    "The answer to question %1, typed exactly as a pupil must type it",
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
inline constexpr Message Button2{
    "Show the task written in the folder of the task number (or the last saved) as a pupil "
    "sees it",
    "Показать задачу, записанную в папке номера задачи (или последнюю сохранённую), как её "
    "увидит ученик"};
} // namespace form3::tip

namespace form3::name {
inline constexpr Message<1> question{"Condition of question %1", "Условие вопроса %1"};
inline constexpr Message<1> answer{"Answer to question %1", "Ответ к вопросу %1"};
inline constexpr Message CheckBox1{"Remove questions C and D", "Удалить вопросы C и D"};
inline constexpr Message CheckBox2{"Remove question D", "Удалить вопрос D"};
inline constexpr Message client{"Edits task", "Задача Edits"};
inline constexpr Message Panel1{"Name and number of the task", "Название и номер задачи"};
inline constexpr Message StatusBar1{"Status bar: where the last task went",
                                    "Строка состояния: куда записана последняя задача"};
} // namespace form3::name

} // namespace kavo::msg
