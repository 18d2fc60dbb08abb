// SPDX-License-Identifier: MIT
// The check of a whole olympiad (kavo-olympiad check TREE, Menu > Check olympiad) of 99 tasks
// against reading the same four files of each folder plainly into memory, with conditions of
// 1 KB and of 1 MB. The check loads the templates once per run, as the window and the command
// line do.
#include "core/common/files.hpp"
#include "core/olympiad/tree_check.hpp"
#include "core/render/render.hpp"
#include "plain_io.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;
using kavo::model::Task;
using kavo::model::TaskKind;

namespace {

// A condition of about `bytes` bytes: sentences with a little markup, distinct per task.
std::string conditionOf(int number, std::size_t bytes) {
    std::string text = "Task " + std::to_string(number) + ". ";
    const std::string sentence = "A train covers <b>300 km</b> at 100 km/h; how long is it "
                                 "on the way &amp; when does it arrive? ";
    while (text.size() < bytes)
        text += sentence;
    text.resize(bytes);
    return text;
}

Task taskOf(int number, std::size_t conditionBytes) {
    static const TaskKind kinds[] = {TaskKind::SingleChoice,         TaskKind::TypedAnswer,
                                     TaskKind::FoldedChoice,         TaskKind::MultipleChoice,
                                     TaskKind::MultipleChoiceFolded, TaskKind::Edits};
    Task task;
    task.kind = kinds[number % 6];
    task.number = number;
    task.condition = conditionOf(number, conditionBytes);
    switch (task.kind) {
    case TaskKind::TypedAnswer:
        task.typedAnswer = "3";
        break;
    case TaskKind::Edits:
        task.subQuestions = {{"Hours?", "3"}, {"Arrival?", "13:00"}};
        task.title = "Train " + std::to_string(number);
        break;
    default:
        task.variants = {"1", "2", "3", "4", std::nullopt};
        task.answer = number % 4;
        task.answers = 0b110;
    }
    return task;
}

// 99 tasks in parts of 33 under a fresh temporary folder beside a copy of System_folder.
struct Tree {
    fs::path base, system, out;

    explicit Tree(std::size_t conditionBytes) {
        std::string name = (fs::temp_directory_path() / "kavo-bench-XXXXXX").string();
        if (!mkdtemp(name.data()))
            throw std::runtime_error("cannot create a temporary folder");
        base = name;
        system = base / "System_folder";
        out = base / "Year";
        fs::copy(KAVO_SHIPPED_SYSTEM_FOLDER, system, fs::copy_options::recursive);
        const kavo::model::Olympiad olympiad{out, {33, 33, 33}};
        kavo::setFileSync(false);
        const auto edits = kavo::render::readEditsTemplates(system);
        for (int n = 1; n <= 99; ++n) {
            const Task task = taskOf(n, conditionBytes);
            const auto folder = olympiad.place(n)->folder;
            kavo::render::writePackage(
                out, task.kind == TaskKind::Edits
                         ? kavo::render::renderEdits(task, edits, folder)
                         : kavo::render::renderTask(task, olympiad, system, kavo::Lang::English));
        }
        kavo::setFileSync(true);
    }
    ~Tree() { fs::remove_all(base); }
};

const Tree& tree(std::size_t conditionBytes) {
    static std::map<std::size_t, std::unique_ptr<Tree>> built;
    auto& slot = built[conditionBytes];
    if (!slot)
        slot = std::make_unique<Tree>(conditionBytes);
    return *slot;
}

void BM_PlainRead(benchmark::State& state) {
    const auto& t = tree(static_cast<std::size_t>(state.range(0)));
    const kavo::model::Olympiad olympiad{t.out, {33, 33, 33}};
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (int n = 1; n <= 99; ++n)
            for (const char* file : {"task.asp", "TASK.CFG", "task.out", "task.xml"})
                bytes += kavo::bench::readFile(t.out / olympiad.place(n)->folder / file).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_PlainRead)->Arg(1 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

void BM_CheckTree(benchmark::State& state) {
    const auto& t = tree(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const auto templates = kavo::render::TemplateSet::load(t.system);
        auto check = kavo::olympiad::checkTree(templates, t.out, kavo::Lang::English);
        if (check.folders != 99 || check.count(kavo::olympiad::Severity::Error) != 0)
            state.SkipWithError("the tree does not check clean");
        benchmark::DoNotOptimize(check);
    }
}
BENCHMARK(BM_CheckTree)->Arg(1 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

} // namespace
