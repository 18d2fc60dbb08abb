// SPDX-License-Identifier: MIT
#include "core/review/preview.hpp"

#include "core/common/error.hpp"
#include "core/common/messages.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace kavo;
using namespace kavo::review;
using kavo::test::readBytes;
using kavo::test::TempDir;
using kavo::test::writeBytes;

namespace {

// Small templates whose every piece is easy to spot in the page.
const std::map<std::string, std::string> SmallTemplates = {
    {"head.txt", "<HEAD webfiles/h.css>\r\n"},
    {"input.txt", "<INPUT>"},
    {"radio.txt", "<RADIO webfiles/r.png>"},
    {"buttom.txt", "<END webfiles/b.png>"},
    {"check.txt", "<CHECK>"},
    {"table.txt", "<table id=t>\r\n"},
    {"input_str.txt", "<input name=a>\r\n"},
    {"check_str.txt", "<%check()%>"},
};

void writeTemplates(const fs::path& programDir,
                    const std::map<std::string, std::string>& templates = SmallTemplates) {
    for (const auto& [name, text] : templates)
        writeBytes(programDir / "System_folder" / "browser" / name, text);
}

struct PreviewFixture : ::testing::Test {
    TempDir dir;
    fs::path out() const { return dir.path() / "Year"; }
    // Numbers 1 .. 3 lie directly under Year; the rest have no folder.
    std::optional<fs::path> folderOf(std::int64_t n) const {
        if (n >= 1 && n <= 3)
            return out() / std::to_string(n);
        return std::nullopt;
    }
    PreviewResult press(std::optional<int> selected, int count = 5,
                        kavo::Lang lang = kavo::Lang::English) const {
        return previewTask(
            {lang, dir.path(), selected, count, [this](std::int64_t n) { return folderOf(n); }});
    }
    fs::path buf() const { return dir.path() / "buf.html"; }
};

} // namespace

TEST(PreviewPage, ReplacesInOrderAndPointsWebfilesInsideInsertedFragments) {
    PreviewTemplates t;
    t.head = "<HEAD webfiles/h.css>";
    t.input = "<INPUT webfiles/i>";
    t.radio = "<RADIO webfiles/r>";
    t.check = "<CHECK webfiles/c>";
    t.buttom = "<END webfiles/b>";
    t.table = "<table>";
    t.input_str = "<input>";
    t.check_str = "<CHECK webfiles/c>"; // takes part in no replacement
    const std::string page = "<table>A<%next()%><%store_count()%><input><%radio()%><%check()%>"
                             "<img src=\"webfiles/p.png\"><%radio()%>";
    EXPECT_EQ(previewPage(t, page, "U/"),
              "<HEAD U/h.css>A<INPUT U/i><RADIO U/r><CHECK U/c><img src=\"U/p.png\">"
              "<RADIO U/r><END webfiles/b>");
}

TEST(PreviewPage, EdgeCases) {
    struct Case {
        const char* name;
        Text table, input_str, page, expected;
    };
    const Case cases[] = {
        {"empty table: head never enters", "", "<in>", "<in>x",
         "IN"
         "x"
         "END"},
        {"empty input_str: input never enters", "<t>", "", "<t>x",
         "HEAD"
         "x"
         "END"},
        {"no tags: page kept, bottom appended", "<t>", "<in>", "plain\r\n", "plain\r\nEND"},
        {"pattern needs its line break", "<t>\r\n", "<in>", "<t>x",
         "<t>x"
         "END"},
        {"inserted text is not scanned again", "<t>", "<in>", "<t><t>",
         "HEADHEAD"
         "END"},
    };
    for (const auto& c : cases) {
        PreviewTemplates t;
        t.head = "HEAD";
        t.input = "IN";
        t.buttom = "END";
        t.table = c.table;
        t.input_str = c.input_str;
        EXPECT_EQ(previewPage(t, c.page, "U/"), c.expected) << c.name;
    }
}

// Text typed around a tag never reads as one afterwards; the chain of replacements made a
// tag or a link of each of these.
TEST(PreviewPage, NoTextAroundATagReadsAsATag) {
    struct Case {
        const char *page, *expected;
    };
    const Case cases[] = {
        {"<%ne<%next()%>xt()%>", "&lt;%next()%>"},
        {"<<%next()%>%next()%>", "&lt;%next()%>"},
        {"<<%store_count()%><%next()%>%>", "&lt;%>"},
        {"<%ra<%store_count()%>dio()%>", "&lt;%radio()%>"},
        {"webfi<%next()%>les/x", "webfiles/x"},
        {"<%= Date() %> 3 < 5% <%check()%>", "&lt;%= Date() %> 3 < 5% CHECK"},
        {"<<%radio()%>", "<RADIO"},
    };
    PreviewTemplates t;
    t.head = "HEAD";
    t.radio = "RADIO";
    t.check = "CHECK";
    t.table = "<t>";
    t.input_str = "<in>";
    for (const auto& c : cases)
        EXPECT_EQ(previewPage(t, c.page, "U/"), c.expected) << c.page;
}

