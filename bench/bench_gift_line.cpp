// SPDX-License-Identifier: MIT
// The check of a GIFT file of one long line of options and escapes, 1, 4 and 16 MB: the
// time per MB stays the same when the reader is linear in the length of a line.
#include "core/olympiad/gift_import.hpp"
#include "core/olympiad/source_text.hpp"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// One question on one line of about `bytes` bytes (at most the size a file may have): a
// choice of many options, each with escaped special characters and a weight.
std::string oneLine(std::size_t bytes) {
    std::string text = "::Q::Pick one {";
    for (int i = 0; text.size() + 40 < bytes; ++i)
        text += "~%10%opt\\=" + std::to_string(i) + "\\{x\\} a\\#b\\~c ";
    return text + "=right}";
}

void giftLine(benchmark::State& state) {
    const auto megabytes = static_cast<std::size_t>(state.range(0));
    const auto text =
        oneLine(std::min<std::size_t>(megabytes << 20, kavo::olympiad::MaxFileBytes - 64));
    for (auto _ : state) {
        auto imported = kavo::olympiad::importGift(text);
        benchmark::DoNotOptimize(imported);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / (1 << 20);
}
BENCHMARK(giftLine)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

// The peer: the same bytes decoded only (UTF-8 checked, line breaks made '\n'), the least
// any reader of the file does.
void decodeLine(benchmark::State& state) {
    const auto megabytes = static_cast<std::size_t>(state.range(0));
    const auto text =
        oneLine(std::min<std::size_t>(megabytes << 20, kavo::olympiad::MaxFileBytes - 64));
    for (auto _ : state) {
        std::vector<kavo::olympiad::Problem> problems;
        auto source = kavo::olympiad::decodeSource(text, problems);
        benchmark::DoNotOptimize(source);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(decodeLine)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

} // namespace
