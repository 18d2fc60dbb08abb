// SPDX-License-Identifier: MIT
#pragma once
// View task in the browser: a written task page made static and written to buf.html.

#include "core/common/lang.hpp"
#include "core/common/text.hpp"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kavo::review {

// The templates of System_folder/browser, in the order they are read.
struct PreviewTemplates {
    Text head;      // replaces the table text
    Text input;     // replaces the input_str text
    Text radio;     // replaces "<%radio()%>"
    Text buttom;    // appended at the end of the page
    Text check;     // replaces "<%check()%>"
    Text table;     // searched for in the page
    Text input_str; // searched for in the page
    Text check_str; // read with the others; replaces nothing
};

// Reads the eight templates under programDir. Throws Error::cannotOpen.
PreviewTemplates readPreviewTemplates(const std::filesystem::path& programDir);

// The file: URL of a file: the absolute path, its UTF-8 bytes percent-encoded except
// letters, digits, "-._~" and the separators.
std::string fileUrl(const std::filesystem::path& file);
// The same for a folder, ending in "/".
std::string folderUrl(const std::filesystem::path& folder);

// The static page, made in one pass over the page: the table text, the four server tags, the
// input_str text and "webfiles/" replaced where they stand in the page (the first in that
// order where two start at one place), "webfiles/" pointed inside the inserted fragments too,
// then the bottom text appended unchanged. Any other "<%" of the page is written "&lt;%", and
// a "<" just before a deleted tag "&lt;", which the browser shows alike: no text around a tag
// can read as a server tag in the result ("<%ne<%next()%>xt()%>" gives "&lt;%next()%>").
//
// The former chain of seven replace-alls gave the same bytes except where (a) a deletion or an
// inserted fragment joined the text beside it into a later pattern ("<%ra<%next()%>dio()%>"
// became a radio button, "webfi<%next()%>les/" a link), (b) an inserted fragment held a later
// pattern, which the chain replaced inside it, (c) two patterns overlapped in the page and
// the later one in the chain started first (the chain let the earlier one win), or (d) the
// page held "<%" other than the four tags, or "<" just before "<%next()%>" or
// "<%store_count()%>", which the chain left as they were. Pages of the shipped templates
// have none of these unless the teacher typed them.
Text previewPage(const PreviewTemplates& templates, std::string_view page,
                 std::string_view webfilesUrl);

struct PreviewRequest {
    Lang lang = Lang::Russian;
    std::filesystem::path ProgramDir;
    std::optional<int> selected; // the selected position of ListBox1
    int count = 0;               // the items of ListBox1
    // The task folder of a number by the stored part sizes; none when it has no folder.
    std::function<std::optional<std::filesystem::path>(std::int64_t n)> taskFolder;
};

struct PreviewResult {
    std::string url;             // the file: URL of buf.html to open; empty: nothing to open
    Text message;                // to show in the information box; empty: none
    std::optional<int> selected; // the new selection of ListBox1; none past the last number
};

// View task in the browser. Reads every template and the page before buf.html is written;
// a file that cannot be read or written throws kavo::Error, and the selection stays. A page
// that shows webfiles/picture.jpg of a folder without it still opens, with a message.
PreviewResult previewTask(const PreviewRequest& request);

} // namespace kavo::review