TEST(PreviewUrl, PercentEncodesTheUtf8BytesAndEndsInSlash) {
    EXPECT_EQ(folderUrl("/tmp/a b#c%d?e/\xD0\x97\xD0\xB0\xD0\xB4\xD0\xB0\xD1\x87\xD0\xB8"),
              "file:///tmp/a%20b%23c%25d%3Fe/%D0%97%D0%B0%D0%B4%D0%B0%D1%87%D0%B8/");
    EXPECT_EQ(folderUrl("/tmp/x/"), "file:///tmp/x/");
    EXPECT_EQ(fileUrl("/tmp/A-z_0.9~/buf.html"), "file:///tmp/A-z_0.9~/buf.html");
    EXPECT_EQ(fileUrl("/tmp/a&b<c>\"'/p.html"), "file:///tmp/a%26b%3Cc%3E%22%27/p.html");
    EXPECT_EQ(fileUrl("/tmp/a:b/p.html"), "file:///tmp/a:b/p.html");
    // A relative path is made absolute against the working directory.
    EXPECT_EQ(folderUrl("rel"), folderUrl(fs::current_path() / "rel"));
}

TEST_F(PreviewFixture, WritesTheStaticPageAndAsksToOpenIt) {
    writeTemplates(dir.path());
    writeBytes(out() / "2" / "task.asp",
               "<table id=t>\r\n<%next()%>Q <img src=\"webfiles/p.png\">\r\n<input name=a>\r\n"
               "<%radio()%><%check()%><%store_count()%>");
    const auto r = press(1);
    const std::string url = folderUrl(out() / "2" / "webfiles");
    EXPECT_EQ(readBytes(buf()), "<HEAD " + url + "h.css>\r\nQ <img src=\"" + url +
                                    "p.png\">\r\n<INPUT><RADIO " + url +
                                    "r.png><CHECK><END webfiles/b.png>\r\n");
    EXPECT_EQ(r.url, fileUrl(buf()));
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(r.selected, 2);
}

TEST_F(PreviewFixture, MessagesAndSelectionMoves) {
    writeTemplates(dir.path());
    struct Case {
        std::optional<int> selected;
        int count;
        kavo::Lang lang;
        Text message;
        std::optional<int> next;
    };
    const Case cases[] = {
        {std::nullopt, 5, kavo::Lang::English, "\nSelect the task number!", 0},
        {std::nullopt, 5, kavo::Lang::Russian,
         "\n\xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xED\xEE\xEC\xE5\xF0 "
         "\xE7\xE0\xE4\xE0\xF7\xE8!",
         0},
        {std::nullopt, 0, kavo::Lang::English, "\nSelect the task number!", std::nullopt},
        // Number 1 without a folder reports it like every other number.
        {0, 5, kavo::Lang::English, "\nUnable to open the task!", 1},
        {3, 5, kavo::Lang::English, "\nUnable to open the task!", 4},
        {4, 5, kavo::Lang::Russian,
         "\n\xCD\xE5 \xE2\xEE\xE7\xEC\xEE\xE6\xED\xEE \xEE\xF2\xEA\xF0\xFB\xF2\xFC "
         "\xE7\xE0\xE4\xE0\xF7\xF3!",
         std::nullopt},
    };
    for (const auto& c : cases) {
        // A folder rule that gives no folder for any number.
        const auto r = previewTask({c.lang, dir.path(), c.selected, c.count,
                                    [](std::int64_t) { return std::optional<fs::path>(); }});
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(r.selected, c.next);
        EXPECT_EQ(r.url, "");
        EXPECT_FALSE(fs::exists(buf()));
    }
}

TEST_F(PreviewFixture, ThreePressesWalkThreeTasksAndTheLastLeavesNoSelection) {
    writeTemplates(dir.path());
    for (int n = 1; n <= 3; ++n)
        writeBytes(out() / std::to_string(n) / "task.asp", "task " + std::to_string(n));
    std::optional<int> selected = 0;
    for (int n = 1; n <= 3; ++n) {
        const auto r = press(selected, 3);
        EXPECT_EQ(readBytes(buf()), "task " + std::to_string(n) + "<END webfiles/b.png>\r\n");
        selected = r.selected;
    }
    EXPECT_EQ(selected, std::nullopt);
}

