// SPDX-License-Identifier: MIT
#include "core/auth/author.hpp"

#include "core/common/error.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using kavo::test::readBytes;
using kavo::test::TempDir;
using kavo::test::writeBytes;

namespace {

// Small templates with a final break on the heads and none on the tail.
struct AuthorFolder {
    TempDir dir;
    kavo::auth::AuthorPaths paths = kavo::auth::authorPaths(dir.path());

    AuthorFolder() {
        writeBytes(paths.head1, "<task id=\"TaskA1\" author=\"");
        writeBytes(paths.head2, "<task id=\"TaskA1 \" author=\"");
        writeBytes(paths.tail, "\">\nbody\n</task>");
        writeBytes(paths.flag, "1\r\n");
        writeBytes(paths.header1, "old one\r\n");
        writeBytes(paths.header2, "old two\r\n");
    }
};

} // namespace

TEST(SaveAuthor, HeadersAreHeadLineAndTailAndTheFlagIsCleared) {
    struct Case {
        const char* line;
        const char* written;
    };
    const Case cases[] = {
        {"Petrova Anna,  MT-21, May  2026", "Petrova Anna,  MT-21, May  2026"},
        {"", ""},
        {"  spaces kept  ", "  spaces kept  "},
        {"\"Q\" & <b> &#171;x&#187; &amp;", "&quot;Q&quot; &amp; &lt;b> &#171;x&#187; &amp;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        AuthorFolder f;
        kavo::auth::saveAuthor(f.dir.path(), c.line);
        EXPECT_EQ(readBytes(f.paths.header1), std::string("<task id=\"TaskA1\" author=\"") +
                                                  c.written + "\">\r\nbody\r\n</task>\r\n");
        EXPECT_EQ(readBytes(f.paths.header2), std::string("<task id=\"TaskA1 \" author=\"") +
                                                  c.written + "\">\r\nbody\r\n</task>\r\n");
        EXPECT_EQ(readBytes(f.paths.flag), "0\r\n");
    }
}

TEST(SaveAuthor, SavingTwiceKeepsOnlyTheLastLine) {
    AuthorFolder f;
    kavo::auth::saveAuthor(f.dir.path(), "First Line");
    kavo::auth::saveAuthor(f.dir.path(), "Second");
    EXPECT_EQ(readBytes(f.paths.header1),
              "<task id=\"TaskA1\" author=\"Second\">\r\nbody\r\n</task>\r\n");
    EXPECT_EQ(readBytes(f.paths.header2).find("First"), std::string::npos);
}

// A missing template or an unwritable header leaves the flag, and both headers, as they were.
TEST(SaveAuthor, AFailureChangesNothing) {
    struct Case {
        const char* name;
        void (*spoil)(const kavo::auth::AuthorPaths&);
        const char* report;
    };
    const Case cases[] = {
        {"Author_1 missing", [](const auto& p) { fs::remove(p.head1); }, "Cannot open file"},
        {"Author_2 missing", [](const auto& p) { fs::remove(p.head2); }, "Cannot open file"},
        {"Author_end missing", [](const auto& p) { fs::remove(p.tail); }, "Cannot open file"},
        {"second header is a folder",
         [](const auto& p) {
             fs::remove(p.header2);
             fs::create_directory(p.header2);
         },
         "Cannot create file"},
        {"first header is a folder",
         [](const auto& p) {
             fs::remove(p.header1);
             fs::create_directory(p.header1);
         },
         "Cannot create file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AuthorFolder f;
        c.spoil(f.paths);
        try {
            kavo::auth::saveAuthor(f.dir.path(), "New Author");
            ADD_FAILURE() << "no error";
        } catch (const kavo::Error& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.report, 0), 0u) << e.what();
        }
        EXPECT_EQ(readBytes(f.paths.flag), "1\r\n");
        if (fs::is_regular_file(f.paths.header1)) {
            EXPECT_EQ(readBytes(f.paths.header1), "old one\r\n");
        }
        if (fs::is_regular_file(f.paths.header2)) {
            EXPECT_EQ(readBytes(f.paths.header2), "old two\r\n");
        }
    }
}

// The shipped templates rebuild the shipped headers, and a rebuilt header keeps what Add
// task and the Edits builder rely on, whatever the author line.
TEST(SaveAuthor, ShippedTemplatesRebuildTheShippedHeaders) {
    const auto shipped = kavo::auth::authorPaths(kavo::test::shippedSystemFolder().parent_path());
    const std::string zamena =
        readBytes(kavo::test::shippedSystemFolder() / "file_for_edits" / "zamena.txt");
    const std::string cost = "cost=\"1\"";
    for (const char* line : {"", "Sorokina Vera,  MF-12, October  2025", "\"<&#171;&>\""}) {
        SCOPED_TRACE(line);
        TempDir dir;
        kavo::test::copySystemFolder(dir.path());
        const auto paths = kavo::auth::authorPaths(dir.path());
        kavo::auth::saveAuthor(dir.path(), line);
        const auto header1 = readBytes(paths.header1);
        const auto header2 = readBytes(paths.header2);
        if (*line == '\0') {
            EXPECT_EQ(header1, readBytes(shipped.header1));
            EXPECT_EQ(header2, readBytes(shipped.header2));
        }
        // Characters 13 to 18 and 28 to 33 (from 1); the second header leaves a blank for
        // the second digit.
        EXPECT_EQ(header1.substr(12, 6), "TaskA1");
        EXPECT_EQ(header1.substr(20, 14), "ename=\"TaskA1\"");
        EXPECT_EQ(header2.substr(12, 7), "TaskA1 ");
        EXPECT_EQ(header2.substr(21, 15), "ename=\"TaskA1 \"");
        for (const auto& header : {header1, header2}) {
            EXPECT_NE(header.find(zamena), std::string::npos);
            EXPECT_NE(header.find(cost), std::string::npos);
            EXPECT_NE(header.find(kavo::auth::buildHeader("", line, "")), std::string::npos);
        }
        EXPECT_EQ(readBytes(paths.flag), "0\r\n");
    }
}
