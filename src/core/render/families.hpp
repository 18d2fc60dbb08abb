// SPDX-License-Identifier: MIT
#pragma once
// The template families of the task kinds: where their templates lie, how the page is put
// together from them, and which templates take a removed variant out of it. The renderer
// and the reader of written tasks both work from this one table.

#include "core/model/task.hpp"

#include <array>
#include <string_view>
#include <vector>

namespace kavo::render {

enum class Scoring { OneVariant, Typed, Variants };

struct Family {
    model::TaskKind kind;
    std::string_view folder; // under System_folder
    int parts;               // task_part2.txt .. task_part<parts>.txt follow the two openings
    // The part template before variant A, between the variants, and after E; empty for the
    // typed answer, whose page is the opening, the condition and task_part2.txt.
    std::vector<int> around;
    // For C, D and E: the Del templates that take the variant's block out, in order.
    std::array<std::vector<std::string_view>, 3> removals;
    Scoring scoring;
    bool costByRemovals; // cost="5", lowered by the Del cost templates per removed variant
};

const Family& familyOf(model::TaskKind kind);

// The page and configuration templates of a family, in the order they are read: the two
// openings, task_part2.txt .., then TASK.txt.
std::vector<std::string> familyFiles(const Family& family);

} // namespace kavo::render
