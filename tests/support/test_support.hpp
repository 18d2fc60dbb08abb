// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kavo::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// The System_folder of the source tree.
std::filesystem::path shippedSystemFolder();

// Copies the shipped System_folder into dir/System_folder (writable copies).
void copySystemFolder(const std::filesystem::path& dir);

// The exact bytes of a file; throws when it cannot be read.
std::string readBytes(const std::filesystem::path& path);
// Replaces a file with exactly these bytes, creating missing folders.
void writeBytes(const std::filesystem::path& path, std::string_view bytes);

// Windows-1251 bytes of a UTF-8 text, converted by the code page (not by hand).
std::string cp1251(std::string_view utf8);

// Every regular file under dir, as paths relative to it, sorted.
std::string listTree(const std::filesystem::path& dir);

} // namespace kavo::test
