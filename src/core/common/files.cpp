// SPDX-License-Identifier: MIT
#include "core/common/files.hpp"

#include "core/common/error.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <map>
#include <optional>
#include <random>
#include <system_error>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kavo {

namespace {

// A task folder being assembled, or, after the swap, the old one on its way out.
constexpr std::string_view NewSuffix = ".kavo-new";
// An old task folder kept aside while the new one takes its place (without the swap).
constexpr std::string_view OldSuffix = ".kavo-old";
// Temporary files of writeFileAtomic: "<name>.kavo-tmp<token>-<counter>".
constexpr std::string_view TempMark = ".kavo-tmp";
static_assert(NewSuffix.size() == OldSuffix.size());

constexpr const char* Webfiles = "webfiles";
constexpr int MaxRecoveryDepth = 8;

constexpr Message<1> LinkOutside{
    "The folder %1 is a symbolic link leading outside the task tree; the program does not "
    "write through it",
    "Папка %1 является символической ссылкой за пределы дерева задач; программа не пишет "
    "через неё"};
constexpr Message<1> LinkInTask{
    "%1 is a symbolic link; a task folder and its files are replaced as a whole and never "
    "written through a link",
    "%1 является символической ссылкой; папка задачи и её файлы заменяются целиком и никогда "
    "не записываются через ссылку"};
constexpr Message<1> NotInTree{"The path %1 does not name a place inside the task tree",
                               "Путь %1 не указывает место внутри дерева задач"};
constexpr Message<1> Reserved{"The name %1 is kept for the program's temporary files and folders",
                              "Имя %1 занято под временные файлы и папки программы"};
constexpr Message<1> NotRegular{
    "%1 is not a regular file (a pipe, a socket or a device); the program reads only regular "
    "files",
    "%1 не является обычным файлом (это канал, сокет или устройство); программа читает только "
    "обычные файлы"};
constexpr Message<1> RecoveryFailed{"The interrupted write of %1 could not be completed",
                                    "Не удаётся завершить прерванную запись %1"};

std::function<int(FileStep)>& stepHook() {
    static std::function<int(FileStep)> hook;
    return hook;
}
bool syncOn = true;

// The seam: true when the test makes this step fail (errno then holds the failure).
bool injected(FileStep step) {
    const auto& hook = stepHook();
    if (!hook)
        return false;
    if (const int failure = hook(step)) {
        errno = failure;
        return true;
    }
    return false;
}

class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now, reporting the failure a network file system may give only here.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

  private:
    int fd_;
};

