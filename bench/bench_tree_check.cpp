// SPDX-License-Identifier: MIT
// The check of a whole olympiad (kavo-olympiad check TREE, Menu > Check olympiad), its
// overview rows and the marks of its numbers, for 99 tasks (every kind, Edits tasks among
// them), against reading the same four files of each folder plainly into memory. Conditions
// of 1 KB, of 1 MB in lines and of 1 MB in one line. Each run loads the templates, as the
// window and the command line do. Product and plain reads run interleaved in one process on
// the same tree; prints the medians of the wall and processor times, their ratios and the
// load average; and the plain reads keeping every page until all are read (what holding the
// tree's pages costs on this machine). Usage: bench_tree_check [rounds] [text a figure's name
// holds, to run only those].
#include "core/common/files.hpp"
#include "core/common/memory.hpp"
#include "core/olympiad/tree_check.hpp"
#include "core/olympiad/tree_overview.hpp"
#include "core/render/render.hpp"
#include "core/render/task_state.hpp"
#include "measure.hpp"
#include "plain_io.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;
using kavo::bench::cpuNow;
using kavo::bench::loadAverage;
using kavo::bench::median;
using kavo::bench::peakKiB;
using kavo::bench::timed;
using kavo::bench::Timing;
using kavo::model::Task;
using kavo::model::TaskKind;

