// SPDX-License-Identifier: MIT
#pragma once
// The plain file operations the benchmarks measure the program against: one open, one
// read or write, one close, no checks beyond the system's answer.

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace kavo::bench {

[[noreturn]] inline void fail(const std::string& what, const std::filesystem::path& path) {
    throw std::runtime_error(what + " " + path.string() + ": " + std::strerror(errno));
}

// The whole file in one read of its size.
inline std::string readFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0)
        fail("cannot open", path);
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    if (::read(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        fail("cannot read", path);
    ::close(fd);
    return bytes;
}

// A new file with exactly these bytes; it must not exist yet.
inline void createFile(const std::filesystem::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        fail("cannot create", path);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        fail("cannot write", path);
    ::close(fd);
}

// A temporary file beside the target, renamed over it.
inline void replaceFile(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path temporary = path;
    temporary += ".bench-tmp";
    createFile(temporary, bytes);
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        fail("cannot rename to", path);
}

} // namespace kavo::bench
