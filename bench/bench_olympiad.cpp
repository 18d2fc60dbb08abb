// SPDX-License-Identifier: MIT
// The check of an olympiad file (read, map, every problem) for 99 to 10,000 questions in GIFT
// and in Moodle XML, the import and write of a 99-task olympiad from either against 99 Add
// tasks of the same tasks, and the export of 99 tasks to each format.
#include "core/common/lang.hpp"
#include "core/olympiad/export.hpp"
#include "core/olympiad/gift_import.hpp"
#include "core/olympiad/olympiad_write.hpp"
#include "core/tasks/add_task.hpp"

#include <benchmark/benchmark.h>

#include "plain_io.hpp"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

using namespace kavo::olympiad;

// A file of n questions of every kind, Russian and English, as teachers write them.
std::string olympiadFile(int n) {
    std::string text = "$CATEGORY: kavo/parts/33,33,33\n\n";
    for (int i = 0; i < n; ++i) {
        const auto k = std::to_string(i);
        switch (i % 5) {
        case 0:
            text += "::Q" + k + "::Сколько будет " + k + " + 1? {=" + std::to_string(i + 1) +
                    " ~0 ~1 ~2}\n\n";
            break;
        case 1:
            text += "// kavo: folded\n::Q" + k +
                    "::[html]Which are <b>prime</b>?{~%50%2 ~%50%3 ~%-100%4}\n\n";
            break;
        case 2:
            text += "::Q" + k + "::The Earth goes round the Sun.{T}\n\n";
            break;
        case 3:
            text += "::Q" + k + "::Столица России?\nНапишите одним словом. {=Москва}\n\n";
            break;
        default:
            text += "// kavo: edits name=\"Движение\"\nA train covers 300 km at 100 km/h.\n\n"
                    "// kavo: sub\nHours?{=3}\n\n// kavo: sub\nArrival?{=13\\:00}\n\n";
        }
    }
    return text;
}

// The same questions in Moodle XML: multichoice single and multiple, truefalse, shortanswer
// and a cloze of two typed gaps.
std::string moodleFile(int n) {
    const auto question = [](const std::string& type, const std::string& name,
                             const std::string& text, const std::string& body) {
        return "  <question type=\"" + type + "\">\n    <name><text>" + name +
               "</text></name>\n    <questiontext format=\"html\"><text>" + text +
               "</text></questiontext>\n" + body + "  </question>\n";
    };
    const auto answer = [](const std::string& fraction, const std::string& text) {
        return "    <answer fraction=\"" + fraction + "\" format=\"html\"><text>" + text +
               "</text></answer>\n";
    };
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n"
                       "  <question type=\"category\"><category><text>$course$/top/kavo/parts/"
                       "33,33,33</text></category></question>\n";
    for (int i = 0; i < n; ++i) {
        const auto k = std::to_string(i);
        switch (i % 5) {
        case 0:
            text += question("multichoice", "Q" + k, "Сколько будет " + k + " + 1?",
                             "    <single>true</single>\n" + answer("100", std::to_string(i + 1)) +
                                 answer("0", "0") + answer("0", "1") + answer("0", "2"));
            break;
        case 1:
            text += question("multichoice", "Q" + k, "Which are &lt;b&gt;prime&lt;/b&gt;?",
                             "    <single>false</single>\n" + answer("50", "2") +
                                 answer("50", "3") + answer("-100", "4"));
            break;
        case 2:
            text += question("truefalse", "Q" + k, "The Earth goes round the Sun.",
                             answer("100", "true") + answer("0", "false"));
            break;
        case 3:
            text += question("shortanswer", "Q" + k, "Столица России?\nНапишите одним словом.",
                             "    <usecase>1</usecase>\n" + answer("100", "Москва"));
            break;
        default:
            text += question("cloze", "Движение",
                             "A train covers 300 km at 100 km/h.\n&lt;p&gt;A) Hours? "
                             "{1:SHORTANSWER_C:=3}&lt;/p&gt;\n&lt;p&gt;B) Arrival? "
                             "{1:SHORTANSWER_C:=13:00}&lt;/p&gt;",
                             "");
        }
    }
    return text + "</quiz>\n";
}

