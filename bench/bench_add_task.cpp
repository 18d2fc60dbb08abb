// SPDX-License-Identifier: MIT
// Add task of a five-variant task of each template, and the Edits save, against the
// physical limit of what they leave on disk: a new task folder with its webfiles folder,
// four new files and the task counter replaced atomically. Both sides start each run from
// a tree without the task folder (removed outside the timing); neither syncs to disk.
#include "core/edits/edits_task.hpp"
#include "core/tasks/add_task.hpp"

#include <benchmark/benchmark.h>

#include "plain_io.hpp"
#include "sample_forms.hpp"

#include <array>
#include <cstdlib>
#include <stdexcept>
#include <sys/stat.h>

namespace fs = std::filesystem;
using kavo::bench::Condition;
using kavo::bench::createFile;
using kavo::bench::editsForm;
using kavo::bench::readFile;
using kavo::bench::replaceFile;
using kavo::tasks::TaskForm;

namespace {

// A working folder with a copy of the shipped System_folder, removed at exit.
struct Workplace {
    fs::path root;
    kavo::tasks::AppValues app;

    Workplace() {
        std::string name = (fs::temp_directory_path() / "kavo-bench-XXXXXX").string();
        if (!mkdtemp(name.data()))
            throw std::runtime_error("cannot create a temporary folder");
        root = name;
        fs::copy(KAVO_SHIPPED_SYSTEM_FOLDER, root / "System_folder", fs::copy_options::recursive);
        replaceFile(root / "System_folder" / "Authorisation" / "save.txt", "0\r\n");
        fs::create_directory(root / "Year");
        app = {kavo::Lang::English, root, root / "Year", 5};
    }
    ~Workplace() { fs::remove_all(root); }

