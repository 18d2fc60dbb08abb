// SPDX-License-Identifier: MIT
// Replace-all and block removal against a plain std::string_view::find loop over the same
// text in the same run, on dense text (a match every 17 bytes) and on near misses; and the
// preview of a 10 MB page against a plain read and write of its bytes. Every input is
// built, and every page copied, outside the timing.
#include "core/common/files.hpp"
#include "core/common/text.hpp"
#include "core/review/preview.hpp"
#include "core/tasks/add_task.hpp"

#include "plain_io.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view DensePattern = "TaskA1";

const kavo::Text& denseText(std::size_t size) {
    static std::map<std::size_t, kavo::Text> texts;
    auto& text = texts[size];
    if (text.empty()) {
        static constexpr std::string_view unit = "<li>TaskA1</li>\r\n"; // one match per 17 bytes
        text.reserve(size + unit.size());
        while (text.size() < size)
            text += unit;
    }
    return text;
}

// A pattern that almost matches everywhere: a naive search compares up to 65 bytes at
// every position.
const kavo::Text NearMissPattern = kavo::Text(64, 'a') + "b";

const kavo::Text& nearMissText(std::size_t size) {
    static std::map<std::size_t, kavo::Text> texts;
    auto& text = texts[size];
    if (text.empty())
        text.assign(size, 'a');
    return text;
}

const kavo::Text& textFor(const benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    return state.range(1) ? nearMissText(size) : denseText(size);
}
std::string_view patternFor(const benchmark::State& state) {
    return state.range(1) ? std::string_view(NearMissPattern) : DensePattern;
}

void finish(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.SetLabel(state.range(1) ? "near miss" : "dense");
}

// The peer: every occurrence found, left to right, without overlap.
void BM_FindLoop(benchmark::State& state) {
    const std::string_view text = textFor(state);
    const auto pattern = patternFor(state);
    for (auto _ : state) {
        std::size_t found = 0;
        for (auto at = text.find(pattern); at != std::string_view::npos;
             at = text.find(pattern, at + pattern.size()))
            ++found;
        benchmark::DoNotOptimize(found);
    }
    finish(state, text.size());
}

