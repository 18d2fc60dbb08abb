// SPDX-License-Identifier: MIT
#pragma once
// Reading and writing whole files of program text, and task folders as a whole.

#include "core/common/text.hpp"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo {

// The whole file with every CR, LF and CR LF made CR LF; a final break stays.
// Throws Error::cannotOpen with the system's reason.
Text readText(const std::filesystem::path& path);
// The same for `name` under an open folder (a descriptor); errors name folderPath / name.
Text readTextAt(int folder, const std::string& name, const std::filesystem::path& folderPath);

// The whole file, its bytes unchanged (a picture). Throws Error::cannotOpen as readText.
std::string readFileBytes(const std::filesystem::path& path);

// Replaces the file with exactly these bytes: a temporary file beside it, synced to disk,
// renamed over the target, then the folder synced. Throws Error::cannotCreate naming the
// target, with the system's reason; the temporary file is removed.
void writeFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// writeFileAtomic(path, joinPieces(pieces)).
void writePieces(const std::filesystem::path& path, const Pieces& pieces);

// One file of a task folder: its name inside the folder ("task.asp", "webfiles/picture.jpg")
// and its exact bytes.
struct FolderFile {
    std::string name;
    std::string bytes;
};

// Makes root/relative hold these files in place of the old ones, together with every
// other entry the folder held (the webfiles folder with its pictures, a file not rewritten,
// anything else) and an empty webfiles folder when there was none. The folder goes from the
// whole old package to the whole new one in one step, and is on disk when this returns.
// Creates root and the part folders as needed; leftovers of an interrupted write of this
// folder are dealt with first. root may be a symbolic link; below it, a part folder that is
// a link leading outside root, or a task folder or written file that is a link, is refused,
// and so are names leading out of root and names of the program's leftovers.
// Throws Error (cannotCreate with the reason, or a refusal).
void writeTaskFolder(const std::filesystem::path& root, const std::filesystem::path& relative,
                     const std::vector<FolderFile>& files);
// The same below root open as rootFd (the task tree as its lock holds it open); -1 opens it.
void writeTaskFolder(int rootFd, const std::filesystem::path& root,
                     const std::filesystem::path& relative, const std::vector<FolderFile>& files);

// The same for a folder that is not a task folder (a QTI package): the files of the same
// names replaced and every other entry kept, in one step; no webfiles folder is added. The
// folder and its parents are created when missing. Throws Error.
void writeFolderAtomic(const std::filesystem::path& folder, const std::vector<FolderFile>& files);

// Finds the leftovers of interrupted writes under root (the program's temporary files, new
// task folders not yet in place, old ones kept aside) by their names and removes or restores
// them, so that every task folder again holds one whole package. Never removes anything
// else; does not follow symbolic links below root and looks eight folders deep at most. A
// missing root has nothing to recover. Returns how many leftovers it dealt with; throws
// Error naming the first it could not deal with, after dealing with all the others.
std::size_t recoverTree(const std::filesystem::path& root);
// The same for root already open as the folder descriptor folder (one the caller holds).
std::size_t recoverTree(int folder, const std::filesystem::path& root);

// The steps that change the disk, as the test seam sees them.
enum class FileStep { Create, Write, Sync, MakeFolder, Link, Rename, Exchange, Remove };

// Test seam: called before every step above with the step; returns 0 to go on, or an errno
// value that the step then fails with, without being done. An empty hook removes it.
void setFileStepHook(std::function<int(FileStep)> hook);

// Turns the syncs to disk off (measuring only); on by default.
void setFileSync(bool on);

} // namespace kavo
