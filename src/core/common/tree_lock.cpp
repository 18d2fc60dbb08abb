// SPDX-License-Identifier: MIT
#include "core/common/tree_lock.hpp"

#include "core/common/error.hpp"
#include "core/common/lang.hpp"

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kavo {

namespace {

constexpr Message<1> Busy{"Another program is writing the folder %1; nothing was written",
                          "Другая программа записывает папку %1; ничего не записано"};

struct Held {
    int fd;
    int count;
    bool keyed = false; // key looked up
    std::pair<unsigned long long, unsigned long long> key{};
};

// The device and inode of a held folder, looked up when first needed.
bool keyOf(Held& held) {
    struct stat st {};
    if (!held.keyed && ::fstat(held.fd, &st) == 0) {
        held.key = {st.st_dev, st.st_ino};
        held.keyed = true;
    }
    return held.keyed;
}

// The folders this process holds, told apart by device and inode: flock on a second
// descriptor of the same folder would wait for the first, so a nested lock (the import
// around Add task's write) only counts. While none is held a new one needs no look.
struct Registry {
    std::mutex mutex;
    std::vector<Held> held;
    std::function<bool(const fs::path&)> busy;
    std::chrono::milliseconds wait{5000};
};

Registry& registry() {
    static Registry r;
    return r;
}

bool noLocks(int error) {
    return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == EINVAL;
}

} // namespace

void setTreeLockBusy(std::function<bool(const fs::path&)> handler) {
    std::lock_guard guard(registry().mutex);
    registry().busy = std::move(handler);
}

void setTreeLockWait(std::chrono::milliseconds wait) {
    std::lock_guard guard(registry().mutex);
    registry().wait = wait;
}

TreeLock::TreeLock(const fs::path& folder, Missing missing) {
    if (!take(folder, true, missing == Missing::Make))
        throw Error::refused(Busy, folder);
}

TreeLock TreeLock::ifFree(const fs::path& folder) {
    TreeLock lock;
    std::error_code ec;
    if (!fs::exists(folder, ec)) {
        // Nothing there to recover, and nothing to hold.
        lock.unlockable_ = true;
        return lock;
    }
    lock.take(folder, false, false);
    return lock;
}

TreeLock::TreeLock(TreeLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), unlockable_(std::exchange(other.unlockable_, false)),
      nested_(std::exchange(other.nested_, false)) {}

// Returns whether the lock is held (or cannot be had on this file system).
bool TreeLock::take(const fs::path& folder, bool wait, bool make) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 && make) {
        std::error_code ec;
        if (!fs::is_directory(folder, ec))
            fs::create_directories(folder, ec);
        // A tree that cannot be made is reported as the write that needs it would report it.
        if (!fs::is_directory(folder))
            throw Error::cannotCreate(folder, ec && ec.value() != EEXIST ? ec.value() : ENOTDIR);
        fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    if (fd < 0)
        throw Error::cannotOpen(folder, errno);
    auto& r = registry();
    Held mine{fd, 1};
    {
        std::lock_guard guard(r.mutex);
        if (!r.held.empty() && !keyOf(mine)) {
            const int error = errno;
            ::close(fd);
            throw Error::cannotOpen(folder, error);
        }
        for (auto& held : r.held)
            if (keyOf(held) && held.key == mine.key) {
                ++held.count;
                ::close(fd);
                fd_ = held.fd;
                nested_ = true;
                return true;
            }
    }
    const auto deadline = std::chrono::steady_clock::now() + r.wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            break;
        const int error = errno;
        if (error == EINTR)
            continue;
        if (noLocks(error)) {
            // A network share without locks: the write goes on as it would without them.
            ::close(fd);
            unlockable_ = true;
            return true;
        }
        if (error != EWOULDBLOCK) {
            ::close(fd);
            throw Error::cannotOpen(folder, error);
        }
        std::function<bool(const fs::path&)> busy;
        {
            std::lock_guard guard(r.mutex);
            busy = r.busy;
        }
        const bool again = !wait  ? false
                           : busy ? busy(folder)
                                  : std::chrono::steady_clock::now() < deadline;
        if (!again) {
            ::close(fd);
            // The teacher's No is answer enough: no box says it again.
            if (wait && busy)
                throw Error::declined(Busy, folder);
            return false;
        }
        if (!busy)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::lock_guard guard(r.mutex);
    r.held.push_back(mine);
    fd_ = fd;
    return true;
}

TreeLock::~TreeLock() {
    if (fd_ < 0)
        return;
    auto& r = registry();
    std::lock_guard guard(r.mutex);
    const auto at = std::find_if(r.held.begin(), r.held.end(),
                                 [&](const Held& held) { return held.fd == fd_; });
    if (at != r.held.end() && --at->count == 0) {
        // Closing the last descriptor of the folder releases the lock.
        ::close(at->fd);
        r.held.erase(at);
    }
}

} // namespace kavo
