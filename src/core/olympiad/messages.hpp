// SPDX-License-Identifier: MIT
#pragma once
// The texts of the olympiad file layer in both languages; "{1}", "{2}" take arguments.

#include "core/common/lang.hpp"

namespace kavo::olympiad::msg {

// The file as a whole.
inline constexpr Message tooLarge{
    "The file is {1} bytes long; an olympiad file may hold at most {2} bytes",
    "Файл занимает {1} байт; файл олимпиады может занимать не больше {2} байт"};
inline constexpr Message binary{"The file is not text: it holds the control byte {1}",
                                "Файл не текстовый: в нём есть управляющий байт {1}"};
inline constexpr Message badUtf8{
    "The file starts with the UTF-8 mark but holds a byte that is not UTF-8",
    "Файл начинается с метки UTF-8, но в нём есть байт не в UTF-8"};
inline constexpr Message mixedBreaks{
    "The file mixes line breaks ({1} here, {2} before); all of them are read as line breaks",
    "В файле разные переводы строк ({1} здесь, {2} раньше); все они читаются как перевод строки"};
inline constexpr Message empty{"The file holds no question", "В файле нет ни одного вопроса"};

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
inline constexpr Message badWeight{"The weight '{1}' is not a percentage from -100 to 100",
                                   "Вес '{1}' не является процентом от -100 до 100"};
inline constexpr Message emptyAnswer{"An empty answer: write its text after '=' or '~'",
                                     "Пустой ответ: напишите его текст после '=' или '~'"};

// Kinds the program cannot write.
inline constexpr Message essay{"An essay question cannot become a task",
                               "Вопрос-эссе не может стать задачей"};
inline constexpr Message numeric{
    "A numeric answer (a number or a range) cannot become a task; write it as a typed answer "
    "{=...}",
    "Числовой ответ (число или диапазон) не может стать задачей; запишите его как вводимый ответ "
    "{=...}"};
inline constexpr Message matching{"A matching question cannot become a task",
                                  "Вопрос на соответствие не может стать задачей"};
inline constexpr Message description{
    "A text without an answer block cannot become a task (an Edits task starts with "
    "// kavo: edits)",
    "Текст без блока ответов не может стать задачей (задача Edits начинается с // kavo: edits)"};
inline constexpr Message tooManyVariants{"{1} variants; a task holds 2 to 5",
                                         "{1} вариантов; в задаче их от 2 до 5"};
inline constexpr Message tooFewVariants{"Only {1} variant; a task holds 2 to 5",
                                        "Всего {1} вариант; в задаче их от 2 до 5"};
inline constexpr Message twoTyped{
    "A typed answer with {1} accepted answers; a task accepts one",
    "Вводимый ответ с {1} принимаемыми ответами; задача принимает один"};
inline constexpr Message twoRight{
    "{1} variants marked '=' right; a single choice has one (give weights ~%50% for several)",
    "{1} варианта отмечены '=' как верные; в задаче с одним ответом верный один (для "
    "нескольких укажите веса ~%50%)"};
inline constexpr Message noRight{
    "No variant has a positive weight: a multiple choice needs a right variant",
    "Ни у одного варианта нет положительного веса: в задаче с несколькими ответами нужен "
    "верный вариант"};
inline constexpr Message answerBreak{"The answer holds a line break",
                                     "В ответе есть перевод строки"};
inline constexpr Message answerCodePage{
    "The answer \"{1}\" holds '{2}', which the Windows-1251 code page cannot hold; the scoring "
    "file needs the answer as it is",
    "Ответ \"{1}\" содержит '{2}', которого нет в кодовой странице Windows-1251; файлу оценки "
    "нужен ответ как есть"};

// Warnings.
inline constexpr Message weightsChanged{
    "The weights differ from the scoring: the program gives one point per variant answered "
    "rightly (ticked if right, left unticked if wrong); right variants: {1}",
    "Веса отличаются от оценки: программа даёт по баллу за каждый верно отвеченный вариант "
    "(верный отмечен, неверный не отмечен); верные варианты: {1}"};
inline constexpr Message partialDropped{
    "Partial weights dropped: the program scores only the variant marked '=' as right",
    "Частичные веса отброшены: программа считает верным только вариант, отмеченный '='"};
inline constexpr Message feedbackDropped{"Feedback (#...) dropped: a task has none",
                                         "Отзыв (#...) отброшен: у задачи его нет"};

// The kavo extension.
inline constexpr Message kavoUnknown{"Unknown kavo option '{1}'",
                                     "Неизвестный параметр kavo '{1}'"};
inline constexpr Message kavoTwice{"The kavo option '{1}' is given twice",
                                   "Параметр kavo '{1}' указан дважды"};
inline constexpr Message kavoBadValue{"The kavo option '{1}' needs {2}",
                                      "Параметру kavo '{1}' нужно {2}"};
inline constexpr Message kavoAfterText{
    "A kavo line inside a question; put it directly above the question",
    "Строка kavo внутри вопроса; поставьте её прямо над вопросом"};
inline constexpr Message kavoAlone{
    "A kavo line that belongs to no question; put it directly above the question, without a "
    "blank line",
    "Строка kavo не относится ни к одному вопросу; поставьте её прямо над вопросом, без пустой "
    "строки"};
inline constexpr Message kavoNotHere{"The kavo option '{1}' does not fit {2}",
                                     "Параметр kavo '{1}' не подходит для {2}"};
inline constexpr Message namesTogether{"name-ru and name-en go together: give both",
                                       "name-ru и name-en задаются вместе: укажите оба"};
inline constexpr Message partsTwice{"The part sizes are given twice (first at line {1})",
                                    "Размеры частей указаны дважды (первый раз в строке {1})"};
inline constexpr Message partsBad{"kavo/parts needs three whole numbers, such as kavo/parts/5,3,2",
                                  "kavo/parts нужны три целых числа, например kavo/parts/5,3,2"};
inline constexpr Message kavoCategory{"Unknown kavo category '{1}'",
                                      "Неизвестная категория kavo '{1}'"};
inline constexpr Message namesPath{
    "The {1} \"{2}\" names a path; names make no files or folders: write a plain name",
    "{1} \"{2}\" задаёт путь; по именам не создаются файлы и папки: напишите простое имя"};
inline constexpr Message editsHeadBlock{
    "An Edits task starts with its main condition alone, without an answer block",
    "Задача Edits начинается с общего условия без блока ответов"};
inline constexpr Message editsCount{
    "The Edits task has {1} sub-questions; it needs 2 to 4 (each marked // kavo: sub)",
    "В задаче Edits {1} вопросов; нужно от 2 до 4 (каждый отмечен // kavo: sub)"};
inline constexpr Message subAlone{"A kavo sub question without an Edits task above it",
                                  "Вопрос kavo sub без задачи Edits над ним"};
inline constexpr Message subKind{"A sub-question of an Edits task needs one typed answer {=...}",
                                 "Вопросу задачи Edits нужен один вводимый ответ {=...}"};

// The olympiad as a whole.
inline constexpr Message tooManyTasks{"More than 99 tasks (Edits tasks count)",
                                      "Больше 99 задач (задачи Edits тоже считаются)"};
inline constexpr Message numberTaken{"Task number {1} is taken already by the task at line {2}",
                                     "Номер задачи {1} уже занят задачей в строке {2}"};
inline constexpr Message numberRange{"Task number {1}; numbers run from 1 to 99",
                                     "Номер задачи {1}; номера идут от 1 до 99"};
inline constexpr Message numberOutside{
    "Task number {1} lies in no part: the parts {2}, {3}, {4} hold the numbers 1 to {5}",
    "Номер задачи {1} не входит ни в одну часть: части {2}, {3}, {4} содержат номера от 1 до "
    "{5}"};
inline constexpr Message partsTooMany{"The parts hold {1} tasks; at most 99",
                                      "В частях {1} задач; можно не больше 99"};

// Words that fill the arguments above.
inline constexpr Message wordTitle{"title", "Название"};
inline constexpr Message wordCategory{"category", "Категория"};
inline constexpr Message wordName{"name", "Имя"};
inline constexpr Message wordNumber{"a whole number", "целое число"};
inline constexpr Message wordQuoted{"a text in double quotes", "текст в двойных кавычках"};
inline constexpr Message wordTyped{"a typed answer", "вводимого ответа"};
inline constexpr Message wordEdits{"an Edits task", "задачи Edits"};
inline constexpr Message wordChoice{"a choice", "задачи с вариантами"};

// Losses of an export.
inline constexpr Message lossFolded{"The answers are folded on the page: {1} shows them open",
                                    "Ответы на странице свёрнуты: в {1} они открыты"};
inline constexpr Message lossPicture{"The picture webfiles/picture.jpg is not included",
                                     "Картинка webfiles/picture.jpg не включена"};
inline constexpr Message lossMarkup{"The page's own markup is written as its text without tags",
                                    "Собственная разметка страницы записана как текст без тегов"};
inline constexpr Message lossScoring{
    "Scoring: {1} cannot give one point per variant; written as equal weights (right {2}%, "
    "wrong {3}%)",
    "Оценка: {1} не может дать балл за каждый вариант; записаны равные веса (верный {2}%, "
    "неверный {3}%)"};
inline constexpr Message lossEnglishName{"The English name \"{1}\" is not kept",
                                         "Английское имя \"{1}\" не сохранено"};
inline constexpr Message lossNumber{"The task number and the part sizes are not kept",
                                    "Номер задачи и размеры частей не сохранены"};
inline constexpr Message lossEmptyVariant{
    "Variant {1} is empty; {2} needs a text: written as a non-breaking space",
    "Вариант {1} пустой; {2} нужен текст: записан неразрывный пробел"};
inline constexpr Message lossBlanks{"Blanks at the start or end of a text are dropped by {1}",
                                    "Пробелы в начале и в конце текста {1} отбрасывает"};
inline constexpr Message lossWildcard{"The answer holds '*', which Moodle reads as any text",
                                      "В ответе есть '*', которую Moodle читает как любой текст"};
inline constexpr Message lossFolder{"The folder {1} is written as task number {2}",
                                    "Папка {1} записана как номер задачи {2}"};
inline constexpr Message lossNoRight{"No variant is right: {1} cannot score it",
                                     "Нет верного варианта: {1} не может это оценить"};

} // namespace kavo::olympiad::msg