// The steps that change the disk, each through the seam; false (or -1) with errno set.
int createFile(int dir, const char* name) {
    return injected(FileStep::Create)
               ? -1
               : ::openat(dir, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

bool writeAll(int fd, std::string_view bytes) {
    if (injected(FileStep::Write))
        return false;
    while (!bytes.empty()) {
        const auto n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool syncFd(int fd) {
    if (!syncOn)
        return true;
    if (injected(FileStep::Sync))
        return false;
    // Some file systems cannot sync a folder; their renames are then as durable as it gets.
    return ::fsync(fd) == 0 || errno == EINVAL;
}

bool makeFolder(int dir, const char* name) {
    return !injected(FileStep::MakeFolder) && ::mkdirat(dir, name, 0777) == 0;
}

bool linkEntry(int from, const char* name, int to) {
    return !injected(FileStep::Link) && ::linkat(from, name, to, name, 0) == 0;
}

bool renameEntry(int from, const char* name, int to, const char* newName) {
    return !injected(FileStep::Rename) && ::renameat(from, name, to, newName) == 0;
}

bool exchangeEntries(int dir, const char* a, const char* b) {
    return !injected(FileStep::Exchange) && ::renameat2(dir, a, dir, b, RENAME_EXCHANGE) == 0;
}

bool removeEntry(int dir, const char* name, bool folder) {
    return !injected(FileStep::Remove) && ::unlinkat(dir, name, folder ? AT_REMOVEDIR : 0) == 0;
}

// A folder below an open one, never through a link.
Fd openFolder(int dir, const char* name) {
    return Fd(::openat(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

bool isLink(int dir, const char* name) {
    struct stat st;
    return ::fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}

bool isFolder(int dir, const char* name) {
    struct stat st;
    return ::fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() > tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// "<name>.kavo-tmp<digits>-<digits>", as temporaryBeside makes them.
bool isTemporaryFile(std::string_view name) {
    const auto at = name.rfind(TempMark);
    if (at == std::string_view::npos || at == 0)
        return false;
    const auto rest = name.substr(at + TempMark.size());
    const auto dash = rest.find('-');
    const auto digits = [](std::string_view s) {
        return !s.empty() &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return dash != std::string_view::npos && digits(rest.substr(0, dash)) &&
           digits(rest.substr(dash + 1));
}

struct Entry {
    std::string name;
    bool folder; // a real folder, not a link to one
    bool link;
    bool empty = false; // a folder found empty when its entries were carried
};

// The entries of an open folder, without "." and "..", read from the folder itself.
std::optional<std::vector<Entry>> listFolder(int fd, bool fromStart = true) {
    // A folder listed before is listed again from its start; one just opened is there.
    if (fromStart && ::lseek(fd, 0, SEEK_SET) != 0)
        return std::nullopt;
    std::vector<Entry> entries;
    entries.reserve(8); // a task folder holds its four files and webfiles
    alignas(dirent64) char buffer[16384];
    for (;;) {
        const auto n = ::getdents64(fd, buffer, sizeof buffer);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return entries;
        for (ssize_t at = 0; at < n;) {
            const auto* d = reinterpret_cast<const dirent64*>(buffer + at);
            at += d->d_reclen;
            const std::string_view name = d->d_name;
            if (name == "." || name == "..")
                continue;
            if (d->d_type != DT_UNKNOWN) {
                entries.push_back({std::string(name), d->d_type == DT_DIR, d->d_type == DT_LNK});
            } else {
                struct stat st;
                const bool known = ::fstatat(fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0;
                entries.push_back({std::string(name), known && S_ISDIR(st.st_mode),
                                   known && S_ISLNK(st.st_mode)});
            }
        }
    }
}

bool removeAll(int fd, const std::vector<Entry>& entries);

// Removes a folder and everything in it, never following a link.
bool removeTree(int dir, const char* name) {
    Fd fd = openFolder(dir, name);
    if (!fd)
        return errno == ENOENT ||
               ((errno == ELOOP || errno == ENOTDIR) && removeEntry(dir, name, false));
    const auto entries = listFolder(fd.get(), false);
    if (!entries)
        return false;
    if (!removeAll(fd.get(), *entries)) {
        // A read-only folder of the teacher's old copy goes too: let its entries go first.
        struct stat st;
        if ((errno != EACCES && errno != EPERM) || ::fstat(fd.get(), &st) != 0 ||
            ::fchmod(fd.get(), st.st_mode | S_IRWXU) != 0 || !removeAll(fd.get(), *entries))
            return false;
    }
    return removeEntry(dir, name, true) || errno == ENOENT;
}

bool removeAll(int fd, const std::vector<Entry>& entries) {
    for (const auto& e : entries)
        if (!(e.folder ? removeTree(fd, e.name.c_str())
                       : removeEntry(fd, e.name.c_str(), false) || errno == ENOENT))
            return false;
    return true;
}

// Removes what a folder held when its entries were carried (a folder found empty then goes
// as it is), then the folder itself: nothing is listed again. False when something is left
// (an entry came meanwhile, a folder is read-only ...): the caller removes the rest.
bool removeCarried(int fd, const std::vector<Entry>& entries, int dir, const char* name) {
    for (const auto& e : entries) {
        const char* entry = e.name.c_str();
        const bool gone = !e.folder ? removeEntry(fd, entry, false) || errno == ENOENT
                          : e.empty ? removeEntry(fd, entry, true) || errno == ENOENT
                                    : removeTree(fd, entry);
        if (!gone)
            return false;
    }
    return removeEntry(dir, name, true) || errno == ENOENT;
}

// Syncs the folder of the written files, the folders their names made, and webfiles when it
// was made empty: all known, so nothing needs to be listed (carried folders sync as made).
bool syncWritten(int fd, const std::vector<std::string>& names, bool webfiles) {
    if (!syncOn)
        return true;
    // Plain names (the package files) make no folder: webfiles alone is looked at.
    if (std::none_of(names.begin(), names.end(),
                     [](const std::string& name) { return name.find('/') != std::string::npos; })) {
        if (webfiles) {
            Fd sub = openFolder(fd, Webfiles);
            if (!sub || !syncFd(sub.get()))
                return false;
        }
        return syncFd(fd);
    }
    std::map<std::string, std::vector<std::string>, std::less<>> folders;
    if (webfiles)
        folders[Webfiles];
    for (const auto& name : names)
        if (const auto slash = name.find('/'); slash != std::string::npos)
            folders[name.substr(0, slash)].push_back(name.substr(slash + 1));
    for (const auto& [folder, inside] : folders) {
        Fd sub = openFolder(fd, folder.c_str());
        if (!sub || !syncWritten(sub.get(), inside, false))
            return false;
    }
    return syncFd(fd);
}

// Moves every entry of `from` that `to` lacks into `to`, going into folders both hold; the
// replaced files and the program's temporary files stay behind.
bool moveMissing(int from, int to) {
    const auto entries = listFolder(from);
    if (!entries)
        return false;
    for (const auto& e : *entries) {
        const char* name = e.name.c_str();
        if (isTemporaryFile(e.name))
            continue;
        if (e.folder && isFolder(to, name)) {
            Fd a = openFolder(from, name), b = openFolder(to, name);
            if (!a || !b || !moveMissing(a.get(), b.get()) || !syncFd(b.get()))
                return false;
        } else if (::faccessat(to, name, F_OK, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT) {
            if (!renameEntry(from, name, to, name))
                return false;
        }
    }
    return syncFd(to);
}

// Makes the task folder `name` in dir whole again after an interrupted write: a new folder
// not yet in place (or the old one after the swap) goes; an old one kept aside comes back,
// or, when the new one is already in place, gives it the entries it still lacks and goes.
// Returns how many leftovers it dealt with. Without `withNew` the new folder is left to the
// caller, which makes one of that name next (and finds the leftover so).
std::size_t recoverFolder(int dir, const std::string& name, const fs::path& folder,
                          bool withNew = true) {
    const auto aside = name + std::string(OldSuffix);
    const auto fresh = name + std::string(NewSuffix);
    std::size_t done = 0;
    if (withNew && isFolder(dir, fresh.c_str())) {
        if (!removeTree(dir, fresh.c_str()))
            throw Error::refused(RecoveryFailed, folder, errno);
        ++done;
    }
    if (isFolder(dir, aside.c_str())) {
        if (isFolder(dir, name.c_str())) {
            Fd from = openFolder(dir, aside.c_str()), to = openFolder(dir, name.c_str());
            if (!from || !to || !moveMissing(from.get(), to.get()) ||
                !removeTree(dir, aside.c_str()))
                throw Error::refused(RecoveryFailed, folder, errno);
        } else if (!renameEntry(dir, aside.c_str(), dir, name.c_str()) || !syncFd(dir)) {
            throw Error::refused(RecoveryFailed, folder, errno);
        }
        ++done;
    }
    return done;
}

std::size_t recoverIn(int dir, const fs::path& shown, int depth, std::optional<Error>& failure) {
    const auto keep = [&](const Error& e) {
        if (!failure)
            failure = e;
    };
    auto entries = listFolder(dir);
    if (!entries) {
        keep(Error::cannotOpen(shown, errno));
        return 0;
    }
    std::size_t done = 0;
    for (const auto& e : *entries) {
        const std::string_view name = e.name;
        try {
            if (!e.folder && isTemporaryFile(name)) {
                if (!removeEntry(dir, e.name.c_str(), false) && errno != ENOENT)
                    throw Error::refused(RecoveryFailed, shown / e.name, errno);
                ++done;
            } else if (e.folder && (endsWith(name, NewSuffix) || endsWith(name, OldSuffix))) {
                const auto task = e.name.substr(0, e.name.size() - NewSuffix.size());
                done += recoverFolder(dir, task, shown / task);
            }
        } catch (const Error& error) {
            keep(error);
        }
    }
    if (depth >= MaxRecoveryDepth || !(entries = listFolder(dir)))
        return done;
    for (const auto& e : *entries)
        if (e.folder)
            if (Fd sub = openFolder(dir, e.name.c_str()))
                done += recoverIn(sub.get(), shown / e.name, depth + 1, failure);
    return done;
}

// A name beside the target that no other write of this process uses at the same time.
fs::path temporaryBeside(const fs::path& target) {
    // A random token per process keeps two running programs apart; the counter keeps the
    // writes of one process apart.
    static const auto token = std::to_string(std::random_device{}() & 0xFFFFFF);
    static std::atomic<unsigned> counter{0};
    auto name = target.filename();
    name += std::string(TempMark) + token + "-" + std::to_string(++counter);
    return name;
}

// Writes a new file below an open folder, creating the folders of its name; synced.
void writeNewFile(int dir, const std::string& text, std::string_view bytes, const fs::path& shown) {
    const bool nested = text.find('/') != std::string::npos;
    if (!nested) {
        // A plain name (the package files): no path built but for an error.
        Fd fd(createFile(dir, text.c_str()));
        if (!fd || !writeAll(fd.get(), bytes) || !syncFd(fd.get()) || !fd.close()) {
            const int error = errno;
            throw Error::cannotCreate(shown / text, error);
        }
        return;
    }
    const fs::path name = text;
    Fd held;
    int at = dir;
    fs::path parts;
    for (auto it = name.begin(); it != std::prev(name.end()); ++it) {
        parts /= *it;
        Fd sub = openFolder(at, it->c_str());
        if (!sub && errno == ENOENT && makeFolder(at, it->c_str()))
            sub = openFolder(at, it->c_str());
        if (!sub)
            throw Error::cannotCreate(shown / parts, errno);
        held = std::move(sub);
        at = held.get();
    }
    Fd fd(createFile(at, name.filename().c_str()));
    if (!fd || !writeAll(fd.get(), bytes) || !syncFd(fd.get()) || !fd.close())
        throw Error::cannotCreate(shown / name, errno);
}

// Gives a new folder the permissions of the one it replaces, writable by its owner so that
// the next write can replace it too. Best effort: FAT has no permissions.
void keepMode(int from, int to) {
    struct stat st;
    if (::fstat(from, &st) == 0)
        ::fchmod(to, (st.st_mode & 07777) | S_IRWXU);
}

// A folder's path as errors name it, made only for an error.
struct Shown {
    const fs::path* root; // the outermost folder
    const Shown* parent = nullptr;
    std::string_view name = {};
    fs::path path() const { return parent ? parent->path() / name : *root; }
};

// Links into the new folder every entry of the old one that the new files do not replace
// (folders are made anew and filled the same way). Returns false when the file system
// refused a link: those entries are then moved after the swap. `listed` gets the entries
// of the old folder, each folder marked when it was empty.
bool carryEntries(int from, int to, const Shown& shown, const std::vector<std::string>& written,
                  std::vector<Entry>& listed) {
    auto entries = listFolder(from, false); // opened by the caller just now
    if (!entries)
        throw Error::cannotOpen(shown.path(), errno);
    listed = std::move(*entries);
    bool linkedAll = true;
    for (auto& e : listed) {
        const char* name = e.name.c_str();
        if (isTemporaryFile(e.name))
            continue;
        // What the new files put under this name: the file itself, or files in a folder.
        bool replaced = false;
        std::vector<std::string> inside;
        for (const auto& w : written)
            if (w == e.name)
                replaced = true;
            else if (w.size() > e.name.size() && w[e.name.size()] == '/' && w.starts_with(e.name))
                inside.push_back(w.substr(e.name.size() + 1));
        if ((replaced || !inside.empty()) && e.link)
            throw Error::refused(LinkInTask, shown.path() / e.name);
        if (e.folder) {
            if (inside.empty() && (replaced || !makeFolder(to, name)))
                throw Error::cannotCreate(shown.path() / e.name, replaced ? EISDIR : errno);
            Fd a = openFolder(from, name), b = openFolder(to, name);
            if (!a && (errno == ELOOP || errno == ENOTDIR))
                throw Error::refused(LinkInTask, shown.path() / e.name); // made a link meanwhile
            if (!a || !b)
                throw Error::cannotCreate(shown.path() / e.name, errno);
            std::vector<Entry> within;
            linkedAll =
                carryEntries(a.get(), b.get(), Shown{nullptr, &shown, e.name}, inside, within) &&
                linkedAll;
            e.empty = within.empty();
            keepMode(a.get(), b.get());
            // Synced as it is made (one the written files go into syncs with them): the new
            // folder is not listed again afterwards.
            if (syncOn && inside.empty() && !syncFd(b.get()))
                throw Error::cannotCreate(shown.path() / e.name, errno);
        } else if (!inside.empty()) {
            throw Error::cannotCreate(shown.path() / e.name, EEXIST); // a file where a folder goes
        } else if (!replaced && !linkEntry(from, name, to)) {
            if (errno != EPERM && errno != EMLINK && errno != EXDEV && errno != EOPNOTSUPP &&
                errno != ENOSYS)
                throw Error::cannotCreate(shown.path() / e.name, errno);
            linkedAll = false;
        }
    }
    return linkedAll;
}

// Opens the folder that holds the task folder, making the missing ones. A part folder may
// be a link leading inside root; one leading outside is refused.
Fd openParent(int rootFd, const std::vector<std::string>& parts, const fs::path& rootPath) {
    Fd at(::dup(rootFd));
    struct stat root {};
    bool rootKnown = false;
    fs::path shown = rootPath;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const char* name = parts[i].c_str();
        shown /= parts[i];
        Fd sub = openFolder(at.get(), name);
        if (!sub && errno == ENOENT) {
            if (!makeFolder(at.get(), name) && errno != EEXIST)
                throw Error::cannotCreate(shown, errno);
            if (!syncFd(at.get()))
                throw Error::cannotCreate(shown, errno);
            sub = openFolder(at.get(), name);
        }
        const int failure = errno;
        if (!sub && (failure == ELOOP || failure == ENOTDIR) && isLink(at.get(), name)) {
            sub = Fd(::openat(at.get(), name, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (!rootKnown && ::fstat(rootFd, &root) != 0)
                throw Error::cannotCreate(shown, errno);
            rootKnown = true;
            // Where the opened folder lies, found by walking up from it, not from its name.
            bool inside = false;
            for (Fd up(sub ? ::dup(sub.get()) : -1); up;) {
                struct stat st, parent;
                if (::fstat(up.get(), &st) != 0)
                    break;
                if (st.st_dev == root.st_dev && st.st_ino == root.st_ino) {
                    inside = true;
                    break;
                }
                Fd next(::openat(up.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
                if (!next || ::fstat(next.get(), &parent) != 0 ||
                    (parent.st_dev == st.st_dev && parent.st_ino == st.st_ino))
                    break;
                up = std::move(next);
            }
            if (!inside)
                throw Error::refused(LinkOutside, shown);
        }
        if (!sub)
            throw Error::cannotCreate(shown, failure);
        at = std::move(sub);
    }
    return at;
}

// The components of a name inside the tree; refuses what would lead elsewhere.
std::vector<std::string> partsOf(const fs::path& relative, const fs::path& base);

// A file's name inside the folder with its components joined by '/'; refuses as partsOf.
std::string joinedParts(const std::string& name, const fs::path& base) {
    // A plain name (the four package files) needs no path built.
    if (!name.empty() && name != "." && name != ".." &&
        name.find_first_of(std::string_view("/\0", 2)) == std::string::npos &&
        !endsWith(name, NewSuffix) && !endsWith(name, OldSuffix) && !isTemporaryFile(name))
        return name;
    std::string joined;
    for (const auto& part : partsOf(name, base))
        joined.append(joined.empty() ? "" : "/").append(part);
    return joined;
}

std::vector<std::string> partsOf(const fs::path& relative, const fs::path& base) {
    const auto shown = [&] { return base / relative; };
    std::vector<std::string> parts;
    for (const auto& part : relative) {
        const auto& text = part.native();
        if (text.empty())
            continue;
        if (relative.is_absolute() || text == "." || text == ".." ||
            text.find('\0') != std::string::npos)
            throw Error::refused(NotInTree, shown());
        // Recovery would take a folder of such a name for a leftover.
        if (endsWith(text, NewSuffix) || endsWith(text, OldSuffix) || isTemporaryFile(text))
            throw Error::refused(Reserved, shown());
        parts.push_back(text);
    }
    if (parts.empty())
        throw Error::refused(NotInTree, shown());
    return parts;
}

} // namespace

void setFileStepHook(std::function<int(FileStep)> hook) {
    stepHook() = std::move(hook);
}

void setFileSync(bool on) {
    syncOn = on;
}

namespace {

// The bytes of a file opened for reading (fd, or -1 with errno); `shown` names it in errors
// and is called only then.
template <typename Shown> std::string readOpened(Fd fd, const Shown& shown) {
    struct stat st;
    // A socket, or a device without a driver, cannot be opened at all.
    if (!fd && errno == ENXIO)
        throw Error::refused(NotRegular, shown());
    if (!fd || ::fstat(fd.get(), &st) != 0)
        throw Error::cannotOpen(shown(), errno);
    if (S_ISDIR(st.st_mode))
        throw Error::cannotOpen(shown(), EISDIR);
    if (!S_ISREG(st.st_mode))
        throw Error::refused(NotRegular, shown());
    // Read straight into the text, sized by the file; a file that grows meanwhile is read on.
    std::string bytes(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)) + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2);
        const auto n = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Error::cannotOpen(shown(), errno);
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
        // A regular file on disk reads short only at its end: no second call to learn it
        // (files of size 0, as the kernel's own, may come in pieces and are read to the end).
        if (filled < bytes.size() && st.st_size > 0)
            break;
    }
    bytes.resize(filled);
    return bytes;
}

// Without blocking: opening a FIFO to read would wait for a writer that never comes.
// What was opened is judged by its own status, not by a look at the name beforehand.
constexpr int ReadFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;

Text crLfText(Text bytes) {
    if (breaksAreCrLf(bytes))
        return bytes;
    return normaliseBreaks(bytes);
}

} // namespace

std::string readFileBytes(const fs::path& path) {
    return readOpened(Fd(::open(path.c_str(), ReadFlags)), [&] { return path; });
}

Text readTextAt(int folder, const std::string& name, const fs::path& folderPath) {
    return crLfText(readOpened(Fd(::openat(folder, name.c_str(), ReadFlags)),
                               [&] { return folderPath / name; }));
}

Text readText(const fs::path& path) {
    return crLfText(readFileBytes(path));
}

void writeFileAtomic(const fs::path& path, std::string_view bytes) {
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir)
        throw Error::cannotCreate(path, errno);
    const auto temporary = temporaryBeside(path);
    Fd fd(createFile(dir.get(), temporary.c_str()));
    if (!fd)
        throw Error::cannotCreate(path, errno);
    if (!writeAll(fd.get(), bytes) || !syncFd(fd.get()) || !fd.close() ||
        !renameEntry(dir.get(), temporary.c_str(), dir.get(), path.filename().c_str())) {
        const int failure = errno;
        removeEntry(dir.get(), temporary.c_str(), false);
        throw Error::cannotCreate(path, failure);
    }
    if (!syncFd(dir.get()))
        throw Error::cannotCreate(path, errno);
}

void writePieces(const fs::path& path, const Pieces& pieces) {
    writeFileAtomic(path, joinPieces(pieces));
}

// writeTaskFolder, and with `webfiles` false writeFolderAtomic.
static void replaceFolder(int heldRoot, const fs::path& root, const fs::path& relative,
                          const std::vector<FolderFile>& files, bool webfiles) {
    const auto parts = partsOf(relative, root);
    const fs::path folder = root / relative;
    // The files' names as '/'-joined components, each checked to stay inside the folder.
    std::vector<std::string> names;
    for (const auto& file : files)
        names.push_back(joinedParts(file.name, folder));

    // The output folder itself may be a link, and is made when missing; one held open (by
    // the tree's lock) serves as it is.
    Fd rootFd;
    if (heldRoot < 0) {
        rootFd = Fd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        std::error_code ec;
        if (!rootFd && errno == ENOENT && fs::create_directories(root, ec)) {
            const fs::path above = root.has_parent_path() ? root.parent_path() : fs::path(".");
            if (Fd up(::open(above.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); up)
                syncFd(up.get());
            rootFd = Fd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        }
        if (!rootFd)
            throw Error::cannotCreate(root, ec ? ec.value() : errno);
    }
    const int rootAt = heldRoot < 0 ? rootFd.get() : heldRoot;
    // A folder right below root is written in root itself.
    const Fd parent = parts.size() > 1 ? openParent(rootAt, parts, root) : Fd();
    const int dir = parts.size() > 1 ? parent.get() : rootAt;
    const std::string& name = parts.back();
    const std::string fresh = name + std::string(NewSuffix);
    const std::string aside = name + std::string(OldSuffix);

    recoverFolder(dir, name, folder, false);
    Fd old = openFolder(dir, name.c_str());
    const int failure = errno;
    if (!old && failure != ENOENT && isLink(dir, name.c_str()))
        throw Error::refused(LinkInTask, folder);
    if (!old && failure != ENOENT)
        throw Error::cannotCreate(folder, failure);
    if (!makeFolder(dir, fresh.c_str())) {
        // A new folder left by an interrupted write goes first, as recovery would remove it.
        if (errno != EEXIST || !isFolder(dir, fresh.c_str()))
            throw Error::cannotCreate(folder, errno);
        if (!removeTree(dir, fresh.c_str()))
            throw Error::refused(RecoveryFailed, folder, errno);
        if (!makeFolder(dir, fresh.c_str()))
            throw Error::cannotCreate(folder, errno);
    }

    bool keptAside = false;
    std::vector<Entry> oldEntries; // what the old folder held, as carried
    try {
        Fd assembled = openFolder(dir, fresh.c_str());
        if (!assembled)
            throw Error::cannotCreate(folder, errno);
        for (const auto& file : files)
            writeNewFile(assembled.get(), file.name, file.bytes, folder);
        const bool linkedAll =
            !old || carryEntries(old.get(), assembled.get(), Shown{&folder}, names, oldEntries);
        if (old)
            keepMode(old.get(), assembled.get());
        // Without an old folder, webfiles is there only when a written file went into it; an
        // old webfiles folder was made anew by the carrying.
        const bool webfilesWritten = std::any_of(
            names.begin(), names.end(), [](const auto& n) { return n.starts_with("webfiles/"); });
        const bool webfilesCarried =
            std::any_of(oldEntries.begin(), oldEntries.end(),
                        [](const Entry& e) { return e.folder && e.name == Webfiles; });
        const bool madeWebfiles =
            webfiles && ((!old && !webfilesWritten) ||
                         (old && !webfilesCarried &&
                          ::faccessat(assembled.get(), Webfiles, F_OK, AT_SYMLINK_NOFOLLOW) != 0));
        if (madeWebfiles && !makeFolder(assembled.get(), Webfiles))
            throw Error::cannotCreate(folder / Webfiles, errno);
        // The carried folders are synced already; the written files' folders, a new webfiles
        // and the folder itself now.
        if (!syncWritten(assembled.get(), names, madeWebfiles))
            throw Error::cannotCreate(folder, errno);

        if (!old) {
            if (!renameEntry(dir, fresh.c_str(), dir, name.c_str()))
                throw Error::cannotCreate(folder, errno);
        } else if (!linkedAll || !exchangeEntries(dir, fresh.c_str(), name.c_str())) {
            // No swap where the file system cannot (FAT) or refused a link: the old folder
            // aside, the new one in its place, then the entries not linked moved over.
            if (linkedAll && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
                throw Error::cannotCreate(folder, errno);
            keptAside = true;
            if (!renameEntry(dir, name.c_str(), dir, aside.c_str()) ||
                !renameEntry(dir, fresh.c_str(), dir, name.c_str()))
                throw Error::cannotCreate(folder, errno);
            Fd from = openFolder(dir, aside.c_str()), to = openFolder(dir, name.c_str());
            if (!syncFd(dir) || !from || !to || !moveMissing(from.get(), to.get()))
                throw Error::cannotCreate(folder, errno);
        }
        if (!syncFd(dir))
            throw Error::cannotCreate(folder, errno);
    } catch (const Error&) {
        // The same steps as at the next start: back to the whole old package, or on to the
        // whole new one when it is already in place.
        try {
            recoverFolder(dir, name, folder);
        } catch (const Error&) {
        }
        throw;
    }
    // After the swap the old package lies under the new folder's name (without it, aside),
    // with links to what was carried: a failure to remove it leaves it to the next recovery.
    // After the swap the old folder is still open: what it held goes by the names carried.
    if (old && (keptAside || !removeCarried(old.get(), oldEntries, dir, fresh.c_str())))
        removeTree(dir, keptAside ? aside.c_str() : fresh.c_str());
}

void writeTaskFolder(const fs::path& root, const fs::path& relative,
                     const std::vector<FolderFile>& files) {
    replaceFolder(-1, root, relative, files, true);
}

void writeTaskFolder(int rootFd, const fs::path& root, const fs::path& relative,
                     const std::vector<FolderFile>& files) {
    replaceFolder(rootFd, root, relative, files, true);
}

void writeFolderAtomic(const fs::path& folder, const std::vector<FolderFile>& files) {
    // Named from its parent, so that "out/", "." and ".." name a folder too.
    const fs::path whole = fs::absolute(folder).lexically_normal();
    const fs::path named = whole.has_filename() ? whole : whole.parent_path();
    replaceFolder(-1, named.parent_path(), named.filename(), files, false);
}

std::size_t recoverTree(const fs::path& root) {
    Fd fd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) {
        if (errno == ENOENT)
            return 0;
        throw Error::cannotOpen(root, errno);
    }
    return recoverTree(fd.get(), root);
}

std::size_t recoverTree(int folder, const fs::path& root) {
    std::optional<Error> failure;
    const auto done = recoverIn(folder, root, 0, failure);
    if (failure)
        throw *failure;
    return done;
}

} // namespace kavo
