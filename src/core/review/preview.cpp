// SPDX-License-Identifier: MIT
#include "core/review/preview.hpp"
#include "core/common/files.hpp"

#include "core/common/messages.hpp"
#include "core/render/render.hpp"

#include <array>

namespace fs = std::filesystem;

namespace kavo::review {

namespace {

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/' || c == ':';
}

std::string percentEncoded(const fs::path& path) {
    static constexpr char hex[] = "0123456789ABCDEF";
    const auto u8 = fs::absolute(path).lexically_normal().generic_u8string();
    std::string out;
    for (const char8_t ch : u8) {
        const auto c = static_cast<unsigned char>(ch);
        if (unreserved(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0x0F];
        }
    }
    return out;
}

} // namespace

PreviewTemplates readPreviewTemplates(const fs::path& programDir) {
    const fs::path browser = programDir / "System_folder" / "browser";
    PreviewTemplates t;
    const std::array<std::pair<const char*, Text*>, 8> files{{
        {"head.txt", &t.head},
        {"input.txt", &t.input},
        {"radio.txt", &t.radio},
        {"buttom.txt", &t.buttom},
        {"check.txt", &t.check},
        {"table.txt", &t.table},
        {"input_str.txt", &t.input_str},
        {"check_str.txt", &t.check_str},
    }};
    for (const auto& [name, text] : files)
        *text = readText(browser / name);
    return t;
}

std::string fileUrl(const fs::path& file) {
    // A drive path ("C:/Tasks") needs the slash of an empty host: file:///C:/Tasks.
    const std::string path = percentEncoded(file);
    return (path.starts_with('/') ? "file://" : "file:///") + path;
}

std::string folderUrl(const fs::path& folder) {
    std::string url = fileUrl(folder);
    if (url.back() != '/')
        url += '/';
    return url;
}

Text previewPage(const PreviewTemplates& templates, std::string_view page,
                 std::string_view webfilesUrl) {
    // The fragments point at the task's webfiles folder, as the page around them does.
    const Text head = replaceAll(templates.head, "webfiles/", webfilesUrl);
    const Text input = replaceAll(templates.input, "webfiles/", webfilesUrl);
    const Text radio = replaceAll(templates.radio, "webfiles/", webfilesUrl);
    const Text check = replaceAll(templates.check, "webfiles/", webfilesUrl);
    // In the order the chain of replacements had; the last three keep the page's own "<%",
    // and a "<" that a deleted tag would join to a following "%", from reading as a tag.
    const Replacement replacements[] = {
        {templates.table, head},        {"<%next()%>", ""},
        {"<%store_count()%>", ""},      {templates.input_str, input},
        {"<%radio()%>", radio},         {"<%check()%>", check},
        {"webfiles/", webfilesUrl},     {"<<%next()%>", "&lt;"},
        {"<<%store_count()%>", "&lt;"}, {"<%", "&lt;%"},
    };
    Text out = replaceEach(page, replacements);
    out += templates.buttom;
    return out;
}

PreviewResult previewTask(const PreviewRequest& request) {
    const PreviewTemplates templates = readPreviewTemplates(request.ProgramDir);

    PreviewResult result;
    if (!request.selected) {
        result.message = msg::review::selectNumber.in(request.lang);
    } else if (const auto folder = request.taskFolder(std::int64_t{*request.selected} + 1)) {
        const Text page = readText(*folder / "task.asp");
        const fs::path buf = request.ProgramDir / "buf.html";
        // Written as one piece: the page and one line break, without copying it again.
        Text written = previewPage(templates, page, folderUrl(*folder / "webfiles"));
        written += CRLF;
        writeFileAtomic(buf, written);
        result.url = fileUrl(buf);
        // The page still opens, but says why its picture would be empty.
        if (page.find(render::PictureFile) != Text::npos && render::pictureMissing(*folder))
            result.message = msg::review::pictureMissing.in(request.lang);
    } else {
        // Every number without a folder says so, the first one included.
        result.message = msg::review::cannotOpenTask.in(request.lang);
    }

    const int next = request.selected ? *request.selected + 1 : 0;
    if (next >= 0 && next < request.count)
        result.selected = next;
    return result;
}

} // namespace kavo::review
