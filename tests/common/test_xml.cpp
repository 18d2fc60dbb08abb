// SPDX-License-Identifier: MIT
// Text bound for task.xml and for paths: what may pass, what is refused, and proof with
// libxml2's xmllint that what passes makes a well-formed description.
#include "core/common/xml.hpp"
#include "support/test_support.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

using kavo::findInvalidPathCharacter;
using kavo::findInvalidXmlCharacter;
using kavo::test::TempDir;

namespace {

// A description holding the text as task.xml does: in two attributes and in an element.
std::string descriptionWith(std::string_view text) {
    const auto escaped = kavo::escapeXmlAttribute(text);
    return "<task name=\"" + escaped + "\" ename=\"" + escaped + "\"><author>" + escaped +
           "</author></task>\r\n";
}

// Whether xmllint reads the Windows-1251 document as well-formed XML.
bool wellFormed(const TempDir& dir, const std::string& body) {
    const auto file = dir.path() / "task.xml";
    kavo::test::writeBytes(file, "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<all>" +
                                     body + "</all>\r\n");
    const std::string command = "xmllint --noout '" + file.string() + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

struct Case {
    std::string text;
    std::optional<std::size_t> position; // of the refused character; none: allowed
    std::string description;
    bool xml10Refuses = true; // XML 1.0 itself refuses it (the rest it only discourages)
};

const Case XmlCases[] = {
    {"TaskAlpha \xC7\xE0\xE4\xE0\xF7\xE0 \xA0\xB9\xAD", {}, ""}, // Cyrillic, NBSP, No, soft hyphen
    {"tab\tline\r\nbreak", {}, ""},
    {"&#9;&#10;&#13;&#x20;&#171;&#xD7FF;&#xE000;&#xFFFD;&#x10000;&#x10FFFD;", {}, ""},
    {"&amp;&lt;&gt;&quot;&apos; & &; &#; &#x; &#12a; &#00000065;", {}, ""},
    {"a]]>b \"<q>\"", {}, ""},
    {"&#X41;&#X0041;&#0065;", {}, ""}, // HTML's capital X: written "&#x" for XML
    {std::string("a\0b", 3), 1, "U+0000"},
    {"bell\a", 4, "U+0007"},
    {"del\x7F", 3, "U+007F", false},
    {"\x98", 0, "U+0098"}, // undefined in the code page: xmllint cannot decode it
    {"ok &#0;", 3, "&#0; (U+0000)"},
    {"&#55296;", 0, "&#55296; (U+D800)"},
    {"&#65534;", 0, "&#65534; (U+FFFE)"},
    {"&#x110000;", 0, "&#x110000; (beyond U+10FFFF)"},
    {"&#99999999999999999999;", 0, "&#99999999999999999999; (beyond U+10FFFF)"},
    {"&#152;", 0, "&#152; (U+0098)", false},
    {"&#xFDD0;", 0, "&#xFDD0; (U+FDD0)", false},
    {"&#x10FFFF;", 0, "&#x10FFFF; (U+10FFFF)", false},
    {"&#171;&#0;\a", 6, "&#0; (U+0000)"}, // the first one
};

} // namespace

TEST(InvalidXmlCharacter, FindsTheFirstRefusedCharacterTypedOrAsReference) {
    for (const auto& c : XmlCases) {
        const auto found = findInvalidXmlCharacter(c.text);
        ASSERT_EQ(found.has_value(), c.position.has_value()) << c.text;
        if (found) {
            EXPECT_EQ(found->position, *c.position) << c.text;
            EXPECT_EQ(found->description, c.description) << c.text;
        }
    }
}

// What passes the check is well-formed where task.xml puts it; what XML 1.0 itself refuses
// is not, so the check is needed.
TEST(InvalidXmlCharacter, WhatPassesIsWellFormedAndWhatXmlRefusesIsNot) {
    ASSERT_EQ(std::system("xmllint --version >/dev/null 2>&1"), 0)
        << "xmllint is missing: scripts/deps.sh installs libxml2-utils";
    TempDir dir;
    std::string allowed;
    for (const auto& c : XmlCases) {
        if (!c.position) {
            allowed += descriptionWith(c.text);
        } else if (c.xml10Refuses) {
            EXPECT_FALSE(wellFormed(dir, descriptionWith(c.text))) << c.text;
        }
    }
    // Random bytes and references: every text the check lets through, in one document.
    std::mt19937 rng(1251);
    const std::string pieces[] = {"&#", "&#x", ";",    "&",    "]]>", "\"",
                                  "<",  "1",   "D800", "FFFE", "&#X"};
    int passed = 0;
    for (int round = 0; round < 400; ++round) {
        std::string text;
        for (int k = rng() % 12; k > 0; --k)
            text += rng() % 2 ? std::string(1, static_cast<char>(rng() % 256)) : pieces[rng() % 11];
        if (!findInvalidXmlCharacter(text)) {
            allowed += descriptionWith(text);
            ++passed;
        }
    }
    EXPECT_GT(passed, 50);
    EXPECT_TRUE(wellFormed(dir, allowed));
}

TEST(InvalidPathCharacter, RefusesNulAndControlCharacters) {
    struct PathCase {
        std::string text;
        std::optional<std::size_t> position;
    };
    const PathCase cases[] = {
        {"PartC\\5", {}},
        {"\xCF\xE0\xF0\xF2/&#0;", {}}, // a reference is plain text in a path
        {std::string("5\0/x", 4), 1},
        {"5\t", 1},
        {"a\nb", 1},
        {"\x7F", 0},
        {"7\x98", 1},
    };
    for (const auto& c : cases) {
        const auto found = findInvalidPathCharacter(c.text);
        EXPECT_EQ(found ? std::optional(found->position) : std::nullopt, c.position) << c.text;
    }
}
