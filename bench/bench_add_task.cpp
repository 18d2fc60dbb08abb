// SPDX-License-Identifier: MIT
// Add task of a five-variant task of each template against writing the same four files
// with plain stream writes, in the same run and the same folder.
#include "core/tasks/add_task.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;
using kavo::tasks::TaskForm;

namespace {

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void put(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

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
        put(root / "System_folder" / "Authorisation" / "save.txt", "0\r\n");
        app = {kavo::Lang::English, root, root / "Year", 5};
    }
    ~Workplace() { fs::remove_all(root); }
};

TaskForm formFor(int kind) {
    auto form = kavo::tasks::makeStartForm();
    form.ListBox1.items = {"1", "2", "3", "4", "5"};
    form.ListBox1.selected = 0;
    form.ListBox2.selected = 1;
    form.ListBox3.selected = kind == 2 || kind == 4 ? 0 : 1; // folded
    form.Memo1 = "<p>Which of these is a prime number?</p>";
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
    const auto form = formFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto copy = form;
        if (!kavo::tasks::addTask(copy, w.app).written)
            state.SkipWithError("nothing written");
    }
    state.SetLabel(kindName(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_AddTask)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// The same four files, their bytes prepared by one Add task, written with ofstream.
void BM_PlainWrites(benchmark::State& state) {
    Workplace w;
    auto form = formFor(static_cast<int>(state.range(0)));
    kavo::tasks::addTask(form, w.app);
    const auto folder = w.app.OutputDir / "1";
    const char* names[] = {"task.asp", "TASK.CFG", "task.out", "task.xml"};
    std::string bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = bytesOf(folder / names[i]);
    for (auto _ : state)
        for (int i = 0; i < 4; ++i)
            put(folder / names[i], bytes[i]);
    state.SetLabel(kindName(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_PlainWrites)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

} // namespace
