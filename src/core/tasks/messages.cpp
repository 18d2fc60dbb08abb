// SPDX-License-Identifier: MIT
#include "core/tasks/messages.hpp"

#include <string>

namespace kavo::tasks::messages {

// The Russian texts are Windows-1251 bytes; each is given in a comment as it reads.
const Message noTaskNumber{
    "Select the task number you want to add!",
    // Выберите № задачи которую хотите добавить (изменить)!
    "\xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xB9 \xE7\xE0\xE4\xE0\xF7\xE8 \xEA\xEE\xF2\xEE\xF0\xF3\xFE "
    "\xF5\xEE\xF2\xE8\xF2\xE5 \xE4\xEE\xE1\xE0\xE2\xE8\xF2\xFC "
    "(\xE8\xE7\xEC\xE5\xED\xE8\xF2\xFC)!"};
const Message noPictureAnswer{
    "\nIs there a picture in the task?",
    // Укажите есть ли в условии задачи картинка!
    "\n\xD3\xEA\xE0\xE6\xE8\xF2\xE5 \xE5\xF1\xF2\xFC \xEB\xE8 \xE2 \xF3\xF1\xEB\xEE\xE2\xE8\xE8 "
    "\xE7\xE0\xE4\xE0\xF7\xE8 \xEA\xE0\xF0\xF2\xE8\xED\xEA\xE0!"};
const Message noAnswer{"\nEnter the correct answer!",
                       // Введите правильный ответ!
                       "\n\xC2\xE2\xE5\xE4\xE8\xF2\xE5 \xEF\xF0\xE0\xE2\xE8\xEB\xFC\xED\xFB\xE9 "
                       "\xEE\xF2\xE2\xE5\xF2!"};
const Message noFoldAnswer{
    "\nFold answers?",
    // Укажите надо ли сварачивать ответы!
    "\n\xD3\xEA\xE0\xE6\xE8\xF2\xE5 \xED\xE0\xE4\xEE \xEB\xE8 "
    "\xF1\xE2\xE0\xF0\xE0\xF7\xE8\xE2\xE0\xF2\xFC \xEE\xF2\xE2\xE5\xF2\xFB!"};
const Message tooManyTasks{
    "\nThe maximum number of tasks 99!",
    // Максимальное количество задач 99!
    "\n\xCC\xE0\xEA\xF1\xE8\xEC\xE0\xEB\xFC\xED\xEE\xE5 \xEA\xEE\xEB\xE8\xF7\xE5\xF1\xF2\xE2\xEE "
    "\xE7\xE0\xE4\xE0\xF7 99!"};
const Message commaInTypedAnswer{
    "\nTemplateForEdit does not use the symbol ','",
    // В шаблоне TemplateForEdit в ответе не должно быть символа ','
    "\n\xC2 \xF8\xE0\xE1\xEB\xEE\xED\xE5 TemplateForEdit \xE2 \xEE\xF2\xE2\xE5\xF2\xE5 \xED\xE5 "
    "\xE4\xEE\xEB\xE6\xED\xEE \xE1\xFB\xF2\xFC \xF1\xE8\xEC\xE2\xEE\xEB\xE0 ','"};
const Message notLatin{
    "\nThe answer must be written in latin letters only!",
    // Ответ должен быть записан латинской буквой!
    "\n\xCE\xF2\xE2\xE5\xF2 \xE4\xEE\xEB\xE6\xE5\xED \xE1\xFB\xF2\xFC \xE7\xE0\xEF\xE8\xF1\xE0\xED "
    "\xEB\xE0\xF2\xE8\xED\xF1\xEA\xEE\xE9 \xE1\xF3\xEA\xE2\xEE\xE9!"};
const Message notAtoE{
    "\nThe answer should be from 'a' to 'e'!",
    // Ответ должен быть от 'a' до 'e'!
    "\n\xCE\xF2\xE2\xE5\xF2 \xE4\xEE\xEB\xE6\xE5\xED \xE1\xFB\xF2\xFC \xEE\xF2 'a' \xE4\xEE 'e'!"};
const Message notOneVariant{
    "\nThe answer must be a single letter from 'a' to 'e', with nothing else!",
    // Ответ должен быть одной буквой от 'a' до 'e', без других символов!
    "\n\xCE\xF2\xE2\xE5\xF2 \xE4\xEE\xEB\xE6\xE5\xED \xE1\xFB\xF2\xFC \xEE\xE4\xED\xEE\xE9 "
    "\xE1\xF3\xEA\xE2\xEE\xE9 \xEE\xF2 'a' \xE4\xEE 'e', \xE1\xE5\xE7 \xE4\xF0\xF3\xE3\xE8\xF5 "
    "\xF1\xE8\xEC\xE2\xEE\xEB\xEE\xE2!"};
const Message removedVariantNamed{
    "\nThe correct answer names a removed variant!",
    // Правильный ответ указывает на удаленный вариант!
    "\n\xCF\xF0\xE0\xE2\xE8\xEB\xFC\xED\xFB\xE9 \xEE\xF2\xE2\xE5\xF2 "
    "\xF3\xEA\xE0\xE7\xFB\xE2\xE0\xE5\xF2 \xED\xE0 \xF3\xE4\xE0\xEB\xE5\xED\xED\xFB\xE9 "
    "\xE2\xE0\xF0\xE8\xE0\xED\xF2!"};
const Message outsideParts{
    "\nThe task number lies in none of the parts A, B and C: check the numbers of tasks in the "
    "parts!",
    // Номер задачи не входит ни в одну из частей A, B и C: проверьте количество задач в частях!
    "\n\xCD\xEE\xEC\xE5\xF0 \xE7\xE0\xE4\xE0\xF7\xE8 \xED\xE5 \xE2\xF5\xEE\xE4\xE8\xF2 \xED\xE8 "
    "\xE2 \xEE\xE4\xED\xF3 \xE8\xE7 \xF7\xE0\xF1\xF2\xE5\xE9 A, B \xE8 C: "
    "\xEF\xF0\xEE\xE2\xE5\xF0\xFC\xF2\xE5 \xEA\xEE\xEB\xE8\xF7\xE5\xF1\xF2\xE2\xEE "
    "\xE7\xE0\xE4\xE0\xF7 \xE2 \xF7\xE0\xF1\xF2\xFF\xF5!"};

const Message noOwnNames{
    "\nEnter the Russian and English task names, or check the default names!",
    // Введите русское и английское названия задачи или отметьте названия по умолчанию!
    "\n\xC2\xE2\xE5\xE4\xE8\xF2\xE5 \xF0\xF3\xF1\xF1\xEA\xEE\xE5 \xE8 "
    "\xE0\xED\xE3\xEB\xE8\xE9\xF1\xEA\xEE\xE5 \xED\xE0\xE7\xE2\xE0\xED\xE8\xFF "
    "\xE7\xE0\xE4\xE0\xF7\xE8 \xE8\xEB\xE8 \xEE\xF2\xEC\xE5\xF2\xFC\xF2\xE5 "
    "\xED\xE0\xE7\xE2\xE0\xED\xE8\xFF \xEF\xEE \xF3\xEC\xEE\xEB\xF7\xE0\xED\xE8\xFE!"};

} // namespace kavo::tasks::messages

namespace kavo::tasks {

std::string shortDescriptionReport(std::string_view lang, std::string_view file,
                                   std::size_t minimum) {
    // An error report, shown like every other one, is UTF-8.
    const auto count = std::to_string(minimum);
    if (lang == "En")
        return "The description template " + std::string(file) +
               " is too short: it must hold at least " + count + " characters.";
    return "Шаблон описания " + std::string(file) +
           " слишком короткий: в нем должно быть не "
           "меньше " +
           count + " символов.";
}

} // namespace kavo::tasks
