// SPDX-License-Identifier: MIT
#include "core/common/files.hpp"

#include "core/common/error.hpp"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace kavo {

Text readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::error_code ec;
    if (!in || fs::is_directory(path, ec))
        throw Error::cannotOpen(path);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw Error::cannotOpen(path);
    return normaliseBreaks(bytes);
}

// A name beside the target that no other write of this process uses at the same time.
static fs::path temporaryBeside(const fs::path& target) {
    // A random token per process keeps two running programs apart; the counter keeps the
    // writes of one process apart.
    static const auto token = std::to_string(std::random_device{}() & 0xFFFFFF);
    static std::atomic<unsigned> counter{0};
    auto name = target.filename();
    name += ".kavo-tmp" + token + "-" + std::to_string(++counter);
    return target.parent_path() / name;
}

void writeFileAtomic(const fs::path& path, std::string_view bytes) {
    const auto temporary = temporaryBeside(path);
    std::error_code ec;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.flush();
        }
        if (!out) {
            out.close();
            fs::remove(temporary, ec);
            throw Error::cannotCreate(path);
        }
    }
    if (fs::is_directory(path, ec)) {
        fs::remove(temporary, ec);
        throw Error::cannotCreate(path);
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        throw Error::cannotCreate(path);
    }
}

void writePieces(const fs::path& path, const Pieces& pieces) {
    writeFileAtomic(path, joinPieces(pieces));
}

void writeTaskFolder(const fs::path& root, const fs::path& relative,
                     const std::vector<FolderFile>& files) {
    const auto folder = root / relative;
    std::error_code ec;
    // A target that cannot take its file is found before anything is written.
    for (const auto& file : files)
        if (fs::is_directory(folder / file.name, ec))
            throw Error::cannotCreate(folder / file.name);
    fs::create_directories(folder / "webfiles", ec);
    if (ec || !fs::is_directory(folder / "webfiles"))
        throw Error::cannotCreate(folder / "webfiles");
    for (const auto& file : files)
        writeFileAtomic(folder / file.name, file.bytes);
}

} // namespace kavo
