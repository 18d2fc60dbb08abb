// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/lang.hpp"
#include "core/common/text.hpp"

#include <filesystem>
#include <string_view>

namespace kavo::auth {

// The files of the author details, all under programDir.
struct AuthorPaths {
    std::filesystem::path flag;     // Authorisation/save.txt
    std::filesystem::path head1;    // Authorisation/Author_1.txt
    std::filesystem::path head2;    // Authorisation/Author_2.txt
    std::filesystem::path tail;     // Authorisation/Author_end.txt
    std::filesystem::path header1;  // file/task_xml.txt
    std::filesystem::path header2;  // file/task_xml_2.txt
    std::filesystem::path language; // Language/Language.txt
};

AuthorPaths authorPaths(const std::filesystem::path& programDir);
// The same files of a System_folder wherever it lies.
AuthorPaths authorPathsIn(const std::filesystem::path& systemDir);

// Whether the author flag says the author's details are still missing ("1" anywhere).
// Throws Error::cannotOpen.
bool authorMissing(const std::filesystem::path& systemDir);

// Header text: head + author line + tail. The line is escaped for XML, since it lands in
// the task description; character references the user typed stay.
Text buildHeader(std::string_view head, std::string_view authorLine, std::string_view tail);

// The two description headers (file/task_xml.txt, task_xml_2.txt) as Save writes them for
// this author line, final line break included. A line with a character that task.xml
// cannot hold is refused with a report in `lang`. Throws kavo::Error.
struct Headers {
    Text first, second;
};
Headers headersFor(const std::filesystem::path& systemDir, std::string_view authorLine,
                   Lang lang = Lang::Russian);

// Save of the author details dialog. Reads the three templates, rebuilds both description
// headers, and only then clears the author flag ("0"), so a failure never leaves the flag
// saying the details are given beside headers that do not carry them. If the second
// header cannot be written, the first is put back as it was. Throws kavo::Error.
// A line with a character that task.xml cannot hold is refused with a report in `lang`.
void saveAuthor(const std::filesystem::path& programDir, std::string_view authorLine,
                Lang lang = Lang::Russian);
void saveAuthorIn(const std::filesystem::path& systemDir, std::string_view authorLine,
                  Lang lang = Lang::Russian);

} // namespace kavo::auth
