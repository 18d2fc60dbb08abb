// SPDX-License-Identifier: MIT
#include "core/common/error.hpp"
#include "core/common/files.hpp"
#include "core/common/text.hpp"
#include "core/common/xml.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <random>

namespace fs = std::filesystem;
using kavo::Pieces;
using kavo::test::readBytes;
using kavo::test::TempDir;
using kavo::test::writeBytes;

TEST(ReadText, EveryLineBreakBecomesCrLf) {
    struct Case {
        const char* bytes;
        const char* text;
    };
    const Case cases[] = {
        {"a\nb\n", "a\r\nb\r\n"},             // LF only
        {"a\rb\r", "a\r\nb\r\n"},             // CR only
        {"a\r\nb\rc\nd", "a\r\nb\r\nc\r\nd"}, // mixed, no final break
        {"\n\n", "\r\n\r\n"},
        {"\r\r\n\n", "\r\n\r\n\r\n"}, // CR then CR LF then LF
        {"", ""},
        {"\xC0\xFF\x98", "\xC0\xFF\x98"}, // bytes pass unchanged
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeBytes(dir.path() / "t.txt", c.bytes);
        EXPECT_EQ(kavo::readText(dir.path() / "t.txt"), c.text) << c.bytes;
    }
}

// Texts longer than the sixteen or 128 bytes the check takes at once, breaks across their
// edges, a stray CR or LF anywhere.
TEST(BreaksAreCrLf, TrueExactlyWhenNormalisingChangesNothing) {
    std::mt19937 rng(3);
    for (int round = 0; round < 2000; ++round) {
        std::string text(rng() % (round % 3 == 0 ? 900 : 70), 'a');
        for (auto& c : text)
            c = "\r\naaaaa"[rng() % 7];
        if (round % 2 == 0) { // mostly whole breaks, one stray byte at most
            text = kavo::normaliseBreaks(text);
            if (round % 4 != 0)
                text.insert(rng() % (text.size() + 1), round % 8 == 2 ? "\n" : "\r");
        }
        ASSERT_EQ(kavo::breaksAreCrLf(text), kavo::normaliseBreaks(text) == text) << round;
    }
}

TEST(ReadText, MissingFileOrFolderCannotBeOpened) {
    TempDir dir;
    const std::pair<fs::path, const char*> cases[] = {
        {dir.path() / "none.txt", "\nNo such file or folder"}, {dir.path(), "\nIt is a folder"}};
    for (const auto& [path, reason] : cases) {
        try {
            kavo::readText(path);
            FAIL() << path;
        } catch (const kavo::Error& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file " + path.string() + reason);
        }
    }
}

TEST(Pieces, JoinAndSplit) {
    EXPECT_EQ(kavo::joinPieces({"a", "", "b\r\nc"}), "a\r\n\r\nb\r\nc\r\n");
    EXPECT_EQ(kavo::joinPieces({}), "");
    EXPECT_EQ(kavo::splitLines("a\r\n\r\nb"), (Pieces{"a", "", "b"}));
    EXPECT_EQ(kavo::splitLines("a\r\n"), (Pieces{"a"}));
    EXPECT_EQ(kavo::splitLines("\r\n"), (Pieces{""}));
    EXPECT_EQ(kavo::splitLines(""), (Pieces{}));
}

TEST(ReplaceAll, LeftToRightWithoutOverlapOrRescan) {
    struct Case {
        const char *text, *pattern, *with, *result;
    };
    const Case cases[] = {
        {"aaaa", "aa", "b", "bb"},
        {"aaa", "aa", "b", "ba"},           // no overlap
        {"abab", "ab", "abab", "abababab"}, // inserted text is not scanned again
        {"xTaskA1", "TaskA1", "", "x"},     // pattern at the end
        {"abc", "", "z", "abc"},            // empty pattern
        {"abc", "abcd", "z", "abc"},        // longer than the text
        {"Abc abc", "abc", "X", "Abc X"},   // case matters
        {"", "a", "b", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kavo::replaceAll(c.text, c.pattern, c.with), c.result) << c.text;
        // In the text's own buffer: as it comes (no room to grow), and with room.
        EXPECT_EQ(kavo::replaceAll(std::string(c.text), c.pattern, c.with), c.result) << c.text;
        std::string roomy = c.text;
        roomy.reserve(64);
        kavo::replaceEvery(roomy, c.pattern, c.with);
        EXPECT_EQ(roomy, c.result) << c.text;
    }
}

