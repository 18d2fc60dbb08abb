// SPDX-License-Identifier: MIT
// Replace-all and block removal over large texts with a match every few bytes: the time
// per byte must stay flat from 1 MB to 10 MB.
#include "core/common/text.hpp"

#include <benchmark/benchmark.h>

namespace {

kavo::Text textOf(std::size_t size) {
    static constexpr std::string_view unit = "<li>TaskA1</li>\r\n"; // one match per 17 bytes
    kavo::Text text;
    text.reserve(size + unit.size());
    while (text.size() < size)
        text += unit;
    return text;
}

void BM_ReplaceAll(benchmark::State& state) {
    const auto text = textOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(kavo::replaceAll(text, "TaskA1", "Task1"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReplaceAll)
    ->Arg(1 << 20)
    ->Arg(2 << 20)
    ->Arg(5 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_RemoveBlock(benchmark::State& state) {
    const auto text = textOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        kavo::Pieces page{text};
        kavo::removeBlock(page, "</li>\r\n<li>");
        benchmark::DoNotOptimize(page);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RemoveBlock)
    ->Arg(1 << 20)
    ->Arg(2 << 20)
    ->Arg(5 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

namespace {

// A pattern that almost matches everywhere: a naive search would compare up to 65 bytes at
// every position; the time must still grow linearly.
void BM_ReplaceAllNearMisses(benchmark::State& state) {
    const kavo::Text text(static_cast<std::size_t>(state.range(0)), 'a');
    const kavo::Text pattern = kavo::Text(64, 'a') + "b";
    for (auto _ : state)
        benchmark::DoNotOptimize(kavo::replaceAll(text, pattern, "x"));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReplaceAllNearMisses)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
