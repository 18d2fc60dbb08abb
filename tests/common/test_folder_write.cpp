// SPDX-License-Identifier: MIT
// A task folder goes from the whole old package to the whole new one, whatever stops the
// write: a kill or a full disk at any step, with the swap or without it.
#include "core/common/error.hpp"
#include "core/common/files.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using kavo::FileStep;
using kavo::test::writeBytes;

namespace {

// Every entry under a folder: a file's bytes, "/" for a folder, "-> target" for a link.
using Snapshot = std::map<std::string, std::string>;

Snapshot snapshot(const fs::path& dir) {
    Snapshot s;
    if (!fs::is_directory(fs::symlink_status(dir)))
        return s;
    for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator();
         ++it) {
        const auto name = it->path().lexically_relative(dir).generic_string();
        if (it->is_symlink())
            s[name] = "-> " + fs::read_symlink(it->path()).string();
        else if (it->is_directory())
            s[name] = "/";
        else
            s[name] = kavo::test::readBytes(it->path());
    }
    return s;
}

// Names of the program's leftovers anywhere under dir.
std::string leftovers(const fs::path& dir) {
    std::string found;
    for (const auto& [name, what] : snapshot(dir))
        if (name.find(".kavo-") != std::string::npos)
            found += name + "\n";
    return found;
}

const Snapshot NewPackage = {
    {"task.asp", "new page\r\n"},
    {"TASK.CFG", "new config"},
    {"task.out", "new scoring\r\n"},
    {"task.xml", "<new/>\r\n"},
    {"webfiles", "/"},
    {"webfiles/picture.jpg", "new picture"},
};

const std::vector<kavo::FolderFile> NewFiles = [] {
    std::vector<kavo::FolderFile> files;
    for (const auto& [name, bytes] : NewPackage)
        if (bytes != "/")
            files.push_back({name, bytes});
    return files;
}();

// A task folder of the old package with what a teacher put there, in a fresh tree; the
// tree lies on a tmpfs where there is one, so that the many syncs cost nothing.
struct Scene {
    fs::path base, root, folder;
    Snapshot oldState, newState; // of the task folder, the teacher's entries in both

    explicit Scene(bool withOld = true) {
        const fs::path shm = "/dev/shm";
        std::string name =
            ((access(shm.c_str(), W_OK) == 0 ? shm : fs::temp_directory_path()) / "kavo-fw-XXXXXX")
                .string();
        base = mkdtemp(name.data());
        root = base / "Year";
        folder = root / "PartB" / "3";
        fs::create_directories(base / "outside");
        newState = NewPackage;
        if (!withOld)
            return;
        const Snapshot teachers = {{"webfiles/photo.png", "photo"},
                                   {"notes.txt", "notes"},
                                   {"extra", "/"},
                                   {"extra/deep", "/"},
                                   {"extra/deep/a.txt", "a"},
                                   {"empty", "/"},
                                   {"shared", "-> " + (base / "outside").string()}};
        oldState = {{"task.asp", "old page\r\n"},
                    {"TASK.CFG", "old config"},
                    {"task.out", "old scoring\r\n"},
                    {"task.xml", "<old/>\r\n"},
                    {"webfiles", "/"},
                    {"webfiles/picture.jpg", "old picture"}};
        oldState.insert(teachers.begin(), teachers.end());
        newState.insert(teachers.begin(), teachers.end());
        plantOld();
    }
    ~Scene() {
        kavo::setFileStepHook({});
        std::error_code ec;
        fs::remove_all(base, ec);
    }

    void plant(const fs::path& path, const std::string& what) const {
        if (what == "/")
            fs::create_directories(path);
        else if (what.starts_with("-> "))
            fs::create_directory_symlink(what.substr(3), path);
        else
            writeBytes(path, what);
    }
    void plantOld() const {
        for (const auto& [entry, what] : oldState)
            plant(folder / entry, what);
    }
    bool whole(const Snapshot& seen) const { return seen == oldState || seen == newState; }

