// SPDX-License-Identifier: MIT
#include "support/test_support.hpp"

#include "core/common/codepage.hpp"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace kavo::test {

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = fs::temp_directory_path() / ("kavo-test-" + std::to_string(random()) +
                                                      "-" + std::to_string(++counter));
        if (fs::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests make folders read-only to provoke failures; make them writable again first.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

fs::path shippedSystemFolder() {
    return fs::path(KAVO_SHIPPED_SYSTEM_FOLDER);
}

void copySystemFolder(const fs::path& dir) {
    fs::copy(shippedSystemFolder(), dir / "System_folder", fs::copy_options::recursive);
    for (const auto& entry : fs::recursive_directory_iterator(dir / "System_folder"))
        fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add);
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& path, std::string_view bytes) {
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string listTree(const fs::path& dir) {
    std::vector<std::string> names;
    if (fs::exists(dir))
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            names.push_back(fs::relative(entry.path(), dir).generic_string() +
                            (entry.is_directory() ? "/" : ""));
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& name : names)
        out += name + "\n";
    return out;
}

} // namespace kavo::test

namespace kavo::test {

std::string cp1251(std::string_view utf8) {
    return *kavo::utf8ToCp1251(utf8, kavo::Unencodable::Refuse);
}

} // namespace kavo::test
