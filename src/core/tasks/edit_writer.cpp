// SPDX-License-Identifier: MIT
#include "core/tasks/writers.hpp"

#include <algorithm>

namespace kavo::tasks {

static constexpr std::string_view englishPrompt = "Enter the correct answer";
// Введите корректный ответ
static constexpr std::string_view russianPrompt =
    "\xC2\xE2\xE5\xE4\xE8\xF2\xE5 \xEA\xEE\xF0\xF0\xE5\xEA\xF2\xED\xFB\xE9 \xEE\xF2\xE2\xE5\xF2";

bool isRussianCondition(std::string_view condition) {
    // Lowercase Cyrillic letters only: capitals and "ё" are left out.
    const auto lowercase = std::count_if(condition.begin(), condition.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0xE0;
    });
    return lowercase >= 3;
}

Package writeEdit(TaskForm& form, const WriterInput& input) {
    form.RadioButton1 = isRussianCondition(form.Memo1);
    form.RadioButton2 = !form.RadioButton1;

    const auto t = readTemplates(
        input.systemDir, {"file_for_edit/task_part1.txt", "file_for_edit/task_part1NoPic.txt",
                          "file_for_edit/task_part2.txt", "file_for_edit/TASK.txt"});
    const auto headers = readDescriptions(input.systemDir);

    const auto where = locateTask(form, input.outputDir);
    Package package;
    package.folder = where.place ? std::optional(where.place->folder) : std::nullopt;
    package.page = {pageOpening(form, t[0], t[1]), form.Memo1, t[2]};
    package.page.resize(package.page.size() + 10);
    if (form.RadioButton1)
        package.page =
            splitLines(replaceAll(joinPieces(package.page), englishPrompt, russianPrompt));
    package.config = {t[3]};
    package.scoring = {"countby=test", "[1]", "ans1=" + form.Edit1, "score[1]=1", "total=score[1]"};
    package.description = shapeDescription(headers, form, where, input.lang);
    return package;
}

} // namespace kavo::tasks
