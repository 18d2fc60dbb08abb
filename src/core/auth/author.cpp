// SPDX-License-Identifier: MIT
#include "core/auth/author.hpp"
#include "core/common/files.hpp"

#include "core/common/error.hpp"
#include "core/common/field_text.hpp"
#include "core/common/messages.hpp"
#include "core/common/tree_lock.hpp"
#include "core/common/xml.hpp"

#include <optional>

namespace fs = std::filesystem;

namespace kavo::auth {

AuthorPaths authorPaths(const fs::path& programDir) {
    return authorPathsIn(programDir / "System_folder");
}

bool authorMissing(const fs::path& systemDir) {
    return readText(authorPathsIn(systemDir).flag).find('1') != Text::npos;
}

AuthorPaths authorPathsIn(const fs::path& system) {
    return {
        .flag = system / "Authorisation" / "save.txt",
        .head1 = system / "Authorisation" / "Author_1.txt",
        .head2 = system / "Authorisation" / "Author_2.txt",
        .tail = system / "Authorisation" / "Author_end.txt",
        .header1 = system / "file" / "task_xml.txt",
        .header2 = system / "file" / "task_xml_2.txt",
        .language = system / "Language" / "Language.txt",
    };
}

Text buildHeader(std::string_view head, std::string_view authorLine, std::string_view tail) {
    Text header(head);
    header += escapeXmlAttribute(authorLine);
    header += tail;
    return header;
}

// The exact bytes of a file, or none when it cannot be read (it may not exist yet).
static std::optional<std::string> previousBytes(const fs::path& path) {
    try {
        return readFileBytes(path);
    } catch (const Error&) {
        return std::nullopt;
    }
}

void saveAuthor(const fs::path& programDir, std::string_view authorLine, Lang lang) {
    saveAuthorIn(programDir / "System_folder", authorLine, lang);
}

Headers headersFor(const fs::path& systemDir, std::string_view authorLine, Lang lang) {
    if (const auto invalid = refuseFieldText(TextField::AuthorLine, authorLine))
        throw Error(msg::auth::invalidLine.utf8(lang, {invalid->description}));
    const auto paths = authorPathsIn(systemDir);
    const Text head1 = readText(paths.head1);
    const Text head2 = readText(paths.head2);
    const Text tail = readText(paths.tail);
    return {joinPieces({buildHeader(head1, authorLine, tail)}),
            joinPieces({buildHeader(head2, authorLine, tail)})};
}

void saveAuthorIn(const fs::path& systemDir, std::string_view authorLine, Lang lang) {
    const TreeLock system(systemDir, TreeLock::Missing::Refuse);
    const auto headers = headersFor(systemDir, authorLine, lang);
    const auto paths = authorPathsIn(systemDir);
    const auto oldHeader1 = previousBytes(paths.header1);
    writeFileAtomic(paths.header1, headers.first);
    try {
        writeFileAtomic(paths.header2, headers.second);
    } catch (const Error&) {
        // Keep the two headers from the same Save: put the first back, best effort.
        if (oldHeader1) {
            try {
                writeFileAtomic(paths.header1, *oldHeader1);
            } catch (const Error&) {
            }
        }
        throw;
    }
    writePieces(paths.flag, {"0"});
}

} // namespace kavo::auth
