// SPDX-License-Identifier: MIT
// Reading only regular files, without blocking on a pipe, and one writer per folder.
#include "core/common/error.hpp"
#include "core/common/files.hpp"
#include "core/common/tree_lock.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;
using kavo::Error;
using kavo::TreeLock;
using kavo::test::TempDir;
using kavo::test::writeBytes;
using namespace std::chrono_literals;

namespace {

// A socket file at path; the descriptor stays open for the test's life.
int socketAt(const fs::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.native().copy(address.sun_path, sizeof address.sun_path - 1);
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return fd;
}

// What another program holding the folder looks like from here.
struct OtherHolder {
    int fd;
    explicit OtherHolder(const fs::path& folder)
        : fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY)) {
        EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    }
    ~OtherHolder() { release(); }
    void release() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

bool freeForOthers(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

struct LockTest : ::testing::Test {
    TempDir dir;
    void SetUp() override { kavo::setTreeLockWait(200ms); }
    void TearDown() override {
        kavo::setTreeLockBusy({});
        kavo::setTreeLockWait(5000ms);
    }
};

} // namespace

// A pipe, a socket or a device where a file is read is refused by name at once (a pipe
// without a writer would block the reader for ever); a regular file is read.
TEST(RegularFilesOnly, OtherKindsAreRefusedByNameWithoutBlocking) {
    TempDir dir;
    const fs::path pipe = dir.path() / "task.asp";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const fs::path socket = dir.path() / "TASK.CFG";
    const int listening = socketAt(socket);
    writeBytes(dir.path() / "task.out", "a\nb");
    struct Case {
        fs::path path;
        bool refused;
    };
    const Case cases[] = {
        {pipe, true},
        {socket, true},
        {"/dev/null", true},
        {dir.path() / "task.out", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        for (const auto& read : std::initializer_list<std::function<void()>>{
                 [&] { kavo::readFileBytes(c.path); }, [&] { kavo::readText(c.path); }}) {
            if (!c.refused) {
                EXPECT_NO_THROW(read());
                continue;
            }
            try {
                read();
                ADD_FAILURE() << "read";
            } catch (const Error& error) {
                EXPECT_NE(std::string(error.what()).find(c.path.string()), std::string::npos);
                EXPECT_NE(std::string(error.what()).find("not a regular file"), std::string::npos)
                    << error.what();
            }
        }
    }
    EXPECT_EQ(kavo::readText(dir.path() / "task.out"), "a\r\nb");
    ::close(listening);
}

// A folder another program holds: the bounded wait gives up naming the folder; the busy
// handler is asked each time and decides; a folder held here already is taken again at once
// and let go with the last holder.
TEST_F(LockTest, HeldFolderWaitsAsksOrGivesUp) {
    const fs::path tree = dir.path() / "Year";
    fs::create_directories(tree);
    {
        OtherHolder other(tree);
        const auto start = std::chrono::steady_clock::now();
        try {
            TreeLock lock(tree);
            ADD_FAILURE() << "taken while held";
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what())
                          .find("Another program is writing the folder " + tree.string()),
                      std::string::npos)
                << error.what();
        }
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_GE(waited, 200ms);
        EXPECT_LT(waited, 3s);

        struct Case {
            int releaseAfter; // asks answered Yes before the other program is done; -1: No
            int asked;
            bool taken;
        };
        const Case cases[] = {{-1, 1, false}, {0, 1, true}, {2, 3, true}};
        for (const auto& c : cases) {
            SCOPED_TRACE(c.releaseAfter);
            other.release();
            OtherHolder again(tree);
            int asked = 0;
            kavo::setTreeLockBusy([&](const fs::path& folder) {
                EXPECT_EQ(folder, tree);
                if (asked++ == c.releaseAfter)
                    again.release();
                return c.releaseAfter >= 0;
            });
            bool taken = false;
            try {
                TreeLock lock(tree);
                taken = true;
                EXPECT_FALSE(freeForOthers(tree));
            } catch (const Error&) {
            }
            EXPECT_EQ(taken, c.taken);
            EXPECT_EQ(asked, c.asked);
            again.release();
            other.fd = ::open(tree.c_str(), O_RDONLY | O_DIRECTORY);
            ASSERT_EQ(::flock(other.fd, LOCK_EX | LOCK_NB), 0);
        }
    }
    kavo::setTreeLockBusy({});
    {
        TreeLock outer(tree);
        {
            TreeLock inner(tree); // the import around Add task's own lock: no self-deadlock
            EXPECT_FALSE(freeForOthers(tree));
        }
        EXPECT_FALSE(freeForOthers(tree));
    }
    EXPECT_TRUE(freeForOthers(tree));
}

// The start-up recovery runs only on a folder free at once, and makes no missing folder.
TEST_F(LockTest, IfFreeNeverWaits) {
    const fs::path tree = dir.path() / "Year";
    EXPECT_TRUE(TreeLock::ifFree(tree).held());
    EXPECT_FALSE(fs::exists(tree));
    fs::create_directories(tree);
    {
        const auto lock = TreeLock::ifFree(tree);
        EXPECT_TRUE(lock.held());
        EXPECT_FALSE(freeForOthers(tree));
    }
    OtherHolder other(tree);
    int asked = 0;
    kavo::setTreeLockBusy([&](const fs::path&) { return ++asked, true; });
    EXPECT_FALSE(TreeLock::ifFree(tree).held());
    EXPECT_EQ(asked, 0);
}

// A missing folder is made, as the first write of a tree makes it.
TEST_F(LockTest, MissingTreeIsMade) {
    const fs::path tree = dir.path() / "a" / "Year";
    TreeLock lock(tree);
    EXPECT_TRUE(fs::is_directory(tree));
    EXPECT_FALSE(freeForOthers(tree));
}