    void write() const { kavo::writeTaskFolder(root, "PartB/3", NewFiles); }
};

// How a write is made to go: the swap, or the way without it where the file system cannot
// swap (FAT) or refuses links.
enum class Way { Swap, NoExchange, NoLinks };

int forcedBy(Way way, FileStep step) {
    if (way == Way::NoExchange && step == FileStep::Exchange)
        return EINVAL;
    if (way == Way::NoLinks && step == FileStep::Link)
        return EPERM;
    return 0;
}

// Runs work in a child process killed before its nth step; true when it ran to the end.
bool runKilledAt(int n, Way way, const std::function<void()>& work) {
    const pid_t pid = fork();
    if (pid == 0) {
        int step = 0;
        kavo::setFileStepHook([&](FileStep s) {
            if (++step == n)
                raise(SIGKILL);
            return forcedBy(way, s);
        });
        try {
            work();
        } catch (...) {
            _exit(2);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        return false;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    return true;
}

const char* nameOf(Way way) {
    return way == Way::Swap ? "swap" : way == Way::NoExchange ? "no exchange" : "no links";
}

} // namespace

// Runs the write with a full disk at its nth step: once, or for every later step that needs
// space too. True when it ran to the end; `failed` when it reported the full disk.
bool runWithFullDiskAt(int n, bool staysFull, Way way, const Scene& s, bool& failed) {
    kavo::setFileSync(true);
    int step = 0;
    kavo::setFileStepHook([&](FileStep st) {
        const bool needsSpace = st == FileStep::Create || st == FileStep::Write ||
                                st == FileStep::MakeFolder || st == FileStep::Link;
        ++step;
        if (const int forced = forcedBy(way, st))
            return forced;
        return step == n || (staysFull && step > n && needsSpace) ? ENOSPC : 0;
    });
    try {
        s.write();
    } catch (const kavo::Error& e) {
        failed = true;
        EXPECT_EQ(e.kind(), kavo::Error::Kind::CannotCreate);
        EXPECT_EQ(e.reason(), ENOSPC) << e.what();
    }
    kavo::setFileStepHook({});
    kavo::setFileSync(false);
    return step < n;
}

TEST(WriteTaskFolder, AKillOrAFullDiskAtEveryStepLeavesTheWholeOldOrNewPackage) {
    enum class Fault { Kill, KillNewFolder, FullOnce, StaysFull };
    kavo::setFileSync(false); // a kill keeps what the system holds; syncs change nothing there
    for (const Way way : {Way::Swap, Way::NoExchange, Way::NoLinks}) {
        for (const Fault fault :
             {Fault::Kill, Fault::KillNewFolder, Fault::FullOnce, Fault::StaysFull}) {
            SCOPED_TRACE(std::string(nameOf(way)) + ", fault " + std::to_string(int(fault)));
            const bool killed = fault == Fault::Kill || fault == Fault::KillNewFolder;
            bool sawNew = false;
            int n = 1;
            for (;; ++n) {
                SCOPED_TRACE(n);
                const Scene s(fault != Fault::KillNewFolder);
                bool failed = false;
                const bool done =
                    killed ? runKilledAt(n, way, [&] { s.write(); })
                           : runWithFullDiskAt(n, fault == Fault::StaysFull, way, s, failed);
                // A finished or failed write cleans up after itself (a removal of the old
                // package that fails leaves it to recovery); with the swap, even a killed
                // write leaves a whole package.
                if (done || failed) {
                    EXPECT_EQ(leftovers(s.base), "");
                }
                if (way == Way::Swap || !killed) {
                    EXPECT_TRUE(s.whole(snapshot(s.folder)));
                }
                // The next start, itself killed after each single step until it is through.
                while (!runKilledAt(2, Way::Swap, [&] { kavo::recoverTree(s.root); })) {
                }
                const auto after = snapshot(s.folder);
                EXPECT_TRUE(s.whole(after));
                if (sawNew && killed) {
                    EXPECT_EQ(after, s.newState) << "back to the old package";
                }
                sawNew = sawNew || after == s.newState;
                EXPECT_EQ(leftovers(s.base), "");
                if (done) {
                    EXPECT_EQ(after, s.newState);
                    break;
                }
            }
            EXPECT_GE(n, 8);
        }
    }
    kavo::setFileSync(true);
}

// A tmpfs mounted on a folder for the life of the object.
struct Tmpfs {
    fs::path at;
    bool mounted;
    Tmpfs(const fs::path& folder, const char* options) : at(folder) {
        fs::create_directories(at);
        mounted = mount("kavo-test", at.c_str(), "tmpfs", 0, options) == 0;
    }
    ~Tmpfs() {
        if (mounted)
            umount2(at.c_str(), MNT_DETACH);
    }
};

// Fills a disk with files of this size until it is full; returns them.
std::vector<fs::path> fill(const fs::path& dir, std::size_t size) {
    std::vector<fs::path> made;
    const std::string bytes(size, 'x');
    for (int i = 0;; ++i) {
        const auto path = dir / ("filler" + std::to_string(i));
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        const bool ok = fd >= 0 && write(fd, bytes.data(), size) == static_cast<ssize_t>(size);
        if (fd >= 0)
            close(fd);
        if (!ok) {
            fs::remove(path);
            return made;
        }
        made.push_back(path);
    }
}

TEST(WriteTaskFolder, RealFullTmpfs) {
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    // Out of space (each small file takes a page of 4 KiB), then out of inodes.
    const struct {
        const char* options;
        std::size_t fillerSize;
    } disks[] = {{"size=256k,nr_inodes=4096", 4096}, {"size=4m,nr_inodes=80", 0}};
    for (const auto& disk : disks) {
        for (int spare = 0;; ++spare) {
            SCOPED_TRACE(std::string(disk.options) + ", spare " + std::to_string(spare));
            ASSERT_LT(spare, 64);
            const Scene s;
            const Tmpfs tmpfs(s.root, disk.options);
            if (!tmpfs.mounted)
                GTEST_SKIP() << "cannot mount a tmpfs here";
            s.plantOld(); // again, on the tmpfs
            auto filler = fill(s.root, disk.fillerSize);
            for (int i = 0; i < spare && !filler.empty(); ++i, filler.pop_back())
                fs::remove(filler.back());
            bool failed = false;
            try {
                s.write();
            } catch (const kavo::Error& e) {
                failed = true;
                EXPECT_EQ(e.reason(), ENOSPC) << e.what();
            }
            const auto after = snapshot(s.folder);
            EXPECT_TRUE(s.whole(after));
            kavo::recoverTree(s.root);
            EXPECT_EQ(leftovers(s.root), "");
            EXPECT_EQ(snapshot(s.folder), after);
            if (!failed) {
                EXPECT_EQ(after, s.newState);
                EXPECT_GE(spare, 1);
                break;
            }
        }
    }
}

TEST(WriteTaskFolder, KeepsWhatTheNewFilesDoNotReplace) {
    // The code review saves three files; the checker configuration stays as it was. A
    // temporary file an older version left goes with the old folder.
    const std::vector<kavo::FolderFile> three = {
        {"task.asp", "new page\r\n"}, {"task.out", "new scoring\r\n"}, {"task.xml", "<new/>\r\n"}};
    for (const Way way : {Way::Swap, Way::NoExchange, Way::NoLinks}) {
        const Scene s;
        s.plant(s.folder / "task.out.kavo-tmp77-1", "half");
        kavo::setFileStepHook([&](FileStep st) { return forcedBy(way, st); });
        kavo::writeTaskFolder(s.root, "PartB/3", three);
        Snapshot expected = s.oldState;
        for (const auto& file : three)
            expected[file.name] = file.bytes;
        EXPECT_EQ(snapshot(s.folder), expected) << nameOf(way);
        EXPECT_EQ(leftovers(s.base), "");
    }
}

// After the swap the old copy goes by the entries carried; a removal refused on the way
// (an entry come meanwhile, a busy file) leaves the rest to the removal that lists it.
TEST(WriteTaskFolder, AnOldCopyNotRemovedAtOnceGoesWhole) {
    for (int refused = 1; refused <= 12; ++refused) {
        SCOPED_TRACE(refused);
        const Scene s;
        int removals = 0;
        kavo::setFileStepHook([&](FileStep st) {
            return st == FileStep::Remove && ++removals == refused ? EBUSY : 0;
        });
        s.write();
        kavo::setFileStepHook({});
        EXPECT_EQ(snapshot(s.folder), s.newState);
        EXPECT_EQ(leftovers(s.base), "");
        EXPECT_TRUE(fs::exists(s.base / "outside")); // a link is removed, never followed
    }
}

TEST(WriteTaskFolder, ReadOnlyFoldersKeepTheirPermissionsAndDoNotBlockTheNextWrite) {
    const Scene s;
    fs::permissions(s.folder / "extra", fs::perms(0555));
    fs::permissions(s.folder, fs::perms(0750));
    for (int write = 0; write < 2; ++write) {
        s.write();
        EXPECT_EQ(leftovers(s.base), "");
        EXPECT_EQ(fs::status(s.folder / "extra").permissions(), fs::perms(0755));
        EXPECT_EQ(fs::status(s.folder).permissions(), fs::perms(0750));
    }
    EXPECT_EQ(snapshot(s.folder), s.newState);
}

TEST(WriteTaskFolder, ATeachersEntryWhereANewFileGoesStopsTheWrite) {
    const struct {
        const char* entry;
        const char* what;
        int reason;
    } cases[] = {{"webfiles", "a file where the pictures' folder goes", EEXIST},
                 {"task.asp", "/", EISDIR}};
    for (const auto& c : cases) {
        const Scene s;
        fs::remove_all(s.folder / c.entry);
        s.plant(s.folder / c.entry, c.what);
        const auto before = snapshot(s.folder);
        try {
            s.write();
            ADD_FAILURE() << c.entry;
        } catch (const kavo::Error& e) {
            EXPECT_EQ(e.reason(), c.reason) << e.what();
            EXPECT_EQ(e.path(), s.folder / c.entry);
        }
        EXPECT_EQ(snapshot(s.folder), before);
        EXPECT_EQ(leftovers(s.base), "");
    }
}

TEST(WriteTaskFolder, SyncsTheFilesBeforeTheSwapAndTheParentAfter) {
    const Scene s;
    std::vector<FileStep> steps;
    kavo::setFileStepHook([&](FileStep st) {
        steps.push_back(st);
        return 0;
    });
    s.write();
    const auto swap = std::find(steps.begin(), steps.end(), FileStep::Exchange);
    ASSERT_NE(swap, steps.end());
    // Each new file and each folder of the new package (itself, webfiles, extra, deep, empty).
    EXPECT_EQ(std::count(steps.begin(), swap, FileStep::Sync), 5 + 5);
    EXPECT_EQ(swap[1], FileStep::Sync);
}

TEST(WriteTaskFolder, LinksBelowTheOutputFolder) {
    struct Case {
        const char* name;
        const char* link;   // below the scene's base
        const char* target; // below the base too
        bool targetIsFile;
        const char* refused; // the link the report names; nullptr: written
    };
    const Case cases[] = {
        {"the output folder", "Year", "real-year", false, nullptr},
        {"part folder inside", "Year/PartB", "Year/PartX", false, nullptr},
        {"part folder outside", "Year/PartB", "outside", false, "Year/PartB"},
        {"task folder outside", "Year/PartB/3", "outside", false, "Year/PartB/3"},
        {"task folder inside", "Year/PartB/3", "Year/7", false, "Year/PartB/3"},
        {"task file outside", "Year/PartB/3/task.asp", "outside/page", true,
         "Year/PartB/3/task.asp"},
        {"task file inside", "Year/PartB/3/task.xml", "Year/notes.txt", true,
         "Year/PartB/3/task.xml"},
        {"webfiles written into", "Year/PartB/3/webfiles", "outside", false,
         "Year/PartB/3/webfiles"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Scene s(false);
        s.plant(s.base / c.target, c.targetIsFile ? "keep" : "/");
        fs::create_directories((s.base / c.link).parent_path());
        fs::create_symlink(s.base / c.target, s.base / c.link);
        const auto outsideBefore = snapshot(s.base / "outside");
        try {
            s.write();
            EXPECT_EQ(c.refused, nullptr);
            EXPECT_EQ(snapshot(s.folder), NewPackage);
        } catch (const kavo::Error& e) {
            ASSERT_NE(c.refused, nullptr) << e.what();
            EXPECT_EQ(e.kind(), kavo::Error::Kind::Refused);
            EXPECT_EQ(e.path(), s.base / c.refused);
            EXPECT_NE(e.report(kavo::Lang::Russian), e.report(kavo::Lang::English));
            EXPECT_TRUE(fs::is_symlink(s.base / c.link));
        }
        EXPECT_EQ(snapshot(s.base / "outside"), outsideBefore);
        EXPECT_EQ(leftovers(s.base), "");
    }
}

TEST(WriteTaskFolder, NamesOutOfTheTreeOrOfTheProgramsLeftoversAreRefused) {
    const Scene s(false);
    const struct {
        fs::path relative;
        std::vector<kavo::FolderFile> files;
    } cases[] = {
        {"../outside", NewFiles},
        {"/abs", NewFiles},
        {std::string("7\0x", 3), NewFiles},
        {"", NewFiles},
        {"7", {{"../escape.txt", "x"}}},
        {"7.kavo-new", NewFiles}, // recovery would remove it
        {"7", {{"notes.kavo-tmp1-2", "x"}}},
    };
    for (const auto& c : cases) {
        try {
            kavo::writeTaskFolder(s.root, c.relative, c.files);
            ADD_FAILURE() << c.relative;
        } catch (const kavo::Error& e) {
            EXPECT_EQ(e.kind(), kavo::Error::Kind::Refused) << c.relative;
        }
    }
    EXPECT_EQ(snapshot(s.base), (Snapshot{{"outside", "/"}}));
}

// A new folder a cut-short write left beside the task folder goes when the next write makes
// its own, with or without an old package; a file of that name stops the write unchanged.
TEST(WriteTaskFolder, ANewFolderLeftBehindGoesAndAFileOfItsNameStopsTheWrite) {
    const struct {
        bool withOld;
        std::string leftover; // "/": a folder with a half-written page
        bool written;
    } cases[] = {{false, "/", true}, {true, "/", true}, {false, "a file", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.leftover + (c.withOld ? ", old package" : ""));
        const Scene s(c.withOld);
        const fs::path left = s.root / "PartB" / "3.kavo-new";
        s.plant(left, c.leftover);
        if (c.leftover == "/")
            s.plant(left / "task.asp", "half");
        const auto before = snapshot(s.base);
        try {
            s.write();
            EXPECT_TRUE(c.written);
        } catch (const kavo::Error& e) {
            EXPECT_FALSE(c.written) << e.what();
            EXPECT_EQ(e.kind(), kavo::Error::Kind::CannotCreate);
            EXPECT_EQ(e.reason(), EEXIST);
        }
        if (c.written) {
            EXPECT_EQ(snapshot(s.folder), s.newState);
            EXPECT_FALSE(fs::exists(fs::symlink_status(left)));
        } else {
            EXPECT_EQ(snapshot(s.base), before);
        }
    }
}

TEST(RecoverTree, RemovesOnlyWhatTheProgramNamedAsItsOwn) {
    const Scene s(false);
    const Snapshot kept = {
        {"Year", "/"},
        {"Year/a.kavo-tmp", "teacher's"},    // not the program's pattern
        {"Year/b.kavo-tmp12", "teacher's"},  // no counter
        {"Year/c.kavo-tmpx-1", "teacher's"}, // not digits
        {"Year/d.kavo-new", "a file, not a folder"},
        {"Year/.kavo-old", "/"}, // no task folder name
        {"Year/Tasks_in_view.txt", "7\r\n"},
    };
    const Snapshot removed = {
        {"Year/Tasks_in_view.txt.kavo-tmp123-4", "8"},
        {"Year/PartA/1/task.asp.kavo-tmp9-10", "half"},
        {"Year/PartA/2.kavo-new", "/"},
        {"Year/PartA/2.kavo-new/task.asp", "half"},
    };
    for (const auto& [entry, what] : kept)
        s.plant(s.base / entry, what);
    for (const auto& [entry, what] : removed)
        s.plant(s.base / entry, what);
    EXPECT_EQ(kavo::recoverTree(s.root), 3u);
    Snapshot expected = kept;
    expected.insert({{"outside", "/"}, {"Year/PartA", "/"}, {"Year/PartA/1", "/"}});
    EXPECT_EQ(snapshot(s.base), expected);
    EXPECT_EQ(kavo::recoverTree(s.base / "missing"), 0u);
}

TEST(WriteFileAtomic, KilledAtEveryStepLeavesTheOldOrNewFile) {
    kavo::setFileSync(false);
    for (int n = 1;; ++n) {
        const Scene s(false);
        const auto path = s.base / "System_folder" / "Tasks_in_view.txt";
        writeBytes(path, "7\r\n");
        const bool done = runKilledAt(n, Way::Swap, [&] { kavo::writeFileAtomic(path, "8\r\n"); });
        kavo::recoverTree(s.base / "System_folder");
        const auto bytes = kavo::test::readBytes(path);
        EXPECT_TRUE(bytes == "7\r\n" || bytes == "8\r\n") << n;
        EXPECT_EQ(leftovers(s.base), "") << n;
        if (done)
            break;
    }
    kavo::setFileSync(true);
}

TEST(WriteFolderAtomic, AKilledExportLeavesTheWholeOldOrNewPackageAndAddsNoWebfiles) {
    // A QTI package written again over an older one that a teacher added notes to; the
    // folder's parent is named by "out/" and by "." too.
    const Snapshot before = {{"imsmanifest.xml", "old manifest"},
                             {"items", "/"},
                             {"items/task_01.xml", "old 1"},
                             {"notes.txt", "notes"}};
    const std::vector<kavo::FolderFile> files = {{"imsmanifest.xml", "new manifest"},
                                                 {"items/task_01.xml", "new 1"},
                                                 {"items/task_02.xml", "new 2"}};
    Snapshot after = before;
    for (const auto& file : files)
        after[file.name] = file.bytes;
    kavo::setFileSync(false);
    bool finished = false;
    for (int n = 1; !finished; ++n) {
        const Scene s(false);
        const fs::path out = s.base / "qti";
        for (const auto& [entry, what] : before)
            s.plant(out / entry, what);
        finished =
            runKilledAt(n, Way::Swap, [&] { kavo::writeFolderAtomic(s.base / "qti/", files); });
        const auto seen = snapshot(out);
        EXPECT_TRUE(seen == before || seen == after) << "killed at step " << n;
        if (finished) {
            EXPECT_EQ(leftovers(s.base), "");
        }
        ASSERT_LT(n, 100);
    }
    const Scene fresh(false);
    const fs::path cwd = fs::current_path();
    fs::create_directories(fresh.base / "new");
    fs::current_path(fresh.base / "new");
    kavo::writeFolderAtomic(".", files);
    fs::current_path(cwd);
    EXPECT_EQ(snapshot(fresh.base / "new"), (Snapshot{{"imsmanifest.xml", "new manifest"},
                                                      {"items", "/"},
                                                      {"items/task_01.xml", "new 1"},
                                                      {"items/task_02.xml", "new 2"}}));
    kavo::setFileSync(true);
}