// The whole check, as kavo-olympiad check and Import olympiad run it: the file read and
// mapped, then every rule of Add task and of the Edits builder applied to each task.
void checkGift(benchmark::State& state) {
    const auto text = olympiadFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto imported = importGift(text);
        checkImportedTasks(imported, kavo::Lang::English);
        benchmark::DoNotOptimize(imported);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(checkGift)
    ->Arg(99)
    ->Arg(1000)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// The same check of the same questions in Moodle XML.
void checkMoodle(benchmark::State& state) {
    const auto text = moodleFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto imported = importOlympiad(text);
        checkImportedTasks(imported, kavo::Lang::English);
        benchmark::DoNotOptimize(imported);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(checkMoodle)
    ->Arg(99)
    ->Arg(1000)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void exportTo(benchmark::State& state, ExportFormat format) {
    const auto imported = importGift(olympiadFile(99));
    std::vector<kavo::model::Task> tasks;
    for (const auto& t : imported.tasks)
        tasks.push_back(t.task);
    const kavo::model::Olympiad olympiad{{}, imported.sizes, false};
    for (auto _ : state) {
        auto exported = exportOlympiad(format, olympiad, tasks);
        benchmark::DoNotOptimize(exported);
    }
    state.counters["tasks"] = static_cast<double>(tasks.size());
}
namespace fs = std::filesystem;

// A working folder with a copy of the shipped System_folder and the author's details, on
// tmpfs where there is one, so that both sides measure the program rather than the disk.
struct Workplace {
    fs::path root;

    Workplace() {
        const fs::path base =
            fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string name = (base / "kavo-bench-XXXXXX").string();
        if (!mkdtemp(name.data()))
            throw std::runtime_error("cannot create a temporary folder");
        root = name;
        fs::copy(KAVO_SHIPPED_SYSTEM_FOLDER, system(), fs::copy_options::recursive);
        kavo::bench::replaceFile(system() / "Authorisation" / "save.txt", "0\r\n");
    }
    ~Workplace() { fs::remove_all(root); }
    fs::path system() const { return root / "System_folder"; }
    fs::path tree() const { return root / "Year"; }
};

// The same 99 tasks both ways: five templates in turn, numbers 1 to 99 in part A.
constexpr int Tasks = 99;
const std::string Condition = "<p>Which of these is a prime number?</p>";

std::string sameTasksFile() {
    static const char* const blocks[] = {"{~4 ~6 =7 ~9 ~10}", "{=7}", "{~4 ~6 =7 ~9 ~10}",
                                         "{~%-100%4 ~%-100%6 ~%50%7 ~%-100%9 ~%50%10}",
                                         "{~%-100%4 ~%-100%6 ~%50%7 ~%-100%9 ~%50%10}"};
    std::string text = "$CATEGORY: kavo/parts/99,0,0\n\n";
    for (int i = 0; i < Tasks; ++i) {
        const int kind = i % 5;
        text += "// kavo: number=" + std::to_string(i + 1) +
                (kind == 2 || kind == 4 ? " folded" : "") + "\n::Q" + std::to_string(i + 1) +
                "::[html]" + Condition + " " + blocks[kind] + "\n\n";
    }
    return text;
}

kavo::tasks::TaskForm sameTaskForm(int i) {
    const int kind = i % 5;
    auto form = kavo::tasks::makeStartForm();
    for (int n = 1; n <= Tasks; ++n)
        form.ListBox1.items.push_back(std::to_string(n));
    form.ListBox1.selected = i;
    form.ListBox2.selected = 1;                              // no picture
    form.ListBox3.selected = kind == 2 || kind == 4 ? 0 : 1; // folded
    form.Memo1 = Condition;
    if (kind != 1) {
        form.VariantOtveta_1 = "4";
        form.VariantOtveta_2 = "6";
        form.VariantOtveta_3 = "7";
        form.VariantOtveta_4 = "9";
        form.VariantOtveta_5 = "10";
    }
    form.Edit1 = kind == 1 ? "7" : kind >= 3 ? "c,e" : "c";
    form.Edit2 = std::to_string(Tasks);
    return form;
}

// Import olympiad: the GIFT text read, checked whole and written, the counter raised once
// per task. Each run starts from an empty tree (removed outside the timing).
void importAndWrite99(benchmark::State& state) {
    Workplace w;
    const auto text = sameTasksFile();
    for (auto _ : state) {
        auto imported = importGift(text);
        checkImportedTasks(imported, kavo::Lang::English);
        if (!imported.ok() || imported.tasks.size() != Tasks)
            state.SkipWithError("the file does not check");
        writeOlympiad(imported, w.system(), w.tree(), kavo::Lang::English, {});
        state.PauseTiming();
        fs::remove_all(w.tree());
        state.ResumeTiming();
    }
}
BENCHMARK(importAndWrite99)->Unit(benchmark::kMillisecond);

// The same 99 tasks from Moodle XML, as the program exports them.
void importAndWrite99Moodle(benchmark::State& state) {
    Workplace w;
    const auto gift = importGift(sameTasksFile());
    std::vector<kavo::model::Task> tasks;
    for (const auto& t : gift.tasks)
        tasks.push_back(t.task);
    const auto text =
        exportOlympiad(ExportFormat::MoodleXml, {{}, gift.sizes, false}, tasks).files.at(0).bytes;
    for (auto _ : state) {
        auto imported = importOlympiad(text);
        checkImportedTasks(imported, kavo::Lang::English);
        if (!imported.ok() || imported.tasks.size() != Tasks)
            state.SkipWithError("the file does not check");
        writeOlympiad(imported, w.system(), w.tree(), kavo::Lang::English, {});
        state.PauseTiming();
        fs::remove_all(w.tree());
        state.ResumeTiming();
    }
}
BENCHMARK(importAndWrite99Moodle)->Unit(benchmark::kMillisecond);

// The same 99 tasks typed into the form: 99 runs of Add task's core.
void addTask99(benchmark::State& state) {
    Workplace w;
    const kavo::tasks::AppValues app{kavo::Lang::English, w.root, w.tree(), Tasks};
    std::vector<kavo::tasks::TaskForm> forms;
    for (int i = 0; i < Tasks; ++i)
        forms.push_back(sameTaskForm(i));
    for (auto _ : state) {
        for (const auto& form : forms) {
            auto copy = form;
            if (!kavo::tasks::addTask(copy, app).written)
                state.SkipWithError("nothing written");
        }
        state.PauseTiming();
        fs::remove_all(w.tree());
        state.ResumeTiming();
    }
}
BENCHMARK(addTask99)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(exportTo, gift, ExportFormat::Gift)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportTo, moodle, ExportFormat::MoodleXml)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportTo, qti, ExportFormat::Qti)->Unit(benchmark::kMillisecond);

} // namespace
