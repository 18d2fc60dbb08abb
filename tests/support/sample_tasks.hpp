// SPDX-License-Identifier: MIT
#pragma once
// Small tasks of every kind for the tests of task trees.

#include "core/model/task.hpp"
#include "support/test_support.hpp"

namespace kavo::test {

// A task of the form: variants A to D with E removed, B right (A and C for a multiple
// choice), or the typed answer 4.
inline model::Task formTask(model::TaskKind kind, int number) {
    model::Task task;
    task.kind = kind;
    task.number = number;
    task.condition = "How much is 2 + 2?";
    if (kind == model::TaskKind::TypedAnswer) {
        task.typedAnswer = "4";
        return task;
    }
    task.variants = {"3", "4", "5", "6", std::nullopt};
    task.answer = 1;
    task.answers = 0b101;
    return task;
}

// A choice task with variants Alpha to Echo, those whose bit is set in `removed` removed; a
// condition with markup, a line break and leading blanks.
inline model::Task choiceTask(model::TaskKind kind, int number, unsigned removed) {
    model::Task task;
    task.kind = kind;
    task.number = number;
    task.condition = "Which is <b>right</b>?\r\n  <i>pick</i> one";
    const char* texts[] = {"Alpha", "Bravo", "Charlie", "Delta", "Echo"};
    for (int i = 0; i < model::VariantCount; ++i)
        if (!(removed >> i & 1u))
            task.variants[i] = texts[i];
    return task;
}

// An Edits task with two sub-questions and a Cyrillic name, in the folder given.
inline model::Task editsTask(const char* folder) {
    model::Task task;
    task.kind = model::TaskKind::Edits;
    task.condition = "A train covers 300 km at 100 km/h.";
    task.subQuestions = {{"Hours?", "3"}, {"Arrival?", "13:00"}};
    task.title = cp1251("Поезд «Ласточка»");
    task.folder = folder;
    return task;
}

} // namespace kavo::test
