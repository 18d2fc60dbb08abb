// SPDX-License-Identifier: MIT
#include "core/common/files.hpp"
#include "core/tasks/writers.hpp"

#include <tuple>

namespace kavo::tasks {

Package writeRadio(TaskForm& form, const WriterInput& input) {
    const auto t = readTemplates(
        input.systemDir, {"file/task_part1.txt", "file/task_part1NoPic.txt", "file/task_part2.txt",
                          "file/task_part3.txt", "file/task_part4.txt", "file/TASK.txt"});
    const auto headers = readDescriptions(input.systemDir);
    const auto where = locateTask(form, input.outputDir);
    // The removal templates a run needs are read now, so a missing one writes nothing, in
    // the order the removals use them: C Radio1, D Radio2, E Radio1.
    const auto del = input.systemDir / "Del";
    Text radio1, radio2;
    if (form.CheckBox1)
        radio1 = readText(del / "Radio1.txt");
    if (form.CheckBox2)
        radio2 = readText(del / "Radio2.txt");
    if (form.CheckBox3 && !form.CheckBox1)
        radio1 = readText(del / "Radio1.txt");
    const auto& [part1, part1NoPic, part2, part3, part4, config] =
        std::tie(t[0], t[1], t[2], t[3], t[4], t[5]);

    Package package;
    package.folder = where.place ? std::optional(where.place->folder) : std::nullopt;
    package.page = {pageOpening(form, part1, part1NoPic),
                    form.Memo1,
                    part2,
                    form.VariantOtveta_1,
                    part3,
                    form.VariantOtveta_2,
                    part3,
                    form.VariantOtveta_3,
                    part3,
                    form.VariantOtveta_4,
                    part3,
                    form.VariantOtveta_5,
                    part4};
    // Every separator is the same text, so the removed blocks of C and E look alike.
    if (form.CheckBox1)
        removeBlock(package.page, radio1);
    if (form.CheckBox2)
        removeBlock(package.page, radio2);
    if (form.CheckBox3)
        removeBlock(package.page, radio1);
    package.config = {config};
    package.scoring = singleAnswerScoring(form.Edit1);
    package.description = shapeDescription(headers, form, where, input.lang);
    return package;
}

} // namespace kavo::tasks
