// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace kavo {

// A failure that stops the current operation; what() is the report the user sees.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& report) : std::runtime_error(report) {}

    static Error cannotOpen(const std::filesystem::path& path);
    static Error cannotCreate(const std::filesystem::path& path);
    static Error notInteger(const std::string& text);
};

} // namespace kavo
