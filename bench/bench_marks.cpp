// SPDX-License-Identifier: MIT
// The marks of the number lists and the rows of the olympiad overview for a tree of 99 tasks
// (every kind, Edits tasks among them), against reading the same four files of each folder
// plainly into memory. The marks and the rows load the templates once per run, as a refresh
// of the window does.
#include "core/common/files.hpp"
#include "core/olympiad/tree_overview.hpp"
#include "core/render/render.hpp"
#include "core/render/task_state.hpp"
#include "plain_io.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;
using kavo::model::Task;
using kavo::model::TaskKind;

namespace {

Task taskOf(int number) {
    static const TaskKind kinds[] = {TaskKind::SingleChoice,         TaskKind::TypedAnswer,
                                     TaskKind::FoldedChoice,         TaskKind::MultipleChoice,
                                     TaskKind::MultipleChoiceFolded, TaskKind::Edits};
    Task task;
    task.kind = kinds[number % 6];
    task.number = number;
    task.condition = "How many degrees are in the sum of the angles of a triangle number " +
                     std::to_string(number) + "?\r\n<b>Think</b> before you answer.";
    switch (task.kind) {
    case TaskKind::TypedAnswer:
        task.typedAnswer = "180";
        break;
    case TaskKind::Edits:
        task.subQuestions = {{"Hours?", "3"}, {"Arrival?", "13:00"}, {"Stops?", "2"}};
        task.title = "Train " + std::to_string(number);
        break;
    default:
        task.variants = {"90", "180", "270", "360", std::nullopt};
        task.answer = 1;
        task.answers = 0b110;
    }
    return task;
}

// 99 tasks in parts of 33 under a fresh temporary folder beside a copy of System_folder.
struct Tree {
    fs::path base;
    fs::path system;
    kavo::model::Olympiad olympiad;

    Tree() {
        std::string name = (fs::temp_directory_path() / "kavo-bench-XXXXXX").string();
        if (!mkdtemp(name.data()))
            throw std::runtime_error("cannot create a temporary folder");
        base = name;
        system = base / "System_folder";
        fs::copy(KAVO_SHIPPED_SYSTEM_FOLDER, system, fs::copy_options::recursive);
        olympiad = {base / "Year", {33, 33, 33}};
        kavo::setFileSync(false);
        const auto edits = kavo::render::readEditsTemplates(system);
        for (int n = 1; n <= 99; ++n) {
            const Task task = taskOf(n);
            const auto folder = olympiad.place(n)->folder;
            kavo::render::writePackage(
                olympiad.outputDir,
                task.kind == TaskKind::Edits
                    ? kavo::render::renderEdits(task, edits, folder)
                    : kavo::render::renderTask(task, olympiad, system, kavo::Lang::English));
        }
        kavo::setFileSync(true);
    }
    ~Tree() { fs::remove_all(base); }
};

const Tree& tree() {
    static const Tree built;
    return built;
}

void BM_PlainRead(benchmark::State& state) {
    const auto& t = tree();
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (int n = 1; n <= 99; ++n)
            for (const char* file : {"task.asp", "TASK.CFG", "task.out", "task.xml"})
                bytes +=
                    kavo::bench::readFile(t.olympiad.outputDir / t.olympiad.place(n)->folder / file)
                        .size();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

void BM_Marks(benchmark::State& state) {
    const auto& t = tree();
    for (auto _ : state) {
        const auto templates = kavo::render::TemplateSet::load(t.system);
        auto states = kavo::render::numberStates(templates, t.olympiad, kavo::Lang::English);
        if (states.size() != 99 || states[98].status != kavo::render::FolderStatus::Written)
            state.SkipWithError("a task did not read back");
        benchmark::DoNotOptimize(states);
    }
}
BENCHMARK(BM_Marks)->Unit(benchmark::kMillisecond);

void BM_OverviewRows(benchmark::State& state) {
    const auto& t = tree();
    for (auto _ : state) {
        const auto templates = kavo::render::TemplateSet::load(t.system);
        auto rows =
            kavo::olympiad::overviewRows(templates, t.olympiad.outputDir, kavo::Lang::English);
        if (rows.size() != 99)
            state.SkipWithError("a task is missing");
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_OverviewRows)->Unit(benchmark::kMillisecond);

// A refresh of the window with nothing changed since the last: the cache of the states
// looks at the files' stamps and reads nothing again.
void BM_MarksRefreshed(benchmark::State& state) {
    const auto& t = tree();
    kavo::render::StateCache cache;
    kavo::render::numberStates(kavo::render::TemplateSet::load(t.system), t.olympiad,
                               kavo::Lang::English, &cache);
    for (auto _ : state) {
        const auto templates = kavo::render::TemplateSet::load(t.system);
        auto states =
            kavo::render::numberStates(templates, t.olympiad, kavo::Lang::English, &cache);
        benchmark::DoNotOptimize(states);
    }
}
BENCHMARK(BM_MarksRefreshed)->Unit(benchmark::kMillisecond);

void BM_OverviewRefreshed(benchmark::State& state) {
    const auto& t = tree();
    kavo::render::StateCache cache;
    kavo::olympiad::overviewRows(kavo::render::TemplateSet::load(t.system), t.olympiad.outputDir,
                                 kavo::Lang::English, &cache);
    for (auto _ : state) {
        const auto templates = kavo::render::TemplateSet::load(t.system);
        auto rows = kavo::olympiad::overviewRows(templates, t.olympiad.outputDir,
                                                 kavo::Lang::English, &cache);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_OverviewRefreshed)->Unit(benchmark::kMillisecond);

void BM_ReadOnly(benchmark::State& state) {
    const auto& t = tree();
    const auto templates = kavo::render::TemplateSet::load(t.system);
    for (auto _ : state) {
        for (int n = 1; n <= 99; ++n) {
            auto r =
                kavo::render::readAnyTask(templates, t.olympiad, t.olympiad.place(n)->folder, n);
            benchmark::DoNotOptimize(r);
        }
    }
}
BENCHMARK(BM_ReadOnly)->Unit(benchmark::kMillisecond);

void BM_LoadOnly(benchmark::State& state) {
    const auto& t = tree();
    for (auto _ : state) {
        auto templates = kavo::render::TemplateSet::load(t.system);
        benchmark::DoNotOptimize(templates);
    }
}
BENCHMARK(BM_LoadOnly)->Unit(benchmark::kMillisecond);

} // namespace
