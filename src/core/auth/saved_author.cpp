// SPDX-License-Identifier: MIT
#include "core/auth/saved_author.hpp"

#include "core/auth/author.hpp"
#include "core/common/error.hpp"
#include "core/common/files.hpp"
#include "core/common/text.hpp"

namespace kavo::auth {

// The inverse of the Save's escaping: it writes `"`, `<` and a bare `&` as entities and keeps
// what the user typed as a reference, so undoing these three gives a line that saves again
// to the same header.
static Text unescaped(std::string_view escaped) {
    Text line(escaped);
    line = replaceAll(line, "&quot;", "\"");
    line = replaceAll(line, "&lt;", "<");
    return replaceAll(line, "&amp;", "&");
}

std::optional<Text> savedAuthorLine(const std::filesystem::path& programDir) {
    const AuthorPaths paths = authorPaths(programDir);
    try {
        const Text header = readText(paths.header1);
        const Text head = readText(paths.head1);
        const Text tail = readText(paths.tail) + "\r\n";
        if (header.size() < head.size() + tail.size() || !header.starts_with(head) ||
            !header.ends_with(tail))
            return std::nullopt;
        return unescaped(std::string_view(header).substr(head.size(), header.size() - head.size() -
                                                                          tail.size()));
    } catch (const Error&) {
        return std::nullopt;
    }
}

} // namespace kavo::auth
