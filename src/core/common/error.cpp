// SPDX-License-Identifier: MIT
#include "core/common/error.hpp"

#include "core/common/codepage.hpp"

namespace kavo {

// Paths are shown as their UTF-8 bytes, the way the file system holds them.
static std::string shown(const std::filesystem::path& path) {
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

Error Error::cannotOpen(const std::filesystem::path& path) {
    return Error("Cannot open file " + shown(path));
}

Error Error::cannotCreate(const std::filesystem::path& path) {
    return Error("Cannot create file " + shown(path));
}

// The text comes from a form field or a file, in Windows-1251; the report is UTF-8.
Error Error::notInteger(const std::string& text) {
    return Error("'" + cp1251ToUtf8(text) + "' is not a valid integer value");
}

} // namespace kavo