void BM_ReplaceAll(benchmark::State& state) {
    const auto& text = textFor(state);
    const auto pattern = patternFor(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(kavo::replaceAll(text, pattern, "Task1"));
    finish(state, text.size());
}

// The same deletions as removeBlock makes, as a replace-all.
void BM_ReplaceAllDeleting(benchmark::State& state) {
    const auto& text = textFor(state);
    const auto pattern = patternFor(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(kavo::replaceAll(text, pattern, ""));
    finish(state, text.size());
}

// A page that is one piece, as after its first removal.
void BM_RemoveBlock(benchmark::State& state) {
    const auto& text = textFor(state);
    const auto pattern = patternFor(state);
    kavo::Pieces page;
    for (auto _ : state) {
        state.PauseTiming();
        page.assign(1, text);
        state.ResumeTiming();
        kavo::removeBlock(page, pattern);
        benchmark::DoNotOptimize(page);
    }
    finish(state, text.size());
}

// A page as a template writer leaves it before its first removal: template lines around
// the teacher's text as one piece; joined, then the blocks deleted.
void BM_RemoveBlockFromPieces(benchmark::State& state) {
    const auto& text = textFor(state);
    const auto pattern = patternFor(state);
    kavo::Pieces pieces(40, "<tr><td class=\"variant\">");
    pieces.insert(pieces.begin() + 20, text);
    kavo::Pieces page;
    for (auto _ : state) {
        state.PauseTiming();
        page = pieces;
        state.ResumeTiming();
        kavo::removeBlock(page, pattern);
        benchmark::DoNotOptimize(page);
    }
    finish(state, text.size());
}

void sizes(benchmark::internal::Benchmark* b) {
    for (const std::int64_t nearMiss : {0, 1})
        for (const std::int64_t size : {1 << 20, 10 << 20})
            b->Args({size, nearMiss});
    b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_FindLoop)->Apply(sizes);
BENCHMARK(BM_ReplaceAll)->Apply(sizes);
BENCHMARK(BM_ReplaceAllDeleting)->Apply(sizes);
BENCHMARK(BM_RemoveBlock)->Apply(sizes);
BENCHMARK(BM_RemoveBlockFromPieces)->Apply(sizes);

// A working folder with the shipped System_folder and one single-choice task whose
// condition is about 10 MB of typical page text, written by Add task.
struct PreviewPlace {
    fs::path root;
    fs::path folder;

    PreviewPlace() {
        std::string name = (fs::temp_directory_path() / "kavo-bench-XXXXXX").string();
        if (!mkdtemp(name.data()))
            throw std::runtime_error("cannot create a temporary folder");
        root = name;
        fs::copy(KAVO_SHIPPED_SYSTEM_FOLDER, root / "System_folder", fs::copy_options::recursive);
        kavo::writeFileAtomic(root / "System_folder" / "Authorisation" / "save.txt", "0\r\n");
        auto form = kavo::tasks::makeStartForm();
        form.ListBox1.items = {"1"};
        form.ListBox1.selected = 0;
        form.ListBox2.selected = 0; // with a picture
        form.ListBox3.selected = 1;
        form.Memo1 = condition();
        form.VariantOtveta_1 = "<b>2</b>";
        form.VariantOtveta_2 = "3";
        form.VariantOtveta_3 = "4";
        form.VariantOtveta_4 = "5";
        form.VariantOtveta_5 = "6";
        form.Edit1 = "a";
        form.Edit2 = "1";
        if (!kavo::tasks::addTask(form, {kavo::Lang::English, root, root / "Year", 1}).written)
            throw std::runtime_error("the task was not written");
        folder = root / "Year" / "1";
    }
    ~PreviewPlace() { fs::remove_all(root); }

    static std::string condition() {
        static constexpr std::string_view unit =
            "<p>Solve <b>2x + 3 = 7</b> and choose the root. <img "
            "src=\"webfiles/picture.jpg\"></p>\r\n";
        std::string text;
        while (text.size() < (10u << 20))
            text += unit;
        return text;
    }
};

PreviewPlace& previewPlace() {
    static PreviewPlace place;
    return place;
}

void BM_Preview10MB(benchmark::State& state) {
    auto& place = previewPlace();
    const kavo::review::PreviewRequest request{
        kavo::Lang::English, place.root, 0, 1,
        [&](std::int64_t) { return std::optional(place.folder); }};
    for (auto _ : state)
        benchmark::DoNotOptimize(kavo::review::previewTask(request));
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * fs::file_size(place.folder / "task.asp")));
}
BENCHMARK(BM_Preview10MB)->Unit(benchmark::kMillisecond);

// The page made static alone, from the page and templates in memory.
void BM_PreviewPage10MB(benchmark::State& state) {
    auto& place = previewPlace();
    const auto templates = kavo::review::readPreviewTemplates(place.root);
    const auto page = kavo::bench::readFile(place.folder / "task.asp");
    const auto url = kavo::review::folderUrl(place.folder / "webfiles");
    for (auto _ : state)
        benchmark::DoNotOptimize(kavo::review::previewPage(templates, page, url));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_PreviewPage10MB)->Unit(benchmark::kMillisecond);

// The peer: the page's bytes read and written to a new file.
void BM_ReadWritePage10MB(benchmark::State& state) {
    auto& place = previewPlace();
    const fs::path target = place.root / "copy.html";
    for (auto _ : state) {
        kavo::bench::createFile(target, kavo::bench::readFile(place.folder / "task.asp"));
        state.PauseTiming();
        fs::remove(target);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * fs::file_size(place.folder / "task.asp")));
}
BENCHMARK(BM_ReadWritePage10MB)->Unit(benchmark::kMillisecond);

} // namespace
