// SPDX-License-Identifier: MIT
#include "core/render/task_tree.hpp"

#include "core/common/codepage.hpp"
#include "core/common/messages.hpp"
#include "core/common/text.hpp"
#include "core/render/task_state.hpp"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace kavo::render {

const char* const Groups[4] = {"", "PartA", "PartB", "PartC"};

bool inNumberedGroup(const fs::path& folder) {
    const auto parent = folder.parent_path().generic_string();
    return std::find(std::begin(Groups), std::end(Groups), parent) != std::end(Groups);
}

std::string folderText(const fs::path& folder) {
    const auto bytes = folder.generic_string();
    return isValidUtf8(bytes) ? bytes : cp1251ToUtf8(bytes);
}

namespace {

constexpr int MaxDepth = 4;

void collect(const fs::path& root, const fs::path& relative, int depth,
             std::vector<fs::path>& found) {
    std::error_code ec;
    fs::directory_iterator it(root / relative, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const auto& entry = *it;
        if (entry.is_symlink(ec) || !entry.is_directory(ec))
            continue;
        const auto name = entry.path().filename();
        if (name == "webfiles" || name.string().starts_with("."))
            continue;
        const auto child = relative / name;
        if (render::holdsPackageFile(root / child))
            found.push_back(child);
        else if (depth + 1 < MaxDepth)
            collect(root, child, depth + 1, found);
    }
}

} // namespace

std::vector<fs::path> taskFolders(const fs::path& outputDir) {
    std::vector<fs::path> found;
    collect(outputDir, {}, 0, found);
    std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
        const auto na = render::folderNumber(a), nb = render::folderNumber(b);
        if (na.has_value() != nb.has_value())
            return na.has_value();
        if (na && *na != *nb)
            return *na < *nb;
        return a.generic_string() < b.generic_string();
    });
    return found;
}

model::PartSizes sizesInTree(const fs::path& outputDir) {
    // The highest number of the tree itself and of PartA, PartB and PartC, and the lowest of
    // PartC: part C begins there even when the last numbers of part B hold no task yet.
    int highest[4] = {0, 0, 0, 0};
    int lowestC = 0;
    for (const auto& folder : taskFolders(outputDir)) {
        const auto number = render::folderNumber(folder);
        if (!number)
            continue;
        const auto parent = folder.parent_path().generic_string();
        const int part = parent.empty()      ? 0
                         : parent == "PartA" ? 1
                         : parent == "PartB" ? 2
                         : parent == "PartC" ? 3
                                             : -1;
        if (part < 0)
            continue;
        highest[part] = std::max(highest[part], *number);
        if (part == 3)
            lowestC = lowestC == 0 ? *number : std::min(lowestC, *number);
    }
    if (highest[1] == 0 && highest[2] == 0 && highest[3] == 0)
        return {highest[0], 0, 0};
    const int a = highest[1];
    const int b = std::max({highest[2] - a, lowestC - 1 - a, 0});
    const int c = std::max(highest[3] - a - b, 0);
    return {a, b, c};
}

std::optional<fs::path> numberHeldElsewhere(const fs::path& outputDir, int number,
                                            const fs::path& folder, int treeFd) {
    // Most folders are written as lexically_normal gives them: "7", "PartB/7".
    const std::string& typed = folder.native();
    const bool plain = !typed.empty() && typed.front() != '/' && typed.back() != '/' &&
                       typed.find("//") == std::string::npos && typed.front() != '.' &&
                       typed.find("/.") == std::string::npos;
    const std::string ownText = plain ? typed : folder.lexically_normal().native();
    const auto slash = ownText.rfind('/');
    const std::string_view parent = slash == std::string::npos
                                        ? std::string_view()
                                        : std::string_view(ownText).substr(0, slash);
    if (std::find(std::begin(Groups), std::end(Groups), parent) == std::end(Groups))
        return std::nullopt;
    const std::string name = std::to_string(number);
    // One path, its group and number put after the tree's own (none from the open tree).
    std::string full = treeFd < 0 ? outputDir.native() + '/' : std::string();
    const std::size_t root = full.size();
    for (const char* group : Groups) {
        // Mostly there is no such folder: one look at its name; the folder the task goes to
        // is no other.
        struct stat st {};
        full.resize(root);
        if (*group)
            full.append(group).append(1, '/');
        full.append(name);
        if (std::string_view(full).substr(root) == ownText)
            continue;
        if (::fstatat(treeFd < 0 ? AT_FDCWD : treeFd, full.c_str(), &st, 0) != 0 &&
            (errno == ENOENT || errno == ENOTDIR))
            continue;
        const auto other = fs::path(group) / name;
        if (other.native() != ownText && holdsPackageFile(outputDir / other))
            return other;
    }
    return std::nullopt;
}

std::string heldElsewhereRefusal(const fs::path& outputDir, int number, const fs::path& folder,
                                 const fs::path& other, Lang lang) {
    const auto sizes = sizesInTree(outputDir);
    return msg::treeCheck::heldElsewhere.utf8(
        lang, {std::to_string(number), folderText(other), folderText(folder),
               std::to_string(sizes.a), std::to_string(sizes.b), std::to_string(sizes.c)});
}

} // namespace kavo::render
