// SPDX-License-Identifier: MIT
#include "core/tasks/multichoice_writer.hpp"
#include "core/common/files.hpp"

#include "core/tasks/writers.hpp"

#include <array>
#include <string>

namespace kavo::tasks {

// The hidden cost fields of the form: a multiple-choice task is worth five points.
static constexpr std::string_view Edit5 = "cost=\"1\"";
static constexpr std::string_view Edit6 = "cost=\"5\"";

int removalCount(const TaskForm& form) {
    return int(form.CheckBox1) + int(form.CheckBox2) + int(form.CheckBox3);
}

Pieces multipleChoiceScoring(std::string_view answer, int removed) {
    Pieces lines{"countby=test"};
    for (int i = 1; i <= 5; ++i) {
        const char lower = static_cast<char>('a' + i - 1), upper = static_cast<char>('A' + i - 1);
        const bool right = answer.find(lower) != std::string_view::npos ||
                           answer.find(upper) != std::string_view::npos;
        const auto n = std::to_string(i);
        lines.push_back("[" + n + "]");
        lines.push_back("ans" + n + "=" + (right ? "1" : ""));
        lines.push_back("score[" + n + "]=1");
    }
    lines.push_back("total=score[1]+score[2]+score[3]+score[4]+score[5]");
    // The score line goes before [k] so that it is deleted whole, and so does the term of
    // the total line; the emptied lines stay.
    for (int k = 5; k > 5 - removed; --k) {
        const auto n = std::to_string(k);
        for (const auto& what :
             {"score[" + n + "]=1", "+score[" + n + "]", "[" + n + "]", "ans" + n + "="})
            lines = deleteInLines(lines, what);
    }
    return lines;
}

static Package writeFamily(TaskForm& form, const WriterInput& input, const std::string& family) {
    auto path = [&family](const char* name) { return family + "/" + name; };
    const auto t =
        readTemplates(input.systemDir,
                      {path("task_part1.txt"), path("task_part1NoPic.txt"), path("task_part2.txt"),
                       path("task_part3.txt"), path("task_part4.txt"), path("task_part5.txt"),
                       path("task_part6.txt"), path("task_part7.txt"), path("TASK.txt")});
    auto headers = readDescriptions(input.systemDir);
    const auto where = locateTask(form, input.outputDir);
    // The removal and cost templates a run needs are read now, so that a missing one
    // writes nothing.
    const bool flags[3] = {form.CheckBox1, form.CheckBox2, form.CheckBox3};
    const int removed = removalCount(form);
    const auto del = input.systemDir / "Del";
    Text choice, multiChoice[3], costFind, costPut;
    if (removed > 0) {
        choice = readText(del / "Choice.txt");
        for (int i = 0; i < 3; ++i)
            if (flags[i])
                multiChoice[i] = readText(del / ("MultiChoice" + std::to_string(i + 1) + ".txt"));
        costFind = readText(del / "cost.txt");
        costPut = readText(del / ("cost" + std::to_string(removed) + ".txt"));
    }

    headers.taskXml = replaceAll(headers.taskXml, Edit5, Edit6);
    headers.taskXml2 = replaceAll(headers.taskXml2, Edit5, Edit6);

    Package package;
    package.folder = where.place ? std::optional(where.place->folder) : std::nullopt;
    package.page = variantBlocksPage(form, t);
    for (int i = 0; i < 3; ++i)
        if (flags[i]) {
            removeBlock(package.page, choice);
            removeBlock(package.page, multiChoice[i]);
        }
    package.config = {t[8]};
    package.scoring = multipleChoiceScoring(form.Edit1, removed);
    package.description = shapeDescription(headers, form, where, input.lang);
    if (removed > 0)
        package.description =
            splitLines(replaceAll(joinPieces(package.description), costFind, costPut));
    return package;
}

Package writeMultipleChoice(TaskForm& form, const WriterInput& input) {
    return writeFamily(form, input, "file_for_MultipleChoice");
}

Package writeMultipleChoiceSpoiler(TaskForm& form, const WriterInput& input) {
    return writeFamily(form, input, "file_for_MultipleChoice_Spoiler");
}

} // namespace kavo::tasks