// A text given up to replaceAll without an occurrence comes back in its own buffer, and a
// replacement that fits the capacity is made there.
TEST(ReplaceAll, GivenTextKeepsItsBuffer) {
    std::string text(4096, 'x');
    text += "TaskA1";
    const char* const where = text.data();
    text = kavo::replaceAll(std::move(text), "TaskB1", "Task1");
    EXPECT_EQ(text.data(), where);
    text = kavo::replaceAll(std::move(text), "TaskA1", "Task1"); // at the very end
    EXPECT_EQ(text.data(), where);
    EXPECT_EQ(text, std::string(4096, 'x') + "Task1");
    text = kavo::replaceAll(std::move(text), "x", "yy"); // no room: a new buffer
    EXPECT_EQ(text, std::string(8192, 'y') + "Task1");
}

namespace {

// The rule replaceEach follows, one place at a time.
std::string naiveReplaceEach(std::string_view text, const std::vector<kavo::Replacement>& rs) {
    std::string out;
    for (std::size_t p = 0; p < text.size();) {
        auto hit = std::find_if(rs.begin(), rs.end(), [&](const kavo::Replacement& r) {
            return !r.pattern.empty() && text.substr(p).starts_with(r.pattern);
        });
        if (hit == rs.end()) {
            out += text[p++];
        } else {
            out += hit->with;
            p += hit->pattern.size();
        }
    }
    return out;
}

std::string randomText(std::mt19937& rng, std::size_t size, std::string_view alphabet) {
    std::string text(size, ' ');
    for (auto& c : text)
        c = alphabet[rng() % alphabet.size()];
    return text;
}

} // namespace

// Texts of few letters, patterns that nearly match everywhere and texts long enough for the
// search to fall back to its linear way part of the way through.
TEST(ReplaceEach, AgreesWithThePlaceByPlaceRule) {
    std::mt19937 rng(12);
    for (int round = 0; round < 400; ++round) {
        const std::string alphabet = round % 3 == 0 ? "ab" : round % 3 == 1 ? "aaaab" : "<%ab\r\n";
        const std::size_t size = rng() % (round % 10 == 0 ? 12000 : 300);
        const std::string text = randomText(rng, size, alphabet);
        std::vector<std::string> patterns(1 + rng() % 4);
        for (auto& pattern : patterns) {
            pattern = randomText(rng, rng() % (rng() % 4 == 0 ? 70 : 6), alphabet);
            if (rng() % 3 == 0 && !text.empty()) { // one that occurs
                const std::size_t at = rng() % text.size();
                pattern = text.substr(at, 1 + rng() % 40);
            }
        }
        const std::string withs[] = {"", "<1>", "", "<3>"};
        std::vector<kavo::Replacement> rs;
        for (std::size_t k = 0; k < patterns.size(); ++k)
            rs.push_back({patterns[k], withs[k]});
        ASSERT_EQ(kavo::replaceEach(text, rs), naiveReplaceEach(text, rs))
            << "round " << round << " pattern " << patterns[0];
        ASSERT_EQ(kavo::replaceAll(text, patterns[0], "X"),
                  naiveReplaceEach(text, {{patterns[0], "X"}}));
        // In place, shorter and longer than the pattern, with and without room to grow.
        for (const std::string_view with : {"", "X", "<12345>"}) {
            std::string inPlace = text;
            if (round % 2)
                inPlace.reserve(2 * text.size() + 16);
            kavo::replaceEvery(inPlace, patterns[0], with);
            ASSERT_EQ(inPlace, naiveReplaceEach(text, {{patterns[0], with}})) << "round " << round;
        }
    }
}

// Patterns whose first byte is rare in a long text, so that the search jumps from one
// occurrence of that byte to the next; the matches as the place-by-place rule finds them.
TEST(ReplaceAll, RareFirstBytesAgreeWithThePlaceByPlaceRule) {
    std::mt19937 rng(5);
    for (int round = 0; round < 200; ++round) {
        std::string text = randomText(rng, 2000 + rng() % 3000, "aaaaaaaaaaaaaaaaaaaaaaaa<b\r\n");
        const std::string pattern = round % 4 == 0 ? "<" : "<" + randomText(rng, rng() % 20, "ab");
        for (int k = static_cast<int>(rng() % 4); k > 0; --k)
            text.insert(rng() % text.size(), pattern);
        ASSERT_EQ(kavo::replaceAll(text, pattern, "X"), naiveReplaceEach(text, {{pattern, "X"}}))
            << "round " << round;
    }
}

