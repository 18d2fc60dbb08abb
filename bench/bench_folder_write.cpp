// SPDX-License-Identifier: MIT
// A task package of four files written again under its number: the whole folder replaced
// with the swap, against the same four files each replaced atomically (a temporary file
// renamed over it, as the package was written before) and overwritten in place. Argument 0:
// no syncs to disk (the work itself); 1: every file synced (and, for the swap, the folders).
#include "core/common/files.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Sizes of a usual package: the page, the checker configuration, scoring, description.
const std::vector<kavo::FolderFile> Package = {
    {"task.asp", std::string(4000, 'p')},
    {"TASK.CFG", std::string(200, 'c')},
    {"task.out", std::string(150, 'o')},
    {"task.xml", std::string(600, 'x')},
};

// A task tree on the system's temporary disk with one task and a picture the teacher put
// into its webfiles folder; removed at the end.
struct Tree {
    fs::path base;

    Tree() {
        std::string name = (fs::temp_directory_path() / "kavo-bench-XXXXXX").string();
        if (!mkdtemp(name.data()))
            throw std::runtime_error("cannot create a temporary folder");
        base = name;
        kavo::writeTaskFolder(base / "Year", "PartA/1", Package);
        kavo::writeFileAtomic(base / "Year/PartA/1/webfiles/picture.jpg", std::string(30000, 'j'));
    }
    ~Tree() {
        kavo::setFileSync(true);
        fs::remove_all(base);
    }
};

void put(const fs::path& path, std::string_view bytes, bool sync) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        (sync && ::fsync(fd) != 0) || ::close(fd) != 0)
        throw std::runtime_error("cannot write " + path.string());
}

void BM_FolderSwap(benchmark::State& state) {
    const Tree tree;
    kavo::setFileSync(state.range(0) != 0);
    for (auto _ : state)
        kavo::writeTaskFolder(tree.base / "Year", "PartA/1", Package);
    state.SetLabel(state.range(0) ? "synced" : "no sync");
}
BENCHMARK(BM_FolderSwap)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FourAtomicWrites(benchmark::State& state) {
    const Tree tree;
    kavo::setFileSync(state.range(0) != 0);
    const auto folder = tree.base / "Year/PartA/1";
    for (auto _ : state)
        for (const auto& file : Package)
            kavo::writeFileAtomic(folder / file.name, file.bytes);
    state.SetLabel(state.range(0) ? "synced" : "no sync");
}
BENCHMARK(BM_FourAtomicWrites)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PlainWrites(benchmark::State& state) {
    const Tree tree;
    const bool sync = state.range(0) != 0;
    const auto folder = tree.base / "Year/PartA/1";
    for (auto _ : state)
        for (const auto& file : Package)
            put(folder / file.name, file.bytes, sync);
    state.SetLabel(sync ? "synced" : "no sync");
}
BENCHMARK(BM_PlainWrites)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
