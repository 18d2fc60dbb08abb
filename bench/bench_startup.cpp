// SPDX-License-Identifier: MIT
// Start-up of the program against two peers, in the same run under the offscreen platform:
// time to the shown main window and peak memory (VmHWM). The fair peer shows the main window
// alone, with the same widgets, geometry, font and icon, and reads only what that window
// shows (its language file and tag reminder): no other window, no template. The bare peer
// shows one empty QWidget of the same size. Each start is its own process: the bench runs
// itself with --program, --fair or --bare in turn and prints the medians and the ratios.
// When strace is installed, one more start of each runs under it: the files each opens, and
// those opened more than once. Linux only.
//
//   bench_startup [runs]     (default 15 starts of each)
#include "app/program.hpp"
#include "ui/common/qt_platform.hpp"
#include "ui/main/tform1.hpp"

#include "measure.hpp"

#include <QApplication>
#include <QFont>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

static void initResources() {
    Q_INIT_RESOURCE(kavo);
}

using kavo::bench::median;
using kavo::bench::peakKiB;

namespace {

std::int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

// Lets the window system expose and paint the window.
void waitShown(QWidget* window) {
    const std::int64_t deadline = monotonicNs() + 2'000'000'000;
    while ((!window->windowHandle() || !window->windowHandle()->isExposed()) &&
           monotonicNs() < deadline)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

enum class Mode { Program, Fair, Bare };
constexpr std::array<const char*, 3> ModeFlags = {"--program", "--fair", "--bare"};

// One start in this process; prints "<main ns> <shown ns> <peak KiB>".
int child(Mode mode, std::int64_t mainNs, int argc, char** argv) {
    QApplication application(argc, argv);
    kavo::app::QtPlatform platform;
    std::unique_ptr<kavo::app::Program> kavo;
    std::unique_ptr<QWidget> window;
    QWidget* shown = nullptr;
    if (mode == Mode::Program) {
        kavo = std::make_unique<kavo::app::Program>(platform);
        if (!kavo->start())
            return 2;
        shown = kavo->form1();
    } else if (mode == Mode::Fair) {
        // The main window as the program builds it, with the program's font.
        initResources();
        QFont font(QStringLiteral("DejaVu Sans Condensed"));
        font.setPixelSize(11);
        QApplication::setFont(font);
        window = std::make_unique<TForm1>(platform, fs::current_path(), kavo::Lang::Russian,
                                          kavo::Text());
        window->show();
        shown = window.get();
    } else {
        window = std::make_unique<QWidget>();
        window->resize(TForm1::ClientWidth, TForm1::ClientHeight);
        window->show();
        shown = window.get();
    }
    waitShown(shown);
    const std::int64_t shownNs = monotonicNs();
    std::printf("%lld %lld %ld\n", static_cast<long long>(mainNs), static_cast<long long>(shownNs),
                peakKiB());
    return shown->isVisible() ? 0 : 3;
}

struct Sample {
    double fromSpawnMs, fromMainMs, peakMiB;
};

// Runs this executable once in the given mode inside workDir and reads its report.
Sample spawnOne(const std::string& self, const char* mode, const fs::path& workDir) {
    int out[2];
    if (pipe(out) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string dirArg = workDir.string();
    char* args[] = {const_cast<char*>(self.c_str()), const_cast<char*>(mode), dirArg.data(),
                    nullptr};
    pid_t pid = 0;
    const std::int64_t spawnNs = monotonicNs();
    const int rc = posix_spawn(&pid, self.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0)
        throw std::runtime_error("cannot start " + self);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long mainNs = 0, shownNs = 0;
    long peak = 0;
    std::istringstream in(report);
    if (!(in >> mainNs >> shownNs >> peak) || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(std::string("the ") + mode + " start failed: " + report);
    return {(shownNs - spawnNs) / 1e6, (shownNs - mainNs) / 1e6, peak / 1024.0};
}

// One start under strace: how many files it opened, and those it opened more than once
// (failed opens do not count).
struct Opens {
    std::size_t files = 0;
    std::vector<std::string> twice;
};

std::optional<Opens> opensOf(const std::string& self, const char* mode, const fs::path& workDir) {
    if (std::system("command -v strace >/dev/null 2>&1") != 0)
        return std::nullopt;
    const fs::path log = workDir / "strace.log";
    const std::string command = "strace -f -qq -e trace=openat,open -o '" + log.string() + "' '" +
                                self + "' " + mode + " '" + workDir.string() + "' >/dev/null";
    if (std::system(command.c_str()) != 0)
        return std::nullopt;
    std::ifstream in(log);
    std::map<std::string, int> seen;
    for (std::string line; std::getline(in, line);) {
        const auto open = line.find('"'), close = line.find('"', open + 1);
        if (open == std::string::npos || close == std::string::npos ||
            line.find("= -1 ") != std::string::npos)
            continue;
        ++seen[line.substr(open + 1, close - open - 1)];
    }
    fs::remove(log);
    Opens opens;
    opens.files = seen.size();
    for (const auto& [name, count] : seen)
        if (count > 1)
            opens.twice.push_back(name);
    return opens;
}

struct Medians {
    double fromSpawnMs, fromMainMs, peakMiB;
};

Medians medians(const std::vector<Sample>& samples) {
    std::vector<double> spawn, main, peak;
    for (const Sample& s : samples) {
        spawn.push_back(s.fromSpawnMs);
        main.push_back(s.fromMainMs);
        peak.push_back(s.peakMiB);
    }
    return {median(spawn), median(main), median(peak)};
}

int parent(int runs) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char folder[] = "/tmp/kavo-bench-startup-XXXXXX";
    if (!mkdtemp(folder))
        throw std::runtime_error("cannot create a temporary folder");
    const fs::path workDir = folder;
    fs::copy(KAVO_SHIPPED_SYSTEM_FOLDER, workDir / "System_folder", fs::copy_options::recursive);
    const std::string self = fs::read_symlink("/proc/self/exe").string();

    std::array<std::vector<Sample>, 3> samples;
    // One start of each to warm the file cache, not counted.
    for (const char* flag : ModeFlags)
        spawnOne(self, flag, workDir);
    for (int i = 0; i < runs; ++i)
        for (std::size_t m = 0; m < ModeFlags.size(); ++m)
            samples[m].push_back(spawnOne(self, ModeFlags[m], workDir));
    std::array<std::optional<Opens>, 3> opens;
    for (std::size_t m = 0; m < ModeFlags.size(); ++m)
        opens[m] = opensOf(self, ModeFlags[m], workDir);
    fs::remove_all(workDir);

    const Medians p = medians(samples[0]), f = medians(samples[1]), b = medians(samples[2]);
    std::printf("Start-up under offscreen, median of %d starts each\n", runs);
    std::printf("%-26s %16s %16s %12s\n", "", "spawn->shown ms", "main->shown ms", "VmHWM MiB");
    const std::pair<const char*, Medians> rows[] = {
        {"Kavo_Program (Program)", p}, {"fair peer (TForm1 alone)", f}, {"bare QWidget", b}};
    for (const auto& [name, m] : rows)
        std::printf("%-26s %16.1f %16.1f %12.1f\n", name, m.fromSpawnMs, m.fromMainMs, m.peakMiB);
    std::printf("%-26s %16.2f %16.2f %12.2f\n", "ratio program/fair", p.fromSpawnMs / f.fromSpawnMs,
                p.fromMainMs / f.fromMainMs, p.peakMiB / f.peakMiB);
    std::printf("%-26s %16.2f %16.2f %12.2f\n", "ratio program/bare", p.fromSpawnMs / b.fromSpawnMs,
                p.fromMainMs / b.fromMainMs, p.peakMiB / b.peakMiB);
    const char* names[] = {"program", "fair peer", "bare QWidget"};
    for (std::size_t m = 0; m < opens.size(); ++m) {
        if (!opens[m]) {
            std::printf("files opened: strace is not available\n");
            break;
        }
        std::printf("files opened, %-12s %4zu; more than once:", names[m], opens[m]->files);
        for (const auto& name : opens[m]->twice)
            std::printf(" %s", name.c_str());
        std::printf("%s\n", opens[m]->twice.empty() ? " none" : "");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::int64_t mainNs = monotonicNs();
    for (std::size_t m = 0; argc >= 3 && m < ModeFlags.size(); ++m) {
        if (std::strcmp(argv[1], ModeFlags[m]) == 0) {
            fs::current_path(argv[2]);
            int qtArgc = 1;
            return child(static_cast<Mode>(m), mainNs, qtArgc, argv);
        }
    }
    try {
        return parent(argc >= 2 ? std::max(1, std::atoi(argv[1])) : 15);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