// Short texts where each place of the first byte nearly holds the pattern: the search moves
// on to its linear way part of the way through, before or after an occurrence.
TEST(ReplaceAll, ShortTextsOfNearMissesAgreeWithThePlaceByPlaceRule) {
    const std::string run(40, 'a');
    const struct {
        std::string text, pattern;
    } cases[] = {
        {std::string(3000, 'a'), run + "b"},
        {std::string(100, 'a') + run + "b" + std::string(2900, 'a') + run + "b", run + "b"},
        {std::string(4000, 'a') + "b" + run + "b", run + "b"},
        {"b" + std::string(3000, 'a'), "b" + run},
        {std::string(4095, 'a'), std::string(4095, 'a')},
    };
    for (const auto& c : cases)
        for (const std::string_view with : {"", "X", "<12345>"}) {
            const auto expected = naiveReplaceEach(c.text, {{c.pattern, with}});
            EXPECT_EQ(kavo::replaceAll(c.text, c.pattern, with), expected);
            std::string inPlace = c.text;
            kavo::replaceEvery(inPlace, c.pattern, with);
            EXPECT_EQ(inPlace, expected);
        }
}

TEST(RemoveBlock, EqualsDeletingFromTheWrittenPage) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        Pieces page(1 + rng() % 3);
        for (auto& piece : page)
            piece = randomText(rng, rng() % 30, "ab\r\n");
        const std::string block = randomText(rng, rng() % 5, "ab\r\n");
        const std::string written = kavo::replaceAll(kavo::joinPieces(page), block, "");
        page.front().shrink_to_fit(); // a one-piece page without room for its break
        kavo::removeBlock(page, block);
        ASSERT_EQ(page.size(), 1u);
        ASSERT_EQ(page.front(), written) << round;
    }
}

// A page takes at most six removals; the room the first one leaves holds their breaks, so
// the page stays where it is.
TEST(RemoveBlock, OnePiecePageIsNeverMoved) {
    Pieces page{std::string(100000, 'a'), "<p>x</p>", std::string(100000, 'b')};
    kavo::removeBlock(page, "<p>x</p>");
    const char* const where = page.front().data();
    std::string written = page.front();
    for (const char* block : {"aaa", "\r\nb", "ab", "zz", "b\r\n"}) {
        written = kavo::replaceAll(written + "\r\n", block, "");
        kavo::removeBlock(page, block);
        EXPECT_EQ(page.front().data(), where) << block;
    }
    EXPECT_EQ(page, Pieces{written});
}

TEST(RemoveBlock, DeletesEveryOccurrenceAndLeavesOnePiece) {
    Pieces page{"<p>", "", "<p>", "x"};
    kavo::removeBlock(page, "<p>\r\n\r\n");
    EXPECT_EQ(page, (Pieces{"<p>\r\nx\r\n"}));
    Pieces unchanged{"a", "b"};
    kavo::removeBlock(unchanged, "zzz");
    EXPECT_EQ(kavo::joinPieces(unchanged), "a\r\nb\r\n\r\n"); // one more CR LF when written
    Pieces overlapping{"aaaa", "aaa"};
    kavo::removeBlock(overlapping, "aa"); // left to right, without overlap
    EXPECT_EQ(overlapping, (Pieces{"\r\na\r\n"}));
    kavo::removeBlock(overlapping, "\r\n"); // a one-piece page gets its break first
    EXPECT_EQ(overlapping, (Pieces{"a"}));
    kavo::removeBlock(unchanged, "");
    EXPECT_EQ(unchanged, (Pieces{"a\r\nb\r\n\r\n"}));
}

