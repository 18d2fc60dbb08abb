// SPDX-License-Identifier: MIT
// Replace-all and block removal against plain std::string_view::find loops over the same
// text in the same run (one that builds the same result, one that only finds), on dense
// text (a match every 17 bytes), near misses, sparse matches and none; and the preview of a
// 1 and a 10 MB page against a plain read and write of its bytes. Every input is built, and
// every page copied, outside the timing.
#include "core/common/files.hpp"
#include "core/common/text.hpp"
#include "core/review/preview.hpp"
#include "core/tasks/add_task.hpp"

#include "plain_io.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view DensePattern = "TaskA1";

// The kinds of text, the second argument of each benchmark.
enum Kind : std::int64_t {
    Dense,      // a match every 17 bytes
    NearMiss,   // a pattern that almost matches everywhere
    SparseRare, // a page with a match every 64 KB; the pattern's first byte is not in the page
    SparseHtml, // the same page with a match every 64 KB; the pattern starts with "<"
    Absent,     // the same page without a match; the pattern's first byte is not in it
};
constexpr const char* KindNames[] = {"dense", "near miss", "sparse, rare first byte",
                                     "sparse, first byte \"<\"", "no match, rare first byte"};

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

constexpr std::string_view HtmlPattern = "<%radio()%>";

// Typical page text (tags, a "<" every 14 bytes or so) with the pattern after every 64 KB.
const kavo::Text& sparseText(std::size_t size, std::string_view pattern) {
    static std::map<std::pair<std::size_t, std::string_view>, kavo::Text> texts;
    auto& text = texts[{size, pattern}];
    if (text.empty()) {
        static constexpr std::string_view unit =
            "<p>Solve <b>2x + 3 = 7</b> and choose the root. <img "
            "src=\"webfiles/picture.jpg\"></p>\r\n";
        text.reserve(size + unit.size() + pattern.size());
        for (std::size_t next = 1 << 16; text.size() < size;) {
            text += unit;
            if (text.size() >= next) {
                text += pattern;
                next += 1 << 16;
            }
        }
    }
    return text;
}

std::string_view patternFor(const benchmark::State& state) {
    switch (state.range(1)) {
    case NearMiss:
        return NearMissPattern;
    case SparseHtml:
        return HtmlPattern;
    default:
        return DensePattern;
    }
}

const kavo::Text& textFor(const benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    switch (state.range(1)) {
    case Dense:
        return denseText(size);
    case NearMiss:
        return nearMissText(size);
    case Absent:
        return sparseText(size, "");
    default:
        return sparseText(size, patternFor(state));
    }
}

void finish(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.SetLabel(KindNames[state.range(1)]);
}