TEST_F(PreviewFixture, AMissingFileStopsBeforeAnythingIsWritten) {
    writeBytes(out() / "1" / "task.asp", "page");
    writeBytes(buf(), "old");
    for (const auto& [name, text] : SmallTemplates) {
        auto templates = SmallTemplates;
        templates.erase(name);
        fs::remove_all(dir.path() / "System_folder");
        writeTemplates(dir.path(), templates);
        const fs::path missing = dir.path() / "System_folder" / "browser" / name;
        try {
            press(0);
            ADD_FAILURE() << name;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot open file " + missing.string() + "\nNo such file or folder");
        }
        // Without a selection the templates are read too.
        EXPECT_THROW(press(std::nullopt), Error) << name;
        EXPECT_EQ(readBytes(buf()), "old") << name;
    }
    writeTemplates(dir.path());
    EXPECT_THROW(press(1), Error); // 2 has a folder rule but no task.asp
    EXPECT_EQ(readBytes(buf()), "old");
}

TEST_F(PreviewFixture, AnUnwritableBufHtmlIsReported) {
    writeTemplates(dir.path());
    writeBytes(out() / "1" / "task.asp", "page");
    fs::create_directories(buf()); // a folder where the page should go
    EXPECT_THROW(press(0), Error);
}

// buf.html is written over in place; a link or a pipe under its name is replaced by a file,
// and what the link leads to stays as it was.
TEST_F(PreviewFixture, BufHtmlIsOverwrittenAndNeverWrittenThroughALinkOrPipe) {
    writeTemplates(dir.path());
    writeBytes(out() / "1" / "task.asp", "page");
    const std::string written = "page<END webfiles/b.png>\r\n";
    writeBytes(buf(), std::string(5000, 'x')); // longer than the page: no old bytes stay
    press(0);
    EXPECT_EQ(readBytes(buf()), written);
    const fs::path target = dir.path() / "elsewhere.html";
    for (const bool pipe : {false, true}) {
        fs::remove(buf());
        if (pipe) {
            ASSERT_EQ(::mkfifo(buf().c_str(), 0644), 0);
        } else {
            writeBytes(target, "keep");
            fs::create_symlink(target, buf());
        }
        press(0);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(buf()))) << pipe;
        EXPECT_EQ(readBytes(buf()), written) << pipe;
    }
    EXPECT_EQ(readBytes(target), "keep");
}

// Each preview reads the templates again: one edited between two previews (same size, so
// that no stamp need tell) shows in the second; a shorter page leaves no bytes of the first.
TEST_F(PreviewFixture, ATemplateEditedBetweenPreviewsShowsInTheNext) {
    writeTemplates(dir.path());
    writeBytes(out() / "1" / "task.asp", "a<%radio()%>b" + std::string(3000, 'x'));
    press(0);
    const fs::path radio = dir.path() / "System_folder" / "browser" / "radio.txt";
    writeBytes(radio, "<RADIO webfiles/s.png>");
    writeBytes(out() / "1" / "task.asp", "a<%radio()%>b");
    press(0);
    EXPECT_EQ(readBytes(buf()),
              "a<RADIO " + folderUrl(out() / "1" / "webfiles") + "s.png>b<END webfiles/b.png>\r\n");
}

// A page showing webfiles/picture.jpg opens either way, and says so when the picture is not
// there (an empty file is no picture); a page without it says nothing.
TEST_F(PreviewFixture, APictureMissingFromTheFolderIsReported) {
    writeTemplates(dir.path());
    const std::string shows = "<img src=\"webfiles/picture.jpg\">";
    const fs::path picture = out() / "1" / "webfiles" / "picture.jpg";
    struct Case {
        std::string page;
        std::optional<std::string> picture;
        bool reported;
    };
    const Case cases[] = {
        {shows, std::nullopt, true},
        {shows, "", true},
        {shows, "\xFF\xD8\xFF", false},
        {"<img src=\"webfiles/other.png\">", std::nullopt, false},
    };
    for (const Case& c : cases) {
        fs::remove_all(out());
        writeBytes(out() / "1" / "task.asp", c.page);
        if (c.picture)
            writeBytes(picture, *c.picture);
        const auto r = press(0);
        EXPECT_EQ(r.url, fileUrl(buf()));
        EXPECT_EQ(r.message,
                  c.reported ? msg::review::pictureMissing.in(kavo::Lang::English) : Text());
        EXPECT_EQ(r.selected, 1);
    }
}
