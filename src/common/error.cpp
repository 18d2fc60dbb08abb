// SPDX-License-Identifier: MIT
#include "common/error.hpp"

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

Error Error::notInteger(const std::string& text) {
    return Error("'" + text + "' is not a valid integer value");
}

} // namespace kavo
