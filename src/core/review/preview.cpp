// SPDX-License-Identifier: MIT
#include "core/review/preview.hpp"
#include "core/common/files.hpp"

#include "core/common/messages.hpp"
#include "core/render/render.hpp"

#include "core/common/error.hpp"

#include <array>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

// buf.html written anew. A regular file is overwritten in place and cut to the new length
// at the end: buf.html is only ever the last preview, made again on every one, so a new file
// and a rename over the old (which makes the system write the new one out at once) would
// cost more than making the page; nor is it emptied first, which would free its cached pages
// only to take them again and, on ext4, start writing them out at the close. Nor is it synced
// to disk. A write that fails leaves it empty, never half a page, and the preview stops with
// the error. Anything else under the name (a link, a pipe) is replaced by a file beside it
// renamed over it, so nothing is written through it.
class PreviewFile {
  public:
    explicit PreviewFile(fs::path path) : path_(std::move(path)) {
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
        struct stat st {};
        if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode))
            return;
        if (fd_ < 0 && errno != ELOOP && errno != ENXIO)
            throw Error::cannotCreate(path_, errno);
        if (fd_ >= 0)
            ::close(fd_);
        static std::atomic<unsigned> counter{0};
        temporary_ = path_;
        temporary_ += ".kavo-tmp" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd_ < 0)
            throw Error::cannotCreate(path_, errno);
    }
    PreviewFile(const PreviewFile&) = delete;
    PreviewFile& operator=(const PreviewFile&) = delete;
    // Left unfinished (an exception on the way): no half page stays.
    ~PreviewFile() {
        if (fd_ >= 0)
            discard();
    }

    void write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(n));
                written_ += static_cast<std::size_t>(n);
            } else if (n == 0 || errno != EINTR)
                fail(n == 0 ? EIO : errno);
        }
    }

    void finish() {
        if (::ftruncate(fd_, static_cast<off_t>(written_)) != 0)
            fail(errno);
        if (::close(std::exchange(fd_, -1)) != 0 ||
            (!temporary_.empty() && ::rename(temporary_.c_str(), path_.c_str()) != 0))
            fail(errno);
    }

  private:
    void discard() {
        if (temporary_.empty()) {
            if (fd_ >= 0)
                ::ftruncate(fd_, 0);
            else
                ::truncate(path_.c_str(), 0);
        }
        if (fd_ >= 0)
            ::close(std::exchange(fd_, -1));
        if (!temporary_.empty())
            ::unlink(temporary_.c_str());
    }
    [[noreturn]] void fail(int reason) {
        discard();
        throw Error::cannotCreate(path_, reason);
    }

    fs::path path_, temporary_;
    int fd_ = -1;
    std::size_t written_ = 0;
};

// The fragments pointed at the task's webfiles folder, and the replacements of the page.
struct PageReplacements {
    std::string url;
    Text head, input, radio, check;
    std::array<Replacement, 10> list;

    PageReplacements(const PreviewTemplates& templates, std::string_view webfilesUrl)
        : url(webfilesUrl), head(replaceAll(templates.head, "webfiles/", url)),
          input(replaceAll(templates.input, "webfiles/", url)),
          radio(replaceAll(templates.radio, "webfiles/", url)),
          check(replaceAll(templates.check, "webfiles/", url)),
          // In the order the chain of replacements had; the last three keep the page's own
          // "<%", and a "<" that a deleted tag would join to a following "%", from reading as
          // a tag.
          list{{{templates.table, head},
                {"<%next()%>", ""},
                {"<%store_count()%>", ""},
                {templates.input_str, input},
                {"<%radio()%>", radio},
                {"<%check()%>", check},
                {"webfiles/", url},
                {"<<%next()%>", "&lt;"},
                {"<<%store_count()%>", "&lt;"},
                {"<%", "&lt;%"}}} {}
    PageReplacements(const PageReplacements&) = delete;
};

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
    const PageReplacements replacements(templates, webfilesUrl);
    Text out = replaceEach(page, replacements.list);
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
        // Written as it is made, a part at a time: the static page and one line break.
        const PageReplacements replacements(templates, folderUrl(*folder / "webfiles"));
        PreviewFile file(buf);
        replaceEach(page, replacements.list, [&file](std::string_view part) { file.write(part); });
        file.write(templates.buttom + Text(CRLF));
        file.finish();
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