namespace {

std::string only; // run only the figures whose name holds this

enum class Shape { Lines, OneLine };

// A condition of about `bytes` bytes with a little markup, distinct per task: lines ending
// in CR LF as typed in the form, or one line.
std::string conditionOf(int number, std::size_t bytes, Shape shape) {
    std::string text = "Task " + std::to_string(number) + ". ";
    const std::string sentence =
        shape == Shape::Lines
            ? "<p>A train covers <b>300 km</b> at 100 km/h &amp; more: 0123456789.</p>\r\n"
            : "A train covers <b>300 km</b> at 100 km/h; how long is it on the way &amp; when "
              "does it arrive? ";
    while (text.size() < bytes)
        text += sentence;
    text.resize(bytes);
    while (text.ends_with('\r') || text.ends_with('\n'))
        text.pop_back();
    return text;
}

Task taskOf(int number, std::size_t conditionBytes, Shape shape) {
    static const TaskKind kinds[] = {TaskKind::SingleChoice,         TaskKind::TypedAnswer,
                                     TaskKind::FoldedChoice,         TaskKind::MultipleChoice,
                                     TaskKind::MultipleChoiceFolded, TaskKind::Edits};
    Task task;
    task.kind = kinds[number % 6];
    task.number = number;
    task.condition = conditionOf(number, conditionBytes, shape);
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
    kavo::model::Olympiad olympiad;
    std::uintmax_t bytes = 0;

    Tree(std::size_t conditionBytes, Shape shape) {
        std::string name = (fs::temp_directory_path() / "kavo-bench-XXXXXX").string();
        if (!mkdtemp(name.data()))
            throw std::runtime_error("cannot create a temporary folder");
        base = name;
        system = base / "System_folder";
        out = base / "Year";
        olympiad = {out, {33, 33, 33}};
        fs::copy(KAVO_SHIPPED_SYSTEM_FOLDER, system, fs::copy_options::recursive);
        kavo::setFileSync(false);
        const auto edits = kavo::render::readEditsTemplates(system);
        for (int n = 1; n <= 99; ++n) {
            const Task task = taskOf(n, conditionBytes, shape);
            const auto folder = olympiad.place(n)->folder;
            kavo::render::writePackage(
                out, task.kind == TaskKind::Edits
                         ? kavo::render::renderEdits(task, edits, folder)
                         : kavo::render::renderTask(task, olympiad, system, kavo::Lang::English));
        }
        kavo::setFileSync(true);
        for (const auto& e : fs::recursive_directory_iterator(out))
            if (e.is_regular_file())
                bytes += e.file_size();
    }
    ~Tree() { fs::remove_all(base); }
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;

    void plainRead() const {
        std::size_t read = 0;
        for (int n = 1; n <= 99; ++n)
            for (const char* file : {"task.asp", "TASK.CFG", "task.out", "task.xml"})
                read += kavo::bench::readFile(out / olympiad.place(n)->folder / file).size();
        if (read == 0)
            throw std::runtime_error("nothing read");
    }
};

// The product and the plain reads in turn, `rounds` times each (after one of each to warm
// the caches); medians and ratios.
void measure(const std::string& name, const Tree& tree, const std::function<void()>& product,
             int rounds) {
    if (name.find(only) == std::string::npos)
        return;
    std::vector<double> wall, cpu, plainWall, plainCpu;
    const std::string loadBefore = loadAverage();
    product();
    tree.plainRead();
    for (int r = 0; r < rounds; ++r) {
        const bool plainFirst = r % 2 == 1;
        if (plainFirst) {
            const auto p = timed([&] { tree.plainRead(); });
            plainWall.push_back(p.wall);
            plainCpu.push_back(p.cpu);
        }
        const auto t = timed(product);
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
        if (!plainFirst) {
            const auto p = timed([&] { tree.plainRead(); });
            plainWall.push_back(p.wall);
            plainCpu.push_back(p.cpu);
        }
    }
    const double us = 1e6;
    std::printf("%-44s %9.0f %9.0f %6.2fx | %9.0f %9.0f %6.2fx  load %s / %s\n", name.c_str(),
                median(wall) * us, median(plainWall) * us, median(wall) / median(plainWall),
                median(cpu) * us, median(plainCpu) * us, median(cpu) / median(plainCpu),
                loadBefore.c_str(), loadAverage().c_str());
    std::fflush(stdout);
}

void figures(const char* label, std::size_t conditionBytes, Shape shape, int rounds) {
    const std::string suffix = std::string(", ") + label;
    static const char* const names[] = {"check", "overview", "marks", "kept plain reads"};
    if (std::none_of(std::begin(names), std::end(names), [&](const char* figure) {
            return (figure + suffix).find(only) != std::string::npos;
        }))
        return;
    const Tree tree(conditionBytes, shape);
    measure(
        "check" + suffix, tree,
        [&] {
            const auto templates = kavo::render::TemplateSet::load(tree.system);
            const auto check = kavo::olympiad::checkTree(templates, tree.out, kavo::Lang::English);
            if (check.folders != 99 || check.count(kavo::olympiad::Severity::Error) != 0)
                throw std::runtime_error("the tree does not check clean");
        },
        rounds);
    measure(
        "overview" + suffix, tree,
        [&] {
            const auto templates = kavo::render::TemplateSet::load(tree.system);
            const auto rows =
                kavo::olympiad::overviewRows(templates, tree.out, kavo::Lang::English);
            if (rows.size() != 99 || rows[98].state.status != kavo::render::FolderStatus::Written)
                throw std::runtime_error("a task does not read back");
        },
        rounds);
    measure(
        "marks" + suffix, tree,
        [&] {
            kavo::render::StateCache cache; // a first fill: nothing kept yet
            const auto states =
                kavo::render::numberStates(kavo::render::TemplateSet::load(tree.system),
                                           tree.olympiad, kavo::Lang::English, &cache);
            if (std::count_if(states.begin(), states.end(), [](const auto& s) {
                    return s.status == kavo::render::FolderStatus::Written;
                }) != 99)
                throw std::runtime_error("a task does not read back");
        },
        rounds);
    // The plain reads, each page kept until all are read: what a reading that kept every
    // condition would cost at least. Fresh memory is not free: this shows what holding the
    // tree's pages costs on this machine.
    measure(
        "kept plain reads" + suffix, tree,
        [&] {
            std::vector<std::string> pages;
            pages.reserve(99);
            for (int n = 1; n <= 99; ++n)
                for (const char* file : {"task.asp", "TASK.CFG", "task.out", "task.xml"}) {
                    auto bytes =
                        kavo::bench::readFile(tree.out / tree.olympiad.place(n)->folder / file);
                    if (std::string_view(file) == "task.asp")
                        pages.push_back(std::move(bytes));
                }
            if (pages.size() != 99)
                throw std::runtime_error("a page was not read");
        },
        rounds);
    std::printf("  peak memory so far %ld MB; this tree %ju MB\n", peakKiB() / 1024,
                tree.bytes >> 20);
}

} // namespace

int main(int argc, char** argv) {
    // The allocator as the program sets it.
    kavo::keepFreedMemory();
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    only = argc > 2 ? argv[2] : "";
    std::printf("%-44s %9s %9s %7s | %9s %9s %7s\n", "medians, us (peer: plain reads)", "wall",
                "peer", "ratio", "cpu", "peer", "ratio");
    try {
        figures("1 KB conditions", 1 << 10, Shape::Lines, rounds * 4);
        figures("1 MB conditions in lines", 1 << 20, Shape::Lines, rounds);
        figures("1 MB conditions in one line", 1 << 20, Shape::OneLine, rounds);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