    fs::path counter() const {
        return root / "System_folder" / "Authorisation" / "Tasks_in_view.txt";
    }
};

TaskForm formFor(int kind, std::string condition) {
    auto form = kavo::tasks::makeStartForm();
    form.ListBox1.items = {"1", "2", "3", "4", "5"};
    form.ListBox1.selected = 0;
    form.ListBox2.selected = 1;
    form.ListBox3.selected = kind == 2 || kind == 4 ? 0 : 1; // folded
    form.Memo1 = std::move(condition);
    form.VariantOtveta_1 = kind == 1 ? "" : "<b>4</b>";
    form.VariantOtveta_2 = "6";
    form.VariantOtveta_3 = "7";
    form.VariantOtveta_4 = "9";
    form.VariantOtveta_5 = "10";
    form.Edit1 = kind == 1 ? "7" : kind >= 3 ? "c,e" : "c";
    form.Edit2 = "5";
    return form;
}

const char* kindName(int kind) {
    static const char* names[] = {"single choice", "typed answer", "folded answers",
                                  "multiple choice", "multiple choice folded"};
    return names[kind];
}

void BM_AddTask(benchmark::State& state) {
    Workplace w;
    const auto form = formFor(static_cast<int>(state.range(0)), Condition);
    const fs::path folder = w.app.OutputDir / "1";
    for (auto _ : state) {
        auto copy = form;
        if (!kavo::tasks::addTask(copy, w.app).written)
            state.SkipWithError("nothing written");
        state.PauseTiming();
        fs::remove_all(folder);
        state.ResumeTiming();
    }
    state.SetLabel(kindName(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_AddTask)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void BM_EditsSave(benchmark::State& state) {
    Workplace w;
    const auto templates = kavo::edits::readEditsTemplates(w.root);
    const auto form = editsForm();
    const fs::path folder = w.app.OutputDir / "1";
    for (auto _ : state) {
        auto copy = form;
        if (!kavo::edits::saveEditsTask(copy, templates, kavo::model::Olympiad{w.app.OutputDir, {}},
                                        kavo::Lang::English)
                 .written)
            state.SkipWithError("nothing written");
        state.PauseTiming();
        fs::remove_all(folder);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EditsSave)->Unit(benchmark::kMicrosecond);

// The physical limit: the package's folders and files created new, the counter replaced.
struct PackageBytes {
    std::array<std::string, 4> files;
    std::string counter;
};
constexpr std::array<const char*, 4> FileNames = {"task.asp", "TASK.CFG", "task.out", "task.xml"};

PackageBytes writtenBy(const fs::path& folder, const fs::path& counter) {
    PackageBytes bytes;
    for (std::size_t i = 0; i < FileNames.size(); ++i)
        bytes.files[i] = readFile(folder / FileNames[i]);
    bytes.counter = readFile(counter);
    return bytes;
}

void writeLimit(benchmark::State& state, const fs::path& folder, const fs::path& counter,
                const PackageBytes& bytes) {
    for (auto _ : state) {
        if (::mkdir(folder.c_str(), 0755) != 0 || ::mkdir((folder / "webfiles").c_str(), 0755) != 0)
            kavo::bench::fail("cannot create", folder);
        for (std::size_t i = 0; i < FileNames.size(); ++i)
            createFile(folder / FileNames[i], bytes.files[i]);
        replaceFile(counter, bytes.counter);
        state.PauseTiming();
        fs::remove_all(folder);
        state.ResumeTiming();
    }
}

void BM_PlainPackage(benchmark::State& state) {
    Workplace w;
    auto form = formFor(static_cast<int>(state.range(0)), Condition);
    kavo::tasks::addTask(form, w.app);
    const fs::path folder = w.app.OutputDir / "1";
    const auto bytes = writtenBy(folder, w.counter());
    fs::remove_all(folder);
    writeLimit(state, folder, w.counter(), bytes);
    state.SetLabel(kindName(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_PlainPackage)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void BM_PlainEditsPackage(benchmark::State& state) {
    Workplace w;
    auto form = editsForm();
    kavo::edits::saveEditsTask(form, kavo::edits::readEditsTemplates(w.root),
                               kavo::model::Olympiad{w.app.OutputDir, {}}, kavo::Lang::English);
    const fs::path folder = w.app.OutputDir / "1";
    const auto bytes = writtenBy(folder, w.counter());
    fs::remove_all(folder);
    writeLimit(state, folder, w.counter(), bytes);
}
BENCHMARK(BM_PlainEditsPackage)->Unit(benchmark::kMicrosecond);

// A single-choice task whose condition is about 10 MB of typical page text, against a plain
// read and write of as many bytes. Kept on the current Add task as it stands.
std::string largeCondition() {
    static constexpr std::string_view unit = "<p>Solve <b>2x + 3 = 7</b> and choose the root. <img "
                                             "src=\"webfiles/picture.jpg\"></p>\r\n";
    std::string text;
    text.reserve((10 << 20) + unit.size());
    while (text.size() < (10u << 20))
        text += unit;
    return text;
}

void BM_AddTask10MB(benchmark::State& state) {
    Workplace w;
    const auto form = formFor(0, largeCondition());
    const fs::path folder = w.app.OutputDir / "1";
    for (auto _ : state) {
        auto copy = form;
        if (!kavo::tasks::addTask(copy, w.app).written)
            state.SkipWithError("nothing written");
        state.PauseTiming();
        fs::remove_all(folder);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddTask10MB)->Unit(benchmark::kMillisecond);

// Reads a file of the condition's size and writes its bytes to a new file.
void BM_ReadWrite10MB(benchmark::State& state) {
    Workplace w;
    const fs::path source = w.root / "condition.txt";
    createFile(source, largeCondition());
    const fs::path target = w.root / "copy.txt";
    for (auto _ : state) {
        const std::string bytes = readFile(source);
        createFile(target, bytes);
        state.PauseTiming();
        fs::remove(target);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReadWrite10MB)->Unit(benchmark::kMillisecond);

} // namespace