// Processor time of this thread, and wall time, in nanoseconds.
double threadNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}
double wallNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double loadAverage() {
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
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

// A page that is one piece, as after its first removal: with the room for the breaks of
// the removals to come that the first one leaves (and the page renderer reserves); the
// removal must leave the page where it was.
void BM_RemoveBlock(benchmark::State& state) {
    const auto& text = textFor(state);
    const auto pattern = patternFor(state);
    kavo::Pieces page(1);
    for (auto _ : state) {
        state.PauseTiming();
        page.front().clear();
        page.front().shrink_to_fit();
        page.front().reserve(text.size() + 16);
        page.front() = text;
        const char* const where = page.front().data();
        state.ResumeTiming();
        kavo::removeBlock(page, pattern);
        benchmark::DoNotOptimize(page);
        if (page.front().data() != where) {
            state.SkipWithError("the page was moved");
            break;
        }
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

// The peer of a replace-all that returns a new text: a std::string_view::find loop that
// builds the same text, reserved at the text's size.
kavo::Text findLoopReplacing(std::string_view text, std::string_view pattern,
                             std::string_view with) {
    kavo::Text out;
    out.reserve(text.size());
    std::size_t kept = 0;
    for (auto at = text.find(pattern); at != std::string_view::npos;
         at = text.find(pattern, at + pattern.size())) {
        out.append(text, kept, at - kept).append(with);
        kept = at + pattern.size();
    }
    out.append(text, kept);
    return out;
}

// The peer of the replace-all in the caller's text: a find loop that moves the text after
// each occurrence back over it (the replacements here are never longer than the pattern).
void findLoopInPlace(kavo::Text& text, std::string_view pattern, std::string_view with) {
    char* const s = text.data();
    std::size_t write = 0, read = 0;
    for (auto at = text.find(pattern); at != std::string_view::npos;
         at = text.find(pattern, at + pattern.size())) {
        if (write != read)
            std::memmove(s + write, s + read, at - read);
        write += at - read;
        std::memcpy(s + write, with.data(), with.size());
        write += with.size();
        read = at + pattern.size();
    }
    if (write != read) {
        std::memmove(s + write, s + read, text.size() - read);
        text.resize(write + text.size() - read);
    }
}

// Replace-all and its peers in turn on the same text, each timed alone (processor time of
// the thread, medians); each ratio is the peer's median over the product's, the share of the
// peer's throughput that the product keeps, for the same result bytes:
//   ratio          replaceAll returning a new text, against the find loop building it;
//   inplace_ratio  replaceEvery in the caller's text, against the find loop moving the text
//                  in place (each restores its text just before, outside the timing);
//   find_ratio     the bare find loop (which produces nothing) over replaceEvery: where
//                  nothing matches, the whole of a replace-all in place is that search;
//   copy_ratio     the bare find loop over a plain copy of the text, the least that any
//                  replace-all returning a new text does.
void BM_ReplaceAllVsFind(benchmark::State& state) {
    const std::string_view text = textFor(state);
    const auto pattern = patternFor(state);
    constexpr std::string_view with = "Task1";
    const kavo::Text expected = findLoopReplacing(text, pattern, with);
    kavo::Text product(text), peerText(text);
    kavo::replaceEvery(product, pattern, with);
    findLoopInPlace(peerText, pattern, with);
    if (kavo::replaceAll(text, pattern, with) != expected || product != expected ||
        peerText != expected) {
        state.SkipWithError("the product and the peer differ");
        return;
    }
    product.reserve(text.size());
    peerText.reserve(text.size());
    std::vector<double> peer, bare, replaced, inPlacePeer, inPlace, copy;
    for (auto _ : state) {
        double start = threadNs();
        {
            auto out = findLoopReplacing(text, pattern, with);
            benchmark::DoNotOptimize(out);
            peer.push_back(threadNs() - start);
        }
        start = threadNs();
        {
            auto out = kavo::replaceAll(text, pattern, with);
            benchmark::DoNotOptimize(out);
            replaced.push_back(threadNs() - start);
        }
        start = threadNs();
        std::size_t found = 0;
        for (auto at = text.find(pattern); at != std::string_view::npos;
             at = text.find(pattern, at + pattern.size()))
            ++found;
        benchmark::DoNotOptimize(found);
        bare.push_back(threadNs() - start);
        start = threadNs();
        {
            kavo::Text copied(text);
            benchmark::DoNotOptimize(copied);
            copy.push_back(threadNs() - start);
        }
        peerText.assign(text);
        start = threadNs();
        findLoopInPlace(peerText, pattern, with);
        benchmark::DoNotOptimize(peerText);
        inPlacePeer.push_back(threadNs() - start);
        product.assign(text);
        start = threadNs();
        kavo::replaceEvery(product, pattern, with);
        benchmark::DoNotOptimize(product);
        inPlace.push_back(threadNs() - start);
    }
    state.counters["find_ms"] = median(bare) / 1e6;
    state.counters["replace_ms"] = median(replaced) / 1e6;
    state.counters["inplace_ms"] = median(inPlace) / 1e6;
    state.counters["ratio"] = median(peer) / median(replaced);
    state.counters["inplace_ratio"] = median(inPlacePeer) / median(inPlace);
    state.counters["find_ratio"] = median(bare) / median(inPlace);
    state.counters["copy_ratio"] = median(bare) / median(copy);
    state.counters["load"] = loadAverage();
    finish(state, text.size());
}

void sizes(benchmark::internal::Benchmark* b) {
    for (const std::int64_t kind : {Dense, NearMiss, SparseRare, SparseHtml, Absent})
        for (const std::int64_t size : {1 << 20, 10 << 20})
            b->Args({size, kind});
    b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_ReplaceAllVsFind)->Apply(sizes);
BENCHMARK(BM_FindLoop)->Apply(sizes);
BENCHMARK(BM_ReplaceAll)->Apply(sizes);
BENCHMARK(BM_ReplaceAllDeleting)->Apply(sizes);
BENCHMARK(BM_RemoveBlock)->Apply(sizes);
BENCHMARK(BM_RemoveBlockFromPieces)->Apply(sizes);

// A working folder with the shipped System_folder and one single-choice task whose
// condition is about 1 or 10 MB of typical page text, written by Add task.
struct PreviewPlace {
    fs::path root;
    fs::path folder;

    explicit PreviewPlace(std::size_t size) {
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
        form.Memo1 = condition(size);
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

    static std::string condition(std::size_t size) {
        static constexpr std::string_view unit =
            "<p>Solve <b>2x + 3 = 7</b> and choose the root. <img "
            "src=\"webfiles/picture.jpg\"></p>\r\n";
        std::string text;
        while (text.size() < size)
            text += unit;
        return text;
    }

    kavo::review::PreviewRequest request() const {
        return {kavo::Lang::English, root, 0, 1,
                [this](std::int64_t) { return std::optional(folder); }};
    }
    fs::path page() const { return folder / "task.asp"; }
};

PreviewPlace& previewPlace(std::size_t size) {
    static std::map<std::size_t, std::unique_ptr<PreviewPlace>> places;
    auto& place = places[size];
    if (!place)
        place = std::make_unique<PreviewPlace>(size);
    return *place;
}

void pageSizes(benchmark::internal::Benchmark* b) {
    b->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
}

void BM_Preview(benchmark::State& state) {
    const auto& place = previewPlace(static_cast<std::size_t>(state.range(0)));
    const auto request = place.request();
    for (auto _ : state)
        benchmark::DoNotOptimize(kavo::review::previewTask(request));
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * fs::file_size(place.page())));
}
BENCHMARK(BM_Preview)->Apply(pageSizes);

// The page made static alone, from the page and templates in memory.
void BM_PreviewPage(benchmark::State& state) {
    const auto& place = previewPlace(static_cast<std::size_t>(state.range(0)));
    const auto templates = kavo::review::readPreviewTemplates(place.root);
    const auto page = kavo::bench::readFile(place.page());
    const auto url = kavo::review::folderUrl(place.folder / "webfiles");
    for (auto _ : state)
        benchmark::DoNotOptimize(kavo::review::previewPage(templates, page, url));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_PreviewPage)->Apply(pageSizes);

// The peer: the page's bytes read and written to a new file.
void BM_ReadWritePage(benchmark::State& state) {
    const auto& place = previewPlace(static_cast<std::size_t>(state.range(0)));
    const fs::path target = place.root / "copy.html";
    for (auto _ : state) {
        kavo::bench::createFile(target, kavo::bench::readFile(place.page()));
        state.PauseTiming();
        fs::remove(target);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * fs::file_size(place.page())));
}
BENCHMARK(BM_ReadWritePage)->Apply(pageSizes);

// The page's bytes written over a file that is there, as a plain write does.
void overwriteFile(const fs::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        kavo::bench::fail("cannot open", path);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        kavo::bench::fail("cannot write", path);
    ::close(fd);
}

// The page's bytes written over a file that is there without emptying it first, then the
// file cut to their length, as the preview writes buf.html.
void overwriteInPlace(const fs::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        kavo::bench::fail("cannot open", path);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
        kavo::bench::fail("cannot write", path);
    ::close(fd);
}

// The preview and its peers in turn, each timed alone: wall time and processor time of the
// thread, medians, and the ratios of the preview's over the peer's. The peer reads the page
// and writes its bytes over the file of the last round (opened with O_TRUNC), as a plain
// write does. The second peer writes them as the preview writes buf.html, over the old bytes
// and cut to length, which spares the emptied file's pages and ext4's write-out at the close
// (ratio_cpu_inplace): what is left is the preview's own work, its page being larger too.
void BM_PreviewVsReadWrite(benchmark::State& state) {
    const auto& place = previewPlace(static_cast<std::size_t>(state.range(0)));
    const auto request = place.request();
    const fs::path target = place.root / "copy.html", inPlace = place.root / "copy2.html";
    std::vector<double> peerWall, peerCpu, productWall, productCpu, inPlaceCpu;
    for (auto _ : state) {
        double wall = wallNs(), cpu = threadNs();
        overwriteFile(target, kavo::bench::readFile(place.page()));
        peerWall.push_back(wallNs() - wall);
        peerCpu.push_back(threadNs() - cpu);
        cpu = threadNs();
        overwriteInPlace(inPlace, kavo::bench::readFile(place.page()));
        inPlaceCpu.push_back(threadNs() - cpu);
        wall = wallNs();
        cpu = threadNs();
        benchmark::DoNotOptimize(kavo::review::previewTask(request));
        productWall.push_back(wallNs() - wall);
        productCpu.push_back(threadNs() - cpu);
    }
    state.counters["peer_ms"] = median(peerWall) / 1e6;
    state.counters["preview_ms"] = median(productWall) / 1e6;
    state.counters["peer_cpu_ms"] = median(peerCpu) / 1e6;
    state.counters["preview_cpu_ms"] = median(productCpu) / 1e6;
    state.counters["ratio_wall"] = median(productWall) / median(peerWall);
    state.counters["ratio_cpu"] = median(productCpu) / median(peerCpu);
    state.counters["ratio_cpu_inplace"] = median(productCpu) / median(inPlaceCpu);
    state.counters["load"] = loadAverage();
}
BENCHMARK(BM_PreviewVsReadWrite)->Apply(pageSizes)->MinTime(2);

} // namespace
