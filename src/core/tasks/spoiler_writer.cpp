// SPDX-License-Identifier: MIT
#include "core/common/files.hpp"
#include "core/tasks/writers.hpp"

#include <string>

namespace kavo::tasks {

Package writeSpoiler(TaskForm& form, const WriterInput& input) {
    const auto t = readTemplates(
        input.systemDir, {"file_for_spoiler/task_part1.txt", "file_for_spoiler/task_part1NoPic.txt",
                          "file_for_spoiler/task_part2.txt", "file_for_spoiler/task_part3.txt",
                          "file_for_spoiler/task_part4.txt", "file_for_spoiler/task_part5.txt",
                          "file_for_spoiler/task_part6.txt", "file_for_spoiler/task_part7.txt",
                          "file_for_spoiler/TASK.txt"});
    const auto headers = readDescriptions(input.systemDir);
    const auto where = locateTask(form, input.outputDir);
    // The removal templates a run needs are read now, so a missing one writes nothing.
    const bool removed[3] = {form.CheckBox1, form.CheckBox2, form.CheckBox3};
    Text removals[3];
    for (int i = 0; i < 3; ++i)
        if (removed[i])
            removals[i] =
                readText(input.systemDir / "Del" / ("Spoiler" + std::to_string(i + 1) + ".txt"));

    Package package;
    package.folder = where.place ? std::optional(where.place->folder) : std::nullopt;
    package.page = variantBlocksPage(form, t);
    for (int i = 0; i < 3; ++i)
        if (removed[i])
            removeBlock(package.page, removals[i]);
    package.config = {t[8]};
    package.scoring = singleAnswerScoring(form.Edit1);
    package.description = shapeDescription(headers, form, where, input.lang);
    return package;
}

} // namespace kavo::tasks
