// SPDX-License-Identifier: MIT
// Add task (a new number and a rewrite), the Edits save (new and rewrite), the import of 99
// tasks and the first fill of the marks, each against a peer that does exactly what their
// guarantees require and nothing else:
//  - a write: it locks the tree (and System_folder when it raises the counter) and looks
//    that no folder of another part holds the number, as every write must today; it reads
//    the template files the write uses, the author flag and the counter,
//    builds the new folder with its four files and webfiles, syncs the four files, webfiles,
//    the new folder, the tree folder, the counter and its folder (nine fsyncs), exchanges or
//    renames the folder in, removes the old copy and replaces the counter through a rename;
//  - the marks: a plain read of the four files of each folder.
// Product and peer run interleaved in one process, each on a tree of its own; after every
// pair the two trees and counters must hold the same bytes. Prints medians, their ratio and
// the load average. Usage: bench_writes [rounds] [base folder (default /dev/shm or /tmp)].
#include "core/common/files.hpp"
#include "core/common/memory.hpp"
#include "core/edits/edits_task.hpp"
#include "core/olympiad/gift_import.hpp"
#include "core/olympiad/olympiad_write.hpp"
#include "core/render/families.hpp"
#include "core/render/read_back.hpp"
#include "core/render/render.hpp"
#include "core/render/task_state.hpp"
#include "core/tasks/add_task.hpp"

#include "measure.hpp"
#include "plain_io.hpp"
#include "sample_forms.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using kavo::bench::Condition;
using kavo::bench::cpuNow;
using kavo::bench::editsForm;
using kavo::bench::fail;
using kavo::bench::loadAverage;
using kavo::bench::median;
using kavo::bench::peakKiB;
using kavo::bench::readFile;
using kavo::bench::timed;
using kavo::bench::Timing;

namespace {

constexpr const char* PackageFiles[] = {"task.asp", "TASK.CFG", "task.out", "task.xml"};

fs::path base;

// A working folder with a copy of the shipped System_folder and the author's details.
struct Workplace {
    fs::path root;
    Workplace() {
        std::string name = (base / "kavo-bench-XXXXXX").string();
        if (!mkdtemp(name.data()))
            throw std::runtime_error("cannot create a temporary folder");
        root = name;
        fs::copy(KAVO_SHIPPED_SYSTEM_FOLDER, system(), fs::copy_options::recursive);
        kavo::bench::replaceFile(system() / "Authorisation" / "save.txt", "0\r\n");
        fs::create_directory(tree());
    }
    ~Workplace() { fs::remove_all(root); }
    Workplace(const Workplace&) = delete;
    fs::path system() const { return root / "System_folder"; }
    fs::path tree() const { return root / "Year"; }
    fs::path counter() const { return system() / "Authorisation" / "Tasks_in_view.txt"; }
};

// Every file under the tree with its bytes, and the counter.
std::string contents(const Workplace& w) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(w.tree()))
        files[e.path().lexically_relative(w.tree()).generic_string()] =
            e.is_regular_file() ? readFile(e.path()) : "(folder)";
    std::string all;
    for (const auto& [name, bytes] : files)
        all += name + "\n" + bytes + "\n";
    return all + readFile(w.counter());
}

void syncFd(int fd, const char* what) {
    if (::fsync(fd) != 0)
        fail("cannot sync", what);
}

