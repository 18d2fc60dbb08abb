// SPDX-License-Identifier: MIT
#include "core/render/families.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace kavo::render {

using model::TaskKind;

namespace {

// The folded and multiple-choice pages put their variants in the same order; both
// multiple-choice families take a removed variant out the same way.
const std::vector<int> variantBlocks{5, 2, 3, 4, 6, 7};
const std::array<std::vector<std::string_view>, 3> multipleRemovals{{
    {"Choice.txt", "MultiChoice1.txt"},
    {"Choice.txt", "MultiChoice2.txt"},
    {"Choice.txt", "MultiChoice3.txt"},
}};

const Family families[] = {
    {TaskKind::SingleChoice,
     "file",
     4,
     {2, 3, 3, 3, 3, 4},
     // Every separator is the same text, so the removed blocks of C and E look alike.
     {{{"Radio1.txt"}, {"Radio2.txt"}, {"Radio1.txt"}}},
     Scoring::OneVariant,
     false},
    {TaskKind::TypedAnswer, "file_for_edit", 2, {}, {}, Scoring::Typed, false},
    {TaskKind::FoldedChoice,
     "file_for_spoiler",
     7,
     variantBlocks,
     {{{"Spoiler1.txt"}, {"Spoiler2.txt"}, {"Spoiler3.txt"}}},
     Scoring::OneVariant,
     false},
    {TaskKind::MultipleChoice, "file_for_MultipleChoice", 7, variantBlocks, multipleRemovals,
     Scoring::Variants, true},
    {TaskKind::MultipleChoiceFolded, "file_for_MultipleChoice_Spoiler", 7, variantBlocks,
     multipleRemovals, Scoring::Variants, true},
};

} // namespace

const Family& familyOf(TaskKind kind) {
    const auto* found = std::find_if(std::begin(families), std::end(families),
                                     [kind](const Family& f) { return f.kind == kind; });
    if (found == std::end(families))
        throw std::logic_error("no template family for this kind of task");
    return *found;
}

std::vector<std::string> familyFiles(const Family& family) {
    const std::string folder(family.folder);
    std::vector<std::string> files{folder + "/task_part1.txt", folder + "/task_part1NoPic.txt"};
    for (int i = 2; i <= family.parts; ++i)
        files.push_back(folder + "/task_part" + std::to_string(i) + ".txt");
    files.push_back(folder + "/TASK.txt");
    return files;
}

} // namespace kavo::render