TEST(DeleteInLines, EmptiedLinesStay) {
    const Pieces lines{"[5]", "ans5=", "score[5]=1", "total=score[1]+score[5]"};
    auto out = kavo::deleteInLines(lines, "score[5]=1");
    out = kavo::deleteInLines(out, "+score[5]");
    out = kavo::deleteInLines(out, "[5]");
    out = kavo::deleteInLines(out, "ans5=");
    EXPECT_EQ(out, (Pieces{"", "", "", "total=score[1]"}));
    // A deletion across a line break joins two lines.
    EXPECT_EQ(kavo::deleteInLines({"a", "b"}, "\r\n"), (Pieces{"ab"}));
}

TEST(ParseInt, AcceptsWhatTheProgramReadsAndNothingElse) {
    struct Good {
        const char* text;
        std::int32_t value;
    };
    const Good good[] = {{"0", 0},
                         {"42", 42},
                         {"  7", 7},
                         {"\t7", 7},
                         {"-5", -5},
                         {"+5", 5},
                         {"007", 7},
                         {"$1F", 31},
                         {"$ff", 255},
                         {"-$10", -16},
                         {"2147483647", std::numeric_limits<std::int32_t>::max()},
                         {"-2147483648", std::numeric_limits<std::int32_t>::min()},
                         {"$FFFFFFFF", -1}};
    for (const auto& g : good)
        EXPECT_EQ(kavo::parseInt(g.text), g.value) << g.text;
    for (const char* bad : {"", " ", "-", "+", "$", "1 ", "1.5", "12a", "0x10", "2147483648",
                            "-2147483649", "$100000000", "1\r\n", "\xB3"}) {
        try {
            kavo::parseInt(bad);
            ADD_FAILURE() << bad;
        } catch (const kavo::Error& e) {
            // The report is UTF-8: the Windows-1251 byte 0xB3 shows as U+0456.
            const std::string shown = std::string_view(bad) == "\xB3" ? "\xD1\x96" : bad;
            EXPECT_EQ(std::string(e.what()), "'" + shown + "' is not a valid integer value");
        }
    }
}

TEST(WriteFileAtomic, ReplacesWholeAndLeavesNoTemporaryFile) {
    TempDir dir;
    const auto path = dir.path() / "task.out";
    writeBytes(path, "an old and much longer text");
    kavo::writePieces(path, {"a", ""});
    EXPECT_EQ(readBytes(path), "a\r\n\r\n");
    kavo::writeFileAtomic(path, "");
    EXPECT_EQ(readBytes(path), "");
    EXPECT_EQ(kavo::test::listTree(dir.path()), "task.out\n");
}

TEST(WriteFileAtomic, FailureNamesTheTargetAndLeavesNothing) {
    TempDir dir;
    fs::create_directory(dir.path() / "task.xml"); // a folder where the file should go
    const std::pair<fs::path, const char*> cases[] = {
        {dir.path() / "missing" / "task.asp", "\nNo such file or folder"},
        {dir.path() / "task.xml", "\nIt is a folder"}};
    for (const auto& [target, reason] : cases) {
        try {
            kavo::writeFileAtomic(target, "x");
            ADD_FAILURE() << target;
        } catch (const kavo::Error& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + target.string() + reason);
        }
    }
    EXPECT_EQ(kavo::test::listTree(dir.path()), "task.xml/\n");
}

TEST(EscapeXmlAttribute, EscapesMarkupAndKeepsTypedReferences) {
    struct Case {
        const char *in, *out;
    };
    const Case cases[] = {
        {"Plain \xC7\xE0\xE4\xE0\xF7\xE0", "Plain \xC7\xE0\xE4\xE0\xF7\xE0"},
        {"say \"hi\"", "say &quot;hi&quot;"},
        {"a<b>c", "a&lt;b>c"},
        {"]]> ]>]]]>", "]]&gt; ]>]]]&gt;"}, // "]]>" may not stand in the author element
        {"Tom & Jerry", "Tom &amp; Jerry"},
        {"&#171;name&#187;", "&#171;name&#187;"},
        {"&#xAB;&#XAB;", "&#xAB;&#xAB;"}, // XML knows the lowercase x only
        {"&amp;&lt;&gt;&quot;&apos;", "&amp;&lt;&gt;&quot;&apos;"},
        {"&nbsp;", "&amp;nbsp;"}, // not an XML entity
        {"&#;&#x;&#12a;&", "&amp;#;&amp;#x;&amp;#12a;&amp;"},
        {"&;", "&amp;;"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kavo::escapeXmlAttribute(c.in), c.out) << c.in;
}