// The peer's write of one package (four files) into tree/folder, as described above.
// Without the counter (the Edits save raises none): seven fsyncs.
void peerWrite(const Workplace& w, const std::vector<std::string>& templates,
               const std::string& folder, const std::array<std::string, 4>& files,
               bool counter = true) {
    if (counter)
        readFile(w.system() / "Authorisation" / "save.txt");
    for (const auto& name : templates)
        readFile(w.system() / name);
    // One writer per tree: the tree locked, then System_folder for the counter.
    const int dir = ::open(w.tree().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0 || ::flock(dir, LOCK_EX | LOCK_NB) != 0)
        fail("cannot lock", w.tree());
    const int system =
        counter ? ::open(w.system().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (counter && (system < 0 || ::flock(system, LOCK_EX | LOCK_NB) != 0))
        fail("cannot lock", w.system());
    // One number, one task: no folder of another part holds the number.
    struct stat st {};
    for (const char* part : {"PartA/", "PartB/", "PartC/"})
        if (::fstatat(dir, (part + folder).c_str(), &st, 0) == 0)
            fail("held elsewhere", folder);
    const std::string count = counter ? readFile(w.counter()) : std::string();
    const std::string fresh = folder + ".new";
    if (dir < 0 || ::mkdirat(dir, fresh.c_str(), 0755) != 0)
        fail("cannot create", w.tree() / fresh);
    const int made = ::openat(dir, fresh.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (std::size_t i = 0; i < 4; ++i) {
        const int fd =
            ::openat(made, PackageFiles[i], O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 ||
            ::write(fd, files[i].data(), files[i].size()) != static_cast<ssize_t>(files[i].size()))
            fail("cannot write", PackageFiles[i]);
        syncFd(fd, PackageFiles[i]);
        ::close(fd);
    }
    if (::mkdirat(made, "webfiles", 0755) != 0)
        fail("cannot create", "webfiles");
    const int web = ::openat(made, "webfiles", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    syncFd(web, "webfiles");
    ::close(web);
    syncFd(made, "folder");
    ::close(made);
    const bool old = ::faccessat(dir, folder.c_str(), F_OK, AT_SYMLINK_NOFOLLOW) == 0;
    if (old ? ::renameat2(dir, fresh.c_str(), dir, folder.c_str(), RENAME_EXCHANGE) != 0
            : ::renameat(dir, fresh.c_str(), dir, folder.c_str()) != 0)
        fail("cannot put in place", folder);
    syncFd(dir, "tree");
    if (old)
        fs::remove_all(w.tree() / fresh);
    if (!counter) {
        ::close(dir);
        return;
    }
    // The counter raised by one, replaced through a rename and synced with its folder.
    const std::string raised = std::to_string(std::atoi(count.c_str()) + 1) + "\r\n";
    const fs::path temporary = w.counter().string() + ".peer";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, raised.data(), raised.size()) != static_cast<ssize_t>(raised.size()))
        fail("cannot write", temporary);
    syncFd(fd, "counter");
    ::close(fd);
    if (::rename(temporary.c_str(), w.counter().c_str()) != 0)
        fail("cannot rename", temporary);
    const int authorisation =
        ::open(w.counter().parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    syncFd(authorisation, "Authorisation");
    ::close(authorisation);
    ::close(system);
    ::close(dir);
}

std::array<std::string, 4> packageIn(const fs::path& folder) {
    std::array<std::string, 4> files;
    for (std::size_t i = 0; i < 4; ++i)
        files[i] = readFile(folder / PackageFiles[i]);
    return files;
}

// The templates a write of this task reads, as the writer names them.
std::vector<std::string> templatesOf(const kavo::model::Task& task) {
    const auto& family = kavo::render::familyOf(task.kind);
    auto names = kavo::render::familyFiles(family);
    names.push_back("file/task_xml.txt");
    names.push_back("file/task_xml_2.txt");
    return names;
}

const std::vector<std::string> EditsTemplateFiles = {
    "file_for_edits/zamena.txt", "file_for_edits/task1.asp", "file_for_edits/task1.out",
    "file_for_edits/task.cfg",   "file/task_xml.txt",        "file_for_edits/task2.asp",
    "file_for_edits/task2.out",  "file_for_edits/task3.asp", "file_for_edits/task3.out"};

struct Figure {
    const char* name;
    const char* goal;
    // Makes both sides ready (outside the timing), then the timed runs, then the check.
    std::function<void()> prepare;
    std::function<void()> product, peer;
    std::function<std::string()> productBytes, peerBytes;
};

void measure(const Figure& f, int rounds) {
    std::vector<double> productWall, peerWall, productCpu, peerCpu;
    const std::string loadBefore = loadAverage();
    for (int i = 0; i < rounds; ++i) {
        f.prepare();
        // Alternating which side goes first spreads the machine's load over both.
        Timing a{}, b{};
        if (i % 2) {
            a = timed(f.product);
            b = timed(f.peer);
        } else {
            b = timed(f.peer);
            a = timed(f.product);
        }
        productWall.push_back(a.wall);
        productCpu.push_back(a.cpu);
        peerWall.push_back(b.wall);
        peerCpu.push_back(b.cpu);
        if (f.productBytes && f.productBytes() != f.peerBytes())
            throw std::runtime_error(std::string(f.name) + ": product and peer differ");
    }
    const double aw = median(productWall), bw = median(peerWall);
    const double ac = median(productCpu), bc = median(peerCpu);
    std::printf("%-44s %9.0f %9.0f %6.2fx | %9.0f %9.0f %6.2fx  goal %-7s load %s\n", f.name,
                aw * 1e6, bw * 1e6, aw / bw, ac * 1e6, bc * 1e6, ac / bc, f.goal,
                loadBefore.c_str());
    std::fflush(stdout);
}

kavo::tasks::TaskForm formFor(int number, int total, const std::string& condition) {
    auto form = kavo::tasks::makeStartForm();
    for (int n = 1; n <= total; ++n)
        form.ListBox1.items.push_back(std::to_string(n));
    form.ListBox1.selected = number - 1;
    form.ListBox2.selected = 1;
    form.ListBox3.selected = 1;
    form.Memo1 = condition;
    form.VariantOtveta_1 = "<b>4</b>";
    form.VariantOtveta_2 = "6";
    form.VariantOtveta_3 = "7";
    form.VariantOtveta_4 = "9";
    form.VariantOtveta_5 = "10";
    form.Edit1 = "c";
    form.Edit2 = std::to_string(total);
    return form;
}

void addTaskFigures(int rounds) {
    Workplace product, peer;
    const kavo::tasks::AppValues app{kavo::Lang::English, product.root, product.tree(), 5};
    const auto form = formFor(1, 5, Condition);
    const auto yes = [](kavo::tasks::AddQuestion, const kavo::Text&) { return true; };
    // The package and the templates of the peer, from one write of the product.
    auto copy = form;
    kavo::tasks::addTask(copy, app, yes);
    const auto files = packageIn(product.tree() / "1");
    kavo::model::Task task;
    task.kind = kavo::model::TaskKind::SingleChoice;
    const auto templates = templatesOf(task);
    auto sameCounters = [&] {
        kavo::bench::replaceFile(product.counter(), "0\r\n");
        kavo::bench::replaceFile(peer.counter(), "0\r\n");
    };
    auto product_ = [&] {
        auto c = form;
        if (!kavo::tasks::addTask(c, app, yes).written)
            throw std::runtime_error("nothing written");
    };
    auto peer_ = [&] { peerWrite(peer, templates, "1", files); };
    auto productBytes = [&] { return contents(product); };
    auto peerBytes = [&] { return contents(peer); };
    measure({"Add task, new number", "<= 1.3x",
             [&] {
                 fs::remove_all(product.tree() / "1");
                 fs::remove_all(peer.tree() / "1");
                 sameCounters();
             },
             product_, peer_, productBytes, peerBytes},
            rounds);
    measure({"Add task, rewrite of a written number", "<= 1.5x", sameCounters, product_, peer_,
             productBytes, peerBytes},
            rounds);
}

void editsFigures(int rounds) {
    Workplace product, peer;
    const kavo::model::Olympiad olympiad{product.tree(), {}};
    // As the builder holds them: read once when it opens.
    const auto edits = kavo::render::readEditsTemplates(product.system());
    kavo::edits::EditsQuestions ask;
    ask.systemDir = product.system();
    ask.replace = [](const std::string&) { return true; };
    auto save = [&] {
        auto form = editsForm();
        if (!kavo::edits::saveEditsTask(form, edits, olympiad, kavo::Lang::English, ask).written)
            throw std::runtime_error("nothing written");
    };
    save();
    const auto files = packageIn(product.tree() / "1");
    // The builder holds its templates and raises no counter.
    auto peer_ = [&] { peerWrite(peer, {}, "1", files, false); };
    auto productBytes = [&] { return contents(product); };
    auto peerBytes = [&] { return contents(peer); };
    measure({"Edits save, new", "<= 1.3x",
             [&] {
                 fs::remove_all(product.tree() / "1");
                 fs::remove_all(peer.tree() / "1");
             },
             save, peer_, productBytes, peerBytes},
            rounds);
    measure({"Edits save, rewrite", "<= 1.5x", [] {}, save, peer_, productBytes, peerBytes},
            rounds);
}

std::string olympiadFile() {
    static const char* const blocks[] = {"{~4 ~6 =7 ~9 ~10}", "{=7}", "{~4 ~6 =7 ~9 ~10}",
                                         "{~%-100%4 ~%-100%6 ~%50%7 ~%-100%9 ~%50%10}",
                                         "{~%-100%4 ~%-100%6 ~%50%7 ~%-100%9 ~%50%10}"};
    std::string text = "$CATEGORY: kavo/parts/99,0,0\n\n";
    for (int i = 0; i < 99; ++i) {
        const int kind = i % 5;
        text += "// kavo: number=" + std::to_string(i + 1) +
                (kind == 2 || kind == 4 ? " folded" : "") + "\n::Q" + std::to_string(i + 1) +
                "::[html]" + Condition + " " + blocks[kind] + "\n\n";
    }
    return text;
}

void importFigure(int rounds) {
    Workplace product, peer;
    const auto text = olympiadFile();
    auto import = [&] {
        auto imported = kavo::olympiad::importGift(text);
        kavo::olympiad::checkImportedTasks(imported, kavo::Lang::English);
        if (!imported.ok() || imported.tasks.size() != 99)
            throw std::runtime_error("the olympiad file does not check");
        kavo::olympiad::writeOlympiad(imported, product.system(), product.tree(),
                                      kavo::Lang::English, {});
    };
    import();
    std::vector<std::array<std::string, 4>> packages;
    std::vector<std::vector<std::string>> templates;
    const auto imported = kavo::olympiad::importGift(text);
    for (int n = 1; n <= 99; ++n) {
        packages.push_back(packageIn(product.tree() / std::to_string(n)));
        templates.push_back(templatesOf(imported.tasks[static_cast<std::size_t>(n - 1)].task));
    }
    measure({"import of 99 tasks vs 99 peer writes", "<= 1.3x",
             [&] {
                 fs::remove_all(product.tree());
                 fs::remove_all(peer.tree());
                 fs::create_directory(peer.tree());
                 kavo::bench::replaceFile(product.counter(), "0\r\n");
                 kavo::bench::replaceFile(peer.counter(), "0\r\n");
             },
             import,
             [&] {
                 for (int n = 1; n <= 99; ++n)
                     peerWrite(peer, templates[static_cast<std::size_t>(n - 1)], std::to_string(n),
                               packages[static_cast<std::size_t>(n - 1)]);
             },
             [&] { return contents(product); }, [&] { return contents(peer); }},
            rounds);
}

void marksFigure(int rounds) {
    Workplace w;
    const kavo::tasks::AppValues app{kavo::Lang::English, w.root, w.tree(), 99};
    for (int n = 1; n <= 99; ++n) {
        auto form = formFor(n, 99, Condition);
        kavo::tasks::addTask(form, app);
    }
    const kavo::model::Olympiad olympiad{w.tree(), {99, 0, 0}, true};
    std::size_t states = 0;
    measure({"marks, first fill of 99 tasks vs plain reads",
             "<= 1.5x",
             [] {},
             [&] {
                 kavo::render::StateCache cache; // a first fill: nothing kept yet
                 states = kavo::render::numberStates(kavo::render::TemplateSet::load(w.system()),
                                                     olympiad, kavo::Lang::English, &cache)
                              .size();
             },
             [&] {
                 for (int n = 1; n <= 99; ++n)
                     for (const char* file : PackageFiles)
                         readFile(w.tree() / std::to_string(n) / file);
             },
             {},
             {}},
            rounds);
    if (states != 99)
        throw std::runtime_error("the marks missed tasks");
}

// The marks of 99 tasks whose conditions are about 1 MB each, against plain reads; and the
// peak memory of the process after them.
void longMarksFigure(int rounds) {
    Workplace w;
    std::string filler;
    while (filler.size() < (1u << 20))
        filler += "<p>A line of a long condition: 0123456789 &amp; <b>more</b>.</p>\r\n";
    const kavo::tasks::AppValues app{kavo::Lang::English, w.root, w.tree(), 99};
    // Every kind of the form in turn, E removed from those with variants.
    for (int n = 1; n <= 99; ++n) {
        const int kind = n % 5;
        auto form = formFor(n, 99, filler + Condition);
        form.ListBox3.selected = kind == 2 || kind == 4 ? 0 : 1;
        form.Edit1 = kind == 1 ? "7" : kind >= 3 ? "a,c" : "c";
        if (kind == 1)
            form.VariantOtveta_1 = "";
        else
            form.CheckBox3 = true;
        if (!kavo::tasks::addTask(form, app).written)
            throw std::runtime_error("a long task is not written");
    }
    const kavo::model::Olympiad olympiad{w.tree(), {99, 0, 0}, true};
    std::size_t tree = 0;
    for (const auto& e : fs::recursive_directory_iterator(w.tree()))
        if (e.is_regular_file())
            tree += e.file_size();
    std::size_t read = 0;
    measure({"marks of 99 tasks, 1 MB conditions",
             "<= 3x",
             [] {},
             [&] {
                 kavo::render::StateCache cache;
                 const auto states =
                     kavo::render::numberStates(kavo::render::TemplateSet::load(w.system()),
                                                olympiad, kavo::Lang::English, &cache);
                 read = static_cast<std::size_t>(
                     std::count_if(states.begin(), states.end(), [](const auto& s) {
                         return s.status == kavo::render::FolderStatus::Written;
                     }));
             },
             [&] {
                 for (int n = 1; n <= 99; ++n)
                     for (const char* file : PackageFiles)
                         readFile(w.tree() / std::to_string(n) / file);
             },
             {},
             {}},
            rounds);
    if (read != 99)
        throw std::runtime_error("the long tasks do not read back");
    std::printf("  peak memory %ld MB; the tree %zu MB\n", peakKiB() / 1024, tree >> 20);
}

} // namespace

int main(int argc, char** argv) {
    // The allocator as the program sets it.
    kavo::keepFreedMemory();
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 41;
    base = argc > 2                       ? fs::path(argv[2])
           : fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                          : fs::temp_directory_path();
    // A third argument names the group to run: add, edits, import, marks or long.
    const std::string only = argc > 3 ? argv[3] : "";
    auto runs = [&only](const char* group) { return only.empty() || only == group; };
    std::printf("%-44s %9s %9s %7s | %9s %9s %7s\n", "medians, us", "wall", "peer", "ratio", "cpu",
                "peer", "ratio");
    try {
        if (runs("add"))
            addTaskFigures(rounds);
        if (runs("edits"))
            editsFigures(rounds);
        if (runs("import"))
            importFigure(std::max(3, rounds / 8));
        if (runs("marks"))
            marksFigure(rounds);
        if (runs("long"))
            longMarksFigure(std::max(3, rounds / 8));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
