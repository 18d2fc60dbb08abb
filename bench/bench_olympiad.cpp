// SPDX-License-Identifier: MIT
// The check of an olympiad file (read, map, every problem) for 99 to 10,000 questions, and
// the export of 99 tasks to each format.
#include "core/olympiad/export.hpp"
#include "core/olympiad/gift_import.hpp"

#include <benchmark/benchmark.h>

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

void checkGift(benchmark::State& state) {
    const auto text = olympiadFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto imported = importGift(text);
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
BENCHMARK_CAPTURE(exportTo, gift, ExportFormat::Gift)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportTo, moodle, ExportFormat::MoodleXml)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportTo, qti, ExportFormat::Qti)->Unit(benchmark::kMillisecond);

} // namespace
