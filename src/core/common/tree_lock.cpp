// SPDX-License-Identifier: MIT
#include "core/common/tree_lock.hpp"

#include "core/common/error.hpp"
#include "core/common/lang.hpp"

#include <cerrno>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

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
};

// The folders this process holds, by device and inode: flock on a second descriptor of the
// same folder would wait for the first, so a nested lock (the import around Add task's
// write) only counts.
struct Registry {
    std::mutex mutex;
    std::map<std::pair<unsigned long long, unsigned long long>, Held> held;
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
      nested_(std::exchange(other.nested_, false)), device_(other.device_), inode_(other.inode_) {}

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
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        throw Error::cannotOpen(folder, error);
    }
    auto& r = registry();
    const std::pair<unsigned long long, unsigned long long> key{st.st_dev, st.st_ino};
    {
        std::lock_guard guard(r.mutex);
        if (const auto at = r.held.find(key); at != r.held.end()) {
            ++at->second.count;
            ::close(fd);
            fd_ = at->second.fd;
            nested_ = true;
            device_ = key.first;
            inode_ = key.second;
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
    r.held.emplace(key, Held{fd, 1});
    fd_ = fd;
    device_ = key.first;
    inode_ = key.second;
    return true;
}

TreeLock::~TreeLock() {
    if (fd_ < 0)
        return;
    auto& r = registry();
    std::lock_guard guard(r.mutex);
    const auto at = r.held.find({device_, inode_});
    if (at != r.held.end() && --at->second.count == 0) {
        // Closing the last descriptor of the folder releases the lock.
        ::close(at->second.fd);
        r.held.erase(at);
    }
}

} // namespace kavo
