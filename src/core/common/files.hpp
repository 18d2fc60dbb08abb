// SPDX-License-Identifier: MIT
#pragma once
// Reading and writing whole files of program text.

#include "core/common/text.hpp"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kavo {

// The whole file with every CR, LF and CR LF made CR LF; a final break stays.
// Throws Error::cannotOpen.
Text readText(const std::filesystem::path& path);

// Replaces the file with exactly these bytes: a temporary file beside it, then a rename.
// Throws Error::cannotCreate naming the target.
void writeFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// writeFileAtomic(path, joinPieces(pieces)).
void writePieces(const std::filesystem::path& path, const Pieces& pieces);

// One file of a task folder: its name inside the folder ("task.asp", "webfiles/picture.jpg")
// and its exact bytes.
struct FolderFile {
    std::string name;
    std::string bytes;
};

// Makes root/relative hold these files and an empty-or-kept webfiles folder. Throws
// Error::cannotCreate naming the path that failed.
void writeTaskFolder(const std::filesystem::path& root, const std::filesystem::path& relative,
                     const std::vector<FolderFile>& files);

} // namespace kavo
