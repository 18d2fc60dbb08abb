// SPDX-License-Identifier: MIT
#pragma once
// One writer per task tree and per System_folder: an advisory lock (flock) on the folder
// itself, so that no lock file appears in the tree the web system serves and the lock goes
// with the process that held it.

#include <chrono>
#include <filesystem>
#include <functional>

namespace kavo {

class TreeLock {
  public:
    // Whether a missing folder is made (a new task tree) or refused (System_folder).
    enum class Missing { Make, Refuse };

    // Locks the folder, making it when missing and asked to. When another program holds it, the
    // busy handler (see setTreeLockBusy) decides; without one the lock is waited for a bounded
    // time. Throws Error (refused, naming the folder) when it is not taken. A folder this
    // process holds already is taken again at once. On a file system without flock the
    // write goes on unlocked.
    explicit TreeLock(const std::filesystem::path& folder, Missing missing = Missing::Make);
    // Locks the folder only when it is free at once (the start-up recovery): held() tells.
    static TreeLock ifFree(const std::filesystem::path& folder);

    TreeLock(TreeLock&& other) noexcept;
    TreeLock& operator=(TreeLock&&) = delete;
    ~TreeLock();

    // Whether the lock is held (or the file system has no locks, so none can be).
    bool held() const { return fd_ >= 0 || unlockable_; }
    // The locked folder, open for reading, while the lock is held by it; -1 otherwise.
    int folder() const { return fd_; }

  private:
    TreeLock() = default;
    // make: a missing folder is made first.
    bool take(const std::filesystem::path& folder, bool wait, bool make);

    int fd_ = -1;
    bool unlockable_ = false;
    bool nested_ = false;
};

// What a program does when another holds the lock: the window asks the teacher; true waits
// and tries again, false gives up. An empty handler restores the bounded wait.
void setTreeLockBusy(std::function<bool(const std::filesystem::path&)> handler);

// How long the bounded wait lasts (a few seconds; tests shorten it).
void setTreeLockWait(std::chrono::milliseconds wait);

} // namespace kavo
