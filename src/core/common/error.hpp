// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace kavo {

// A failure that stops the current operation; what() is the report the user sees, in
// UTF-8 (paths as the file system holds them).
class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& report) : std::runtime_error(report) {}

    static Error cannotOpen(const std::filesystem::path& path);
    static Error cannotCreate(const std::filesystem::path& path);
    static Error notInteger(const std::string& cp1251Text);
};

} // namespace kavo
